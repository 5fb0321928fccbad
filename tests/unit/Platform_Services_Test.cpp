// Platform services: key codes, the key store, crash-safe writes, and the
// local channel between processes.
#include "platform/Key_Store.h"
#include "platform/Platform_Files.h"
#include "platform/Platform_Keys.h"
#include "platform/Platform_Messages.h"
#include "platform/Platform_Process.h"

#include <gtest/gtest.h>

#include "Unit_Test_Support.h"

#include <signal.h>
#include <sys/resource.h>
#include <unistd.h>

#include <Qt>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace {

TEST(Virtual_Keys, Qt_Keys_Map_To_The_Codes_The_Commands_Use) {
  struct Case {
    const char* Name;
    int Qt_Key;
    bool Keypad;
    uint32_t Code;
  } cases[] = {
      {"Esc", Qt::Key_Escape, false, 27},     {"space", Qt::Key_Space, false, 32},
      {"Enter", Qt::Key_Return, false, 13},   {"keypad Enter", Qt::Key_Enter, true, 13},
      {"F1", Qt::Key_F1, false, 112},         {"F4", Qt::Key_F4, false, 115},
      {"F5", Qt::Key_F5, false, 116},         {"letter", Qt::Key_T, false, 'T'},
      {"digit", Qt::Key_4, false, '4'},       {"shifted 1 is the 1 key", Qt::Key_Exclam, false, '1'},
      {"shifted 4 is the 4 key", Qt::Key_Dollar, false, '4'}, {"Left", Qt::Key_Left, false, 37},
      {"Up", Qt::Key_Up, false, 38},          {"Right", Qt::Key_Right, false, 39},
      {"Down", Qt::Key_Down, false, 40},      {"Home", Qt::Key_Home, false, 36},
      {"End", Qt::Key_End, false, 35},        {"PageUp", Qt::Key_PageUp, false, 33},
      {"Alt", Qt::Key_Alt, false, 18},        {"Ctrl", Qt::Key_Control, false, 17},
      {"Shift", Qt::Key_Shift, false, 16},    {"keypad 5", Qt::Key_5, true, 101},
      {"keypad plus", Qt::Key_Plus, true, 107}, {"plus on the main keys", Qt::Key_Plus, false, 187},
      {"minus on the main keys", Qt::Key_Minus, false, 189}, {"unknown key", Qt::Key_MediaPlay, false, 0},
  };
  for (const auto& c : cases) EXPECT_EQ(Virtual_Key_From_Qt(c.Qt_Key, c.Keypad), c.Code) << c.Name;
}

class Key_Store_Test : public ::testing::Test {
 protected:
  Scratch_Folder Folder;
  void SetUp() override { setenv("GLOWSAVER_KEY_STORE", (Folder.Path + "/Registry.ini").c_str(), 1); }
  void TearDown() override { unsetenv("GLOWSAVER_KEY_STORE"); }
};

TEST_F(Key_Store_Test, Missing_File_Key_Or_Value_Reads_As_Nothing) {
  EXPECT_FALSE(Key_Store_Read("HKEY_CURRENT_USER\\SOFTWARE\\Tarvik\\Quenloth", "Path"));
  ASSERT_TRUE(Key_Store_Write("HKEY_CURRENT_USER\\SOFTWARE\\Tarvik\\Quenloth", "Other", "1"));
  EXPECT_FALSE(Key_Store_Read("HKEY_CURRENT_USER\\SOFTWARE\\Tarvik\\Quenloth", "Path"));
  EXPECT_FALSE(Key_Store_Read("HKEY_CURRENT_USER\\SOFTWARE\\Elsewhere", "Other"));
}

TEST_F(Key_Store_Test, Values_Round_Trip_With_Case_Insensitive_Keys_And_Names) {
  ASSERT_TRUE(Key_Store_Write("HKEY_CURRENT_USER\\SOFTWARE\\Tarvik\\Quenloth", "Path", "/opt/q"));
  ASSERT_TRUE(Key_Store_Write("HKEY_CURRENT_USER\\Control Panel\\Desktop", "Wallpaper", "/w.bmp"));
  ASSERT_TRUE(Key_Store_Write("hkey_current_user\\software\\tarvik\\quenloth", "PATH", "/opt/new path"));
  EXPECT_EQ(Key_Store_Read("HKEY_CURRENT_USER\\SOFTWARE\\Tarvik\\Quenloth", "path"), "/opt/new path");
  EXPECT_EQ(Key_Store_Read("HKEY_CURRENT_USER\\Control Panel\\Desktop", "Wallpaper"), "/w.bmp");
  // Rewritten in place: the file holds the key and the value once.
  std::string text = Read_All(Key_Store_Path());
  auto count = [&](const std::string& part) {
    size_t n = 0;
    for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++n;
    return n;
  };
  EXPECT_EQ(count("Tarvik\\Quenloth]"), 1u) << text;
  EXPECT_EQ(count("/opt/"), 1u) << text;
}

// Writes with the file size limited to `limit` bytes: the write fails part-way,
// as on a full disk.
bool Write_With_Size_Limit(const std::string& path, const std::string& bytes, rlim_t limit) {
  struct rlimit old_limit;
  getrlimit(RLIMIT_FSIZE, &old_limit);
  struct rlimit small = old_limit;
  small.rlim_cur = limit;
  auto old_handler = signal(SIGXFSZ, SIG_IGN);
  setrlimit(RLIMIT_FSIZE, &small);
  std::string error;
  bool ok = Write_File_Atomically(path, bytes, &error);
  setrlimit(RLIMIT_FSIZE, &old_limit);
  signal(SIGXFSZ, old_handler);
  return ok;
}

