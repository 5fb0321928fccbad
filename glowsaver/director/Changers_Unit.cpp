#include "glowsaver/director/Changers_Unit.h"

#include "glowsaver/director/FullTimersUnit.h"
#include "glowsaver/host/ALL_Variables.h"
#include "glowsaver/host/Host_State.h"
#include "glowsaver/host/Keys_Unit.h"
#include "glowsaver/host/Random_Unit.h"

#include <algorithm>

Changers_State Changers;

namespace {

// Factor of Tunnel_Speed while a fade or swap runs (multiplied at the start,
// divided once on the way).
constexpr float Change_Speed_Factor = 1.1f;
// Style_Morph of the pure style-1 shape and of the full whirlpool.
constexpr float Style_Morph_Style1 = 1.15f;
constexpr float Style_Morph_Style2 = 0.0f;
// Style_Morph at which the style-1 layers go off (towards style 2) or come back.
constexpr float Style_Morph_Switch = 0.9f;
// Style_Morph from which Blend_Alpha rises on the way back to style 1.
constexpr float Style_Morph_Alpha_Rise = 0.8f;

// The keys the automatic changers press.
constexpr uint8_t Key_Skin_Step = 13;
constexpr uint8_t Key_Style_Swap = 107;

} // namespace

void Reset_Changers_State() { Changers = Changers_State{}; }

void Install_Changer_Handlers(TFULL_Timers_Form& form) {
  form.AllTexturesChanger_Timer.Set_Handler([&form] { AllTexturesChanger_TimerTimer(form); });
  form.FluentTexturesBLENDER_Timer.Set_Handler([&form] { FluentTexturesBLENDER_TimerTimer(form); });
  form.AllStylesChanger_Timer.Set_Handler([&form] { AllStylesChanger_TimerTimer(form); });
  form.FluentTunStyleChanger_Timer.Set_Handler([&form] { FluentTunStyleChanger_TimerTimer(form); });
}

bool Skin_Step(int32_t direction) {
  auto& s = All;
  auto& c = Changers;
  if (!s.Skin_Blend_Idle || !s.Style_Blend_Idle || s.Skins_Quantity <= 1) return false;
  // 1.
  s.Tunnel_Speed = s.Tunnel_Speed * Change_Speed_Factor;
  s.Skin_Blend_Idle = False32;
  // 2. Both texture layers of each shown style on.
  if (s.Draw_Style1_A) s.Draw_Style1_B = True32;
  if (s.Draw_Style1_B) s.Draw_Style1_A = True32;
  if (s.Draw_Style2_A) s.Draw_Style2_B = True32;
  if (s.Draw_Style2_B) s.Draw_Style2_A = True32;
  // 3. The skin to bring in, wrapping at both ends.
  s.Current_Skin += direction;
  if (s.Current_Skin > s.Skins_Quantity) s.Current_Skin = 1;
  if (s.Current_Skin < 1) s.Current_Skin = s.Skins_Quantity;
  // 4. It goes into the slot that fades in; the fades alternate A -> B -> A.
  const size_t entry = static_cast<size_t>(std::clamp<int32_t>(s.Current_Skin - 1, 0,
                                                               static_cast<int32_t>(s.Skin_Textures.size()) - 1));
  c.Skin_Blend_Into_B = !c.Skin_Blend_Into_B;
  if (c.Skin_Blend_Into_B) {
    s.Blend_Alpha = 1.0f;
    s.Tunnel_Texture_B = s.Skin_Textures[entry];
  } else {
    s.Blend_Alpha = 0.0f;
    s.Tunnel_Texture_A = s.Skin_Textures[entry];
  }
  // 5. 23 to 334 ticks.
  c.Blend_Alpha_Step = 0.045f / static_cast<float>(RandInt(15) + 1);
  // 6.
  if (Host.Timers_Form) Host.Timers_Form->FluentTexturesBLENDER_Timer.Set_Enabled(true);
  return true;
}

void FluentTexturesBLENDER_TimerTimer(TFULL_Timers_Form& form) {
  auto& s = All;
  auto& c = Changers;
  if (c.Skin_Blend_Into_B) {
    s.Blend_Alpha -= c.Blend_Alpha_Step;
    if (s.Blend_Alpha > 0.0f) return;
    form.FluentTexturesBLENDER_Timer.Set_Enabled(false);
    s.Tunnel_Speed = s.Tunnel_Speed / Change_Speed_Factor;
    s.Draw_Style1_A = False32;
    s.Draw_Style2_A = False32;
    s.Tunnel_Texture_A = s.Tunnel_Texture_B;
    s.Blend_Alpha = 1.0f;
  } else {
    s.Blend_Alpha += c.Blend_Alpha_Step;
    if (s.Blend_Alpha < 1.0f) return;
    form.FluentTexturesBLENDER_Timer.Set_Enabled(false);
    s.Tunnel_Speed = s.Tunnel_Speed / Change_Speed_Factor;
    s.Draw_Style1_B = False32;
    s.Draw_Style2_B = False32;
    s.Tunnel_Texture_B = s.Tunnel_Texture_A;
    s.Blend_Alpha = 0.0f;
  }
  s.Skin_Blend_Idle = True32;
}

