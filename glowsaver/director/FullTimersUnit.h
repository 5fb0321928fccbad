// FullTimersUnit: TFULL_Timers_Form, the hidden form whose timers sequence
// the show. Its handlers change the shared scene values between two frames;
// the renderer reads them on the next frame. Created by the program entry in
// every drawing mode; GUI thread only.
#pragma once

#include "platform/Platform_Messages.h"

class TFULL_Timers_Form {
 public:
  TFULL_Timers_Form() = default;

  // Tunnel travel, enabled by the render loop: each tick adds Tunnel_Speed
  // (random velocities) or Tunnel_Velocity (the user's slider) to Tunnel_Phase.
  Platform_Timer Angle_Speed_Timer{"Angle_Speed_Timer", 1, [this] { Angle_Speed_TimerTimer(); }};
  Platform_Timer Angle_by_TrackBarSpeed_Timer{"Angle_by_TrackBarSpeed_Timer", 1,
                                              [this] { Angle_by_TrackBarSpeed_TimerTimer(); }};

  void Angle_Speed_TimerTimer();
  void Angle_by_TrackBarSpeed_TimerTimer();
};
