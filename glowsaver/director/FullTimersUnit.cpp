#include "glowsaver/director/FullTimersUnit.h"

#include "glowsaver/host/ALL_Variables.h"
#include "glowsaver/host/Keys_Unit.h"
#include "glowsaver/host/Random_Unit.h"

#include <algorithm>
#include <cmath>

namespace {

// abs(Gauss(s)): the magnitude of a clamped normal draw, 0 .. s.
float Gauss_Abs(float s) { return std::fabs(Gauss_Clamped(s)); }

// Sets an interval (ms, never negative) and enables the timer.
void Arm(Platform_Timer& timer, int32_t interval_ms) {
  timer.Set_Interval(static_cast<uint32_t>(std::max(interval_ms, 0)));
  timer.Set_Enabled(true);
}

}  // namespace

int32_t Preset_Pause(int32_t milliseconds) { return milliseconds != 0 ? milliseconds : RandInt(15000) + 5000; }

void TFULL_Timers_Form::Arm_After_Pause(Platform_Timer& timer, int32_t extra_ms) {
  Arm(timer, Preset_Pause(All.Presets_Change_Interval_Ms) + extra_ms);
}

// ---- tunnel speed -------------------------------------------------------------

void TFULL_Timers_Form::Angle_Speed_TimerTimer() { All.Tunnel_Phase += All.Tunnel_Speed; }

void TFULL_Timers_Form::Angle_by_TrackBarSpeed_TimerTimer() { All.Tunnel_Phase += All.Tunnel_Velocity; }

void TFULL_Timers_Form::Set_Tunnel_Travel(bool travel) {
  if (!travel) {
    Angle_Speed_Timer.Set_Enabled(false);
    Angle_by_TrackBarSpeed_Timer.Set_Enabled(false);
  } else if (All.Random_Velocities) {
    Angle_Speed_Timer.Set_Enabled(true);
  } else {
    Angle_by_TrackBarSpeed_Timer.Set_Enabled(true);
  }
}

// ---- show cycle start -----------------------------------------------------------

void TFULL_Timers_Form::Start_Show() {
  auto& s = All;
  StarBurst_Blue_Fixed = RandInt(4) == 3;
  if (s.Use_Extra_Layer) {
    StarBurst_Intro_Timer.Set_Enabled(true);
  } else {
    // No disc: a short fade-in of the tint from 70.
    s.Intro_Finished = True32;
    s.Tunnel_Color_R = s.Tunnel_Color_G = s.Tunnel_Color_B = 70;
    Fade_In_Step = 2;
    Arm(TunnnelFadeIN_Timer, 20);
  }
  if (s.Use_Extra_Layer) {
    s.Jump_Gate_On = True32;
    JG_Step_Timer.Set_Enabled(true);
  } else {
    s.Jump_Gate_On = False32;
  }
}

// Byte arithmetic throughout: channels saturate at 255 by the tests, not by
// the type.
void TFULL_Timers_Form::StarBurst_Intro_TimerTimer() {
  auto& s = All;
  s.StarBurst_Color_R = s.StarBurst_Color_R > 252 ? 255 : uint8_t(s.StarBurst_Color_R + 1);
  if (!StarBurst_Blue_Fixed) s.StarBurst_Color_B = s.StarBurst_Color_B > 252 ? 255 : uint8_t(s.StarBurst_Color_B + 2);
  if (s.StarBurst_Color_G > 253) {
    s.StarBurst_Color_G = 255;
    StarBurst_Intro_Timer.Set_Enabled(false);
    TunnnelFadeIN_Timer.Set_Enabled(true);
  } else {
    s.StarBurst_Color_G = uint8_t(s.StarBurst_Color_G + 1);
  }
}

