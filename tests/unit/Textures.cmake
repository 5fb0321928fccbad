# Texture loading and skins: picture operations, the TGA reader, the JPEG
# reader, and the upload step on the null display with a recording GL table.
add_executable(textures_test
  ${CMAKE_CURRENT_LIST_DIR}/Textures_Pictures_Test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/Textures_TGA_Test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/Textures_Jpeg_Test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/Textures_Upload_Test.cpp
)
target_link_libraries(textures_test PRIVATE glowsaver_core GTest::gtest_main PkgConfig::LIBZIP PkgConfig::TURBOJPEG)
gtest_discover_tests(textures_test PROPERTIES LABELS unit)
