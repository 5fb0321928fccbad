#include "glowsaver/render/Main_OpenGL_Unit.h"

#include "glowsaver/host/ALL_Variables.h"
#include "glowsaver/host/Host_State.h"
#include "glowsaver/host/Main_Loop_Unit.h"
#include "glowsaver/host/Random_Unit.h"
#include "glowsaver/host/WinMainUnit.h"
#include "glowsaver/render/Scene_Setup_Unit.h"
#include "glowsaver/render/Tunnel_Unit.h"
#include "platform/Platform_Display.h"
#include "platform/Platform_Files.h"
#include "platform/Platform_GL.h"
#include "platform/Resource_Module.h"

#include <cstdio>

namespace {

// The frame-rate sample: system timer 1 of the GL window, every 1000 ms.
constexpr uint32_t Frame_Rate_Timer_Id = 1;
constexpr uint32_t Frame_Rate_Timer_Ms = 1000;

} // namespace

Window_Handle Create_Fullscreen_Window(int width, int height) {
  const auto& o = Host.Options;
  if (o.Offscreen) return Desktop().Create_Offscreen_Target(width, height, Fullscreen_Window_Proc);
  if (o.Root) return Desktop().Create_Child_Window(o.Target_Window, Application_Title, width, height, Fullscreen_Window_Proc);
  return Desktop().Create_Top_Level_Window(Application_Title, 0, 0, width, height, All.Stay_On_Top != 0, true,
                                           Fullscreen_Window_Proc);
}

Window_Handle Create_Preview_Window(Window_Handle parent) {
  auto& s = All;
  if (Host.Options.Offscreen) return Desktop().Create_Offscreen_Target(s.View_Width, s.View_Height, Preview_Window_Proc);
  return Desktop().Create_Child_Window(parent, Application_Title, s.View_Width, s.View_Height, Preview_Window_Proc);
}

bool Setup_Pixel_Format(int width, int height) {
  auto& s = All;
  // 1. The window stands for its device context.
  if (s.GL_Window == 0) return false;
  s.GL_DC = static_cast<uintptr_t>(s.GL_Window);
  // 2, 3. Pixel format and context: colour and depth bits from the desktop.
  Gl_Format_Request format;
  format.Color_Bits = s.Desktop_Bpp;
  format.Depth_Bits = s.Desktop_Bpp;
  format.Stencil_Bits = 8;
  format.Double_Buffer = true;
  if (!Desktop().Gl_Create_Context(s.GL_Window, format)) return false;
  s.GL_RC = s.GL_DC;
  // 4. Current, with the entry points bound.
  if (!Desktop().Gl_Make_Current(s.GL_Window)) return false;
  // Without a real context (no display) the entries keep their stubs.
  std::string missing;
  if (Desktop().Gl_Proc_Address("glClear") &&
      !Gl_Bind([](const char* name) { return Desktop().Gl_Proc_Address(name); }, &missing))
    std::fprintf(stderr, "glowsaver: GL entry points not found: %s\n", missing.c_str());
  // 5.
  Resize_View(width, height);
  return true;
}

void Resize_View(int width, int height) {
  if (height == 0) height = 1;
  Gl.Viewport(0, 0, width, height);
  Gl.MatrixMode(GL_PROJECTION);
  Gl.LoadIdentity();
  Glu.Perspective(45.0, View_Aspect, 1.0, 100.0);
  Gl.MatrixMode(GL_MODELVIEW);
  Gl.LoadIdentity();
}

bool Init_Scene() {
  auto& s = All;
  s.GL_Ready = To_Bool32(Setup_Pixel_Format(s.View_Width, s.View_Height));
  if (!s.GL_Ready && s.Run_Mode_Preview) {
    Show_Flash_Fallback(s.Preview_Parent_Window);
    return false;
  }
  // 3. The initial GL state (without a context these calls do nothing).
  Gl.ClearColor(0, 0, 0, 0);
  Gl.ShadeModel(GL_SMOOTH);
  Gl.ClearDepth(1.0);
  Gl.Enable(GL_DEPTH_TEST);
  Gl.DepthFunc(GL_LESS);
  Gl.Hint(GL_PERSPECTIVE_CORRECTION_HINT, GL_NICEST);
  Gl.AlphaFunc(GL_GREATER, 0.9f);
  s.Tunnel_Phase = 0;
  Build_Tunnel_Grids();
  // 7. Textures (the tunnel grids, shapes, blob meshes and lists come with their units).
  Setup_Scene_Objects();
  // 8. The window shows.
  Desktop().Show_Window(s.GL_Window, true);
  if (!s.Run_Mode_Preview) Desktop().Force_Foreground(s.GL_Window);
  // 9. The frame-rate sample.
  Window_Set_Timer(s.GL_Window, Frame_Rate_Timer_Id, Frame_Rate_Timer_Ms);
  return s.GL_Ready != 0;
}

void Shutdown_GL() {
  auto& s = All;
  Desktop().Gl_Done_Current();
  Gl_Unbind();
  Desktop().Gl_Delete_Context(s.GL_Window);
  s.GL_RC = 0;
  s.GL_DC = 0;
  Window_Kill_Timer(s.GL_Window, Frame_Rate_Timer_Id);
  // The preview window is left to its parent; the settings window is the dialog's.
  if (s.Run_Mode_Fullscreen) {
    Desktop().Destroy_Window(s.GL_Window);
    s.GL_Window = 0;
  }
}

bool Save_Flash_Temp_File(const std::vector<uint8_t>& movie) {
  All.Flash_Temp_File = Process_Temp_Folder() + "Wish916.PQ17";
  std::string_view bytes(reinterpret_cast<const char*>(movie.data()), movie.size());
  return Write_File_Atomically(All.Flash_Temp_File, bytes, nullptr);
}

void Show_Flash_Fallback(Window_Handle parent) {
  auto& s = All;
  static const char* const Movies[] = {"Flash_01", "Flash_tunnel", "Flash_03"};
  const char* name = Movies[RandInt(3)];
  std::optional<std::vector<uint8_t>> movie;
  if (Host.Resource_Library) movie = Host.Resource_Library->Read("SWF", name);
  if (!movie || !Save_Flash_Temp_File(*movie)) Halt_Process(0);
  if (!Desktop().Play_Movie(parent, *movie, 0, 0, s.View_Width, s.View_Height)) Halt_Process(0);
}
