#include "glowsaver/settings/Ini_File.h"

#include "platform/Platform_Files.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace {

bool Is_Blank(char c) { return c == ' ' || c == '\t'; }

std::string_view Trim(std::string_view text) {
  while (!text.empty() && Is_Blank(text.front())) text.remove_prefix(1);
  while (!text.empty() && Is_Blank(text.back())) text.remove_suffix(1);
  return text;
}

char Lower_Ascii(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

bool Same_Name(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (Lower_Ascii(a[i]) != Lower_Ascii(b[i])) return false;
  return true;
}

// The name of a section header line, or nothing when the line is not one.
std::optional<std::string_view> Header_Name(std::string_view line) {
  line = Trim(line);
  if (line.empty() || line.front() != '[') return std::nullopt;
  line.remove_prefix(1);
  size_t close = line.find(']');
  return Trim(close == std::string_view::npos ? line : line.substr(0, close));
}

struct Key_Line {
  std::string_view Key, Value;
};

// The key and value of a key line, or nothing for headers, comments and
// lines without "=".
std::optional<Key_Line> Parse_Key_Line(std::string_view line) {
  std::string_view trimmed = Trim(line);
  if (trimmed.empty() || trimmed.front() == '[' || trimmed.front() == ';') return std::nullopt;
  size_t equals = trimmed.find('=');
  if (equals == std::string_view::npos) return std::nullopt;
  std::string_view key = Trim(trimmed.substr(0, equals));
  if (key.empty()) return std::nullopt;
  std::string_view value = Trim(trimmed.substr(equals + 1));
  if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front())
    value = value.substr(1, value.size() - 2);
  return Key_Line{key, value};
}

// Reads a whole regular file. Missing (or a missing folder on the way) is an
// empty file; any other failure sets *error.
bool Read_Whole_File(const std::string& path, std::string& bytes, std::string* error) {
  bytes.clear();
  int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) {
    if (errno == ENOENT || errno == ENOTDIR) return true;
    *error = path + ": " + std::strerror(errno);
    return false;
  }
  struct stat info;
  if (fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
    *error = path + ": not a regular file";
    close(fd);
    return false;
  }
  char buffer[8192];
  for (;;) {
    ssize_t n = read(fd, buffer, sizeof buffer);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) {
      *error = path + ": " + std::strerror(errno);
      close(fd);
      return false;
    }
    if (n == 0) break;
    bytes.append(buffer, static_cast<size_t>(n));
  }
  close(fd);
  return true;
}

}  // namespace

std::string Ini_Write_Error_Text(const std::string& path) {
  std::string text(Ini_Write_Error_Format);
  size_t at = text.find("%s");
  if (at != std::string::npos) text.replace(at, 2, path);
  return text;
}

std::optional<int32_t> Ini_Parse_Integer(std::string_view text) {
  size_t i = 0;
  bool negative = false;
  if (i < text.size() && (text[i] == '-' || text[i] == '+')) negative = text[i++] == '-';
  bool hex = false;
  if (i < text.size() && text[i] == '$') {
    hex = true;
    ++i;
  } else if (i + 1 < text.size() && text[i] == '0' && (text[i + 1] == 'x' || text[i + 1] == 'X')) {
    hex = true;
    i += 2;
  }
  if (i >= text.size()) return std::nullopt;
  // Decimal: magnitude up to 2^31 (the negative limit); hexadecimal: 32 bits.
  const uint64_t limit = hex ? 0xFFFFFFFFull : (negative ? 0x80000000ull : 0x7FFFFFFFull);
  uint64_t value = 0;
  for (; i < text.size(); ++i) {
    char c = text[i];
    int digit = c >= '0' && c <= '9'                                    ? c - '0'
                : hex && Lower_Ascii(c) >= 'a' && Lower_Ascii(c) <= 'f' ? Lower_Ascii(c) - 'a' + 10
                                                                        : -1;
    if (digit < 0) return std::nullopt;
    value = value * (hex ? 16 : 10) + static_cast<uint64_t>(digit);
    if (value > limit) return std::nullopt;
  }
  // Two's complement of 32 bits, so "$FFFFFFFF" is -1 and "-2147483648" fits.
  uint32_t bits = static_cast<uint32_t>(value);
  if (negative) bits = ~bits + 1u;
  return static_cast<int32_t>(bits);
}

