// WinMainUnit: the program entry of glowsaver.
//
// Decides from the command line how the program runs (full screen, preview
// inside another window, settings dialog, password change), finds the
// install folder and its sub-folders, binds the resource library, creates the
// forms of the mode and runs the application's message loop until it ends.
// XScreenSaver's switches and the deterministic mode's switches are read
// first and taken out of the arguments. GUI thread only.
#pragma once

#include "glowsaver/host/Host_State.h"

#include <optional>
#include <string>
#include <vector>

// The application title: caption of the launch form and of the GL windows.
inline constexpr const char* Application_Title = "Quenloth ScreenSaver";
// The resource library in the Plugins folder.
inline constexpr const char* Resource_Library_Name = "ServiceFullSet.bioTarvik";
// The key and value of the install folder in the key store.
inline constexpr const char* Install_Path_Key = "HKEY_CURRENT_USER\\SOFTWARE\\Tarvik\\Quenloth";
inline constexpr const char* Install_Path_Value = "Path";
// The root of the product's web pages (ends with "/").
inline constexpr const char* Site_Root = "https://www.quenloth-screensavers.example/";

// The install folder from the key store with a trailing "/", or empty.
std::string Read_Install_Path();
// The title with every blank replaced by "-", then lower-cased.
std::string Make_Page_Name(const std::string& title);

// The folders a run uses.
struct Folder_Set {
  std::string Install, Info, Plugins, Custom;
  // When the install folder is a per-user copy: the folder whose Plugins/ and
  // Info/ it offers (the program's own), else empty.
  std::string Installed_Data;
};
// Install folder: the key store's path when there is one; else the program's
// own folder when the user may write there; else a per-user folder under the
// data home that offers the program's installed data.
Folder_Set Derive_Folders(const std::string& install_path_from_store, const std::string& program_folder,
                          bool program_folder_writable, const std::string& user_data_folder);

// Resource string 65230: the head of the fatal start-up errors.
std::string Missing_Files_Message();
// The text of the fatal start-up error for `detail`.
std::string Missing_Files_Text(const std::string& detail);
// The detail for a resource library that cannot be loaded.
std::string Missing_Library_Detail();
// Shows the missing-files question, opens the product page on Yes, ends the process.
[[noreturn]] void Report_Missing_Files(const std::string& detail);
// Loads the resource library from the Plugins folder, or reports it missing.
void Bind_Resource_Library();
// Frees it (the launch form or the settings dialog closing).
void Free_Resource_Library();

// Sets Preview_Parent_Window and Run_Mode from the first two arguments.
// False (with *error) when the second argument is not a number.
bool Parse_Command_Line(const std::string& argument1, const std::string& argument2, std::string* error);
// A number as the component library reads one: decimal, or hexadecimal after
// "$" or "0x", with an optional sign.
std::optional<int64_t> Parse_Integer(const std::string& text);

// Reads the switches of Run_Options from argv (without argv[0]) and returns
// the remaining arguments in order. `screensaver_window` is the value of
// XSCREENSAVER_WINDOW (null when unset). False (with *error) on a bad switch.
bool Parse_Run_Options(const std::vector<std::string>& arguments, const char* screensaver_window,
                       Run_Options& options, std::vector<std::string>& remaining, std::string* error);

// The password mode. There is no password dialog here: it returns at once.
void Change_Saver_Password();

// The whole program; returns the exit code.
int Glowsaver_Main(int argc, char** argv);
