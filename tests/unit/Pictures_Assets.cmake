# The generated library's pictures, font strip, logo bitmap and morph shapes
# (found through GLOWSAVER_TREE), read the way the programs read them.
add_executable(pictures_assets_test ${CMAKE_CURRENT_LIST_DIR}/Pictures_Assets_Test.cpp)
target_link_libraries(pictures_assets_test PRIVATE platform GTest::gtest_main)
gtest_discover_tests(pictures_assets_test
  PROPERTIES LABELS unit
  ENVIRONMENT "GLOWSAVER_TREE=${GLOWSAVER_TREE}")
add_dependencies(pictures_assets_test glowsaver_resources)
