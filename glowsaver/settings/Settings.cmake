target_sources(glowsaver_settings PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/Ini_File.cpp
  ${CMAKE_CURRENT_LIST_DIR}/Dialog_Controls.cpp
  ${CMAKE_CURRENT_LIST_DIR}/Save_and_Load_Config.cpp
)
