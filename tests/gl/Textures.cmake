# Textures on a real context: orientation, channel order, mipmaps and the
# fixed-function defaults of an uploaded skin, and a TGA uploaded as BGRA.
add_executable(textures_gl_test ${CMAKE_CURRENT_LIST_DIR}/Textures_Gl_Test.cpp)
target_link_libraries(textures_gl_test PRIVATE glowsaver_core e2e_support GTest::gtest_main)
gtest_discover_tests(textures_gl_test PROPERTIES LABELS gl
  ENVIRONMENT "LIBGL_ALWAYS_SOFTWARE=1" DISCOVERY_TIMEOUT 30)