void TFULL_Timers_Form::TunnnelFadeIN_TimerTimer() {
  auto& s = All;
  if (s.Tunnel_Color_R > 253) {
    s.Tunnel_Color_R = 255;
    s.StarBurst_Color_R = 0;
  } else {
    s.Tunnel_Color_R = uint8_t(s.Tunnel_Color_R + Fade_In_Step);
    s.StarBurst_Color_R = uint8_t(s.StarBurst_Color_R - 1);
  }
  if (s.Tunnel_Color_B > 253) {
    s.Tunnel_Color_B = 255;
    if (!StarBurst_Blue_Fixed) s.StarBurst_Color_B = 0;
  } else {
    s.Tunnel_Color_B = uint8_t(s.Tunnel_Color_B + Fade_In_Step);
    if (!StarBurst_Blue_Fixed) s.StarBurst_Color_B = uint8_t(s.StarBurst_Color_B - 1);
  }
  if (s.Tunnel_Color_G > 253) {
    s.Tunnel_Color_G = 255;
    s.StarBurst_Color_G = 0;
    s.Tunnel_Tinted = False32;
    s.Intro_Finished = True32;
    TunnnelFadeIN_Timer.Set_Enabled(false);
    Start_Cycles();
    return;
  }
  s.Tunnel_Color_G = uint8_t(s.Tunnel_Color_G + Fade_In_Step);
  s.StarBurst_Color_G = uint8_t(s.StarBurst_Color_G - 1);
}

void TFULL_Timers_Form::Style_Swap_If_Shown() {
  if (All.Tunnel_Start_Morphing && (All.Draw_Style2_A || All.Draw_Style2_B)) Process_Keys_Once(107);
}

void TFULL_Timers_Form::Start_Cycles() {
  auto& s = All;
  if (s.Skins_Quantity <= 1) s.Auto_Skin_Change = False32;
  if (s.Run_Mode_Fullscreen) {
    if (s.Auto_Skin_Change) Arm(AllTexturesChanger_Timer, RandInt(5000) + 7000);
    if (s.Tunnel_Start_Morphing) Arm_After_Pause(AllStylesChanger_Timer, 190000);
    Wait_before_Preset_00_Timer.Set_Enabled(true);
    // The start-up choices act once per run: later cycles find them cleared.
    if (s.Tunnel_Start_Whirlpool) {
      Process_Keys_Once(107);
      s.Tunnel_Start_Whirlpool = False32;
    }
    if (s.Show_FPS_Overlay) {
      Process_Keys_Once(70);
      s.Show_FPS_Overlay = False32;
    }
    if (s.Show_Help_Overlay) {
      Process_Keys_Once(112);
      s.Show_Help_Overlay = False32;
    }
    if (s.Show_Time_Overlay) {
      Process_Keys_Once(84);
      s.Show_Time_Overlay = False32;
    }
  } else if (s.Run_Mode_Preview) {
    int32_t bound = RandInt(5000);  // a random bound drawn first
    Arm(Wait_before_Preset_01_Timer, RandInt(bound) + 1000);
  } else if (s.Run_Mode_Settings) {
    s.V_Coord = 1.0f;
    Wait_before_Preset_01_Timer.Set_Enabled(true);
  }
}

void TFULL_Timers_Form::Wait_before_Preset_00_TimerTimer() {
  auto& s = All;
  s.V_Coord += 0.01f;
  if (s.V_Coord < 1.0f) return;
  Wait_before_Preset_00_Timer.Set_Enabled(false);
  s.V_Coord = 1.0f;
  if (s.Show_Alien_Objects) Arm(Timer_UFO_START, RandInt(30000) + 15000);
  // Without the presets cycle the full-screen chain ends here.
  if (s.Use_Presets_Cycle) Arm_After_Pause(Wait_before_Preset_01_Timer, 30000);
}

// ---- presets 01 .. 06: the tunnel speed ---------------------------------------------

void TFULL_Timers_Form::Wait_before_Preset_01_TimerTimer() {
  Wait_before_Preset_01_Timer.Set_Enabled(false);
  Preset_Step = Gauss_Abs(0.01f) + 0.01f;
  Preset_01_Timer.Set_Enabled(true);
}

void TFULL_Timers_Form::Preset_01_TimerTimer() {
  auto& s = All;
  s.Tunnel_Speed -= Preset_Step;
  if (s.Tunnel_Speed > -0.3f - Gauss_Abs(0.1f)) return;  // a new bound every tick
  Preset_01_Timer.Set_Enabled(false);
  Arm_After_Pause(Wait_before_Preset_02_Timer, 2000);
}

