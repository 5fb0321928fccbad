// The render loop on the null display and the virtual clock: the pass order,
// what ends the loop, the frame clock, the frame-rate sample, and the order
// of the shutdown.
#include "glowsaver/director/FullTimersUnit.h"
#include "glowsaver/host/ALL_Variables.h"
#include "glowsaver/host/Host_State.h"
#include "glowsaver/host/Launch_Unit.h"
#include "glowsaver/host/Main_Loop_Unit.h"
#include "glowsaver/settings/AdjustmentUnit.h"
#include "platform/Platform_Clock.h"
#include "platform/Platform_Display.h"
#include "platform/Platform_Process.h"
#include "platform/Resource_Module.h"

#include <gtest/gtest.h>

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstddef>
#include <cstring>
#include <filesystem>
#include <fstream>

namespace {

// The null display with hooks into the frames and the window's end.
class Test_Display : public Null_Display {
 public:
  std::function<void(int swaps)> On_Swap;
  std::function<void(Window_Handle)> On_Destroy;
  void Gl_Swap_Buffers(Window_Handle w) override {
    Null_Display::Gl_Swap_Buffers(w);
    if (On_Swap) On_Swap(Swaps);
  }
  void Destroy_Window(Window_Handle w) override {
    if (On_Destroy) On_Destroy(w);
    Null_Display::Destroy_Window(w);
  }
};

// A window that records what reaches it and when.
struct Recorder {
  Window_Handle Handle = Window_New_Handle();
  std::vector<std::pair<uint32_t, int>> Got; // message, swaps so far
  explicit Recorder(const Test_Display* display) {
    Window_Set_Proc(Handle, [this, display](const Window_Message& m) {
      Got.emplace_back(m.Message, display->Swaps);
      return intptr_t{0};
    });
  }
  ~Recorder() { Window_Remove(Handle); }
};

class Loop : public ::testing::Test {
 protected:
  Test_Display* Screen = nullptr;

