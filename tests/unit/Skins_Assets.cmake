# The generated tunnel skins and add-on skin packs (found through
# GLOWSAVER_TREE), read the way the launch form reads them, and the
# generator's reproducibility (it runs glowsaver_resgen itself).
add_executable(skins_assets_test ${CMAKE_CURRENT_LIST_DIR}/Skins_Assets_Test.cpp)
target_link_libraries(skins_assets_test PRIVATE platform GTest::gtest_main)
target_compile_definitions(skins_assets_test PRIVATE GLOWSAVER_RESGEN_PATH="$<TARGET_FILE:glowsaver_resgen>")
gtest_discover_tests(skins_assets_test
  PROPERTIES LABELS unit
  ENVIRONMENT "GLOWSAVER_TREE=${GLOWSAVER_TREE}")
add_dependencies(skins_assets_test glowsaver_resources)