void TFULL_Timers_Form::Wait_before_Preset_02_TimerTimer() {
  Wait_before_Preset_02_Timer.Set_Enabled(false);
  Preset_Step = Gauss_Abs(0.005f) + 0.01f;
  Preset_02_Timer.Set_Enabled(true);
}

void TFULL_Timers_Form::Preset_02_TimerTimer() {
  auto& s = All;
  s.Tunnel_Speed += Preset_Step;
  if (s.Tunnel_Speed < 0.0f) return;
  Preset_02_Timer.Set_Enabled(false);
  s.Tunnel_Speed = 0.05f;
  Arm(Wait_before_Preset_03_Timer, RandInt(3500) + 1500);
}

void TFULL_Timers_Form::Wait_before_Preset_03_TimerTimer() {
  Wait_before_Preset_03_Timer.Set_Enabled(false);
  Preset_03_Timer.Set_Enabled(true);
}

void TFULL_Timers_Form::Preset_03_TimerTimer() {
  auto& s = All;
  s.Tunnel_Speed += 0.005f;
  if (s.Tunnel_Speed < 0.45f) return;
  Preset_03_Timer.Set_Enabled(false);
  Arm_After_Pause(Wait_before_Preset_04_Timer, 5000);
}

void TFULL_Timers_Form::Wait_before_Preset_04_TimerTimer() {
  Wait_before_Preset_04_Timer.Set_Enabled(false);
  Speed_Was_Positive = All.Tunnel_Speed >= 0.0f;
  Preset_04_Timer.Set_Enabled(true);
}

void TFULL_Timers_Form::Preset_04_TimerTimer() {
  auto& s = All;
  if (Speed_Was_Positive) {
    s.Tunnel_Speed -= 0.01f;
    if (s.Tunnel_Speed > 0.0f) return;
  } else {
    s.Tunnel_Speed += 0.02f;
    if (s.Tunnel_Speed < 0.0f) return;
  }
  Preset_04_Timer.Set_Enabled(false);
  s.Tunnel_Speed = 0.02f;
  Arm(Wait_before_Preset_05_Timer, RandInt(3500) + 1500);
}

void TFULL_Timers_Form::Wait_before_Preset_05_TimerTimer() {
  Wait_before_Preset_05_Timer.Set_Enabled(false);
  Preset_05_Timer.Set_Enabled(true);
}

void TFULL_Timers_Form::Preset_05_TimerTimer() {
  auto& s = All;
  s.Tunnel_Speed += 0.005f;
  if (s.Tunnel_Speed < 0.3f) return;
  Preset_05_Timer.Set_Enabled(false);
  Arm_After_Pause(Wait_before_Preset_06_Timer, 2000);
}

void TFULL_Timers_Form::Wait_before_Preset_06_TimerTimer() {
  Wait_before_Preset_06_Timer.Set_Enabled(false);
  Preset_06_Timer.Set_Enabled(true);
}

void TFULL_Timers_Form::Preset_06_TimerTimer() {
  auto& s = All;
  s.Tunnel_Speed -= 0.01f;
  if (s.Tunnel_Speed > 0.3f) return;
  Preset_06_Timer.Set_Enabled(false);
  s.Tunnel_Speed = Gauss_Abs(0.25f) + 0.25f;  // the cruising speed
  Arm_After_Pause(Wait_before_Change_Params_01_Timer, 2000);
}

// ---- depth spacing ----------------------------------------------------------------------

void TFULL_Timers_Form::Wait_before_Change_Params_01_TimerTimer() {
  Wait_before_Change_Params_01_Timer.Set_Enabled(false);
  Far_Param_Step = Gauss_Abs(0.001f) + 0.001f;
  Far_Param_Timer_01.Set_Enabled(true);
}

void TFULL_Timers_Form::Far_Param_Timer_01Timer() {
  auto& s = All;
  s.Far_Param -= Far_Param_Step;
  if (s.Far_Param > 0.09f) return;
  Far_Param_Timer_01.Set_Enabled(false);
  Arm_After_Pause(Wait_before_Change_Params_02_Timer, 2000);
}

