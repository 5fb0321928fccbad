// Platform_Types: the small value types every unit of both programs shares.
//
// bool32 is the 32-bit flag of the shared state: -1 means true, 0 false (any
// non-zero value also counts as true where code tests it). Window_Handle is
// the integer that names a window: one of ours, or a foreign X11 window id.
#pragma once

#include <cstdint>

using bool32 = int32_t;
constexpr bool32 True32 = -1;
constexpr bool32 False32 = 0;

// Converts a C++ bool to the shared-state flag.
constexpr bool32 To_Bool32(bool value) { return value ? True32 : False32; }

// A window: 0 means none. Foreign X11 window ids fit (they use 29 bits).
using Window_Handle = int32_t;