  void SetUp() override {
    auto display = std::make_unique<Test_Display>();
    Screen = display.get();
    Desktop_Use(std::move(display));
    Reset_All_Variables();
    Host = Host_State{};
    Messages_Reset();
    // The settings file the launch form writes when it closes goes here.
    char folder[] = "/tmp/glowsaver-loop-XXXXXX";
    Install_Folder = mkdtemp(folder);
    All.Install_Folder = Install_Folder + "/";
    All.Plugins_Folder = All.Install_Folder + "Plugins/";
    Clock_Use_Virtual(3'600'000'000ull);
    // Each frame takes 16 ms of virtual time; a limit keeps every test finite.
    Host.Options.Deterministic = true;
    Host.Options.Frame_Ms = 16;
    Host.Options.Frames = 200;
    All.Run_Mode_Fullscreen = True32;
    Host.Launch_Form = new TLaunch_Form();
    Host.Timers_Form = new TFULL_Timers_Form();
  }
  void TearDown() override {
    delete Host.Launch_Form;
    delete Host.Timers_Form;
    delete Host.Adjustment_Form;
    Host = Host_State{};
    Messages_Reset();
    Clock_Use_Real();
    Desktop_Use(nullptr);
    std::filesystem::remove_all(Install_Folder);
  }
  std::string Install_Folder;
  // Runs `action` once, after the frame with this number has been swapped.
  void At_Frame(int frame, std::function<void()> action) {
    Screen->On_Swap = [frame, action = std::move(action)](int swaps) {
      if (swaps == frame) action();
    };
  }
};

TEST_F(Loop, Esc_Ends_The_Loop_At_The_End_Of_The_Next_Frame) {
  At_Frame(1, [] { Post_Message(All.GL_Window, WM_KEYDOWN, 27); });
  Render_Loop();
  EXPECT_EQ(Screen->Swaps, 2);
  EXPECT_TRUE(Host.Terminated) << "the launch form closed and ended the application";
  EXPECT_EQ(All.GL_Window, 0) << "the full-screen window is destroyed";
}

TEST_F(Loop, A_Key_Tapped_Between_Two_Frames_Still_Acts_Once) {
  struct Case {
    const char* Name;
    std::vector<std::pair<uint32_t, uintptr_t>> Between; // messages between frames 1 and 2
    bool Loop_Ends;          // Esc was seen
    float Steps;             // held-key steps of Left seen (texture scale down)
    bool Left_Still_Down;    // after the frames
  } cases[] = {
      {"Esc tapped", {{WM_KEYDOWN, 27}, {WM_KEYUP, 27}}, true, 0, false},
      {"Left tapped: one held-key step", {{WM_KEYDOWN, 37}, {WM_KEYUP, 37}}, false, 1, false},
      {"Left tapped, then pressed again and held", {{WM_KEYDOWN, 37}, {WM_KEYUP, 37}, {WM_KEYDOWN, 37}}, false, 2,
       true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    TearDown();
    SetUp();
    All.Help_Panel_Tex_Scale = 1.0f;
    At_Frame(1, [&c] {
      for (const auto& [message, key] : c.Between) Post_Message(All.GL_Window, message, key);
    });
    Host.Options.Frames = 3;
    Render_Loop();
    EXPECT_EQ(Screen->Swaps, c.Loop_Ends ? 2 : 3);
    EXPECT_FLOAT_EQ(All.Help_Panel_Tex_Scale, 1.0f - c.Steps * 0.02f);
    EXPECT_EQ(All.Keys[37] != 0, c.Left_Still_Down);
    EXPECT_EQ(All.Key_Down != 0, c.Left_Still_Down);
  }
}

TEST_F(Loop, Each_Pass_Takes_One_Message_Or_Draws_One_Frame) {
  Recorder r(Screen);
  At_Frame(1, [&] {
    for (int i = 0; i < 3; ++i) Post_Message(r.Handle, WM_KEYDOWN + 100, 0);
  });
  Host.Options.Frames = 3;
  Render_Loop();
  ASSERT_EQ(r.Got.size(), 3u);
  for (auto& [message, swaps] : r.Got) EXPECT_EQ(swaps, 1) << "all three before the second frame";
  EXPECT_EQ(All.Frames_Counted, 4) << "three frames counted since the initial 1";
}

TEST_F(Loop, Alt_F4_Leaves_At_Once_Without_Dispatching) {
  Recorder r(Screen);
  At_Frame(1, [&] {
    Post_Message(All.GL_Window, WM_SYSKEYDOWN, 18);
    Post_Message(r.Handle, WM_SYSKEYDOWN, 115);
    Post_Message(r.Handle, WM_KEYDOWN, 65);
  });
  Render_Loop();
  EXPECT_EQ(Screen->Swaps, 1);
  EXPECT_TRUE(r.Got.empty());
}

TEST_F(Loop, F4_Without_Alt_Does_Not_End_The_Loop) {
  At_Frame(1, [] { Post_Message(All.GL_Window, WM_KEYDOWN, 115); });
  Host.Options.Frames = 20;
  Render_Loop();
  EXPECT_EQ(Screen->Swaps, 20);
}

TEST_F(Loop, Destroy_Close_And_Quit_Stop_The_Loop_And_Are_Not_Dispatched) {
  for (uint32_t quit : {WM_DESTROY, WM_CLOSE, WM_QUIT}) {
    TearDown();
    SetUp();
    Recorder r(Screen);
    At_Frame(1, [&] { Post_Message(r.Handle, quit); });
    Render_Loop();
    EXPECT_EQ(Screen->Swaps, 1) << quit;
    EXPECT_TRUE(r.Got.empty()) << quit;
  }
}

TEST_F(Loop, App_Closing_Stops_At_The_Next_Message_Which_Is_Still_Handled) {
  Recorder r(Screen);
  At_Frame(2, [&] {
    All.App_Closing = True32;
    Post_Message(r.Handle, WM_KEYDOWN + 100);
  });
  Render_Loop();
  EXPECT_EQ(Screen->Swaps, 2);
  ASSERT_EQ(r.Got.size(), 1u);
}

TEST_F(Loop, Render_Paused_Draws_Nothing_But_Counts_Pumps_And_Checks_Keys) {
  All.Render_Paused = True32;
  int ticks = 0;
  Platform_Timer t("test", 100, [&] {
    if (++ticks == 5) Post_Message(All.GL_Window, WM_KEYDOWN, 27);
  });
  t.Set_Enabled(true);
  Render_Loop();
  EXPECT_EQ(Screen->Swaps, 0);
  EXPECT_EQ(ticks, 5) << "timers fire while paused";
  EXPECT_LT(Host.Frames_Drawn, 200) << "Esc ended it before the frame limit";
  EXPECT_GT(Host.Frames_Drawn, 30);
  EXPECT_GT(All.Anim_Clock_Ms, 0) << "the frame clock runs";
}

TEST_F(Loop, Mouse_Input_Ends_The_Run_Only_When_Asked_To) {
  struct Case {
    const char* Name;
    bool Exit_On_Mouse_Move;
    int Moves;
    uint32_t Button; // 0: none
    bool Ends_Early;
  } cases[] = {
      {"setting off: moves never end it", false, 100, 0, false},
      {"setting off: a click never ends it", false, 0, WM_LBUTTONDOWN, false},
      {"39 moves do not end it", true, 39, 0, false},
      {"the 40th move ends it", true, 40, 0, true},
      {"a right click ends it", true, 0, WM_RBUTTONDOWN, true},
      {"a middle click ends it", true, 0, WM_MBUTTONDOWN, true},
      {"a wheel turn ends it", true, 0, WM_MOUSEWHEEL, true},
  };
  for (const auto& c : cases) {
    TearDown();
    SetUp();
    Host.Options.Frames = 60;
    All.Exit_On_Mouse_Move = To_Bool32(c.Exit_On_Mouse_Move);
    // The moves arrive slowly: one per frame.
    Screen->On_Swap = [&c](int swaps) {
      if (swaps <= c.Moves) Post_Message(All.GL_Window, WM_MOUSEMOVE, 0, 0);
      if (swaps == 1 && c.Button) Post_Message(All.GL_Window, c.Button, 0, 0);
    };
    Render_Loop();
    EXPECT_EQ(Screen->Swaps < 60, c.Ends_Early) << c.Name << " (frames drawn: " << Screen->Swaps << ")";
  }
}

TEST_F(Loop, The_Frame_Rate_Sample_Counts_The_Frames_Of_Each_Second) {
  All.Frames_Counted = 57;
  Fullscreen_Window_Proc(Window_Message{0, WM_TIMER, 1, 0});
  EXPECT_EQ(All.Current_FPS, 57);
  EXPECT_EQ(All.Frames_Counted, 0);
  Fullscreen_Window_Proc(Window_Message{0, WM_TIMER, 2, 0});
  EXPECT_EQ(All.Current_FPS, 57) << "other timer ids do nothing";
  // 16 ms frames: 62.5 frames a second.
  Render_Loop();
  EXPECT_GE(All.Current_FPS, 62);
  EXPECT_LE(All.Current_FPS, 63);
}

TEST_F(Loop, The_Tunnel_Travels_On_The_Timer_The_Velocity_Setting_Chooses) {
  All.Tunnel_Speed = 0.25f;
  All.Tunnel_Velocity = -0.5f;
  Host.Options.Frames = 64; // 1.024 s
  Render_Loop();
  EXPECT_TRUE(Host.Timers_Form->Angle_Speed_Timer.Enabled());
  EXPECT_NEAR(All.Tunnel_Phase, 0.25f * 65, 0.25f * 2) << "one step per grid tick";

  TearDown();
  SetUp();
  All.Random_Velocities = False32;
  All.Tunnel_Velocity = -0.5f;
  Host.Options.Frames = 64;
  Render_Loop();
  EXPECT_TRUE(Host.Timers_Form->Angle_by_TrackBarSpeed_Timer.Enabled());
  EXPECT_FALSE(Host.Timers_Form->Angle_Speed_Timer.Enabled());
  EXPECT_LT(All.Tunnel_Phase, -30.0f);
}

// A socket in the place of the settings dialog of another process.
struct Dialog_Socket {
  int Fd = socket(AF_UNIX, SOCK_DGRAM | SOCK_NONBLOCK, 0);
  explicit Dialog_Socket(Window_Handle handle) {
    sockaddr_un a{};
    a.sun_family = AF_UNIX;
    std::string name = Channel_Name(handle);
    std::memcpy(a.sun_path + 1, name.data(), name.size());
    bind(Fd, reinterpret_cast<sockaddr*>(&a), static_cast<socklen_t>(offsetof(sockaddr_un, sun_path) + 1 + name.size()));
  }
  ~Dialog_Socket() { close(Fd); }
  // Messages waiting; each datagram starts with the message number.
  std::vector<uint32_t> Take() {
    std::vector<uint32_t> got;
    unsigned char buffer[64];
    while (recv(Fd, buffer, sizeof buffer, 0) == 24) {
      uint32_t message;
      std::memcpy(&message, buffer, 4);
      got.push_back(message);
    }
    return got;
  }
};

TEST_F(Loop, A_Run_From_The_Dialog_Sends_984_Once_After_The_GL_Shutdown) {
  const Window_Handle dialog = 0x3456789;
  Dialog_Socket socket(dialog);
  All.Fullscreen_From_Settings = True32;
  All.Preview_Parent_Window = dialog;
  std::vector<uint32_t> at_gl_shutdown;
  Screen->On_Destroy = [&](Window_Handle) { at_gl_shutdown = socket.Take(); };
  Host.Options.Frames = 5;
  Render_Loop();
  EXPECT_TRUE(at_gl_shutdown.empty()) << "nothing was sent before the GL shutdown";
  EXPECT_EQ(socket.Take(), (std::vector<uint32_t>{984}));
}

TEST_F(Loop, A_Plain_Full_Screen_Run_Sends_Nothing) {
  const Window_Handle dialog = 0x3456789;
  Dialog_Socket socket(dialog);
  All.Preview_Parent_Window = dialog;
  Host.Options.Frames = 5;
  Render_Loop();
  EXPECT_TRUE(socket.Take().empty());
}

TEST_F(Loop, No_Context_No_Loop) {
  Screen->Fail_Context = true;
  Render_Loop();
  EXPECT_EQ(Screen->Swaps, 0);
  EXPECT_FALSE(All.GL_Ready);
  EXPECT_FALSE(Host.Terminated) << "the launch form stays";
}

TEST_F(Loop, Settings_Draws_Into_The_Dialog_Preview_And_984_Resumes_It) {
  delete Host.Launch_Form;
  Host.Launch_Form = nullptr;
  All.Run_Mode_Fullscreen = False32;
  All.Run_Mode_Settings = True32;
  Host.Adjustment_Form = new TAdjustment_Form();
  Host.Adjustment_Form->FormShow();
  All.Render_Paused = True32; // a full-screen run started from the dialog is showing
  Platform_Timer other_run_ends("other run", 500, [&] {
    Channel_Send(Host.Adjustment_Form->Handle(), WM_FULLSCREEN_PREVIEW_ENDED, 0, 0);
  });
  other_run_ends.Set_Enabled(true);
  Host.Options.Frames = 100;
  Render_Loop();
  EXPECT_EQ(All.GL_Window, All.Settings_Preview_Window);
  EXPECT_FALSE(All.Render_Paused);
  EXPECT_GT(Screen->Swaps, 0);
  EXPECT_LT(Screen->Swaps, 100) << "no frames while paused";
  EXPECT_TRUE(Screen->Windows.count(All.Settings_Preview_Window)) << "the dialog's window is not destroyed";
}

TEST_F(Loop, The_Upload_Shows_On_The_Splash_In_Full_Screen_Only) {
  Host.Options.Frames = 1;
  Render_Loop();
  // The launch form is gone now; its controls kept their last state.
  TLaunch_Form* launch = Host.Launch_Form;
  EXPECT_TRUE(launch->MacProgressBar.Visible());
  EXPECT_EQ(launch->MacProgressBar.Progress(), 110);
  EXPECT_EQ(launch->glLabel_Loading.Caption(), "LOADING...");
  const Control_Bounds& bar = launch->MacProgressBar.Bounds();
  EXPECT_EQ(launch->glLabel_Loading.Bounds().Left + launch->glLabel_Loading.Bounds().Width, bar.Left + bar.Width);
  EXPECT_FALSE(launch->Visible()) << "the splash made way for the render loop";
}

TEST_F(Loop, Preview_Leaves_The_Splash_Alone_And_Has_No_Jump_Gate) {
  delete Host.Launch_Form;
  All.Run_Mode_Fullscreen = False32;
  All.Run_Mode_Preview = True32;
  All.Jump_Gate_On = True32;
  Host.Launch_Form = new TLaunch_Form();
  Host.Options.Frames = 1;
  Render_Loop();
  EXPECT_FALSE(Host.Launch_Form->MacProgressBar.Visible());
  EXPECT_EQ(Host.Launch_Form->glLabel_Loading.Caption(), "Creating Plasma 3D World...");
  EXPECT_FALSE(All.Jump_Gate_On);
  EXPECT_FALSE(All.Use_Extra_Layer);
}

TEST_F(Loop, Wallpaper_On_Exit_Leaves_The_Last_Picture_As_The_Wallpaper) {
  All.Wallpaper_On_Exit = True32;
  All.Windows_Folder = All.Install_Folder;
  setenv("GLOWSAVER_KEY_STORE", (All.Install_Folder + "keys.ini").c_str(), 1);
  Host.Options.Frames = 3;
  Render_Loop();
  unsetenv("GLOWSAVER_KEY_STORE");
  std::ifstream bmp(All.Install_Folder + "Quenloth Wallpaper.bmp", std::ios::binary);
  std::string bytes((std::istreambuf_iterator<char>(bmp)), std::istreambuf_iterator<char>());
  ASSERT_GE(bytes.size(), 54u);
  EXPECT_EQ(bytes.substr(0, 2), "BM");
  EXPECT_EQ(bytes.size(), 54u + 1024u * 768u * 3u) << "the whole screen, 24 bits per pixel";
  std::ifstream keys(All.Install_Folder + "keys.ini");
  std::string store((std::istreambuf_iterator<char>(keys)), std::istreambuf_iterator<char>());
  EXPECT_NE(store.find("Wallpaper=" + All.Install_Folder + "Quenloth Wallpaper.bmp"), std::string::npos) << store;
  EXPECT_NE(store.find("WallpaperStyle=2"), std::string::npos);
  EXPECT_FALSE(All.Wallpaper_Bitmap) << "freed once written";
}

TEST(Frame_Clock, Moves_Half_Way_As_A_64_Bit_Division_Truncated_To_32_Bits) {
  struct Case {
    const char* Name;
    int32_t Previous;
    uint32_t Now, Start;
    int32_t Expected;
  } cases[] = {
      {"first frame after one second", 0, 1000, 0, 500},
      {"half-way again", 500, 1000, 0, 750},
      {"negative sums truncate towards zero", -3, 0, 0, -1},
      {"a tick count behind the start gives a negative elapsed time", 0, 100, 300, -100},
      {"the 64-bit result is truncated to 32 bits", 2147483647, 4294967295u, 0, -1073741825},
  };
  for (const auto& c : cases) EXPECT_EQ(Next_Anim_Clock(c.Previous, c.Now, c.Start), c.Expected) << c.Name;
}

TEST(Frame_Clock, Trails_A_Steady_Frame_Interval_By_About_One_Frame_And_Catches_Up) {
  int32_t clock = 0;
  uint32_t now = 1000;
  for (int i = 0; i < 100; ++i) clock = Next_Anim_Clock(clock, now += 16, 1000);
  EXPECT_NEAR(static_cast<double>(now - 1000 - clock), 16.0, 1.0);
  now += 2000; // a stall
  for (int i = 0; i < 12; ++i) clock = Next_Anim_Clock(clock, now += 16, 1000);
  EXPECT_NEAR(static_cast<double>(now - 1000 - clock), 16.0, 1.5);
}

} // namespace
