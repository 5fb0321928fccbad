// AdjustmentUnit: TAdjustment_Form, the main form of the settings run.
//
// For now the dialog is a plain window holding the live preview panel
// (Settings_Preview_Window) that the render loop draws into; it listens for
// message 984 from the full-screen run its Preview button starts, and closing
// it ends the application. Created by the program entry; GUI thread only.
#pragma once

#include "platform/Platform_Messages.h"

class TAdjustment_Form {
 public:
  TAdjustment_Form();
  ~TAdjustment_Form();

  // The dialog opens: the preview panel exists and the launch form starts loading.
  void FormShow();
  // The render loop has started drawing into the preview panel.
  void Preview_Started();
  void Close();
  Window_Handle Handle() const { return Handle_; }

  // Size of the preview panel, pixels.
  static constexpr int Preview_Width = 320;
  static constexpr int Preview_Height = 240;

 private:
  intptr_t Window_Proc(const Window_Message& message);
  Window_Handle Handle_ = 0;
  bool Closed_ = false;
};
