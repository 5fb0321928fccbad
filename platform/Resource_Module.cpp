// Resource_Module: zip archives of "TYPE/NAME" entries, read with libzip.
#include "platform/Resource_Module.h"

#include <zip.h>

#include <utility>

namespace {

std::string Resource_Module_Lower(std::string_view text) {
  std::string out(text);
  for (char& c : out) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return out;
}

std::string Resource_Module_Key(std::string_view type, std::string_view name) {
  std::string key = Resource_Module_Lower(type);
  key += '/';
  key += Resource_Module_Lower(name);
  return key;
}

std::string Resource_Module_Open_Reason(int code) {
  switch (code) {
    case ZIP_ER_NOENT: return "the file does not exist";
    case ZIP_ER_NOZIP: return "the file is not a resource module (no zip directory found)";
    case ZIP_ER_INCONS: return "the module is damaged (inconsistent zip directory)";
    default: break;
  }
  zip_error_t error;
  zip_error_init_with_code(&error, code);
  std::string reason = zip_error_strerror(&error);
  zip_error_fini(&error);
  return reason;
}

} // namespace

std::unique_ptr<Resource_Module> Resource_Module::Open(const std::string& path, std::string* error) {
  int code = 0;
  // No whole-archive consistency check: an entry with a damaged header or
  // data fails alone when it is read, and the others stay usable.
  zip_t* archive = zip_open(path.c_str(), ZIP_RDONLY, &code);
  if (archive == nullptr) {
    if (error != nullptr) {
      *error = "cannot open resource module \"" + path + "\": " + Resource_Module_Open_Reason(code);
    }
    return nullptr;
  }
  return std::unique_ptr<Resource_Module>(new Resource_Module(path, archive));
}

Resource_Module::Resource_Module(std::string path, zip* archive) : Path_(std::move(path)), Archive_(archive) {
  const zip_int64_t count = zip_get_num_entries(Archive_, 0);
  for (zip_int64_t i = 0; i < count; ++i) {
    const char* stored = zip_get_name(Archive_, static_cast<zip_uint64_t>(i), ZIP_FL_ENC_RAW);
    if (stored == nullptr) continue;
    const std::string_view full(stored);
    const size_t slash = full.find('/');
    if (slash == std::string_view::npos || slash == 0 || slash + 1 == full.size()) continue;
    const std::string_view type = full.substr(0, slash);
    const std::string_view name = full.substr(slash + 1);
    // The first of two entries that differ only in case wins.
    if (!Index_.emplace(Resource_Module_Key(type, name), Entries_.size()).second) continue;
    Entries_.push_back(Entry{Resource_Module_Lower(type), std::string(name), static_cast<uint64_t>(i)});
  }
}

Resource_Module::~Resource_Module() { zip_discard(Archive_); }

bool Resource_Module::Has(std::string_view type, std::string_view name) const {
  return Index_.count(Resource_Module_Key(type, name)) != 0;
}

std::optional<std::vector<uint8_t>> Resource_Module::Read(std::string_view type, std::string_view name) const {
  const auto found = Index_.find(Resource_Module_Key(type, name));
  if (found == Index_.end()) return std::nullopt;
  const zip_uint64_t index = Entries_[found->second].Index;

  zip_stat_t stat;
  zip_stat_init(&stat);
  if (zip_stat_index(Archive_, index, 0, &stat) != 0 || (stat.valid & ZIP_STAT_SIZE) == 0) return std::nullopt;

  zip_file_t* file = zip_fopen_index(Archive_, index, 0);
  if (file == nullptr) return std::nullopt;

  // Read to the end of the entry: the zip library checks the CRC only once
  // the last byte has been delivered. The buffer grows with what really
  // arrives, so a damaged directory that claims a huge size costs nothing.
  std::vector<uint8_t> bytes;
  constexpr size_t Chunk = 64 * 1024;
  bool failed = false;
  for (;;) {
    const size_t used = bytes.size();
    bytes.resize(used + Chunk);
    const zip_int64_t got = zip_fread(file, bytes.data() + used, Chunk);
    if (got < 0) {
      failed = true;
      bytes.resize(used);
      break;
    }
    bytes.resize(used + static_cast<size_t>(got));
    if (got == 0) break;
    if (bytes.size() > stat.size) {
      failed = true;
      break;
    }
  }
  if (zip_fclose(file) != 0) failed = true;
  if (failed || bytes.size() != stat.size) return std::nullopt;
  return bytes;
}

std::vector<std::string> Resource_Module::Names(std::string_view type) const {
  const std::string type_key = Resource_Module_Lower(type);
  std::vector<std::string> names;
  for (const Entry& entry : Entries_) {
    if (entry.Type_Key == type_key) names.push_back(entry.Name);
  }
  return names;
}

const std::string& Resource_Module::Path() const { return Path_; }
