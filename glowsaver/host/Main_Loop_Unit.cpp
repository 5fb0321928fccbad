#include "glowsaver/host/Main_Loop_Unit.h"

#include "glowsaver/director/FullTimersUnit.h"
#include "glowsaver/host/ALL_Variables.h"
#include "glowsaver/host/Deterministic_Run.h"
#include "glowsaver/host/Host_State.h"
#include "glowsaver/host/Keys_Unit.h"
#include "glowsaver/host/Launch_Unit.h"
#include "glowsaver/render/Compose_Frame_Unit.h"
#include "glowsaver/render/Main_OpenGL_Unit.h"
#include "glowsaver/scene/TexturesUnit.h"
#include "glowsaver/settings/Dialog_Controls.h"
#include "glowsaver/settings/AdjustmentUnit.h"
#include "platform/Platform_Clock.h"
#include "platform/Platform_Display.h"
#include "platform/Platform_Files.h"
#include "platform/Platform_Keys.h"
#include "platform/Platform_Process.h"

#include <cmath>

namespace {

constexpr int32_t Mouse_Moves_To_Exit = 40;

int Low_Word(intptr_t l) { return static_cast<int>(l & 0xFFFF); }
int High_Word(intptr_t l) { return static_cast<int>((l >> 16) & 0xFFFF); }

// Message 984 to the settings dialog that started this run: a window of
// another process, reached through the local channel.
void Send_Preview_Ended(Window_Handle dialog) {
  if (Window_Exists(dialog))
    Send_Message(dialog, WM_FULLSCREEN_PREVIEW_ENDED, 0, 0);
  else
    Channel_Send(dialog, WM_FULLSCREEN_PREVIEW_ENDED, 0, 0);
}

// After the frame's key step every key down has been seen: the releases that
// waited for it take effect now.
void Release_Seen_Keys() {
  auto& s = All;
  if (Host.Keys_Released_Unseen.any()) {
    for (size_t k = 0; k < s.Keys.size(); ++k)
      if (Host.Keys_Released_Unseen.test(k)) s.Keys[k] = False32;
    s.Key_Down = False32;
  }
  Host.Keys_Unseen.reset();
  Host.Keys_Released_Unseen.reset();
}

// One frame of the loop, drawn when the queue is empty.
void Frame_Step() {
  auto& s = All;
  s.Frames_Counted += 1;
  s.Prev_Anim_Clock = s.Anim_Clock_Ms;
  s.Anim_Clock_Ms = Next_Anim_Clock(s.Prev_Anim_Clock, Clock_Tick_Ms(), s.Loop_Start_Tick);
  if (!s.Render_Paused) {
    Compose_Frame();
    Deterministic_Before_Swap(s.GL_Window);
    Desktop().Gl_Swap_Buffers(s.GL_Window);
  }
  if (s.Key_Down) {
    if (s.Keys[VK_ESCAPE])
      s.Main_Loop_Stop = True32;
    else if (s.Keys[VK_SPACE])
      Process_Keys_Once(VK_F1); // the space bar acts as F1
    else {
      if (s.Key_Event) Process_Keys_Once(0);
      Process_Held_Keys();
    }
  }
  Release_Seen_Keys();
  Deterministic_After_Frame();
}

} // namespace

int32_t Next_Anim_Clock(int32_t previous, uint32_t tick_now, uint32_t loop_start_tick) {
  int64_t elapsed = static_cast<int64_t>(tick_now) - static_cast<int64_t>(loop_start_tick);
  int64_t sum = static_cast<int64_t>(previous) + elapsed;
  return static_cast<int32_t>(static_cast<uint32_t>(static_cast<uint64_t>(sum / 2)));
}

void Sample_Frame_Rate() {
  auto& s = All;
  s.Current_FPS = static_cast<int32_t>(std::lround(s.Frames_Counted * 1000 / 1000.0));
  s.Frames_Counted = 0;
}

