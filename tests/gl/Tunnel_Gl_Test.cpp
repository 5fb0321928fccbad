// The frame's layers on a real context (Mesa llvmpipe under an Xvfb of the
// test's own), with small one-colour textures made here: the background
// plate with the default texture, the intro disc's additive colour, the tint
// of the fade-in, the dimmed far slices of the whirlpool, and generated
// texture coordinates. Pixels are compared within Tolerance levels.
#include <gtest/gtest.h>

#include "Gl_Test_Support.h"
#include "glowsaver/host/ALL_Variables.h"
#include "glowsaver/host/Host_State.h"
#include "glowsaver/host/Random_Unit.h"
#include "glowsaver/render/Compose_Frame_Unit.h"
#include "glowsaver/render/Main_OpenGL_Unit.h"
#include "glowsaver/render/Tunnel_Unit.h"
#include "glowsaver/scene/TexturesUnit.h"
#include "platform/Platform_Display.h"
#include "platform/Platform_GL.h"
#include "platform/Resource_Module.h"

#include <array>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace {

using Rgb = std::array<int, 3>;
using Tex_Gen_Fv = void (*)(GLenum, GLenum, const GLfloat*);

constexpr int Tolerance = 3;  // colour levels

class Tunnel_Gl : public Gl_Display_Test {
 protected:
  static void SetUpTestSuite() { Start_Display(640, 480); }
  static void TearDownTestSuite() { Stop_Display(); }
  void SetUp() override {
    ASSERT_TRUE(Have_Qt_Display());
    Reset_All_Variables();
    Host = Host_State{};
    Tunnel() = Tunnel_Geometry{};
    All.Run_Mode_Fullscreen = True32;
    Host.Options.Offscreen = true;
    All.View_Width = Width;
    All.View_Height = Height;
    All.GL_Window = Create_Fullscreen_Window(Width, Height);
    ASSERT_TRUE(Setup_Pixel_Format(Width, Height));
    // The start state of the scene set-up.
    Gl.ClearColor(0, 0, 0, 1);
    Gl.ClearDepth(1.0);
    Gl.Enable(GL_DEPTH_TEST);
    Gl.DepthFunc(GL_LESS);
    Random_Set_State(3);
    Build_Tunnel_Grids();
    // The tunnel untinted, the intro over: each test switches on what it shows.
    All.Tunnel_Tinted = False32;
    All.Intro_Finished = True32;
  }
  void TearDown() override { Shutdown_GL(); }

  // A w x h texture whose columns take the colours in turn.
  static uint32_t Texture(int w, int h, const std::vector<Rgb>& columns) {
    std::vector<uint8_t> pixels;
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x) {
        const Rgb& c = columns[static_cast<size_t>(x) % columns.size()];
        pixels.insert(pixels.end(), {static_cast<uint8_t>(c[0]), static_cast<uint8_t>(c[1]),
                                     static_cast<uint8_t>(c[2]), 255});
      }
    return Create_Texture(static_cast<uint16_t>(w), static_cast<uint16_t>(h), GL_RGBA, pixels.data());
  }
  static uint32_t Plain(Rgb c) { return Texture(1, 1, {c}); }
  // A 64 x 64 texture of opaque random colours, as busy as a skin.
  static uint32_t Noise(uint32_t seed) {
    std::vector<uint8_t> pixels;
    for (int n = 0; n < 64 * 64; ++n) {
      seed = seed * 1664525u + 1013904223u;
      pixels.insert(pixels.end(), {static_cast<uint8_t>(seed >> 24), static_cast<uint8_t>(seed >> 16),
                                   static_cast<uint8_t>(seed >> 8), 255});
    }
    return Create_Texture(64, 64, GL_RGBA, pixels.data());
  }

  Pixel_Picture Frame() {
    Compose_Frame();
    return Read_Back();
  }
  Pixel_Picture Read_Back() {
    EXPECT_EQ(Gl.GetError(), static_cast<GLenum>(GL_NO_ERROR));
    Pixel_Picture shot;
    EXPECT_TRUE(Desktop().Gl_Read_Back_Buffer(All.GL_Window, shot));
    EXPECT_EQ(shot.Width, Width);
    return shot;
  }
  // Pixel (x, y), rows from the top, as red, green, blue.
  static Rgb At(const Pixel_Picture& p, int x, int y) {
    const uint8_t* s = &p.Pixels[static_cast<size_t>((y * p.Width + x) * p.Bytes_Per_Pixel())];
    return {s[2], s[1], s[0]};
  }
  static void Expect_Near(Rgb got, Rgb want, const std::string& what) {
    for (int c = 0; c < 3; ++c) EXPECT_NEAR(got[c], want[c], Tolerance) << what << ", channel " << c;
  }

  static constexpr int Width = 320;
  static constexpr int Height = 240;
};

