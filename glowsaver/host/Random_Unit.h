// Random_Unit: the program's random generator (RandInt and friends).
//
// Its state is All.Random_Seed, so resetting the shared record resets it.
// Randomize seeds it from the one clock, mixed with the fixed seed of the
// deterministic mode (reproducible) or with entropy of the process (normal
// runs). GUI thread only.
#pragma once

#include <cstdint>

// Seeds the generator from the clock (and the run's fixed seed, if any).
void Randomize();
// Sets the generator's state directly (tests).
void Random_Set_State(uint64_t state);
// A uniform integer 0 .. n - 1 (0 when n <= 0).
int32_t RandInt(int32_t n);
// A uniform number in [0, 1).
double Random_Float();
// A normal number of mean 0 and standard deviation s, clamped to [-s, s]
// (polar method).
float Gauss_Clamped(float s);
