#include "glowsaver/host/Launch_Unit.h"

#include "glowsaver/host/ALL_Variables.h"
#include "glowsaver/host/Host_State.h"
#include "glowsaver/host/Main_Loop_Unit.h"
#include "glowsaver/host/Random_Unit.h"
#include "glowsaver/host/WinMainUnit.h"
#include "glowsaver/settings/AdjustmentUnit.h"
#include "platform/Platform_Display.h"
#include "platform/Platform_Files.h"
#include "platform/Resource_Module.h"

TLaunch_Form::TLaunch_Form() : Handle_(Window_New_Handle()) {
  Window_Set_Proc(Handle_, Default_Window_Proc);
  FormCreate();
}

TLaunch_Form::~TLaunch_Form() { Window_Remove(Handle_); }

void TLaunch_Form::FormCreate() {
  auto& s = All;
  Randomize();
  s.Current_Skins_Pack = 1;
  if (s.Run_Mode_Preview) {
    Tardy_FrameWork_Timer.Set_Enabled(true);
    int w = 0, h = 0;
    if (Host.Options.Offscreen) {
      w = Host.Options.Offscreen_Width;
      h = Host.Options.Offscreen_Height;
    } else {
      Desktop().Window_Size(s.Preview_Parent_Window, w, h);
    }
    s.View_Width = w;
    s.View_Height = h;
    Width = Height = 0;
    return;
  }
  if (s.Run_Mode_Fullscreen) {
    int w = 0, h = 0, bpp = 0;
    Desktop().Screen_Metrics(w, h, bpp);
    // Drawing into a given window (XScreenSaver) or offscreen: its size is the screen.
    if (Host.Options.Offscreen) {
      w = Host.Options.Offscreen_Width;
      h = Host.Options.Offscreen_Height;
    } else if (Host.Options.Root) {
      Desktop().Window_Size(Host.Options.Target_Window, w, h);
    }
    s.Desktop_Bpp = bpp;
    s.Desktop_Width = w;
    s.Desktop_Height = h;
    s.View_Width = s.Desktop_Width;
    s.View_Height = s.Desktop_Height;
    s.View_Center_X = s.View_Width / 2;
    s.View_Center_Y = s.View_Height / 2;
    Width = s.View_Width;
    Height = s.View_Height;
    Visible_ = true;
  }
}

void TLaunch_Form::FormShow() {
  if (All.Run_Mode_Fullscreen) Main_POOL_Timer.Set_Enabled(true);
}

void TLaunch_Form::Hide() { Visible_ = false; }

void TLaunch_Form::Tardy_FrameWork_TimerTimer() {
  auto& s = All;
  Text_Style style;
  style.Family = "Verdana";
  style.Point_Size = 10;
  style.Bold = true;
  style.Color_Rgb = 0xFFFF00;
  style.Background_Rgb = 0x000000;
  if (!Host.Options.Offscreen) Desktop().Draw_Text(s.Preview_Parent_Window, 40, 90, "processing ...", style);
  s.Preview_Wait_Ticks += 1;
  if (s.Preview_Wait_Ticks == 7) {
    Tardy_FrameWork_Timer.Set_Enabled(false);
    Main_POOL_Timer.Set_Enabled(true);
  }
}

void TLaunch_Form::Main_POOL_TimerTimer() {
  auto& s = All;
  Main_POOL_Timer.Set_Enabled(false);
  if (s.Run_Mode_Preview || s.Run_Mode_Settings) {
    Tardy_FrameWork_Timer.Set_Enabled(false);
    Render_Loop();
    // A run asked to end (a signal, the frame limit) ends here; otherwise a
    // preview waits for its parent to go.
    if (Host.Termination_Requested) {
      if (Host.Adjustment_Form)
        Host.Adjustment_Form->Close();
      else
        Close();
    }
    return;
  }
  SetForeground_Timer.Set_Enabled(true);
  Desktop().Force_Foreground(Handle_);
  Render_Loop();
}

void TLaunch_Form::SetForeground_TimerTimer() {
  if (!All.Run_Mode_Preview) Desktop().Force_Foreground(Handle_);
}

void TLaunch_Form::Close() {
  if (Closed_) return;
  Closed_ = true;
  FormClose();
}

void TLaunch_Form::FormClose() {
  auto& s = All;
  Desktop().Show_Cursor(true);
  s.App_Closing = True32;
  s.Main_Loop_Stop = True32;
  // The resource library is freed with the form.
  Host.Resource_Library.reset();
  s.Resource_Library = 0;
  // The temporary movie file and the shape files live in this run's own folder.
  Remove_Process_Temp_Folder();
  Application_Terminate();
}
