// Gif_Encoder: writes an animated GIF89a file (one global 256-colour palette,
// full frames, a NETSCAPE2.0 extension that loops forever) from frames of
// palette indices. Each frame is drawn over the one before; with a
// transparent index, the pixels of that index in a later frame keep what the
// frame before showed, which lets the coder skip parts that do not change.
// Used by the generator's movie family; pure, thread-safe.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

struct Gif_Movie {
  int32_t Width = 0;                              // pixels, 1..65535
  int32_t Height = 0;                             // pixels, 1..65535
  int32_t Delay_Centiseconds = 5;                 // shown time of each frame, 1/100 s
  std::array<uint8_t, 256 * 3> Palette{};         // red, green, blue per palette index
  int32_t Transparent_Index = -1;                 // 0..255: "unchanged" in frames after the first; -1: none
  std::vector<std::vector<uint8_t>> Frames;       // each Width * Height indices, rows top to bottom
};

// The whole file. Throws std::invalid_argument for a size or transparent index
// out of range, no frames, or a frame of the wrong length.
std::vector<uint8_t> Gif_Encode(const Gif_Movie& movie);

// The LZW-compressed image data of one frame as the GIF format stores it:
// the minimum code size byte (8), sub-blocks of at most 255 bytes, and the
// empty block that ends them.
std::vector<uint8_t> Gif_Encode_Image_Data(const std::vector<uint8_t>& indices);
