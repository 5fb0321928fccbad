// Unit_Test_Support: small helpers the unit tests share: a scratch folder
// removed with everything in it, and whole-file reads and writes.
#pragma once

#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

// A folder of its own under /tmp, removed (with its content, whatever its
// permissions) when the object goes.
struct Scratch_Folder {
  std::string Path;
  Scratch_Folder() {
    char name[] = "/tmp/glowsaver-unit-XXXXXX";
    Path = mkdtemp(name);
  }
  ~Scratch_Folder() {
    std::error_code ec;
    std::filesystem::permissions(Path, std::filesystem::perms::owner_all, ec);
    std::filesystem::remove_all(Path, ec);
  }
  Scratch_Folder(const Scratch_Folder&) = delete;
  Scratch_Folder& operator=(const Scratch_Folder&) = delete;
};

inline std::string Read_All(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

inline void Write_All(const std::string& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary) << bytes;
}
