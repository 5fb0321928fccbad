// Tunnel_Unit: the background plate, the textured plasma tunnel in its two
// styles (the tube and the whirlpool cone) with their cross-fades, the
// star-burst disc of the intro and the particle burst.
//
// Owns the tunnel geometry (Tunnel()): the style-1 tube, rebuilt every frame
// from Tunnel_Phase unless Style1_Grid_Frozen; the style-2 cone, whose x and y
// are built once and whose depth is rewritten on every style-2 draw; and the
// scattered particle offsets, built once. Everything else it reads from All,
// where the animation director changes it between frames.
//
// Build_Tunnel_Grids is called once by Init_Scene; the Draw_ operations are
// called by Compose_Frame. Immediate mode, GUI thread only.
#pragma once

#include <array>

// One scattered offset of the particle burst and its drift per step.
struct Tunnel_Particle_Seed {
  float x = 0, y = 0, z = 0;
  float vx = 0, vy = 0, vz = 0;
};

struct Tunnel_Geometry {
  // Style-1 tube: [angular position 0..12, angle i * pi/6, 0 and 12 coincide]
  // [depth ring 0..38] [x, y, z].
  float Style1_Grid[13][39][3] = {};
  // Style-2 cone: [angular position 0..32, angle i * pi/16, 0 and 32 coincide]
  // [depth ring 0..32] [x, y, z].
  float Style2_Grid[33][33][3] = {};
  // The particle burst's offsets; the first Particles_Drawn are drawn.
  std::array<Tunnel_Particle_Seed, 40> Particle_Seeds{};
};

// Particle seeds drawn per frame of the burst.
inline constexpr int Particles_Drawn = 30;
// Simulation steps that scatter the seeds after they are drawn.
inline constexpr int Particle_Scatter_Steps = 500;

// The one tunnel geometry of the process. Tests reset it with
// `Tunnel() = Tunnel_Geometry{}`.
Tunnel_Geometry& Tunnel();

// x and y of Style2_Grid; Particle_Seeds from six RandInt(100) draws each,
// then Particle_Scatter_Steps drift steps (a seed farther than 16 from the
// origin goes back to it, keeping its drift).
void Build_Tunnel_Grids();
// Style1_Grid from Tunnel_Phase, X_Collapse, Y_Collapse and Far_Param; ring 0
// stays centred while the deeper rings sway.
void Animate_Style1_Grid();

// The full-view plate at depth 50 with Background_Texture (0 outside
// full-screen mode: the default texture, so a plain white quad).
void Draw_Background();
// The tunnel layers named by Draw_Style1_A/B and Draw_Style2_A/B, with the
// skin and style cross-fades and texture generation as switched in All.
void Draw_Tunnel();
// One style-1 tube with the bound texture; dim darkens the far slices.
void Draw_Style1(bool dim);
// One style-2 cone with the bound texture; dim darkens the far slices.
void Draw_Style2(bool dim);
// The intro's two counter-rotating additive star-burst quads.
void Draw_StarBurst_Disc();
// The additive particle burst (the first Particles_Drawn seeds).
void Draw_Particles();
