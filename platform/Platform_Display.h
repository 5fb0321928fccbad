// Platform_Display: windows, OpenGL contexts and the desktop services the
// programs need, behind one interface with two back-ends.
//
// The Qt back-end (Make_Qt_Display) is the real one: Qt 6 windows on X11,
// full screen or as a child inside a foreign window given by its X11 id, a
// QOpenGLContext in each, an offscreen surface for runs without a window,
// message boxes, the cursor, the movie control, the browser. Its windows turn
// native events into window messages (Platform_Messages) with virtual-key
// codes. The null back-end (Null_Display) has no screen: windows are handles,
// GL calls are the stubs of Platform_GL, message boxes answer what the test
// set; unit tests run the real loop and forms on it.
//
// Handles: a window with a native window takes its X11 id as handle, so a
// handle passed on a command line names the same window in another process.
// GUI thread only.
#pragma once

#include "platform/Platform_Messages.h"
#include "platform/Platform_Picture.h"
#include "platform/Platform_Types.h"

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

// The pixel format a GL window asks for. 0 bits means "whatever is closest".
struct Gl_Format_Request {
  int Color_Bits = 0;
  int Depth_Bits = 0;
  int Stencil_Bits = 8;
  bool Double_Buffer = true;
};

enum class Box_Icon { None, Error, Question, Information };
enum class Box_Buttons { Ok, Yes_No };
enum class Box_Answer { Ok, Yes, No };

struct Text_Style {
  std::string Family = "Verdana";
  int Point_Size = 10;
  bool Bold = false;
  uint32_t Color_Rgb = 0xFFFF00;      // text colour 0xRRGGBB
  uint32_t Background_Rgb = 0x000000; // opaque background
};

class Display_Backend {
 public:
  virtual ~Display_Backend() = default;

  // Desktop size in pixels and colour depth in bits per pixel.
  virtual bool Screen_Metrics(int& width, int& height, int& bits_per_pixel) = 0;

  // Windows. Each returns a handle whose messages go to `proc`, 0 on failure.
  // A top-level window covering x, y, w, h; topmost keeps it above others;
  // full_screen asks the window manager for the full-screen state.
  virtual Window_Handle Create_Top_Level_Window(const std::string& title, int x, int y, int w, int h,
                                                bool topmost, bool full_screen, Window_Proc proc) = 0;
  // A child window (not yet visible) at 0,0 of size w x h inside `parent`,
  // one of ours or a foreign X11 window. A foreign parent is watched: when it
  // is destroyed the child gets WM_DESTROY; when it is resized the child
  // follows and gets WM_SIZE.
  virtual Window_Handle Create_Child_Window(Window_Handle parent, const std::string& title, int w, int h,
                                            Window_Proc proc) = 0;
  // A surface of w x h pixels that is never shown, for runs without a window.
  virtual Window_Handle Create_Offscreen_Target(int w, int h, Window_Proc proc) = 0;
  virtual void Show_Window(Window_Handle window, bool show) = 0;
  virtual void Destroy_Window(Window_Handle window) = 0;
  virtual void Force_Foreground(Window_Handle window) = 0;
  // Size of any window, ours or foreign.
  virtual bool Window_Size(Window_Handle window, int& width, int& height) = 0;

  // OpenGL: one context per window.
  virtual bool Gl_Create_Context(Window_Handle window, const Gl_Format_Request& format) = 0;
  virtual bool Gl_Make_Current(Window_Handle window) = 0;
  virtual void Gl_Done_Current() = 0;
  virtual void Gl_Delete_Context(Window_Handle window) = 0;
  virtual void Gl_Swap_Buffers(Window_Handle window) = 0;
  virtual void* Gl_Proc_Address(const char* name) = 0;
  // The picture in the window's back buffer (before the swap), rows top down.
  virtual bool Gl_Read_Back_Buffer(Window_Handle window, Pixel_Picture& picture) = 0;

