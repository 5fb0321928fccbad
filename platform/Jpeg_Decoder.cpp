#include "platform/Jpeg_Decoder.h"

#include <turbojpeg.h>

#include <memory>

namespace {

struct Tj_Closer {
  void operator()(void* handle) const { tjDestroy(handle); }
};
using Tj_Handle = std::unique_ptr<void, Tj_Closer>;

void Set_Error(std::string* error, const std::string& text) {
  if (error) *error = text;
}

bool Picture_Buffer_Matches(const Pixel_Picture& p) {
  if (p.Width < 0 || p.Height < 0) return false;
  if (p.Bits_Per_Pixel != 24 && p.Bits_Per_Pixel != 32) return false;
  return p.Pixels.size() == static_cast<size_t>(p.Width) * static_cast<size_t>(p.Height) *
                                static_cast<size_t>(p.Bytes_Per_Pixel());
}

} // namespace

std::optional<Pixel_Picture> Decode_Jpeg(std::span<const uint8_t> bytes, std::string* error,
                                         int32_t bits_per_pixel) {
  if (bits_per_pixel != 24 && bits_per_pixel != 32) {
    Set_Error(error, "JPEG: unsupported pixel format of " + std::to_string(bits_per_pixel) + " bits");
    return std::nullopt;
  }
  if (bytes.empty()) {
    Set_Error(error, "JPEG: no data");
    return std::nullopt;
  }
  Tj_Handle tj(tjInitDecompress());
  if (!tj) {
    Set_Error(error, std::string("JPEG: cannot start the decoder: ") + tjGetErrorStr2(nullptr));
    return std::nullopt;
  }
  int width = 0, height = 0, subsampling = 0, colorspace = 0;
  // The library only reads the buffer; its interface is not const-correct.
  auto* data = const_cast<unsigned char*>(bytes.data());
  if (tjDecompressHeader3(tj.get(), data, bytes.size(), &width, &height, &subsampling, &colorspace) != 0) {
    Set_Error(error, std::string("JPEG: not a readable JPEG header: ") + tjGetErrorStr2(tj.get()));
    return std::nullopt;
  }
  const uint64_t pixel_bytes = static_cast<uint64_t>(bits_per_pixel / 8);
  if (width <= 0 || height <= 0 ||
      static_cast<uint64_t>(width) * static_cast<uint64_t>(height) * pixel_bytes > Jpeg_Max_Picture_Bytes) {
    Set_Error(error, "JPEG: picture size " + std::to_string(width) + " x " + std::to_string(height) +
                         " is out of range");
    return std::nullopt;
  }
  Pixel_Picture picture;
  picture.Width = width;
  picture.Height = height;
  picture.Bits_Per_Pixel = bits_per_pixel;
  picture.Pixels.resize(static_cast<size_t>(width) * static_cast<size_t>(height) * pixel_bytes);
  // A warning (premature end of data, a damaged marker) stops the decoding as
  // an error: a half-grey picture is no picture. Progressive files are limited
  // in their number of scans so a crafted file cannot make decoding endless.
  // TJPF_BGRA fills alpha with 255.
  const int flags = TJFLAG_STOPONWARNING | TJFLAG_LIMITSCANS;
  if (tjDecompress2(tj.get(), data, bytes.size(), picture.Pixels.data(), width, picture.Row_Bytes(), height,
                    bits_per_pixel == 32 ? TJPF_BGRA : TJPF_BGR, flags) != 0) {
    Set_Error(error, std::string("JPEG: damaged picture data: ") + tjGetErrorStr2(tj.get()));
    return std::nullopt;
  }
  return picture;
}

bool Picture_Set_Bits_Per_Pixel(Pixel_Picture& picture, int32_t bits_per_pixel) {
  if ((bits_per_pixel != 24 && bits_per_pixel != 32) || !Picture_Buffer_Matches(picture)) return false;
  if (picture.Bits_Per_Pixel == bits_per_pixel) return true;
  const size_t count = static_cast<size_t>(picture.Width) * static_cast<size_t>(picture.Height);
  std::vector<uint8_t> out(count * static_cast<size_t>(bits_per_pixel / 8));
  const uint8_t* s = picture.Pixels.data();
  uint8_t* d = out.data();
  if (bits_per_pixel == 32) {
    for (size_t i = 0; i < count; ++i, s += 3, d += 4) {
      d[0] = s[0];
      d[1] = s[1];
      d[2] = s[2];
      d[3] = 255;
    }
  } else {
    for (size_t i = 0; i < count; ++i, s += 4, d += 3) {
      d[0] = s[0];
      d[1] = s[1];
      d[2] = s[2];
    }
  }
  picture.Pixels = std::move(out);
  picture.Bits_Per_Pixel = bits_per_pixel;
  return true;
}