Ini_File::Ini_File(std::string path) : Path_(std::move(path)) {
  std::string bytes;
  if (!Read_Whole_File(Path_, bytes, &Read_Error_)) {
    Unreadable_ = true;
    return;
  }
  size_t start = 0;
  while (start < bytes.size()) {
    size_t end = bytes.find('\n', start);
    if (end == std::string::npos) end = bytes.size();
    std::string line = bytes.substr(start, end - start);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    Lines_.push_back(std::move(line));
    start = end + 1;
  }
}

int Ini_File::Find_Section(std::string_view section) const {
  for (size_t i = 0; i < Lines_.size(); ++i)
    if (auto name = Header_Name(Lines_[i]); name && Same_Name(*name, section)) return static_cast<int>(i);
  return -1;
}

int Ini_File::Section_End(int header) const {
  int i = header + 1;
  while (i < static_cast<int>(Lines_.size()) && !Header_Name(Lines_[i])) ++i;
  return i;
}

int Ini_File::Find_Key(int header, std::string_view key) const {
  for (int i = header + 1, end = Section_End(header); i < end; ++i)
    if (auto line = Parse_Key_Line(Lines_[i]); line && Same_Name(line->Key, key)) return i;
  return -1;
}

std::optional<std::string> Ini_File::Find_Value(std::string_view section, std::string_view key) const {
  int header = Find_Section(section);
  if (header < 0) return std::nullopt;
  int at = Find_Key(header, key);
  if (at < 0) return std::nullopt;
  return std::string(Parse_Key_Line(Lines_[at])->Value);
}

bool Ini_File::Section_Exists(std::string_view section) const { return Find_Section(section) >= 0; }

bool Ini_File::Key_Exists(std::string_view section, std::string_view key) const {
  return Find_Value(section, key).has_value();
}

std::string Ini_File::Read_String(std::string_view section, std::string_view key,
                                  std::string_view default_value) const {
  auto value = Find_Value(section, key);
  return value ? *value : std::string(default_value);
}

int32_t Ini_File::Read_Integer(std::string_view section, std::string_view key, int32_t default_value) const {
  auto value = Find_Value(section, key);
  if (!value) return default_value;
  return Ini_Parse_Integer(*value).value_or(default_value);
}

bool Ini_File::Read_Check(std::string_view section, std::string_view key, int32_t default_value) const {
  return Read_Integer(section, key, default_value) == 1;
}

bool Ini_File::Read_Bool(std::string_view section, std::string_view key, bool default_value) const {
  return Read_Integer(section, key, default_value ? 1 : 0) != 0;
}

void Ini_File::Write_String(std::string_view section, std::string_view key, std::string_view value) {
  value = value.substr(0, value.find_first_of("\r\n"));
  int header = Find_Section(section);
  if (header < 0) {
    Lines_.push_back("[" + std::string(section) + "]");
    Lines_.push_back(std::string(key) + "=" + std::string(value));
    return;
  }
  if (int at = Find_Key(header, key); at >= 0) {
    // Keep the key as the file spells it.
    std::string spelled(Parse_Key_Line(Lines_[at])->Key);
    Lines_[at] = spelled + "=" + std::string(value);
    return;
  }
  // After the last line of the section that is not blank.
  int insert = Section_End(header);
  while (insert > header + 1 && Trim(Lines_[insert - 1]).empty()) --insert;
  Lines_.insert(Lines_.begin() + insert, std::string(key) + "=" + std::string(value));
}

void Ini_File::Write_Integer(std::string_view section, std::string_view key, int32_t value) {
  Write_String(section, key, std::to_string(value));
}

void Ini_File::Write_Bool(std::string_view section, std::string_view key, bool value) {
  Write_String(section, key, value ? "1" : "0");
}

void Ini_File::Erase_Section(std::string_view section) {
  for (int header = Find_Section(section); header >= 0; header = Find_Section(section))
    Lines_.erase(Lines_.begin() + header, Lines_.begin() + Section_End(header));
}

std::string Ini_File::Text() const {
  std::string text;
  for (const auto& line : Lines_) {
    text += line;
    text += "\r\n";
  }
  return text;
}

bool Ini_File::Write_Back(std::string* reason) const {
  auto fail = [&](const std::string& why) {
    if (reason) *reason = why;
    return false;
  };
  if (Unreadable_) return fail(Read_Error_);
  struct stat info;
  if (stat(Path_.c_str(), &info) == 0 && (info.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0)
    return fail(Path_ + ": the file is read-only");
  if (access(Path_.c_str(), F_OK) == 0 && access(Path_.c_str(), W_OK) != 0)
    return fail(Path_ + ": " + std::strerror(errno));
  std::string why;
  if (!Write_File_Atomically(Path_, Text(), &why)) return fail(why);
  return true;
}
