// Save_and_Load_Config: the settings file (Config_File_Name) in Install_Folder.
//
// Load_Config reads the file: in a full-screen run into the settings values
// of the shared record All (which the renderer, skin loader, director and
// sound then read), in a settings run into the dialog's controls
// (Settings_Controls().Adjustment) and a few values of All; a preview run
// reads nothing. Save_Config advances the skins-pack counter and writes it,
// and in a settings run writes every dialog control. Erase_Config_Sections
// removes both sections. The launch form's creation calls Load_Config when the
// file exists and its close calls Save_Config; the dialog's Apply (after
// deleting the file) calls Save_Config and its Restore calls
// Erase_Config_Sections, then Load_Config.
//
// Each procedure reads the whole file once, works on it in memory and, when
// it writes, replaces the file in one crash-safe step at its end; no handle
// or copy stays between calls. So a write the system refuses (a read-only
// file, a full disk, a folder that cannot be written) loses the changes of
// that whole procedure, the keys written before the refusal included, and
// leaves the file on disk exactly as it was, never a part of them; the user
// sees "Unable to write to <path>" in an error box (caption "Error").
//
// GUI thread only.
#pragma once

#include <string>

// The settings file's name (string resource 65227).
inline constexpr const char* Config_File_Name = "Config.navigator";
// All.Install_Folder + Config_File_Name.
std::string Config_File_Path();

void Load_Config();
void Save_Config();
void Erase_Config_Sections();
