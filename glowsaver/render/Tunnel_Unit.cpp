#include "glowsaver/render/Tunnel_Unit.h"

#include "glowsaver/host/ALL_Variables.h"
#include "glowsaver/host/Random_Unit.h"
#include "platform/Platform_GL.h"

#include <cmath>
#include <numbers>

Tunnel_Geometry& Tunnel() {
  static Tunnel_Geometry geometry;
  return geometry;
}

namespace {

constexpr double Pi = std::numbers::pi;

// Brightness of the far slices: 1 up to last_full, then 1 - (k - ramp_zero) / 10.
float Tunnel_Slice_Brightness(int k, int last_full, int ramp_zero) {
  return k <= last_full ? 1.0f : 1.0f - static_cast<float>(k - ramp_zero) / 10.0f;
}

// The per-slice colour: the dimming grey, then the tint over it; both set alpha 1.
void Tunnel_Slice_Colour(bool dim, float b) {
  const auto& s = All;
  if (dim) Gl.Color3f(b, b, b);
  if (s.Tunnel_Tinted) Gl.Color3ub(s.Tunnel_Color_R, s.Tunnel_Color_G, s.Tunnel_Color_B);
}

void Tunnel_Vertex(const float (&p)[3]) { Gl.Vertex3f(p[0], p[1], p[2]); }

}  // namespace

void Build_Tunnel_Grids() {
  auto& g = Tunnel();
  for (int i = 0; i <= 32; ++i)
    for (int j = 0; j <= 32; ++j) {
      const double a = i * Pi / 16;
      const double r = 3.0 - j / 12.0;
      g.Style2_Grid[i][j][0] = static_cast<float>(std::cos(a) * r);
      g.Style2_Grid[i][j][1] = static_cast<float>(std::sin(a) * r);
      g.Style2_Grid[i][j][2] = static_cast<float>(-j);
    }
  for (auto& p : g.Particle_Seeds) {
    // Six draws in this order: the drift first, then the position.
    p.vx = static_cast<float>(RandInt(100)) / 2000.0f - 0.025f;
    p.vy = static_cast<float>(RandInt(100)) / 2000.0f - 0.025f;
    p.vz = static_cast<float>(RandInt(100)) / 3000.0f + 0.2f;
    p.x = static_cast<float>(RandInt(100)) / 1000.0f;
    p.y = static_cast<float>(RandInt(100)) / 1000.0f;
    p.z = static_cast<float>(RandInt(100)) / 10.0f;
  }
  for (int step = 0; step < Particle_Scatter_Steps; ++step)
    for (auto& p : g.Particle_Seeds) {
      p.x += p.vx;
      p.y += p.vy;
      p.z += p.vz;
      if (std::sqrt(p.x * p.x + p.y * p.y + p.z * p.z) > 16.0f) p.x = p.y = p.z = 0;
    }
}

void Animate_Style1_Grid() {
  const auto& s = All;
  auto& g = Tunnel();
  const double P = s.Tunnel_Phase;
  // The sway of ring 0, taken off every ring so the mouth stays centred.
  const double x0 = 2 * std::sin(P / 29) + std::cos(P / 13);
  const double y0 = 2 * std::cos(P / 33) + std::sin(P / 17);
  for (int i = 0; i <= 12; ++i) {
    const double a = i * Pi / 6;
    for (int j = 0; j <= 38; ++j) {
      const double w = 2.0 * j + P;
      const double x = std::cos(a) * (3.0 - j / static_cast<double>(s.X_Collapse)) + 2 * std::sin(w / 29) +
                       std::cos(w / 13) - x0;
      const double y = std::sin(a) * (3.0 - j / static_cast<double>(s.Y_Collapse)) + 2 * std::cos(w / 33) +
                       std::sin(w / 17) - y0;
      g.Style1_Grid[i][j][0] = static_cast<float>(x);
      g.Style1_Grid[i][j][1] = static_cast<float>(y);
      g.Style1_Grid[i][j][2] = -s.Far_Param * static_cast<float>(j);
    }
  }
}

void Draw_Background() {
  const auto& s = All;
  Gl.PushMatrix();
  Gl.LoadIdentity();
  Gl.Translatef(0, 0, -50);
  Gl.Enable(GL_DEPTH_TEST);
  Gl.Enable(GL_TEXTURE_2D);
  Gl.BindTexture(GL_TEXTURE_2D, s.Background_Texture);
  Gl.Disable(GL_BLEND);
  Gl.Color3f(1, 1, 1);
  Gl.Begin(GL_QUADS);
  Gl.TexCoord2f(0, 0), Gl.Vertex3f(-28, -21, 0);
  Gl.TexCoord2f(0, 1), Gl.Vertex3f(-28, 21, 0);
  Gl.TexCoord2f(1, 1), Gl.Vertex3f(28, 21, 0);
  Gl.TexCoord2f(1, 0), Gl.Vertex3f(28, -21, 0);
  Gl.End();
  Gl.PopMatrix();
}

