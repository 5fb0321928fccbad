// Platform_Process: what reaches a process from outside besides its windows'
// events: termination signals, and window messages from other processes.
//
// Signals: SIGTERM and SIGINT (how XScreenSaver and its settings program end
// a run) are caught and turned into a call of the given handler on the GUI
// thread, at the next message pump, so the run ends the orderly way.
//
// Channel: a message for a window of another process (message 984 from a
// full-screen run to the settings dialog that started it) travels as a
// datagram on a local socket named after the window handle; the process that
// owns the window listens on that name and posts what arrives into its own
// queue. GUI thread only.
#pragma once

#include "platform/Platform_Types.h"

#include <cstdint>
#include <functional>
#include <string>

// Catches SIGTERM and SIGINT; `handler` gets the signal number on the GUI thread.
void Signals_Catch_Termination(std::function<void(int)> handler);

// The socket name of a window handle (abstract namespace, no file).
std::string Channel_Name(Window_Handle window);
// Sends a message to a window of another process. False when no process
// listens for that window (the message is lost, as a message to a window that
// no longer exists).
bool Channel_Send(Window_Handle window, uint32_t message, uintptr_t wparam, intptr_t lparam);
// Starts listening for messages to `window` (a window of this process);
// what arrives is posted to it. False when the name is taken.
bool Channel_Listen(Window_Handle window);
void Channel_Stop_Listening(Window_Handle window);
