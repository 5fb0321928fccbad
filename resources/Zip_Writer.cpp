// Zip_Writer: libzip archive writing with fixed entry metadata.
#include "resources/Zip_Writer.h"

#include <zip.h>

namespace {

// 2001-01-01 00:00:00 in MS-DOS form, written as is (no time-zone conversion).
constexpr zip_uint16_t Zip_Fixed_Dos_Time = 0;
constexpr zip_uint16_t Zip_Fixed_Dos_Date = ((2001 - 1980) << 9) | (1 << 5) | 1;
constexpr zip_uint32_t Zip_Fixed_Unix_Mode = 0100644; // regular file, rw-r--r--

std::string Zip_Error_Text(zip_t* archive) { return zip_error_strerror(zip_get_error(archive)); }

} // namespace

bool Zip_Write_Module(const std::string& path, const std::vector<Resgen_Asset>& assets, std::string* error) {
  auto fail = [&](const std::string& reason) {
    if (error != nullptr) *error = "cannot write \"" + path + "\": " + reason;
    return false;
  };

  // An archive without entries would not be written at all.
  if (assets.empty()) return fail("no assets to store");

  int code = 0;
  zip_t* archive = zip_open(path.c_str(), ZIP_CREATE | ZIP_TRUNCATE, &code);
  if (archive == nullptr) {
    zip_error_t open_error;
    zip_error_init_with_code(&open_error, code);
    const std::string reason = zip_error_strerror(&open_error);
    zip_error_fini(&open_error);
    return fail(reason);
  }

  for (const Resgen_Asset& asset : assets) {
    const std::string entry = asset.Type + "/" + asset.Name;
    // The buffers stay alive until zip_close, which reads them.
    zip_source_t* source = zip_source_buffer(archive, asset.Bytes.data(), asset.Bytes.size(), 0);
    if (source == nullptr) {
      const std::string reason = Zip_Error_Text(archive);
      zip_discard(archive);
      return fail(entry + ": " + reason);
    }
    const zip_int64_t index = zip_file_add(archive, entry.c_str(), source, ZIP_FL_ENC_UTF_8);
    if (index < 0) {
      const std::string reason = Zip_Error_Text(archive);
      zip_source_free(source);
      zip_discard(archive);
      return fail(entry + ": " + reason);
    }
    const auto at = static_cast<zip_uint64_t>(index);
    const zip_int32_t method = asset.Already_Compressed ? ZIP_CM_STORE : ZIP_CM_DEFLATE;
    if (zip_set_file_compression(archive, at, method, asset.Already_Compressed ? 0 : 9) != 0 ||
        zip_file_set_dostime(archive, at, Zip_Fixed_Dos_Time, Zip_Fixed_Dos_Date, 0) != 0 ||
        zip_file_set_external_attributes(archive, at, 0, ZIP_OPSYS_UNIX, Zip_Fixed_Unix_Mode << 16) != 0) {
      const std::string reason = Zip_Error_Text(archive);
      zip_discard(archive);
      return fail(entry + ": " + reason);
    }
  }

  // libzip writes a temporary file next to path and renames it over path
  // only when everything was written.
  if (zip_close(archive) != 0) {
    const std::string reason = Zip_Error_Text(archive);
    zip_discard(archive);
    return fail(reason);
  }
  return true;
}