void Render_Loop() {
  auto& s = All;
  // 1. (The picture mirrors work on plain pixel buffers: nothing to release.)
  s.Main_Loop_Stop = False32;
  // 2. The GL entry points are bound once the context is current (Setup_Pixel_Format).
  // 3. The window.
  if (s.Run_Mode_Fullscreen)
    s.GL_Window = Create_Fullscreen_Window(s.View_Width, s.View_Height);
  else if (s.Run_Mode_Preview)
    s.GL_Window = Create_Preview_Window(s.Preview_Parent_Window);
  else if (s.Run_Mode_Settings)
    s.GL_Window = s.Settings_Preview_Window;
  // 4. The scene; nothing more runs when it fails.
  if (!Init_Scene()) return;
  TLaunch_Form* launch = Host.Launch_Form;
  // 5. Full screen: the splash goes, the GL window comes to the front.
  if (s.Run_Mode_Fullscreen) {
    if (launch) {
      launch->SetForeground_Timer.Set_Enabled(false);
      launch->Width = launch->Height = 0;
      launch->Hide();
    }
    Desktop().Force_Foreground(s.GL_Window);
  }
  // 6. Preview: the launch form stays hidden.
  if (s.Run_Mode_Preview && launch) {
    launch->Width = launch->Height = 0;
    launch->Hide();
  }
  // 7. Settings: the dialog's preview is live.
  if (s.Run_Mode_Settings) {
    if (Host.Adjustment_Form) Host.Adjustment_Form->Preview_Started();
    Load_Preview_Skin(Settings_Controls().Adjustment.ComboBox_WatchSkins.ItemIndex + 1);
    Clock_Sleep_Ms(133);
  }
  // 8. The show starts and the tunnel travels.
  if (Host.Timers_Form) {
    Host.Timers_Form->Start_Show();
    Host.Timers_Form->Set_Tunnel_Travel(true);
  }
  // 11. The loop starts.
  s.Main_Loop_Stop = False32;
  s.Loop_Start_Tick = Clock_Tick_Ms();
  Host.Loop_Start_Us = Clock_Now_Us();
  // 12. One message or one frame per pass.
  while (!s.Main_Loop_Stop) {
    Window_Message m;
    if (Peek_Message(m)) {
      if (m.WParam == VK_F4 && Key_State_Down(VK_MENU)) break;
      if (s.App_Closing) s.Main_Loop_Stop = True32;
      if (m.Message == WM_DESTROY || m.Message == WM_CLOSE || m.Message == WM_QUIT)
        s.Main_Loop_Stop = True32;
      else
        Dispatch_Message(m);
    } else {
      Frame_Step();
    }
  }
  Deterministic_Report();
  // 13. Shutdown, in this order.
  if (s.Wallpaper_On_Exit) Capture_Wallpaper();
  if (Host.Timers_Form) Host.Timers_Form->Stop_Texture_Drifts(true);
  if (s.GL_Ready) Shutdown_GL();
  if (s.Fullscreen_From_Settings) Send_Preview_Ended(s.Preview_Parent_Window);
  if (s.Run_Mode_Fullscreen && launch) {
    launch->Hide();
    launch->Close();
  }
}

intptr_t Fullscreen_Window_Proc(const Window_Message& m) {
  auto& s = All;
  switch (m.Message) {
    case WM_SIZE: Resize_View(Low_Word(m.LParam), High_Word(m.LParam)); return 0;
    case WM_KEYDOWN:
      if (m.WParam < s.Keys.size()) {
        s.Keys[m.WParam] = True32;
        Host.Keys_Unseen.set(m.WParam);
        Host.Keys_Released_Unseen.reset(m.WParam);
      }
      s.Key_Down = True32;
      s.Key_Event = True32;
      return 0;
    case WM_KEYUP:
      // A key no frame has seen down yet is released after the next frame.
      if (m.WParam < s.Keys.size() && Host.Keys_Unseen.test(m.WParam)) {
        Host.Keys_Released_Unseen.set(m.WParam);
        return 0;
      }
      if (m.WParam < s.Keys.size()) s.Keys[m.WParam] = False32;
      // Key_Down stays for the next frame while it has presses to see.
      s.Key_Down = To_Bool32(Host.Keys_Unseen.any());
      return 0;
    case WM_TIMER:
      if (m.WParam == 1) Sample_Frame_Rate();
      return 0;
    case WM_MOUSEMOVE:
      if (s.Exit_On_Mouse_Move) {
        s.Mouse_Move_Count += 1;
        if (s.Mouse_Move_Count == Mouse_Moves_To_Exit) Post_Message(m.Window, WM_QUIT, 0, 0);
      }
      return 0;
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
    case WM_MOUSEWHEEL:
      if (s.Exit_On_Mouse_Move) Post_Message(m.Window, WM_QUIT, 0, 0);
      return 0;
    default: return Default_Window_Proc(m);
  }
}

intptr_t Preview_Window_Proc(const Window_Message& m) {
  auto& s = All;
  switch (m.Message) {
    case WM_DESTROY:
    case WM_CLOSE:
    case WM_QUIT:
      // The parent is gone: remove the movie and shape files (they live in
      // this run's own folder) and end at once, saving nothing.
      Halt_Process(0);
    case WM_SIZE:
      // A parent that changes size (XScreenSaver's preview) is followed.
      s.View_Width = Low_Word(m.LParam);
      s.View_Height = High_Word(m.LParam);
      if (s.GL_Ready) Resize_View(s.View_Width, s.View_Height);
      return 0;
    default: return Default_Window_Proc(m);
  }
}
