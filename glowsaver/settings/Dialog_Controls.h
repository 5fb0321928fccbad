// Dialog_Controls: the state of the controls that the settings file is read
// into and written from.
//
// Dialog_Controls holds one field per control of the settings dialog
// TAdjustment_Form that Load_Config sets and Save_Config stores, named as the
// dialog names them and starting at the dialog's design values; the launch
// form's hidden song list Memo_of_Songs_in_Full is held beside it
// (Launch_Form_Controls). The one instance of both lives in the settings
// subsystem and is reached through Settings_Controls(): the dialog, when it
// builds its widgets, shows these states and keeps them up to date, and
// installs its handlers in the On_Click / On_Change members; Load_Config and
// Save_Config (Save_and_Load_Config) read and write them. Tests reset it with
// Reset_Settings_Controls.
//
// Changing a control goes through the record's Set_ operations, which behave
// like the controls do when the program sets them: a check box, radio button
// or slider that gets a new state runs its handler after the change, as if
// the user had made it; setting the state it already has runs nothing;
// checking a radio button unchecks the others of its group without running
// their handlers (as a click on it would); a slider pins a position to its
// Min..Max. Combo boxes and the pack check list run no handler when set.
//
// GUI thread only.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

// A check box or a radio button.
struct Check_Control {
  bool Checked = false;
  bool Enabled = true;
  // 0 for a check box; radio buttons with the same group number exclude each other.
  int Radio_Group = 0;
  // Click handler, run after a change of Checked (installed by the dialog).
  std::function<void()> On_Click;
};

// A slider (track bar). Position, Min and Max in the control's own units
// (seconds, percent, skins ...).
struct Track_Bar {
  int32_t Min = 0;
  int32_t Max = 10;
  int32_t Position = 0;
  bool Enabled = true;
  // Change handler, run after a change of Position (installed by the dialog).
  std::function<void()> On_Change;
};

// A drop-down list. ItemIndex -1 means no item is selected.
struct Combo_Box {
  std::vector<std::string> Items;
  int32_t ItemIndex = -1;
  bool Enabled = true;
};

// The add-on skin pack list: one item per installed pack, in scan order.
struct Check_List_Box {
  std::array<bool, 10> Checked{};  // item i is checked
  int32_t Count = 0;               // items in the list (filled from the Plugins scan)
  bool Enabled = true;
};

struct Label_Control {
  std::string Caption;
  bool Visible = true;
};

struct Button_Control {
  bool Visible = true;
  bool Enabled = true;
};

// Controls at a start state, for the record's initialisers.
inline Check_Control Make_Check_Box(bool checked) {
  Check_Control control;
  control.Checked = checked;
  return control;
}
inline Check_Control Make_Radio_Button(int group, bool checked = false) {
  Check_Control control;
  control.Checked = checked;
  control.Radio_Group = group;
  return control;
}
inline Track_Bar Make_Track_Bar(int32_t min, int32_t max, int32_t position, bool enabled = true) {
  Track_Bar bar;
  bar.Min = min;
  bar.Max = max;
  bar.Position = position;
  bar.Enabled = enabled;
  return bar;
}

// Radio groups of the dialog.
enum Dialog_Radio_Group : int {
  Radio_Group_Overlay = 1,      // Help, FPS, DateTime, None: the start-up overlay
  Radio_Group_Clock = 2,        // 12h, 24h
  Radio_Group_Skin_Change = 3,  // CycleSkin, RandomSkins, OneSkin, SkinsChanging
  Radio_Group_Start_Tunnel = 4  // Plasma, MIX (Morphing), WRAP (Whirlpool)
};

// The dialog's controls at their design values. Where the dialog's design
// gives no start value, the comment says "reader default": the control starts
// as the settings reader would set it for a missing key.
struct Dialog_Controls {
  Dialog_Controls();

  // ---- Main page: video options, start-up overlay, gamma ------------------
  Check_Control CheckBox_ExitMouse = Make_Check_Box(false);
  Check_Control CheckBox_KeyBControl = Make_Check_Box(true);
  Check_Control CheckBox_Enable_Extra_Layer = Make_Check_Box(true);  // key "CheckBox_Use_Extra_Layer / ..."
  Check_Control RadioButton_Help = Make_Radio_Button(Radio_Group_Overlay);
  Check_Control RadioButton_FPS = Make_Radio_Button(Radio_Group_Overlay);
  Check_Control RadioButton_DateTime = Make_Radio_Button(Radio_Group_Overlay, true);
  Check_Control RadioButton_None = Make_Radio_Button(Radio_Group_Overlay);
  Check_Control RadioButton_12h = Make_Radio_Button(Radio_Group_Clock);
  Check_Control RadioButton_24h = Make_Radio_Button(Radio_Group_Clock, true);
  Check_Control CheckBox_Default_Gamma = Make_Check_Box(true);
  Track_Bar TrackBar_Gamma = Make_Track_Bar(30, 150, 100, false);  // percent

  // ---- Main page: skin control ---------------------------------------------
  Combo_Box ComboBox_WatchSkins;  // 99 skin names; disabled while random skins are on
  Check_Control CheckBox_UseRandomSkins = Make_Check_Box(true);
  Check_Control CheckBox_Show_Alien_Objects = Make_Check_Box(true);
  Check_Control CheckBox_Wallpaper_on_exit = Make_Check_Box(false);  // reader default
  Track_Bar TrackBar_Skins_Quanto = Make_Track_Bar(1, 99, 99);       // skins
  Label_Control Label_All{"All (total)", true};

