// Compose_Frame_Unit: one picture of the scene into the current context, its
// layers in a fixed order, each under its own condition: background plate,
// tunnel, the intro's star-burst disc, the particle burst. An opaque tunnel
// is drawn before the background plate it hides (the same picture, without
// texturing the plate's hidden pixels).
// Called by the render loop whenever the message queue is empty; the loop
// swaps the buffers afterwards. GUI thread only.
#pragma once

void Compose_Frame();
