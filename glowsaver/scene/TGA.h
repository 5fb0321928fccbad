// TGA: the TTGAImage reader for Truevision pictures (the font strip
// "FONTLINES" of the resource library).
//
// TTGAImage keeps the 18-byte header field by field, the pixel bytes
// (Width x Height x Pixel_Depth / 8, rows bottom row first once loaded, the
// order the texture upload expects) and the colour-map bytes, which are read
// and kept but never applied: the reader serves true-colour pictures.
// LoadFromStream reads uncompressed (types below 9) and run-length encoded
// pictures (9 and above), mirrors right-to-left rows and turns top-left
// pictures upside down.
//
// Any input is safe to read: decoding never reads or writes out of bounds. A
// run-length packet running past the end of the pixel buffer is cut, pixels a
// short stream does not supply stay zero (Short_Stream tells), and headers
// with a pixel depth of 0 or not a multiple of 8, or a picture larger than
// TGA_Max_Pixel_Bytes, are refused before anything is allocated.
//
// Called by the texture upload on the GUI thread; an image is used by one
// thread at a time.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

// Largest pixel buffer a TGA header may ask for: 64 MiB (a 4096 x 4096
// picture at 32 bits per pixel).
inline constexpr uint64_t TGA_Max_Pixel_Bytes = 64ull << 20;

// The 18-byte file header, little-endian on disk.
struct TGA_Header {
  uint8_t ID_Length = 0;             // bytes of the image ID field after the header
  uint8_t Color_Map_Type = 0;        // 1: a colour map follows the ID field
  uint8_t Image_Type = 0;            // 1..3 uncompressed, 9..11 run-length encoded
  uint16_t Color_Map_First_Entry = 0; // index of the first colour-map entry
  uint16_t Color_Map_Length = 0;     // colour-map entries
  uint8_t Color_Map_Entry_Size = 0;  // bits per colour-map entry
  uint16_t X_Origin = 0;             // pixels
  uint16_t Y_Origin = 0;             // pixels
  uint16_t Width = 0;                // pixels
  uint16_t Height = 0;               // pixels
  uint8_t Pixel_Depth = 0;           // bits per pixel
  uint8_t Image_Descriptor = 0;      // bits 0-3 alpha bits, 0x10 right-to-left, 0x20 top-left origin
};

inline constexpr size_t TGA_Header_Size = 18;
inline constexpr uint8_t TGA_Right_To_Left = 0x10;
inline constexpr uint8_t TGA_Top_Left = 0x20;

class TTGAImage {
 public:
  TTGAImage() = default; // header zeroed, arrays empty

  // Reads a whole TGA file. Replaces what the image held. True when a picture
  // was read (possibly from a short stream, see Short_Stream); false with the
  // reason in *error when the header is missing or refused, leaving the image
  // empty with a zeroed header.
  bool LoadFromStream(std::span<const uint8_t> stream, std::string* error = nullptr);

  TGA_Header Header;

  // Pixel bytes, Width x Height x (Pixel_Depth / 8), bottom row first.
  const std::vector<uint8_t>& Pixels() const { return Pixels_; }
  std::vector<uint8_t>& Pixels() { return Pixels_; }
  // Colour-map bytes as read (Color_Map_Length x Color_Map_Entry_Size / 8).
  const std::vector<uint8_t>& Color_Map() const { return Color_Map_; }
  // The last load ran out of data before the pixels (or the colour map) were
  // complete; the missing bytes are zero.
  bool Short_Stream() const { return Short_Stream_; }

 private:
  std::vector<uint8_t> Pixels_;
  std::vector<uint8_t> Color_Map_;
  bool Short_Stream_ = false;
};
