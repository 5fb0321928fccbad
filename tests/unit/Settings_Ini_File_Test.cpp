// The private-profile reader and writer: numbers, flags, names without case,
// where writes land, and writes the system refuses.
#include "glowsaver/settings/Ini_File.h"

#include <gtest/gtest.h>

#include "Unit_Test_Support.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <functional>
#include <optional>
#include <sstream>

namespace {

TEST(Ini_Integer, Decimal_Or_Hexadecimal_With_Sign_Else_Nothing) {
  struct Case {
    const char* Name;
    const char* Text;
    std::optional<int32_t> Value;
  } cases[] = {
      {"decimal", "42", 42},
      {"negative", "-20", -20},
      {"plus sign", "+7", 7},
      {"0x hexadecimal", "0x1F", 31},
      {"0X with lower digits", "0X1f", 31},
      {"$ hexadecimal", "$10", 16},
      {"negative hexadecimal", "-$10", -16},
      {"all 32 bits of hexadecimal", "$FFFFFFFF", -1},
      {"largest decimal", "2147483647", 2147483647},
      {"smallest decimal", "-2147483648", INT32_MIN},
      {"decimal beyond 32 bits", "2147483648", std::nullopt},
      {"hexadecimal beyond 32 bits", "0x100000000", std::nullopt},
      {"empty", "", std::nullopt},
      {"sign alone", "-", std::nullopt},
      {"0x alone", "0x", std::nullopt},
      {"$ alone", "$", std::nullopt},
      {"trailing letters", "12abc", std::nullopt},
      {"hexadecimal digits without a prefix", "1F", std::nullopt},
      {"space inside", "1 2", std::nullopt},
      {"decimal point", "1.5", std::nullopt},
  };
  for (const auto& c : cases) EXPECT_EQ(Ini_Parse_Integer(c.Text), c.Value) << c.Name;
}

class Ini_File_Test : public ::testing::Test {
 protected:
  Scratch_Folder Folder;
  std::string Path = Folder.Path + "/Config.navigator";
};

TEST_F(Ini_File_Test, Reads_Names_Without_Case_Values_Raw_And_The_First_Of_Twins) {
  Write_All(Path,
            "; a comment line\r\n"
            "[Adjustment_Form_Section]\r\n"
            "CheckBox_NoMusic / Cheked or Not=1\r\n"
            "  Spaced Key  =  spaced value  \n"  // LF alone
            "Empty=\r\n"
            "Quoted=\"a b\"\r\n"
            "Path=/x/y=z.mp3\r\n"
            "Twin=first\r\n"
            "Twin=second\r\n"
            "[Other]\r\n"
            "Only_Other=7\r\n"
            "[adjustment_form_section]\r\n"
            "Late=1");  // no line end at all
  Ini_File ini(Path);
  struct Case {
    const char* Name;
    const char* Section;
    const char* Key;
    const char* Expected;
  } cases[] = {
      {"exact names", "Adjustment_Form_Section", "CheckBox_NoMusic / Cheked or Not", "1"},
      {"section and key in other case", "ADJUSTMENT_FORM_SECTION", "checkbox_nomusic / CHEKED OR NOT", "1"},
      {"spaces around key and value are not part of them", "Adjustment_Form_Section", "Spaced Key", "spaced value"},
      {"a present empty value is empty, not the default", "Adjustment_Form_Section", "Empty", ""},
      {"a quoted value loses its quotes", "Adjustment_Form_Section", "Quoted", "a b"},
      {"an equals sign inside the value stays", "Adjustment_Form_Section", "Path", "/x/y=z.mp3"},
      {"the first of two equal keys counts", "Adjustment_Form_Section", "Twin", "first"},
      {"a key of another section is not seen", "Adjustment_Form_Section", "Only_Other", "default"},
      {"the first of two equal sections counts", "Adjustment_Form_Section", "Late", "default"},
      {"missing key", "Adjustment_Form_Section", "Nothing", "default"},
      {"missing section", "Nowhere", "CheckBox_NoMusic / Cheked or Not", "default"},
      {"a comment is no key", "Adjustment_Form_Section", "; a comment line", "default"},
  };
  for (const auto& c : cases) EXPECT_EQ(ini.Read_String(c.Section, c.Key, "default"), c.Expected) << c.Name;
}

TEST_F(Ini_File_Test, Integers_And_The_Two_Kinds_Of_Flag) {
  Write_All(Path, "[S]\r\nTwo=2\r\nOne=1\r\nZero=0\r\nMinus=-1\r\nHex=0x10\r\nDollar=$ff\r\nBad=12abc\r\nEmpty=\r\n");
  Ini_File ini(Path);
  struct Case {
    const char* Name;
    const char* Key;
    int32_t Default;
    int32_t Integer;
    bool Check, Bool;
  } cases[] = {
      {"2: a bool key is true, a check key false", "Two", 0, 2, false, true},
      {"1: both true", "One", 0, 1, true, true},
      {"0: both false", "Zero", 1, 0, false, false},
      {"-1: bool true, check false", "Minus", 0, -1, false, true},
      {"0x hexadecimal", "Hex", 0, 16, false, true},
      {"$ hexadecimal", "Dollar", 0, 255, false, true},
      {"unparsable: the default", "Bad", 1, 1, true, true},
      {"empty: the default", "Empty", 0, 0, false, false},
      {"missing, default 1", "Missing", 1, 1, true, true},
      {"missing, default 0", "Missing", 0, 0, false, false},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ini.Read_Integer("S", c.Key, c.Default), c.Integer) << c.Name;
    EXPECT_EQ(ini.Read_Check("S", c.Key, c.Default), c.Check) << c.Name;
    EXPECT_EQ(ini.Read_Bool("S", c.Key, c.Default != 0), c.Bool) << c.Name;
  }
}