void TFULL_Timers_Form::Wait_before_Change_Params_02_TimerTimer() {
  Wait_before_Change_Params_02_Timer.Set_Enabled(false);
  Far_Param_Step = Gauss_Abs(0.004f) + 0.006f;
  // The drift is two-phase: a turn left over from an earlier drift must not
  // end it on its first tick.
  Drift_Turned = false;
  Far_Param_Timer_02.Set_Enabled(true);
}

void TFULL_Timers_Form::Far_Param_Timer_02Timer() {
  auto& s = All;
  s.Far_Param += Far_Param_Step;
  if (s.Far_Param >= 3.5f) {
    Far_Param_Step = -0.02f - Gauss_Abs(0.02f);
    Drift_Turned = true;
  }
  if (!(Drift_Turned && s.Far_Param <= 0.9f)) return;
  Far_Param_Timer_02.Set_Enabled(false);
  s.Far_Param = 0.85f;
  Arm_After_Pause(s.Use_Special_Effects ? Wait_before_Change_Params_03_Timer : Wait_before_Change_Params_05_Timer,
                  2000);
  Style_Swap_If_Shown();
}

// ---- V stretch: dip and hump ---------------------------------------------------------------

void TFULL_Timers_Form::V_Dip_Step() {
  auto& s = All;
  s.V_Coord += V_Coord_Step;
  if (Drift_Turned) return;
  if (s.V_Coord <= 0.98f) V_Coord_Step = -0.0007f;
  if (s.V_Coord <= 0.97f) {
    V_Coord_Step = 0.0005f;
    Drift_Turned = true;
  }
}

void TFULL_Timers_Form::V_Hump_Step() {
  auto& s = All;
  s.V_Coord += V_Coord_Step;
  if (Drift_Turned) return;
  if (s.V_Coord >= 1.02f) V_Coord_Step = 0.0007f;
  if (s.V_Coord >= 1.03f) {
    V_Coord_Step = -0.0005f;
    Drift_Turned = true;
  }
}

void TFULL_Timers_Form::Wait_before_Change_Params_03_TimerTimer() {
  auto& s = All;
  Wait_before_Change_Params_03_Timer.Set_Enabled(false);
  s.V_Coord = 1.0f;
  V_Coord_Step = -0.0002f;
  s.Tunnel_Speed = Gauss_Abs(0.2f) + 0.25f;
  Drift_Turned = false;
  V_Coord_Timer_01.Set_Enabled(true);
}

void TFULL_Timers_Form::V_Coord_Timer_01Timer() {
  V_Dip_Step();
  if (All.V_Coord < 1.0f) return;
  V_Coord_Timer_01.Set_Enabled(false);
  All.V_Coord = 1.0f;
  Arm_After_Pause(Wait_before_Change_Params_04_Timer, 2000);
}

void TFULL_Timers_Form::Wait_before_Change_Params_04_TimerTimer() {
  auto& s = All;
  Wait_before_Change_Params_04_Timer.Set_Enabled(false);
  s.V_Coord = 1.0f;
  V_Coord_Step = 0.0002f;
  s.Tunnel_Speed = Gauss_Abs(0.2f) + 0.25f;
  Drift_Turned = false;
  V_Coord_Timer_02.Set_Enabled(true);
}

void TFULL_Timers_Form::V_Coord_Timer_02Timer() {
  V_Hump_Step();
  if (All.V_Coord > 1.0f) return;
  V_Coord_Timer_02.Set_Enabled(false);
  All.V_Coord = 1.0f;
  Arm_After_Pause(Wait_before_Change_Params_05_Timer, 2000);
}

// ---- narrowing ----------------------------------------------------------------------------

void TFULL_Timers_Form::Collapse_Out_And_In_Step(float& collapse) {
  collapse += Collapse_Step;
  if (collapse >= 16.0f) Collapse_Step = -0.05f;
}

void TFULL_Timers_Form::Wait_before_Change_Params_05_TimerTimer() {
  Wait_before_Change_Params_05_Timer.Set_Enabled(false);
  Collapse_Step = 0.05f;
  Style_Swap_If_Shown();
  X_Collapse_Timer_01.Set_Enabled(true);
}