  // ---- start tunnel group ----------------------------------------------------
  Check_Control RadioButton_Plasma = Make_Radio_Button(Radio_Group_Start_Tunnel);
  Check_Control RadioButton_MIX = Make_Radio_Button(Radio_Group_Start_Tunnel, true);
  Check_Control RadioButton_WRAP = Make_Radio_Button(Radio_Group_Start_Tunnel);

  // ---- Control page ----------------------------------------------------------
  Track_Bar TrackBar_TunVelo = Make_Track_Bar(-50, 50, 30, false);  // velocity * 100
  Check_Control CheckBox_RandomVelo = Make_Check_Box(true);
  Check_Control RadioButton_CycleSkin = Make_Radio_Button(Radio_Group_Skin_Change);
  Check_Control RadioButton_RandomSkins = Make_Radio_Button(Radio_Group_Skin_Change, true);
  Check_Control RadioButton_OneSkin = Make_Radio_Button(Radio_Group_Skin_Change);
  Check_Control RadioButton_SkinsChanging = Make_Radio_Button(Radio_Group_Skin_Change);
  Track_Bar TrackBar_SkinChanger = Make_Track_Bar(3, 300, 9, false);  // seconds
  Check_Control CheckBox_UsePresetsCycle = Make_Check_Box(true);
  Track_Bar TrackBar_PresetsChanger = Make_Track_Bar(5, 300, 12, false);  // seconds
  Check_Control CheckBox_UseSpecialEffects = Make_Check_Box(true);
  Button_Control BitBtn_StopEffects;  // reader default: shown (special effects read as on)

  // ---- Skin page ---------------------------------------------------------------
  Check_List_Box CheckListBox_10Textures;
  Check_Control CheckBox_SelectALL = Make_Check_Box(false);        // reader default
  Check_Control CheckBox_Use_Custom_JPEG = Make_Check_Box(false);  // reader default

  // ---- Sound page ----------------------------------------------------------------
  Check_Control CheckBox_NoMusic = Make_Check_Box(false);  // reader default
  Check_Control CheckBox_Autoplay = Make_Check_Box(true);  // reader default
  Combo_Box ComboBox_SelectMusic;                          // 7 music choices, item 0 selected (reader default)
  Check_Control CheckBox_Rotate = Make_Check_Box(false);   // reader default
  Check_Control CheckBox_Echo = Make_Check_Box(false);     // reader default
  Check_Control CheckBox_Flanger = Make_Check_Box(false);  // reader default
  Track_Bar TrackBar_Reverb = Make_Track_Bar(0, 30, 20);
  Track_Bar TrackBar_Volume = Make_Track_Bar(0, 100, 50);  // reader default position
  Track_Bar TrackBar_Equalizer1 = Make_Track_Bar(0, 40, 20);
  Track_Bar TrackBar_Equalizer2 = Make_Track_Bar(0, 40, 20);
  Track_Bar TrackBar_Equalizer3 = Make_Track_Bar(0, 40, 20);
  // The dialog's song list: lines 0..3 the theme songs (relative to
  // Plugins_Folder), line 4, when present, the custom song's full path.
  std::vector<std::string> Memo_of_Songs_in_Adj;

  // ---- changing controls -----------------------------------------------------------
  // Checks or unchecks; on a change runs On_Click (after unchecking the other
  // radio buttons of the group when a radio button becomes checked).
  void Set_Checked(Check_Control& control, bool checked);
  // Moves the slider to `position` pinned to Min..Max; on a change runs
  // On_Change. True when the position changed.
  bool Set_Position(Track_Bar& bar, int32_t position);
  // Sets the maximum (not below Min); a position above it is pinned, which
  // runs On_Change.
  void Set_Max(Track_Bar& bar, int32_t maximum);
  // Selects item `index`: -1 clears the selection, other values are pinned to
  // the items there are. No handler runs.
  void Set_Item_Index(Combo_Box& box, int32_t index);
  // Checks or unchecks pack item `item`; an item the list does not have is
  // ignored. No handler runs.
  void Set_Item_Checked(Check_List_Box& list, int32_t item, bool checked);
};

// The launch form's controls that the settings reader fills.
struct Launch_Form_Controls {
  Launch_Form_Controls();
  // The full-screen song list: lines 0..3 the theme songs (relative to
  // Plugins_Folder), line 4 the song of the custom slot (a full path).
  std::vector<std::string> Memo_of_Songs_in_Full;
};

// The controls of this process's forms that the settings file is read into
// and written from. TAdjustment_Form and TLaunch_Form bind their widgets to
// these members.
struct Settings_Form_Controls {
  Dialog_Controls Adjustment;   // TAdjustment_Form
  Launch_Form_Controls Launch;  // TLaunch_Form
};

// The one instance, alive for the whole process.
Settings_Form_Controls& Settings_Controls();
// Puts every control back to its design value and drops the installed
// handlers. Tests call it between cases.
void Reset_Settings_Controls();

// The theme songs, lines 0..3 of both song lists.
extern const std::array<const char*, 4> Theme_Song_Files;
// Caption of Label_All for a skins slider maximum: "All (" + maximum + ")".
std::string Label_All_Caption(int32_t maximum);
