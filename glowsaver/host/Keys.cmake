target_sources(glowsaver_host PRIVATE ${CMAKE_CURRENT_LIST_DIR}/Keys_Unit.cpp)
