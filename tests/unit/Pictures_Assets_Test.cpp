// Pictures_Assets: the generated resource library holds every picture the
// asset loader asks for, each decodable by the platform's JPEG reader at the
// size the scene expects; the star bursts leave black at their edges for
// additive blending; the font strip is a 32-bit TGA of 66 square cells the
// right way up; the logo is a 24-bit BMP; the two morph shapes parse in the
// shape-file format within the loader's limits.
#include "platform/Bmp_File.h"
#include "platform/Jpeg_Decoder.h"
#include "platform/Resource_Module.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

namespace {

std::unique_ptr<Resource_Module> Open_Library() {
  const char* tree = std::getenv("GLOWSAVER_TREE");
  if (tree == nullptr) return nullptr;
  std::string error;
  auto module = Resource_Module::Open(std::string(tree) + "/Plugins/ServiceFullSet.bioTarvik", &error);
  if (module == nullptr) ADD_FAILURE() << error;
  return module;
}

std::string Two_Digits(int n) {
  char text[8];
  std::snprintf(text, sizeof text, "%02d", n);
  return text;
}

struct Jpeg_Case {
  std::string Name;
  int32_t Width, Height;
};

std::vector<Jpeg_Case> Expected_Jpegs() {
  std::vector<Jpeg_Case> cases;
  for (int n = 1; n <= 46; ++n) cases.push_back({"Starburst_" + Two_Digits(n), 256, 256});
  for (int n = 1; n <= 20; ++n) cases.push_back({"BlobPlasmaTex_" + Two_Digits(n), n <= 12 ? 256 : 128, n <= 12 ? 256 : 128});
  for (int n = 1; n <= 5; ++n) cases.push_back({"ufo_texx_0" + std::to_string(n), 256, 256});
  cases.push_back({"BCKGRND", 512, 512});
  cases.push_back({"Help_Panel", 512, 512});
  cases.push_back({"Alien_Loader", 1024, 768});
  cases.push_back({"Tarvik_Label", 300, 60});
  cases.push_back({"Logo_old_Tarvik", 256, 256});
  cases.push_back({"Flash_EYE_with_Magica", 256, 256});
  return cases;
}

class Pictures_Assets : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_NE(std::getenv("GLOWSAVER_TREE"), nullptr) << "GLOWSAVER_TREE must name the built install tree";
    Library_ = Open_Library();
    ASSERT_NE(Library_, nullptr);
  }
  std::vector<uint8_t> Read(const char* type, const std::string& name) {
    const auto bytes = Library_->Read(type, name);
    if (!bytes) {
      ADD_FAILURE() << type << "/" << name << " is missing";
      return {};
    }
    return *bytes;
  }
  std::unique_ptr<Resource_Module> Library_;
};

TEST_F(Pictures_Assets, Every_Picture_Decodes_At_Its_Size) {
  for (const Jpeg_Case& c : Expected_Jpegs()) {
    SCOPED_TRACE(c.Name);
    const std::vector<uint8_t> bytes = Read("JPEG", c.Name);
    std::string error;
    const auto picture = Decode_Jpeg(bytes, &error);
    ASSERT_TRUE(picture.has_value()) << error;
    EXPECT_EQ(picture->Width, c.Width);
    EXPECT_EQ(picture->Height, c.Height);
  }
}

