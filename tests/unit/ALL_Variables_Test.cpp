// Tests of the shared record: Reset_All_Variables brings back the initial
// values that the rest of the program (and every other test) relies on.
#include "glowsaver/host/ALL_Variables.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <set>
#include <string>
#include <type_traits>
#include <vector>

namespace {

// One field: how to spoil it, and the check that it holds its initial value.
struct Field_Case {
  std::string Name;
  std::function<void(All_Variables&)> Spoil;
  std::function<void(const All_Variables&)> Expect_Initial;
};

template <typename T>
Field_Case Field(std::string name, T All_Variables::*member, std::type_identity_t<T> initial,
                 std::type_identity_t<T> spoiled) {
  return {name, [=](All_Variables& a) { a.*member = spoiled; },
          [=](const All_Variables& a) { EXPECT_EQ(a.*member, initial) << name; }};
}

// Values that are easy to get wrong: non-zero starts, true flags, odd floats.
std::vector<Field_Case> Tricky_Fields() {
  using A = All_Variables;
  return {
      Field("Key_Event", &A::Key_Event, True32, False32),
      Field("Current_FPS", &A::Current_FPS, 1, 60),
      Field("Frames_Counted", &A::Frames_Counted, 1, 0),
      Field("Tunnel_Tinted", &A::Tunnel_Tinted, True32, False32),
      Field("V_Coord", &A::V_Coord, 0.8f, 1.0f),
      Field("Style_Morph", &A::Style_Morph, 1.15f, 0.0f),
      Field("Help_Panel_X", &A::Help_Panel_X, 3.7f, 0.0f),
      Field("Skins_Quantity", &A::Skins_Quantity, 99, 3),
      Field("Gamma_Factor", &A::Gamma_Factor, 1.0, 1.95),
      Field("Volume_Level", &A::Volume_Level, 50, 0),
      Field("StarBurst_Frames_Count", &A::StarBurst_Frames_Count, 9, 1),
      Field("Current_UFO_Model", &A::Current_UFO_Model, 1, 4),
      Field("Reverb_Level", &A::Reverb_Level, 20, 0),
      Field("Progress_Step", &A::Progress_Step, 1, 14),
      Field("Flash_Temp_File", &A::Flash_Temp_File, "Wish916.PQ17", "/tmp/Wish916.PQ17"),
      Field("Last_Skin_Of_Pack", &A::Last_Skin_Of_Pack, {{17, 34, 51, 68, 85, 99}},
            {{17, 34, 51, 68, 85, 87}}),
      Field("Random_Seed", &A::Random_Seed, 0, 12345),
  };
}

class ALL_Variables_Reset : public ::testing::Test {
 protected:
  void TearDown() override { Reset_All_Variables(); }
};

TEST_F(ALL_Variables_Reset, Restores_Initial_Values_Of_Changed_Fields) {
  const auto cases = Tricky_Fields();
  for (const auto& c : cases) c.Spoil(All);
  All.Keys[27] = True32;
  All.Keys[255] = True32;
  All.Skin_Bitmaps[149] = std::make_unique<Pixel_Picture>();
  All.Wallpaper_Bitmap = std::make_unique<Pixel_Picture>();

  Reset_All_Variables();

  for (const auto& c : cases) c.Expect_Initial(All);
  EXPECT_TRUE(std::all_of(All.Keys.begin(), All.Keys.end(), [](bool32 k) { return k == False32; }));
  EXPECT_EQ(All.Skin_Bitmaps[149], nullptr);
  EXPECT_EQ(All.Wallpaper_Bitmap, nullptr);
}

TEST(ALL_Variables_Initial, True_Flags_Hold_Exactly_Minus_One) {
  using A = All_Variables;
  const All_Variables fresh;
  const std::vector<std::pair<const char*, bool32 A::*>> true_flags = {
      {"Key_Event", &A::Key_Event},
      {"Morph_Rotate", &A::Morph_Rotate},
      {"Auto_Skin_Change", &A::Auto_Skin_Change},
      {"Auto_Drift_Armed", &A::Auto_Drift_Armed},
      {"Tunnel_Tinted", &A::Tunnel_Tinted},
      {"Draw_Style1_A", &A::Draw_Style1_A},
      {"Skin_Blend_Idle", &A::Skin_Blend_Idle},
      {"Style_Blend_Idle", &A::Style_Blend_Idle},
      {"Help_Key_Ready", &A::Help_Key_Ready},
      {"Time_Key_Ready", &A::Time_Key_Ready},
      {"FPS_Key_Ready", &A::FPS_Key_Ready},
      {"Tunnel_Start_Morphing", &A::Tunnel_Start_Morphing},
      {"Show_Alien_Objects", &A::Show_Alien_Objects},
      {"Use_Presets_Cycle", &A::Use_Presets_Cycle},
      {"Use_Extra_Layer", &A::Use_Extra_Layer},
      {"Random_Velocities", &A::Random_Velocities},
      {"Keyboard_Control", &A::Keyboard_Control},
      {"Use_Random_Skins", &A::Use_Random_Skins},
      {"Show_Time_Overlay", &A::Show_Time_Overlay},
      {"Clock_24h", &A::Clock_24h},
      {"Skins_Change_Randomly", &A::Skins_Change_Randomly},
      {"Exit_Hover", &A::Exit_Hover},
      {"Autoplay_In_Settings", &A::Autoplay_In_Settings},
  };
  for (const auto& [name, flag] : true_flags) EXPECT_EQ(fresh.*flag, -1) << name;
}

// The pack scan matches file names exactly, so the known rows must be distinct
// and carry the pack file extension.
TEST(ALL_Variables_Initial, Known_Packs_Are_Ten_Distinct_Named_Rows) {
  const All_Variables fresh;
  const std::set<std::string> files(fresh.Known_Pack_Files.begin(), fresh.Known_Pack_Files.end());
  const std::set<std::string> titles(fresh.Known_Pack_Titles.begin(), fresh.Known_Pack_Titles.end());
  EXPECT_EQ(files.size(), 10u);
  EXPECT_EQ(titles.size(), 10u);
  for (size_t i = 0; i < 10; ++i) {
    const std::string& file = fresh.Known_Pack_Files[i];
    const std::string& title = fresh.Known_Pack_Titles[i];
    EXPECT_TRUE(file.ends_with(" 3D.dtexx")) << file;
    EXPECT_TRUE(title.ends_with(" Textures")) << title;
    // Row i's title names the same pack as row i's file.
    EXPECT_EQ(file.substr(0, file.size() - 9), title.substr(0, title.size() - 9)) << i;
  }
  EXPECT_EQ(fresh.Known_Pack_Sizes, (std::array<int32_t, 10>{{9, 9, 8, 10, 8, 9, 8, 9, 7, 12}}));
}

} // namespace
