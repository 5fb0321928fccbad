// The asset loader's slot rules on the generated resource library: which
// skins a full-screen run loads from the built-in packs, the custom folder and
// the add-on packs, and the scan of installed packs.
#include "glowsaver/host/ALL_Variables.h"
#include "glowsaver/host/Host_State.h"
#include "glowsaver/host/Launch_Unit.h"
#include "glowsaver/scene/TexturesUnit.h"
#include "platform/Bmp_File.h"
#include "platform/Platform_Display.h"
#include "platform/Platform_Files.h"
#include "platform/Resource_Module.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>

namespace fs = std::filesystem;

namespace {

class Asset_Loading : public ::testing::Test {
 protected:
  std::string Folder;
  void SetUp() override {
    Desktop_Use(std::make_unique<Null_Display>());
    Reset_All_Variables();
    Host = Host_State{};
    const char* tree = std::getenv("GLOWSAVER_TREE");
    ASSERT_NE(tree, nullptr);
    std::string error;
    Host.Resource_Library = Resource_Module::Open(std::string(tree) + "/Plugins/ServiceFullSet.bioTarvik", &error);
    ASSERT_TRUE(Host.Resource_Library) << error;
    char name[] = "/tmp/glowsaver-assets-XXXXXX";
    Folder = mkdtemp(name);
    All.Install_Folder = Folder + "/";
    All.Plugins_Folder = All.Install_Folder + "Plugins/";
    All.Custom_Folder = All.Install_Folder + "Custom/";
    All.Run_Mode_Fullscreen = True32;
  }
  void TearDown() override {
    Loaded_Scene_Pictures() = Scene_Pictures{};
    Host = Host_State{};
    Reset_All_Variables();
    fs::remove_all(Folder);
    Remove_Process_Temp_Folder();
    Desktop_Use(nullptr);
  }
  int Loaded_Skins() const {
    int n = 0;
    while (n < static_cast<int>(All.Skin_Bitmaps.size()) && All.Skin_Bitmaps[n]) ++n;
    return n;
  }
};

TEST_F(Asset_Loading, Built_In_Packs_Load_Their_Skins_By_The_Slot_Rules) {
  struct Case {
    const char* Name;
    int Pack, Quantity_Before, Quantity_After;
  } cases[] = {
      {"pack 1, quantity 16: 17 skins plus the copy of skin 1", 1, 16, 18},
      {"pack 1, quantity 15: 15 skins plus the copy", 1, 15, 16},
      {"pack 6 holds 14 skins", 6, 99, 14},
      {"pack 3, quantity 5", 3, 5, 5},
  };
  for (const auto& c : cases) {
    TearDown();
    SetUp();
    All.Current_Skins_Pack = c.Pack;
    All.Skins_Quantity = c.Quantity_Before;
    ASSERT_TRUE(Load_Assets()) << c.Name;
    EXPECT_EQ(All.Skins_Quantity, c.Quantity_After) << c.Name;
    EXPECT_EQ(Loaded_Skins(), c.Quantity_After) << c.Name;
    for (int i = 0; i < All.Skins_Quantity; ++i) {
      EXPECT_EQ(All.Skin_Bitmaps[i]->Bits_Per_Pixel, 32) << c.Name << " skin " << i;
      EXPECT_EQ(All.Skin_Widths[i], All.Skin_Bitmaps[i]->Width) << c.Name;
    }
  }
}

TEST_F(Asset_Loading, Pack_1_Leaves_Skin_1_Untiled_And_Tiles_Its_Copy) {
  All.Current_Skins_Pack = 1;
  All.Skins_Quantity = 3;
  ASSERT_TRUE(Load_Assets());
  ASSERT_EQ(All.Skins_Quantity, 4);
  const Pixel_Picture& first = *All.Skin_Bitmaps[0];
  const Pixel_Picture& copy = *All.Skin_Bitmaps[3];
  EXPECT_EQ(copy.Width, 2 * first.Width) << "the copy of picture 01 is mirror-tiled";
  EXPECT_EQ(All.Skin_Bitmaps[1]->Width, 2 * first.Width);
  // The copy's top-left quadrant is picture 01 itself.
  EXPECT_EQ(0, std::memcmp(copy.Pixels.data(), first.Pixels.data(), first.Row_Bytes()));
}

TEST_F(Asset_Loading, Without_Random_Skins_Only_The_Start_Skin_Is_Loaded_And_Tiled) {
  All.Use_Random_Skins = False32;
  All.Start_Skin_Number = 40;
  ASSERT_TRUE(Load_Assets());
  EXPECT_EQ(All.Skins_Quantity, 1);
  EXPECT_EQ(Loaded_Skins(), 1);
  EXPECT_EQ(All.Progress_Step, 14);
  EXPECT_EQ(All.Skin_Widths[0], 512) << "a 256 x 256 skin, mirror-tiled";
}

TEST_F(Asset_Loading, A_Custom_Folder_Of_Three_Pictures_Gives_Three_Skins) {
  All.Use_Custom_JPEG = True32;
  All.Skins_Quantity = 10;
  fs::create_directories(All.Custom_Folder);
  Pixel_Picture p;
  p.Width = 8;
  p.Height = 4;
  p.Pixels.assign(8 * 4 * 3, 77);
  auto bmp = Bmp_Encode(p);
  for (const char* name : {"b.bmp", "a.BMP", "c.bmp"})
    std::ofstream(All.Custom_Folder + name, std::ios::binary).write(reinterpret_cast<const char*>(bmp.data()), bmp.size());
  std::ofstream(All.Custom_Folder + "notes.txt") << "not a picture";
  ASSERT_TRUE(Load_Assets());
  EXPECT_EQ(All.Skins_Quantity, 3);
  EXPECT_EQ(Loaded_Skins(), 3);
  EXPECT_EQ(All.Progress_Step, 100 / 4);
  EXPECT_EQ(All.Skin_Widths[0], 16) << "custom skins are mirror-tiled with random skins on (from skin 1)";
}

TEST_F(Asset_Loading, The_Scan_Knows_Packs_By_Their_Exact_Names_Only) {
  fs::create_directories(All.Plugins_Folder);
  const std::string known = All.Known_Pack_Files[1];
  std::string other_case = known;
  other_case[0] = static_cast<char>(std::tolower(other_case[0]));
  for (const std::string& name : {known, other_case, std::string("Someone Else 3D.dtexx")})
    std::ofstream(All.Plugins_Folder + name) << "x";
  EXPECT_TRUE(Scan_Skin_Packs());
  EXPECT_EQ(All.Skin_Packs_Installed, 1);
  EXPECT_EQ(All.Skin_Packs_Count, 1);
  EXPECT_EQ(All.Installed_Pack_Files[0], known);
  EXPECT_EQ(All.Installed_Pack_Sizes[0], All.Known_Pack_Sizes[1]);
  EXPECT_EQ(All.Skin_Pack_Files[0], known);
}

TEST_F(Asset_Loading, Add_On_Packs_Are_Fitted_To_384) {
  const char* tree = std::getenv("GLOWSAVER_TREE");
  fs::create_directories(All.Plugins_Folder);
  int row = -1;
  for (int k = 0; k < 10; ++k)
    if (fs::exists(std::string(tree) + "/Plugins/" + All.Known_Pack_Files[k])) {
      row = k;
      fs::copy_file(std::string(tree) + "/Plugins/" + All.Known_Pack_Files[k], All.Plugins_Folder + All.Known_Pack_Files[k]);
      break;
    }
  ASSERT_GE(row, 0) << "the generator writes add-on packs";
  ASSERT_TRUE(Scan_Skin_Packs());
  All.Skin_Packs_Found = True32;
  All.Skin_Packs_Selected = True32;
  All.Use_Random_Skins = False32;
  ASSERT_TRUE(Load_Assets());
  EXPECT_EQ(All.Skins_Quantity, All.Known_Pack_Sizes[row]);
  EXPECT_EQ(All.Progress_Step, 1);
  for (int i = 0; i < All.Skins_Quantity; ++i) {
    EXPECT_LE(All.Skin_Widths[i], 384);
    EXPECT_LE(All.Skin_Heights[i], 384);
  }
}

TEST_F(Asset_Loading, Preview_Loads_One_Skin_And_Fits_The_Small_Pictures) {
  All.Run_Mode_Fullscreen = False32;
  All.Run_Mode_Preview = True32;
  ASSERT_TRUE(Load_Assets());
  EXPECT_EQ(All.Skins_Quantity, 1);
  EXPECT_EQ(Loaded_Skins(), 1);
  Scene_Pictures& p = Loaded_Scene_Pictures();
  EXPECT_FALSE(p.Background) << "no background outside full screen";
  ASSERT_TRUE(p.Blobs[0]);
  EXPECT_LE(p.Blobs[0]->Width, 128);
  EXPECT_FALSE(p.Blobs[1]);
  ASSERT_TRUE(p.StarBurst);
  EXPECT_LE(p.StarBurst->Width, 256);
  EXPECT_EQ(All.StarBurst_Frame, 1);
  EXPECT_TRUE(File_Exists(Shape_File_Path(1)));
  EXPECT_TRUE(File_Exists(Shape_File_Path(2)));
}

} // namespace
