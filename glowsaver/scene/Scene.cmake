# Textures and skins, the TGA reader, the picture mirrors.
target_sources(glowsaver_scene PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/TexturesUnit.cpp
  ${CMAKE_CURRENT_LIST_DIR}/TGA.cpp
  ${CMAKE_CURRENT_LIST_DIR}/Picture_Mirrors.cpp
)