void Draw_Style1(bool dim) {
  const auto& s = All;
  const auto& g = Tunnel().Style1_Grid;
  const float sigma = s.TexCoord2f_Sshift;
  for (int k = 0; k <= 37; ++k) {
    const float t0 = static_cast<float>(k) / s.Style_Boltanka + 0.02f * s.Tunnel_Phase;
    const float t1 = static_cast<float>(k + 1) / s.Style_Boltanka + 0.02f * s.Tunnel_Phase * s.V_Coord;
    Tunnel_Slice_Colour(dim, Tunnel_Slice_Brightness(k, 34, 36));
    Gl.Begin(GL_QUADS);
    for (int m = 0; m <= 11; ++m) {
      // Around the tube the texture runs once, from s = -0.25 to 0.75.
      const float s0 = static_cast<float>(m - 3) / 12.0f;
      const float s1 = static_cast<float>(m - 2) / 12.0f;
      Gl.TexCoord2f(s0, t0), Tunnel_Vertex(g[m][k]);
      Gl.TexCoord2f(s1, t0 + sigma), Tunnel_Vertex(g[m + 1][k]);
      Gl.TexCoord2f(s1 + sigma, t1 + sigma), Tunnel_Vertex(g[m + 1][k + 1]);
      Gl.TexCoord2f(s0 + sigma, t1), Tunnel_Vertex(g[m][k + 1]);
    }
    Gl.End();
  }
}

void Draw_Style2(bool dim) {
  const auto& s = All;
  auto& g = Tunnel().Style2_Grid;
  const float sigma = s.TexCoord2f_Sshift;
  const double P = s.Tunnel_Phase;
  // The cone's depth (it flattens and turns towards the viewer as
  // Style_Morph grows) and its texture coordinates for this draw.
  float tex_s[33][33];
  float tex_t[33][33];
  const float depth = s.Style_Morph - s.Far_Param;
  for (int i = 0; i <= 32; ++i)
    for (int j = 0; j <= 32; ++j) {
      g[i][j][2] = depth * static_cast<float>(j);
      tex_s[i][j] = static_cast<float>(std::cos((8.0 * j + P) / 60) / 2 + i / 32.0);
      tex_t[i][j] = static_cast<float>((j + P) / 120 * s.V_Coord + j / 32.0);
    }
  for (int q = 0; q <= 31; ++q) {
    Tunnel_Slice_Colour(dim, Tunnel_Slice_Brightness(q, 22, 24));
    Gl.Begin(GL_QUADS);
    for (int r = 0; r <= 31; ++r) {
      Gl.TexCoord2f(tex_s[r][q], tex_t[r][q]), Tunnel_Vertex(g[r][q]);
      Gl.TexCoord2f(tex_s[r + 1][q], tex_t[r + 1][q] + sigma), Tunnel_Vertex(g[r + 1][q]);
      Gl.TexCoord2f(tex_s[r + 1][q + 1] + sigma, tex_t[r + 1][q + 1] + sigma), Tunnel_Vertex(g[r + 1][q + 1]);
      Gl.TexCoord2f(tex_s[r][q + 1] + sigma, tex_t[r][q + 1]), Tunnel_Vertex(g[r][q + 1]);
    }
    Gl.End();
  }
}

void Draw_Tunnel() {
  const auto& s = All;
  Gl.PushMatrix();
  if (s.TexGen_S_On) Gl.Enable(GL_TEXTURE_GEN_S);
  // The second switch generates the R coordinate; T is never generated here.
  if (s.TexGen_T_On) Gl.Enable(GL_TEXTURE_GEN_R);
  Gl.Enable(GL_DEPTH_TEST);
  // During a skin fade the second texture layer lies on the same surface as
  // the first and must pass the depth test there.
  Gl.DepthFunc(s.Skin_Blend_Idle ? GL_LESS : GL_LEQUAL);
  Gl.Translatef(0, 0, -4.2f);
  if (!s.Style1_Grid_Frozen) Animate_Style1_Grid();
  Gl.BlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
  Gl.Enable(GL_BLEND);
  const bool both_idle = s.Skin_Blend_Idle && s.Style_Blend_Idle;
  if (s.Draw_Style1_A) {
    Gl.BindTexture(GL_TEXTURE_2D, s.Tunnel_Texture_A);
    Gl.Enable(GL_TEXTURE_2D);
    Gl.Color4f(1, 1, 1, s.Blend_Alpha);
    Draw_Style1(both_idle);
  }
  if (s.Draw_Style1_B) {
    Gl.BindTexture(GL_TEXTURE_2D, s.Tunnel_Texture_B);
    Gl.Enable(GL_TEXTURE_2D);
    Gl.Color4f(1, 1, 1, s.Style_Blend_Idle ? 1 - s.Blend_Alpha : s.Blend_Alpha);
    Draw_Style1(both_idle);
  }
  if (s.Skin_Blend_Idle) Gl.Disable(GL_BLEND);
  // While a style swap runs, the style-2 layers keep the blending left here
  // and the opaque per-slice dimming colour.
  if (s.Draw_Style2_A) {
    Gl.BindTexture(GL_TEXTURE_2D, s.Tunnel_Texture_A);
    Gl.Enable(GL_TEXTURE_2D);
    if (s.Style_Blend_Idle) {
      Gl.BlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
      Gl.Enable(GL_BLEND);
      Gl.Color4f(1, 1, 1, s.Blend_Alpha);
    }
    Draw_Style2(s.Skin_Blend_Idle);
  }
  if (s.Draw_Style2_B) {
    Gl.BindTexture(GL_TEXTURE_2D, s.Tunnel_Texture_B);
    Gl.Enable(GL_TEXTURE_2D);
    if (s.Style_Blend_Idle) {
      Gl.BlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
      Gl.Enable(GL_BLEND);
      Gl.Color4f(1, 1, 1, 1 - s.Blend_Alpha);
    }
    Draw_Style2(s.Skin_Blend_Idle);
  }
  Gl.PopMatrix();
  Gl.Disable(GL_TEXTURE_GEN_S);
  Gl.Disable(GL_TEXTURE_GEN_R);
}

