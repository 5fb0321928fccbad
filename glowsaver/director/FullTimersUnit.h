// FullTimersUnit: TFULL_Timers_Form, the hidden form whose timers sequence
// the show. Its handlers change the shared scene values in `All` between two
// frames; the renderer reads them on the next frame. The form owns every timer
// of the show: the star-burst intro and tunnel fade-in, the start of the
// cycles, the preset chain that swings the tunnel speed and drifts the tunnel
// parameters, the tunnel speed timers, and (interval only, handlers installed
// by their own units) the skin and style changers, the object events and the
// overlay slides.
//
// Created by the program entry in every drawing mode and never shown; all
// timers are created disabled. The render loop calls Start_Show once before
// its first frame and Stop_Texture_Drifts(true) at shutdown. GUI thread only.
//
// Timer intervals are milliseconds; the timer facility ticks them on its
// 15.625 ms grid. Every drift moves a fixed step per tick.
#pragma once

#include "platform/Platform_Messages.h"

#include <cstdint>

// The pause before a chain step (ms): `milliseconds` when it is not 0, else a
// random 5000 .. 19999.
int32_t Preset_Pause(int32_t milliseconds);

class TFULL_Timers_Form {
 public:
  TFULL_Timers_Form() = default;
  TFULL_Timers_Form(const TFULL_Timers_Form&) = delete;
  TFULL_Timers_Form& operator=(const TFULL_Timers_Form&) = delete;

  // ---- operations -------------------------------------------------------
  // Begins one show cycle: the star-burst intro (extra layer on) or the short
  // tunnel fade-in from tint 70, and the jump gate.
  void Start_Show();
  // Called when the fade-in ends: arms the changers and the first wait of the
  // show cycle for the run mode.
  void Start_Cycles();
  // When the tunnel may morph and a style-2 layer is on, presses the style key
  // (107) to turn style 2 back into style 1.
  void Style_Swap_If_Shown();
  // Ends the texture-generation, V-coordinate and texture-shift steps of a
  // show cycle for good and puts their values back; reset_speed (full-screen
  // run only) also sets both tunnel speeds to 0.3.
  void Stop_Texture_Drifts(bool reset_speed);
  // Starts or stops the tunnel's travel. It travels on Angle_Speed_Timer with
  // random velocities, else on Angle_by_TrackBarSpeed_Timer: starting enables
  // the one the setting chooses; stopping disables both.
  void Set_Tunnel_Travel(bool travel);

  // ---- state of the show that only this form uses ------------------------
  float Preset_Step = 0.0f;          // per-tick change of Tunnel_Speed in presets 01 and 02
  float Far_Param_Step = 1.0f;       // per-tick change of Far_Param
  float V_Coord_Step = 0.001f;       // per-tick change of V_Coord
  float Collapse_Step = 1.0f;        // per-tick change of the narrowing divisor being driven
  float Sshift_Step = 0.00075f;      // per-tick change of TexCoord2f_Sshift (never changed)
  bool Drift_Turned = false;         // a two-phase drift has passed its turning point
  bool Speed_Was_Positive = false;   // sign of Tunnel_Speed when preset 04 begins
  bool StarBurst_Blue_Fixed = true;  // the blue channel of the star-burst disc is not animated
  uint8_t Fade_In_Step = 1;          // per-tick rise of the tunnel tint channels

  // ---- tunnel speed, enabled by the render loop ---------------------------
  // Each tick adds Tunnel_Speed (random velocities) or Tunnel_Velocity (the
  // user's slider) to Tunnel_Phase.
  Platform_Timer Angle_Speed_Timer{"Angle_Speed_Timer", 1, [this] { Angle_Speed_TimerTimer(); }};
  Platform_Timer Angle_by_TrackBarSpeed_Timer{"Angle_by_TrackBarSpeed_Timer", 1,
                                              [this] { Angle_by_TrackBarSpeed_TimerTimer(); }};

