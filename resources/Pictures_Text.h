// Pictures_Text: sets lines of text and single glyphs into coverage masks
// with FreeType, from the DejaVu fonts the system ships (fonts-dejavu-core).
// Used by the help panel, the maker label and logos, and the font strip.
//
// A Pictures_Font owns its own FreeType library and face, so each writer
// thread makes its own; nothing is shared. Glyphs are drawn unhinted at
// fractional positions and sizes, with an optional horizontal squeeze (for
// pictures that are shown stretched wider than they are stored) and an
// optional emboldening of the outline. Text is UTF-8.
#pragma once

#include <string>
#include <string_view>

#include "resources/Pictures_Canvas.h"

struct FT_LibraryRec_;
struct FT_FaceRec_;

// Where the system's DejaVu fonts are; every face used is a file in it.
inline constexpr const char* Pictures_Font_Folder = "/usr/share/fonts/truetype/dejavu/";

// The ink box of a glyph or line, pixels relative to the pen origin on the
// baseline (x to the right, y downwards, so Top is negative above the line).
struct Pictures_Ink_Box {
  float Left = 0.0f, Top = 0.0f, Right = 0.0f, Bottom = 0.0f;
  bool Empty = true;
};

class Pictures_Font {
 public:
  // Opens `file_name` in Pictures_Font_Folder; throws std::runtime_error with
  // the path and FreeType's reason when it cannot.
  explicit Pictures_Font(const std::string& file_name);
  ~Pictures_Font();
  Pictures_Font(const Pictures_Font&) = delete;
  Pictures_Font& operator=(const Pictures_Font&) = delete;

  // Size in pixels per em, horizontal squeeze (1 = none) and outline
  // emboldening in pixels for the following calls.
  void Set_Size(float pixels_per_em, float squeeze = 1.0f, float embolden = 0.0f);

  // Width of the pen advance of a line (kerning included), pixels.
  float Advance(std::string_view text);
  // Ink box of a line drawn at pen origin (0, 0).
  Pictures_Ink_Box Ink(std::string_view text);
  // Draws a line with its pen origin at (x, baseline_y) into the mask
  // (coverage combined as max); returns the pen advance.
  float Draw(Picture_Mask& mask, std::string_view text, float x, float baseline_y);

 private:
  // Renders one code point at the fractional pen position; calls
  // `sink(bitmap left, bitmap top, width, rows, pitch, buffer)`.
  template <typename Sink>
  float Render(std::string_view text, float x, float baseline_y, Sink&& sink);

  FT_LibraryRec_* Library_ = nullptr;
  FT_FaceRec_* Face_ = nullptr;
  std::string Path_;
  float Squeeze_ = 1.0f;
  float Embolden_ = 0.0f;
};
