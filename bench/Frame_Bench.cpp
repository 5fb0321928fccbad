// Frame_Bench: the cost of the real frame, kind by kind (style 1, style 2, a
// style cross-fade, a skin cross-fade), full screen under Xvfb with Mesa's
// llvmpipe at 1280x720 and 1920x1080, next to the same layers drawn plainly
// in the same run: a full-window textured quad per layer, and for the tube
// the background quad plus a 13x39 textured tube, each layer opaque or
// blended as the frame's own (the fill-rate limit). The ratio is frame / limit. The processor time per frame outside the GL driver
// is Compose_Frame with the GL entry points set to stubs that do nothing.
// Prints figures; asserts nothing.
//
// Usage: frame_bench [frames]   (GLOWSAVER_TREE names the install tree)
#include "E2e_Support.h"
#include "glowsaver/host/ALL_Variables.h"
#include "glowsaver/host/Host_State.h"
#include "glowsaver/host/Random_Unit.h"
#include "glowsaver/render/Compose_Frame_Unit.h"
#include "glowsaver/render/Main_OpenGL_Unit.h"
#include "glowsaver/render/Tunnel_Unit.h"
#include "glowsaver/scene/Picture_Mirrors.h"
#include "glowsaver/scene/TexturesUnit.h"
#include "platform/Jpeg_Decoder.h"
#include "platform/Platform_Display.h"
#include "platform/Platform_GL.h"
#include "platform/Resource_Module.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <functional>
#include <string>
#include <vector>

