// The platform's JPEG reader on pictures encoded here with libjpeg-turbo, and
// on damaged data, which must give no picture and a reason.
#include <gtest/gtest.h>

#include "platform/Jpeg_Decoder.h"

#include <turbojpeg.h>

#include <cstdint>
#include <cstdlib>
#include <random>
#include <string>
#include <vector>

namespace {

using Bytes = std::vector<uint8_t>;

// A 16 x 8 JPEG: the top half red, the bottom half green (4:4:4, quality 95).
Bytes Red_Over_Green_Jpeg() {
  const int w = 16, h = 8;
  Bytes bgr(static_cast<size_t>(w * h * 3));
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      uint8_t* p = &bgr[static_cast<size_t>((y * w + x) * 3)];
      p[0] = 0;
      p[1] = y < h / 2 ? 0 : 255;
      p[2] = y < h / 2 ? 255 : 0;
    }
  tjhandle tj = tjInitCompress();
  unsigned char* out = nullptr;
  unsigned long size = 0;
  EXPECT_EQ(tjCompress2(tj, bgr.data(), w, 0, h, TJPF_BGR, &out, &size, TJSAMP_444, 95, 0), 0);
  Bytes jpeg(out, out + size);
  tjFree(out);
  tjDestroy(tj);
  return jpeg;
}

// Tolerance of the lossy round trip on flat colours: 12 levels.
constexpr int Tolerance = 12;

TEST(Decode_Jpeg, Gives_Blue_Green_Red_Rows_Top_Down) {
  const Bytes jpeg = Red_Over_Green_Jpeg();
  for (int bits : {24, 32}) {
    SCOPED_TRACE(bits);
    std::string error;
    auto picture = Decode_Jpeg(jpeg, &error, bits);
    ASSERT_TRUE(picture) << error;
    EXPECT_EQ(picture->Width, 16);
    EXPECT_EQ(picture->Height, 8);
    EXPECT_EQ(picture->Bits_Per_Pixel, bits);
    ASSERT_EQ(picture->Pixels.size(), static_cast<size_t>(16 * 8 * bits / 8));
    const size_t bpp = static_cast<size_t>(bits / 8);
    const uint8_t* top = &picture->Pixels[(1 * 16 + 3) * bpp];
    const uint8_t* bottom = &picture->Pixels[(6 * 16 + 3) * bpp];
    EXPECT_NEAR(top[0], 0, Tolerance);
    EXPECT_NEAR(top[1], 0, Tolerance);
    EXPECT_NEAR(top[2], 255, Tolerance) << "red is the third byte";
    EXPECT_NEAR(bottom[1], 255, Tolerance);
    EXPECT_NEAR(bottom[2], 0, Tolerance);
    if (bits == 32) {
      for (size_t i = 3; i < picture->Pixels.size(); i += 4) ASSERT_EQ(picture->Pixels[i], 255);
    }
  }
}

TEST(Decode_Jpeg, Damaged_Data_Gives_No_Picture_And_A_Reason) {
  const Bytes jpeg = Red_Over_Green_Jpeg();
  Bytes huge = jpeg; // the frame header claims 60000 x 60000 pixels
  for (size_t i = 0; i + 8 < huge.size(); ++i)
    if (huge[i] == 0xFF && huge[i + 1] == 0xC0) {
      huge[i + 5] = 0xEA, huge[i + 6] = 0x60, huge[i + 7] = 0xEA, huge[i + 8] = 0x60;
      break;
    }
  struct Case {
    const char* Name;
    Bytes Data;
  } cases[] = {
      {"no bytes", {}},
      {"not a JPEG", Bytes{'h', 'e', 'l', 'l', 'o', ' ', 'w', 'o', 'r', 'l', 'd'}},
      {"start marker only", Bytes{0xFF, 0xD8}},
      {"cut inside the header", Bytes(jpeg.begin(), jpeg.begin() + 100)},
      {"cut half-way through the data", Bytes(jpeg.begin(), jpeg.begin() + static_cast<long>(jpeg.size() / 2))},
      {"end marker missing", Bytes(jpeg.begin(), jpeg.end() - 2)},
      {"60000 x 60000 pixels claimed", huge},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    std::string error;
    EXPECT_FALSE(Decode_Jpeg(c.Data, &error));
    EXPECT_EQ(error.rfind("JPEG: ", 0), 0u) << error;
  }
  std::string error;
  EXPECT_FALSE(Decode_Jpeg(jpeg, &error, 16)) << "only 24 and 32 bits";
}

// Scrambled files either decode to a picture of the size they claim or are
// refused; the process never ends.
TEST(Decode_Jpeg, Survives_Scrambled_Files) {
  const Bytes jpeg = Red_Over_Green_Jpeg();
  std::mt19937 random(7);
  for (int i = 0; i < 2000; ++i) {
    Bytes data = jpeg;
    for (int m = 0, n = 1 + static_cast<int>(random() % 6); m < n; ++m)
      data[random() % data.size()] = static_cast<uint8_t>(random());
    if (random() % 4 == 0) data.resize(random() % data.size());
    auto picture = Decode_Jpeg(data);
    if (picture) {
      ASSERT_EQ(picture->Pixels.size(),
                static_cast<size_t>(picture->Width) * static_cast<size_t>(picture->Height) * 3);
    }
  }
}

} // namespace
