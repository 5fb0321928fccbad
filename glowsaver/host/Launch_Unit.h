// Launch_Unit: TLaunch_Form, the main form of the full-screen and preview
// runs and a hidden helper form in the settings run.
//
// In full screen it covers the screen with the splash (loader picture, title,
// progress bar, maker pictures) while Load_Assets decodes every picture the
// show needs — from the resource library, the add-on skin packs or the user's
// custom folder — then enters the render loop from Main_POOL_Timer. In the
// preview it stays invisible, shows "processing ..." in the parent window for
// seven ticks, and loads a reduced set. When it closes it saves the settings,
// writes the wallpaper if asked, removes this run's temporary files and ends
// the application. It also owns the skin-pack scan and the About animation.
// Created by the program entry; GUI thread only.
#pragma once

#include "platform/Platform_Forms.h"
#include "platform/Platform_Messages.h"

#include <string>
#include <vector>

class TLaunch_Form {
 public:
  TLaunch_Form(); // FormCreate
  ~TLaunch_Form();

  void FormShow();
  // Closes the form: FormClose, which ends the application.
  void Close();
  void Hide();
  bool Visible() const { return Form.Visible(); }
  Window_Handle Handle() const { return Handle_; }
  int Width = 0, Height = 0; // pixels

  // Controls.
  Form_Window Form;
  Picture_Box Image_Loader;
  Progress_Bar MacProgressBar;
  Text_Label glLabel_Loading;
  Text_Label glLabel_SaverName;
  Picture_Box Image_Tarvik_Site;
  Picture_Box Image_Loader_RU;
  // (The song list Memo_of_Songs_in_Full lives with the settings controls:
  // Settings_Controls().Launch, which the settings reader fills.)

  Platform_Timer Main_POOL_Timer{"Main_POOL_Timer", 3, [this] { Main_POOL_TimerTimer(); }};
  Platform_Timer Tardy_FrameWork_Timer{"Tardy_FrameWork_Timer", 1, [this] { Tardy_FrameWork_TimerTimer(); }};
  Platform_Timer SetForeground_Timer{"SetForeground_Timer", 1000, [this] { SetForeground_TimerTimer(); }};
  Platform_Timer Sound_Changer_Timer{"Sound_Changer_Timer", 1000, nullptr};

  void FormCreate();
  void FormClose();
  void Main_POOL_TimerTimer();
  void Tardy_FrameWork_TimerTimer();
  void SetForeground_TimerTimer();

 private:
  Window_Handle Handle_ = 0;
  bool Closed_ = false;
};

// Decodes every picture the current mode needs into its slot. False when the
// loading stopped (a missing resource was reported); the run then goes no
// further. An add-on pack that cannot be loaded and an empty custom folder end
// the process after their messages.
bool Load_Assets();
// Looks for the known add-on packs in the Plugins folder (exact, case-sensitive
// names); fills the installed and the in-use pack lists.
bool Scan_Skin_Packs();
// Adds Progress_Step to the splash's progress bar and repaints it.
void Advance_Progress();
// Sets the splash's progress bar to `progress` and repaints it.
void Set_Progress(int progress);
// Keeps a copy of the screen for the wallpaper (the last call wins).
void Capture_Wallpaper();
// Writes the kept picture as the desktop wallpaper; errors are ignored.
void Write_Wallpaper();
// The About page's animation inside `parent`: the maker logo, or one of the movies.
void Play_About_Animation(Window_Handle parent, int width, int height);
void Open_Reinstall_Page();

// The object shape files of this run (in a folder of this run alone).
std::string Shape_File_Path(int number);
// The wallpaper file: Windows_Folder + "Quenloth Wallpaper.bmp".
std::string Wallpaper_File_Path();
// The message for an add-on pack that cannot be loaded.
std::string Pack_Load_Error_Text(const std::string& file_name);
// The message for a custom folder without pictures.
std::string Empty_Custom_Folder_Text();
