target_sources(glowsaver_director PRIVATE ${CMAKE_CURRENT_LIST_DIR}/Changers_Unit.cpp)
