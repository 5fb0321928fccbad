// Platform_Messages: windows as handles with window procedures, the thread's
// message queue, and the timer facility.
//
// A window message is a plain record (target window, message number, two
// parameters) with the message numbers of the original system, so the window
// procedures of the programs read as their tables say. Native events (Qt, X11,
// signals, the local channel) are turned into posted messages by the native
// pump that the display layer installs; Peek_Message runs it first.
//
// Timers follow the system's timer model on a 15.625 ms clock grid: a timer's
// period is its interval rounded up to whole grid steps (at least one step);
// enabling a disabled timer starts its period; a changed interval restarts
// it; a late tick is one tick; a timer has at most one pending tick, and a
// pending tick is delivered as WM_TIMER only when no posted message waits,
// one per Peek_Message. A timer with interval 0 never ticks.
//
// GUI thread only, except Post_Message, which other threads may call.
#pragma once

#include "platform/Platform_Types.h"

#include <cstdint>
#include <functional>
#include <string>

// Message numbers.
enum : uint32_t {
  WM_NULL = 0,
  WM_DESTROY = 2,
  WM_SIZE = 5,
  WM_CLOSE = 16,
  WM_QUIT = 18,
  WM_KEYDOWN = 256,
  WM_KEYUP = 257,
  WM_SYSKEYDOWN = 260,
  WM_SYSKEYUP = 261,
  WM_TIMER = 275,
  WM_MOUSEMOVE = 512,
  WM_LBUTTONDOWN = 513,
  WM_LBUTTONUP = 514,
  WM_RBUTTONDOWN = 516,
  WM_RBUTTONUP = 517,
  WM_MBUTTONDOWN = 519,
  WM_MBUTTONUP = 520,
  WM_MOUSEWHEEL = 522,
  // Sent by a full-screen run to the settings dialog that started it when its
  // render loop has ended.
  WM_FULLSCREEN_PREVIEW_ENDED = 984,
};

struct Window_Message {
  Window_Handle Window = 0; // 0: a thread message (WM_QUIT)
  uint32_t Message = WM_NULL;
  uintptr_t WParam = 0;
  intptr_t LParam = 0;
};

using Window_Proc = std::function<intptr_t(const Window_Message&)>;

// The grid of the timer facility, in microseconds (64 Hz).
constexpr uint64_t Timer_Grid_Period_Us = 15625;
// A timer's period in microseconds: interval rounded up to grid steps, >= 1 step.
uint64_t Timer_Period_Us(uint32_t interval_ms);

// ---- windows -------------------------------------------------------------

// Makes a handle for a window without a native window (forms, timers, tests).
Window_Handle Window_New_Handle();
// Installs the procedure of a window (native or not). Replaces an earlier one.
void Window_Set_Proc(Window_Handle window, Window_Proc proc);
void Window_Remove(Window_Handle window); // forgets the window, its timers and its queued messages
bool Window_Exists(Window_Handle window);
// The default window procedure: does nothing and returns 0.
intptr_t Default_Window_Proc(const Window_Message& message);

// ---- queue ---------------------------------------------------------------

// Appends a message to the queue. Thread-safe.
void Post_Message(Window_Handle window, uint32_t message, uintptr_t wparam = 0, intptr_t lparam = 0);
// Posts WM_QUIT as a thread message.
void Post_Quit_Message(int exit_code);
// Takes one message: a posted one, else one pending timer tick. False when none.
bool Peek_Message(Window_Message& out);
// Waits for a message (sleeping, or moving the virtual clock to the next
// timer tick). Returns false when the message is WM_QUIT.
bool Get_Message(Window_Message& out);
// Calls the procedure of the message's window (0 when it has none).
intptr_t Dispatch_Message(const Window_Message& message);
// Calls the procedure of a window at once.
intptr_t Send_Message(Window_Handle window, uint32_t message, uintptr_t wparam = 0, intptr_t lparam = 0);
// Number of posted messages waiting (timer ticks not counted).
size_t Queued_Message_Count();
// Drops every message, window and timer (tests; the end of a run).
void Messages_Reset();

// The state of a key as of the last key message taken from the queue (the
// way the system keeps it): true while down. Index: virtual-key code.
bool Key_State_Down(uint32_t virtual_key);
void Key_State_Reset();

// ---- native pump ---------------------------------------------------------

// The display layer installs these: Pump runs pending native events without
// waiting (posting what they mean); Wait blocks up to timeout_ms for a native
// event. Without them (tests, no display) the queue is all there is.
struct Native_Pump {
  std::function<void()> Pump;
  std::function<void(int timeout_ms)> Wait;
};
void Messages_Set_Native_Pump(Native_Pump pump);
// Further sources of messages without a native event of their own (signals,
// the local channel): each poller runs, without waiting, at every pump.
int Messages_Add_Poller(std::function<void()> poller);
void Messages_Remove_Poller(int id);

// ---- timers --------------------------------------------------------------

// A named periodic callback owned by a form: created disabled, it ticks on the
// GUI thread as a WM_TIMER message to a window of its own.
class Platform_Timer {
 public:
  Platform_Timer(std::string name, uint32_t interval_ms, std::function<void()> handler);
  ~Platform_Timer();
  Platform_Timer(const Platform_Timer&) = delete;
  Platform_Timer& operator=(const Platform_Timer&) = delete;

  const std::string& Name() const { return Name_; }
  bool Enabled() const;
  void Set_Enabled(bool enabled);
  uint32_t Interval() const;
  void Set_Interval(uint32_t interval_ms);
  void Set_Handler(std::function<void()> handler) { Handler_ = std::move(handler); }
  Window_Handle Handle() const { return Window_; }

 private:
  std::string Name_;
  Window_Handle Window_;
  std::function<void()> Handler_;
};

// A timer of a window identified by a number, delivered to that window's
// procedure as WM_TIMER with wParam = id (the frame-rate sample uses id 1).
void Window_Set_Timer(Window_Handle window, uint32_t id, uint32_t interval_ms);
void Window_Kill_Timer(Window_Handle window, uint32_t id);
