#include "glowsaver/host/WinMainUnit.h"

#include "glowsaver/director/Changers_Unit.h"
#include "glowsaver/director/FullTimersUnit.h"
#include "glowsaver/host/ALL_Variables.h"
#include "glowsaver/host/Deterministic_Run.h"
#include "glowsaver/host/Launch_Unit.h"
#include "glowsaver/host/Random_Unit.h"
#include "glowsaver/settings/AdjustmentUnit.h"
#include "platform/Key_Store.h"
#include "platform/Platform_Display.h"
#include "platform/Platform_Files.h"
#include "platform/Platform_Messages.h"
#include "platform/Platform_Process.h"
#include "platform/Resource_Module.h"

#include <unistd.h>

#include <cctype>
#include <cstdio>
#include <cstdlib>

Host_State Host;

void Application_Terminate() {
  Host.Terminated = true;
  Post_Quit_Message(0);
}

void Halt_Process(int code) {
  std::fflush(stdout);
  std::fflush(stderr);
  Remove_Process_Temp_Folder();
  _exit(code);
}

void Request_Termination() {
  Host.Termination_Requested = true;
  Post_Quit_Message(0);
}

std::string Read_Install_Path() {
  auto path = Key_Store_Read(Install_Path_Key, Install_Path_Value);
  if (!path || path->empty()) return {};
  return *path + "/";
}

std::string Make_Page_Name(const std::string& title) {
  std::string name = title;
  for (char& c : name) {
    if (c == ' ') c = '-';
    c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  }
  return name;
}

Folder_Set Derive_Folders(const std::string& install_path_from_store, const std::string& program_folder,
                          bool program_folder_writable, const std::string& user_data_folder) {
  Folder_Set f;
  if (!install_path_from_store.empty()) {
    f.Install = install_path_from_store;
  } else if (program_folder_writable) {
    f.Install = program_folder;
  } else {
    f.Install = user_data_folder + "glowsaver/";
    f.Installed_Data = program_folder;
  }
  // A path from the key store may already end with a separator.
  while (f.Install.size() > 1 && f.Install.ends_with("//")) f.Install.pop_back();
  f.Info = f.Install + "Info/";
  f.Plugins = f.Install + "Plugins/";
  f.Custom = f.Install + "Custom/";
  return f;
}

std::string Missing_Files_Message() {
  // Resource string 65230, with carriage returns at its two line breaks.
  return "Running Screensaver process has STOPED!  Reason :\r"
         "Some Files, Registry data, Libraries and Directories - IS  MISSING  or CORRUPT !!!\r"
         "Please Reinstall (download) Program - this is most light way to Restore!  ";
}

std::string Missing_Files_Text(const std::string& detail) { return Missing_Files_Message() + "\r\r" + detail; }

std::string Missing_Library_Detail() {
  return std::string("     Can") + static_cast<char>(96) + "t LoadLibrary :: \"" + Resource_Library_Name + "\"";
}

void Report_Missing_Files(const std::string& detail) {
  Desktop().Show_Cursor(true);
  if (Show_Message_Box(Missing_Files_Text(detail), "Confirm", Box_Icon::Question, Box_Buttons::Yes_No) ==
      Box_Answer::Yes)
    Desktop().Open_Url(All.Product_Page_Url);
  Halt_Process(0);
}

void Bind_Resource_Library() {
  std::string error;
  Host.Resource_Library = Resource_Module::Open(All.Plugins_Folder + Resource_Library_Name, &error);
  if (!Host.Resource_Library) {
    std::fprintf(stderr, "glowsaver: resource library: %s\n", error.c_str());
    Report_Missing_Files(Missing_Library_Detail());
  }
  All.Resource_Library = reinterpret_cast<uintptr_t>(Host.Resource_Library.get());
}

void Free_Resource_Library() {
  Host.Resource_Library.reset();
  All.Resource_Library = 0;
}

