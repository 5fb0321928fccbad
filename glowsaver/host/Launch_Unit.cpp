#include "glowsaver/host/Launch_Unit.h"

#include "glowsaver/director/FullTimersUnit.h"
#include "glowsaver/host/ALL_Variables.h"
#include "glowsaver/host/Asset_Decoding.h"
#include "glowsaver/host/Host_State.h"
#include "glowsaver/host/Main_Loop_Unit.h"
#include "glowsaver/host/Random_Unit.h"
#include "glowsaver/host/WinMainUnit.h"
#include "glowsaver/render/Main_OpenGL_Unit.h"
#include "glowsaver/settings/AdjustmentUnit.h"
#include "glowsaver/settings/Save_and_Load_Config.h"
#include "platform/Bmp_File.h"
#include "platform/Desktop_Wallpaper.h"
#include "platform/Key_Store.h"
#include "platform/Platform_Display.h"
#include "platform/Platform_Files.h"
#include "platform/Resource_Module.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>

namespace {

// Captions and the design's colours of the splash.
constexpr const char* Loading_Caption = "Creating Plasma 3D World...";
constexpr uint32_t Yellow = 0xFFFF00, Aqua = 0x00FFFF, Fuchsia = 0xFF00FF, Sky_Blue = 0xA6CAF0, Black = 0x000000;

Font_Spec Title_Font() {
  Font_Spec f;
  f.Family = "Verdana";
  f.Pixel_Height = 27;
  f.Bold = true;
  f.Heavy = true;
  return f;
}

// Decodes one resource picture into a picture box, quietly: the splash can do
// without a picture.
void Show_Resource_Picture(Picture_Box& box, const char* type, const char* name) {
  if (!Host.Resource_Library) return;
  auto bytes = Host.Resource_Library->Read(type, name);
  if (!bytes) return;
  if (auto picture = Decode_Picture(*bytes, std::string(type) == "BITMAP")) box.Set_Picture(*picture);
}

} // namespace

std::string Shape_File_Path(int number) {
  char name[16];
  std::snprintf(name, sizeof name, "%03d.txt", number);
  return Process_Temp_Folder() + name;
}

std::string Wallpaper_File_Path() { return All.Windows_Folder + "Quenloth Wallpaper" + ".bmp"; }

TLaunch_Form::TLaunch_Form()
    : Form(Application_Title),
      Image_Loader(Form, false, true),
      MacProgressBar(Form, 110, false),
      glLabel_Loading(Form, Title_Font(), Yellow, Aqua),
      glLabel_SaverName(Form, Title_Font(), Fuchsia, Aqua, false),
      Image_Tarvik_Site(Form, true, false, false),
      Image_Loader_RU(Form, true, false),
      Handle_(Window_New_Handle()) {
  Window_Set_Proc(Handle_, Default_Window_Proc);
  Form.Set_Color(Sky_Blue);
  Form.Set_Bounds({0, 0, 622, 200});
  MacProgressBar.Set_Bounds({84, 75, 180, 12});
  MacProgressBar.Set_Progress(27);
  glLabel_Loading.Set_Caption(Loading_Caption);
  FormCreate();
}

TLaunch_Form::~TLaunch_Form() { Window_Remove(Handle_); }

