// Deterministic_Run: the run switches that make a run reproducible and
// measurable (Run_Options): the virtual clock with a fixed frame time, a
// frame limit, frames saved as PNG files, keys pressed after chosen frames,
// the frame-rate report.
//
// The render loop calls Deterministic_Before_Swap and Deterministic_After_Frame
// around each frame it draws. GUI thread only.
#pragma once

#include "platform/Platform_Types.h"

#include <string>

// Switches to the virtual clock when the run is deterministic.
void Deterministic_Start();
// Saves the frame in the back buffer of `window` when its number is chosen.
void Deterministic_Before_Swap(Window_Handle window);
// Counts the frame, presses the keys chosen for it, moves the virtual clock
// by the frame time, and ends the run after the frame limit.
void Deterministic_After_Frame();
// Prints the frame-rate report when asked for ("frames N seconds S fps F
// peak-memory-kb M"); the first frame also prints "first-frame monotonic-ns T"
// so that a benchmark can time the start-up.
void Deterministic_Report();
// The file name of a saved frame: "frame-000042.png".
std::string Saved_Frame_Name(int64_t frame);
