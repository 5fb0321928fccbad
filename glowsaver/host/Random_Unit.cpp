#include "glowsaver/host/Random_Unit.h"

#include "glowsaver/host/ALL_Variables.h"
#include "glowsaver/host/Host_State.h"
#include "platform/Platform_Clock.h"

#include <algorithm>
#include <cmath>
#include <random>

namespace {

// splitmix64: a small generator with a full 64-bit state and good mixing.
uint64_t Next(uint64_t& state) {
  uint64_t z = (state += 0x9E3779B97F4A7C15ull);
  z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
  z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
  return z ^ (z >> 31);
}

} // namespace

void Randomize() {
  uint64_t base = Host.Options.Deterministic ? Host.Options.Seed : (uint64_t{std::random_device{}()} << 32);
  uint64_t mix = base ^ Clock_Now_Us();
  All.Random_Seed = Next(mix);
}

void Random_Set_State(uint64_t state) { All.Random_Seed = state; }

int32_t RandInt(int32_t n) {
  if (n <= 0) return 0;
  // Multiply-shift keeps the bias below 2^-32 for every n that fits in 32 bits.
  uint64_t r = Next(All.Random_Seed) >> 32;
  return static_cast<int32_t>((r * static_cast<uint64_t>(n)) >> 32);
}

double Random_Float() { return static_cast<double>(Next(All.Random_Seed) >> 11) * 0x1.0p-53; }

float Gauss_Clamped(float s) {
  double u, v, w;
  do {
    u = Random_Float() * 2 - 1;
    v = Random_Float() * 2 - 1;
    w = u * u + v * v;
  } while (w >= 1 || w == 0); // w = 0 would divide by zero
  double value = s * u * std::sqrt(-2 * std::log(w) / w);
  return static_cast<float>(std::clamp(value, -double(std::fabs(s)), double(std::fabs(s))));
}
