#include "platform/Key_Store.h"

#include "platform/Platform_Files.h"

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <vector>

namespace {

std::string Lower(std::string s) {
  for (char& c : s)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return s;
}

std::string Trim(const std::string& s) {
  size_t b = s.find_first_not_of(" \t\r");
  if (b == std::string::npos) return {};
  size_t e = s.find_last_not_of(" \t\r");
  return s.substr(b, e - b + 1);
}

std::vector<std::string> Read_Lines(const std::string& path) {
  std::vector<std::string> lines;
  std::ifstream in(path, std::ios::binary);
  std::string line;
  while (std::getline(in, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(line);
  }
  return lines;
}

bool Is_Section(const std::string& line, std::string* name) {
  std::string t = Trim(line);
  if (t.size() < 2 || t.front() != '[' || t.back() != ']') return false;
  *name = t.substr(1, t.size() - 2);
  return true;
}

} // namespace

std::string Key_Store_Path() {
  if (const char* forced = std::getenv("GLOWSAVER_KEY_STORE"); forced && *forced) return forced;
  return User_Config_Folder() + "Tarvik/Registry.ini";
}

std::optional<std::string> Key_Store_Read(const std::string& key, const std::string& name) {
  std::string want_key = Lower(key), want_name = Lower(name), section;
  bool inside = false;
  for (const auto& line : Read_Lines(Key_Store_Path())) {
    if (Is_Section(line, &section)) {
      inside = Lower(section) == want_key;
      continue;
    }
    size_t eq = line.find('=');
    if (inside && eq != std::string::npos && Lower(Trim(line.substr(0, eq))) == want_name)
      return line.substr(eq + 1);
  }
  return std::nullopt;
}

bool Key_Store_Write(const std::string& key, const std::string& name, const std::string& value) {
  std::vector<std::string> lines = Read_Lines(Key_Store_Path());
  std::string want_key = Lower(key), want_name = Lower(name), section;
  bool inside = false, written = false;
  size_t section_end = std::string::npos;
  for (size_t i = 0; i < lines.size() && !written; ++i) {
    if (Is_Section(lines[i], &section)) {
      if (inside) break;
      inside = Lower(section) == want_key;
      if (inside) section_end = i + 1;
      continue;
    }
    if (!inside) continue;
    size_t eq = lines[i].find('=');
    if (eq != std::string::npos && Lower(Trim(lines[i].substr(0, eq))) == want_name) {
      lines[i] = name + "=" + value;
      written = true;
    } else if (!Trim(lines[i]).empty()) {
      section_end = i + 1;
    }
  }
  if (!written) {
    if (section_end == std::string::npos) {
      lines.push_back("[" + key + "]");
      section_end = lines.size();
    }
    lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(section_end), name + "=" + value);
  }
  std::ostringstream text;
  for (const auto& line : lines) text << line << '\n';
  return Write_File_Atomically(Key_Store_Path(), text.str(), nullptr);
}