  // ---- intro and fade-in --------------------------------------------------
  Platform_Timer StarBurst_Intro_Timer{"StarBurst_Intro_Timer", 30, [this] { StarBurst_Intro_TimerTimer(); }};
  Platform_Timer TunnnelFadeIN_Timer{"TunnnelFadeIN_Timer", 25, [this] { TunnnelFadeIN_TimerTimer(); }};

  // ---- preset chain: speed --------------------------------------------------
  // A "Wait_before" timer is a one-shot whose interval the previous step sets.
  Platform_Timer Wait_before_Preset_00_Timer{"Wait_before_Preset_00_Timer", 30,
                                             [this] { Wait_before_Preset_00_TimerTimer(); }};
  Platform_Timer Wait_before_Preset_01_Timer{"Wait_before_Preset_01_Timer", 2000,
                                             [this] { Wait_before_Preset_01_TimerTimer(); }};
  Platform_Timer Preset_01_Timer{"Preset_01_Timer", 100, [this] { Preset_01_TimerTimer(); }};
  Platform_Timer Wait_before_Preset_02_Timer{"Wait_before_Preset_02_Timer", 1000,
                                             [this] { Wait_before_Preset_02_TimerTimer(); }};
  Platform_Timer Preset_02_Timer{"Preset_02_Timer", 100, [this] { Preset_02_TimerTimer(); }};
  Platform_Timer Wait_before_Preset_03_Timer{"Wait_before_Preset_03_Timer", 1000,
                                             [this] { Wait_before_Preset_03_TimerTimer(); }};
  Platform_Timer Preset_03_Timer{"Preset_03_Timer", 100, [this] { Preset_03_TimerTimer(); }};
  Platform_Timer Wait_before_Preset_04_Timer{"Wait_before_Preset_04_Timer", 1000,
                                             [this] { Wait_before_Preset_04_TimerTimer(); }};
  Platform_Timer Preset_04_Timer{"Preset_04_Timer", 100, [this] { Preset_04_TimerTimer(); }};
  Platform_Timer Wait_before_Preset_05_Timer{"Wait_before_Preset_05_Timer", 1000,
                                             [this] { Wait_before_Preset_05_TimerTimer(); }};
  Platform_Timer Preset_05_Timer{"Preset_05_Timer", 100, [this] { Preset_05_TimerTimer(); }};
  Platform_Timer Wait_before_Preset_06_Timer{"Wait_before_Preset_06_Timer", 1000,
                                             [this] { Wait_before_Preset_06_TimerTimer(); }};
  Platform_Timer Preset_06_Timer{"Preset_06_Timer", 100, [this] { Preset_06_TimerTimer(); }};

