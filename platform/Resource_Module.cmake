# Resource modules (the resource library and skin packs): zip archives read with libzip.
target_sources(platform PRIVATE ${CMAKE_CURRENT_LIST_DIR}/Resource_Module.cpp)
target_link_libraries(platform PUBLIC PkgConfig::LIBZIP)
