// Textures on a real context (Mesa llvmpipe under an Xvfb of the test's own):
// a skin picture drawn on a full-viewport quad keeps its orientation and its
// colours, the texture has its mipmap chain and the fixed-function defaults,
// and a 32-bit TGA uploaded as BGRA keeps its alpha.
#include <gtest/gtest.h>

#include "Gl_Test_Support.h"
#include "glowsaver/host/ALL_Variables.h"
#include "glowsaver/host/Host_State.h"
#include "glowsaver/render/Main_OpenGL_Unit.h"
#include "glowsaver/scene/TGA.h"
#include "glowsaver/scene/TexturesUnit.h"
#include "platform/Platform_Display.h"
#include "platform/Platform_GL.h"
#include "platform/Resource_Module.h"

#include <array>
#include <cstdlib>
#include <memory>
#include <vector>

namespace {

using Get_Tex_Parameter = void (*)(GLenum, GLenum, GLint*);
using Get_Tex_Level_Parameter = void (*)(GLenum, GLint, GLenum, GLint*);

class Textures_Gl : public Gl_Display_Test {
 protected:
  static void SetUpTestSuite() { Start_Display(320, 240); }
  static void TearDownTestSuite() { Stop_Display(); }
  void SetUp() override {
    ASSERT_TRUE(Have_Qt_Display());
    Reset_All_Variables();
    Host = Host_State{};
    All.Run_Mode_Fullscreen = True32;
    Host.Options.Offscreen = true;
    All.View_Width = Size;
    All.View_Height = Size;
    All.GL_Window = Create_Fullscreen_Window(Size, Size);
    ASSERT_TRUE(Setup_Pixel_Format(Size, Size));
  }
  void TearDown() override { Shutdown_GL(); }

  // Draws the bound texture over the whole viewport, texture row 0 at the bottom.
  void Draw_Full_Viewport_Quad(uint32_t texture) {
    Gl.MatrixMode(GL_PROJECTION);
    Gl.LoadIdentity();
    Gl.Ortho(0, 1, 0, 1, -1, 1);
    Gl.MatrixMode(GL_MODELVIEW);
    Gl.LoadIdentity();
    Gl.ClearColor(0, 0, 0, 1);
    Gl.Clear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    Gl.Enable(GL_TEXTURE_2D);
    Gl.BindTexture(GL_TEXTURE_2D, texture);
    Gl.Color4f(1, 1, 1, 1);
    Gl.Begin(GL_QUADS);
    Gl.TexCoord2f(0, 0), Gl.Vertex2f(0, 0);
    Gl.TexCoord2f(1, 0), Gl.Vertex2f(1, 0);
    Gl.TexCoord2f(1, 1), Gl.Vertex2f(1, 1);
    Gl.TexCoord2f(0, 1), Gl.Vertex2f(0, 1);
    Gl.End();
  }

  static constexpr int Size = 64;
};

// Expects the read-back pixel (x, y) (rows top down, bytes B, G, R) to be
// rgb within 3 levels.
void Expect_Pixel(const Pixel_Picture& p, int x, int y, std::array<int, 3> rgb, const char* what) {
  const uint8_t* s = &p.Pixels[static_cast<size_t>((y * p.Width + x) * p.Bytes_Per_Pixel())];
  EXPECT_NEAR(s[2], rgb[0], 3) << what << ": red";
  EXPECT_NEAR(s[1], rgb[1], 3) << what << ": green";
  EXPECT_NEAR(s[0], rgb[2], 3) << what << ": blue";
}

TEST_F(Textures_Gl, A_Skin_Shows_Its_Top_Row_At_The_Top_In_Its_Own_Colours) {
  // 4 x 4, 2 x 2 blocks: top-left red, top-right green, bottom-left blue,
  // bottom-right yellow; alpha 77, which the upload replaces by 255.
  Pixel_Picture picture;
  picture.Width = picture.Height = 4;
  picture.Bits_Per_Pixel = 32;
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 4; ++x) {
      const bool top = y < 2, left = x < 2;
      const uint8_t r = (top && left) || (!top && !left) ? 255 : 0;
      const uint8_t g = !left ? 255 : 0;
      const uint8_t b = !top && left ? 255 : 0;
      picture.Pixels.insert(picture.Pixels.end(), {b, g, r, 77});
    }
  const uint32_t texture = Texture_From_Bitmap(picture);
  ASSERT_NE(texture, 0u);
  EXPECT_EQ(Gl.GetError(), static_cast<GLenum>(GL_NO_ERROR));

