# The tunnel and its companions (the frame composition itself is listed in
# the folder's library).
target_sources(glowsaver_render PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/Tunnel_Unit.cpp
)
