// Gl_Test_Support: the base of the gl test suites: an Xvfb server of the
// suite's own with Mesa's software rasteriser, and the program's Qt display
// on it, so the suite's tests get real GL contexts and real windows.
#pragma once

#include <gtest/gtest.h>

#include "E2e_Support.h"
#include "platform/Platform_Display.h"

#include <cstdlib>
#include <memory>

class Gl_Display_Test : public ::testing::Test {
 protected:
  static inline std::unique_ptr<Xvfb_Server> Server;

  // Call from the suite's SetUpTestSuite / TearDownTestSuite.
  static void Start_Display(int width, int height) {
    static int argc = 1;
    static char arg0[] = "gl_test";
    static char* argv[] = {arg0, nullptr};
    Server = std::make_unique<Xvfb_Server>(width, height);
    setenv("DISPLAY", Server->Display_Name().c_str(), 1);
    setenv("LIBGL_ALWAYS_SOFTWARE", "1", 1);
    Desktop_Use(Make_Qt_Display(argc, argv, "Quenloth ScreenSaver"));
  }
  static void Stop_Display() {
    Desktop_Use(nullptr);
    Server.reset();
  }
  static bool Have_Qt_Display() { return dynamic_cast<Null_Display*>(&Desktop()) == nullptr; }
};
