#include "glowsaver/render/Compose_Frame_Unit.h"

#include "platform/Platform_GL.h"

void Compose_Frame() {
  // 1. Clear; the clear colour set here applies from the next frame on.
  Gl.Clear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
  Gl.ClearColor(0, 0, 0, 1);
  Gl.LoadIdentity();
}
