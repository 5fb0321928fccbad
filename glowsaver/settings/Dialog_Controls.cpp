#include "glowsaver/settings/Dialog_Controls.h"

#include <algorithm>

const std::array<const char*, 4> Theme_Song_Files = {
    {"Song theme1.dmt", "Song theme2.dmt", "Song theme3.dmt", "Song theme4.dmt"}};

namespace {

// ComboBox_WatchSkins: item i is built-in skin number i + 1.
const std::array<const char*, 99> Start_Skin_Names = {{"Andromeda avenue",
                                                       "Adamantium tears",
                                                       "Space Fractal skies",
                                                       "Flight of the navigator",
                                                       "Mind reflection",
                                                       "Pin-flash space-lane",
                                                       "Super Nova",
                                                       "Magic way",
                                                       "Kaleidoscopic plasma",
                                                       "Seed of the Earth",
                                                       "Galaxy trip",
                                                       "Through living cells",
                                                       "Microprocessor core",
                                                       "Wild Rose",
                                                       "Tribal-dance emerald",
                                                       "Time - Rider",
                                                       "Alien Flower",
                                                       "Capricorn constellation",
                                                       "The valley of the Jedi",
                                                       "Synapce highway",
                                                       "Fractal quarries",
                                                       "Alien skin inside",
                                                       "Universe games",
                                                       "Star track",
                                                       "Alien drop-point",
                                                       "Collapse of light",
                                                       "Living alien water",
                                                       "Supreme chains",
                                                       "Threads of the N.E.T.",
                                                       "Trian-kaleidoscopic",
                                                       "Digital-mind RAM-jump",
                                                       "Legendary Fractal",
                                                       "Underwater Fractal",
                                                       "Venus Fractal",
                                                       "Inside the brain",
                                                       "Radiating Fractal",
                                                       "Acoustic waves",
                                                       "Violet wind",
                                                       "Space plasma element",
                                                       "Emerald high-way",
                                                       "Moon spacestation",
                                                       "Pin-blaster flight",
                                                       "Meteorites field",
                                                       "Alien planets 2 suns",
                                                       "Alien green race",
                                                       "Mars Environment",
                                                       "Sky Fractal",
                                                       "Starry Fractal",
                                                       "Ultraviolet Plasma",
                                                       "Cosmic light-rays",
                                                       "Moon Fractal",
                                                       "Hi-Tech Fractal",
                                                       "Alien Harmonizer",
                                                       "Animatrix Plasma",
                                                       "Inside CPU Core",
                                                       "Evolution Tunnel",
                                                       "Milky Way Galaxy",
                                                       "Magic Spirals",
                                                       "Ancient Fractal",
                                                       "Healing Fractal",
                                                       "Mixed Fractals",
                                                       "Love Generator",
                                                       "Tory Fractal",
                                                       "Enlighting Fractal",
                                                       "Tender Fractal",
                                                       "Mystic Fractal",
                                                       "Titan Fractal",
                                                       "Morphing Fractal",
                                                       "New age Fractal",
                                                       "Rainbow Fractal",
                                                       "Relaxing Tunnel",
                                                       "Spider web",
                                                       "Alien live-sign",
                                                       "Python skin inside",
                                                       "Green alien flowers",
                                                       "Seratonine sunrise",
                                                       "Energy E=mc^2",
                                                       "Big city",
                                                       "Power candle",
                                                       "Star Gate portal",
                                                       "Lava Planet",
                                                       "Bim and Bom",
                                                       "Flip the distance",
                                                       "Dances between worlds",
                                                       "Contact",
                                                       "To the sun",
                                                       "Ancient God world",
                                                       "Three pionts",
                                                       "Red nebula",
                                                       "Green sun flash",
                                                       "Terminal invasion",
                                                       "Souz-Appolon",
                                                       "Omega",
                                                       "Mars-3",
                                                       "Road to Venus",
                                                       "Desepticon",
                                                       "Optimus-Prime",
                                                       "Cometteus",
                                                       "Autobots"}};

// ComboBox_SelectMusic: 0 random song, 1..4 theme songs, 5 custom song, 6 browse.
const std::array<const char*, 7> Music_Choices = {{"Random All Songs", "Song theme 1", "Song theme 2", "Song theme 3",
                                                   "Song theme 4", "Get Custom Song", "Browse File..."}};

// Every radio button of the record, for the exclusion within a group.
constexpr Check_Control Dialog_Controls::*Radio_Buttons[] = {
    &Dialog_Controls::RadioButton_Help,         &Dialog_Controls::RadioButton_FPS,
    &Dialog_Controls::RadioButton_DateTime,     &Dialog_Controls::RadioButton_None,
    &Dialog_Controls::RadioButton_12h,          &Dialog_Controls::RadioButton_24h,
    &Dialog_Controls::RadioButton_Plasma,       &Dialog_Controls::RadioButton_MIX,
    &Dialog_Controls::RadioButton_WRAP,         &Dialog_Controls::RadioButton_CycleSkin,
    &Dialog_Controls::RadioButton_RandomSkins,  &Dialog_Controls::RadioButton_OneSkin,
    &Dialog_Controls::RadioButton_SkinsChanging};

std::vector<std::string> Theme_Song_Lines() { return {Theme_Song_Files.begin(), Theme_Song_Files.end()}; }

}  // namespace

