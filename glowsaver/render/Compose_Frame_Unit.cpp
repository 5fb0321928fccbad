#include "glowsaver/render/Compose_Frame_Unit.h"

#include "glowsaver/host/ALL_Variables.h"
#include "glowsaver/render/Tunnel_Unit.h"
#include "platform/Platform_GL.h"

namespace {

// While no skin fade and no style swap runs, every slice of every tunnel layer
// is drawn with an opaque colour (the dimming grey or the tint, both alpha 1)
// and an opaque skin (skin textures are made with alpha 255), so blending
// gives the tunnel's own colour and nothing behind it shows through.
bool Tunnel_Is_Opaque() { return All.Skin_Blend_Idle && All.Style_Blend_Idle; }

// The background plate drawn after an opaque tunnel, behind it: the depth
// test rejects the plate's hidden pixels before they are textured, so the
// frame pays only for the plate's visible rest. Where the plate lies at
// exactly the tunnel's depth it wins, as when it is drawn first and the
// tunnel fails GL_LESS there; so the picture is the same pixel for pixel.
// The state the plate sets is given back: the layers after it see the
// tunnel's state as before.
void Draw_Background_Behind_Tunnel() {
  // Colour, switches (blending among them), texture binding, depth function.
  Gl.PushAttrib(GL_CURRENT_BIT | GL_ENABLE_BIT | GL_TEXTURE_BIT | GL_DEPTH_BUFFER_BIT);
  Gl.DepthFunc(GL_LEQUAL);
  Draw_Background();
  Gl.PopAttrib();
}

} // namespace

void Compose_Frame() {
  const auto& s = All;
  // Clear; the clear colour set here applies from the next frame on.
  Gl.Clear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
  Gl.ClearColor(0, 0, 0, 1);
  Gl.LoadIdentity();
  if (Tunnel_Is_Opaque()) {
    Draw_Tunnel();
    Draw_Background_Behind_Tunnel();
  } else {
    Draw_Background();
    Draw_Tunnel();
  }
  if (!s.Intro_Finished) Draw_StarBurst_Disc();
  if (s.Particles_On) Draw_Particles();
}
