# The show drawn by the deterministic mode at known moments, compared with
# the small reference pictures in reference/.
add_executable(show_frames_gl_test ${CMAKE_CURRENT_LIST_DIR}/Show_Frames_Gl_Test.cpp)
target_link_libraries(show_frames_gl_test PRIVATE e2e_support Qt6::Gui GTest::gtest_main)
target_compile_definitions(show_frames_gl_test PRIVATE
  GLOWSAVER_REFERENCE_DIR="${CMAKE_CURRENT_LIST_DIR}/reference"
  GLOWSAVER_ACTUAL_DIR="${CMAKE_CURRENT_BINARY_DIR}/show-frames-actual")
add_dependencies(show_frames_gl_test glowsaver glowsaver_resources)
gtest_discover_tests(show_frames_gl_test PROPERTIES LABELS gl
  ENVIRONMENT "GLOWSAVER_TREE=${GLOWSAVER_TREE};LIBGL_ALWAYS_SOFTWARE=1" DISCOVERY_TIMEOUT 30)
