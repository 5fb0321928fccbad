// Main_Loop_Unit: the render loop, the window procedures of the GL windows,
// the frame clock and the frame-rate sample.
//
// Render_Loop is entered once per process from the launch form's
// Main_POOL_Timer: it makes the GL window and scene, then each pass takes one
// message from the queue and dispatches it, or, when the queue is empty,
// draws one frame and swaps the buffers, until Esc, Alt+F4, mouse input (when
// enabled), a quit message or App_Closing ends it; then it shuts down in a
// fixed order. GUI thread only.
#pragma once

#include "platform/Platform_Messages.h"

#include <cstdint>

void Render_Loop();

intptr_t Fullscreen_Window_Proc(const Window_Message& message);
intptr_t Preview_Window_Proc(const Window_Message& message);

// The frame clock: half-way from the previous value to the time elapsed since
// the loop started, as a 64-bit signed division truncated to 32 bits.
int32_t Next_Anim_Clock(int32_t previous, uint32_t tick_now, uint32_t loop_start_tick);
// The frame-rate sample of timer 1: frames of the last 1000 ms.
void Sample_Frame_Rate();