void TFULL_Timers_Form::X_Collapse_Timer_01Timer() {
  Collapse_Out_And_In_Step(All.X_Collapse);
  if (All.X_Collapse > 6.0f) return;
  X_Collapse_Timer_01.Set_Enabled(false);
  All.X_Collapse = 6.0f;
  Arm_After_Pause(Wait_before_Change_Params_06_Timer, 2000);
}

void TFULL_Timers_Form::Wait_before_Change_Params_06_TimerTimer() {
  Wait_before_Change_Params_06_Timer.Set_Enabled(false);
  Collapse_Step = 0.05f;
  Style_Swap_If_Shown();
  X_Collapse_Timer_02.Set_Enabled(true);
}

void TFULL_Timers_Form::X_Collapse_Timer_02Timer() {
  All.X_Collapse += Collapse_Step;
  if (All.X_Collapse < 12.0f) return;
  X_Collapse_Timer_02.Set_Enabled(false);
  All.X_Collapse = 12.0f;
  Arm_After_Pause(Wait_before_Change_Params_07_Timer, 2000);
}

void TFULL_Timers_Form::Wait_before_Change_Params_07_TimerTimer() {
  Wait_before_Change_Params_07_Timer.Set_Enabled(false);
  Collapse_Step = 0.05f;
  Style_Swap_If_Shown();
  Y_Collapse_Timer_01.Set_Enabled(true);
}

void TFULL_Timers_Form::Y_Collapse_Timer_01Timer() {
  Collapse_Out_And_In_Step(All.Y_Collapse);
  if (All.Y_Collapse > 6.0f) return;
  Y_Collapse_Timer_01.Set_Enabled(false);
  All.Y_Collapse = 6.0f;
  Arm_After_Pause(Wait_before_Change_Params_08_Timer, 2000);
}

void TFULL_Timers_Form::Wait_before_Change_Params_08_TimerTimer() {
  Wait_before_Change_Params_08_Timer.Set_Enabled(false);
  Collapse_Step = 0.1f;
  Style_Swap_If_Shown();
  Y_Collapse_Timer_02.Set_Enabled(true);
}

void TFULL_Timers_Form::Y_Collapse_Timer_02Timer() {
  auto& s = All;
  s.Y_Collapse += Collapse_Step;
  if (s.Y_Collapse < 12.0f) return;
  Y_Collapse_Timer_02.Set_Enabled(false);
  s.Y_Collapse = 12.0f;
  if (s.Use_Special_Effects)
    Style_Boltanka_Timer_01.Set_Enabled(true);
  else
    Arm_After_Pause(Set_New_texx_Timer, 2000);
  if (s.Tunnel_Start_Morphing && RandInt(3) == 1) AllStylesChanger_Timer.Set_Enabled(true);
}

// ---- texture repeat ------------------------------------------------------------------------

void TFULL_Timers_Form::Style_Boltanka_Timer_01Timer() {
  All.Style_Boltanka -= 0.1f;
  if (All.Style_Boltanka > 5.0f) return;
  Style_Boltanka_Timer_01.Set_Enabled(false);
  All.Style_Boltanka = 5.0f;
  Arm(Style_Boltanka_Timer_Waiter_01, RandInt(13000) + 3000);
}

void TFULL_Timers_Form::Style_Boltanka_Timer_Waiter_01Timer() {
  Style_Boltanka_Timer_Waiter_01.Set_Enabled(false);
  Style_Boltanka_Timer_02.Set_Enabled(true);
}

void TFULL_Timers_Form::Style_Boltanka_Timer_02Timer() {
  All.Style_Boltanka += 0.2f;
  if (All.Style_Boltanka < 92.0f) return;
  Style_Boltanka_Timer_02.Set_Enabled(false);
  All.Style_Boltanka = 92.0f;
  Arm(Style_Boltanka_Timer_Waiter_02, RandInt(13000) + 3000);
}

void TFULL_Timers_Form::Style_Boltanka_Timer_Waiter_02Timer() {
  Style_Boltanka_Timer_Waiter_02.Set_Enabled(false);
  Style_Boltanka_Timer_03.Set_Enabled(true);
}