  // ---- preset chain: depth spacing, V stretch, narrowing --------------------
  Platform_Timer Wait_before_Change_Params_01_Timer{"Wait_before_Change_Params_01_Timer", 1000,
                                                    [this] { Wait_before_Change_Params_01_TimerTimer(); }};
  Platform_Timer Far_Param_Timer_01{"Far_Param_Timer_01", 100, [this] { Far_Param_Timer_01Timer(); }};
  Platform_Timer Wait_before_Change_Params_02_Timer{"Wait_before_Change_Params_02_Timer", 1000,
                                                    [this] { Wait_before_Change_Params_02_TimerTimer(); }};
  Platform_Timer Far_Param_Timer_02{"Far_Param_Timer_02", 100, [this] { Far_Param_Timer_02Timer(); }};
  Platform_Timer Wait_before_Change_Params_03_Timer{"Wait_before_Change_Params_03_Timer", 1000,
                                                    [this] { Wait_before_Change_Params_03_TimerTimer(); }};
  Platform_Timer V_Coord_Timer_01{"V_Coord_Timer_01", 100, [this] { V_Coord_Timer_01Timer(); }};
  Platform_Timer Wait_before_Change_Params_04_Timer{"Wait_before_Change_Params_04_Timer", 1000,
                                                    [this] { Wait_before_Change_Params_04_TimerTimer(); }};
  Platform_Timer V_Coord_Timer_02{"V_Coord_Timer_02", 100, [this] { V_Coord_Timer_02Timer(); }};
  Platform_Timer Wait_before_Change_Params_05_Timer{"Wait_before_Change_Params_05_Timer", 1000,
                                                    [this] { Wait_before_Change_Params_05_TimerTimer(); }};
  Platform_Timer X_Collapse_Timer_01{"X_Collapse_Timer_01", 100, [this] { X_Collapse_Timer_01Timer(); }};
  Platform_Timer Wait_before_Change_Params_06_Timer{"Wait_before_Change_Params_06_Timer", 1000,
                                                    [this] { Wait_before_Change_Params_06_TimerTimer(); }};
  Platform_Timer X_Collapse_Timer_02{"X_Collapse_Timer_02", 100, [this] { X_Collapse_Timer_02Timer(); }};
  Platform_Timer Wait_before_Change_Params_07_Timer{"Wait_before_Change_Params_07_Timer", 1000,
                                                    [this] { Wait_before_Change_Params_07_TimerTimer(); }};
  Platform_Timer Y_Collapse_Timer_01{"Y_Collapse_Timer_01", 100, [this] { Y_Collapse_Timer_01Timer(); }};
  Platform_Timer Wait_before_Change_Params_08_Timer{"Wait_before_Change_Params_08_Timer", 1000,
                                                    [this] { Wait_before_Change_Params_08_TimerTimer(); }};
  Platform_Timer Y_Collapse_Timer_02{"Y_Collapse_Timer_02", 100, [this] { Y_Collapse_Timer_02Timer(); }};

  // ---- preset chain: special effects -----------------------------------------
  Platform_Timer Style_Boltanka_Timer_01{"Style_Boltanka_Timer_01", 30, [this] { Style_Boltanka_Timer_01Timer(); }};
  Platform_Timer Style_Boltanka_Timer_Waiter_01{"Style_Boltanka_Timer_Waiter_01", 1000,
                                                [this] { Style_Boltanka_Timer_Waiter_01Timer(); }};
  Platform_Timer Style_Boltanka_Timer_02{"Style_Boltanka_Timer_02", 30, [this] { Style_Boltanka_Timer_02Timer(); }};
  Platform_Timer Style_Boltanka_Timer_Waiter_02{"Style_Boltanka_Timer_Waiter_02", 1000,
                                                [this] { Style_Boltanka_Timer_Waiter_02Timer(); }};
  Platform_Timer Style_Boltanka_Timer_03{"Style_Boltanka_Timer_03", 30, [this] { Style_Boltanka_Timer_03Timer(); }};
  Platform_Timer Start_Texx_S_Timer{"Start_Texx_S_Timer", 1000, [this] { Start_Texx_S_TimerTimer(); }};
  Platform_Timer Wait_before_Change_Texx_01_Timer{"Wait_before_Change_Texx_01_Timer", 1000,
                                                  [this] { Wait_before_Change_Texx_01_TimerTimer(); }};
  Platform_Timer Start_Texx_T_Timer{"Start_Texx_T_Timer", 1000, [this] { Start_Texx_T_TimerTimer(); }};
  Platform_Timer Wait_before_Change_V_Coord_Timer_01{"Wait_before_Change_V_Coord_Timer_01", 1000,
                                                     [this] { Wait_before_Change_V_Coord_Timer_01Timer(); }};
  Platform_Timer V_Coord_Timer_011{"V_Coord_Timer_011", 100, [this] { V_Coord_Timer_011Timer(); }};
  Platform_Timer Wait_before_Change_V_Coord_Timer_02{"Wait_before_Change_V_Coord_Timer_02", 1000,
                                                     [this] { Wait_before_Change_V_Coord_Timer_02Timer(); }};
  Platform_Timer V_Coord_Timer_012{"V_Coord_Timer_012", 100, [this] { V_Coord_Timer_012Timer(); }};
  Platform_Timer Wait_before_TexCoord2f_Sshift_Timer_01{"Wait_before_TexCoord2f_Sshift_Timer_01", 1000,
                                                        [this] { Wait_before_TexCoord2f_Sshift_Timer_01Timer(); }};
  Platform_Timer TexCoord2f_Sshift_Timer_01{"TexCoord2f_Sshift_Timer_01", 1,
                                            [this] { TexCoord2f_Sshift_Timer_01Timer(); }};
  Platform_Timer TexCoord2f_Sshift_Timer_02{"TexCoord2f_Sshift_Timer_02", 1,
                                            [this] { TexCoord2f_Sshift_Timer_02Timer(); }};
  Platform_Timer Wait_before_TexCoord2f_Sshift_Timer_02{"Wait_before_TexCoord2f_Sshift_Timer_02", 1000,
                                                        [this] { Wait_before_TexCoord2f_Sshift_Timer_02Timer(); }};
  Platform_Timer TexCoord2f_Sshift_Timer_03{"TexCoord2f_Sshift_Timer_03", 1,
                                            [this] { TexCoord2f_Sshift_Timer_03Timer(); }};
  Platform_Timer TexCoord2f_Sshift_Timer_04{"TexCoord2f_Sshift_Timer_04", 1,
                                            [this] { TexCoord2f_Sshift_Timer_04Timer(); }};
  Platform_Timer Set_New_texx_Timer{"Set_New_texx_Timer", 1000, [this] { Set_New_texx_TimerTimer(); }};

