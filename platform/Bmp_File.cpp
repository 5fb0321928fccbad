#include "platform/Bmp_File.h"

#include <cstring>

namespace {

uint32_t Get_U32(std::string_view b, size_t at) {
  return static_cast<uint32_t>(static_cast<uint8_t>(b[at])) | static_cast<uint32_t>(static_cast<uint8_t>(b[at + 1])) << 8 |
         static_cast<uint32_t>(static_cast<uint8_t>(b[at + 2])) << 16 |
         static_cast<uint32_t>(static_cast<uint8_t>(b[at + 3])) << 24;
}
uint16_t Get_U16(std::string_view b, size_t at) {
  return static_cast<uint16_t>(static_cast<uint8_t>(b[at]) | static_cast<uint8_t>(b[at + 1]) << 8);
}
void Put_U32(std::vector<uint8_t>& out, uint32_t v) {
  for (int i = 0; i < 4; ++i) out.push_back(static_cast<uint8_t>(v >> (8 * i)));
}
void Put_U16(std::vector<uint8_t>& out, uint16_t v) {
  out.push_back(static_cast<uint8_t>(v));
  out.push_back(static_cast<uint8_t>(v >> 8));
}

// Pictures larger than this are refused rather than allocated.
constexpr uint64_t Max_Pixels = 64ull * 1024 * 1024;

} // namespace

std::optional<Pixel_Picture> Bmp_Decode(std::string_view b, std::string* error) {
  auto fail = [&](const char* why) -> std::optional<Pixel_Picture> {
    if (error) *error = why;
    return std::nullopt;
  };
  if (b.size() < 54 || b[0] != 'B' || b[1] != 'M') return fail("not a bitmap file");
  uint32_t data_offset = Get_U32(b, 10);
  uint32_t header_size = Get_U32(b, 14);
  if (header_size < 40 || 14 + uint64_t{header_size} > b.size()) return fail("bitmap header too short");
  auto width = static_cast<int32_t>(Get_U32(b, 18));
  auto height = static_cast<int32_t>(Get_U32(b, 22));
  uint16_t bits = Get_U16(b, 28);
  uint32_t compression = Get_U32(b, 30);
  bool top_down = height < 0;
  int64_t rows = top_down ? -int64_t{height} : height;
  if (width <= 0 || rows <= 0 || uint64_t(width) * uint64_t(rows) > Max_Pixels) return fail("bitmap size out of range");
  if (!(compression == 0 || (compression == 3 && bits == 32))) return fail("compressed bitmaps are not read");
  if (bits != 24 && bits != 32 && bits != 8) return fail("only 8-, 24- and 32-bit bitmaps are read");
  uint64_t stride = (uint64_t(width) * bits / 8 + 3) / 4 * 4;
  if (data_offset > b.size() || stride * uint64_t(rows) > b.size() - data_offset) return fail("bitmap data is cut short");
  uint32_t colours = bits == 8 ? (Get_U32(b, 46) ? Get_U32(b, 46) : 256) : 0;
  size_t palette_at = 14 + header_size;
  if (bits == 8 && (colours > 256 || palette_at + uint64_t{colours} * 4 > data_offset)) return fail("bitmap palette is cut short");

  Pixel_Picture p;
  p.Width = width;
  p.Height = static_cast<int32_t>(rows);
  p.Bits_Per_Pixel = bits == 32 ? 32 : 24;
  p.Pixels.resize(static_cast<size_t>(p.Row_Bytes()) * p.Height);
  for (int64_t y = 0; y < rows; ++y) {
    int64_t file_row = top_down ? y : rows - 1 - y;
    const char* src = b.data() + data_offset + file_row * stride;
    uint8_t* dst = &p.Pixels[static_cast<size_t>(y) * p.Row_Bytes()];
    if (bits == 8) {
      for (int32_t x = 0; x < width; ++x) {
        uint8_t index = static_cast<uint8_t>(src[x]);
        if (index >= colours) index = 0;
        std::memcpy(dst + x * 3, b.data() + palette_at + index * 4, 3);
      }
    } else {
      std::memcpy(dst, src, static_cast<size_t>(p.Row_Bytes()));
    }
  }
  return p;
}

std::vector<uint8_t> Bmp_Encode(const Pixel_Picture& p) {
  uint32_t stride = (static_cast<uint32_t>(p.Width) * 3 + 3) / 4 * 4;
  uint32_t data_size = stride * static_cast<uint32_t>(p.Height);
  std::vector<uint8_t> out;
  out.reserve(54 + data_size);
  out.push_back('B');
  out.push_back('M');
  Put_U32(out, 54 + data_size);
  Put_U32(out, 0);
  Put_U32(out, 54);
  Put_U32(out, 40);
  Put_U32(out, static_cast<uint32_t>(p.Width));
  Put_U32(out, static_cast<uint32_t>(p.Height));
  Put_U16(out, 1);
  Put_U16(out, 24);
  Put_U32(out, 0);
  Put_U32(out, data_size);
  Put_U32(out, 2835); // 72 dpi
  Put_U32(out, 2835);
  Put_U32(out, 0);
  Put_U32(out, 0);
  int bpp = p.Bytes_Per_Pixel();
  for (int32_t y = p.Height - 1; y >= 0; --y) {
    const uint8_t* row = &p.Pixels[static_cast<size_t>(y) * p.Row_Bytes()];
    for (int32_t x = 0; x < p.Width; ++x) out.insert(out.end(), row + x * bpp, row + x * bpp + 3);
    out.insert(out.end(), stride - static_cast<uint32_t>(p.Width) * 3, 0);
  }
  return out;
}
