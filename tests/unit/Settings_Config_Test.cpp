// The settings file: what each run mode reads, what Save_Config writes and
// in which order, the dialog controls' behaviour when the reader sets them,
// and refused or interrupted writes.
#include "glowsaver/host/ALL_Variables.h"
#include "glowsaver/settings/Dialog_Controls.h"
#include "glowsaver/settings/Ini_File.h"
#include "glowsaver/settings/Save_and_Load_Config.h"
#include "platform/Platform_Display.h"

#include <gtest/gtest.h>

#include "Unit_Test_Support.h"

#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>

namespace {

const std::string Pack_Header = "[Current StarBurst Blob Help Tentacle and SkinsPack image interleaving section]";
const std::string Form_Header = "[Adjustment_Form_Section]";

struct Stored {
  std::string Key, Value;
};

enum class Mode { Full_Screen, Settings, Preview };

class Settings_File : public ::testing::Test {
 protected:
  Scratch_Folder Folder;
  Null_Display* Display = nullptr;

  void SetUp() override {
    auto display = std::make_unique<Null_Display>();
    Display = display.get();
    Desktop_Use(std::move(display));
    Begin(Mode::Settings);
  }
  void TearDown() override {
    Reset_All_Variables();
    Reset_Settings_Controls();
  }

  // A fresh process of the given run mode with Folder as its install folder.
  void Begin(Mode mode) {
    Reset_All_Variables();
    Reset_Settings_Controls();
    All.Install_Folder = Folder.Path + "/";
    All.Plugins_Folder = All.Install_Folder + "Plugins/";
    All.Run_Mode_Fullscreen = To_Bool32(mode == Mode::Full_Screen);
    All.Run_Mode_Settings = To_Bool32(mode == Mode::Settings);
    All.Run_Mode_Preview = To_Bool32(mode == Mode::Preview);
  }

  std::string Path() const { return Folder.Path + "/Config.navigator"; }

  // A file holding the counter and, unless `form` is empty, the form section.
  void Write_Config(const std::vector<Stored>& form, const std::string& skins_pack = "3") {
    std::string text = Pack_Header + "\r\ncurr_Skins_Pack=" + skins_pack + "\r\n";
    if (!form.empty()) text += Form_Header + "\r\n";
    for (const auto& key : form) text += key.Key + "=" + key.Value + "\r\n";
    Write_All(Path(), text);
  }

