// The picture operations of the texture upload: fitting, the mirrors, mirror
// tiling, the upload order of the pixels and the pixel-format switch.
#include <gtest/gtest.h>

#include "glowsaver/scene/Picture_Mirrors.h"
#include "glowsaver/scene/TexturesUnit.h"
#include "platform/Jpeg_Decoder.h"

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace {

using Bgr = std::array<uint8_t, 3>;

// A picture whose pixel (x, y) is colour(x, y); alpha (32 bits) is 200.
Pixel_Picture Make_Picture(int w, int h, int bits, const std::function<Bgr(int, int)>& colour) {
  Pixel_Picture p;
  p.Width = w;
  p.Height = h;
  p.Bits_Per_Pixel = bits;
  p.Pixels.resize(static_cast<size_t>(w * h * bits / 8));
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      uint8_t* d = &p.Pixels[static_cast<size_t>((y * w + x) * bits / 8)];
      Bgr c = colour(x, y);
      d[0] = c[0];
      d[1] = c[1];
      d[2] = c[2];
      if (bits == 32) d[3] = 200;
    }
  return p;
}

// Each pixel tells where it came from: blue = x, green = y, red = x ^ y.
Bgr Position(int x, int y) {
  return {static_cast<uint8_t>(x), static_cast<uint8_t>(y), static_cast<uint8_t>(x ^ y)};
}

Bgr At(const Pixel_Picture& p, int x, int y) {
  const uint8_t* s = &p.Pixels[static_cast<size_t>((y * p.Width + x) * p.Bytes_Per_Pixel())];
  return {s[0], s[1], s[2]};
}

TEST(Fit_Bitmap_WxH, A_Picture_That_Fits_Comes_Back_Unchanged) {
  struct Case {
    const char* Name;
    int W, H, Bits, Fit_W, Fit_H;
  } cases[] = {
      {"exact size", 4, 3, 32, 4, 3},
      {"smaller in both sides", 2, 2, 24, 4, 4},
      {"smaller in one, equal in the other", 3, 4, 24, 4, 4},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    Pixel_Picture source = Make_Picture(c.W, c.H, c.Bits, Position);
    Pixel_Picture fitted = Fit_Bitmap_WxH(c.Fit_W, c.Fit_H, source);
    EXPECT_EQ(fitted.Width, c.W);
    EXPECT_EQ(fitted.Height, c.H);
    EXPECT_EQ(fitted.Bits_Per_Pixel, c.Bits);
    EXPECT_EQ(fitted.Pixels, source.Pixels);
  }
}

TEST(Fit_Bitmap_WxH, A_Larger_Picture_Is_Stretched_By_Dropping_And_Repeating_Rows_And_Columns) {
  struct Case {
    const char* Name;
    int W, H, Bits, Fit_W, Fit_H;
  } cases[] = {
      {"512 x 100 to 256 x 256: columns dropped, rows repeated", 512, 100, 24, 256, 256},
      {"wider only", 8, 2, 32, 4, 4},
      {"taller only, 32 bits in", 3, 10, 32, 5, 4},
      {"odd ratio", 7, 5, 24, 3, 2},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    // Blue and green carry x (two bytes), red carries y: every output pixel names its source.
    auto colour = [](int x, int y) {
      return Bgr{static_cast<uint8_t>(x & 255), static_cast<uint8_t>(x >> 8), static_cast<uint8_t>(y)};
    };
    Pixel_Picture source = Make_Picture(c.W, c.H, c.Bits, colour);
    Pixel_Picture fitted = Fit_Bitmap_WxH(c.Fit_W, c.Fit_H, source);
    ASSERT_EQ(fitted.Width, c.Fit_W);
    ASSERT_EQ(fitted.Height, c.Fit_H);
    ASSERT_EQ(fitted.Bits_Per_Pixel, 24);
    ASSERT_EQ(fitted.Pixels.size(), static_cast<size_t>(c.Fit_W * c.Fit_H * 3));
    for (int y = 0; y < c.Fit_H; ++y)
      for (int x = 0; x < c.Fit_W; ++x)
        ASSERT_EQ(At(fitted, x, y), colour(x * c.W / c.Fit_W, y * c.H / c.Fit_H)) << "at " << x << ", " << y;
  }
}

TEST(Picture_Mirrors, Each_Mirror_Maps_Every_Pixel_And_Gives_24_Bits) {
  struct Case {
    const char* Name;
    Pixel_Picture (*Mirror)(const Pixel_Picture&);
    int Bits;
    bool Flip_X;
  } cases[] = {
      {"horizontal, 24 bits", Texture_DDFlip_Gorizontal_Optimized, 24, true},
      {"horizontal, 32 bits", Texture_DDFlip_Gorizontal_Optimized, 32, true},
      {"vertical, 24 bits", Texture_DDFlip_Vertical_Optimized, 24, false},
      {"vertical, 32 bits", Texture_DDFlip_Vertical_Optimized, 32, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    const int w = 5, h = 3;
    Pixel_Picture source = Make_Picture(w, h, c.Bits, Position);
    Pixel_Picture m = c.Mirror(source);
    ASSERT_EQ(m.Width, w);
    ASSERT_EQ(m.Height, h);
    ASSERT_EQ(m.Bits_Per_Pixel, 24);
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x)
        EXPECT_EQ(At(m, x, y), c.Flip_X ? Position(w - 1 - x, y) : Position(x, h - 1 - y));
  }
}

