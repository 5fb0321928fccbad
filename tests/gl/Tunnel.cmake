# The frame's layers on a real context: background, intro disc, tint, dimmed
# far slices and generated texture coordinates.
add_executable(tunnel_gl_test ${CMAKE_CURRENT_LIST_DIR}/Tunnel_Gl_Test.cpp)
target_link_libraries(tunnel_gl_test PRIVATE glowsaver_core e2e_support GTest::gtest_main)
gtest_discover_tests(tunnel_gl_test PROPERTIES LABELS gl
  ENVIRONMENT "LIBGL_ALWAYS_SOFTWARE=1" DISCOVERY_TIMEOUT 30)
