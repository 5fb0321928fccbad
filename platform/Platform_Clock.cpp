#include "platform/Platform_Clock.h"

#include <chrono>
#include <thread>

namespace {

// The clock's state: which clock runs, and the virtual time.
struct Clock_State {
  std::chrono::steady_clock::time_point Real_Start = std::chrono::steady_clock::now();
  bool Virtual = false;
  uint64_t Virtual_Us = 0;
};

Clock_State& State() {
  static Clock_State state;
  return state;
}

} // namespace

uint64_t Clock_Now_Us() {
  auto& c = State();
  if (c.Virtual) return c.Virtual_Us;
  auto elapsed = std::chrono::steady_clock::now() - c.Real_Start;
  return static_cast<uint64_t>(std::chrono::duration_cast<std::chrono::microseconds>(elapsed).count());
}

uint32_t Clock_Tick_Ms() { return static_cast<uint32_t>(Clock_Now_Us() / 1000); }

void Clock_Use_Virtual(uint64_t start_us) {
  State().Virtual = true;
  State().Virtual_Us = start_us;
}

void Clock_Use_Real() { State().Virtual = false; }

bool Clock_Is_Virtual() { return State().Virtual; }

void Clock_Advance_Us(uint64_t us) {
  if (State().Virtual) State().Virtual_Us += us;
}

void Clock_Advance_To_Us(uint64_t us) {
  if (State().Virtual && us > State().Virtual_Us) State().Virtual_Us = us;
}

void Clock_Sleep_Ms(uint32_t ms) {
  if (State().Virtual)
    State().Virtual_Us += uint64_t{ms} * 1000;
  else
    std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}