TEST_F(Tunnel_Gl, In_Preview_The_Background_Is_A_White_Quad_Over_The_Black_Clear) {
  All.Run_Mode_Fullscreen = False32;
  All.Run_Mode_Preview = True32;
  All.Background_Texture = 0;
  All.Draw_Style1_A = False32;
  const Pixel_Picture shot = Frame();
  for (int y = 0; y < Height; y += 17)
    for (int x = 0; x < Width; x += 23) Expect_Near(At(shot, x, y), {255, 255, 255}, "background");
}

TEST_F(Tunnel_Gl, The_Intro_Disc_Adds_Twice_Its_Colour_Over_The_Tunnel) {
  All.Tunnel_Texture_A = Plain({100, 100, 100});
  All.StarBurst_Texture = Plain({255, 255, 255});
  All.StarBurst_Color_R = 0;
  All.StarBurst_Color_G = 60;
  All.StarBurst_Color_B = 20;
  All.Anim_Clock_Ms = 1234;
  const Pixel_Picture plain = Frame();
  All.Intro_Finished = False32;
  const Pixel_Picture with_disc = Frame();
  for (const auto& [x, y] : {std::pair{Width / 2, Height / 2}, {40, 30}, {280, 200}}) {
    const Rgb a = At(plain, x, y), b = At(with_disc, x, y);
    Expect_Near({b[0] - a[0], b[1] - a[1], b[2] - a[2]}, {0, 120, 40},
                "disc over tunnel at " + std::to_string(x) + "," + std::to_string(y));
  }
}

TEST_F(Tunnel_Gl, During_The_Fade_In_The_Whole_Tube_Takes_The_Tint) {
  All.Tunnel_Texture_A = Plain({255, 255, 255});
  All.Tunnel_Tinted = True32;
  All.Tunnel_Color_R = 200;
  All.Tunnel_Color_G = 40;
  All.Tunnel_Color_B = 0;
  const Pixel_Picture shot = Frame();
  for (int y = Height / 10; y < Height * 9 / 10; y += 19)
    for (int x = Width / 10; x < Width * 9 / 10; x += 29)
      Expect_Near(At(shot, x, y), {200, 40, 0}, "tinted at " + std::to_string(x) + "," + std::to_string(y));
}

TEST_F(Tunnel_Gl, The_Far_Slices_Of_The_Whirlpool_Are_Dimmed) {
  All.Background_Texture = Plain({0, 0, 0});
  All.Tunnel_Texture_A = Plain({255, 255, 255});
  All.Draw_Style1_A = False32;
  All.Draw_Style2_A = True32;
  All.Style_Morph = 0;  // the cone recedes like the tube
  const Pixel_Picture shot = Frame();
  const int cx = Width / 2, cy = Height / 2;
  // Near the rim the first slices, at full brightness; a few pixels off the
  // centre the slices from 27 on (brightness 0.7 and less).
  Expect_Near(At(shot, 10, cy), {255, 255, 255}, "rim");
  Expect_Near(At(shot, cx - 100, cy), {255, 255, 255}, "near slices");
  for (int dx = 3; dx <= 6; ++dx) {
    const Rgb c = At(shot, cx + dx, cy);
    EXPECT_LE(c[0], 190) << "far slice " << dx << " pixels right of the centre";
  }
}