void TLaunch_Form::FormCreate() {
  auto& s = All;
  Randomize();
  s.Current_Skins_Pack = 1;
  if (s.Run_Mode_Preview) {
    // The tunnel speed of the small preview.
    switch (RandInt(3)) {
      case 0: s.Tunnel_Speed = 0.01f + std::fabs(Gauss_Clamped(0.01f)); break;
      case 1: s.Tunnel_Speed = 0.05f + std::fabs(Gauss_Clamped(0.05f)); break;
      default: s.Tunnel_Speed = 0.1f + std::fabs(Gauss_Clamped(0.05f)); break;
    }
    if (RandInt(3) == 2) s.Tunnel_Speed = -s.Tunnel_Speed;
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
    Form.Set_Bounds({0, 0, 0, 0});
    return;
  }
  s.Skin_Packs_Found = To_Bool32(Scan_Skin_Packs());
  if (s.Run_Mode_Settings) {
    switch (RandInt(3)) {
      case 0: s.Tunnel_Speed = 0.05f + std::fabs(Gauss_Clamped(0.05f)); break;
      case 1: s.Tunnel_Speed = 0.1f + std::fabs(Gauss_Clamped(0.1f)); break;
      default: s.Tunnel_Speed = 0.15f + std::fabs(Gauss_Clamped(0.15f)); break;
    }
    if (RandInt(3) == 2) s.Tunnel_Speed = -s.Tunnel_Speed;
  }
  if (File_Exists(s.Install_Folder + Config_File_Name)) {
    Load_Config();
  } else {
    s.Current_Skins_Pack = RandInt(6) + 1;
    s.Current_UFO_Model = static_cast<uint8_t>(RandInt(4) + 1);
  }
  if (!s.Run_Mode_Fullscreen) return;

  // Full screen: the splash covers the screen.
  int w = 0, h = 0, bpp = 0;
  Desktop().Screen_Metrics(w, h, bpp);
  if (Host.Options.Offscreen) {
    w = Host.Options.Offscreen_Width;
    h = Host.Options.Offscreen_Height;
  } else if (Host.Options.Root) {
    Desktop().Window_Size(Host.Options.Target_Window, w, h);
  }
  s.Desktop_Bpp = bpp;
  s.Desktop_Width = w;
  s.Desktop_Height = h;
  switch (RandInt(3)) {
    case 0: s.Tunnel_Speed = 0.05f + std::fabs(Gauss_Clamped(0.05f)); break;
    case 1: s.Tunnel_Speed = 0.15f + std::fabs(Gauss_Clamped(0.15f)); break;
    default: s.Tunnel_Speed = 0.3f + std::fabs(Gauss_Clamped(0.2f)); break;
  }
  Form.Set_Color(Black);
  Form.Set_Topmost(s.Stay_On_Top != 0);
  s.View_Width = s.Desktop_Width;
  s.View_Height = s.Desktop_Height;
  s.View_Center_X = s.View_Width / 2;
  s.View_Center_Y = s.View_Height / 2;
  Width = s.View_Width;
  Height = s.View_Height;
  Form.Set_Bounds({0, 0, Width, Height});
  MacProgressBar.Set_Bounds({100, s.View_Height - 60, s.View_Width - 200, 12});
  MacProgressBar.Set_Progress(RandInt(5) + 2);
  MacProgressBar.Set_Visible(false);
  const Control_Bounds& bar = MacProgressBar.Bounds();
  glLabel_Loading.Set_Top(bar.Top - glLabel_Loading.Bounds().Height - 10);
  glLabel_Loading.Set_Left(s.View_Center_X - glLabel_Loading.Bounds().Width / 2);
  // The plain matcher label measures the title for centring.
  Control_Bounds matcher = Measure_Text(Title_Font(), Application_Title);
  glLabel_SaverName.Set_Caption(Application_Title);
  glLabel_SaverName.Set_Top(bar.Top + bar.Height + 5);
  glLabel_SaverName.Set_Left(s.View_Center_X - matcher.Width / 2);
  glLabel_SaverName.Set_Visible(true);
  Show_Resource_Picture(Image_Loader_RU, "BITMAP", "LogoTarvik");
  Image_Loader_RU.Set_Left(s.View_Width - Image_Loader_RU.Bounds().Width - 10);
  Image_Loader_RU.Set_Top(10);
  // Offscreen runs draw no splash.
  if (!Host.Options.Offscreen && !Host.Options.Root) {
    Form.Repaint();
    Form.Show();
  }
}

void TLaunch_Form::FormShow() {
  auto& s = All;
  if (!s.Run_Mode_Fullscreen) return;
  Image_Loader.Set_Bounds({0, 0, Width, Height});
  Show_Resource_Picture(Image_Loader, "JPEG", "Alien_Loader");
  Show_Resource_Picture(Image_Tarvik_Site, "JPEG", "Tarvik_Label");
  const Control_Bounds& bar = MacProgressBar.Bounds();
  Image_Tarvik_Site.Set_Top(bar.Top - Image_Tarvik_Site.Bounds().Height - 10);
  Image_Tarvik_Site.Set_Left(s.View_Center_X - Image_Tarvik_Site.Bounds().Width / 2);
  Main_POOL_Timer.Set_Enabled(true);
}

void TLaunch_Form::Hide() { Form.Hide(); }

void TLaunch_Form::Tardy_FrameWork_TimerTimer() {
  auto& s = All;
  Text_Style style;
  style.Family = "Verdana";
  style.Point_Size = 10;
  style.Bold = true;
  style.Color_Rgb = Yellow;
  style.Background_Rgb = Black;
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
    bool loaded = Load_Assets();
    Tardy_FrameWork_Timer.Set_Enabled(false);
    if (loaded) Render_Loop();
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
  if (!s.Skin_Packs_Selected) {
    glLabel_Loading.Set_Visible(true);
    glLabel_Loading.Repaint();
  }
  // The mirror tiling, the recorded sizes and the 32-bit format of every skin
  // are part of its decoding job (Asset_Decoding), so the pictures are ready here.
  if (!Load_Assets()) return;
  Desktop().Force_Foreground(Form.Native_Handle() ? Form.Native_Handle() : Handle_);
  Render_Loop();
}

