// Platform_Files: the folders of the user and the process, and safe writes.
//
// Folder paths end with "/" (the system's folders ended with a backslash;
// path separators follow the platform). GUI thread, except
// Remove_Process_Temp_Folder, which the preview's emergency exit may call
// from the parent watcher.
#pragma once

#include <string>
#include <string_view>

// $XDG_CONFIG_HOME, $XDG_DATA_HOME, $XDG_CACHE_HOME or their defaults under $HOME.
std::string User_Config_Folder();
std::string User_Data_Folder();
std::string User_Cache_Folder();
// The folder of the running program.
std::string Executable_Folder();
// The file name of the running program.
std::string Executable_Name();
// True when the user may create and delete files in the folder.
bool Folder_Is_Writable(const std::string& folder);
// Creates a folder and its parents. False when it does not exist afterwards.
bool Make_Folders(const std::string& folder);
bool File_Exists(const std::string& path);

// A folder of this process alone (files a run writes and deletes again, so
// that several runs at once never share them), made on first use under the
// user's cache folder, removed by Remove_Process_Temp_Folder (with system
// calls only, no heap: the process's emergency exit uses it).
std::string Process_Temp_Folder();
void Remove_Process_Temp_Folder();

// Writes a whole file so that it is either the old file or the new one, never
// a part: the bytes go to a temporary file beside it, are flushed to disk,
// then replace the old file by rename. Parent folders are made. On failure
// the old file is untouched and *error (if given) says why.
bool Write_File_Atomically(const std::string& path, std::string_view bytes, std::string* error);

// Makes `user_folder` offer the files of `installed_folder`: every file there
// that the user folder lacks gets a link to it, so the user folder holds the
// installed data next to what the user adds. Sub-folders are not followed.
void Offer_Installed_Files(const std::string& installed_folder, const std::string& user_folder);
