#include "platform/Platform_Messages.h"

#include "platform/Platform_Clock.h"

#include <algorithm>
#include <array>
#include <deque>
#include <mutex>
#include <unordered_map>
#include <vector>

namespace {

struct Timer_Record {
  Window_Handle Window = 0;
  uint32_t Id = 0;
  uint32_t Interval_Ms = 0;
  bool Enabled = false;
  bool Pending = false;     // one tick waits to be delivered
  uint64_t Next_Due_Us = 0; // next expiry on the grid
};

struct Messages_State {
  std::mutex Post_Lock; // guards Queue: other threads may post
  std::deque<Window_Message> Queue;
  std::unordered_map<Window_Handle, Window_Proc> Procs;
  std::vector<Timer_Record> Timers; // creation order is delivery order
  std::array<bool, 256> Keys{};
  Native_Pump Pump;
  std::vector<std::pair<int, std::function<void()>>> Pollers;
  int Next_Poller = 1;
  Window_Handle Next_Handle = 0x40000000; // above every X11 window id
};

Messages_State& State() {
  static Messages_State state;
  return state;
}

uint64_t Grid_Floor(uint64_t us) { return us / Timer_Grid_Period_Us * Timer_Grid_Period_Us; }

Timer_Record* Find_Timer(Window_Handle window, uint32_t id) {
  for (auto& t : State().Timers)
    if (t.Window == window && t.Id == id) return &t;
  return nullptr;
}

// Starts the period of a timer from the current grid step.
void Restart_Period(Timer_Record& t) {
  t.Pending = false;
  t.Next_Due_Us = Grid_Floor(Clock_Now_Us()) + Timer_Period_Us(t.Interval_Ms);
}

// Marks every timer whose expiry has come as pending; a timer already pending
// stays so (its missed expiries are not made up).
void Collect_Due_Timers() {
  uint64_t now = Clock_Now_Us();
  for (auto& t : State().Timers) {
    if (!t.Enabled || t.Interval_Ms == 0 || now < t.Next_Due_Us) continue;
    t.Pending = true;
    uint64_t period = Timer_Period_Us(t.Interval_Ms);
    t.Next_Due_Us += period * ((now - t.Next_Due_Us) / period + 1);
  }
}

bool Take_Posted(Window_Message& out) {
  auto& s = State();
  std::lock_guard<std::mutex> lock(s.Post_Lock);
  if (s.Queue.empty()) return false;
  out = s.Queue.front();
  s.Queue.pop_front();
  return true;
}

bool Take_Timer_Tick(Window_Message& out) {
  Collect_Due_Timers();
  for (auto& t : State().Timers) {
    if (!t.Pending) continue;
    t.Pending = false;
    out = Window_Message{t.Window, WM_TIMER, t.Id, 0};
    return true;
  }
  return false;
}

void Note_Key_State(const Window_Message& m) {
  auto& keys = State().Keys;
  if (m.WParam >= keys.size()) return;
  if (m.Message == WM_KEYDOWN || m.Message == WM_SYSKEYDOWN) keys[m.WParam] = true;
  if (m.Message == WM_KEYUP || m.Message == WM_SYSKEYUP) keys[m.WParam] = false;
}

// Earliest expiry of an enabled timer, or 0 when none is enabled.
uint64_t Next_Timer_Due_Us() {
  uint64_t next = 0;
  for (auto& t : State().Timers)
    if (t.Enabled && t.Interval_Ms != 0 && (next == 0 || t.Next_Due_Us < next)) next = t.Next_Due_Us;
  return next;
}

} // namespace

uint64_t Timer_Period_Us(uint32_t interval_ms) {
  uint64_t us = uint64_t{interval_ms} * 1000;
  uint64_t steps = (us + Timer_Grid_Period_Us - 1) / Timer_Grid_Period_Us;
  return std::max<uint64_t>(steps, 1) * Timer_Grid_Period_Us;
}

Window_Handle Window_New_Handle() { return State().Next_Handle++; }

void Window_Set_Proc(Window_Handle window, Window_Proc proc) { State().Procs[window] = std::move(proc); }

void Window_Remove(Window_Handle window) {
  auto& s = State();
  s.Procs.erase(window);
  std::erase_if(s.Timers, [window](const Timer_Record& t) { return t.Window == window; });
  std::lock_guard<std::mutex> lock(s.Post_Lock);
  std::erase_if(s.Queue, [window](const Window_Message& m) { return m.Window == window; });
}

bool Window_Exists(Window_Handle window) { return State().Procs.contains(window); }

intptr_t Default_Window_Proc(const Window_Message&) { return 0; }

void Post_Message(Window_Handle window, uint32_t message, uintptr_t wparam, intptr_t lparam) {
  auto& s = State();
  std::lock_guard<std::mutex> lock(s.Post_Lock);
  s.Queue.push_back(Window_Message{window, message, wparam, lparam});
}

void Post_Quit_Message(int exit_code) { Post_Message(0, WM_QUIT, static_cast<uintptr_t>(exit_code), 0); }