  // The Plugins scan found `n` of the known packs, and the dialog
  // listed them.
  void Install_Packs(int n) {
    for (int i = 0; i < n; ++i) {
      All.Installed_Pack_Files[i] = All.Known_Pack_Files[i];
      All.Installed_Pack_Sizes[i] = All.Known_Pack_Sizes[i];
      All.Skin_Pack_Files[i] = All.Known_Pack_Files[i];
      All.Skin_Pack_Sizes[i] = All.Known_Pack_Sizes[i];
    }
    All.Skin_Packs_Installed = n;
    All.Skin_Packs_Count = n;
    Settings_Controls().Adjustment.CheckListBox_10Textures.Count = n;
  }
};

Dialog_Controls& Dialog() { return Settings_Controls().Adjustment; }

// ---- full-screen read ----------------------------------------------------------

TEST_F(Settings_File, Full_Screen_Reads_Each_Stored_Value_The_Way_The_Show_Uses_It) {
  struct Case {
    const char* Name;
    std::vector<Stored> Keys;
    std::function<void()> Check;
  } cases[] = {
      {"WRAP and MIX both 1: Whirlpool, not Morphing",
       {{"RadioButton_MIX / Cheked or Not", "1"}, {"RadioButton_WRAP / Cheked or Not", "1"}},
       [] {
         EXPECT_EQ(All.Tunnel_Start_Whirlpool, True32);
         EXPECT_EQ(All.Tunnel_Start_Morphing, False32);
       }},
      {"RandomVelo 0 and TunVelo -20: velocity -0.2",
       {{"CheckBox_RandomVelo / Cheked or Not", "0"}, {"TrackBar_TunVelo / Position", "-20"}},
       [] {
         EXPECT_EQ(All.Random_Velocities, False32);
         EXPECT_FLOAT_EQ(All.Tunnel_Velocity, -0.2f);
       }},
      {"RandomVelo 1: the velocity is not read",
       {{"CheckBox_RandomVelo / Cheked or Not", "1"}, {"TrackBar_TunVelo / Position", "-20"}},
       [] {
         EXPECT_EQ(All.Random_Velocities, True32);
         EXPECT_FLOAT_EQ(All.Tunnel_Velocity, 0.0f);
       }},
      {"RandomVelo 2 is not 1: velocity from its default 30",
       {{"CheckBox_RandomVelo / Cheked or Not", "2"}},
       [] { EXPECT_FLOAT_EQ(All.Tunnel_Velocity, 0.3f); }},
      {"Gamma 120 with Default_Gamma 0: factor 1.56",
       {{"CheckBox_Default_Gamma / Cheked or Not", "0"}, {"TrackBar_Gamma / Position", "120"}},
       [] {
         EXPECT_EQ(All.Use_Custom_Gamma, True32);
         EXPECT_DOUBLE_EQ(All.Gamma_Factor, 1.56);
       }},
      {"Gamma 150: factor 1.95",
       {{"TrackBar_Gamma / Position", "150"}},
       [] { EXPECT_DOUBLE_EQ(All.Gamma_Factor, 1.95); }},
      {"Gamma 80: factor 0.8", {{"TrackBar_Gamma / Position", "80"}}, [] { EXPECT_DOUBLE_EQ(All.Gamma_Factor, 0.8); }},
      {"Default_Gamma 1: desktop gamma, the slider is not read",
       {{"CheckBox_Default_Gamma / Cheked or Not", "1"}, {"TrackBar_Gamma / Position", "120"}},
       [] {
         EXPECT_EQ(All.Use_Custom_Gamma, False32);
         EXPECT_DOUBLE_EQ(All.Gamma_Factor, 1.0);
       }},
      {"WatchSkins 40 with Skins_Quanto 15: start skin 15",
       {{"ComboBox_WatchSkins / ItemIndex", "40"}, {"TrackBar_Skins_Quanto / Position", "15"}},
       [] {
         EXPECT_EQ(All.Skins_Quantity, 15);
         EXPECT_EQ(All.Start_Skin_Number, 15);
       }},
      {"WatchSkins 3: start skin 4",
       {{"ComboBox_WatchSkins / ItemIndex", "3"}},
       [] { EXPECT_EQ(All.Start_Skin_Number, 4); }},
      {"bool key 2 reads true, check key 2 reads false",
       {{"CheckBox_Use_Custom_JPEG / Cheked or Not", "2"}, {"CheckBox_KeyBControl / Cheked or Not", "2"}},
       [] {
         EXPECT_EQ(All.Use_Custom_JPEG, True32);
         EXPECT_EQ(All.Keyboard_Control, False32);
       }},
      {"24h stored 0: 12-hour clock", {{"RadioButton_24h .Checked", "0"}}, [] { EXPECT_EQ(All.Clock_24h, False32); }},
      {"OneSkin 1: no timed changer, no change per cycle",
       {{"RadioButton_OneSkin / Cheked or Not", "1"}},
       [] {
         EXPECT_EQ(All.Auto_Skin_Change, False32);
         EXPECT_EQ(All.No_Skin_Change_Per_Cycle, True32);
       }},
      {"OneSkin and CycleSkin 1: CycleSkin, read later, wins the per-cycle flag",
       {{"RadioButton_OneSkin / Cheked or Not", "1"}, {"RadioButton_CycleSkin / Cheked or Not", "1"}},
       [] {
         EXPECT_EQ(All.Auto_Skin_Change, False32);
         EXPECT_EQ(All.No_Skin_Change_Per_Cycle, False32);
       }},
      {"SkinsChanging 1 and SkinChanger 40: a fixed 40000 ms",
       {{"RadioButton_SkinsChanging / Cheked or Not", "1"}, {"TrackBar_SkinChanger / Position", "40"}},
       [] {
         EXPECT_EQ(All.Skins_Change_Randomly, False32);
         EXPECT_EQ(All.Skin_Change_Interval_Ms, 40000);
       }},
      {"presets cycle off and PresetsChanger 7: 7000 ms",
       {{"CheckBox_UsePresetsCycle / Cheked or Not", "0"}, {"TrackBar_PresetsChanger / Position", "7"}},
       [] { EXPECT_EQ(All.Presets_Change_Interval_Ms, 7000); }},
      {"presets cycle on: no fixed interval",
       {{"TrackBar_PresetsChanger / Position", "7"}},
       [] { EXPECT_EQ(All.Presets_Change_Interval_Ms, 0); }},
      {"Help and FPS 1 set their overlays, DateTime 0 clears the clock",
       {{"RadioButton_Help / Cheked or Not", "1"},
        {"RadioButton_FPS / Cheked or Not", "1"},
        {"RadioButton_DateTime / Cheked or Not", "0"}},
       [] {
         EXPECT_EQ(All.Show_Help_Overlay, True32);
         EXPECT_EQ(All.Show_FPS_Overlay, True32);
         EXPECT_EQ(All.Show_Time_Overlay, False32);
       }},
      {"a custom song becomes line 4 of the song list",
       {{"Memo_of_Songs / Custom Song Path", "/music/My Song.ogg"}},
       [] {
         auto& songs = Settings_Controls().Launch.Memo_of_Songs_in_Full;
         ASSERT_EQ(songs.size(), 5u);
         EXPECT_EQ(songs[3], "Song theme4.dmt");
         EXPECT_EQ(songs[4], "/music/My Song.ogg");
       }},
      {"a stored empty song leaves four lines",
       {{"Memo_of_Songs / Custom Song Path", ""}},
       [] { EXPECT_EQ(Settings_Controls().Launch.Memo_of_Songs_in_Full.size(), 4u); }},
      {"hexadecimal levels",
       {{"TrackBar_Reverb / Position", "$1E"}, {"TrackBar_Volume / Position", "0x0A"}},
       [] {
         EXPECT_EQ(All.Reverb_Level, 30);
         EXPECT_EQ(All.Volume_Level, 10);
       }},
      {"an unparsable level takes its default",
       {{"TrackBar_Volume / Position", "loud"}},
       [] { EXPECT_EQ(All.Volume_Level, 50); }},
      {"sound values and flags",
       {{"CheckBox_NoMusic / Cheked or Not", "1"},
        {"CheckBox_Echo / Cheked or Not", "1"},
        {"ComboBox_SelectMusic / ItemIndex", "5"},
        {"TrackBar_Equalizer3 / Position", "40"}},
       [] {
         EXPECT_EQ(All.No_Music, True32);
         EXPECT_EQ(All.DSP_Echo_On, True32);
         EXPECT_EQ(All.DSP_Rotate_On, False32);
         EXPECT_EQ(All.Music_Select_Index, 5);
         EXPECT_EQ(All.Equalizer3_Level, 40);
       }},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    Begin(Mode::Full_Screen);
    Write_Config(c.Keys);
    Load_Config();
    c.Check();
  }
}

TEST_F(Settings_File, Full_Screen_Without_The_Form_Section_Takes_Every_Reader_Default) {
  Begin(Mode::Full_Screen);
  Write_Config({}, "4");
  Load_Config();
  auto& s = All;
  EXPECT_EQ(s.Current_Skins_Pack, 4);
  EXPECT_GE(s.Current_UFO_Model, 1);
  EXPECT_LE(s.Current_UFO_Model, 4);
  EXPECT_EQ(s.No_Music, False32);
  EXPECT_EQ(s.Skin_Packs_Selected, False32);
  EXPECT_EQ(s.Skin_Packs_Count, 0);
  EXPECT_EQ(s.Tunnel_Start_Morphing, True32);
  EXPECT_EQ(s.Tunnel_Start_Whirlpool, False32);
  EXPECT_EQ(s.Show_Alien_Objects, True32);
  EXPECT_EQ(s.Use_Presets_Cycle, True32);
  EXPECT_EQ(s.Use_Special_Effects, True32) << "the key's default 1, not the initial false";
  EXPECT_EQ(s.Use_Extra_Layer, True32);
  EXPECT_EQ(s.Random_Velocities, True32);
  EXPECT_EQ(s.Reverb_Level, 20);
  EXPECT_EQ(s.Volume_Level, 50);
  EXPECT_EQ(s.Equalizer1_Level, 20);
  EXPECT_EQ(s.Equalizer2_Level, 20);
  EXPECT_EQ(s.Equalizer3_Level, 20);
  EXPECT_EQ(s.Music_Select_Index, 0);
  auto& songs = Settings_Controls().Launch.Memo_of_Songs_in_Full;
  ASSERT_EQ(songs.size(), 5u);
  EXPECT_EQ(songs[4], s.Plugins_Folder + "Song theme4.dmt");
  EXPECT_EQ(s.DSP_Rotate_On | s.DSP_Echo_On | s.DSP_Flanger_On, False32);
  EXPECT_EQ(s.Exit_On_Mouse_Move, False32);
  EXPECT_EQ(s.Keyboard_Control, True32);
  EXPECT_EQ(s.Use_Random_Skins, True32);
  EXPECT_EQ(s.Wallpaper_On_Exit, False32);
  EXPECT_EQ(s.Use_Custom_JPEG, False32);
  EXPECT_EQ(s.Skins_Quantity, 99);
  EXPECT_EQ(s.Start_Skin_Number, 2) << "default item index 1, plus 1";
  EXPECT_EQ(s.Use_Custom_Gamma, True32) << "default 0 is not 1";
  EXPECT_DOUBLE_EQ(s.Gamma_Factor, 1.0);
  EXPECT_EQ(s.Show_Help_Overlay, False32);
  EXPECT_EQ(s.Show_FPS_Overlay, False32);
  EXPECT_EQ(s.Show_Time_Overlay, True32);
  EXPECT_EQ(s.Clock_24h, True32);
  EXPECT_EQ(s.Skins_Change_Randomly, True32);
  EXPECT_EQ(s.No_Skin_Change_Per_Cycle, False32);
  EXPECT_EQ(s.Auto_Skin_Change, True32);
  EXPECT_EQ(s.Skin_Change_Interval_Ms, 0);
  EXPECT_EQ(s.Presets_Change_Interval_Ms, 0);
}

TEST_F(Settings_File, Full_Screen_Takes_The_Stored_Packs_In_Key_Order_And_Ignores_Packs_Not_Installed) {
  Begin(Mode::Full_Screen);
  Install_Packs(3);
  Write_Config({{"CheckListBox_10Textures / This Checked Items [ 0 ] ordinal number", "2"},
                {"CheckListBox_10Textures / This Checked Items [ 1 ] ordinal number", "0"},
                {"CheckListBox_10Textures / This Checked Items [ 3 ] ordinal number", "-1"},
                {"CheckListBox_10Textures / This Checked Items [ 5 ] ordinal number", "7"},
                {"TrackBar_Skins_Quanto / Position", "5"}});
  Load_Config();
  EXPECT_EQ(All.Skin_Packs_Selected, True32);
  ASSERT_EQ(All.Skin_Packs_Count, 2);
  EXPECT_EQ(All.Skin_Pack_Files[0], All.Known_Pack_Files[2]);
  EXPECT_EQ(All.Skin_Pack_Sizes[0], All.Known_Pack_Sizes[2]);
  EXPECT_EQ(All.Skin_Pack_Files[1], All.Known_Pack_Files[0]);
  EXPECT_EQ(All.Skins_Quantity, 99) << "with packs chosen the skins slider is not read";

  Begin(Mode::Full_Screen);
  Install_Packs(3);
  Write_Config({{"CheckBox_NoMusic / Cheked or Not", "0"}});
  Load_Config();
  EXPECT_EQ(All.Skin_Packs_Count, 0) << "no pack key: the scan's list is not used";
  EXPECT_EQ(All.Skin_Packs_Selected, False32);
}

TEST_F(Settings_File, Sections_And_Keys_Match_Without_Case_And_Writes_Keep_The_File_Spelling) {
  Begin(Mode::Full_Screen);
  Write_All(Path(),
            "[CURRENT STARBURST BLOB HELP TENTACLE AND SKINSPACK IMAGE INTERLEAVING SECTION]\r\n"
            "CURR_SKINS_PACK=3\r\n"
            "[adjustment_form_section]\r\n"
            "checkbox_randomvelo / cheked or not=0\r\n"
            "TRACKBAR_TUNVELO / POSITION=-20\r\n");
  Load_Config();
  EXPECT_EQ(All.Current_Skins_Pack, 3);
  EXPECT_FLOAT_EQ(All.Tunnel_Velocity, -0.2f);
  Save_Config();
  EXPECT_EQ(Read_All(Path()),
            "[CURRENT STARBURST BLOB HELP TENTACLE AND SKINSPACK IMAGE INTERLEAVING SECTION]\r\n"
            "CURR_SKINS_PACK=4\r\n"
            "[adjustment_form_section]\r\n"
            "checkbox_randomvelo / cheked or not=0\r\n"
            "TRACKBAR_TUNVELO / POSITION=-20\r\n");
}

// ---- the counter and the run's end ------------------------------------------------

TEST_F(Settings_File, A_Saver_Run_Moves_The_Skins_Pack_From_6_To_1_And_Writes_Nothing_Else) {
  Begin(Mode::Full_Screen);
  Write_All(Path(), Pack_Header + "\r\ncurr_Skins_Pack=6\r\n");
  Load_Config();
  EXPECT_EQ(All.Current_Skins_Pack, 6);
  Save_Config();
  EXPECT_EQ(Read_All(Path()), Pack_Header + "\r\ncurr_Skins_Pack=1\r\n");
  EXPECT_TRUE(Display->Boxes.empty());
}

TEST_F(Settings_File, Restore_Empties_Both_Sections_And_The_Next_Run_Reads_Defaults_Then_Writes_1) {
  Begin(Mode::Settings);
  Save_Config();  // Apply: a complete file
  ASSERT_NE(Read_All(Path()).find(Form_Header), std::string::npos);
  Erase_Config_Sections();  // Restore, then Cancel
  EXPECT_EQ(Read_All(Path()), "");

  Begin(Mode::Full_Screen);
  Load_Config();
  EXPECT_EQ(All.Current_Skins_Pack, 6);
  EXPECT_EQ(All.Use_Special_Effects, True32);
  EXPECT_EQ(All.Start_Skin_Number, 2);
  Save_Config();
  EXPECT_EQ(Read_All(Path()), Pack_Header + "\r\ncurr_Skins_Pack=1\r\n");
}

// ---- the run modes ------------------------------------------------------------------

TEST_F(Settings_File, Each_Mode_Fills_Its_Own_Side_And_A_Preview_Reads_Nothing) {
  const std::vector<Stored> keys = {{"RadioButton_WRAP / Cheked or Not", "1"},
                                    {"RadioButton_Help / Cheked or Not", "1"},
                                    {"TrackBar_TunVelo / Position", "-40"},
                                    {"CheckBox_NoMusic / Cheked or Not", "1"}};
  Begin(Mode::Full_Screen);
  Write_Config(keys, "4");
  Load_Config();
  EXPECT_EQ(All.Tunnel_Start_Whirlpool, True32);
  EXPECT_EQ(All.Show_Help_Overlay, True32);
  EXPECT_TRUE(Dialog().RadioButton_MIX.Checked) << "full screen leaves the dialog controls alone";
  EXPECT_EQ(Dialog().TrackBar_TunVelo.Position, 30);

  Begin(Mode::Settings);
  Load_Config();
  EXPECT_TRUE(Dialog().RadioButton_WRAP.Checked);
  EXPECT_TRUE(Dialog().RadioButton_Help.Checked);
  EXPECT_EQ(Dialog().TrackBar_TunVelo.Position, -40);
  EXPECT_FLOAT_EQ(All.Tunnel_Velocity, -0.4f);
  EXPECT_EQ(All.No_Music, True32);
  EXPECT_EQ(All.Tunnel_Start_Whirlpool, False32) << "the dialog read leaves the show's start values alone";
  EXPECT_EQ(All.Show_Help_Overlay, False32);

  Begin(Mode::Preview);
  Load_Config();
  EXPECT_EQ(All.Current_Skins_Pack, 1);
  EXPECT_EQ(All.Current_UFO_Model, 1);
  EXPECT_EQ(All.No_Music, False32);
  EXPECT_EQ(All.Tunnel_Start_Whirlpool, False32);
  EXPECT_EQ(Dialog().TrackBar_TunVelo.Position, 30);
}

TEST_F(Settings_File, Settings_Without_The_Form_Section_Show_Every_Reader_Default) {
  auto& d = Dialog();
  // What the user had changed before Restore.
  d.Set_Checked(d.RadioButton_WRAP, true);
  d.Set_Checked(d.RadioButton_12h, true);
  d.Set_Checked(d.RadioButton_SkinsChanging, true);
  d.Set_Checked(d.RadioButton_None, true);
  d.CheckBox_SelectALL.Enabled = false;
  Write_Config({});
  Load_Config();
  EXPECT_EQ(d.TrackBar_TunVelo.Position, 25);
  EXPECT_FLOAT_EQ(All.Tunnel_Velocity, 0.25f);
  EXPECT_EQ(d.TrackBar_SkinChanger.Position, 30);
  EXPECT_EQ(d.TrackBar_PresetsChanger.Position, 30);
  EXPECT_EQ(d.TrackBar_Gamma.Position, 100);
  EXPECT_TRUE(d.RadioButton_MIX.Checked);
  EXPECT_FALSE(d.RadioButton_WRAP.Checked);
  EXPECT_FALSE(d.RadioButton_Plasma.Checked);
  EXPECT_TRUE(d.RadioButton_DateTime.Checked);
  EXPECT_FALSE(d.RadioButton_None.Checked);
  EXPECT_TRUE(d.RadioButton_24h.Checked);
  EXPECT_FALSE(d.RadioButton_12h.Checked);
  EXPECT_TRUE(d.RadioButton_RandomSkins.Checked);
  EXPECT_FALSE(d.RadioButton_SkinsChanging.Checked);
  EXPECT_TRUE(d.CheckBox_UseRandomSkins.Checked);
  EXPECT_TRUE(d.CheckBox_Default_Gamma.Checked);
  EXPECT_EQ(d.TrackBar_Skins_Quanto.Max, 99);
  EXPECT_EQ(d.TrackBar_Skins_Quanto.Position, 99);
  EXPECT_EQ(d.Label_All.Caption, "All (99)");
  EXPECT_TRUE(d.CheckBox_SelectALL.Enabled);
  EXPECT_FALSE(d.CheckBox_SelectALL.Checked);
  EXPECT_TRUE(d.CheckBox_Use_Custom_JPEG.Enabled);
  EXPECT_EQ(All.Skins_Quantity, 99);
  EXPECT_EQ(All.Autoplay_In_Settings, True32);
}

TEST_F(Settings_File, Settings_Read_Sets_Each_Control_As_The_Dialog_Shows_It) {
  struct Case {
    const char* Name;
    std::vector<Stored> Keys;
    std::function<void()> Check;
  } cases[] = {
      {"Show_Alien_Objects stored 2 keeps the box checked",
       {{"CheckBox_Show_Alien_Objects / Cheked or Not", "2"}},
       [] { EXPECT_TRUE(Dialog().CheckBox_Show_Alien_Objects.Checked); }},
      {"Show_Alien_Objects stored 0 unchecks it",
       {{"CheckBox_Show_Alien_Objects / Cheked or Not", "0"}},
       [] { EXPECT_FALSE(Dialog().CheckBox_Show_Alien_Objects.Checked); }},
      {"special effects on show the stop button",
       {{"CheckBox_UseSpecialEffects / Cheked or Not", "1"}},
       [] {
         EXPECT_TRUE(Dialog().BitBtn_StopEffects.Visible);
         EXPECT_EQ(All.Use_Special_Effects, True32);
       }},
      {"special effects off leave the stop button hidden",
       {{"CheckBox_UseSpecialEffects / Cheked or Not", "0"}},
       [] {
         EXPECT_FALSE(Dialog().BitBtn_StopEffects.Visible);
         EXPECT_FALSE(Dialog().CheckBox_UseSpecialEffects.Checked);
         EXPECT_EQ(All.Use_Special_Effects, False32);
       }},
      {"the extra-layer key sets CheckBox_Enable_Extra_Layer and its value",
       {{"CheckBox_Use_Extra_Layer / Cheked or Not", "0"}},
       [] {
         EXPECT_FALSE(Dialog().CheckBox_Enable_Extra_Layer.Checked);
         EXPECT_EQ(All.Use_Extra_Layer, False32);
       }},
      {"presets and random velocities: box and value",
       {{"CheckBox_UsePresetsCycle / Cheked or Not", "0"}, {"CheckBox_RandomVelo / Cheked or Not", "0"}},
       [] {
         EXPECT_FALSE(Dialog().CheckBox_UsePresetsCycle.Checked);
         EXPECT_EQ(All.Use_Presets_Cycle, False32);
         EXPECT_FALSE(Dialog().CheckBox_RandomVelo.Checked);
         EXPECT_EQ(All.Random_Velocities, False32);
       }},
      {"velocity 80 pins to 50",
       {{"TrackBar_TunVelo / Position", "80"}},
       [] {
         EXPECT_EQ(Dialog().TrackBar_TunVelo.Position, 50);
         EXPECT_FLOAT_EQ(All.Tunnel_Velocity, 0.5f);
       }},
      {"gamma 200 and skin changer 1 pin to their ends",
       {{"TrackBar_Gamma / Position", "200"}, {"TrackBar_SkinChanger / Position", "1"}},
       [] {
         EXPECT_EQ(Dialog().TrackBar_Gamma.Position, 150);
         EXPECT_EQ(Dialog().TrackBar_SkinChanger.Position, 3);
       }},
      {"skins MAX 50 and position 80: slider 50 of 50, quantity as stored",
       {{"TrackBar_Skins_Quanto / MAX", "50"}, {"TrackBar_Skins_Quanto / Position", "80"}},
       [] {
         EXPECT_EQ(Dialog().TrackBar_Skins_Quanto.Max, 50);
         EXPECT_EQ(Dialog().TrackBar_Skins_Quanto.Position, 50);
         EXPECT_EQ(Dialog().Label_All.Caption, "All (50)");
         EXPECT_EQ(All.Skins_Quantity, 80);
       }},
      {"random skins off: the stored start skin item",
       {{"CheckBox_UseRandomSkins / Cheked or Not", "0"}, {"ComboBox_WatchSkins / ItemIndex", "7"}},
       [] {
         EXPECT_EQ(Dialog().ComboBox_WatchSkins.ItemIndex, 7);
         EXPECT_EQ(All.Start_Skin_Number, 8);
       }},
      {"random skins on: some item of the list",
       {{"ComboBox_WatchSkins / ItemIndex", "7"}},
       [] {
         EXPECT_GE(Dialog().ComboBox_WatchSkins.ItemIndex, 0);
         EXPECT_LT(Dialog().ComboBox_WatchSkins.ItemIndex, 99);
       }},
      {"a custom song: line 4 of the dialog's list, its file name on item 5",
       {{"Memo_of_Songs / Custom Song Path", "/home/u/music/My Song.ogg"}},
       [] {
         ASSERT_EQ(Dialog().Memo_of_Songs_in_Adj.size(), 5u);
         EXPECT_EQ(Dialog().Memo_of_Songs_in_Adj[4], "/home/u/music/My Song.ogg");
         EXPECT_EQ(Dialog().ComboBox_SelectMusic.Items[5], "My Song.ogg");
       }},
      {"no custom song: item 5 invites one",
       {},
       [] {
         EXPECT_EQ(Dialog().Memo_of_Songs_in_Adj.size(), 4u);
         EXPECT_EQ(Dialog().ComboBox_SelectMusic.Items[5], "Get Custom Song");
       }},
      {"24h stored 0: the 12h radio",
       {{"RadioButton_24h .Checked", "0"}},
       [] {
         EXPECT_FALSE(Dialog().RadioButton_24h.Checked);
         EXPECT_TRUE(Dialog().RadioButton_12h.Checked);
       }},
      {"MIX and WRAP both 1: WRAP, read last, is the checked radio",
       {{"RadioButton_MIX / Cheked or Not", "1"}, {"RadioButton_WRAP / Cheked or Not", "1"}},
       [] {
         EXPECT_TRUE(Dialog().RadioButton_WRAP.Checked);
         EXPECT_FALSE(Dialog().RadioButton_MIX.Checked);
       }},
      {"sound levels and flags go to the values, not the Sound page",
       {{"TrackBar_Reverb / Position", "5"},
        {"CheckBox_Autoplay / Cheked or Not", "2"},
        {"CheckBox_Flanger / Cheked or Not", "1"},
        {"ComboBox_SelectMusic / ItemIndex", "3"}},
       [] {
         EXPECT_EQ(All.Reverb_Level, 5);
         EXPECT_EQ(Dialog().TrackBar_Reverb.Position, 20);
         EXPECT_EQ(All.Autoplay_In_Settings, False32) << "a check key stored as 2";
         EXPECT_EQ(All.DSP_Flanger_On, True32);
         EXPECT_EQ(All.Music_Select_Index, 3);
       }},
      {"bool keys stored as 2 check their boxes",
       {{"CheckBox_SelectALL / Cheked or Not", "2"}, {"CheckBox_Use_Custom_JPEG / Cheked or Not", "2"}},
       [] {
         EXPECT_TRUE(Dialog().CheckBox_SelectALL.Checked);
         EXPECT_TRUE(Dialog().CheckBox_Use_Custom_JPEG.Checked);
       }},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    Begin(Mode::Settings);
    Dialog().BitBtn_StopEffects.Visible = false;  // as if the dialog had hidden it
    Write_Config(c.Keys);
    Load_Config();
    c.Check();
  }
}

TEST_F(Settings_File, Settings_Read_Checks_Stored_Packs_And_Ignores_Packs_Not_Installed) {
  Install_Packs(2);
  Write_Config({{"CheckListBox_10Textures / This Checked Items [ 0 ] ordinal number", "1"},
                {"CheckListBox_10Textures / This Checked Items [ 1 ] ordinal number", "5"},
                {"TrackBar_Skins_Quanto / Position", "12"}});
  Load_Config();
  const auto& list = Dialog().CheckListBox_10Textures;
  EXPECT_FALSE(list.Checked[0]);
  EXPECT_TRUE(list.Checked[1]);
  EXPECT_FALSE(list.Checked[5]);
  EXPECT_EQ(All.Skin_Packs_Selected, True32);
  EXPECT_EQ(All.Skins_Quantity, 99) << "packs chosen: the slider's position is not the quantity";
  EXPECT_EQ(Dialog().TrackBar_Skins_Quanto.Position, 12);
}

TEST_F(Settings_File, Settings_Read_Runs_A_Handler_Only_When_Its_Control_Changes) {
  auto& d = Dialog();
  std::vector<std::string> calls;
  d.CheckBox_RandomVelo.On_Click = [&] { calls.push_back(d.CheckBox_RandomVelo.Checked ? "velo on" : "velo off"); };
  d.TrackBar_TunVelo.On_Change = [&] { calls.push_back("tunvelo " + std::to_string(d.TrackBar_TunVelo.Position)); };
  d.TrackBar_Skins_Quanto.On_Change = [&] { calls.push_back("quanto"); };
  d.RadioButton_MIX.On_Click = [&] { calls.push_back("mix"); };

  Write_Config({{"CheckBox_RandomVelo / Cheked or Not", "1"}, {"TrackBar_TunVelo / Position", "30"}});
  Load_Config();  // every state as the design set it
  EXPECT_EQ(calls, (std::vector<std::string>{"quanto"})) << "the skins slider's handler runs once either way";

  calls.clear();
  Write_Config({{"CheckBox_RandomVelo / Cheked or Not", "0"},
                {"TrackBar_TunVelo / Position", "-10"},
                {"TrackBar_Skins_Quanto / Position", "20"},
                {"RadioButton_WRAP / Cheked or Not", "1"}});  // MIX read as its default 1 first
  Load_Config();
  EXPECT_EQ(calls, (std::vector<std::string>{"tunvelo -10", "velo off", "quanto"}))
      << "MIX, unchecked by its neighbour's check, runs no click";
}

// ---- writing ----------------------------------------------------------------------

TEST_F(Settings_File, Apply_Writes_Every_Control_In_Order_And_Reads_Back_The_Same) {
  Install_Packs(3);
  auto& d = Dialog();
  d.Set_Item_Checked(d.CheckListBox_10Textures, 0, true);
  d.Set_Item_Checked(d.CheckListBox_10Textures, 2, true);
  for (Check_Control* box : {&d.CheckBox_Show_Alien_Objects, &d.CheckBox_UsePresetsCycle, &d.CheckBox_UseSpecialEffects,
                             &d.CheckBox_RandomVelo, &d.CheckBox_Default_Gamma, &d.CheckBox_KeyBControl,
                             &d.CheckBox_UseRandomSkins, &d.CheckBox_Autoplay, &d.CheckBox_Enable_Extra_Layer})
    d.Set_Checked(*box, false);
  for (Check_Control* box :
       {&d.CheckBox_SelectALL, &d.CheckBox_Use_Custom_JPEG, &d.CheckBox_ExitMouse, &d.CheckBox_Wallpaper_on_exit,
        &d.CheckBox_Rotate, &d.CheckBox_Echo, &d.CheckBox_Flanger, &d.CheckBox_NoMusic, &d.RadioButton_FPS,
        &d.RadioButton_SkinsChanging, &d.RadioButton_WRAP, &d.RadioButton_12h})
    d.Set_Checked(*box, true);
  d.Set_Item_Index(d.ComboBox_WatchSkins, 41);
  d.Set_Item_Index(d.ComboBox_SelectMusic, 5);
  d.Memo_of_Songs_in_Adj.push_back("/home/u/My Song.ogg");
  d.Set_Position(d.TrackBar_TunVelo, -20);
  d.Set_Max(d.TrackBar_Skins_Quanto, 60);
  d.Set_Position(d.TrackBar_Skins_Quanto, 40);
  d.Set_Position(d.TrackBar_SkinChanger, 45);
  d.Set_Position(d.TrackBar_PresetsChanger, 100);
  d.Set_Position(d.TrackBar_Gamma, 120);
  d.Set_Position(d.TrackBar_Reverb, 7);
  d.Set_Position(d.TrackBar_Volume, 80);
  d.Set_Position(d.TrackBar_Equalizer1, 1);
  d.Set_Position(d.TrackBar_Equalizer2, 2);
  d.Set_Position(d.TrackBar_Equalizer3, 39);
  const Dialog_Controls saved = d;

  Save_Config();
  EXPECT_EQ(Read_All(Path()), Pack_Header +
                                  "\r\n"
                                  "curr_Skins_Pack=2\r\n" +
                                  Form_Header +
                                  "\r\n"
                                  "CheckListBox_10Textures / This Checked Items [ 0 ] ordinal number=0\r\n"
                                  "CheckListBox_10Textures / This Checked Items [ 2 ] ordinal number=2\r\n"
                                  "CheckBox_Show_Alien_Objects / Cheked or Not=0\r\n"
                                  "CheckBox_UsePresetsCycle / Cheked or Not=0\r\n"
                                  "CheckBox_UseSpecialEffects / Cheked or Not=0\r\n"
                                  "CheckBox_RandomVelo / Cheked or Not=0\r\n"
                                  "CheckBox_SelectALL / Cheked or Not=1\r\n"
                                  "CheckBox_Use_Custom_JPEG / Cheked or Not=1\r\n"
                                  "CheckBox_Default_Gamma / Cheked or Not=0\r\n"
                                  "CheckBox_ExitMouse / Cheked or Not=1\r\n"
                                  "CheckBox_KeyBControl / Cheked or Not=0\r\n"
                                  "CheckBox_UseRandomSkins / Cheked or Not=0\r\n"
                                  "CheckBox_Wallpaper_on_exit / Cheked or Not=1\r\n"
                                  "CheckBox_Autoplay / Cheked or Not=0\r\n"
                                  "CheckBox_Rotate / Cheked or Not=1\r\n"
                                  "CheckBox_Echo / Cheked or Not=1\r\n"
                                  "CheckBox_Flanger / Cheked or Not=1\r\n"
                                  "CheckBox_NoMusic / Cheked or Not=1\r\n"
                                  "CheckBox_Use_Extra_Layer / Cheked or Not=0\r\n"
                                  "ComboBox_WatchSkins / ItemIndex=41\r\n"
                                  "ComboBox_SelectMusic / ItemIndex=5\r\n"
                                  "Memo_of_Songs / Custom Song Path=/home/u/My Song.ogg\r\n"
                                  "RadioButton_Help / Cheked or Not=0\r\n"
                                  "RadioButton_FPS / Cheked or Not=1\r\n"
                                  "RadioButton_DateTime / Cheked or Not=0\r\n"
                                  "RadioButton_None / Cheked or Not=0\r\n"
                                  "RadioButton_SkinsChanging / Cheked or Not=1\r\n"
                                  "RadioButton_CycleSkin / Cheked or Not=0\r\n"
                                  "RadioButton_RandomSkins / Cheked or Not=0\r\n"
                                  "RadioButton_OneSkin / Cheked or Not=0\r\n"
                                  "RadioButton_Plasma / Cheked or Not=0\r\n"
                                  "RadioButton_MIX / Cheked or Not=0\r\n"
                                  "RadioButton_WRAP / Cheked or Not=1\r\n"
                                  "RadioButton_24h .Checked=0\r\n"
                                  "TrackBar_TunVelo / Position=-20\r\n"
                                  "TrackBar_Skins_Quanto / Position=40\r\n"
                                  "TrackBar_Skins_Quanto / MAX=60\r\n"
                                  "TrackBar_SkinChanger / Position=45\r\n"
                                  "TrackBar_PresetsChanger / Position=100\r\n"
                                  "TrackBar_Gamma / Position=120\r\n"
                                  "TrackBar_Reverb / Position=7\r\n"
                                  "TrackBar_Volume / Position=80\r\n"
                                  "TrackBar_Equalizer1 / Position=1\r\n"
                                  "TrackBar_Equalizer2 / Position=2\r\n"
                                  "TrackBar_Equalizer3 / Position=39\r\n");

  // The next settings run reads it back.
  Begin(Mode::Settings);
  Install_Packs(3);
  Load_Config();
  EXPECT_EQ(All.Current_Skins_Pack, 2);
  for (int i = 0; i < 10; ++i)
    EXPECT_EQ(d.CheckListBox_10Textures.Checked[i], saved.CheckListBox_10Textures.Checked[i]) << i;
  struct Box {
    const char* Name;
    Check_Control Dialog_Controls::*Member;
  } boxes[] = {
      {"Show_Alien_Objects", &Dialog_Controls::CheckBox_Show_Alien_Objects},
      {"UsePresetsCycle", &Dialog_Controls::CheckBox_UsePresetsCycle},
      {"UseSpecialEffects", &Dialog_Controls::CheckBox_UseSpecialEffects},
      {"RandomVelo", &Dialog_Controls::CheckBox_RandomVelo},
      {"SelectALL", &Dialog_Controls::CheckBox_SelectALL},
      {"Use_Custom_JPEG", &Dialog_Controls::CheckBox_Use_Custom_JPEG},
      {"Default_Gamma", &Dialog_Controls::CheckBox_Default_Gamma},
      {"ExitMouse", &Dialog_Controls::CheckBox_ExitMouse},
      {"KeyBControl", &Dialog_Controls::CheckBox_KeyBControl},
      {"UseRandomSkins", &Dialog_Controls::CheckBox_UseRandomSkins},
      {"Wallpaper_on_exit", &Dialog_Controls::CheckBox_Wallpaper_on_exit},
      {"Enable_Extra_Layer", &Dialog_Controls::CheckBox_Enable_Extra_Layer},
      {"Help", &Dialog_Controls::RadioButton_Help},
      {"FPS", &Dialog_Controls::RadioButton_FPS},
      {"DateTime", &Dialog_Controls::RadioButton_DateTime},
      {"None", &Dialog_Controls::RadioButton_None},
      {"SkinsChanging", &Dialog_Controls::RadioButton_SkinsChanging},
      {"CycleSkin", &Dialog_Controls::RadioButton_CycleSkin},
      {"RandomSkins", &Dialog_Controls::RadioButton_RandomSkins},
      {"OneSkin", &Dialog_Controls::RadioButton_OneSkin},
      {"Plasma", &Dialog_Controls::RadioButton_Plasma},
      {"MIX", &Dialog_Controls::RadioButton_MIX},
      {"WRAP", &Dialog_Controls::RadioButton_WRAP},
      {"12h", &Dialog_Controls::RadioButton_12h},
      {"24h", &Dialog_Controls::RadioButton_24h},
  };
  for (const auto& b : boxes) EXPECT_EQ((d.*b.Member).Checked, (saved.*b.Member).Checked) << b.Name;
  struct Bar {
    const char* Name;
    Track_Bar Dialog_Controls::*Member;
  } bars[] = {
      {"TunVelo", &Dialog_Controls::TrackBar_TunVelo},
      {"Skins_Quanto", &Dialog_Controls::TrackBar_Skins_Quanto},
      {"SkinChanger", &Dialog_Controls::TrackBar_SkinChanger},
      {"PresetsChanger", &Dialog_Controls::TrackBar_PresetsChanger},
      {"Gamma", &Dialog_Controls::TrackBar_Gamma},
  };
  for (const auto& b : bars) {
    EXPECT_EQ((d.*b.Member).Position, (saved.*b.Member).Position) << b.Name;
    EXPECT_EQ((d.*b.Member).Max, (saved.*b.Member).Max) << b.Name;
  }
  EXPECT_EQ(d.Label_All.Caption, "All (60)");
  EXPECT_EQ(d.ComboBox_WatchSkins.ItemIndex, 41);
  EXPECT_EQ(d.Memo_of_Songs_in_Adj, saved.Memo_of_Songs_in_Adj);
  EXPECT_EQ(d.ComboBox_SelectMusic.Items[5], "My Song.ogg");
  // The Sound page's controls come back through the shared values.
  EXPECT_EQ(All.No_Music, True32);
  EXPECT_EQ(All.Autoplay_In_Settings, False32);
  EXPECT_EQ(All.DSP_Rotate_On & All.DSP_Echo_On & All.DSP_Flanger_On, True32);
  EXPECT_EQ(All.Music_Select_Index, 5);
  EXPECT_EQ(All.Reverb_Level, 7);
  EXPECT_EQ(All.Volume_Level, 80);
  EXPECT_EQ(All.Equalizer1_Level, 1);
  EXPECT_EQ(All.Equalizer2_Level, 2);
  EXPECT_EQ(All.Equalizer3_Level, 39);
  EXPECT_FLOAT_EQ(All.Tunnel_Velocity, -0.2f);
  EXPECT_EQ(All.Skins_Quantity, 99) << "packs were chosen";
}

TEST_F(Settings_File, Apply_With_No_File_Writes_The_Design_Values) {
  Save_Config();
  Ini_File ini(Path());
  EXPECT_EQ(ini.Read_String("Adjustment_Form_Section", "TrackBar_TunVelo / Position", ""), "30");
  EXPECT_EQ(ini.Read_String("Adjustment_Form_Section", "TrackBar_SkinChanger / Position", ""), "9");
  EXPECT_EQ(ini.Read_String("Adjustment_Form_Section", "TrackBar_PresetsChanger / Position", ""), "12");
  EXPECT_EQ(ini.Read_String("Adjustment_Form_Section", "Memo_of_Songs / Custom Song Path", "missing"), "");
  EXPECT_FALSE(
      ini.Key_Exists("Adjustment_Form_Section", "CheckListBox_10Textures / This Checked Items [ 0 ] ordinal number"))
      << "an empty pack list writes no pack key";
}

// ---- refused and interrupted writes -------------------------------------------------

TEST_F(Settings_File, A_Refused_Write_Shows_Unable_To_Write_And_Changes_Nothing) {
  struct Case {
    const char* Name;
    std::function<void()> Prepare;  // makes the refusal real
    std::function<void()> Procedure;
  } cases[] = {
      {"Apply into a folder that is a regular file",
       [&] {
         Write_All(Folder.Path + "/blocker", "x");
         All.Install_Folder = Folder.Path + "/blocker/";
       },
       [] { Save_Config(); }},
      {"a saver run's exit with a read-only file",
       [&] {
         All.Run_Mode_Settings = False32;
         All.Run_Mode_Fullscreen = True32;
         Write_Config({{"CheckBox_NoMusic / Cheked or Not", "1"}});
         chmod(Path().c_str(), 0444);
       },
       [] { Save_Config(); }},
      {"Restore with a read-only file",
       [&] {
         Write_Config({{"CheckBox_NoMusic / Cheked or Not", "1"}});
         chmod(Path().c_str(), 0444);
       },
       [] { Erase_Config_Sections(); }},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    Begin(Mode::Settings);
    std::filesystem::remove(Path());
    Display->Boxes.clear();
    c.Prepare();
    std::string path = Config_File_Path();
    std::string before = Read_All(path);
    c.Procedure();
    ASSERT_EQ(Display->Boxes.size(), 1u);
    EXPECT_EQ(Display->Boxes[0].Text, "Unable to write to " + path);
    EXPECT_EQ(Display->Boxes[0].Caption, "Error");
    EXPECT_EQ(Display->Boxes[0].Icon, Box_Icon::Error);
    EXPECT_EQ(Read_All(path), before);
    chmod(Path().c_str(), 0644);
  }
}

TEST_F(Settings_File, A_Write_That_Fails_Part_Way_Leaves_The_Old_File_Whole) {
  Save_Config();  // a complete file, about 2 KB
  const std::string old_text = Read_All(Path());
  ASSERT_GT(old_text.size(), 1024u);

  // As on a full disk: the new file cannot grow beyond 512 bytes.
  Dialog().Set_Position(Dialog().TrackBar_Volume, 1);
  struct rlimit old_limit;
  getrlimit(RLIMIT_FSIZE, &old_limit);
  struct rlimit small = old_limit;
  small.rlim_cur = 512;
  auto old_handler = signal(SIGXFSZ, SIG_IGN);
  setrlimit(RLIMIT_FSIZE, &small);
  Save_Config();
  setrlimit(RLIMIT_FSIZE, &old_limit);
  signal(SIGXFSZ, old_handler);

  EXPECT_EQ(Read_All(Path()), old_text);
  ASSERT_EQ(Display->Boxes.size(), 1u);
  EXPECT_EQ(Display->Boxes[0].Text, "Unable to write to " + Path());
  int files = 0;
  for (auto& e : std::filesystem::directory_iterator(Folder.Path)) files += e.is_regular_file();
  EXPECT_EQ(files, 1) << "no half-written file is left beside it";
}

// ---- the controls themselves ---------------------------------------------------------

TEST(Dialog_Controls_Behaviour, A_Set_Runs_The_Handler_Only_On_A_Change_After_The_Change) {
  Dialog_Controls d;
  std::vector<std::string> seen;
  d.CheckBox_ExitMouse.On_Click = [&] { seen.push_back(d.CheckBox_ExitMouse.Checked ? "checked" : "unchecked"); };
  d.TrackBar_Gamma.On_Change = [&] { seen.push_back(std::to_string(d.TrackBar_Gamma.Position)); };
  d.Set_Checked(d.CheckBox_ExitMouse, false);  // its state already
  d.Set_Checked(d.CheckBox_ExitMouse, true);
  d.Set_Checked(d.CheckBox_ExitMouse, true);
  d.Set_Position(d.TrackBar_Gamma, 100);  // its position already
  d.Set_Position(d.TrackBar_Gamma, 10);   // pinned to 30
  d.Set_Position(d.TrackBar_Gamma, 29);   // pinned to 30 again: no change
  d.Set_Position(d.TrackBar_Gamma, 999);  // pinned to 150
  d.Set_Max(d.TrackBar_Gamma, 120);       // the position follows the maximum down
  d.Set_Max(d.TrackBar_Gamma, 140);       // and stays when it goes up
  EXPECT_EQ(seen, (std::vector<std::string>{"checked", "30", "150", "120"}));
  d.Set_Max(d.TrackBar_Gamma, 0);
  EXPECT_EQ(d.TrackBar_Gamma.Max, 30) << "a maximum is never below the minimum";
}

TEST(Dialog_Controls_Behaviour, Checking_A_Radio_Button_Unchecks_Only_Its_Own_Group) {
  Dialog_Controls d;
  int mix_clicks = 0;
  d.RadioButton_MIX.On_Click = [&] { ++mix_clicks; };
  d.Set_Checked(d.RadioButton_Plasma, true);
  EXPECT_TRUE(d.RadioButton_Plasma.Checked);
  EXPECT_FALSE(d.RadioButton_MIX.Checked);
  EXPECT_FALSE(d.RadioButton_WRAP.Checked);
  EXPECT_EQ(mix_clicks, 0);
  EXPECT_TRUE(d.RadioButton_DateTime.Checked) << "another group";
  EXPECT_TRUE(d.RadioButton_RandomSkins.Checked) << "another group";
  EXPECT_TRUE(d.RadioButton_24h.Checked) << "another group";
  d.Set_Checked(d.CheckBox_ExitMouse, true);
  EXPECT_TRUE(d.RadioButton_Plasma.Checked) << "check boxes belong to no group";
}

TEST(Dialog_Controls_Behaviour, Lists_Hold_Their_Range_And_Run_No_Handler) {
  Dialog_Controls d;
  struct Case {
    const char* Name;
    int32_t Set, Expected;
  } cases[] = {{"inside", 41, 41}, {"none", -1, -1}, {"beyond the last item", 500, 98}, {"below the first", -7, 0}};
  for (const auto& c : cases) {
    d.Set_Item_Index(d.ComboBox_WatchSkins, c.Set);
    EXPECT_EQ(d.ComboBox_WatchSkins.ItemIndex, c.Expected) << c.Name;
  }
  d.CheckListBox_10Textures.Count = 2;
  d.Set_Item_Checked(d.CheckListBox_10Textures, 1, true);
  d.Set_Item_Checked(d.CheckListBox_10Textures, 2, true);  // no such item
  EXPECT_TRUE(d.CheckListBox_10Textures.Checked[1]);
  EXPECT_FALSE(d.CheckListBox_10Textures.Checked[2]);
}

}  // namespace