bool Style_Swap() {
  auto& s = All;
  auto& c = Changers;
  if (!s.Skin_Blend_Idle || !s.Style_Blend_Idle) return false;
  // 1.
  s.Tunnel_Speed = s.Tunnel_Speed * Change_Speed_Factor;
  s.Style_Blend_Idle = False32;
  c.Blend_Alpha_Step = 0.02f;
  // 2.
  c.Style_Blend_Into_Second = !c.Style_Blend_Into_Second;
  s.Blend_Alpha = c.Style_Blend_Into_Second ? 1.0f : 0.0f;
  // 3. The style-2 layers join the style-1 layers of the same texture.
  if (s.Draw_Style1_A) s.Draw_Style2_A = True32;
  if (s.Draw_Style1_B) s.Draw_Style2_B = True32;
  // 4.
  c.Style_Morph_Step = 0.04f / static_cast<float>(RandInt(15) + 1);
  // 5.
  if (Host.Timers_Form) Host.Timers_Form->FluentTunStyleChanger_Timer.Set_Enabled(true);
  return true;
}

void FluentTunStyleChanger_TimerTimer(TFULL_Timers_Form& form) {
  auto& s = All;
  auto& c = Changers;
  if (c.Style_Blend_Into_Second) {
    s.Blend_Alpha = std::max(0.0f, s.Blend_Alpha - c.Blend_Alpha_Step);
    s.Style_Morph -= c.Style_Morph_Step;
    if (s.Style_Morph <= Style_Morph_Switch && c.Style_Swap_Armed) {
      c.Style_Swap_Armed = false;
      s.Tunnel_Speed = s.Tunnel_Speed / Change_Speed_Factor;
      if (s.Draw_Style2_A) s.Draw_Style1_A = False32;
      if (s.Draw_Style2_B) s.Draw_Style1_B = False32;
    }
    if (s.Style_Morph > Style_Morph_Style2) return;
    form.FluentTunStyleChanger_Timer.Set_Enabled(false);
    s.Style_Morph = Style_Morph_Style2;
    s.Blend_Alpha = 1.0f;
    s.Style1_Grid_Frozen = True32;
    c.Style_Swap_Armed = true;
    if (s.Tunnel_Start_Morphing) {
      form.AllStylesChanger_Timer.Set_Interval(static_cast<uint32_t>(RandInt(10000) + 5000));
      form.AllStylesChanger_Timer.Set_Enabled(true);
    }
  } else {
    s.Style_Morph += c.Style_Morph_Step;
    if (s.Style_Morph >= Style_Morph_Alpha_Rise) s.Blend_Alpha += c.Blend_Alpha_Step;
    s.Blend_Alpha = std::min(1.0f, s.Blend_Alpha);
    if (s.Style_Morph >= Style_Morph_Switch && c.Style_Swap_Armed) {
      c.Style_Swap_Armed = false;
      s.Tunnel_Speed = s.Tunnel_Speed / Change_Speed_Factor;
      if (s.Draw_Style2_A) s.Draw_Style1_A = True32;
      if (s.Draw_Style2_B) s.Draw_Style1_B = True32;
      s.Style1_Grid_Frozen = False32;
    }
    if (s.Style_Morph < Style_Morph_Style1) return;
    form.FluentTunStyleChanger_Timer.Set_Enabled(false);
    s.Style_Morph = Style_Morph_Style1;
    s.Blend_Alpha = 0.0f;
    s.Draw_Style2_A = False32;
    s.Draw_Style2_B = False32;
    c.Style_Swap_Armed = true;
    if (s.Tunnel_Start_Morphing) {
      form.AllStylesChanger_Timer.Set_Interval(static_cast<uint32_t>(Preset_Pause(s.Presets_Change_Interval_Ms) + 5000));
      form.AllStylesChanger_Timer.Set_Enabled(true);
    }
  }
  s.Style_Blend_Idle = True32;
}

void AllTexturesChanger_TimerTimer(TFULL_Timers_Form& form) {
  auto& s = All;
  form.AllTexturesChanger_Timer.Set_Enabled(false);
  form.AllTexturesChanger_Timer.Set_Interval(static_cast<uint32_t>(
      s.Skins_Change_Randomly ? RandInt(10000) + 5000 : s.Skin_Change_Interval_Ms + 1000));
  // A tick that comes while a fade or swap runs is lost: Skin_Step refuses it.
  if (s.Skins_Quantity > 1) Process_Keys_Once(Key_Skin_Step);
  form.AllTexturesChanger_Timer.Set_Enabled(true);
}

void AllStylesChanger_TimerTimer(TFULL_Timers_Form& form) {
  form.AllStylesChanger_Timer.Set_Enabled(false);
  Process_Keys_Once(Key_Style_Swap);
}