TEST(Atomic_Write, A_Write_That_Fails_Part_Way_Leaves_The_Old_File_Whole) {
  Scratch_Folder folder;
  std::string path = folder.Path + "/Config.navigator";
  std::string old_text(3000, 'o');
  ASSERT_TRUE(Write_File_Atomically(path, old_text, nullptr));
  EXPECT_FALSE(Write_With_Size_Limit(path, std::string(100000, 'n'), 4096));
  EXPECT_EQ(Read_All(path), old_text);
  // No half-written temporary file is left beside it.
  int files = 0;
  for (auto& e : std::filesystem::directory_iterator(folder.Path)) files += e.is_regular_file();
  EXPECT_EQ(files, 1);
}

TEST(Atomic_Write, Makes_Parent_Folders_And_Replaces_The_Whole_File) {
  Scratch_Folder folder;
  std::string path = folder.Path + "/a/b/file.txt";
  ASSERT_TRUE(Write_File_Atomically(path, "long old content", nullptr));
  ASSERT_TRUE(Write_File_Atomically(path, "new", nullptr));
  EXPECT_EQ(Read_All(path), "new");
}

TEST(Atomic_Write, An_Unwritable_Place_Reports_Why) {
  Scratch_Folder folder;
  std::string blocker = folder.Path + "/not-a-folder";
  ASSERT_TRUE(Write_File_Atomically(blocker, "x", nullptr));
  std::string error;
  EXPECT_FALSE(Write_File_Atomically(blocker + "/file.txt", "y", &error));
  EXPECT_NE(error.find("not-a-folder"), std::string::npos) << error;
}

TEST(Offered_Files, The_User_Folder_Links_Installed_Files_And_Keeps_Its_Own) {
  Scratch_Folder installed, user;
  ASSERT_TRUE(Write_File_Atomically(installed.Path + "/ServiceFullSet.bioTarvik", "lib", nullptr));
  ASSERT_TRUE(Write_File_Atomically(installed.Path + "/Song theme1.dmt", "song", nullptr));
  ASSERT_TRUE(Write_File_Atomically(user.Path + "/Plugins/Song theme1.dmt", "mine", nullptr));
  Offer_Installed_Files(installed.Path + "/", user.Path + "/Plugins/");
  Offer_Installed_Files(installed.Path + "/", user.Path + "/Plugins/"); // again: nothing changes
  EXPECT_EQ(Read_All(user.Path + "/Plugins/ServiceFullSet.bioTarvik"), "lib");
  EXPECT_EQ(Read_All(user.Path + "/Plugins/Song theme1.dmt"), "mine");
}

TEST(Local_Channel, A_Message_Reaches_The_Listening_Window_Once) {
  Messages_Reset();
  Window_Handle dialog = Window_New_Handle();
  std::vector<Window_Message> got;
  Window_Set_Proc(dialog, [&](const Window_Message& m) {
    got.push_back(m);
    return intptr_t{0};
  });
  ASSERT_TRUE(Channel_Listen(dialog));
  EXPECT_TRUE(Channel_Send(dialog, WM_FULLSCREEN_PREVIEW_ENDED, 0, 0));
  Window_Message m;
  ASSERT_TRUE(Peek_Message(m)); // the datagram is in the socket at once
  Dispatch_Message(m);
  EXPECT_FALSE(Peek_Message(m));
  ASSERT_EQ(got.size(), 1u);
  EXPECT_EQ(got[0].Message, 984u);
  EXPECT_EQ(got[0].WParam, 0u);
  EXPECT_EQ(got[0].LParam, 0);
  Channel_Stop_Listening(dialog);
  EXPECT_FALSE(Channel_Send(dialog, WM_FULLSCREEN_PREVIEW_ENDED, 0, 0)) << "nobody listens any more";
  Window_Remove(dialog);
}

TEST(Process_Folder, Is_This_Process_Own_And_Goes_Whole_With_What_It_Holds) {
  namespace fs = std::filesystem;
  Scratch_Folder cache;
  Remove_Process_Temp_Folder(); // a folder an earlier test made
  setenv("XDG_CACHE_HOME", cache.Path.c_str(), 1);
  const std::string folder = Process_Temp_Folder();
  EXPECT_EQ(folder, cache.Path + "/glowsaver/run-" + std::to_string(getpid()) + "/");
  ASSERT_TRUE(fs::is_directory(folder));
  // Flat files as the run writes them, plus a folder inside, with more
  // entries than one directory read returns.
  for (int n = 0; n < 300; ++n) std::ofstream(folder + "file-with-a-longer-name-" + std::to_string(n) + ".txt") << n;
  fs::create_directories(folder + "inner/deeper");
  std::ofstream(folder + "inner/deeper/shape.txt") << "x";
  Remove_Process_Temp_Folder();
  EXPECT_FALSE(fs::exists(folder));
  EXPECT_TRUE(fs::is_directory(cache.Path + "/glowsaver")) << "only the run's own folder goes";
  unsetenv("XDG_CACHE_HOME");
}

} // namespace