std::optional<int64_t> Parse_Integer(const std::string& text) {
  size_t i = 0;
  bool negative = false;
  if (i < text.size() && (text[i] == '-' || text[i] == '+')) negative = text[i++] == '-';
  int base = 10;
  if (i < text.size() && text[i] == '$') {
    base = 16;
    ++i;
  } else if (i + 1 < text.size() && text[i] == '0' && (text[i + 1] == 'x' || text[i + 1] == 'X')) {
    base = 16;
    i += 2;
  }
  if (i >= text.size()) return std::nullopt;
  int64_t value = 0;
  for (; i < text.size(); ++i) {
    int digit = std::isdigit(static_cast<unsigned char>(text[i])) ? text[i] - '0'
                : base == 16 && std::isxdigit(static_cast<unsigned char>(text[i]))
                    ? std::tolower(static_cast<unsigned char>(text[i])) - 'a' + 10
                    : -1;
    if (digit < 0) return std::nullopt;
    value = value * base + digit;
    if (value > 0xFFFFFFFFll) return std::nullopt;
  }
  return negative ? -value : value;
}

bool Parse_Command_Line(const std::string& argument1, const std::string& argument2, std::string* error) {
  auto& s = All;
  s.Preview_Parent_Window = 0;
  if (!argument2.empty()) {
    auto value = Parse_Integer(argument2);
    if (!value) {
      if (error) *error = "The window number \"" + argument2 + "\" is not a number.";
      return false;
    }
    s.Preview_Parent_Window = static_cast<Window_Handle>(static_cast<uint32_t>(*value));
  }
  std::string word = argument1.size() > 1 ? argument1.substr(1, 1) : argument1;
  struct Row {
    const char* Word;
    const char* Mode;
  };
  static const Row Table[] = {
      {"a", "a"}, {"A", "a"}, {"c", "c"}, {"C", "c"}, {"p", "p"}, {"P", "p"}, {"r", "c"}, {"R", "c"},
      {"u", "FullScreen_from_SettingsPreview"}, {"U", "FullScreen_from_SettingsPreview"},
      {"f", "First_Launch"}, {"F", "First_Launch"}, {"9", "First_Launch"},
  };
  for (const auto& row : Table)
    if (word == row.Word) s.Run_Mode = row.Mode;
  return true;
}