bool Peek_Message(Window_Message& out) {
  auto& s = State();
  if (s.Pump.Pump) s.Pump.Pump();
  for (size_t i = 0; i < s.Pollers.size(); ++i) s.Pollers[i].second();
  if (Take_Posted(out) || Take_Timer_Tick(out)) {
    Note_Key_State(out);
    return true;
  }
  return false;
}

bool Get_Message(Window_Message& out) {
  auto& s = State();
  for (;;) {
    if (Peek_Message(out)) return out.Message != WM_QUIT;
    uint64_t due = Next_Timer_Due_Us();
    if (Clock_Is_Virtual()) {
      // Nothing happens between ticks on the virtual clock: jump to the next.
      if (due != 0) {
        Clock_Advance_To_Us(due);
        continue;
      }
      if (!s.Pump.Wait) return false; // nothing can ever arrive
      s.Pump.Wait(10);
      continue;
    }
    uint64_t now = Clock_Now_Us();
    // Pollers have no native event to wake a wait: look again every 50 ms.
    int timeout_ms = 50;
    if (due != 0) timeout_ms = due <= now ? 0 : static_cast<int>(std::min<uint64_t>((due - now + 999) / 1000, 50));
    if (s.Pump.Wait)
      s.Pump.Wait(timeout_ms);
    else
      Clock_Sleep_Ms(static_cast<uint32_t>(timeout_ms));
  }
}

intptr_t Dispatch_Message(const Window_Message& message) {
  auto& procs = State().Procs;
  auto it = procs.find(message.Window);
  if (it == procs.end() || !it->second) return 0;
  // Copy: the procedure may remove its own window.
  Window_Proc proc = it->second;
  return proc(message);
}

intptr_t Send_Message(Window_Handle window, uint32_t message, uintptr_t wparam, intptr_t lparam) {
  return Dispatch_Message(Window_Message{window, message, wparam, lparam});
}

size_t Queued_Message_Count() {
  auto& s = State();
  std::lock_guard<std::mutex> lock(s.Post_Lock);
  return s.Queue.size();
}

void Messages_Reset() {
  auto& s = State();
  {
    std::lock_guard<std::mutex> lock(s.Post_Lock);
    s.Queue.clear();
  }
  for (auto& t : s.Timers) t.Pending = false;
  s.Keys.fill(false);
}

bool Key_State_Down(uint32_t virtual_key) { return virtual_key < 256 && State().Keys[virtual_key]; }

void Key_State_Reset() { State().Keys.fill(false); }

void Messages_Set_Native_Pump(Native_Pump pump) { State().Pump = std::move(pump); }

int Messages_Add_Poller(std::function<void()> poller) {
  int id = State().Next_Poller++;
  State().Pollers.emplace_back(id, std::move(poller));
  return id;
}

void Messages_Remove_Poller(int id) {
  std::erase_if(State().Pollers, [id](const auto& p) { return p.first == id; });
}

// ---- timers ----------------------------------------------------------------

void Window_Set_Timer(Window_Handle window, uint32_t id, uint32_t interval_ms) {
  Timer_Record* t = Find_Timer(window, id);
  if (!t) {
    State().Timers.push_back(Timer_Record{window, id, interval_ms, false, false, 0});
    t = &State().Timers.back();
  }
  t->Interval_Ms = interval_ms;
  t->Enabled = true;
  Restart_Period(*t);
}

void Window_Kill_Timer(Window_Handle window, uint32_t id) {
  std::erase_if(State().Timers, [&](const Timer_Record& t) { return t.Window == window && t.Id == id; });
}

// A component timer is one record with id 1 on a window of its own; the record
// lives for the timer's whole life, enabled or not.
Platform_Timer::Platform_Timer(std::string name, uint32_t interval_ms, std::function<void()> handler)
    : Name_(std::move(name)), Window_(Window_New_Handle()), Handler_(std::move(handler)) {
  State().Timers.push_back(Timer_Record{Window_, 1, interval_ms, false, false, 0});
  Window_Set_Proc(Window_, [this](const Window_Message& m) -> intptr_t {
    if (m.Message == WM_TIMER && Enabled() && Handler_) Handler_();
    return 0;
  });
}

Platform_Timer::~Platform_Timer() { Window_Remove(Window_); }

bool Platform_Timer::Enabled() const {
  const Timer_Record* t = Find_Timer(Window_, 1);
  return t && t->Enabled;
}

void Platform_Timer::Set_Enabled(bool enabled) {
  Timer_Record* t = Find_Timer(Window_, 1);
  if (!t || t->Enabled == enabled) return;
  t->Enabled = enabled;
  if (enabled)
    Restart_Period(*t);
  else
    t->Pending = false;
}

uint32_t Platform_Timer::Interval() const {
  const Timer_Record* t = Find_Timer(Window_, 1);
  return t ? t->Interval_Ms : 0;
}

void Platform_Timer::Set_Interval(uint32_t interval_ms) {
  Timer_Record* t = Find_Timer(Window_, 1);
  if (!t || t->Interval_Ms == interval_ms) return;
  t->Interval_Ms = interval_ms;
  if (t->Enabled) Restart_Period(*t);
}