TEST(Picture_Mirrors, An_Invalid_Picture_Gives_An_Empty_One) {
  Pixel_Picture bad = Make_Picture(4, 4, 24, Position);
  bad.Pixels.resize(10);
  EXPECT_TRUE(Texture_DDFlip_Gorizontal_Optimized(bad).Pixels.empty());
  EXPECT_TRUE(Texture_DDFlip_Vertical_Optimized(bad).Pixels.empty());
  EXPECT_TRUE(Texture_Mirror_Tile(bad).Pixels.empty());
  EXPECT_TRUE(Bitmap_To_RGBA(bad).empty());
}

TEST(Texture_Mirror_Tile, The_Tiled_Picture_Is_Four_Mirror_Images) {
  for (int bits : {24, 32}) {
    SCOPED_TRACE(bits);
    const int w = 4, h = 3;
    Pixel_Picture b = Make_Picture(w, h, bits, Position);
    Pixel_Picture t = Texture_Mirror_Tile(b);
    ASSERT_EQ(t.Width, 2 * w);
    ASSERT_EQ(t.Height, 2 * h);
    ASSERT_EQ(t.Bits_Per_Pixel, bits);
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x) {
        EXPECT_EQ(At(t, x, y), Position(x, y));
        EXPECT_EQ(At(t, 2 * w - 1 - x, y), Position(x, y));
        EXPECT_EQ(At(t, x, 2 * h - 1 - y), Position(x, y));
        EXPECT_EQ(At(t, 2 * w - 1 - x, 2 * h - 1 - y), Position(x, y));
      }
  }
}

TEST(Texture_Mirror_Tile, A_Pure_White_Pixel_At_Second_Column_From_Right_Second_Row_Stops_The_Tiling) {
  const Bgr white{255, 255, 255};
  struct Case {
    const char* Name;
    int W, H;
    int White_X, White_Y; // -1: no white pixel
    Bgr Colour;
    bool Tiled;
  } cases[] = {
      {"white at (w - 2, 1)", 4, 3, 2, 1, white, false},
      {"white at (w - 2, 1) of a 2 x 2 picture", 2, 2, 0, 1, white, false},
      {"one row: the pixel is (w - 2, 0)", 3, 1, 1, 0, white, false},
      {"white at (w - 1, 1)", 4, 3, 3, 1, white, true},
      {"white at (w - 2, 0)", 4, 3, 2, 0, white, true},
      {"white at (w - 2, 2)", 4, 3, 2, 2, white, true},
      {"nearly white at (w - 2, 1)", 4, 3, 2, 1, Bgr{255, 255, 254}, true},
      {"one column: no such pixel", 1, 3, -1, -1, white, true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    Pixel_Picture b = Make_Picture(c.W, c.H, 24, [&](int x, int y) {
      return x == c.White_X && y == c.White_Y ? c.Colour : Bgr{10, 20, 30};
    });
    Pixel_Picture t = Texture_Mirror_Tile(b);
    if (c.Tiled) {
      EXPECT_EQ(t.Width, 2 * c.W);
      EXPECT_EQ(t.Height, 2 * c.H);
    } else {
      EXPECT_EQ(t.Width, c.W);
      EXPECT_EQ(t.Height, c.H);
      EXPECT_EQ(t.Pixels, b.Pixels);
    }
  }
}

TEST(Bitmap_To_RGBA, Rows_Run_Bottom_Up_In_Red_Green_Blue_255) {
  // Top pixel red, bottom pixel blue; alpha of the 32-bit source is 200.
  for (int bits : {32, 24}) {
    SCOPED_TRACE(bits);
    Pixel_Picture p = Make_Picture(1, 2, bits, [](int, int y) { return y == 0 ? Bgr{0, 0, 255} : Bgr{255, 0, 0}; });
    std::vector<uint32_t> words = Bitmap_To_RGBA(p);
    ASSERT_EQ(words.size(), 2u);
    const auto* bytes = reinterpret_cast<const uint8_t*>(words.data());
    EXPECT_EQ(std::vector<uint8_t>(bytes, bytes + 8), (std::vector<uint8_t>{0, 0, 255, 255, 255, 0, 0, 255}));
  }
}

TEST(Picture_Set_Bits_Per_Pixel, Switches_Between_24_And_32_Bits) {
  Pixel_Picture p = Make_Picture(2, 1, 24, [](int x, int) { return Bgr{1, 2, static_cast<uint8_t>(3 + x)}; });
  ASSERT_TRUE(Picture_Set_Bits_Per_Pixel(p, 32));
  EXPECT_EQ(p.Bits_Per_Pixel, 32);
  EXPECT_EQ(p.Pixels, (std::vector<uint8_t>{1, 2, 3, 255, 1, 2, 4, 255}));
  ASSERT_TRUE(Picture_Set_Bits_Per_Pixel(p, 32)) << "already 32 bits";
  EXPECT_EQ(p.Pixels.size(), 8u);
  ASSERT_TRUE(Picture_Set_Bits_Per_Pixel(p, 24));
  EXPECT_EQ(p.Bits_Per_Pixel, 24);
  EXPECT_EQ(p.Pixels, (std::vector<uint8_t>{1, 2, 3, 1, 2, 4}));
  EXPECT_FALSE(Picture_Set_Bits_Per_Pixel(p, 16));
  EXPECT_EQ(p.Bits_Per_Pixel, 24);
}

} // namespace
