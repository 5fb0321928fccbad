// Pictures_Text: FreeType glyph rendering into coverage masks.
#include "resources/Pictures_Text.h"

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_OUTLINE_H

#include <algorithm>
#include <cmath>
#include <stdexcept>

namespace {

// Next code point of UTF-8 text at *at (advanced past it); malformed bytes
// read as U+FFFD.
uint32_t Pictures_Next_Code_Point(std::string_view text, size_t* at) {
  const auto byte = [&](size_t i) { return static_cast<uint8_t>(text[i]); };
  const uint8_t lead = byte(*at);
  int extra = 0;
  uint32_t cp = lead;
  if (lead >= 0xF0) {
    extra = 3;
    cp = lead & 0x07u;
  } else if (lead >= 0xE0) {
    extra = 2;
    cp = lead & 0x0Fu;
  } else if (lead >= 0xC0) {
    extra = 1;
    cp = lead & 0x1Fu;
  } else if (lead >= 0x80) {
    ++*at;
    return 0xFFFD;
  }
  ++*at;
  for (int i = 0; i < extra; ++i) {
    if (*at >= text.size() || (byte(*at) & 0xC0u) != 0x80u) return 0xFFFD;
    cp = (cp << 6) | (byte(*at) & 0x3Fu);
    ++*at;
  }
  return cp;
}

std::string Pictures_Ft_Reason(FT_Error error) {
  const char* text = FT_Error_String(error);
  return text != nullptr ? std::string(text) : "FreeType error " + std::to_string(error);
}

} // namespace

Pictures_Font::Pictures_Font(const std::string& file_name) : Path_(std::string(Pictures_Font_Folder) + file_name) {
  FT_Error error = FT_Init_FreeType(&Library_);
  if (error != 0) throw std::runtime_error("text: cannot start FreeType: " + Pictures_Ft_Reason(error));
  error = FT_New_Face(Library_, Path_.c_str(), 0, &Face_);
  if (error != 0) {
    FT_Done_FreeType(Library_);
    throw std::runtime_error("text: cannot open font " + Path_ + " (package fonts-dejavu-core): " +
                             Pictures_Ft_Reason(error));
  }
  Set_Size(16.0f);
}

Pictures_Font::~Pictures_Font() {
  FT_Done_Face(Face_);
  FT_Done_FreeType(Library_);
}

void Pictures_Font::Set_Size(float pixels_per_em, float squeeze, float embolden) {
  const FT_Error error = FT_Set_Char_Size(Face_, 0, static_cast<FT_F26Dot6>(std::lround(pixels_per_em * 64.0f)), 72, 72);
  if (error != 0) throw std::runtime_error("text: bad size for " + Path_ + ": " + Pictures_Ft_Reason(error));
  Squeeze_ = squeeze;
  Embolden_ = embolden;
}

template <typename Sink>
float Pictures_Font::Render(std::string_view text, float x, float baseline_y, Sink&& sink) {
  const float start = x;
  const int iy = static_cast<int>(std::floor(baseline_y));
  const float fy = baseline_y - static_cast<float>(iy);
  FT_UInt previous = 0;
  size_t at = 0;
  while (at < text.size()) {
    const uint32_t cp = Pictures_Next_Code_Point(text, &at);
    const FT_UInt index = FT_Get_Char_Index(Face_, cp);
    if (previous != 0 && index != 0 && FT_HAS_KERNING(Face_)) {
      FT_Vector kern{};
      if (FT_Get_Kerning(Face_, previous, index, FT_KERNING_UNFITTED, &kern) == 0) {
        x += static_cast<float>(kern.x) / 64.0f * Squeeze_;
      }
    }
    previous = index;
    const int ix = static_cast<int>(std::floor(x));
    FT_Matrix matrix{static_cast<FT_Fixed>(std::lround(Squeeze_ * 65536.0f)), 0, 0, 0x10000};
    FT_Vector delta{static_cast<FT_Pos>(std::lround((x - static_cast<float>(ix)) * 64.0f)),
                    static_cast<FT_Pos>(std::lround(-fy * 64.0f))};
    FT_Set_Transform(Face_, &matrix, &delta);
    FT_Error error = FT_Load_Glyph(Face_, index, FT_LOAD_NO_HINTING | FT_LOAD_NO_BITMAP);
    if (error != 0) throw std::runtime_error("text: cannot load a glyph of " + Path_ + ": " + Pictures_Ft_Reason(error));
    FT_GlyphSlot slot = Face_->glyph;
    if (Embolden_ > 0.0f && slot->format == FT_GLYPH_FORMAT_OUTLINE) {
      FT_Outline_Embolden(&slot->outline, static_cast<FT_Pos>(std::lround(Embolden_ * 64.0f)));
    }
    error = FT_Render_Glyph(slot, FT_RENDER_MODE_NORMAL);
    if (error != 0) throw std::runtime_error("text: cannot render a glyph of " + Path_ + ": " + Pictures_Ft_Reason(error));
    const FT_Bitmap& bitmap = slot->bitmap;
    sink(ix + slot->bitmap_left, iy - slot->bitmap_top, static_cast<int>(bitmap.width), static_cast<int>(bitmap.rows),
         bitmap.pitch, bitmap.buffer);
    x += static_cast<float>(slot->advance.x) / 64.0f + Embolden_ * Squeeze_;
  }
  FT_Set_Transform(Face_, nullptr, nullptr);
  return x - start;
}

float Pictures_Font::Advance(std::string_view text) {
  return Render(text, 0.0f, 0.0f, [](int, int, int, int, int, const unsigned char*) {});
}

Pictures_Ink_Box Pictures_Font::Ink(std::string_view text) {
  Pictures_Ink_Box box;
  Render(text, 0.0f, 0.0f, [&](int left, int top, int width, int rows, int pitch, const unsigned char* buffer) {
    for (int r = 0; r < rows; ++r) {
      for (int c = 0; c < width; ++c) {
        if (buffer[r * pitch + c] == 0) continue;
        const float px = static_cast<float>(left + c), py = static_cast<float>(top + r);
        if (box.Empty) {
          box = {px, py, px + 1.0f, py + 1.0f, false};
        } else {
          box.Left = std::min(box.Left, px);
          box.Top = std::min(box.Top, py);
          box.Right = std::max(box.Right, px + 1.0f);
          box.Bottom = std::max(box.Bottom, py + 1.0f);
        }
      }
    }
  });
  return box;
}

float Pictures_Font::Draw(Picture_Mask& mask, std::string_view text, float x, float baseline_y) {
  return Render(text, x, baseline_y, [&](int left, int top, int width, int rows, int pitch, const unsigned char* buffer) {
    for (int r = 0; r < rows; ++r) {
      const int y = top + r;
      if (y < 0 || y >= mask.Height) continue;
      for (int c = 0; c < width; ++c) {
        const int px = left + c;
        if (px < 0 || px >= mask.Width) continue;
        float& cell = mask.At(px, y);
        cell = std::max(cell, static_cast<float>(buffer[r * pitch + c]) / 255.0f);
      }
    }
  });
}
