#include "glowsaver/settings/Save_and_Load_Config.h"

#include "glowsaver/host/ALL_Variables.h"
#include "glowsaver/host/Random_Unit.h"
#include "glowsaver/settings/Dialog_Controls.h"
#include "glowsaver/settings/Ini_File.h"
#include "platform/Platform_Display.h"
#include "platform/Platform_Files.h"

#include <cstdio>

namespace {

// ---- the sections and keys of the file, as users' files spell them -----------
constexpr std::string_view Pack_Section =
    "Current StarBurst Blob Help Tentacle and SkinsPack image interleaving section";
constexpr std::string_view Form_Section = "Adjustment_Form_Section";

namespace Key {
constexpr std::string_view curr_Skins_Pack = "curr_Skins_Pack";
// Pack key N is Pack_Head + N + Pack_Tail.
constexpr std::string_view Pack_Head = "CheckListBox_10Textures / This Checked Items [ ";
constexpr std::string_view Pack_Tail = " ] ordinal number";
constexpr std::string_view CheckBox_Show_Alien_Objects = "CheckBox_Show_Alien_Objects / Cheked or Not";
constexpr std::string_view CheckBox_UsePresetsCycle = "CheckBox_UsePresetsCycle / Cheked or Not";
constexpr std::string_view CheckBox_UseSpecialEffects = "CheckBox_UseSpecialEffects / Cheked or Not";
constexpr std::string_view CheckBox_Use_Extra_Layer = "CheckBox_Use_Extra_Layer / Cheked or Not";
constexpr std::string_view CheckBox_RandomVelo = "CheckBox_RandomVelo / Cheked or Not";
constexpr std::string_view TrackBar_TunVelo = "TrackBar_TunVelo / Position";
constexpr std::string_view CheckBox_NoMusic = "CheckBox_NoMusic / Cheked or Not";
constexpr std::string_view TrackBar_Reverb = "TrackBar_Reverb / Position";
constexpr std::string_view TrackBar_Volume = "TrackBar_Volume / Position";
constexpr std::string_view TrackBar_Equalizer1 = "TrackBar_Equalizer1 / Position";
constexpr std::string_view TrackBar_Equalizer2 = "TrackBar_Equalizer2 / Position";
constexpr std::string_view TrackBar_Equalizer3 = "TrackBar_Equalizer3 / Position";
constexpr std::string_view ComboBox_SelectMusic = "ComboBox_SelectMusic / ItemIndex";
constexpr std::string_view Memo_of_Songs = "Memo_of_Songs / Custom Song Path";
constexpr std::string_view CheckBox_Rotate = "CheckBox_Rotate / Cheked or Not";
constexpr std::string_view CheckBox_Echo = "CheckBox_Echo / Cheked or Not";
constexpr std::string_view CheckBox_Flanger = "CheckBox_Flanger / Cheked or Not";
constexpr std::string_view CheckBox_Autoplay = "CheckBox_Autoplay / Cheked or Not";
constexpr std::string_view CheckBox_ExitMouse = "CheckBox_ExitMouse / Cheked or Not";
constexpr std::string_view CheckBox_KeyBControl = "CheckBox_KeyBControl / Cheked or Not";
constexpr std::string_view CheckBox_UseRandomSkins = "CheckBox_UseRandomSkins / Cheked or Not";
constexpr std::string_view CheckBox_Wallpaper_on_exit = "CheckBox_Wallpaper_on_exit / Cheked or Not";
constexpr std::string_view CheckBox_Use_Custom_JPEG = "CheckBox_Use_Custom_JPEG / Cheked or Not";
constexpr std::string_view CheckBox_SelectALL = "CheckBox_SelectALL / Cheked or Not";
constexpr std::string_view TrackBar_Skins_Quanto_Position = "TrackBar_Skins_Quanto / Position";
constexpr std::string_view TrackBar_Skins_Quanto_MAX = "TrackBar_Skins_Quanto / MAX";
constexpr std::string_view ComboBox_WatchSkins = "ComboBox_WatchSkins / ItemIndex";
constexpr std::string_view CheckBox_Default_Gamma = "CheckBox_Default_Gamma / Cheked or Not";
constexpr std::string_view TrackBar_Gamma = "TrackBar_Gamma / Position";
constexpr std::string_view RadioButton_Help = "RadioButton_Help / Cheked or Not";
constexpr std::string_view RadioButton_FPS = "RadioButton_FPS / Cheked or Not";
constexpr std::string_view RadioButton_DateTime = "RadioButton_DateTime / Cheked or Not";
constexpr std::string_view RadioButton_None = "RadioButton_None / Cheked or Not";
constexpr std::string_view RadioButton_24h = "RadioButton_24h .Checked";
constexpr std::string_view RadioButton_RandomSkins = "RadioButton_RandomSkins / Cheked or Not";
constexpr std::string_view RadioButton_OneSkin = "RadioButton_OneSkin / Cheked or Not";
constexpr std::string_view RadioButton_CycleSkin = "RadioButton_CycleSkin / Cheked or Not";
constexpr std::string_view RadioButton_SkinsChanging = "RadioButton_SkinsChanging / Cheked or Not";
constexpr std::string_view TrackBar_SkinChanger = "TrackBar_SkinChanger / Position";
constexpr std::string_view TrackBar_PresetsChanger = "TrackBar_PresetsChanger / Position";
constexpr std::string_view RadioButton_MIX = "RadioButton_MIX / Cheked or Not";
constexpr std::string_view RadioButton_WRAP = "RadioButton_WRAP / Cheked or Not";
constexpr std::string_view RadioButton_Plasma = "RadioButton_Plasma / Cheked or Not";
}  // namespace Key

// Caption of the box that reports a refused write.
constexpr const char* Write_Error_Caption = "Error";

// Pack keys N = 0..9.
constexpr int Pack_Keys = 10;
// Built-in skins packs cycle 1..6.
constexpr int32_t Skins_Packs = 6;
// The song list line that holds the custom song.
constexpr size_t Custom_Song_Line = 4;

std::string Pack_Key(int n) { return std::string(Key::Pack_Head) + std::to_string(n) + std::string(Key::Pack_Tail); }

// Installed-pack index of pack key N, or -1 when the key is missing or names
// no installed pack (a pack file removed since, say): such a key is ignored.
int32_t Stored_Pack_Index(const Ini_File& ini, int n) {
  int32_t v = ini.Read_Integer(Form_Section, Pack_Key(n), -1);
  return v >= 0 && v < All.Skin_Packs_Installed && v < static_cast<int32_t>(All.Installed_Pack_Files.size()) ? v : -1;
}

// Start_Skin_Number from the stored combo box index: low 8 bits of index + 1,
// and Skins_Quantity (low 8 bits) when that is not below it.
uint8_t Start_Skin_From(int32_t stored_index) {
  uint8_t number = static_cast<uint8_t>(static_cast<uint32_t>(stored_index) + 1u);
  if (!(number < All.Skins_Quantity)) number = static_cast<uint8_t>(All.Skins_Quantity);
  return number;
}

std::string File_Name_Part(const std::string& path) {
  size_t slash = path.find_last_of('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

// ---- full-screen read -------------------------------------------------------------

void Full_Screen_Read(const Ini_File& ini) {
  auto& s = All;
  auto check = [&](std::string_view key, int32_t def) { return ini.Read_Check(Form_Section, key, def); };
  auto integer = [&](std::string_view key, int32_t def) { return ini.Read_Integer(Form_Section, key, def); };

  // The packs in use, in key order.
  int32_t k = 0;
  for (int n = 0; n < Pack_Keys; ++n) {
    int32_t v = Stored_Pack_Index(ini, n);
    if (v < 0) continue;
    s.Skin_Pack_Files[static_cast<size_t>(k)] = s.Installed_Pack_Files[static_cast<size_t>(v)];
    s.Skin_Pack_Sizes[static_cast<size_t>(k)] = s.Installed_Pack_Sizes[static_cast<size_t>(v)];
    ++k;
    s.Skin_Packs_Selected = True32;
  }
  s.Skin_Packs_Count = k;

  s.Tunnel_Start_Morphing = To_Bool32(check(Key::RadioButton_MIX, 1));
  s.Show_Alien_Objects = To_Bool32(check(Key::CheckBox_Show_Alien_Objects, 1));
  s.Use_Presets_Cycle = To_Bool32(check(Key::CheckBox_UsePresetsCycle, 1));
  s.Use_Special_Effects = To_Bool32(check(Key::CheckBox_UseSpecialEffects, 1));
  s.Use_Extra_Layer = To_Bool32(check(Key::CheckBox_Use_Extra_Layer, 1));
  if (check(Key::RadioButton_WRAP, 0)) {
    s.Tunnel_Start_Whirlpool = True32;
    s.Tunnel_Start_Morphing = False32;
  }
  if (!check(Key::CheckBox_RandomVelo, 1)) {
    s.Random_Velocities = False32;
    s.Tunnel_Velocity = static_cast<float>(integer(Key::TrackBar_TunVelo, 30)) / 100.0f;
  }

  s.Reverb_Level = integer(Key::TrackBar_Reverb, 20);
  s.Volume_Level = integer(Key::TrackBar_Volume, 50);
  s.Equalizer1_Level = integer(Key::TrackBar_Equalizer1, 20);
  s.Equalizer2_Level = integer(Key::TrackBar_Equalizer2, 20);
  s.Equalizer3_Level = integer(Key::TrackBar_Equalizer3, 20);
  s.Music_Select_Index = integer(Key::ComboBox_SelectMusic, 0);

  // Line 4 of the launch form's song list is the custom slot; by default the
  // fourth theme song again.
  auto& songs = Settings_Controls().Launch.Memo_of_Songs_in_Full;
  songs.resize(Custom_Song_Line);
  std::string song = ini.Read_String(Form_Section, Key::Memo_of_Songs, s.Plugins_Folder + songs[3]);
  if (!song.empty()) songs.push_back(song);

  s.DSP_Rotate_On = To_Bool32(check(Key::CheckBox_Rotate, 0));
  s.DSP_Echo_On = To_Bool32(check(Key::CheckBox_Echo, 0));
  s.DSP_Flanger_On = To_Bool32(check(Key::CheckBox_Flanger, 0));
  s.Exit_On_Mouse_Move = To_Bool32(check(Key::CheckBox_ExitMouse, 0));
  s.Keyboard_Control = To_Bool32(check(Key::CheckBox_KeyBControl, 1));
  s.Use_Random_Skins = To_Bool32(check(Key::CheckBox_UseRandomSkins, 1));
  s.Wallpaper_On_Exit = To_Bool32(check(Key::CheckBox_Wallpaper_on_exit, 0));
  s.Use_Custom_JPEG = To_Bool32(ini.Read_Bool(Form_Section, Key::CheckBox_Use_Custom_JPEG, false));

  if (!s.Skin_Packs_Selected) s.Skins_Quantity = integer(Key::TrackBar_Skins_Quanto_Position, 99);
  s.Start_Skin_Number = Start_Skin_From(integer(Key::ComboBox_WatchSkins, 1));

  s.Use_Custom_Gamma = To_Bool32(!check(Key::CheckBox_Default_Gamma, 0));
  if (s.Use_Custom_Gamma) {
    double p = integer(Key::TrackBar_Gamma, 100);
    s.Gamma_Factor = p <= 100 ? p / 100.0 : p * 1.3 / 100.0;
  }

  if (check(Key::RadioButton_Help, 0)) s.Show_Help_Overlay = True32;
  if (check(Key::RadioButton_FPS, 0)) s.Show_FPS_Overlay = True32;
  s.Show_Time_Overlay = To_Bool32(check(Key::RadioButton_DateTime, 1));
  s.Clock_24h = To_Bool32(ini.Read_Bool(Form_Section, Key::RadioButton_24h, true));

  if (check(Key::RadioButton_RandomSkins, 1)) s.Skins_Change_Randomly = True32;
  if (check(Key::RadioButton_OneSkin, 0)) {
    s.Auto_Skin_Change = False32;
    s.No_Skin_Change_Per_Cycle = True32;
  }
  if (check(Key::RadioButton_CycleSkin, 0)) s.No_Skin_Change_Per_Cycle = False32;
  if (check(Key::RadioButton_SkinsChanging, 0)) s.Skins_Change_Randomly = False32;

  // Seconds to milliseconds; stored numbers are used as they are (32-bit wrap).
  auto ms = [](int32_t seconds) { return static_cast<int32_t>(int64_t{seconds} * 1000); };
  s.Skin_Change_Interval_Ms = s.Skins_Change_Randomly ? 0 : ms(integer(Key::TrackBar_SkinChanger, 5));
  s.Presets_Change_Interval_Ms = s.Use_Presets_Cycle ? 0 : ms(integer(Key::TrackBar_PresetsChanger, 5));
}

// ---- settings-mode read -------------------------------------------------------------

void Dialog_Read(const Ini_File& ini) {
  auto& s = All;
  auto& d = Settings_Controls().Adjustment;
  auto check = [&](std::string_view key, int32_t def) { return ini.Read_Check(Form_Section, key, def); };
  auto integer = [&](std::string_view key, int32_t def) { return ini.Read_Integer(Form_Section, key, def); };
  auto set_check = [&](Check_Control& control, std::string_view key, int32_t def) {
    d.Set_Checked(control, check(key, def));
  };

  for (int n = 0; n < Pack_Keys; ++n) {
    int32_t v = Stored_Pack_Index(ini, n);
    if (v < 0) continue;
    d.Set_Item_Checked(d.CheckListBox_10Textures, v, true);
    s.Skin_Packs_Selected = True32;
  }

  d.Set_Position(d.TrackBar_TunVelo, integer(Key::TrackBar_TunVelo, 25));
  s.Tunnel_Velocity = static_cast<float>(d.TrackBar_TunVelo.Position) / 100.0f;

  if (integer(Key::CheckBox_Show_Alien_Objects, 1) == 0) d.Set_Checked(d.CheckBox_Show_Alien_Objects, false);
  set_check(d.CheckBox_UsePresetsCycle, Key::CheckBox_UsePresetsCycle, 1);
  s.Use_Presets_Cycle = To_Bool32(check(Key::CheckBox_UsePresetsCycle, 1));
  set_check(d.CheckBox_UseSpecialEffects, Key::CheckBox_UseSpecialEffects, 1);
  s.Use_Special_Effects = To_Bool32(check(Key::CheckBox_UseSpecialEffects, 1));
  if (s.Use_Special_Effects) d.BitBtn_StopEffects.Visible = true;
  set_check(d.CheckBox_RandomVelo, Key::CheckBox_RandomVelo, 1);
  s.Random_Velocities = To_Bool32(check(Key::CheckBox_RandomVelo, 1));
  set_check(d.CheckBox_Enable_Extra_Layer, Key::CheckBox_Use_Extra_Layer, 1);
  s.Use_Extra_Layer = To_Bool32(d.CheckBox_Enable_Extra_Layer.Checked);

  d.CheckBox_SelectALL.Enabled = true;
  d.Set_Checked(d.CheckBox_SelectALL, ini.Read_Bool(Form_Section, Key::CheckBox_SelectALL, false));
  d.CheckBox_Use_Custom_JPEG.Enabled = true;
  d.Set_Checked(d.CheckBox_Use_Custom_JPEG, ini.Read_Bool(Form_Section, Key::CheckBox_Use_Custom_JPEG, false));

  d.Set_Position(d.TrackBar_SkinChanger, integer(Key::TrackBar_SkinChanger, 30));
  d.Set_Position(d.TrackBar_PresetsChanger, integer(Key::TrackBar_PresetsChanger, 30));
  d.Set_Position(d.TrackBar_Gamma, integer(Key::TrackBar_Gamma, 100));

  s.Reverb_Level = integer(Key::TrackBar_Reverb, 20);
  s.Volume_Level = integer(Key::TrackBar_Volume, 50);
  s.Equalizer1_Level = integer(Key::TrackBar_Equalizer1, 20);
  s.Equalizer2_Level = integer(Key::TrackBar_Equalizer2, 20);
  s.Equalizer3_Level = integer(Key::TrackBar_Equalizer3, 20);

  d.Set_Max(d.TrackBar_Skins_Quanto, integer(Key::TrackBar_Skins_Quanto_MAX, 99));
  d.Label_All.Caption = Label_All_Caption(d.TrackBar_Skins_Quanto.Max);
  int32_t quantity = integer(Key::TrackBar_Skins_Quanto_Position, 99);
  // The change handler runs once either way, so its caption shows the position.
  if (!d.Set_Position(d.TrackBar_Skins_Quanto, quantity) && d.TrackBar_Skins_Quanto.On_Change)
    d.TrackBar_Skins_Quanto.On_Change();
  if (!s.Skin_Packs_Selected) s.Skins_Quantity = quantity;

  set_check(d.CheckBox_ExitMouse, Key::CheckBox_ExitMouse, 0);
  set_check(d.CheckBox_KeyBControl, Key::CheckBox_KeyBControl, 1);
  set_check(d.CheckBox_Default_Gamma, Key::CheckBox_Default_Gamma, 1);
  set_check(d.CheckBox_UseRandomSkins, Key::CheckBox_UseRandomSkins, 1);
  set_check(d.CheckBox_Wallpaper_on_exit, Key::CheckBox_Wallpaper_on_exit, 0);

  s.Start_Skin_Number = Start_Skin_From(integer(Key::ComboBox_WatchSkins, 1));
  if (d.CheckBox_UseRandomSkins.Checked)
    d.Set_Item_Index(d.ComboBox_WatchSkins, RandInt(static_cast<int32_t>(d.ComboBox_WatchSkins.Items.size())));
  else
    d.Set_Item_Index(d.ComboBox_WatchSkins, integer(Key::ComboBox_WatchSkins, 0));

  s.Autoplay_In_Settings = To_Bool32(check(Key::CheckBox_Autoplay, 1));
  s.DSP_Rotate_On = To_Bool32(check(Key::CheckBox_Rotate, 0));
  s.DSP_Echo_On = To_Bool32(check(Key::CheckBox_Echo, 0));
  s.DSP_Flanger_On = To_Bool32(check(Key::CheckBox_Flanger, 0));
  s.Music_Select_Index = integer(Key::ComboBox_SelectMusic, 0);

  std::string song = ini.Read_String(Form_Section, Key::Memo_of_Songs, "");
  if (!song.empty()) {
    d.Memo_of_Songs_in_Adj.resize(Custom_Song_Line);
    d.Memo_of_Songs_in_Adj.push_back(song);
    if (d.ComboBox_SelectMusic.Items.size() > 5) d.ComboBox_SelectMusic.Items[5] = File_Name_Part(song);
  }

  set_check(d.RadioButton_Plasma, Key::RadioButton_Plasma, 0);
  set_check(d.RadioButton_MIX, Key::RadioButton_MIX, 1);
  set_check(d.RadioButton_WRAP, Key::RadioButton_WRAP, 0);
  set_check(d.RadioButton_CycleSkin, Key::RadioButton_CycleSkin, 0);
  set_check(d.RadioButton_RandomSkins, Key::RadioButton_RandomSkins, 1);
  set_check(d.RadioButton_OneSkin, Key::RadioButton_OneSkin, 0);
  set_check(d.RadioButton_SkinsChanging, Key::RadioButton_SkinsChanging, 0);
  set_check(d.RadioButton_FPS, Key::RadioButton_FPS, 0);
  set_check(d.RadioButton_DateTime, Key::RadioButton_DateTime, 1);
  set_check(d.RadioButton_Help, Key::RadioButton_Help, 0);
  set_check(d.RadioButton_None, Key::RadioButton_None, 0);

  bool clock_24h = ini.Read_Bool(Form_Section, Key::RadioButton_24h, true);
  d.Set_Checked(d.RadioButton_24h, clock_24h);
  d.Set_Checked(d.RadioButton_12h, !clock_24h);
}

// ---- settings-mode write -------------------------------------------------------------

void Dialog_Write(Ini_File& ini) {
  auto& s = All;
  const auto& d = Settings_Controls().Adjustment;
  auto flag = [&](std::string_view key, const Check_Control& control) {
    ini.Write_Bool(Form_Section, key, control.Checked);
  };
  auto integer = [&](std::string_view key, int32_t value) { ini.Write_Integer(Form_Section, key, value); };

  const auto& packs = d.CheckListBox_10Textures;
  if (packs.Count > 0)
    for (int i = 0; i < s.Skin_Packs_Count && i < Pack_Keys; ++i)
      if (packs.Checked[static_cast<size_t>(i)]) integer(Pack_Key(i), i);

  flag(Key::CheckBox_Show_Alien_Objects, d.CheckBox_Show_Alien_Objects);
  flag(Key::CheckBox_UsePresetsCycle, d.CheckBox_UsePresetsCycle);
  flag(Key::CheckBox_UseSpecialEffects, d.CheckBox_UseSpecialEffects);
  flag(Key::CheckBox_RandomVelo, d.CheckBox_RandomVelo);
  flag(Key::CheckBox_SelectALL, d.CheckBox_SelectALL);
  flag(Key::CheckBox_Use_Custom_JPEG, d.CheckBox_Use_Custom_JPEG);
  flag(Key::CheckBox_Default_Gamma, d.CheckBox_Default_Gamma);
  flag(Key::CheckBox_ExitMouse, d.CheckBox_ExitMouse);
  flag(Key::CheckBox_KeyBControl, d.CheckBox_KeyBControl);
  flag(Key::CheckBox_UseRandomSkins, d.CheckBox_UseRandomSkins);
  flag(Key::CheckBox_Wallpaper_on_exit, d.CheckBox_Wallpaper_on_exit);
  flag(Key::CheckBox_Autoplay, d.CheckBox_Autoplay);
  flag(Key::CheckBox_Rotate, d.CheckBox_Rotate);
  flag(Key::CheckBox_Echo, d.CheckBox_Echo);
  flag(Key::CheckBox_Flanger, d.CheckBox_Flanger);
  flag(Key::CheckBox_NoMusic, d.CheckBox_NoMusic);
  flag(Key::CheckBox_Use_Extra_Layer, d.CheckBox_Enable_Extra_Layer);

  integer(Key::ComboBox_WatchSkins, d.ComboBox_WatchSkins.ItemIndex);
  integer(Key::ComboBox_SelectMusic, d.ComboBox_SelectMusic.ItemIndex);
  const auto& songs = d.Memo_of_Songs_in_Adj;
  ini.Write_String(Form_Section, Key::Memo_of_Songs, songs.size() > Custom_Song_Line ? songs[Custom_Song_Line] : "");

  flag(Key::RadioButton_Help, d.RadioButton_Help);
  flag(Key::RadioButton_FPS, d.RadioButton_FPS);
  flag(Key::RadioButton_DateTime, d.RadioButton_DateTime);
  flag(Key::RadioButton_None, d.RadioButton_None);
  flag(Key::RadioButton_SkinsChanging, d.RadioButton_SkinsChanging);
  flag(Key::RadioButton_CycleSkin, d.RadioButton_CycleSkin);
  flag(Key::RadioButton_RandomSkins, d.RadioButton_RandomSkins);
  flag(Key::RadioButton_OneSkin, d.RadioButton_OneSkin);
  flag(Key::RadioButton_Plasma, d.RadioButton_Plasma);
  flag(Key::RadioButton_MIX, d.RadioButton_MIX);
  flag(Key::RadioButton_WRAP, d.RadioButton_WRAP);
  flag(Key::RadioButton_24h, d.RadioButton_24h);

  integer(Key::TrackBar_TunVelo, d.TrackBar_TunVelo.Position);
  integer(Key::TrackBar_Skins_Quanto_Position, d.TrackBar_Skins_Quanto.Position);
  integer(Key::TrackBar_Skins_Quanto_MAX, d.TrackBar_Skins_Quanto.Max);
  integer(Key::TrackBar_SkinChanger, d.TrackBar_SkinChanger.Position);
  integer(Key::TrackBar_PresetsChanger, d.TrackBar_PresetsChanger.Position);
  integer(Key::TrackBar_Gamma, d.TrackBar_Gamma.Position);
  integer(Key::TrackBar_Reverb, d.TrackBar_Reverb.Position);
  integer(Key::TrackBar_Volume, d.TrackBar_Volume.Position);
  integer(Key::TrackBar_Equalizer1, d.TrackBar_Equalizer1.Position);
  integer(Key::TrackBar_Equalizer2, d.TrackBar_Equalizer2.Position);
  integer(Key::TrackBar_Equalizer3, d.TrackBar_Equalizer3.Position);
}

// Replaces the file with what the procedure made of it; a refusal is shown
// to the user and the file stays as it was.
void Write_Or_Report(const Ini_File& ini) {
  std::string reason;
  if (ini.Write_Back(&reason)) return;
  std::fprintf(stderr, "settings: %s\n", reason.c_str());
  Show_Message_Box(Ini_Write_Error_Text(ini.Path()), Write_Error_Caption, Box_Icon::Error);
}

}  // namespace

std::string Config_File_Path() { return All.Install_Folder + Config_File_Name; }

void Load_Config() {
  auto& s = All;
  if (s.Run_Mode_Preview) return;  // a preview keeps every initial value
  const Ini_File ini(Config_File_Path());
  Randomize();
  s.Current_Skins_Pack = ini.Read_Integer(Pack_Section, Key::curr_Skins_Pack, Skins_Packs);
  s.Current_UFO_Model = static_cast<uint8_t>(1 + RandInt(4));
  s.No_Music = To_Bool32(ini.Read_Check(Form_Section, Key::CheckBox_NoMusic, 0));
  if (s.Run_Mode_Fullscreen) Full_Screen_Read(ini);
  if (s.Run_Mode_Settings) Dialog_Read(ini);
}

void Save_Config() {
  auto& s = All;
  Ini_File ini(Config_File_Path());
  int64_t next = int64_t{s.Current_Skins_Pack} + 1;
  s.Current_Skins_Pack = next > Skins_Packs ? 1 : static_cast<int32_t>(next);
  ini.Write_Integer(Pack_Section, Key::curr_Skins_Pack, s.Current_Skins_Pack);
  if (s.Run_Mode_Settings) Dialog_Write(ini);
  Write_Or_Report(ini);
}

void Erase_Config_Sections() {
  std::string path = Config_File_Path();
  if (!File_Exists(path)) return;  // nothing to empty
  Ini_File ini(path);
  ini.Erase_Section(Pack_Section);
  ini.Erase_Section(Form_Section);
  Write_Or_Report(ini);
}
