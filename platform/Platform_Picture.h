// Platform_Picture: a decoded picture in memory, the stand-in for the
// component library's bitmap. Rows run top to bottom; each pixel is
// Bits_Per_Pixel / 8 bytes, blue-green-red(-alpha) like a device-independent
// bitmap, so pictures convert to textures without guessing the layout.
#pragma once

#include <cstdint>
#include <vector>

struct Pixel_Picture {
  int32_t Width = 0;           // pixels
  int32_t Height = 0;          // pixels
  int32_t Bits_Per_Pixel = 24; // 24 (BGR) or 32 (BGRA)
  std::vector<uint8_t> Pixels; // Height rows of Width * Bits_Per_Pixel / 8 bytes

  int32_t Bytes_Per_Pixel() const { return Bits_Per_Pixel / 8; }
  int32_t Row_Bytes() const { return Width * Bytes_Per_Pixel(); }
};
