#include "platform/Platform_Display.h"

#include <cstdio>

namespace {

std::unique_ptr<Display_Backend>& Current() {
  static std::unique_ptr<Display_Backend> backend = std::make_unique<Null_Display>();
  return backend;
}

} // namespace

Display_Backend& Desktop() { return *Current(); }

void Desktop_Use(std::unique_ptr<Display_Backend> backend) {
  Current() = backend ? std::move(backend) : std::make_unique<Null_Display>();
}

std::string Box_Display_Text(const std::string& text) {
  std::string shown = text;
  for (char& c : shown)
    if (c == '\r') c = '\n';
  return shown;
}

Box_Answer Show_Message_Box(const std::string& text, const std::string& caption, Box_Icon icon,
                            Box_Buttons buttons) {
  std::fprintf(stderr, "message box \"%s\":\n%s\n", caption.c_str(), Box_Display_Text(text).c_str());
  std::fflush(stderr);
  return Desktop().Message_Box(text, caption, icon, buttons);
}

// ---- null display ------------------------------------------------------------

bool Null_Display::Screen_Metrics(int& width, int& height, int& bits_per_pixel) {
  width = Screen_Width;
  height = Screen_Height;
  bits_per_pixel = Screen_Bpp;
  return true;
}

Window_Handle Null_Display::Create_Top_Level_Window(const std::string&, int, int, int w, int h, bool, bool,
                                                    Window_Proc proc) {
  Window_Handle handle = Window_New_Handle();
  Window_Set_Proc(handle, std::move(proc));
  Windows[handle] = Window_Record{0, w, h, false, false, true};
  return handle;
}

Window_Handle Null_Display::Create_Child_Window(Window_Handle parent, const std::string&, int w, int h,
                                                Window_Proc proc) {
  Window_Handle handle = Window_New_Handle();
  Window_Set_Proc(handle, std::move(proc));
  Windows[handle] = Window_Record{parent, w, h, false, false, false};
  return handle;
}

Window_Handle Null_Display::Create_Offscreen_Target(int w, int h, Window_Proc proc) {
  return Create_Child_Window(0, "", w, h, std::move(proc));
}

void Null_Display::Show_Window(Window_Handle window, bool show) {
  if (auto it = Windows.find(window); it != Windows.end()) it->second.Visible = show;
}

void Null_Display::Destroy_Window(Window_Handle window) {
  Windows.erase(window);
  Window_Remove(window);
}

bool Null_Display::Window_Size(Window_Handle window, int& width, int& height) {
  auto it = Windows.find(window);
  if (it == Windows.end()) return false;
  width = it->second.Width;
  height = it->second.Height;
  return true;
}

bool Null_Display::Gl_Create_Context(Window_Handle window, const Gl_Format_Request&) {
  auto it = Windows.find(window);
  if (Fail_Context || it == Windows.end()) return false;
  it->second.Has_Context = true;
  return true;
}

void Null_Display::Gl_Delete_Context(Window_Handle window) {
  if (auto it = Windows.find(window); it != Windows.end()) it->second.Has_Context = false;
}

Box_Answer Null_Display::Message_Box(const std::string& text, const std::string& caption, Box_Icon icon,
                                     Box_Buttons buttons) {
  Boxes.push_back(Box{text, caption, icon, buttons});
  if (buttons == Box_Buttons::Ok) return Box_Answer::Ok;
  return Next_Answer;
}

bool Null_Display::Open_Url(const std::string& url) {
  Opened_Urls.push_back(url);
  return true;
}

bool Null_Display::Play_Movie(Window_Handle, const std::vector<uint8_t>& movie, int, int, int, int) {
  Movies_Played.push_back(std::to_string(movie.size()));
  return !movie.empty();
}

bool Null_Display::Capture_Screen(Pixel_Picture& picture) {
  picture.Width = Screen_Width;
  picture.Height = Screen_Height;
  picture.Bits_Per_Pixel = 24;
  picture.Pixels.assign(static_cast<size_t>(picture.Row_Bytes()) * picture.Height, 128);
  return true;
}