  // ---- timers whose handlers their own units install (Set_Handler) -----------
  // Skin and style changers.
  Platform_Timer AllTexturesChanger_Timer{"AllTexturesChanger_Timer", 4000, nullptr};
  Platform_Timer FluentTexturesBLENDER_Timer{"FluentTexturesBLENDER_Timer", 1, nullptr};
  Platform_Timer AllStylesChanger_Timer{"AllStylesChanger_Timer", 4000, nullptr};
  Platform_Timer FluentTunStyleChanger_Timer{"FluentTunStyleChanger_Timer", 1, nullptr};
  // Object events.
  Platform_Timer Blob_in_Timer{"Blob_in_Timer", 30, nullptr};
  Platform_Timer Blob_wait_Timer{"Blob_wait_Timer", 3000, nullptr};
  Platform_Timer Blob_out_Timer{"Blob_out_Timer", 30, nullptr};
  Platform_Timer ParticleZ_Timer{"ParticleZ_Timer", 30, nullptr};
  Platform_Timer Timer_UFO_START{"Timer_UFO_START", 1000, nullptr};
  Platform_Timer Timer_UFO_Change{"Timer_UFO_Change", 1000, nullptr};
  Platform_Timer JG_Step_Timer{"JG_Step_Timer", 1, nullptr};
  // Overlay slides.
  Platform_Timer Help_Panel_Mover_Timer_01{"Help_Panel_Mover_Timer_01", 1, nullptr};
  Platform_Timer Help_Panel_Mover_Timer_02{"Help_Panel_Mover_Timer_02", 1, nullptr};
  Platform_Timer Help_Panel_Mover_Timer_03{"Help_Panel_Mover_Timer_03", 1, nullptr};
  Platform_Timer Help_Panel_REMover_Timer_01{"Help_Panel_REMover_Timer_01", 1, nullptr};
  Platform_Timer Help_Panel_REMover_Timer_02{"Help_Panel_REMover_Timer_02", 1, nullptr};
  Platform_Timer Help_Panel_REMover_Timer_03{"Help_Panel_REMover_Timer_03", 1, nullptr};
  Platform_Timer DateTime_On_Timer_01{"DateTime_On_Timer_01", 1, nullptr};
  Platform_Timer DateTime_On_Timer_02{"DateTime_On_Timer_02", 1, nullptr};
  Platform_Timer DateTime_On_Timer_03{"DateTime_On_Timer_03", 1, nullptr};
  Platform_Timer DateTime_Out_Timer_01{"DateTime_Out_Timer_01", 1, nullptr};
  Platform_Timer DateTime_Out_Timer_02{"DateTime_Out_Timer_02", 1, nullptr};
  Platform_Timer DateTime_Out_Timer_03{"DateTime_Out_Timer_03", 1, nullptr};
  Platform_Timer FPS_On_Timer{"FPS_On_Timer", 1, nullptr};
  Platform_Timer FPS_Out_Timer{"FPS_Out_Timer", 1, nullptr};
  Platform_Timer Resolution_On_Timer{"Resolution_On_Timer", 1, nullptr};
  Platform_Timer Resolution_Out_Timer{"Resolution_Out_Timer", 1, nullptr};