// Drawn additively on a rotating square, a burst must be black at and near
// its border (or the square shows) and bright in its middle.
TEST_F(Pictures_Assets, Star_Bursts_Are_Bright_Inside_And_Black_At_The_Edge) {
  constexpr int Border_Band = 4;    // pixels along each edge that must be black
  constexpr int Black_At_Most = 8;  // JPEG ringing allowed on black, per channel
  for (int n = 1; n <= 46; ++n) {
    SCOPED_TRACE("Starburst_" + Two_Digits(n));
    const auto picture = Decode_Jpeg(Read("JPEG", "Starburst_" + Two_Digits(n)));
    ASSERT_TRUE(picture.has_value());
    int brightest_edge = 0;
    for (int y = 0; y < picture->Height; ++y) {
      for (int x = 0; x < picture->Width; ++x) {
        const bool edge = x < Border_Band || y < Border_Band || x >= picture->Width - Border_Band ||
                          y >= picture->Height - Border_Band;
        if (!edge) continue;
        const uint8_t* p = &picture->Pixels[static_cast<size_t>(y * picture->Row_Bytes() + x * 3)];
        brightest_edge = std::max({brightest_edge, int{p[0]}, int{p[1]}, int{p[2]}});
      }
    }
    EXPECT_LE(brightest_edge, Black_At_Most);
    const uint8_t* centre = &picture->Pixels[static_cast<size_t>(128 * picture->Row_Bytes() + 128 * 3)];
    EXPECT_GE(std::max({centre[0], centre[1], centre[2]}), 200);
  }
}

// The text drawing addresses cell k = code - 32 of 66 equal cells across the
// strip and draws it as a square, t = 0 at the strip's bottom.
TEST_F(Pictures_Assets, Font_Strip_Is_A_32_Bit_Tga_Of_66_Square_Upright_Cells) {
  const std::vector<uint8_t> tga = Read("TGA", "FONTLINES");
  ASSERT_GE(tga.size(), 18u);
  const auto u16 = [&](size_t at) { return static_cast<int>(tga[at] | (tga[at + 1] << 8)); };
  const int width = u16(12), height = u16(14);
  EXPECT_EQ(tga[1], 0) << "no colour map";
  EXPECT_EQ(tga[2], 2) << "uncompressed true colour";
  EXPECT_EQ(tga[16], 32) << "bits per pixel";
  EXPECT_EQ(tga[17] & 0x0F, 8) << "alpha bits";
  EXPECT_EQ(tga[17] & 0x30, 0) << "rows bottom-up, left to right";
  ASSERT_GT(height, 0);
  ASSERT_EQ(width, 66 * height) << "66 square cells";
  const size_t pixels_at = 18u + tga[0];
  ASSERT_EQ(tga.size(), pixels_at + static_cast<size_t>(width) * static_cast<size_t>(height) * 4u);

  const int cell = height;
  // Alpha of cell k at (x, row) with row 0 the bottom row.
  const auto alpha = [&](int k, int x, int row) {
    return tga[pixels_at + (static_cast<size_t>(row) * static_cast<size_t>(width) + static_cast<size_t>(k * cell + x)) * 4u + 3u];
  };
  const auto opaque_rows = [&](int k, int first_row, int last_row) {
    int count = 0;
    for (int row = first_row; row <= last_row; ++row) {
      for (int x = 0; x < cell; ++x) count += alpha(k, x, row) > 230 ? 1 : 0;
    }
    return count;
  };
  int partial = 0;
  for (int k = 0; k < 66; ++k) {
    SCOPED_TRACE("cell for character code " + std::to_string(32 + k));
    for (int row = 0; row < cell; ++row) {
      EXPECT_EQ(alpha(k, 0, row), 0) << "glyph touches the left side of its cell";
      EXPECT_EQ(alpha(k, cell - 1, row), 0) << "glyph touches the right side of its cell";
      for (int x = 0; x < cell; ++x) partial += (alpha(k, x, row) > 0 && alpha(k, x, row) < 255) ? 1 : 0;
    }
    const int ink = opaque_rows(k, 0, cell - 1);
    if (k == 0) {
      EXPECT_EQ(ink, 0) << "the blank is empty";
    } else {
      // Every glyph keeps strokes solid enough for the drawing's alpha test (> 0.9).
      EXPECT_GT(ink, cell) << "no solid glyph";
    }
  }
  EXPECT_GT(partial, 0) << "edges have coverage, not a hard cut";
  // Upright: the underscore sits in the lower half, the caret in the upper.
  const int underscore = '_' - 32, caret = '^' - 32;
  EXPECT_GT(opaque_rows(underscore, 0, cell / 2 - 1), 0);
  EXPECT_EQ(opaque_rows(underscore, cell / 2, cell - 1), 0);
  EXPECT_GT(opaque_rows(caret, cell / 2, cell - 1), 0);
  EXPECT_EQ(opaque_rows(caret, 0, cell / 2 - 1), 0);
}