namespace {

constexpr int Runs = 5;

struct Frame_Kind {
  const char* Name;
  std::function<void()> Set_State; // the show's variables for this kind of frame
  std::function<void()> Draw_Limit; // the same layers drawn plainly
};

double Seconds_Now() {
  return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

double Thread_Cpu_Seconds() {
  timespec t{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
  return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) / 1e9;
}

uint32_t Skin_Texture(const Resource_Module& library, const char* name) {
  auto bytes = library.Read("JPEG", name);
  if (!bytes) return 0;
  auto picture = Decode_Jpeg(*bytes);
  if (!picture) return 0;
  // As the loader makes tunnel skins: mirror-tiled, 32 bits.
  Pixel_Picture tiled = Texture_Mirror_Tile(*picture);
  Picture_Set_Bits_Per_Pixel(tiled, 32);
  return Texture_From_Bitmap(tiled);
}

// The layers of a limit frame: the background plate as the frame draws it
// (Draw_Background), a textured quad over the whole window per further layer,
// and the style-1 tube plainly.

// A textured quad over the whole window, opaque or blended half and half.
void Plain_Window_Quad(uint32_t texture, bool blended) {
  Gl.PushMatrix();
  Gl.LoadIdentity();
  Gl.Translatef(0, 0, -2);
  Gl.BindTexture(GL_TEXTURE_2D, texture);
  Gl.Enable(GL_TEXTURE_2D);
  Gl.DepthFunc(GL_LEQUAL);
  if (blended) {
    Gl.BlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    Gl.Enable(GL_BLEND);
  } else {
    Gl.Disable(GL_BLEND);
  }
  Gl.Color4f(1, 1, 1, 0.5f);
  Gl.Begin(GL_QUADS);
  Gl.TexCoord2f(0, 0), Gl.Vertex3f(-2, -1.5f, 0);
  Gl.TexCoord2f(1, 0), Gl.Vertex3f(2, -1.5f, 0);
  Gl.TexCoord2f(1, 1), Gl.Vertex3f(2, 1.5f, 0);
  Gl.TexCoord2f(0, 1), Gl.Vertex3f(-2, 1.5f, 0);
  Gl.End();
  Gl.Disable(GL_BLEND);
  Gl.DepthFunc(GL_LESS);
  Gl.PopMatrix();
}

// The style-1 tube as one batch: same grid, no per-slice colours; opaque, or
// blended half and half when the frame blends its tube layer too. A second
// layer on the same surface passes with GL_LEQUAL.
void Plain_Tube(uint32_t texture, bool blended = false, GLenum depth_func = GL_LESS) {
  const auto& g = Tunnel().Style1_Grid;
  Gl.DepthFunc(depth_func);
  Gl.PushMatrix();
  Gl.Translatef(0, 0, -4.2f);
  Animate_Style1_Grid();
  Gl.BindTexture(GL_TEXTURE_2D, texture);
  Gl.Enable(GL_TEXTURE_2D);
  if (blended) {
    Gl.BlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    Gl.Enable(GL_BLEND);
  } else {
    Gl.Disable(GL_BLEND);
  }
  Gl.Color4f(1, 1, 1, blended ? 0.5f : 1.0f);
  Gl.Begin(GL_QUADS);
  for (int k = 0; k <= 37; ++k)
    for (int m = 0; m <= 11; ++m) {
      const float s0 = static_cast<float>(m) / 12, s1 = static_cast<float>(m + 1) / 12;
      const float t0 = static_cast<float>(k) / 32, t1 = static_cast<float>(k + 1) / 32;
      Gl.TexCoord2f(s0, t0), Gl.Vertex3fv(g[m][k]);
      Gl.TexCoord2f(s1, t0), Gl.Vertex3fv(g[m + 1][k]);
      Gl.TexCoord2f(s1, t1), Gl.Vertex3fv(g[m + 1][k + 1]);
      Gl.TexCoord2f(s0, t1), Gl.Vertex3fv(g[m][k + 1]);
    }
  Gl.End();
  Gl.Disable(GL_BLEND);
  Gl.DepthFunc(GL_LESS);
  Gl.PopMatrix();
}

void Reset_Show_State() {
  auto& s = All;
  s.Intro_Finished = True32;
  s.Tunnel_Tinted = False32;
  s.Particles_On = False32;
  s.Skin_Blend_Idle = s.Style_Blend_Idle = True32;
  s.Draw_Style1_A = s.Draw_Style1_B = s.Draw_Style2_A = s.Draw_Style2_B = False32;
  s.Style1_Grid_Frozen = False32;
  s.Blend_Alpha = 1.0f;
  s.Style_Morph = 1.15f;
  s.Far_Param = 1.0f;
  s.V_Coord = 1.0f;
}

std::vector<Frame_Kind> Frame_Kinds(uint32_t skin_a, uint32_t skin_b) {
  auto& s = All;
  const auto skin_fade = [&s] {
    Reset_Show_State();
    s.Skin_Blend_Idle = False32;
    s.Draw_Style1_A = s.Draw_Style1_B = True32;
    s.Blend_Alpha = 0.5f;
  };
  return {
      {"style 1",
       [&s] {
         Reset_Show_State();
         s.Draw_Style1_A = True32;
       },
       [=] {
         Draw_Background();
         Plain_Tube(skin_a);
       }},
      {"style 2",
       [&s] {
         Reset_Show_State();
         s.Draw_Style2_A = True32;
         s.Style1_Grid_Frozen = True32;
         s.Style_Morph = 0.0f; // the whirlpool as a swap leaves it
       },
       [=] {
         Draw_Background();
         Plain_Window_Quad(skin_a, false);
       }},
      {"style cross-fade",
       [&s] {
         Reset_Show_State();
         s.Style_Blend_Idle = False32;
         s.Draw_Style1_A = s.Draw_Style2_A = True32;
         s.Style_Morph = 0.6f;
         s.Blend_Alpha = 0.5f;
       },
       [=] {
         Draw_Background();
         Plain_Tube(skin_a, true);
         Plain_Window_Quad(skin_a, true);
       }},
      {"skin cross-fade", skin_fade,
       [=] {
         Draw_Background();
         Plain_Tube(skin_a, true);
         Plain_Window_Quad(skin_b, true);
       }},
      // The second skin layer is a tube too: 912 triangles to set up where
      // the limit's quad has 2. This limit draws both layers as plain tubes.
      {"  (tube limit)", skin_fade,
       [=] {
         Draw_Background();
         Plain_Tube(skin_a, true);
         Plain_Tube(skin_b, true, GL_LEQUAL);
       }},
  };
}

// Milliseconds per frame of `draw` followed by the swap, over `frames` frames.
double Ms_Per_Frame(const std::function<void()>& draw, int frames) {
  auto& s = All;
  for (int n = 0; n < 3; ++n) {
    draw();
    Desktop().Gl_Swap_Buffers(s.GL_Window);
  }
  Gl.Finish();
  const double start = Seconds_Now();
  for (int n = 0; n < frames; ++n) {
    draw();
    Desktop().Gl_Swap_Buffers(s.GL_Window);
  }
  Gl.Finish();
  return (Seconds_Now() - start) * 1000.0 / frames;
}

// The frame and its limit measured in turns, so that a change in the
// machine's load touches both; the best run of each counts.
std::pair<double, double> Frame_And_Limit_Ms(const std::function<void()>& frame, const std::function<void()>& limit,
                                             int frames) {
  double best_frame = 1e9, best_limit = 1e9;
  for (int run = 0; run < Runs; ++run) {
    best_frame = std::min(best_frame, Ms_Per_Frame(frame, frames));
    best_limit = std::min(best_limit, Ms_Per_Frame(limit, frames));
  }
  return {best_frame, best_limit};
}

void Run_Size(int width, int height, int frames, const Resource_Module& library) {
  Xvfb_Server x(width, height);
  setenv("DISPLAY", x.Display_Name().c_str(), 1);
  static int argc = 1;
  static char arg0[] = "frame_bench";
  static char* argv[] = {arg0, nullptr};
  Desktop_Use(Make_Qt_Display(argc, argv, "Quenloth ScreenSaver"));
  Reset_All_Variables();
  Host = Host_State{};
  auto& s = All;
  s.Run_Mode_Fullscreen = True32;
  s.Desktop_Bpp = 24;
  s.View_Width = width;
  s.View_Height = height;
  s.GL_Window = Create_Fullscreen_Window(width, height);
  if (!s.GL_Window || !Setup_Pixel_Format(width, height)) {
    std::printf("%dx%d: no GL window\n", width, height);
    Desktop_Use(nullptr);
    return;
  }
  Desktop().Show_Window(s.GL_Window, true);
  Gl.ClearColor(0, 0, 0, 1);
  Gl.ClearDepth(1.0);
  Gl.Enable(GL_DEPTH_TEST);
  Gl.DepthFunc(GL_LESS);
  Gl.Hint(GL_PERSPECTIVE_CORRECTION_HINT, GL_NICEST);
  Random_Set_State(11);
  Build_Tunnel_Grids();
  s.Background_Texture = Skin_Texture(library, "BCKGRND");
  const uint32_t skin_a = Skin_Texture(library, "Texx_01");
  const uint32_t skin_b = Skin_Texture(library, "Texx_02");
  s.Tunnel_Texture_A = skin_a;
  s.Tunnel_Texture_B = skin_b;

  const auto frame = [&s] {
    s.Tunnel_Phase += 0.7f;
    s.Anim_Clock_Ms += 16;
    Compose_Frame();
  };
  const auto limit_frame = [&s](const std::function<void()>& layers) {
    return [&s, layers] {
      s.Tunnel_Phase += 0.7f;
      Gl.Clear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
      Gl.LoadIdentity();
      layers();
    };
  };
  std::printf("\n%dx%d, %d frames per run, best of %d runs each, frame and limit in turns\n", width, height, frames, Runs);
  std::printf("%-18s %8s %10s %10s %8s %14s\n", "frame", "fps", "ms/frame", "limit ms", "ratio", "cpu ms (ours)");
  for (const Frame_Kind& kind : Frame_Kinds(skin_a, skin_b)) {
    kind.Set_State();
    const auto [ms, limit] = Frame_And_Limit_Ms(frame, limit_frame(kind.Draw_Limit), frames);
    // Our own processor time: the same frame with every GL entry a stub.
    Gl_Unbind();
    const int cpu_frames = 2000;
    const double cpu_start = Thread_Cpu_Seconds();
    for (int n = 0; n < cpu_frames; ++n) frame();
    const double cpu_ms = (Thread_Cpu_Seconds() - cpu_start) * 1000.0 / cpu_frames;
    Gl_Bind([](const char* name) { return Desktop().Gl_Proc_Address(name); });
    std::printf("%-18s %8.1f %10.2f %10.2f %8.2f %14.3f\n", kind.Name, 1000.0 / ms, ms, limit, ms / limit, cpu_ms);
  }
  Shutdown_GL();
  Desktop_Use(nullptr);
}

} // namespace

int main(int argc, char** argv) {
  const int frames = argc > 1 ? std::max(1, std::atoi(argv[1])) : 40;
  setenv("GLOWSAVER_TREE", GLOWSAVER_TREE_DEFAULT, 0); // the build's tree unless one is named
  setenv("LIBGL_ALWAYS_SOFTWARE", "1", 1);
  std::string error;
  auto library = Resource_Module::Open(Tree_Folder() + "/Plugins/ServiceFullSet.bioTarvik", &error);
  if (!library) {
    std::printf("no resource library: %s\n", error.c_str());
    return 1;
  }
  std::printf("frame cost, llvmpipe under Xvfb; limit = the same layers drawn plainly\n");
  for (auto [w, h] : {std::pair{1280, 720}, std::pair{1920, 1080}}) Run_Size(w, h, frames, *library);
  return 0;
}
