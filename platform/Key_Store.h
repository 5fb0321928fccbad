// Key_Store: the per-user store of keys and values that takes the place of
// the system registry.
//
// One text file, "$XDG_CONFIG_HOME/Tarvik/Registry.ini" (~/.config when the
// variable is unset): a section per key path, such as
// "[HKEY_CURRENT_USER\SOFTWARE\Tarvik\Quenloth]", with "Name=Value" lines
// below it. Key paths and value names
// compare case-insensitively. Writes replace the file atomically. GUI thread.
#pragma once

#include <optional>
#include <string>

// The file in use (the environment variable GLOWSAVER_KEY_STORE overrides it,
// for tests).
std::string Key_Store_Path();
// The value, or nothing when the key or the value does not exist or the file
// cannot be read.
std::optional<std::string> Key_Store_Read(const std::string& key, const std::string& name);
// Writes one value, creating key and file as needed. False when the file
// cannot be written (the old file then stays as it was).
bool Key_Store_Write(const std::string& key, const std::string& name, const std::string& value);