  Draw_Full_Viewport_Quad(texture);
  Pixel_Picture shot;
  ASSERT_TRUE(Desktop().Gl_Read_Back_Buffer(All.GL_Window, shot));
  ASSERT_EQ(shot.Width, Size);
  // Quarter points sit between two texels of one block, so the linear
  // magnification gives the block's colour exactly.
  Expect_Pixel(shot, Size / 4, Size / 4, {255, 0, 0}, "top left");
  Expect_Pixel(shot, 3 * Size / 4, Size / 4, {0, 255, 0}, "top right");
  Expect_Pixel(shot, Size / 4, 3 * Size / 4, {0, 0, 255}, "bottom left");
  Expect_Pixel(shot, 3 * Size / 4, 3 * Size / 4, {255, 255, 0}, "bottom right");

  // Level 0 as stored: bottom row first, red, green, blue, 255.
  std::vector<uint8_t> texels(4 * 4 * 4);
  Gl.GetTexImage(GL_TEXTURE_2D, 0, GL_RGBA, GL_UNSIGNED_BYTE, texels.data());
  EXPECT_EQ(std::vector<uint8_t>(texels.begin(), texels.begin() + 4), (std::vector<uint8_t>{0, 0, 255, 255}));
  EXPECT_EQ(std::vector<uint8_t>(texels.end() - 4, texels.end()), (std::vector<uint8_t>{0, 255, 0, 255}));

  // The whole mipmap chain, and the fixed-function defaults untouched.
  auto get_level = reinterpret_cast<Get_Tex_Level_Parameter>(Desktop().Gl_Proc_Address("glGetTexLevelParameteriv"));
  auto get_param = reinterpret_cast<Get_Tex_Parameter>(Desktop().Gl_Proc_Address("glGetTexParameteriv"));
  auto get_env = reinterpret_cast<Get_Tex_Parameter>(Desktop().Gl_Proc_Address("glGetTexEnviv"));
  ASSERT_TRUE(get_level && get_param && get_env);
  GLint value = 0;
  get_level(GL_TEXTURE_2D, 2, GL_TEXTURE_WIDTH, &value);
  EXPECT_EQ(value, 1) << "level 2 of a 4 x 4 texture is 1 x 1";
  get_level(GL_TEXTURE_2D, 0, GL_TEXTURE_INTERNAL_FORMAT, &value);
  EXPECT_EQ(value, GL_RGBA);
  get_param(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, &value);
  EXPECT_EQ(value, GL_NEAREST_MIPMAP_LINEAR);
  get_param(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, &value);
  EXPECT_EQ(value, GL_LINEAR);
  get_param(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, &value);
  EXPECT_EQ(value, GL_REPEAT);
  get_env(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, &value);
  EXPECT_EQ(value, GL_MODULATE);
}

TEST_F(Textures_Gl, A_Font_Style_TGA_Uploaded_As_BGRA_Keeps_Its_Colours_And_Alpha) {
  // 2 x 2, 32 bits, top-left origin: top row blue (alpha 255), red (alpha
  // 128); bottom row green (alpha 0), white (alpha 64).
  const std::vector<uint8_t> file = {0,   0,   2,   0, 0,   0,   0,   0,   0,   0,   0,   0,   2,   0,
                                     2,   0,   32,  0x28,
                                     255, 0,   0,   255, 0,   0,   255, 128,
                                     0,   255, 0,   0,   255, 255, 255, 64};
  TTGAImage image;
  std::string error;
  ASSERT_TRUE(image.LoadFromStream(file, &error)) << error;
  const uint32_t texture = TGA_To_Texture(image, GL_BGRA);
  ASSERT_NE(texture, 0u);
  std::vector<uint8_t> texels(2 * 2 * 4);
  Gl.GetTexImage(GL_TEXTURE_2D, 0, GL_RGBA, GL_UNSIGNED_BYTE, texels.data());
  EXPECT_EQ(texels, (std::vector<uint8_t>{0, 255, 0, 0, 255, 255, 255, 64, // bottom row first
                                          0, 0, 255, 255, 255, 0, 0, 128}));
  EXPECT_EQ(Gl.GetError(), static_cast<GLenum>(GL_NO_ERROR));
}

} // namespace
