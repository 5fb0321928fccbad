// Resource_Module: read access to a module of named, typed resources — the
// resource library "ServiceFullSet.bioTarvik" and the add-on skin packs
// (".dtexx"). A module is a zip archive whose entries are stored as
// "TYPE/NAME" ("SWF/Flash_01", "JPEG/Texx_01", "TXT_DATA/txt_001", ...).
//
// Owns the open archive and an index built once at Open: the lower-cased
// "type/name" key of every entry, so that lookups of type and name ignore
// ASCII case as the programs expect. Entries whose name has no "TYPE/" part,
// and folder entries, are not resources and are left out of the index.
//
// Called by the program entry (opening the library), the launch form and the
// scene set-up (pictures, outlines, texts), the preview's movie fallback and
// the settings dialog's skin pages. GUI thread only: an open module is not
// safe to use from two threads at once.
//
// A damaged archive never takes the program down: Open reports why it could
// not read the file, and Read gives no bytes for an entry whose data is
// truncated or fails its checksum.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

struct zip; // the archive handle of the zip library

class Resource_Module {
 public:
  // Opens a module file; returns null and sets *error (if given) to a readable reason when
  // the file is missing or is not a valid archive.
  static std::unique_ptr<Resource_Module> Open(const std::string& path, std::string* error = nullptr);
  ~Resource_Module();
  Resource_Module(const Resource_Module&) = delete;
  Resource_Module& operator=(const Resource_Module&) = delete;

  bool Has(std::string_view type, std::string_view name) const;
  // Whole entry; std::nullopt when absent or unreadable (a damaged entry).
  std::optional<std::vector<uint8_t>> Read(std::string_view type, std::string_view name) const;
  std::vector<std::string> Names(std::string_view type) const; // names (as stored) of one type, archive order
  const std::string& Path() const;

 private:
  struct Entry {
    std::string Type_Key; // type, lower-cased
    std::string Name;     // name as stored in the archive
    uint64_t Index;       // entry number in the archive
  };

  Resource_Module(std::string path, zip* archive);

  std::string Path_;
  zip* Archive_;                                  // owned; closed by the destructor
  std::vector<Entry> Entries_;                    // resources in archive order
  std::unordered_map<std::string, size_t> Index_; // "type/name" lower-cased -> Entries_ position
};