TEST_F(Pictures_Assets, Logo_Is_A_24_Bit_Uncompressed_Bmp) {
  const std::vector<uint8_t> bytes = Read("BITMAP", "LogoTarvik");
  ASSERT_GE(bytes.size(), 54u);
  EXPECT_EQ(bytes[0], 'B');
  EXPECT_EQ(bytes[1], 'M');
  EXPECT_EQ(bytes[28] | (bytes[29] << 8), 24) << "bits per pixel";
  EXPECT_EQ(bytes[30] | (bytes[31] << 8) | (bytes[32] << 16) | (bytes[33] << 24), 0) << "no compression";
  std::string error;
  const auto picture = Bmp_Decode(std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()), &error);
  ASSERT_TRUE(picture.has_value()) << error;
  EXPECT_EQ(picture->Bits_Per_Pixel, 24);
  EXPECT_GT(picture->Width, 0);
  EXPECT_GT(picture->Height, 0);
}

// Reads a shape file the way the cloud's loader does: empty lines and lines
// starting with "/" are skipped, the next line is the count, then 3 x count
// reals separated by any white space.
struct Shape {
  int Count = 0;
  std::vector<double> Coordinates;
  bool Trailing_Text = false;
};
Shape Parse_Shape(const std::vector<uint8_t>& bytes) {
  std::istringstream in(std::string(bytes.begin(), bytes.end()));
  Shape shape;
  std::string line;
  while (std::getline(in, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.empty() || line[0] == '/') continue;
    shape.Count = std::atoi(line.c_str());
    break;
  }
  double value = 0.0;
  for (int i = 0; i < 3 * shape.Count && in >> value; ++i) shape.Coordinates.push_back(value);
  std::string rest;
  shape.Trailing_Text = static_cast<bool>(in >> rest);
  return shape;
}

TEST_F(Pictures_Assets, Morph_Shapes_Parse_Within_The_Loaders_Limits) {
  constexpr int Most_Points = 901;          // the random cloud's size
  constexpr double Cloud_Reach = 7.0;       // the random cloud spans -7..7
  Shape shapes[2];
  const char* names[2] = {"txt_001", "txt_002"};
  for (int s = 0; s < 2; ++s) {
    SCOPED_TRACE(names[s]);
    shapes[s] = Parse_Shape(Read("TXT_DATA", names[s]));
    const Shape& shape = shapes[s];
    EXPECT_GT(shape.Count, 0);
    EXPECT_LE(shape.Count, Most_Points);
    ASSERT_EQ(shape.Coordinates.size(), static_cast<size_t>(3 * shape.Count)) << "fewer numbers than announced";
    EXPECT_FALSE(shape.Trailing_Text);
    double low[3] = {1e9, 1e9, 1e9}, high[3] = {-1e9, -1e9, -1e9};
    for (size_t i = 0; i < shape.Coordinates.size(); ++i) {
      const double v = shape.Coordinates[i];
      ASSERT_TRUE(std::isfinite(v));
      EXPECT_LE(std::fabs(v), Cloud_Reach);
      low[i % 3] = std::min(low[i % 3], v);
      high[i % 3] = std::max(high[i % 3], v);
    }
    for (int axis = 0; axis < 3; ++axis) EXPECT_GT(high[axis] - low[axis], 0.5) << "flat along axis " << axis;
  }
  // Every loop of the cloud runs over the first shape's count.
  EXPECT_GE(shapes[1].Count, shapes[0].Count);
}

} // namespace