TEST_F(Tunnel_Gl, Generated_S_Coordinates_Replace_The_Tubes_Own) {
  // Left texel red, right texel blue; a generated s of 0.25 is red everywhere.
  All.Tunnel_Texture_A = Texture(2, 1, {{255, 0, 0}, {0, 0, 255}});
  auto tex_gen_fv = reinterpret_cast<Tex_Gen_Fv>(Desktop().Gl_Proc_Address("glTexGenfv"));
  ASSERT_NE(tex_gen_fv, nullptr);
  const GLfloat plane[] = {0, 0, 0, 0.25f};
  Gl.TexGeni(GL_S, GL_TEXTURE_GEN_MODE, GL_OBJECT_LINEAR);
  tex_gen_fv(GL_S, GL_OBJECT_PLANE, plane);

  const auto count_blue = [](const Pixel_Picture& p) {
    int blue = 0;
    for (int y = 0; y < p.Height; y += 8)
      for (int x = 0; x < p.Width; x += 8) blue += At(p, x, y)[2] > 128;
    return blue;
  };
  EXPECT_GT(count_blue(Frame()), 50) << "without generation the tube shows both texels";
  All.TexGen_S_On = True32;
  const Pixel_Picture shot = Frame();
  EXPECT_EQ(count_blue(shot), 0);
  Expect_Near(At(shot, 40, 40), {255, 0, 0}, "generated s");
  EXPECT_FALSE(Gl.IsEnabled(GL_TEXTURE_GEN_S)) << "switched off at the end of the tunnel";
}

TEST_F(Tunnel_Gl, An_Opaque_Tunnel_Drawn_Before_The_Plate_Gives_The_Same_Picture_And_State) {
  struct Case {
    const char* Name;
    void (*Set)();
  } cases[] = {
      {"the tube", [] {}},
      {"a deep tube that pierces the plate", [] { All.Far_Param = 3.5f; }},
      {"the whirlpool, the plate through its opening",
       [] {
         All.Draw_Style1_A = False32;
         All.Draw_Style2_A = True32;
         All.Style_Morph = 0;
       }},
      {"the cone turned towards the viewer, the plate around it",
       [] {
         All.Draw_Style1_A = False32;
         All.Draw_Style2_A = True32;
       }},
      {"the tinted fade-in under the intro disc",
       [] {
         All.Tunnel_Tinted = True32;
         All.Tunnel_Color_R = 90;
         All.Tunnel_Color_G = 200;
         All.Tunnel_Color_B = 30;
         All.Intro_Finished = False32;
         All.StarBurst_Color_G = 80;
       }},
  };
  // The state the layers after the tunnel could use.
  const auto state = [] {
    GLint texture = 0, depth_func = 0;
    GLfloat colour[4] = {};
    Gl.GetIntegerv(GL_TEXTURE_BINDING_2D, &texture);
    Gl.GetIntegerv(GL_DEPTH_FUNC, &depth_func);
    Gl.GetFloatv(GL_CURRENT_COLOR, colour);
    return std::vector<double>{double(texture), double(depth_func), colour[0], colour[1], colour[2], colour[3],
                               double(Gl.IsEnabled(GL_BLEND)), double(Gl.IsEnabled(GL_TEXTURE_2D)),
                               double(Gl.IsEnabled(GL_DEPTH_TEST))};
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    All.Background_Texture = Noise(1);
    All.Tunnel_Texture_A = Noise(2);
    All.Tunnel_Phase = 77.5f;
    All.Anim_Clock_Ms = 4321;
    All.Far_Param = 1.0f;
    c.Set();
    // The order of the layers as listed: the plate, then the tunnel over it.
    Gl.Clear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    Gl.LoadIdentity();
    Draw_Background();
    Draw_Tunnel();
    const auto plate_first_state = state();
    if (!All.Intro_Finished) Draw_StarBurst_Disc();
    const Pixel_Picture plate_first = Read_Back();
    const Pixel_Picture tunnel_first = Frame();
    ASSERT_EQ(tunnel_first.Pixels.size(), plate_first.Pixels.size());
    size_t differing = 0;
    for (size_t n = 0; n < plate_first.Pixels.size(); ++n) differing += tunnel_first.Pixels[n] != plate_first.Pixels[n];
    EXPECT_EQ(differing, 0u) << "bytes that differ";
    if (All.Intro_Finished) {
      EXPECT_EQ(state(), plate_first_state);
    }
    TearDown();
    SetUp();
  }
}

}  // namespace