void TFULL_Timers_Form::Style_Boltanka_Timer_03Timer() {
  All.Style_Boltanka -= 0.3f;
  if (All.Style_Boltanka > 32.0f) return;
  Style_Boltanka_Timer_03.Set_Enabled(false);
  All.Style_Boltanka = 32.0f;
  Arm_After_Pause(Start_Texx_S_Timer, 2000);
}

// ---- generated texture coordinates -------------------------------------------------------------

void TFULL_Timers_Form::Start_Texx_S_TimerTimer() {
  auto& s = All;
  Start_Texx_S_Timer.Set_Enabled(false);
  s.TexGen_T_On = False32;
  s.TexGen_S_On = True32;
  s.V_Coord = RandInt(5) < 3 ? 1.0f : 0.97f;
  Arm_After_Pause(Wait_before_Change_Texx_01_Timer, 7000);
}

void TFULL_Timers_Form::Wait_before_Change_Texx_01_TimerTimer() {
  Wait_before_Change_Texx_01_Timer.Set_Enabled(false);
  All.TexGen_S_On = False32;
  All.TexGen_T_On = True32;
  Arm_After_Pause(Start_Texx_T_Timer, 7000);
}

void TFULL_Timers_Form::Start_Texx_T_TimerTimer() {
  Start_Texx_T_Timer.Set_Enabled(false);
  All.TexGen_S_On = False32;
  All.TexGen_T_On = False32;
  Style_Swap_If_Shown();
  Arm_After_Pause(Wait_before_Change_V_Coord_Timer_01, 5000);
}

// ---- second V dip and hump -------------------------------------------------------------------

void TFULL_Timers_Form::Wait_before_Change_V_Coord_Timer_01Timer() {
  auto& s = All;
  Wait_before_Change_V_Coord_Timer_01.Set_Enabled(false);
  s.Tunnel_Speed = Gauss_Abs(0.1f) + 0.3f;
  Drift_Turned = false;
  V_Coord_Step = -0.0002f;
  s.V_Coord = 1.0f;
  V_Coord_Timer_011.Set_Enabled(true);
}

void TFULL_Timers_Form::V_Coord_Timer_011Timer() {
  V_Dip_Step();
  if (All.V_Coord < 1.0f) return;
  V_Coord_Timer_011.Set_Enabled(false);
  All.V_Coord = 1.0f;
  Arm_After_Pause(Wait_before_Change_V_Coord_Timer_02, 2000);
}

void TFULL_Timers_Form::Wait_before_Change_V_Coord_Timer_02Timer() {
  Wait_before_Change_V_Coord_Timer_02.Set_Enabled(false);
  V_Coord_Step = 0.0002f;
  Drift_Turned = false;
  V_Coord_Timer_012.Set_Enabled(true);
}

void TFULL_Timers_Form::V_Coord_Timer_012Timer() {
  auto& s = All;
  V_Hump_Step();
  // During the fall the depth spacing grows, up to 1.5.
  if (V_Coord_Step < 0.0f && s.V_Coord <= 1.03f) s.Far_Param = std::min(s.Far_Param + 0.005f, 1.5f);
  if (s.V_Coord > 1.0f) return;
  V_Coord_Timer_012.Set_Enabled(false);
  s.V_Coord = 1.0f;
  Arm_After_Pause(Wait_before_TexCoord2f_Sshift_Timer_01, 2000);
}

// ---- texture shift ------------------------------------------------------------------------------

void TFULL_Timers_Form::Wait_before_TexCoord2f_Sshift_Timer_01Timer() {
  auto& s = All;
  Wait_before_TexCoord2f_Sshift_Timer_01.Set_Enabled(false);
  s.TexCoord2f_Sshift = 0.0f;
  if (s.Tunnel_Start_Morphing && RandInt(3) == 1) AllStylesChanger_Timer.Set_Enabled(true);
  Style_Swap_If_Shown();
  TexCoord2f_Sshift_Timer_01.Set_Enabled(true);
}

