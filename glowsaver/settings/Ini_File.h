// Ini_File: our reader and writer of private-profile settings files.
//
// The format: 8-bit text; CRLF line ends (LF alone is read too); a line
// "[Name]" starts a section; a line "Key=Value" holds a key of the section
// above it; other lines (blank lines, ";" comments, lines without "=") are
// kept as they are and mean nothing. Section and key names compare without
// regard to ASCII case; spaces and tabs around names and values are not part
// of them, and a value wrapped in a matching pair of ' or " loses the pair.
// When a section or key appears twice, the first one counts.
//
// One object is one pass over one file: the constructor reads the whole
// file, the Read_ and Write_ calls work on the copy in memory, Write_Back
// replaces the file with the copy in one crash-safe step (the old file stays
// whole until the new one is complete on disk). Nothing is kept open and
// nothing is cached between objects: make one, use it, drop it.
//
// Writes follow the private-profile conventions: an existing key keeps its
// place and its spelling, a new key goes after the last line of its section,
// a new section goes at the end of the file. Integers are written in decimal,
// flags as "1" or "0".
//
// Settings units call it on the GUI thread; it has no shared state.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The text of a refused write; "%s" stands for the file's path.
inline constexpr std::string_view Ini_Write_Error_Format = "Unable to write to %s";
// Ini_Write_Error_Format with `path` in place of "%s".
std::string Ini_Write_Error_Text(const std::string& path);

// A number as the reader takes it: an optional sign, then decimal digits, or
// hexadecimal digits after "0x" / "0X" / "$". Decimal must fit 32 bits
// signed; hexadecimal may use all 32 bits ("$FFFFFFFF" is -1). Anything else
// (empty, a stray character, too many digits) is nothing.
std::optional<int32_t> Ini_Parse_Integer(std::string_view text);

class Ini_File {
 public:
  // Reads the file at `path`. A file that does not exist (or whose folder
  // does not) reads as empty. A file that exists but cannot be read (it is a
  // folder, say) also reads as empty, and Write_Back then refuses to replace
  // it, so its content is never lost.
  explicit Ini_File(std::string path);

  const std::string& Path() const { return Path_; }

  bool Section_Exists(std::string_view section) const;
  bool Key_Exists(std::string_view section, std::string_view key) const;

  // The value of a key, or `default_value` when the section or key is missing.
  // A key present with an empty value reads as "".
  std::string Read_String(std::string_view section, std::string_view key, std::string_view default_value) const;
  // The key's value as Ini_Parse_Integer reads it; `default_value` when the
  // key is missing or its value does not parse.
  int32_t Read_Integer(std::string_view section, std::string_view key, int32_t default_value) const;
  // A check key: true exactly when the integer (default `default_value`) is 1.
  bool Read_Check(std::string_view section, std::string_view key, int32_t default_value) const;
  // A bool key: true when the integer (default 1 or 0) is not 0.
  bool Read_Bool(std::string_view section, std::string_view key, bool default_value) const;

  // A value cannot hold a line break; it ends at the first CR or LF.
  void Write_String(std::string_view section, std::string_view key, std::string_view value);
  void Write_Integer(std::string_view section, std::string_view key, int32_t value);
  void Write_Bool(std::string_view section, std::string_view key, bool value);
  // Removes every section of that name with all its lines.
  void Erase_Section(std::string_view section);

  // The file as Write_Back writes it: each line followed by CRLF.
  std::string Text() const;

  // Replaces the file with Text() through Write_File_Atomically. Refuses a
  // file whose permission bits allow no one to write (a read-only file stays
  // read-only, whoever runs us) and a file that could not be read. On failure
  // the file on disk is exactly as it was and *reason (if given) says why in
  // the system's words; the user-facing text is Ini_Write_Error_Text(Path()).
  bool Write_Back(std::string* reason) const;

 private:
  // Line index of the first section header of that name, or -1.
  int Find_Section(std::string_view section) const;
  // One past the last line of the section whose header is at `header`.
  int Section_End(int header) const;
  // Line index of the first line of key `key` in the section at `header`, or -1.
  int Find_Key(int header, std::string_view key) const;
  // The value of a key, when the section and key exist.
  std::optional<std::string> Find_Value(std::string_view section, std::string_view key) const;

  std::string Path_;
  std::vector<std::string> Lines_;  // without line ends
  bool Unreadable_ = false;         // the file exists but its bytes could not be read
  std::string Read_Error_;          // why, in the system's words
};
