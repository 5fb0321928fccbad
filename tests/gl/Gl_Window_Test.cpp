// The GL window unit on a real context under Xvfb with llvmpipe: the fixed
// projection, the viewport of a zero-height window, and the preview's movie
// fallback playing inside a foreign parent window.
#include <gtest/gtest.h>

#include "Gl_Test_Support.h"
#include "glowsaver/host/ALL_Variables.h"
#include "glowsaver/host/Host_State.h"
#include "glowsaver/host/Launch_Unit.h"
#include "glowsaver/host/Main_Loop_Unit.h"
#include "glowsaver/render/Main_OpenGL_Unit.h"
#include "platform/Platform_Display.h"
#include "platform/Platform_Files.h"
#include "platform/Platform_GL.h"
#include "platform/Resource_Module.h"

#include <cstdlib>
#include <memory>

namespace {

class Gl_Window : public Gl_Display_Test {
 protected:
  static void SetUpTestSuite() { Start_Display(800, 600); }
  static void TearDownTestSuite() { Stop_Display(); }
  void SetUp() override {
    ASSERT_TRUE(Have_Qt_Display());
    Reset_All_Variables();
    Host = Host_State{};
  }
  // Pumps native events until `cond` holds or 5 s pass.
  bool Pump_Until(const std::function<bool()>& cond) {
    return Wait_Until([&] {
      Window_Message m;
      while (Peek_Message(m)) Dispatch_Message(m);
      return cond();
    }, 5000);
  }
};

TEST_F(Gl_Window, The_Projection_Keeps_Its_Fixed_Aspect_On_Any_Window) {
  All.Run_Mode_Fullscreen = True32;
  Host.Options.Offscreen = true;
  All.View_Width = 320;
  All.View_Height = 200; // 16:10
  All.GL_Window = Create_Fullscreen_Window(All.View_Width, All.View_Height);
  ASSERT_TRUE(Setup_Pixel_Format(All.View_Width, All.View_Height));
  ASSERT_TRUE(Gl_Is_Bound());
  GLfloat m[16];
  Gl.GetFloatv(GL_PROJECTION_MATRIX, m);
  EXPECT_NEAR(m[5] / m[0], 1.333, 1e-4) << "x is scaled by 1/aspect whatever the window's shape";
  GLint viewport[4];
  Gl.GetIntegerv(GL_VIEWPORT, viewport);
  EXPECT_EQ(viewport[2], 320);
  EXPECT_EQ(viewport[3], 200);
  Resize_View(320, 0);
  Gl.GetIntegerv(GL_VIEWPORT, viewport);
  EXPECT_EQ(viewport[3], 1) << "a height of 0 counts as 1";
  Gl.GetFloatv(GL_PROJECTION_MATRIX, m);
  EXPECT_NEAR(m[5] / m[0], 1.333, 1e-4);
  Shutdown_GL();
  EXPECT_FALSE(Gl_Is_Bound());
}

TEST_F(Gl_Window, A_Cleared_Frame_Reads_Back_As_The_Clear_Colour) {
  All.Run_Mode_Fullscreen = True32;
  Host.Options.Offscreen = true;
  All.View_Width = 64;
  All.View_Height = 48;
  All.GL_Window = Create_Fullscreen_Window(64, 48);
  ASSERT_TRUE(Setup_Pixel_Format(64, 48));
  Gl.ClearColor(1, 0.5f, 0, 1);
  Gl.Clear(GL_COLOR_BUFFER_BIT);
  Pixel_Picture p;
  ASSERT_TRUE(Desktop().Gl_Read_Back_Buffer(All.GL_Window, p));
  ASSERT_EQ(p.Width, 64);
  ASSERT_EQ(p.Height, 48);
  // Blue, green, red: 0, 128, 255 (one step of tolerance for the half).
  EXPECT_EQ(p.Pixels[0], 0);
  EXPECT_NEAR(p.Pixels[1], 128, 1);
  EXPECT_EQ(p.Pixels[2], 255);
  Shutdown_GL();
}

TEST_F(Gl_Window, The_Movie_Fallback_Plays_Inside_The_Preview_Parent) {
  std::string error;
  Host.Resource_Library = Resource_Module::Open(std::string(std::getenv("GLOWSAVER_TREE")) +
                                                    "/Plugins/ServiceFullSet.bioTarvik", &error);
  ASSERT_TRUE(Host.Resource_Library) << error;
  Window parent = Create_Test_Window(Server->X(), 0, 0, 320, 240, 0xFFFFFF, "control panel");
  All.Run_Mode_Preview = True32;
  All.View_Width = 320;
  All.View_Height = 240;
  Show_Flash_Fallback(static_cast<Window_Handle>(parent));
  // The white window fills with the movie's picture.
  EXPECT_TRUE(Pump_Until([&] {
    Rgb_Image shot = Capture_Window(Server->X(), parent);
    return shot.Width == 320 && shot.Fraction_Of_Color(0xFFFFFF, 8) < 0.5;
  }));
  EXPECT_NE(All.Flash_Temp_File.find("Wish916.PQ17"), std::string::npos);
  Remove_Process_Temp_Folder();
}

TEST_F(Gl_Window, The_About_Animation_Cycles_Logo_And_Movies_Inside_Its_Parent) {
  std::string error;
  Host.Resource_Library = Resource_Module::Open(std::string(std::getenv("GLOWSAVER_TREE")) +
                                                    "/Plugins/ServiceFullSet.bioTarvik", &error);
  ASSERT_TRUE(Host.Resource_Library) << error;
  for (int variant = 1; variant <= 3; ++variant) {
    SCOPED_TRACE(variant);
    Window parent = Create_Test_Window(Server->X(), 0, 0, 208, 158, 0xFFFFFF, "about page");
    EXPECT_EQ(All.About_Anim_Variant, variant);
    Play_About_Animation(static_cast<Window_Handle>(parent), 200, 150);
    EXPECT_TRUE(Pump_Until([&] {
      Rgb_Image shot = Capture_Window(Server->X(), parent);
      return shot.Width == 208 && shot.Fraction_Of_Color(0xFFFFFF, 8) < 0.5;
    }));
    Destroy_Window(Server->X(), parent);
  }
  EXPECT_EQ(All.About_Anim_Variant, 1) << "the variant cycles 1, 2, 3, 1";
  Remove_Process_Temp_Folder();
}

} // namespace