Dialog_Controls::Dialog_Controls() {
  ComboBox_WatchSkins.Items.assign(Start_Skin_Names.begin(), Start_Skin_Names.end());
  ComboBox_WatchSkins.ItemIndex = 0;  // reader default (the dialog's creation picks a random item)
  ComboBox_WatchSkins.Enabled = false;
  ComboBox_SelectMusic.Items.assign(Music_Choices.begin(), Music_Choices.end());
  ComboBox_SelectMusic.ItemIndex = 0;
  Memo_of_Songs_in_Adj = Theme_Song_Lines();
}

Launch_Form_Controls::Launch_Form_Controls() : Memo_of_Songs_in_Full(Theme_Song_Lines()) {}

void Dialog_Controls::Set_Checked(Check_Control& control, bool checked) {
  if (control.Checked == checked) return;
  control.Checked = checked;
  if (checked && control.Radio_Group != 0)
    for (auto member : Radio_Buttons) {
      Check_Control& other = this->*member;
      if (&other != &control && other.Radio_Group == control.Radio_Group) other.Checked = false;
    }
  if (control.On_Click) control.On_Click();
}

bool Dialog_Controls::Set_Position(Track_Bar& bar, int32_t position) {
  position = std::clamp(position, bar.Min, std::max(bar.Min, bar.Max));
  if (bar.Position == position) return false;
  bar.Position = position;
  if (bar.On_Change) bar.On_Change();
  return true;
}

void Dialog_Controls::Set_Max(Track_Bar& bar, int32_t maximum) {
  bar.Max = std::max(maximum, bar.Min);
  if (bar.Position > bar.Max) Set_Position(bar, bar.Max);
}

void Dialog_Controls::Set_Item_Index(Combo_Box& box, int32_t index) {
  int32_t count = static_cast<int32_t>(box.Items.size());
  box.ItemIndex = index == -1 || count == 0 ? -1 : std::clamp(index, 0, count - 1);
}

void Dialog_Controls::Set_Item_Checked(Check_List_Box& list, int32_t item, bool checked) {
  if (item < 0 || item >= std::min<int32_t>(list.Count, static_cast<int32_t>(list.Checked.size()))) return;
  list.Checked[static_cast<size_t>(item)] = checked;
}

Settings_Form_Controls& Settings_Controls() {
  static Settings_Form_Controls controls;
  return controls;
}

void Reset_Settings_Controls() { Settings_Controls() = Settings_Form_Controls{}; }

std::string Label_All_Caption(int32_t maximum) { return "All (" + std::to_string(maximum) + ")"; }
