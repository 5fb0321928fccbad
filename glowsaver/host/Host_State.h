// Host_State: what the program entry owns besides the shared record: the
// switches of this run that the original system did not have (XScreenSaver's
// window choice, the deterministic mode), the forms it created, the resource
// library, and whether the application is ending.
//
// Written by the program entry (WinMainUnit) at start-up; read by the loop,
// the forms and the GL window unit. GUI thread only.
#pragma once

#include "platform/Platform_Types.h"

#include <cstdint>
#include <memory>
#include <set>
#include <bitset>
#include <map>
#include <string>

class Resource_Module;
class TLaunch_Form;
class TFULL_Timers_Form;
class TAdjustment_Form;

// Switches read from the command line before the mode word and handle.
struct Run_Options {
  // XScreenSaver: -root draws into the window named by XSCREENSAVER_WINDOW
  // (full-screen behaviour otherwise); -window-id ID draws into ID the way the
  // preview draws into its parent. Target_Window is that window.
  bool Root = false;
  bool Window_Id = false;
  Window_Handle Target_Window = 0;

  // Deterministic mode: a fixed seed and the virtual clock, each frame taking
  // Frame_Ms of virtual time.
  bool Deterministic = false;
  uint64_t Seed = 0;
  double Frame_Ms = 16.0;
  // End the run the orderly way after this many frames (0: no limit).
  int64_t Frames = 0;
  // 1-based numbers of the frames to save as PNG files into Save_Folder.
  std::set<int64_t> Save_Frames;
  std::string Save_Folder = ".";
  // Draw into an offscreen surface of Offscreen_Width x Offscreen_Height
  // instead of a window (any mode but settings).
  bool Offscreen = false;
  int Offscreen_Width = 640;
  int Offscreen_Height = 480;
  // Print frames drawn, seconds and frames per second when the loop ends.
  bool Print_Frame_Rate = false;
  // Keys pressed after the frame of that number (1-based), the way the show
  // presses them (the one-shot handler with the key's virtual-key code).
  std::multimap<int64_t, uint8_t> Presses;
};

struct Host_State {
  Run_Options Options;
  std::unique_ptr<Resource_Module> Resource_Library; // ServiceFullSet.bioTarvik while loaded

  // The forms of this run (created by the entry, in the order of the mode).
  TLaunch_Form* Launch_Form = nullptr;
  TFULL_Timers_Form* Timers_Form = nullptr;
  TAdjustment_Form* Adjustment_Form = nullptr;

  bool Terminated = false;          // the application is ending (its message loop stops)
  bool Termination_Requested = false; // a signal or the frame limit asked the run to end
  int64_t Frames_Drawn = 0;         // frames of this run's render loop
  // Keys pressed since the last frame's key step, and those among them
  // already released again: the release waits until a frame has seen the
  // press, so a quick tap between two slow frames still acts once.
  std::bitset<256> Keys_Unseen;
  std::bitset<256> Keys_Released_Unseen;
  uint64_t Loop_Start_Us = 0;       // clock when the loop began (frame-rate report)
};

extern Host_State Host;

// Ends the application's message loop (the component library's Terminate).
void Application_Terminate();
// Ends the process at once with `code`, removing this process's temporary files.
[[noreturn]] void Halt_Process(int code);
// Asks the run to end the orderly way (signals, the frame limit): the render
// loop stops at its next message, then the main form closes.
void Request_Termination();
