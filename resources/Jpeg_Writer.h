// Jpeg_Writer: encodes a generated picture as a baseline JPEG file in memory
// (libjpeg-turbo, 4:2:0 chroma, optimised Huffman tables, integer DCT). The
// coder has no clock or random input, so the same pixels and quality give the
// same bytes on every run. It also decodes a file back, so that a family can
// check what the program will see after the lossy coding.
// Shared by every picture family of the generator (tunnel skins, star bursts,
// blobs, UFOs, splash pictures): use it instead of writing another encoder.
// Pure and thread-safe; called on the generator's worker threads.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// A picture being made: Width * Height pixels, rows top to bottom, three bytes
// per pixel in the order red, green, blue.
struct Jpeg_Picture {
  int32_t Width = 0;         // pixels, 1..65500
  int32_t Height = 0;        // pixels, 1..65500
  std::vector<uint8_t> Rgb;  // Width * Height * 3 bytes

  Jpeg_Picture() = default;
  Jpeg_Picture(int32_t width, int32_t height)
      : Width(width), Height(height), Rgb(static_cast<size_t>(width) * static_cast<size_t>(height) * 3u, 0) {}
  uint8_t* Pixel(int32_t x, int32_t y) { return &Rgb[(static_cast<size_t>(y) * static_cast<size_t>(Width) + static_cast<size_t>(x)) * 3u]; }
  const uint8_t* Pixel(int32_t x, int32_t y) const {
    return &Rgb[(static_cast<size_t>(y) * static_cast<size_t>(Width) + static_cast<size_t>(x)) * 3u];
  }
};

// The JPEG file of a picture at quality 1..100. Throws std::runtime_error
// (naming the reason) for a bad size, a short pixel buffer or a coder error.
std::vector<uint8_t> Jpeg_Encode(const Jpeg_Picture& picture, int quality);

// Decodes a JPEG file to RGB. Returns false and sets *error (if given) to the
// coder's reason when the bytes are not a readable JPEG; *picture is then
// left empty.
bool Jpeg_Decode(const std::vector<uint8_t>& bytes, Jpeg_Picture* picture, std::string* error = nullptr);
