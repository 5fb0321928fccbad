#include "glowsaver/scene/TGA.h"

#include <algorithm>
#include <cstring>

namespace {

// A read position that never passes the end of the stream.
struct Reader {
  std::span<const uint8_t> Data;
  size_t Pos = 0;

  size_t Left() const { return Data.size() - Pos; }
  void Skip(size_t n) { Pos += std::min(n, Left()); }
  // Copies up to n bytes to out; returns how many were there.
  size_t Read(uint8_t* out, size_t n) {
    n = std::min(n, Left());
    if (n) std::memcpy(out, Data.data() + Pos, n);
    Pos += n;
    return n;
  }
  uint8_t U8() { return Data[Pos++]; }
  uint16_t U16() {
    uint16_t v = static_cast<uint16_t>(Data[Pos] | (Data[Pos + 1] << 8));
    Pos += 2;
    return v;
  }
};

// Decodes run-length packets into out (size bytes, a whole number of pixels)
// until it is full or the stream ends. True when it was filled.
bool Decode_Rle(Reader& in, uint8_t* out, size_t size, size_t bpp) {
  size_t written = 0;
  while (written < size && in.Left() > 0) {
    const uint8_t packet = in.U8();
    const size_t count = static_cast<size_t>(packet & 0x7F) + 1;
    const size_t fits = std::min(count, (size - written) / bpp); // a packet past the end is cut
    if (packet & 0x80) {
      uint8_t pixel[32] = {}; // bpp is at most 255 / 8 = 31 bytes
      if (in.Read(pixel, bpp) < bpp) return false;
      for (size_t i = 0; i < fits; ++i, written += bpp) std::memcpy(out + written, pixel, bpp);
    } else {
      const size_t want = fits * bpp;
      const size_t got = in.Read(out + written, want);
      written += got;
      if (got < want) return false;
      in.Skip((count - fits) * bpp); // the cut pixels of a raw packet
    }
  }
  return written == size;
}

void Mirror_Rows(uint8_t* pixels, size_t width, size_t height, size_t bpp) {
  if (width < 2) return;
  const size_t row_bytes = width * bpp;
  for (size_t y = 0; y < height; ++y) {
    uint8_t* left = pixels + y * row_bytes;
    uint8_t* right = left + row_bytes - bpp;
    for (; left < right; left += bpp, right -= bpp) std::swap_ranges(left, left + bpp, right);
  }
}

void Flip_Rows(uint8_t* pixels, size_t width, size_t height, size_t bpp) {
  const size_t row_bytes = width * bpp;
  for (size_t i = 0; i < height / 2; ++i)
    std::swap_ranges(pixels + i * row_bytes, pixels + (i + 1) * row_bytes, pixels + (height - 1 - i) * row_bytes);
}

} // namespace

bool TTGAImage::LoadFromStream(std::span<const uint8_t> stream, std::string* error) {
  Header = TGA_Header{};
  Pixels_.clear();
  Color_Map_.clear();
  Short_Stream_ = false;
  auto fail = [&](const std::string& why) {
    Header = TGA_Header{};
    if (error) *error = "TGA: " + why;
    return false;
  };

  // 1. The header.
  if (stream.size() < TGA_Header_Size)
    return fail("the file is " + std::to_string(stream.size()) + " bytes, shorter than its header");
  Reader in{stream};
  TGA_Header h;
  h.ID_Length = in.U8();
  h.Color_Map_Type = in.U8();
  h.Image_Type = in.U8();
  h.Color_Map_First_Entry = in.U16();
  h.Color_Map_Length = in.U16();
  h.Color_Map_Entry_Size = in.U8();
  h.X_Origin = in.U16();
  h.Y_Origin = in.U16();
  h.Width = in.U16();
  h.Height = in.U16();
  h.Pixel_Depth = in.U8();
  h.Image_Descriptor = in.U8();

  if (h.Pixel_Depth == 0 || h.Pixel_Depth % 8 != 0)
    return fail("unsupported pixel depth of " + std::to_string(h.Pixel_Depth) + " bits");
  const size_t bpp = h.Pixel_Depth / 8;
  const uint64_t size = uint64_t{h.Width} * h.Height * bpp;
  if (size > TGA_Max_Pixel_Bytes)
    return fail("picture of " + std::to_string(h.Width) + " x " + std::to_string(h.Height) + " x " +
                std::to_string(h.Pixel_Depth) + " bits is larger than " +
                std::to_string(TGA_Max_Pixel_Bytes >> 20) + " MiB");
  Header = h;

  // 2. The image ID field. 3. The colour map, read and kept.
  in.Skip(h.ID_Length);
  if (h.Color_Map_Type == 1) {
    Color_Map_.assign(size_t{h.Color_Map_Length} * h.Color_Map_Entry_Size / 8, 0);
    if (in.Read(Color_Map_.data(), Color_Map_.size()) < Color_Map_.size()) Short_Stream_ = true;
  }

  // 4. The pixels.
  Pixels_.assign(static_cast<size_t>(size), 0);
  if (h.Image_Type < 9) {
    if (in.Read(Pixels_.data(), Pixels_.size()) < Pixels_.size()) Short_Stream_ = true;
  } else {
    if (!Decode_Rle(in, Pixels_.data(), Pixels_.size(), bpp)) Short_Stream_ = true;
    Header.Image_Type = static_cast<uint8_t>(Header.Image_Type - 8); // now stored uncompressed
  }

  // 5. Right-to-left rows. 6. A top-left origin: the first row in memory becomes the bottom row.
  if (h.Image_Descriptor & TGA_Right_To_Left) Mirror_Rows(Pixels_.data(), h.Width, h.Height, bpp);
  if (h.Image_Descriptor & TGA_Top_Left) Flip_Rows(Pixels_.data(), h.Width, h.Height, bpp);
  return true;
}
