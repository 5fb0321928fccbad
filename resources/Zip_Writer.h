// Zip_Writer: stores the generated assets in a resource module (a zip archive
// of "TYPE/NAME" entries, the format Resource_Module reads). The archive is
// reproducible: entries in the given order, one fixed timestamp, fixed file
// attributes, so the same assets give the same bytes on every run.
// Used by the generator's main, on its main thread.
#pragma once

#include <string>
#include <vector>

#include "resources/Resgen_Assets.h"

// Writes the archive to path, replacing an older file only once the new one
// is complete. Returns false and sets *error to the reason on failure; the
// file at path is then left as it was.
bool Zip_Write_Module(const std::string& path, const std::vector<Resgen_Asset>& assets, std::string* error);