void TLaunch_Form::SetForeground_TimerTimer() {
  if (!All.Run_Mode_Preview && Form.Native_Handle()) Desktop().Force_Foreground(Form.Native_Handle());
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
  Save_Config();
  if (!s.Run_Mode_Preview && Host.Timers_Form) Host.Timers_Form->Stop_Texture_Drifts(true);
  if (s.Wallpaper_Requested || s.Wallpaper_On_Exit) Write_Wallpaper();
  Free_Resource_Library();
  // The temporary movie file and the shape files live in this run's own folder.
  Remove_Process_Temp_Folder();
  Form.Hide();
  Application_Terminate();
}

// ---- services ----------------------------------------------------------------

bool Scan_Skin_Packs() {
  auto& s = All;
  std::error_code ec;
  std::vector<std::string> found;
  for (const auto& entry : std::filesystem::directory_iterator(s.Plugins_Folder, ec)) {
    std::string name = entry.path().filename().string();
    if (name.size() > 6 && name.ends_with(".dtexx")) found.push_back(name);
  }
  // The system lists a folder in name order; so do we.
  std::sort(found.begin(), found.end());
  int matches = 0;
  for (const auto& name : found) {
    for (size_t k = 0; k < s.Known_Pack_Files.size() && matches < 10; ++k) {
      if (name != s.Known_Pack_Files[k]) continue;
      s.Skin_Pack_Files[matches] = s.Installed_Pack_Files[matches] = name;
      s.Skin_Pack_Sizes[matches] = s.Installed_Pack_Sizes[matches] = s.Known_Pack_Sizes[k];
      ++matches;
    }
  }
  if (!found.empty()) s.Skin_Packs_Count = s.Skin_Packs_Installed = matches;
  return matches > 0;
}

void Advance_Progress() {
  if (!Host.Launch_Form) return;
  Progress_Bar& bar = Host.Launch_Form->MacProgressBar;
  bar.Set_Progress(bar.Progress() + All.Progress_Step);
  bar.Repaint();
}

void Set_Progress(int progress) {
  if (!Host.Launch_Form) return;
  Host.Launch_Form->MacProgressBar.Set_Progress(progress);
  Host.Launch_Form->MacProgressBar.Repaint();
}

void Capture_Wallpaper() {
  auto picture = std::make_unique<Pixel_Picture>();
  if (Desktop().Capture_Screen(*picture)) All.Wallpaper_Bitmap = std::move(picture);
}

void Write_Wallpaper() {
  auto& s = All;
  if (!s.Wallpaper_Bitmap) return;
  std::string path = Wallpaper_File_Path();
  std::vector<uint8_t> bmp = Bmp_Encode(*s.Wallpaper_Bitmap);
  s.Wallpaper_Bitmap.reset();
  std::string error;
  if (!Write_File_Atomically(path, std::string_view(reinterpret_cast<const char*>(bmp.data()), bmp.size()), &error)) {
    std::fprintf(stderr, "glowsaver: wallpaper: %s\n", error.c_str());
    return;
  }
  const char* key = "HKEY_CURRENT_USER\\Control Panel\\Desktop";
  for (const char* name : {"ConvertedWallpaper", "Wallpaper", "OriginalWallpaper", "PrevWallpaper"})
    Key_Store_Write(key, name, path);
  Key_Store_Write(key, "TileWallpaper", "0");
  Key_Store_Write(key, "WallpaperStyle", "2");
  Apply_Desktop_Wallpaper(path);
}

void Play_About_Animation(Window_Handle parent, int width, int height) {
  auto& s = All;
  auto show_logo = [&] {
    if (!Host.Resource_Library) return;
    if (auto logo = Host.Resource_Library->Read("JPEG", "Logo_old_Tarvik"))
      Desktop().Play_Movie(parent, *logo, 4, 4, width, height);
  };
  if (s.About_Anim_Variant == 1) {
    show_logo();
  } else {
    std::string name;
    switch (RandInt(3)) {
      case 0: name = "Flash_01"; break;
      case 1: name = "Flash_02"; break;
      default: name = "Flash_Star_0" + std::to_string(RandInt(7) + 1); break;
    }
    std::optional<std::vector<uint8_t>> movie;
    if (Host.Resource_Library) movie = Host.Resource_Library->Read("SWF", name);
    bool shown = false;
    if (movie) shown = Save_Flash_Temp_File(*movie) && Desktop().Play_Movie(parent, *movie, 4, 4, width, height);
    if (!shown) show_logo();
  }
  s.About_Anim_Variant += 1;
  if (s.About_Anim_Variant > 3) s.About_Anim_Variant = 1;
}

void Open_Reinstall_Page() { Desktop().Open_Url(All.Reinstall_Page_Url); }

std::string Pack_Load_Error_Text(const std::string& file_name) {
  return Missing_Files_Message() + "\r" + file_name + "\r" + " Current Error =" +
         " From \"Load_ALL_Jpegs_fromDLL and AssignIt_to_Bitmaps\" Procedrue !!!  in library : " + file_name;
}

std::string Empty_Custom_Folder_Text() {
  return "   There is no \"JPG\" files in your custom directory!   \r       Run Setting and choose any textures!   ";
}
