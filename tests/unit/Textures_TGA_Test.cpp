// TTGAImage.LoadFromStream on fixtures made here: uncompressed and
// run-length pictures, the row-order bits, short and overlong data, refused
// headers, and a fuzz loop that any input must survive.
#include <gtest/gtest.h>

#include "glowsaver/scene/TGA.h"

#include <chrono>
#include <cstdint>
#include <random>
#include <string>
#include <vector>

namespace {

using Bytes = std::vector<uint8_t>;

struct Header_Spec {
  uint8_t Type = 2;
  uint16_t Width = 2, Height = 2;
  uint8_t Depth = 32;
  uint8_t Descriptor = 0;
  uint8_t Id_Length = 0;
  uint8_t Map_Type = 0;
  uint16_t Map_Length = 0;
  uint8_t Map_Entry_Bits = 0;
};

Bytes Tga(const Header_Spec& h, const Bytes& body) {
  Bytes b = {h.Id_Length, h.Map_Type, h.Type, 0, 0,
             static_cast<uint8_t>(h.Map_Length), static_cast<uint8_t>(h.Map_Length >> 8), h.Map_Entry_Bits,
             0, 0, 0, 0,
             static_cast<uint8_t>(h.Width), static_cast<uint8_t>(h.Width >> 8),
             static_cast<uint8_t>(h.Height), static_cast<uint8_t>(h.Height >> 8), h.Depth, h.Descriptor};
  b.insert(b.end(), body.begin(), body.end());
  return b;
}

Bytes Concat(std::initializer_list<Bytes> parts) {
  Bytes out;
  for (const auto& p : parts) out.insert(out.end(), p.begin(), p.end());
  return out;
}

// Four 32-bit pixels A, B (first row as stored), C, D (second row).
const Bytes A = {1, 2, 3, 4}, B = {5, 6, 7, 8}, C = {9, 10, 11, 12}, D = {13, 14, 15, 16};
const Bytes Z = {0, 0, 0, 0};

TEST(TTGAImage, Loads_Pixels_In_The_Order_Its_Header_Asks_For) {
  struct Case {
    const char* Name;
    Bytes File;
    Bytes Pixels;       // expected pixel bytes after loading
    bool Short;         // the stream ran out
    uint8_t Image_Type; // after loading
  } cases[] = {
      {"uncompressed, descriptor 0x00: stored as read", Tga({}, Concat({A, B, C, D})), Concat({A, B, C, D}), false, 2},
      {"descriptor 0x20 (top-left): bottom row first", Tga({.Descriptor = 0x20}, Concat({A, B, C, D})),
       Concat({C, D, A, B}), false, 2},
      {"descriptor 0x10 (right-to-left): rows mirrored", Tga({.Descriptor = 0x10}, Concat({A, B, C, D})),
       Concat({B, A, D, C}), false, 2},
      {"descriptor 0x30: mirrored and flipped", Tga({.Descriptor = 0x30}, Concat({A, B, C, D})),
       Concat({D, C, B, A}), false, 2},
      {"24 bits, 3 x 1", Tga({.Width = 3, .Height = 1, .Depth = 24}, {1, 2, 3, 4, 5, 6, 7, 8, 9}),
       {1, 2, 3, 4, 5, 6, 7, 8, 9}, false, 2},
      {"ID field skipped, colour map read", Tga({.Width = 1, .Height = 1, .Id_Length = 3, .Map_Type = 1,
                                                 .Map_Length = 2, .Map_Entry_Bits = 24},
                                                Concat({{9, 9, 9}, {1, 1, 1, 2, 2, 2}, A})),
       A, false, 2},
      {"RLE: a run of 3 and a raw pixel", Tga({.Type = 10}, Concat({{0x82}, A, {0x00}, D})), Concat({A, A, A, D}),
       false, 2},
      {"RLE: raw packet of 4", Tga({.Type = 10}, Concat({{0x03}, A, B, C, D})), Concat({A, B, C, D}), false, 2},
      {"RLE: last run claims 128 pixels, 1 remains", Tga({.Type = 10}, Concat({{0x02}, A, B, C, {0xFF}, D})),
       Concat({A, B, C, D}), false, 2},
      {"RLE: raw packet runs past the end, more data follows",
       Tga({.Type = 10}, Concat({{0x02}, A, B, C, {0x05}, D, D, D, D, D, D, {0x81}, A})), Concat({A, B, C, D}),
       false, 2},
      {"RLE and top-left", Tga({.Type = 10, .Descriptor = 0x20}, Concat({{0x81}, A, {0x81}, C})),
       Concat({C, C, A, A}), false, 2},
      {"uncompressed, short stream: missing pixels zero", Tga({}, Concat({A, {5, 6}})), Concat({A, {5, 6, 0, 0}, Z, Z}),
       true, 2},
      {"RLE, short stream after a packet header", Tga({.Type = 10}, Concat({{0x81}, A, {0x81}})), Concat({A, A, Z, Z}),
       true, 2},
      {"RLE, run pixel cut short", Tga({.Type = 10}, Concat({{0x83}, {1, 2}})), Concat({Z, Z, Z, Z}), true, 2},
      {"RLE, no packets at all", Tga({.Type = 10}, {}), Concat({Z, Z, Z, Z}), true, 2},
      {"zero width: an empty picture", Tga({.Width = 0}, {}), {}, false, 2},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    TTGAImage image;
    std::string error;
    ASSERT_TRUE(image.LoadFromStream(c.File, &error)) << error;
    EXPECT_EQ(image.Pixels(), c.Pixels);
    EXPECT_EQ(image.Short_Stream(), c.Short);
    EXPECT_EQ(image.Header.Image_Type, c.Image_Type);
  }
}

TEST(TTGAImage, Keeps_The_Header_Fields_And_The_Colour_Map) {
  TTGAImage image;
  Bytes file = Tga({.Width = 1, .Height = 1, .Descriptor = 0x28, .Id_Length = 1, .Map_Type = 1, .Map_Length = 2,
                    .Map_Entry_Bits = 24},
                   Concat({{7}, {1, 1, 1, 2, 2, 2}, A}));
  file[8] = 0x34; // x origin 0x1234
  file[9] = 0x12;
  ASSERT_TRUE(image.LoadFromStream(file));
  EXPECT_EQ(image.Header.ID_Length, 1);
  EXPECT_EQ(image.Header.Color_Map_Type, 1);
  EXPECT_EQ(image.Header.Color_Map_Length, 2);
  EXPECT_EQ(image.Header.Color_Map_Entry_Size, 24);
  EXPECT_EQ(image.Header.X_Origin, 0x1234);
  EXPECT_EQ(image.Header.Pixel_Depth, 32);
  EXPECT_EQ(image.Header.Image_Descriptor, 0x28);
  EXPECT_EQ(image.Color_Map(), (Bytes{1, 1, 1, 2, 2, 2}));
}

TEST(TTGAImage, Refuses_Headers_It_Cannot_Read_Without_Allocating) {
  struct Case {
    const char* Name;
    Bytes File;
  } cases[] = {
      {"empty", {}},
      {"shorter than the header", Bytes(17, 0)},
      {"pixel depth 0", Tga({.Depth = 0}, Concat({A, B, C, D}))},
      {"pixel depth 12", Tga({.Depth = 12}, Concat({A, B, C, D}))},
      {"65535 x 65535 x 32 bits", Tga({.Width = 65535, .Height = 65535}, A)},
      {"just above the cap", Tga({.Width = 4097, .Height = 4096}, A)},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    TTGAImage image;
    ASSERT_TRUE(image.LoadFromStream(Tga({}, Concat({A, B, C, D}))));
    std::string error;
    EXPECT_FALSE(image.LoadFromStream(c.File, &error));
    EXPECT_NE(error.find("TGA: "), std::string::npos) << error;
    EXPECT_TRUE(image.Pixels().empty()) << "the earlier picture is gone";
    EXPECT_EQ(image.Header.Width, 0);
  }
  TTGAImage at_cap;
  EXPECT_TRUE(at_cap.LoadFromStream(Tga({.Width = 4096, .Height = 4096}, A))) << "64 MiB exactly is allowed";
  EXPECT_EQ(at_cap.Pixels().size(), TGA_Max_Pixel_Bytes);
}

// Whatever the bytes, loading ends, and a picture that loads has exactly the
// size its header gives. Run under AddressSanitizer to see a stray access.
TEST(TTGAImage, Survives_Random_And_Mutated_Files) {
  std::mt19937 random(20240611);
  auto byte = [&] { return static_cast<uint8_t>(random()); };
  std::vector<Bytes> seeds = {
      Tga({}, Concat({A, B, C, D})),
      Tga({.Type = 10, .Descriptor = 0x30}, Concat({{0x82}, A, {0x00}, D})),
      Tga({.Type = 10, .Width = 7, .Height = 5, .Depth = 24}, {0x8F, 1, 2, 3, 0x05, 1, 2, 3, 4, 5, 6}),
      Tga({.Type = 11, .Width = 9, .Height = 3, .Depth = 8, .Descriptor = 0x10}, {0x85, 7, 0x02, 1, 2, 3}),
      Tga({.Width = 1, .Height = 1, .Id_Length = 2, .Map_Type = 1, .Map_Length = 3, .Map_Entry_Bits = 16},
          Concat({{1, 2}, {1, 1, 2, 2, 3, 3}, A})),
  };
  auto check = [](const Bytes& file) {
    TTGAImage image;
    if (image.LoadFromStream(file)) {
      const auto& h = image.Header;
      ASSERT_EQ(image.Pixels().size(), size_t{h.Width} * h.Height * (h.Pixel_Depth / 8));
    } else {
      ASSERT_TRUE(image.Pixels().empty());
    }
  };
  for (int i = 0; i < 30000; ++i) {
    Bytes file = seeds[static_cast<size_t>(i) % seeds.size()];
    // Change, insert or cut a few bytes; keep the width and height small
    // most of the time so the pictures stay small and the loop quick.
    for (int m = 0, n = 1 + static_cast<int>(random() % 4); m < n; ++m) {
      switch (random() % 4) {
        case 0: file[random() % file.size()] = byte(); break;
        case 1: file.insert(file.begin() + static_cast<long>(random() % file.size()), byte()); break;
        case 2: file.resize(random() % (file.size() + 1)); break;
        case 3:
          if (file.size() > 17) file[2] = static_cast<uint8_t>(random() % 12); // image type
          break;
      }
      if (file.empty()) file.push_back(byte());
    }
    if (file.size() > 15 && random() % 8 != 0) {
      file[13] = 0; // width and height below 256
      file[15] = 0;
    }
    check(file);
  }
  for (int i = 0; i < 3000; ++i) {
    Bytes file(random() % 80);
    for (auto& b : file) b = byte();
    check(file);
  }
}

} // namespace