bool Parse_Run_Options(const std::vector<std::string>& arguments, const char* screensaver_window,
                       Run_Options& options, std::vector<std::string>& remaining, std::string* error) {
  auto fail = [&](const std::string& why) {
    if (error) *error = why;
    return false;
  };
  auto window_number = [&](const std::string& text, Window_Handle& out) {
    auto value = Parse_Integer(text);
    if (!value || *value <= 0) return false;
    out = static_cast<Window_Handle>(static_cast<uint32_t>(*value));
    return true;
  };
  for (size_t i = 0; i < arguments.size(); ++i) {
    const std::string& a = arguments[i];
    std::string value;
    bool has_value = false;
    auto take_value = [&](const std::string& name) {
      if (a.starts_with(name + "=")) {
        value = a.substr(name.size() + 1);
        return has_value = true;
      }
      if (a == name && i + 1 < arguments.size()) {
        value = arguments[++i];
        return has_value = true;
      }
      return false;
    };
    if (a == "-root" || a == "--root") {
      options.Root = true;
    } else if (a == "-window-id" || a == "--window-id" || a.starts_with("--window-id=")) {
      if (!take_value(a.starts_with("--") ? "--window-id" : "-window-id") ||
          !window_number(value, options.Target_Window))
        return fail("--window-id needs the number of a window (decimal, or hexadecimal after 0x).");
      options.Window_Id = true;
    } else if (a.starts_with("--seed")) {
      auto n = take_value("--seed") ? Parse_Integer(value) : std::nullopt;
      if (!n || *n < 0) return fail("--seed needs a number.");
      options.Deterministic = true;
      options.Seed = static_cast<uint64_t>(*n);
    } else if (a.starts_with("--frames")) {
      auto n = take_value("--frames") ? Parse_Integer(value) : std::nullopt;
      if (!n || *n <= 0) return fail("--frames needs a number of frames above 0.");
      options.Frames = *n;
    } else if (a.starts_with("--frame-ms")) {
      char* end = nullptr;
      double ms = take_value("--frame-ms") ? std::strtod(value.c_str(), &end) : 0;
      if (!has_value || end == value.c_str() || *end || !(ms > 0 && ms < 10000))
        return fail("--frame-ms needs a frame time in milliseconds, above 0.");
      options.Frame_Ms = ms;
    } else if (a.starts_with("--save-frames")) {
      if (!take_value("--save-frames")) return fail("--save-frames needs a list of frame numbers (1,10,100).");
      size_t start = 0;
      while (start <= value.size()) {
        size_t comma = value.find(',', start);
        auto n = Parse_Integer(value.substr(start, comma == std::string::npos ? std::string::npos : comma - start));
        if (!n || *n <= 0) return fail("--save-frames needs a list of frame numbers (1,10,100).");
        options.Save_Frames.insert(*n);
        if (comma == std::string::npos) break;
        start = comma + 1;
      }
    } else if (a.starts_with("--save-dir")) {
      if (!take_value("--save-dir") || value.empty()) return fail("--save-dir needs a folder.");
      options.Save_Folder = value;
    } else if (a == "--offscreen") {
      options.Offscreen = true;
    } else if (a.starts_with("--size")) {
      int w = 0, h = 0;
      if (!take_value("--size") || std::sscanf(value.c_str(), "%dx%d", &w, &h) != 2 || w <= 0 || h <= 0 ||
          w > 16384 || h > 16384)
        return fail("--size needs a size such as 640x480.");
      options.Offscreen_Width = w;
      options.Offscreen_Height = h;
    } else if (a == "--print-frame-rate") {
      options.Print_Frame_Rate = true;
    } else if (a.starts_with("--press")) {
      const char* usage = "--press needs a list of FRAME:KEY pairs (300:13,600:107).";
      if (!take_value("--press")) return fail(usage);
      size_t start = 0;
      while (start <= value.size()) {
        size_t comma = value.find(',', start);
        std::string pair = value.substr(start, comma == std::string::npos ? std::string::npos : comma - start);
        size_t colon = pair.find(':');
        auto frame = colon == std::string::npos ? std::nullopt : Parse_Integer(pair.substr(0, colon));
        auto key = colon == std::string::npos ? std::nullopt : Parse_Integer(pair.substr(colon + 1));
        if (!frame || *frame <= 0 || !key || *key <= 0 || *key > 255) return fail(usage);
        options.Presses.emplace(*frame, static_cast<uint8_t>(*key));
        if (comma == std::string::npos) break;
        start = comma + 1;
      }
    } else {
      remaining.push_back(a);
    }
  }
  if (options.Root && !options.Window_Id) {
    if (!screensaver_window || !window_number(screensaver_window, options.Target_Window))
      return fail("-root needs the variable XSCREENSAVER_WINDOW to name a window (decimal, or hexadecimal after 0x).");
  }
  return true;
}

void Change_Saver_Password() {
  // The password of a screensaver belongs to the screen locker here; there is
  // no password dialog to call, so the mode ends silently.
}

namespace {

void Set_Folders() {
  auto& s = All;
  std::string program = Executable_Folder();
  Folder_Set f = Derive_Folders(Read_Install_Path(), program, Folder_Is_Writable(program), User_Data_Folder());
  s.Install_Folder = f.Install;
  s.Info_Folder = f.Info;
  s.Plugins_Folder = f.Plugins;
  s.Custom_Folder = f.Custom;
  if (!f.Installed_Data.empty()) {
    Offer_Installed_Files(f.Installed_Data + "Plugins/", f.Plugins);
    Offer_Installed_Files(f.Installed_Data + "Info/", f.Info);
  }
}

[[noreturn]] void Fail_Start(const std::string& why) {
  std::fprintf(stderr, "glowsaver: %s\n", why.c_str());
  if (dynamic_cast<Null_Display*>(&Desktop()) == nullptr)
    Show_Message_Box(why, "Error", Box_Icon::Error);
  Halt_Process(2);
}

// The component library's message loop: runs until the application ends.
void Application_Run() {
  Window_Message m;
  while (!Host.Terminated) {
    if (!Get_Message(m)) break;
    Dispatch_Message(m);
  }
}

} // namespace