void Draw_StarBurst_Disc() {
  const auto& s = All;
  Gl.PushMatrix();
  Gl.Translatef(0, 0, -4.3f);
  Gl.Disable(GL_DEPTH_TEST);
  Gl.Enable(GL_TEXTURE_2D);
  Gl.BlendFunc(GL_ONE, GL_ONE);
  Gl.Enable(GL_BLEND);
  Gl.Color3ub(s.StarBurst_Color_R, s.StarBurst_Color_G, s.StarBurst_Color_B);
  const auto quad = [] {
    Gl.Begin(GL_QUADS);
    Gl.TexCoord2f(0, 0), Gl.Vertex3f(-3, -3, 0);
    Gl.TexCoord2f(1, 0), Gl.Vertex3f(3, -3, 0);
    Gl.TexCoord2f(1, 1), Gl.Vertex3f(3, 3, 0);
    Gl.TexCoord2f(0, 1), Gl.Vertex3f(-3, 3, 0);
    Gl.End();
  };
  Gl.Rotatef(static_cast<float>(s.Anim_Clock_Ms) / 100.0f, 0, 0, 1);
  Gl.BindTexture(GL_TEXTURE_2D, s.StarBurst_Texture);
  quad();
  // The second copy turns the other way: -Anim_Clock_Ms / 100 in total.
  Gl.Rotatef(-static_cast<float>(s.Anim_Clock_Ms) / 50.0f, 0, 0, 1);
  Gl.BindTexture(GL_TEXTURE_2D, s.StarBurst_Texture);
  quad();
  Gl.Disable(GL_BLEND);
  Gl.Enable(GL_DEPTH_TEST);
  Gl.PopMatrix();
}

void Draw_Particles() {
  const auto& s = All;
  const auto& seeds = Tunnel().Particle_Seeds;
  const double A = s.Anim_Clock_Ms;
  const double P = s.Tunnel_Phase;
  Gl.Disable(GL_DEPTH_TEST);
  Gl.BlendFunc(GL_ONE, GL_ONE);
  Gl.Enable(GL_BLEND);
  Gl.Enable(GL_TEXTURE_2D);
  // StarBurst_Frame is 1-based; outside the frame table the default texture is used.
  const int32_t frame = s.StarBurst_Frame - 1;
  const bool in_table = frame >= 0 && static_cast<size_t>(frame) < s.StarBurst_Frame_Textures.size();
  Gl.BindTexture(GL_TEXTURE_2D, in_table ? s.StarBurst_Frame_Textures[static_cast<size_t>(frame)] : 0u);
  Gl.Color3ub(s.Particle_Color_R, s.Particle_Color_G, s.Particle_Color_B);
  const double hx = -7 * std::cos(A / 300) - std::sin(A / 400);
  const double hy = -7 * std::sin(A / 400) - std::cos(A / 300);
  for (int n = 0; n < Particles_Drawn; ++n) {
    const auto& p = seeds[static_cast<size_t>(n)];
    const double d = s.Particle_Z - static_cast<double>(s.Particle_Spacing) * p.z;
    if (d <= 25) continue;
    const double w = 2 * d + P;
    const double cx = 5 * std::cos(w / 30) + 2 * std::sin(w / 50) + hx;
    const double cy = 5 * std::sin(w / 50) + 2 * std::cos(w / 30) + hy;
    const auto size = static_cast<float>(100 / (d / 2 + 6));
    Gl.PushMatrix();
    Gl.Translatef(static_cast<float>(cx + p.x - 1), static_cast<float>(cy + p.y - 1), static_cast<float>(-d));
    Gl.Scalef(size, size, size);
    Gl.Begin(GL_QUADS);
    Gl.TexCoord2f(0, 0), Gl.Vertex3f(-1, -1, 0);
    Gl.TexCoord2f(1, 0), Gl.Vertex3f(1, -1, 0);
    Gl.TexCoord2f(1, 1), Gl.Vertex3f(1, 1, 0);
    Gl.TexCoord2f(0, 1), Gl.Vertex3f(-1, 1, 0);
    Gl.End();
    Gl.PopMatrix();
  }
  Gl.Enable(GL_DEPTH_TEST);
  Gl.Disable(GL_BLEND);
}
