// Platform_Clock: the one clock of the process.
//
// The render loop, the timers, the frame clock and every reseed of the random
// generator read this clock and nothing else. It runs in real time in normal
// runs; tests and the deterministic mode switch it to a virtual clock that
// moves only when told to, so a run is reproducible frame for frame.
// GUI thread only (the real clock may be read from any thread).
#pragma once

#include <cstdint>

// Microseconds since the clock started (real) or the virtual time.
uint64_t Clock_Now_Us();
// The tick count in milliseconds, wrapping at 2^32 like a system tick count.
uint32_t Clock_Tick_Ms();

// Switches to the virtual clock, starting at start_us; the real clock is left.
void Clock_Use_Virtual(uint64_t start_us);
void Clock_Use_Real();
bool Clock_Is_Virtual();
// Moves the virtual clock forward (no effect on the real clock).
void Clock_Advance_Us(uint64_t us);
// Sets the virtual clock to `us` when that lies ahead of it.
void Clock_Advance_To_Us(uint64_t us);
// Waits: a real sleep, or a move of the virtual clock.
void Clock_Sleep_Ms(uint32_t ms);
