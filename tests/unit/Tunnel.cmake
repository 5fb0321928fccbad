# The tunnel's geometry and draw switches on the null display.
add_executable(tunnel_test ${CMAKE_CURRENT_LIST_DIR}/Tunnel_Test.cpp)
target_link_libraries(tunnel_test PRIVATE glowsaver_core GTest::gtest_main)
gtest_discover_tests(tunnel_test PROPERTIES LABELS unit)
