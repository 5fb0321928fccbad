// Changers_Unit: the skin and style changers of the show.
//
// A skin step cross-fades the tunnel from the current skin to the next (or
// previous) one through the two texture layers A and B; a style swap morphs
// the tunnel between style 1 (the plain tube) and style 2 (the whirlpool).
// Both start from inside Process_Keys_Once (keys 13 and 8, and 107, 220, 191,
// 111), whether a real key or a timer pressed it, and only while no fade and
// no swap is running; each is then carried out by a fast timer of
// TFULL_Timers_Form. Two slow timers of the form press the keys on their own:
// AllTexturesChanger_Timer (skin steps for the whole run) and
// AllStylesChanger_Timer (style swaps, re-armed at the end of every swap
// while the tunnel starts as Morphing).
//
// The unit owns the handlers of those four timers (installed on the form by
// Install_Changer_Handlers, which the program entry calls once after creating
// the form) and the few values only these changers use (Changers). The layer
// flags, Blend_Alpha, Style_Morph, the idle flags and the texture slots are in
// All, because the tunnel draw reads them. GUI thread only.
#pragma once

#include <cstdint>

class TFULL_Timers_Form;

// State that only the changers read and write; one instance, Changers.
struct Changers_State {
  bool Skin_Blend_Into_B = false;        // direction of the running or last skin fade: true = texture B fades in
  float Blend_Alpha_Step = 0.5f;         // per-tick change of Blend_Alpha (skin fade or style swap)
  bool Style_Blend_Into_Second = false;  // direction of the running or last style swap: true = towards style 2
  float Style_Morph_Step = 0.01f;        // per-tick change of Style_Morph
  bool Style_Swap_Armed = true;          // the mid-swap switch of the layer flags has not happened yet in this swap
};

extern Changers_State Changers;

// Puts Changers back to its start values (tests).
void Reset_Changers_State();

// Installs the handlers of AllTexturesChanger_Timer, FluentTexturesBLENDER_Timer,
// AllStylesChanger_Timer and FluentTunStyleChanger_Timer on `form`.
void Install_Changer_Handlers(TFULL_Timers_Form& form);

// Starts a skin fade one skin on (direction +1) or back (-1), wrapping at both
// ends, when both idle flags are set and more than one skin is loaded.
// Returns whether it started. The fade timer is that of Host.Timers_Form.
bool Skin_Step(int32_t direction);
// Starts a style swap towards the other style when both idle flags are set.
// Returns whether it started. The swap timer is that of Host.Timers_Form.
bool Style_Swap();

// The timer handlers, one tick each.
void FluentTexturesBLENDER_TimerTimer(TFULL_Timers_Form& form);
void FluentTunStyleChanger_TimerTimer(TFULL_Timers_Form& form);
void AllTexturesChanger_TimerTimer(TFULL_Timers_Form& form);
void AllStylesChanger_TimerTimer(TFULL_Timers_Form& form);
