add_executable(host_test Start_Up_Test.cpp Render_Loop_Test.cpp)
target_link_libraries(host_test PRIVATE glowsaver_core GTest::gtest_main)
gtest_discover_tests(host_test PROPERTIES LABELS unit)
