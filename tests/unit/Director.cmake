add_executable(director_test Director_Test.cpp)
target_link_libraries(director_test PRIVATE glowsaver_core GTest::gtest_main)
gtest_discover_tests(director_test PROPERTIES LABELS unit)
