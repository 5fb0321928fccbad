// Start-up: the command-line table, our own switches, folders and page names,
// and the missing-files text.
#include "glowsaver/host/ALL_Variables.h"
#include "glowsaver/host/WinMainUnit.h"

#include <gtest/gtest.h>

namespace {

class Command_Line : public ::testing::Test {
 protected:
  void SetUp() override { Reset_All_Variables(); }
};

TEST_F(Command_Line, Words_Map_To_Run_Modes) {
  struct Case {
    const char* Name;
    const char* Argument1;
    const char* Argument2;
    const char* Run_Mode;
    Window_Handle Parent;
  } cases[] = {
      {"no arguments: full screen", "", "", "", 0},
      {"/s: full screen", "/s", "", "", 0},
      {"/S: full screen", "/S", "", "", 0},
      {"-s: full screen", "-s", "", "", 0},
      {"s: full screen", "s", "", "", 0},
      {"x: full screen", "x", "", "", 0},
      {"/c:1234: settings, colon and digits ignored", "/c:1234", "", "c", 0},
      {"/p with a handle: preview", "/p", "1234", "p", 1234},
      {"-P: preview", "-P", "77", "p", 77},
      {"r: settings", "r", "", "c", 0},
      {"/R: settings", "/R", "", "c", 0},
      {"U and a handle: full screen from the dialog", "U", "5678", "FullScreen_from_SettingsPreview", 5678},
      {"/f: first launch", "/f", "", "First_Launch", 0},
      {"9: first launch", "9", "", "First_Launch", 0},
      {"/9: first launch", "/9", "", "First_Launch", 0},
      {"a: password", "a", "", "a", 0},
      {"/A with a handle: password", "/A", "42", "a", 42},
      {"ab: the word becomes b, full screen", "ab", "", "", 0},
      {"hexadecimal handle", "/p", "0x1a00005", "p", 0x1a00005},
      {"component-library hexadecimal handle", "/p", "$10", "p", 16},
  };
  for (const auto& c : cases) {
    Reset_All_Variables();
    std::string error;
    ASSERT_TRUE(Parse_Command_Line(c.Argument1, c.Argument2, &error)) << c.Name << ": " << error;
    EXPECT_EQ(All.Run_Mode, c.Run_Mode) << c.Name;
    EXPECT_EQ(All.Preview_Parent_Window, c.Parent) << c.Name;
  }
}

TEST_F(Command_Line, A_Handle_That_Is_Not_A_Number_Is_Refused_With_A_Clear_Message) {
  for (const char* bad : {"abc", "12x", "0x", "$", "-", "99999999999"}) {
    std::string error;
    EXPECT_FALSE(Parse_Command_Line("/p", bad, &error)) << bad;
    EXPECT_NE(error.find("is not a number"), std::string::npos) << error;
  }
}

TEST(Run_Options_Parser, Reads_Our_Switches_And_Leaves_The_Rest_In_Order) {
  Run_Options o;
  std::vector<std::string> rest;
  std::string error;
  ASSERT_TRUE(Parse_Run_Options({"--seed", "7", "/p", "--frames=20", "--frame-ms", "8.5", "1234", "--save-frames",
                                 "1,20", "--save-dir", "/tmp/x", "--offscreen", "--size", "320x240",
                                 "--print-frame-rate", "--press", "300:13,300:107,40:35"},
                                nullptr, o, rest, &error))
      << error;
  EXPECT_EQ(rest, (std::vector<std::string>{"/p", "1234"}));
  EXPECT_TRUE(o.Deterministic);
  EXPECT_EQ(o.Seed, 7u);
  EXPECT_EQ(o.Frames, 20);
  EXPECT_DOUBLE_EQ(o.Frame_Ms, 8.5);
  EXPECT_EQ(o.Save_Frames, (std::set<int64_t>{1, 20}));
  EXPECT_EQ(o.Save_Folder, "/tmp/x");
  EXPECT_TRUE(o.Offscreen);
  EXPECT_EQ(o.Offscreen_Width, 320);
  EXPECT_EQ(o.Offscreen_Height, 240);
  EXPECT_TRUE(o.Print_Frame_Rate);
  EXPECT_EQ(o.Presses, (std::multimap<int64_t, uint8_t>{{40, 35}, {300, 13}, {300, 107}}));
}

TEST(Run_Options_Parser, XScreenSaver_Window_Choice) {
  struct Case {
    const char* Name;
    std::vector<std::string> Arguments;
    const char* Variable;
    bool Ok;
    bool Window_Id;
    Window_Handle Target;
  } cases[] = {
      {"-root with a hexadecimal variable", {"-root"}, "0x2c00007", true, false, 0x2c00007},
      {"--root with a decimal variable", {"--root"}, "4194311", true, false, 4194311},
      {"-root without the variable", {"-root"}, nullptr, false, false, 0},
      {"-root with a variable that is not a number", {"-root"}, "window", false, false, 0},
      {"the settings program's preview", {"--root", "--window-id", "0x400002"}, "0x400002", true, true, 0x400002},
      {"-window-id alone", {"-window-id", "77"}, nullptr, true, true, 77},
      {"--window-id=ID", {"--window-id=0x10"}, nullptr, true, true, 16},
      {"--window-id without a number", {"--window-id"}, nullptr, false, false, 0},
  };
  for (const auto& c : cases) {
    Run_Options o;
    std::vector<std::string> rest;
    std::string error;
    EXPECT_EQ(Parse_Run_Options(c.Arguments, c.Variable, o, rest, &error), c.Ok) << c.Name;
    if (!c.Ok) {
      EXPECT_FALSE(error.empty()) << c.Name;
      continue;
    }
    EXPECT_TRUE(rest.empty()) << c.Name;
    EXPECT_EQ(o.Window_Id, c.Window_Id) << c.Name;
    EXPECT_EQ(o.Target_Window, c.Target) << c.Name;
  }
}

TEST(Run_Options_Parser, Bad_Values_Are_Refused) {
  for (std::vector<std::string> bad : std::vector<std::vector<std::string>>{
           {"--frames", "0"}, {"--frames", "many"}, {"--frame-ms", "-1"}, {"--frame-ms"}, {"--seed", "x"},
           {"--save-frames", "1,,3"}, {"--size", "640"}, {"--size", "0x480"},
           {"--press", "300"}, {"--press", "0:13"}, {"--press", "5:256"}, {"--press", "5:13,"}}) {
    Run_Options o;
    std::vector<std::string> rest;
    std::string error;
    EXPECT_FALSE(Parse_Run_Options(bad, nullptr, o, rest, &error)) << bad[0];
    EXPECT_FALSE(error.empty());
  }
}

TEST(Folders, Install_Folder_And_Its_Sub_Folders) {
  struct Case {
    const char* Name;
    const char* From_Store;
    bool Program_Writable;
    const char* Install;
    const char* Installed_Data;
  } cases[] = {
      {"the key store's path wins", "/opt/quenloth/", true, "/opt/quenloth/", ""},
      {"a path with a doubled separator", "/opt/quenloth//", false, "/opt/quenloth/", ""},
      {"no key: the program's folder when writable", "", true, "/home/u/saver/", ""},
      {"no key, read-only program folder: the per-user folder", "", false, "/home/u/.local/share/glowsaver/",
       "/home/u/saver/"},
  };
  for (const auto& c : cases) {
    Folder_Set f = Derive_Folders(c.From_Store, "/home/u/saver/", c.Program_Writable, "/home/u/.local/share/");
    EXPECT_EQ(f.Install, c.Install) << c.Name;
    EXPECT_EQ(f.Info, std::string(c.Install) + "Info/") << c.Name;
    EXPECT_EQ(f.Plugins, std::string(c.Install) + "Plugins/") << c.Name;
    EXPECT_EQ(f.Custom, std::string(c.Install) + "Custom/") << c.Name;
    EXPECT_EQ(f.Installed_Data, c.Installed_Data) << c.Name;
  }
}

TEST(Page_Names, Blanks_Become_Dashes_And_Letters_Lower_Case) {
  EXPECT_EQ(Make_Page_Name("Quenloth ScreenSaver"), "quenloth-screensaver");
  EXPECT_EQ(Make_Page_Name("A  B"), "a--b");
  EXPECT_EQ(Make_Page_Name(""), "");
}

TEST(Missing_Files, The_Text_Holds_Resource_String_65230_And_The_Library_Detail) {
  std::string text = Missing_Files_Text(Missing_Library_Detail());
  EXPECT_EQ(text,
            "Running Screensaver process has STOPED!  Reason :\r"
            "Some Files, Registry data, Libraries and Directories - IS  MISSING  or CORRUPT !!!\r"
            "Please Reinstall (download) Program - this is most light way to Restore!  \r\r"
            "     Can\x60t LoadLibrary :: \"ServiceFullSet.bioTarvik\"");
}

} // namespace
