// Launch_Unit: TLaunch_Form, the main form of the full-screen and preview
// runs and a hidden helper form in the settings run.
//
// It measures the screen (or the preview's parent window), shows
// "processing ..." in the preview's parent for seven ticks, and from its
// Main_POOL_Timer enters the render loop; when it closes it ends the
// application and removes this run's temporary files. Created by the program
// entry; GUI thread only.
#pragma once

#include "platform/Platform_Messages.h"

class TLaunch_Form {
 public:
  TLaunch_Form(); // FormCreate
  ~TLaunch_Form();

  void FormShow();
  // Closes the form: FormClose, then the application ends (it is the main
  // form of full-screen and preview runs).
  void Close();
  void Hide();
  bool Visible() const { return Visible_; }
  Window_Handle Handle() const { return Handle_; }
  int Width = 0, Height = 0; // pixels

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
  bool Visible_ = false;
  bool Closed_ = false;
};
