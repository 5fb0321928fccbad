#include "glowsaver/director/FullTimersUnit.h"

#include "glowsaver/host/ALL_Variables.h"

void TFULL_Timers_Form::Angle_Speed_TimerTimer() { All.Tunnel_Phase += All.Tunnel_Speed; }

void TFULL_Timers_Form::Angle_by_TrackBarSpeed_TimerTimer() { All.Tunnel_Phase += All.Tunnel_Velocity; }