TEST_F(Ini_File_Test, New_Keys_End_Their_Section_New_Sections_End_The_File_Old_Keys_Stay_Put) {
  Write_All(Path, "[A]\nx=1\ny=2\n\n[B]\nz=3\n");
  Ini_File ini(Path);
  ini.Write_Integer("a", "new", -4);                          // end of section A, before its blank line
  ini.Write_String("A", "X", "9");                            // in place, spelled as the file spells it
  ini.Write_Bool("B", "flag", true);                          // end of B, which ends the file
  ini.Write_Bool("C", "off", false);                          // new section at the end
  ini.Write_String("C", "path", "/a b/c.mp3\r\n[Injected]");  // a value ends at its line break
  ASSERT_TRUE(ini.Write_Back(nullptr));
  EXPECT_EQ(Read_All(Path),
            "[A]\r\nx=9\r\ny=2\r\nnew=-4\r\n\r\n[B]\r\nz=3\r\nflag=1\r\n[C]\r\noff=0\r\npath=/a b/c.mp3\r\n");
}

TEST_F(Ini_File_Test, Erase_Section_Removes_Every_Section_Of_That_Name_With_Its_Keys) {
  Write_All(Path, "[Keep]\r\nk=1\r\n[Gone]\r\ng=1\r\n\r\n[Keep2]\r\nk2=2\r\n[GONE]\r\ng=2\r\n");
  Ini_File ini(Path);
  ini.Erase_Section("gone");
  EXPECT_FALSE(ini.Section_Exists("Gone"));
  EXPECT_EQ(ini.Text(), "[Keep]\r\nk=1\r\n[Keep2]\r\nk2=2\r\n");
}

TEST_F(Ini_File_Test, A_Refused_Write_Leaves_The_File_As_It_Was) {
  const std::string old_text = "[S]\r\nkey=old\r\n";
  struct Case {
    const char* Name;
    std::string Path;
    std::function<void(const std::string&)> Prepare;
    bool Old_File;  // an old file exists and must survive byte for byte
  } cases[] = {
      {"the file's folder is a regular file", Folder.Path + "/blocker/Config.navigator",
       [&](const std::string&) { Write_All(Folder.Path + "/blocker", "x"); }, false},
      {"a read-only file", Folder.Path + "/readonly.ini",
       [&](const std::string& p) {
         Write_All(p, old_text);
         chmod(p.c_str(), 0444);
       },
       true},
      {"a folder where the file should be", Folder.Path + "/folder.ini",
       [&](const std::string& p) { std::filesystem::create_directory(p); }, false},
  };
  for (const auto& c : cases) {
    c.Prepare(c.Path);
    Ini_File ini(c.Path);
    ini.Write_String("S", "key", "new");
    std::string reason;
    EXPECT_FALSE(ini.Write_Back(&reason)) << c.Name;
    EXPECT_FALSE(reason.empty()) << c.Name;
    if (c.Old_File) {
      EXPECT_EQ(Read_All(c.Path), old_text) << c.Name;
    }
    EXPECT_EQ(Ini_Write_Error_Text(c.Path), "Unable to write to " + c.Path) << c.Name;
  }
  EXPECT_TRUE(std::filesystem::is_directory(Folder.Path + "/folder.ini")) << "the folder is left alone";
}

}  // namespace
