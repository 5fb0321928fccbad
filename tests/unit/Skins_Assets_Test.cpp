// Skins_Assets: the generated tunnel skins as the launch form loads them.
// The resource library holds "Texx_01".."Texx_99", each a JPEG of 256 x 256
// that the platform's reader decodes, with contrast, and without the pure
// white pixel at (w - 2, 1) that would stop the program from mirror-tiling
// it; skin 01, which one case shows untiled, repeats without a seam. Exactly
// two of the known add-on packs are made, each a module holding "Texx_01" up
// to its texture count. Two runs of the generator write identical bytes.
#include "glowsaver/host/ALL_Variables.h"
#include "platform/Jpeg_Decoder.h"
#include "platform/Resource_Module.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <optional>
#include <string>
#include <vector>

extern char** environ;

namespace {

namespace fs = std::filesystem;

fs::path Tree() {
  const char* tree = std::getenv("GLOWSAVER_TREE");
  return tree == nullptr ? fs::path() : fs::path(tree);
}

std::string Skin_Name(int number) {
  char text[24];
  std::snprintf(text, sizeof text, "Texx_%02d", number);
  return text;
}

// Pixel (x, y) of a 24-bit picture as red, green, blue.
struct Rgb_Pixel {
  int R, G, B;
};
Rgb_Pixel Pixel_At(const Pixel_Picture& picture, int x, int y) {
  const uint8_t* p = &picture.Pixels[(static_cast<size_t>(y) * picture.Width + x) * 3];
  return {p[2], p[1], p[0]};
}

double Luma(const Rgb_Pixel& p) { return 0.299 * p.R + 0.587 * p.G + 0.114 * p.B; }

// Decodes one skin of a module; a failure is reported with the skin's name.
std::optional<Pixel_Picture> Decode_Skin(const Resource_Module& module, const std::string& name) {
  const std::optional<std::vector<uint8_t>> bytes = module.Read("JPEG", name);
  if (!bytes) {
    ADD_FAILURE() << module.Path() << ": no JPEG/" << name;
    return std::nullopt;
  }
  std::string error;
  std::optional<Pixel_Picture> picture = Decode_Jpeg(*bytes, &error, 24);
  if (!picture) ADD_FAILURE() << module.Path() << ": JPEG/" << name << " does not decode: " << error;
  return picture;
}

void Expect_Tileable(const Pixel_Picture& picture, const std::string& name) {
  const Rgb_Pixel marker = Pixel_At(picture, picture.Width - 2, 1);
  EXPECT_FALSE(marker.R == 255 && marker.G == 255 && marker.B == 255)
      << name << ": pure white at (w - 2, 1) stops the mirror tiling";
}

// Standard deviation and mean of the luma: a skin must not be one flat colour.
void Expect_Contrast(const Pixel_Picture& picture, const std::string& name) {
  double sum = 0.0, sum2 = 0.0;
  const size_t count = static_cast<size_t>(picture.Width) * picture.Height;
  for (int y = 0; y < picture.Height; ++y) {
    for (int x = 0; x < picture.Width; ++x) {
      const double l = Luma(Pixel_At(picture, x, y));
      sum += l;
      sum2 += l * l;
    }
  }
  const double mean = sum / count, spread = std::sqrt(std::max(0.0, sum2 / count - mean * mean));
  EXPECT_GT(spread, 16.0) << name << ": nearly flat (luma spread " << spread << ")";
  EXPECT_GT(mean, 15.0) << name << ": nearly black";
  EXPECT_LT(mean, 235.0) << name << ": nearly white";
}

std::vector<uint8_t> Read_File(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

TEST(Skins_Assets, Library_Holds_99_Tileable_Skins_Of_256_Pixels) {
  ASSERT_FALSE(Tree().empty()) << "GLOWSAVER_TREE is not set";
  std::string error;
  const auto library = Resource_Module::Open((Tree() / "Plugins" / "ServiceFullSet.bioTarvik").string(), &error);
  ASSERT_NE(library, nullptr) << error;
  for (int number = 1; number <= 99; ++number) {
    const std::string name = Skin_Name(number);
    const std::optional<Pixel_Picture> picture = Decode_Skin(*library, name);
    if (!picture) continue;
    EXPECT_EQ(picture->Width, 256) << name;
    EXPECT_EQ(picture->Height, 256) << name;
    if (picture->Width != 256 || picture->Height != 256) continue;
    Expect_Tileable(*picture, name);
    Expect_Contrast(*picture, name);
  }
}

// Skin 01 is shown untiled when pack 1 is loaded with random skins; the
// texture repeats, so its opposite edges must meet: the step across each
// wrap is no larger than a typical step between neighbouring columns (rows).
TEST(Skins_Assets, Skin_01_Repeats_Without_A_Seam) {
  ASSERT_FALSE(Tree().empty()) << "GLOWSAVER_TREE is not set";
  std::string error;
  const auto library = Resource_Module::Open((Tree() / "Plugins" / "ServiceFullSet.bioTarvik").string(), &error);
  ASSERT_NE(library, nullptr) << error;
  const std::optional<Pixel_Picture> picture = Decode_Skin(*library, "Texx_01");
  ASSERT_TRUE(picture.has_value());
  const int w = picture->Width, h = picture->Height;
  auto step = [&](int x0, int y0, int x1, int y1) { return std::fabs(Luma(Pixel_At(*picture, x0, y0)) - Luma(Pixel_At(*picture, x1, y1))); };
  double wrap_x = 0.0, inner_x = 0.0, wrap_y = 0.0, inner_y = 0.0;
  for (int i = 0; i < h; ++i) {
    wrap_x += step(w - 1, i, 0, i);
    for (int x = 0; x + 1 < w; ++x) inner_x += step(x, i, x + 1, i) / (w - 1);
  }
  for (int i = 0; i < w; ++i) {
    wrap_y += step(i, h - 1, i, 0);
    for (int y = 0; y + 1 < h; ++y) inner_y += step(i, y, i, y + 1) / (h - 1);
  }
  EXPECT_LE(wrap_x, 2.0 * inner_x) << "left and right edges do not meet";
  EXPECT_LE(wrap_y, 2.0 * inner_y) << "top and bottom edges do not meet";
}

// Of the ten known packs exactly two are made; each is a module of its own
// holding "Texx_01" up to its texture count, each a square tileable JPEG.
TEST(Skins_Assets, Two_Known_Add_On_Packs_Hold_Their_Texture_Counts) {
  ASSERT_FALSE(Tree().empty()) << "GLOWSAVER_TREE is not set";
  const auto known = std::make_unique<All_Variables>();
  int made = 0;
  for (size_t row = 0; row < known->Known_Pack_Files.size(); ++row) {
    const fs::path path = Tree() / "Plugins" / known->Known_Pack_Files[row];
    if (!fs::exists(path)) continue;
    ++made;
    SCOPED_TRACE(known->Known_Pack_Files[row]);
    std::string error;
    const auto pack = Resource_Module::Open(path.string(), &error);
    ASSERT_NE(pack, nullptr) << error;
    const int count = known->Known_Pack_Sizes[row];
    EXPECT_EQ(pack->Names("JPEG").size(), static_cast<size_t>(count));
    for (int number = 1; number <= count; ++number) {
      const std::string name = Skin_Name(number);
      const std::optional<Pixel_Picture> picture = Decode_Skin(*pack, name);
      if (!picture) continue;
      EXPECT_EQ(picture->Width, picture->Height) << name;
      EXPECT_TRUE(picture->Width == 384 || picture->Width == 512) << name << ": " << picture->Width << " pixels wide";
      Expect_Tileable(*picture, name);
      Expect_Contrast(*picture, name);
    }
    EXPECT_FALSE(pack->Has("JPEG", Skin_Name(count + 1))) << "more textures than the pack's count";
  }
  EXPECT_EQ(made, 2);
}

// Runs the generator into a fresh folder; returns its exit status.
int Run_Generator(const fs::path& tree) {
  const std::string program = GLOWSAVER_RESGEN_PATH;
  const std::string folder = tree.string();
  std::vector<char*> argv = {const_cast<char*>(program.c_str()), const_cast<char*>(folder.c_str()), nullptr};
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0); // the generator's summary lines
  pid_t pid = 0;
  const int spawned = posix_spawn(&pid, program.c_str(), &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  if (spawned != 0) return -1;
  int status = 0;
  if (waitpid(pid, &status, 0) != pid) return -1;
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

class Skins_Assets_Generator : public testing::Test {
 protected:
  void SetUp() override {
    std::string pattern = (fs::temp_directory_path() / "skins_assets_test.XXXXXX").string();
    ASSERT_NE(mkdtemp(pattern.data()), nullptr);
    Folder_ = pattern;
  }
  void TearDown() override {
    std::error_code ignored;
    fs::remove_all(Folder_, ignored);
  }
  fs::path Folder_;
};

TEST_F(Skins_Assets_Generator, Two_Runs_Write_Identical_Modules) {
  const fs::path first = Folder_ / "first", second = Folder_ / "second";
  ASSERT_EQ(Run_Generator(first), 0);
  ASSERT_EQ(Run_Generator(second), 0);
  std::vector<std::string> modules;
  for (const fs::directory_entry& entry : fs::directory_iterator(first / "Plugins")) modules.push_back(entry.path().filename().string());
  // the library and the two packs at least
  EXPECT_GE(modules.size(), 3u);
  for (const std::string& module : modules) {
    SCOPED_TRACE(module);
    const std::vector<uint8_t> a = Read_File(first / "Plugins" / module), b = Read_File(second / "Plugins" / module);
    EXPECT_FALSE(a.empty());
    EXPECT_TRUE(a == b) << "the two runs differ";
  }
  EXPECT_EQ(std::distance(fs::directory_iterator(second / "Plugins"), fs::directory_iterator()), static_cast<std::ptrdiff_t>(modules.size()));
}

} // namespace