  // Desktop services.
  // One show (+1) or hide (-1) of the cursor; it is visible while the count is >= 0.
  virtual int Show_Cursor(bool show) = 0;
  virtual Box_Answer Message_Box(const std::string& text, const std::string& caption, Box_Icon icon,
                                 Box_Buttons buttons) = 0;
  virtual bool Open_Url(const std::string& url) = 0;
  // Plays an animated picture (GIF) looped inside `parent` at x, y, w x h,
  // scaled to fit with its aspect kept. False when it cannot be shown.
  virtual bool Play_Movie(Window_Handle parent, const std::vector<uint8_t>& movie, int x, int y, int w, int h) = 0;
  // The whole screen as a 24-bit picture.
  virtual bool Capture_Screen(Pixel_Picture& picture) = 0;
  // Draws a line of text straight into a window (ours or foreign).
  virtual void Draw_Text(Window_Handle window, int x, int y, const std::string& text, const Text_Style& style) = 0;
  // What to do when a watched foreign parent is gone and the GUI thread has
  // not ended the process in time (it may hang in a buffer swap): runs on a
  // watcher thread, must end the process.
  virtual void Set_Parent_Lost_Fallback(std::function<void()> fallback) = 0;
};

// The back-end in use. Without Desktop_Use, a null display. (Named Desktop so
// it does not clash with the Xlib type Display.)
Display_Backend& Desktop();
void Desktop_Use(std::unique_ptr<Display_Backend> backend);

// The texts of message boxes break lines with carriage returns, as the
// original system's did; this is the text with line feeds instead.
std::string Box_Display_Text(const std::string& text);

// Shows a message box and writes its text to stderr as well, so a run without
// a person in front of it still tells what happened.
Box_Answer Show_Message_Box(const std::string& text, const std::string& caption, Box_Icon icon,
                            Box_Buttons buttons = Box_Buttons::Ok);

// The Qt back-end; creates the application object. Null when there is no
// display to connect to.
std::unique_ptr<Display_Backend> Make_Qt_Display(int& argc, char** argv, const std::string& application_title);

// The null back-end, with what tests look at.
class Null_Display : public Display_Backend {
 public:
  struct Box {
    std::string Text, Caption;
    Box_Icon Icon;
    Box_Buttons Buttons;
  };
  struct Window_Record {
    Window_Handle Parent = 0;
    int Width = 0, Height = 0;
    bool Visible = false, Has_Context = false, Top_Level = false;
  };

  int Screen_Width = 1024, Screen_Height = 768, Screen_Bpp = 32;
  Box_Answer Next_Answer = Box_Answer::No;
  bool Fail_Context = false; // Gl_Create_Context reports failure
  std::vector<Box> Boxes;
  std::vector<std::string> Opened_Urls;
  std::vector<std::string> Movies_Played; // one entry per Play_Movie
  std::map<Window_Handle, Window_Record> Windows;
  int Swaps = 0;
  int Cursor_Count = 0;
  std::function<void()> Parent_Lost_Fallback;

  bool Screen_Metrics(int& width, int& height, int& bits_per_pixel) override;
  Window_Handle Create_Top_Level_Window(const std::string&, int, int, int w, int h, bool, bool,
                                        Window_Proc proc) override;
  Window_Handle Create_Child_Window(Window_Handle parent, const std::string&, int w, int h, Window_Proc proc) override;
  Window_Handle Create_Offscreen_Target(int w, int h, Window_Proc proc) override;
  void Show_Window(Window_Handle window, bool show) override;
  void Destroy_Window(Window_Handle window) override;
  void Force_Foreground(Window_Handle) override {}
  bool Window_Size(Window_Handle window, int& width, int& height) override;
  bool Gl_Create_Context(Window_Handle window, const Gl_Format_Request&) override;
  bool Gl_Make_Current(Window_Handle) override { return !Fail_Context; }
  void Gl_Done_Current() override {}
  void Gl_Delete_Context(Window_Handle window) override;
  void Gl_Swap_Buffers(Window_Handle) override { ++Swaps; }
  void* Gl_Proc_Address(const char*) override { return nullptr; }
  bool Gl_Read_Back_Buffer(Window_Handle, Pixel_Picture&) override { return false; }
  int Show_Cursor(bool show) override { return Cursor_Count += show ? 1 : -1; }
  Box_Answer Message_Box(const std::string& text, const std::string& caption, Box_Icon icon,
                         Box_Buttons buttons) override;
  bool Open_Url(const std::string& url) override;
  bool Play_Movie(Window_Handle, const std::vector<uint8_t>& movie, int, int, int, int) override;
  void Draw_Text(Window_Handle, int, int, const std::string&, const Text_Style&) override {}
  // A screen of mid grey.
  bool Capture_Screen(Pixel_Picture& picture) override;
  void Set_Parent_Lost_Fallback(std::function<void()> fallback) override { Parent_Lost_Fallback = std::move(fallback); }
};