int Glowsaver_Main(int argc, char** argv) {
  auto& s = All;
  std::vector<std::string> arguments(argv + (argc > 0 ? 1 : 0), argv + argc);
  std::vector<std::string> remaining;
  std::string error;
  bool options_ok = Parse_Run_Options(arguments, std::getenv("XSCREENSAVER_WINDOW"), Host.Options, remaining, &error);

  // 1. The application object with its title.
  if (auto qt = Make_Qt_Display(argc, argv, Application_Title))
    Desktop_Use(std::move(qt));
  else
    std::fprintf(stderr, "glowsaver: no display; running without one\n");
  if (!options_ok) Fail_Start(error);
  Deterministic_Start();
  Signals_Catch_Termination([](int) { Request_Termination(); });

  // 2. Seed the random generator from the clock.
  Randomize();
  // 3. Folders. 4. Page addresses.
  Set_Folders();
  s.Product_Page_Url = std::string(Site_Root) + Make_Page_Name(Application_Title) + ".shtml";
  s.Support_Page_Url = std::string(Site_Root) + "support.shtml";
  s.Reinstall_Page_Url = std::string(Site_Root) + "quenloth-screensaver.shtml";
  // 5. The resource library (a missing one ends the program here, in every mode).
  Bind_Resource_Library();
  // 6. The command line.
  if (!Parse_Command_Line(remaining.size() > 0 ? remaining[0] : "", remaining.size() > 1 ? remaining[1] : "",
                          &error))
    Fail_Start(error);
  // XScreenSaver's -window-id draws the way the preview does; -root the way
  // the full-screen run does, into the window it names.
  if (Host.Options.Window_Id) {
    s.Run_Mode = "p";
    s.Preview_Parent_Window = Host.Options.Target_Window;
  } else if (Host.Options.Root && s.Run_Mode != "a") {
    s.Run_Mode.clear();
  }
  // 7. The per-user folder that stands for the system's Windows folder.
  s.Windows_Folder = User_Data_Folder() + "glowsaver/";
  // 8. Post-parse.
  s.Stay_On_Top = True32;
  if (s.Run_Mode == "First_Launch") {
    s.First_Launch_Flag = True32;
    s.Run_Mode = "c";
  }
  if (s.Run_Mode == "FullScreen_from_SettingsPreview") s.Fullscreen_From_Settings = True32;

  // The preview ends at once when its parent disappears, even when the GUI
  // thread is stuck in a buffer swap.
  Desktop().Set_Parent_Lost_Fallback([] { Halt_Process(0); });

  // 9. Dispatch on the mode, then the message loop.
  if (s.Run_Mode == "a") {
    Change_Saver_Password();
    Halt_Process(0);
  } else if (s.Run_Mode == "p") {
    s.Run_Mode_Preview = True32;
    Host.Launch_Form = new TLaunch_Form();
    Host.Timers_Form = new TFULL_Timers_Form();
    Install_Changer_Handlers(*Host.Timers_Form);
  } else if (s.Run_Mode == "c") {
    s.Run_Mode_Settings = True32;
    Host.Adjustment_Form = new TAdjustment_Form();
    Host.Timers_Form = new TFULL_Timers_Form();
    Install_Changer_Handlers(*Host.Timers_Form);
    Host.Launch_Form = new TLaunch_Form();
    Host.Adjustment_Form->FormShow();
  } else {
    s.Run_Mode_Fullscreen = True32;
    Desktop().Show_Cursor(false);
    Host.Launch_Form = new TLaunch_Form();
    Host.Timers_Form = new TFULL_Timers_Form();
    Install_Changer_Handlers(*Host.Timers_Form);
  }
  if (Host.Launch_Form) Host.Launch_Form->FormShow();
  Application_Run();
  // A run asked to end before its main form closed (a signal during loading)
  // still closes it the orderly way.
  if (!Host.Terminated) {
    if (Host.Adjustment_Form)
      Host.Adjustment_Form->Close();
    else if (Host.Launch_Form)
      Host.Launch_Form->Close();
  }
  Halt_Process(0);
}
