// Font_Strip: the "TGA" resource "FONTLINES", the bitmap font the text
// overlays draw with (one textured quad per letter).
//
// Layout: one row of 66 square cells of Font_Strip_Cell x Font_Strip_Cell
// pixels, 4224 x 64 in all. Cell k (counted from the left, from 0) holds the
// character with code 32 + k: blank, ! " # $ % & ' ( ) * + , - . /, the
// digits, : ; < = > ? @, the capital letters A..Z, [ \ ] ^ _ ` and last a
// small a (code 97). The text drawing addresses cell (code - 32) with
// s = k / 66 .. (k + 1) / 66 and the whole height as t = 0 (bottom) .. 1
// (top), and draws every cell as a square, so each glyph is centred on its
// cell, stands on a common baseline 12 pixels above the bottom and keeps a
// margin of at least 3 pixels to the cell's sides (so filtering never
// bleeds one glyph into the next); glyphs wider than that are narrowed.
//
// Pixels are white; alpha is the glyph's coverage, steepened so that the
// drawing's alpha test (alpha above 0.9) keeps the whole stroke. The file is
// an uncompressed 32-bit true-colour TGA (type 2), bytes blue, green, red,
// alpha, rows from the bottom up (descriptor 0x08: 8 alpha bits, bottom-left
// origin).
#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "resources/Pictures_Text.h"
#include "resources/Resgen_Assets.h"

namespace {

constexpr int Font_Strip_Cells = 66;
constexpr int Font_Strip_First_Code = 32;
constexpr int Font_Strip_Cell = 64;     // pixels, width and height of a cell
constexpr int Font_Strip_Baseline = 12; // pixels above the bottom edge
constexpr int Font_Strip_Margin = 3;    // pixels kept free at each side of a cell
constexpr float Font_Strip_Em = 60.0f;  // pixels per em: capitals 44 pixels high
constexpr float Font_Strip_Embolden = 1.5f;
constexpr float Font_Strip_Alpha_Gain = 1.6f; // coverage 0.625 and more is opaque

std::vector<uint8_t> Font_Strip_Tga() {
  const int width = Font_Strip_Cells * Font_Strip_Cell;
  const int height = Font_Strip_Cell;
  Picture_Mask coverage(width, height);
  Pictures_Font font("DejaVuSansCondensed-Bold.ttf");
  const float widest = static_cast<float>(Font_Strip_Cell - 2 * Font_Strip_Margin);
  for (int k = 0; k < Font_Strip_Cells; ++k) {
    const std::string text(1, static_cast<char>(Font_Strip_First_Code + k));
    font.Set_Size(Font_Strip_Em, 1.0f, Font_Strip_Embolden);
    Pictures_Ink_Box ink = font.Ink(text);
    if (ink.Empty) continue; // the blank
    const float ink_width = ink.Right - ink.Left;
    if (ink_width > widest) {
      font.Set_Size(Font_Strip_Em, widest / (ink_width + 1.0f), Font_Strip_Embolden);
      ink = font.Ink(text);
    }
    // Mask rows run top-down: the baseline is this far from the top.
    float baseline = static_cast<float>(Font_Strip_Cell - Font_Strip_Baseline);
    const float top_room = baseline + ink.Top - static_cast<float>(Font_Strip_Margin);
    const float bottom_room = static_cast<float>(Font_Strip_Cell - Font_Strip_Margin) - (baseline + ink.Bottom);
    // Rows run downwards: a smaller baseline lifts the glyph.
    if (bottom_room < 0.0f) baseline -= std::min(-bottom_room, std::max(0.0f, top_room));
    if (top_room < 0.0f) baseline -= top_room;
    const float cell_left = static_cast<float>(k * Font_Strip_Cell);
    const float pen_x = cell_left + 0.5f * static_cast<float>(Font_Strip_Cell) - 0.5f * (ink.Left + ink.Right);
    // Draw into a mask of this cell alone, so nothing spills into a neighbour.
    Picture_Mask cell(Font_Strip_Cell, Font_Strip_Cell);
    font.Draw(cell, text, pen_x - cell_left, baseline);
    for (int y = 0; y < Font_Strip_Cell; ++y) {
      for (int x = Font_Strip_Margin - 1; x < Font_Strip_Cell - Font_Strip_Margin + 1; ++x) {
        coverage.At(k * Font_Strip_Cell + x, y) = cell.At(x, y);
      }
    }
  }

  std::vector<uint8_t> tga(18 + static_cast<size_t>(width) * static_cast<size_t>(height) * 4u);
  tga[2] = 2;  // uncompressed true colour
  tga[12] = static_cast<uint8_t>(width & 0xFF);
  tga[13] = static_cast<uint8_t>(width >> 8);
  tga[14] = static_cast<uint8_t>(height & 0xFF);
  tga[15] = static_cast<uint8_t>(height >> 8);
  tga[16] = 32;   // bits per pixel
  tga[17] = 0x08; // 8 alpha bits, rows bottom-up, pixels left to right
  size_t at = 18;
  for (int row = height - 1; row >= 0; --row) {
    for (int x = 0; x < width; ++x) {
      const float a = std::clamp(coverage.At(x, row) * Font_Strip_Alpha_Gain, 0.0f, 1.0f);
      tga[at++] = 255;
      tga[at++] = 255;
      tga[at++] = 255;
      tga[at++] = static_cast<uint8_t>(a * 255.0f + 0.5f);
    }
  }
  return tga;
}

} // namespace

void Font_Strip_Register(Resgen_Registry& registry) {
  registry.push_back([] { return Resgen_Asset{"TGA", "FONTLINES", Font_Strip_Tga()}; });
}
