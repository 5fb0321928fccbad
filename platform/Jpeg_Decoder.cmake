# The JPEG reader: libjpeg-turbo through its TurboJPEG interface.
pkg_check_modules(TURBOJPEG REQUIRED IMPORTED_TARGET GLOBAL libturbojpeg)
target_sources(platform PRIVATE ${CMAKE_CURRENT_LIST_DIR}/Jpeg_Decoder.cpp)
target_link_libraries(platform PUBLIC PkgConfig::TURBOJPEG)
