#include "glowsaver/settings/AdjustmentUnit.h"

#include "glowsaver/host/ALL_Variables.h"
#include "glowsaver/host/Host_State.h"
#include "glowsaver/host/Launch_Unit.h"
#include "glowsaver/host/WinMainUnit.h"
#include "platform/Platform_Display.h"
#include "platform/Platform_Files.h"
#include "platform/Platform_Process.h"

TAdjustment_Form::TAdjustment_Form() {
  Handle_ = Desktop().Create_Top_Level_Window(Application_Title, 100, 100, Preview_Width + 40, Preview_Height + 40,
                                              false, false, [this](const Window_Message& m) { return Window_Proc(m); });
  // A full-screen run started from here reports its end to this window.
  Channel_Listen(Handle_);
}

TAdjustment_Form::~TAdjustment_Form() { Channel_Stop_Listening(Handle_); }

void TAdjustment_Form::FormShow() {
  auto& s = All;
  s.Settings_Preview_Window = Desktop().Create_Child_Window(Handle_, Application_Title, Preview_Width, Preview_Height,
                                                            Default_Window_Proc);
  s.View_Width = Preview_Width;
  s.View_Height = Preview_Height;
  int w = 0, h = 0, bpp = 0;
  if (Desktop().Screen_Metrics(w, h, bpp)) {
    s.Desktop_Width = w;
    s.Desktop_Height = h;
    s.Desktop_Bpp = bpp;
  }
  Desktop().Show_Window(Handle_, true);
  if (Host.Launch_Form) Host.Launch_Form->Main_POOL_Timer.Set_Enabled(true);
}

void TAdjustment_Form::Preview_Started() {}

intptr_t TAdjustment_Form::Window_Proc(const Window_Message& m) {
  switch (m.Message) {
    case WM_CLOSE: Close(); return 0;
    case WM_FULLSCREEN_PREVIEW_ENDED: All.Render_Paused = False32; return 0;
    default: return Default_Window_Proc(m);
  }
}

void TAdjustment_Form::Close() {
  if (Closed_) return;
  Closed_ = true;
  auto& s = All;
  s.App_Closing = True32;
  s.Main_Loop_Stop = True32;
  Free_Resource_Library();
  Remove_Process_Temp_Folder();
  Desktop().Show_Window(Handle_, false);
  Application_Terminate();
}
