#include "glowsaver/render/Compose_Frame_Unit.h"

#include "glowsaver/host/ALL_Variables.h"
#include "glowsaver/render/Tunnel_Unit.h"
#include "platform/Platform_GL.h"

void Compose_Frame() {
  const auto& s = All;
  // Clear; the clear colour set here applies from the next frame on.
  Gl.Clear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
  Gl.ClearColor(0, 0, 0, 1);
  Gl.LoadIdentity();
  Draw_Background();
  Draw_Tunnel();
  if (!s.Intro_Finished) Draw_StarBurst_Disc();
  if (s.Particles_On) Draw_Particles();
}
