// Keys_Unit: the keyboard commands of the full-screen saver.
//
// Works on the key state All.Keys that the full-screen window procedure fills
// (virtual-key codes). Process_Keys_Once runs the one-shot commands (skin
// step, style swap, tunnel stop and resume, toggles, overlays, the wallpaper
// capture); the render loop calls it after a frame when a new key-down is
// pending, and the director and the settings dialog call it to "press" a key.
// Process_Held_Keys runs the continuous adjustments (tunnel speed and shape,
// help panel placement) and the credits chord, once per frame while a key is
// down. With keyboard control off or the credits on, only F5 acts here (Esc
// and Alt+F4 are the render loop's own). GUI thread only.
#pragma once

#include "platform/Platform_Types.h"

#include <cstdint>

// Change of Tunnel_Speed per frame while Up or Down is held (phase units per tick).
constexpr float Angle_Speed_Key_Step = 0.002f;

// Flips a toggle and returns its new value.
bool32 Flip_Toggle(bool32& toggle);

// The one-shot commands. `key` 0: only the keys already down in All.Keys
// count; any other code is down for the duration of the call (set at the
// start, released at the end).
void Process_Keys_Once(uint8_t key);
// The continuous adjustments of the keys held down, once per frame.
void Process_Held_Keys();