void TFULL_Timers_Form::TexCoord2f_Sshift_Timer_01Timer() {
  All.TexCoord2f_Sshift += Sshift_Step;
  if (All.TexCoord2f_Sshift < 0.6f) return;
  TexCoord2f_Sshift_Timer_01.Set_Enabled(false);
  TexCoord2f_Sshift_Timer_02.Set_Enabled(true);
}

void TFULL_Timers_Form::TexCoord2f_Sshift_Timer_02Timer() {
  auto& s = All;
  s.TexCoord2f_Sshift -= Sshift_Step;
  if (s.TexCoord2f_Sshift <= 0.3f) s.Far_Param = std::max(s.Far_Param - 0.005f, 0.3f);
  if (s.TexCoord2f_Sshift > 0.0f) return;
  TexCoord2f_Sshift_Timer_02.Set_Enabled(false);
  s.TexCoord2f_Sshift = 0.0f;
  Arm_After_Pause(Wait_before_TexCoord2f_Sshift_Timer_02, 2000);
}

void TFULL_Timers_Form::Wait_before_TexCoord2f_Sshift_Timer_02Timer() {
  Wait_before_TexCoord2f_Sshift_Timer_02.Set_Enabled(false);
  Style_Swap_If_Shown();
  TexCoord2f_Sshift_Timer_03.Set_Enabled(true);
}

void TFULL_Timers_Form::TexCoord2f_Sshift_Timer_03Timer() {
  All.TexCoord2f_Sshift -= Sshift_Step;
  if (All.TexCoord2f_Sshift > -0.4f) return;
  TexCoord2f_Sshift_Timer_03.Set_Enabled(false);
  TexCoord2f_Sshift_Timer_04.Set_Enabled(true);
}

void TFULL_Timers_Form::TexCoord2f_Sshift_Timer_04Timer() {
  auto& s = All;
  s.TexCoord2f_Sshift += Sshift_Step;
  if (s.TexCoord2f_Sshift >= -0.1f) s.Far_Param = std::min(s.Far_Param + 0.01f, 1.0f);
  if (s.TexCoord2f_Sshift < 0.0f) return;
  TexCoord2f_Sshift_Timer_04.Set_Enabled(false);
  s.TexCoord2f_Sshift = 0.0f;
  Arm_After_Pause(Set_New_texx_Timer, 2000);
}

// ---- end of the show cycle ----------------------------------------------------------------------

void TFULL_Timers_Form::Set_New_texx_TimerTimer() {
  auto& s = All;
  Set_New_texx_Timer.Set_Enabled(false);
  // The per-cycle skin change: a press of Enter (a skin step).
  if (s.Run_Mode_Fullscreen && !s.No_Skin_Change_Per_Cycle) Process_Keys_Once(13);
  s.Tunnel_Speed = RandInt(3) == 2 ? Gauss_Abs(0.15f) + 0.15f : Gauss_Abs(0.3f) + 0.25f;
  Start_Show();
}

void TFULL_Timers_Form::Stop_Texture_Drifts(bool reset_speed) {
  auto& s = All;
  s.Auto_Drift_Armed = True32;
  if (reset_speed && s.Run_Mode_Fullscreen) {
    s.Tunnel_Speed = 0.3f;
    s.Tunnel_Velocity = 0.3f;
  }
  s.TexCoord2f_Sshift = 0.0f;
  s.V_Coord = 1.0f;
  s.X_Collapse = 12.0f;
  s.Y_Collapse = 12.0f;
  s.TexGen_T_On = False32;
  s.TexGen_S_On = False32;
  for (Platform_Timer* t :
       {&Start_Texx_S_Timer, &Start_Texx_T_Timer, &Wait_before_Change_Texx_01_Timer,
        &Wait_before_Change_V_Coord_Timer_01, &V_Coord_Timer_011, &Wait_before_Change_V_Coord_Timer_02,
        &V_Coord_Timer_012, &Wait_before_TexCoord2f_Sshift_Timer_01, &TexCoord2f_Sshift_Timer_01,
        &TexCoord2f_Sshift_Timer_02, &Wait_before_TexCoord2f_Sshift_Timer_02, &TexCoord2f_Sshift_Timer_03,
        &TexCoord2f_Sshift_Timer_04})
    t->Set_Enabled(false);
}
