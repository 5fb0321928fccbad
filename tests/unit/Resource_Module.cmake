# Resource modules: fixture archives written by the test, and the movies of
# the generated resource library (found through GLOWSAVER_TREE).
add_executable(resource_module_test ${CMAKE_CURRENT_LIST_DIR}/Resource_Module_Test.cpp)
target_link_libraries(resource_module_test PRIVATE platform GTest::gtest_main Qt6::Gui)
gtest_discover_tests(resource_module_test
  PROPERTIES LABELS unit
  ENVIRONMENT "GLOWSAVER_TREE=${GLOWSAVER_TREE};QT_QPA_PLATFORM=offscreen")
add_dependencies(resource_module_test glowsaver_resources)