  // ---- handlers ----------------------------------------------------------------
  void Angle_Speed_TimerTimer();
  void Angle_by_TrackBarSpeed_TimerTimer();
  void StarBurst_Intro_TimerTimer();
  void TunnnelFadeIN_TimerTimer();
  void Wait_before_Preset_00_TimerTimer();
  void Wait_before_Preset_01_TimerTimer();
  void Preset_01_TimerTimer();
  void Wait_before_Preset_02_TimerTimer();
  void Preset_02_TimerTimer();
  void Wait_before_Preset_03_TimerTimer();
  void Preset_03_TimerTimer();
  void Wait_before_Preset_04_TimerTimer();
  void Preset_04_TimerTimer();
  void Wait_before_Preset_05_TimerTimer();
  void Preset_05_TimerTimer();
  void Wait_before_Preset_06_TimerTimer();
  void Preset_06_TimerTimer();
  void Wait_before_Change_Params_01_TimerTimer();
  void Far_Param_Timer_01Timer();
  void Wait_before_Change_Params_02_TimerTimer();
  void Far_Param_Timer_02Timer();
  void Wait_before_Change_Params_03_TimerTimer();
  void V_Coord_Timer_01Timer();
  void Wait_before_Change_Params_04_TimerTimer();
  void V_Coord_Timer_02Timer();
  void Wait_before_Change_Params_05_TimerTimer();
  void X_Collapse_Timer_01Timer();
  void Wait_before_Change_Params_06_TimerTimer();
  void X_Collapse_Timer_02Timer();
  void Wait_before_Change_Params_07_TimerTimer();
  void Y_Collapse_Timer_01Timer();
  void Wait_before_Change_Params_08_TimerTimer();
  void Y_Collapse_Timer_02Timer();
  void Style_Boltanka_Timer_01Timer();
  void Style_Boltanka_Timer_Waiter_01Timer();
  void Style_Boltanka_Timer_02Timer();
  void Style_Boltanka_Timer_Waiter_02Timer();
  void Style_Boltanka_Timer_03Timer();
  void Start_Texx_S_TimerTimer();
  void Wait_before_Change_Texx_01_TimerTimer();
  void Start_Texx_T_TimerTimer();
  void Wait_before_Change_V_Coord_Timer_01Timer();
  void V_Coord_Timer_011Timer();
  void Wait_before_Change_V_Coord_Timer_02Timer();
  void V_Coord_Timer_012Timer();
  void Wait_before_TexCoord2f_Sshift_Timer_01Timer();
  void TexCoord2f_Sshift_Timer_01Timer();
  void TexCoord2f_Sshift_Timer_02Timer();
  void Wait_before_TexCoord2f_Sshift_Timer_02Timer();
  void TexCoord2f_Sshift_Timer_03Timer();
  void TexCoord2f_Sshift_Timer_04Timer();
  void Set_New_texx_TimerTimer();

 private:
  // One tick of the V dip (falls from 1.0, turns at 0.97) and of the V hump
  // (rises from 1.0, turns at 1.03): the step, then the turning tests.
  void V_Dip_Step();
  void V_Hump_Step();
  // One tick of a narrowing drift that climbs to 16 and then falls.
  void Collapse_Out_And_In_Step(float& collapse);
  // Sets a chain timer's interval to the preset pause + extra_ms and enables it.
  void Arm_After_Pause(Platform_Timer& timer, int32_t extra_ms);
};
