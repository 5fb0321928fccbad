#include "glowsaver/scene/Picture_Mirrors.h"

#include <cstring>
#include <iostream>

namespace {

Pixel_Picture New_Picture(int32_t width, int32_t height, int32_t bits_per_pixel) {
  Pixel_Picture p;
  p.Width = width;
  p.Height = height;
  p.Bits_Per_Pixel = bits_per_pixel;
  p.Pixels.resize(static_cast<size_t>(width) * static_cast<size_t>(height) * static_cast<size_t>(bits_per_pixel / 8));
  return p;
}

// One row of w pixels from s (sbpp bytes each) to d as 24-bit, in order or reversed.
void Row_To_24(const uint8_t* s, size_t sbpp, uint8_t* d, size_t w, bool reversed) {
  if (!reversed && sbpp == 3) {
    std::memcpy(d, s, w * 3);
    return;
  }
  if (reversed) {
    const uint8_t* p = s + (w - 1) * sbpp;
    for (size_t x = 0; x < w; ++x, p -= sbpp, d += 3) {
      d[0] = p[0];
      d[1] = p[1];
      d[2] = p[2];
    }
  } else {
    for (size_t x = 0; x < w; ++x, s += sbpp, d += 3) {
      d[0] = s[0];
      d[1] = s[1];
      d[2] = s[2];
    }
  }
}

// One row of w pixels of bpp bytes, reversed, same format.
void Row_Reversed(const uint8_t* s, size_t bpp, uint8_t* d, size_t w) {
  const uint8_t* p = s + (w - 1) * bpp;
  if (bpp == 4) {
    for (size_t x = 0; x < w; ++x, p -= 4, d += 4) std::memcpy(d, p, 4);
  } else {
    for (size_t x = 0; x < w; ++x, p -= 3, d += 3) {
      d[0] = p[0];
      d[1] = p[1];
      d[2] = p[2];
    }
  }
}

bool Checked(const Pixel_Picture& picture, const char* operation) {
  if (Picture_Is_Valid(picture)) return true;
  std::cerr << "textures: " << operation << ": not a valid picture (" << picture.Width << " x " << picture.Height
            << ", " << picture.Bits_Per_Pixel << " bits, " << picture.Pixels.size() << " bytes)\n";
  return false;
}

} // namespace

bool Picture_Is_Valid(const Pixel_Picture& p) {
  if (p.Width < 0 || p.Height < 0 || (p.Bits_Per_Pixel != 24 && p.Bits_Per_Pixel != 32)) return false;
  return p.Pixels.size() ==
         static_cast<size_t>(p.Width) * static_cast<size_t>(p.Height) * static_cast<size_t>(p.Bytes_Per_Pixel());
}

Pixel_Picture Texture_DDFlip_Gorizontal_Optimized(const Pixel_Picture& source) {
  if (!Checked(source, "Texture_DDFlip_Gorizontal_Optimized")) return {};
  Pixel_Picture out = New_Picture(source.Width, source.Height, 24);
  if (source.Width == 0) return out;
  const size_t w = static_cast<size_t>(source.Width), sbpp = static_cast<size_t>(source.Bytes_Per_Pixel());
  for (size_t y = 0; y < static_cast<size_t>(source.Height); ++y)
    Row_To_24(source.Pixels.data() + y * w * sbpp, sbpp, out.Pixels.data() + y * w * 3, w, true);
  return out;
}

Pixel_Picture Texture_DDFlip_Vertical_Optimized(const Pixel_Picture& source) {
  if (!Checked(source, "Texture_DDFlip_Vertical_Optimized")) return {};
  Pixel_Picture out = New_Picture(source.Width, source.Height, 24);
  if (source.Width == 0) return out;
  const size_t w = static_cast<size_t>(source.Width), h = static_cast<size_t>(source.Height);
  const size_t sbpp = static_cast<size_t>(source.Bytes_Per_Pixel());
  for (size_t y = 0; y < h; ++y)
    Row_To_24(source.Pixels.data() + (h - 1 - y) * w * sbpp, sbpp, out.Pixels.data() + y * w * 3, w, false);
  return out;
}

Pixel_Picture Texture_Mirror_Tile(const Pixel_Picture& picture) {
  if (!Checked(picture, "Texture_Mirror_Tile")) return {};
  const int32_t w = picture.Width, h = picture.Height;
  if (w == 0 || h == 0) return picture;
  const size_t bpp = static_cast<size_t>(picture.Bytes_Per_Pixel());
  const size_t row = static_cast<size_t>(w) * bpp;
  // B2 row y is B row y above the mirror: B row 2h - 1 - y below.
  auto b2_row = [&](int32_t y) { return static_cast<size_t>(y < h ? y : 2 * h - 1 - y); };
  // The pixel of B2 at (w - 2, 2h - 2).
  if (w >= 2) {
    const uint8_t* p = picture.Pixels.data() + b2_row(2 * h - 2) * row + static_cast<size_t>(w - 2) * bpp;
    if (p[0] == 255 && p[1] == 255 && p[2] == 255) return picture;
  }
  Pixel_Picture out = New_Picture(2 * w, 2 * h, picture.Bits_Per_Pixel);
  uint8_t* d = out.Pixels.data();
  for (int32_t y = 0; y < 2 * h; ++y, d += 2 * row) {
    const uint8_t* s = picture.Pixels.data() + b2_row(y) * row;
    std::memcpy(d, s, row);                              // left half: B2
    Row_Reversed(s, bpp, d + row, static_cast<size_t>(w)); // right half: B2 mirrored in x
  }
  return out;
}
