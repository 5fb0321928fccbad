// Skins_Painters: one shader per look. A shader maps a picture position
// (u, v in 0..1, v downwards) to a colour; Skin_Render samples it per pixel
// (several times per pixel for looks with fine hard edges), tone-maps and
// stores the picture. Each pack cycles through its looks, and every picture
// draws its own parameters and palette from a seed made from its number, so
// neighbours in a pack differ in structure as well as in colour.
#include "resources/Skins_Painters.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <functional>
#include <memory>
#include <utility>
#include <vector>

#include "resources/Procedural.h"

namespace {

using namespace Proc;

using Skin_Shader = std::function<Rgb(float u, float v)>;

// How Skin_Render refines: the largest channel difference (0..1) between
// neighbouring pixels above which both are sampled again; 0 = never.
constexpr float Skin_Soft = 0.0f;           // smooth looks: one sample per pixel
constexpr float Skin_Sharp = 0.12f;         // hard edges and thin lines
constexpr float Skin_Sharp_Detail = 0.25f;  // busy looks (fractals): only the strongest edges

// Samples `shade` once per pixel centre; pixels that differ from a neighbour
// by more than `refine` (edges, thin lines) are sampled four more times and
// averaged, which smooths hard edges at a fraction of the cost of sampling
// every pixel several times.
Jpeg_Picture Skin_Render(int32_t size, float refine, const Skin_Shader& shade) {
  const size_t count = static_cast<size_t>(size) * static_cast<size_t>(size);
  std::vector<float> buffer(count * 3u);
  const float step = 1.0f / static_cast<float>(size);
  auto sample = [&](float x, float y, float* out) {
    const Rgb c = shade(x * step, y * step);
    out[0] = Tone(c.R);
    out[1] = Tone(c.G);
    out[2] = Tone(c.B);
  };
  for (int32_t y = 0; y < size; ++y) {
    for (int32_t x = 0; x < size; ++x) {
      sample(static_cast<float>(x) + 0.5f, static_cast<float>(y) + 0.5f, &buffer[(static_cast<size_t>(y) * size + x) * 3u]);
    }
  }
  if (refine > 0.0f) {
    std::vector<uint8_t> marked(count, 0);
    auto at = [&](int32_t x, int32_t y) { return &buffer[(static_cast<size_t>(y) * size + x) * 3u]; };
    for (int32_t y = 0; y < size; ++y) {
      for (int32_t x = 0; x < size; ++x) {
        const float* c = at(x, y);
        const float* right = at(std::min(x + 1, size - 1), y);
        const float* down = at(x, std::min(y + 1, size - 1));
        float d = 0.0f;
        for (int k = 0; k < 3; ++k) d = std::max(d, std::max(std::fabs(c[k] - right[k]), std::fabs(c[k] - down[k])));
        if (d > refine) {
          marked[static_cast<size_t>(y) * size + x] = 1;
          marked[static_cast<size_t>(y) * size + std::min(x + 1, size - 1)] = 1;
          marked[static_cast<size_t>(std::min(y + 1, size - 1)) * size + x] = 1;
        }
      }
    }
    // Rotated-grid offsets inside the pixel.
    static constexpr std::array<std::array<float, 2>, 4> Offsets = {{{0.375f, 0.125f}, {0.875f, 0.375f}, {0.625f, 0.875f}, {0.125f, 0.625f}}};
    for (int32_t y = 0; y < size; ++y) {
      for (int32_t x = 0; x < size; ++x) {
        if (!marked[static_cast<size_t>(y) * size + x]) continue;
        float* c = at(x, y);
        float sum[3] = {c[0], c[1], c[2]};
        for (const auto& o : Offsets) {
          float s[3];
          sample(static_cast<float>(x) + o[0], static_cast<float>(y) + o[1], s);
          for (int k = 0; k < 3; ++k) sum[k] += s[k];
        }
        for (int k = 0; k < 3; ++k) c[k] = sum[k] * 0.2f;
      }
    }
  }
  Jpeg_Picture picture(size, size);
  for (size_t i = 0; i < count * 3u; ++i) picture.Rgb[i] = static_cast<uint8_t>(buffer[i] * 255.0f + 0.5f);
  return picture;
}

// ---- palettes -----------------------------------------------------------------

// Dark-to-bright ramps of luminous colours, evenly spaced stops.
constexpr int Skin_Palette_Count = 18;
const std::array<std::vector<uint32_t>, Skin_Palette_Count>& Skin_Palette_Table() {
  static const std::array<std::vector<uint32_t>, Skin_Palette_Count> table = {{
      {0x000004, 0x280b54, 0x65156e, 0x9f2a63, 0xd44842, 0xf57d15, 0xfac127, 0xfcf4b0}, // 0 embers
      {0x00010d, 0x03125a, 0x0a45b8, 0x00a5e8, 0x4ff5ff, 0xd8fff8},                     // 1 deep cyan
      {0x080010, 0x3d0060, 0x9a0a9a, 0xff2fa0, 0xff9ad0, 0xfff0f8},                     // 2 neon magenta
      {0x000800, 0x033d0a, 0x0f8a1c, 0x5fd815, 0xd2ff3c, 0xfbffd0},                     // 3 toxic green
      {0x0d0221, 0x3b0a45, 0x8f1d5a, 0xe0475a, 0xff9a3c, 0xffe38a},                     // 4 sunset
      {0x00040f, 0x06244f, 0x1566a8, 0x3fb3e8, 0xa8ecff, 0xf2fdff},                     // 5 ice
      {0x01030d, 0x022a3a, 0x00806a, 0x2ef58a, 0xb0ff9d, 0xf0d0ff},                     // 6 aurora
      {0x040010, 0x24005e, 0x5a1ec8, 0x9c5cff, 0xd9b8ff, 0xfff4ff},                     // 7 violet
      {0x080300, 0x3a1a00, 0x8a4b00, 0xe09a10, 0xffd860, 0xfff6d0},                     // 8 gold
      {0x080000, 0x3d0004, 0x960010, 0xe6201a, 0xff7a3a, 0xffd9a0},                     // 9 blood
      {0x02080c, 0x08404a, 0x0e8a8a, 0x7ad0a0, 0xf0a040, 0xffe0a0},                     // 10 teal-amber
      {0x000010, 0x101080, 0x3050ff, 0x40c0ff, 0xc0a0ff, 0xffe0ff},                     // 11 electric
      {0x100008, 0x501030, 0xb04060, 0xf09080, 0xffe8c8},                               // 12 rose gold
      {0x05000a, 0x2a0840, 0x6c1a8a, 0x1ec8a0, 0xb8ffe0},                               // 13 emerald-purple
      {0x000418, 0x002070, 0x0070c0, 0x40e0a0, 0xe0ff80},                               // 14 lime-blue
      {0x080400, 0x301408, 0x803818, 0xd07038, 0xffb880, 0xfff0e0},                     // 15 copper
      {0x000000, 0x1a0030, 0x600090, 0x0090ff, 0x00ffc0, 0xf0ff60},                     // 16 spectrum
      {0x020004, 0x300018, 0x802000, 0xff6000, 0xffc000, 0xfff8c0},                     // 17 fire
  }};
  return table;
}

Ramp Skin_Palette(int index) {
  const std::vector<uint32_t>& hex = Skin_Palette_Table()[static_cast<size_t>(index % Skin_Palette_Count)];
  std::vector<Ramp::Stop> stops;
  for (size_t i = 0; i < hex.size(); ++i) {
    stops.push_back({static_cast<float>(i) / static_cast<float>(hex.size() - 1), From_Hex(hex[i])});
  }
  return Ramp(stops);
}

// Cycling rainbow-like ramps for the plasmas (a + b cos 2pi (c t + d)).
constexpr int Skin_Cycle_Count = 10;
Ramp Skin_Cycle_Palette(int index) {
  struct Cosine {
    Rgb A, B, C, D;
  };
  static const std::array<Cosine, Skin_Cycle_Count> table = {{
      {{0.5f, 0.5f, 0.5f}, {0.5f, 0.5f, 0.5f}, {1.0f, 1.0f, 1.0f}, {0.0f, 0.33f, 0.67f}},   // rainbow
      {{0.5f, 0.5f, 0.5f}, {0.5f, 0.5f, 0.5f}, {1.0f, 1.0f, 1.0f}, {0.0f, 0.10f, 0.20f}},   // warm rainbow
      {{0.5f, 0.5f, 0.5f}, {0.5f, 0.5f, 0.5f}, {1.0f, 1.0f, 1.0f}, {0.3f, 0.20f, 0.20f}},   // pink-green
      {{0.5f, 0.5f, 0.5f}, {0.5f, 0.5f, 0.5f}, {1.0f, 1.0f, 0.5f}, {0.8f, 0.90f, 0.30f}},   // gold-violet
      {{0.5f, 0.5f, 0.5f}, {0.5f, 0.5f, 0.5f}, {1.0f, 0.7f, 0.4f}, {0.0f, 0.15f, 0.20f}},   // fire-sea
      {{0.5f, 0.5f, 0.5f}, {0.5f, 0.5f, 0.5f}, {2.0f, 1.0f, 0.0f}, {0.5f, 0.20f, 0.25f}},   // duotone blue-red
      {{0.8f, 0.5f, 0.4f}, {0.2f, 0.4f, 0.2f}, {2.0f, 1.0f, 1.0f}, {0.0f, 0.25f, 0.25f}},   // candy
      {{0.45f, 0.4f, 0.55f}, {0.55f, 0.45f, 0.45f}, {1.0f, 1.0f, 1.0f}, {0.6f, 0.8f, 0.05f}}, // cyan-magenta
      {{0.5f, 0.45f, 0.4f}, {0.5f, 0.5f, 0.5f}, {1.0f, 1.0f, 1.0f}, {0.15f, 0.45f, 0.75f}},  // neon
      {{0.4f, 0.5f, 0.5f}, {0.5f, 0.5f, 0.5f}, {0.8f, 1.0f, 1.2f}, {0.55f, 0.35f, 0.1f}},    // lagoon
  }};
  const Cosine& c = table[static_cast<size_t>(index % Skin_Cycle_Count)];
  return Cosine_Ramp(c.A, c.B, c.C, c.D);
}

// ---- shared motifs --------------------------------------------------------------

// A sparse star field: point stars with a faint halo, one star in a share
// `density` of the cells of a `cells` x `cells` grid; `px` is one pixel in
// picture units.
float Skin_Stars(float u, float v, uint32_t seed, float cells, float density, float px) {
  const float x = u * cells, y = v * cells;
  const int i = Floor_Int(x), j = Floor_Int(y);
  const uint32_t h = Hash(i, j, seed);
  if (Hash_Unit(h) > density) return 0.0f;
  const float sx = 0.2f + 0.6f * Hash_Unit(Hash(h + 1u));
  const float sy = 0.2f + 0.6f * Hash_Unit(Hash(h + 2u));
  const float b = Hash_Unit(Hash(h + 3u));
  const float dx = (x - static_cast<float>(i) - sx) / cells / px;
  const float dy = (y - static_cast<float>(j) - sy) / cells / px;
  const float d2 = dx * dx + dy * dy;
  const float peak = 0.25f + 1.2f * b * b * b * b;
  return peak * (std::exp(-d2 * 1.6f) + 0.08f * std::exp(-d2 * 0.12f));
}

// Two-level domain warp of a fractal sum (flowing gas and liquid shapes):
// the final value and the two warp fields' lengths.
struct Skin_Warp {
  float F = 0.0f; // about -1..1
  float Q = 0.0f; // length of the first warp, 0..~1
  float R = 0.0f; // length of the second warp, 0..~1
};
Skin_Warp Skin_Warped_Fbm(float x, float y, uint32_t seed, float strength, int octaves) {
  const float qx = Fbm(x, y, seed, octaves);
  const float qy = Fbm(x + 5.2f, y + 1.3f, seed + 11u, octaves);
  const float rx = Fbm(x + strength * qx + 1.7f, y + strength * qy + 9.2f, seed + 23u, octaves);
  const float ry = Fbm(x + strength * qx + 8.3f, y + strength * qy + 2.8f, seed + 37u, octaves);
  Skin_Warp w;
  w.F = Fbm(x + strength * rx, y + strength * ry, seed + 51u, octaves + 1);
  w.Q = std::sqrt(qx * qx + qy * qy);
  w.R = std::sqrt(rx * rx + ry * ry);
  return w;
}

// A glowing line: 1 on the line (distance d = 0) over the core `width`,
// then a glow falling off over `halo` (same units as d).
float Skin_Glow_Line(float d, float width, float halo) {
  const float core = Smoothstep(width, width * 0.4f, d);
  return core + 0.55f * std::exp(-d / halo);
}

// A thin bright line wherever the wave sin(2 pi x) crosses zero: 1 there,
// falling the faster the larger `sharp`.
float Skin_Crest(float x, float sharp) { return std::pow(1.0f - std::fabs(Sin_Turns(x)), sharp); }

// Pushes a look's colours away from grey by `amount` (1 = unchanged).
Skin_Shader Skin_Vivid(Skin_Shader shade, float amount) {
  return [shade = std::move(shade), amount](float u, float v) {
    const Rgb c = shade(u, v);
    const float grey = 0.3f * c.R + 0.59f * c.G + 0.11f * c.B;
    return Rgb{std::max(0.0f, grey + (c.R - grey) * amount), std::max(0.0f, grey + (c.G - grey) * amount),
               std::max(0.0f, grey + (c.B - grey) * amount)};
  };
}

// ---- pack 1: plasma -----------------------------------------------------------

// Skin 1 is also shown untiled, so it repeats by itself: integer wave numbers
// and a periodic warp.
Skin_Shader Plasma_Periodic(Rng& rng) {
  const uint32_t seed = rng.Seed();
  const Ramp palette = Skin_Cycle_Palette(0);
  return [=](float u, float v) {
    const float wx = 0.09f * Fbm_Periodic(u, v, 3, seed, 4);
    const float wy = 0.09f * Fbm_Periodic(u, v, 3, seed + 7u, 4);
    const float x = u + wx, y = v + wy;
    const float f = Sin_Turns(2.0f * x + 0.1f) + Sin_Turns(3.0f * y + 0.3f) + Sin_Turns(2.0f * x + 3.0f * y + 0.6f) +
                    Sin_Turns(-1.0f * x + 2.0f * y) * Sin_Turns(4.0f * x + 0.25f) + 0.6f * Sin_Turns(5.0f * x - 4.0f * y + 0.45f);
    const float detail = Fbm_Periodic(u, v, 12, seed + 19u, 3);
    const float t = f * 0.14f + 0.08f * detail;
    const float band = 0.5f + 0.5f * Sin_Turns(f * 0.75f);
    const float filament = Skin_Crest(f * 0.5f + 0.1f * detail, 10.0f);
    return palette.At(t) * (0.28f + 0.9f * band * band) + palette.At(t + 0.5f) * (0.85f * filament);
  };
}

Skin_Shader Plasma_Classic(Rng& rng, const Ramp& palette) {
  const uint32_t seed = rng.Seed();
  const float freq = rng.Range(2.0f, 4.0f), warp = rng.Range(0.08f, 0.3f), cycles = rng.Range(0.6f, 1.5f);
  const float p0 = rng.Unit(), p1 = rng.Unit(), p2 = rng.Unit(), off = rng.Unit();
  const float cx = rng.Unit(), cy = rng.Unit(), bands = rng.Range(0.6f, 1.4f);
  return [=](float u, float v) {
    const float x = u + warp * Fbm(u * 2.0f, v * 2.0f, seed, 4);
    const float y = v + warp * Fbm(u * 2.0f + 5.0f, v * 2.0f, seed + 3u, 4);
    const float dx = x - cx, dy = y - cy;
    const float f = Sin_Turns(freq * x + p0) + Sin_Turns(freq * 0.8f * y + p1) + Sin_Turns(freq * 0.6f * (x + y) + p2) +
                    Sin_Turns(freq * 1.2f * std::sqrt(dx * dx + dy * dy));
    const float t = f * 0.125f * cycles + off;
    const float band = 0.5f + 0.5f * Sin_Turns(f * 0.5f * bands);
    const float glint = Skin_Crest(f * 0.25f * bands + 0.2f, 12.0f);
    const float grain = 0.85f + 0.3f * Fbm(u * 14.0f, v * 14.0f, seed + 9u, 2);
    return palette.At(t) * ((0.25f + 0.9f * band * band) * grain) + palette.At(t + 0.5f) * (0.7f * glint);
  };
}

// Electric plasma: crests of three warped fields at different scales, thin
// and bright, over a dim glow.
Skin_Shader Plasma_Filaments(Rng& rng, const Ramp& palette) {
  const uint32_t seed = rng.Seed();
  const float freq = rng.Range(1.2f, 2.2f), n = rng.Range(1.5f, 2.5f), off = rng.Unit(), sharp = rng.Range(6.0f, 12.0f);
  return [=](float u, float v) {
    const float qx = Fbm(u * freq, v * freq, seed, 3), qy = Fbm(u * freq + 4.0f, v * freq, seed + 1u, 3);
    const float f1 = Fbm(u * freq + 1.5f * qx, v * freq + 1.5f * qy, seed + 2u, 4);
    const float f2 = Fbm(u * freq * 2.3f + qy, v * freq * 2.3f + qx, seed + 3u, 3);
    const float f3 = Fbm(u * freq * 5.0f + 0.5f * qx, v * freq * 5.0f, seed + 4u, 2);
    const float l1 = Skin_Crest(f1 * n, sharp), l2 = Skin_Crest(f2 * n * 1.3f, sharp * 1.5f), l3 = Skin_Crest(f3 * n, sharp * 2.0f);
    const float glow = 0.5f + 0.5f * f1;
    const Rgb base = palette.At(0.2f + 0.4f * glow) * (0.15f + 0.5f * glow * glow);
    return base + palette.At(0.55f + 0.4f * glow) * (1.4f * l1) + palette.At(0.7f + 0.2f * off) * (0.9f * l2) +
           palette.At(0.85f) * (0.5f * l3) + palette.At(0.45f) * (0.45f * Skin_Crest(f1 * n, 2.0f));
  };
}

Skin_Shader Plasma_Interference(Rng& rng, const Ramp& palette) {
  const uint32_t seed = rng.Seed();
  const int n = 3 + rng.Below(3);
  std::array<float, 5> sx{}, sy{}, sf{}, sp{};
  for (size_t i = 0; i < static_cast<size_t>(n); ++i) {
    sx[i] = rng.Range(-0.3f, 1.3f);
    sy[i] = rng.Range(-0.3f, 1.3f);
    sf[i] = rng.Range(5.0f, 14.0f);
    sp[i] = rng.Unit();
  }
  const float cycles = rng.Range(0.5f, 1.2f), off = rng.Unit();
  return [=](float u, float v) {
    const float x = u + 0.05f * Fbm(u * 3.0f, v * 3.0f, seed, 3);
    const float y = v + 0.05f * Fbm(u * 3.0f + 7.0f, v * 3.0f, seed + 5u, 3);
    float f = 0.0f;
    for (size_t i = 0; i < static_cast<size_t>(n); ++i) {
      const float dx = x - sx[i], dy = y - sy[i];
      f += Sin_Turns(std::sqrt(dx * dx + dy * dy) * sf[i] + sp[i]);
    }
    f /= static_cast<float>(n);
    const float lum = 0.5f + 0.5f * f;
    const float crest = std::pow(Saturate(1.0f - std::fabs(f) * 3.0f), 3.0f);
    return palette.At(off + 2.5f * f * cycles + 0.3f * (x + y)) * (0.15f + 1.1f * lum * lum) + palette.At(off + 0.5f) * (0.5f * crest);
  };
}

Skin_Shader Plasma_Metaballs(Rng& rng, const Ramp& palette) {
  const uint32_t seed = rng.Seed();
  constexpr size_t Balls = 12;
  std::array<float, Balls> bx{}, by{}, br{};
  for (size_t i = 0; i < Balls; ++i) {
    bx[i] = rng.Unit();
    by[i] = rng.Unit();
    br[i] = rng.Range(0.03f, 0.09f);
  }
  const float bands = rng.Range(3.0f, 6.0f), off = rng.Unit(), ripple = rng.Range(10.0f, 18.0f);
  return [=](float u, float v) {
    const float x = u + 0.03f * Fbm(u * 5.0f, v * 5.0f, seed, 3);
    const float y = v + 0.03f * Fbm(u * 5.0f, v * 5.0f + 3.0f, seed + 1u, 3);
    float field = 0.0f;
    for (size_t i = 0; i < Balls; ++i) {
      const float dx = x - bx[i], dy = y - by[i];
      field += br[i] * br[i] / (dx * dx + dy * dy + 1e-4f);
    }
    const float lf = std::log(field + 1e-3f);
    const float band = 0.5f + 0.5f * Sin_Turns(lf * bands * 0.5f);
    const float rim = std::exp(-std::fabs(field - 1.0f) * 6.0f);
    const float waves = 0.75f + 0.25f * Sin_Turns((u + v) * ripple + lf * 0.5f) * Sin_Turns((u - v) * ripple * 0.7f);
    return palette.At(off + lf * 0.15f) * ((0.15f + 0.9f * band) * waves) + palette.At(off + 0.45f) * (0.9f * rim);
  };
}

Skin_Shader Plasma_Swirl(Rng& rng, const Ramp& palette) {
  const uint32_t seed = rng.Seed();
  const float cx = rng.Range(0.3f, 0.7f), cy = rng.Range(0.3f, 0.7f);
  const float arms = static_cast<float>(2 + rng.Below(5)), twist = rng.Range(2.0f, 6.0f) * (rng.Below(2) ? 1.0f : -1.0f);
  const float rings = rng.Range(3.0f, 8.0f), off = rng.Unit();
  return [=](float u, float v) {
    const float dx = u - cx, dy = v - cy;
    const float r = std::sqrt(dx * dx + dy * dy);
    const float a = Fast_Atan2(dy, dx) * (1.0f / Tau);
    const float n = Fbm(u * 3.0f, v * 3.0f, seed, 4);
    const float f = Sin_Turns(arms * a + r * twist + 0.4f * n) + Sin_Turns(r * rings - 0.3f * n) + 0.5f * Sin_Turns(u * 3.0f + v * 2.0f + n);
    const float band = 0.5f + 0.5f * Sin_Turns(f * 0.6f);
    const float glint = Skin_Crest(f * 0.3f, 14.0f);
    return palette.At(off + f * 0.15f + r * 0.3f) * (0.2f + 0.95f * band * band) + palette.At(off + 0.5f) * (0.75f * glint);
  };
}

Jpeg_Picture Paint_Plasma(int index, Rng& rng) {
  if (index == 0) return Skin_Render(Skins_Builtin_Size, Skin_Soft, Plasma_Periodic(rng));
  const int look = (index - 1) % 5, instance = (index - 1) / 5; // which look, and its how-manieth use
  // Cycling palettes mostly, a dark-to-bright one for every third picture;
  // no two uses of a look share a palette.
  const Ramp palette = ((look + instance) % 3 == 2) ? Skin_Palette((look * 5 + instance * 7) % Skin_Palette_Count)
                                                    : Skin_Cycle_Palette((look * 2 + instance * 3) % Skin_Cycle_Count);
  constexpr float Vivid = 1.35f; // plasma glows in saturated colours
  static constexpr std::array<int, 4> Filament_Palettes = {11, 15, 2, 3}; // electric, copper, magenta, toxic
  switch (look) {
    case 0: return Skin_Render(Skins_Builtin_Size, Skin_Soft, Skin_Vivid(Plasma_Classic(rng, palette), Vivid));
    case 1: return Skin_Render(Skins_Builtin_Size, Skin_Soft, Skin_Vivid(Plasma_Filaments(rng, Skin_Palette(Filament_Palettes[static_cast<size_t>(instance) % 4])), Vivid));
    case 2: return Skin_Render(Skins_Builtin_Size, Skin_Soft, Skin_Vivid(Plasma_Interference(rng, palette), Vivid));
    case 3: return Skin_Render(Skins_Builtin_Size, Skin_Soft, Skin_Vivid(Plasma_Metaballs(rng, palette), Vivid));
    default: return Skin_Render(Skins_Builtin_Size, Skin_Soft, Skin_Vivid(Plasma_Swirl(rng, palette), Vivid));
  }
}

// ---- pack 2: fractals and flames ------------------------------------------------

// One escape-time sample: whether the orbit stayed bounded, its smooth
// iteration count and the estimated distance to the set's boundary (in the
// plane's units).
struct Escape_Sample {
  bool Inside = false;
  float Smooth = 0.0f;
  float Distance = 0.0f;
};
using Escape_Fn = std::function<Escape_Sample(float x, float y)>;

template <bool Julia>
Escape_Sample Escape_Quadratic(float x, float y, float cr, float ci, int limit) {
  float zr = Julia ? x : 0.0f, zi = Julia ? y : 0.0f;
  if (!Julia) {
    cr = x;
    ci = y;
  }
  float dr = Julia ? 1.0f : 0.0f, di = 0.0f; // derivative of the orbit
  Escape_Sample s;
  for (int i = 0; i < limit; ++i) {
    const float ndr = 2.0f * (zr * dr - zi * di) + (Julia ? 0.0f : 1.0f);
    di = 2.0f * (zr * di + zi * dr);
    dr = ndr;
    const float nr = zr * zr - zi * zi + cr;
    zi = 2.0f * zr * zi + ci;
    zr = nr;
    const float m2 = zr * zr + zi * zi;
    if (m2 > 1024.0f) {
      const float m = std::sqrt(m2);
      s.Smooth = static_cast<float>(i) + 1.0f - std::log2(std::log2(m));
      s.Distance = 0.5f * m * std::log(m) / (std::sqrt(dr * dr + di * di) + 1e-20f);
      return s;
    }
  }
  s.Inside = true;
  return s;
}

// A view of a plane region, width `Width`, centred at (X, Y), turned by Angle.
struct Fractal_View {
  float X = 0.0f, Y = 0.0f, Width = 1.0f, Angle = 0.0f;
};

// Looks for a busy view: candidate centres in the box, judged on a coarse
// grid by how much of it lies close to the set's boundary (distance below a
// fiftieth of the view) with little of it inside the set.
Fractal_View Fractal_Find_View(Rng& rng, const Escape_Fn& escape, float x0, float x1, float y0, float y1, float w0, float w1) {
  Fractal_View best;
  float best_score = -1.0f;
  for (int candidate = 0; candidate < 40; ++candidate) {
    Fractal_View view{rng.Range(x0, x1), rng.Range(y0, y1), w0 * std::pow(w1 / w0, rng.Unit()), rng.Range(0.0f, Tau)};
    const Escape_Sample centre = escape(view.X, view.Y);
    if (centre.Inside || centre.Distance > view.Width * 0.1f) continue;
    constexpr int N = 12;
    int inside = 0, near = 0;
    for (int j = 0; j < N; ++j) {
      for (int i = 0; i < N; ++i) {
        const float px = (static_cast<float>(i) / (N - 1) - 0.5f) * view.Width;
        const float py = (static_cast<float>(j) / (N - 1) - 0.5f) * view.Width;
        const Escape_Sample s = escape(view.X + px, view.Y + py);
        if (s.Inside) {
          ++inside;
        } else if (s.Distance < view.Width * 0.02f) {
          ++near;
        }
      }
    }
    const float inside_share = static_cast<float>(inside) / (N * N);
    const float score = static_cast<float>(near) / (N * N) - std::max(0.0f, inside_share - 0.25f);
    if (score > best_score) {
      best_score = score;
      best = view;
    }
  }
  return best;
}

// Escape-time picture of a view: smooth colour bands outside, the boundary
// drawn as a glowing line from the distance estimate, a dim glow inside.
Skin_Shader Fractal_Escape(Rng& rng, const Escape_Fn& escape, const Fractal_View& view, const Ramp& bands, const Ramp& glow) {
  const float ca = std::cos(view.Angle), sa = std::sin(view.Angle);
  const float pixel = view.Width / static_cast<float>(Skins_Builtin_Size);
  const float off = rng.Unit(), cycles = rng.Range(0.9f, 1.6f), reach = rng.Range(1.2f, 2.5f);
  return [=](float u, float v) {
    const float px = (u - 0.5f) * view.Width, py = (v - 0.5f) * view.Width;
    const Escape_Sample s = escape(view.X + ca * px - sa * py, view.Y + sa * px + ca * py);
    if (s.Inside) return glow.At(0.15f) * 0.25f;
    const float l = std::log2(s.Smooth + 2.0f);
    const float band = 0.5f + 0.5f * Sin_Turns(l * cycles * 2.0f + off);
    const float d = s.Distance / pixel;
    const float edge = std::exp(-d / reach) + 0.4f * std::exp(-d / (reach * 6.0f));
    // Echoes of the boundary: bands in the logarithm of the distance.
    const float echo = std::pow(0.5f + 0.5f * Sin_Turns(std::log2(d + 1.0f) * 1.5f + off), 3.0f);
    return bands.At(off + l * cycles) * (0.08f + 0.35f * band + 0.5f * echo) + glow.At(0.55f + 0.4f * band) * (1.2f * edge);
  };
}

Skin_Shader Fractal_Julia(Rng& rng, const Ramp& bands, const Ramp& glow) {
  static constexpr std::array<std::array<float, 2>, 8> Constants = {{{-0.8f, 0.156f},
                                                                     {0.285f, 0.01f},
                                                                     {-0.4f, 0.6f},
                                                                     {-0.70176f, -0.3842f},
                                                                     {-0.835f, -0.2321f},
                                                                     {-0.1f, 0.651f},
                                                                     {-0.7269f, 0.1889f},
                                                                     {-0.54f, 0.54f}}};
  const auto& c = Constants[static_cast<size_t>(rng.Below(8))];
  const float cr = c[0], ci = c[1];
  const Escape_Fn escape = [cr, ci](float x, float y) { return Escape_Quadratic<true>(x, y, cr, ci, 100); };
  const Fractal_View view = Fractal_Find_View(rng, escape, -1.2f, 1.2f, -1.0f, 1.0f, 0.35f, 1.4f);
  return Fractal_Escape(rng, escape, view, bands, glow);
}

Skin_Shader Fractal_Mandelbrot(Rng& rng, const Ramp& bands, const Ramp& glow) {
  const Escape_Fn escape = [](float x, float y) { return Escape_Quadratic<false>(x, y, 0.0f, 0.0f, 220); };
  const Fractal_View view = Fractal_Find_View(rng, escape, -1.9f, 0.45f, -1.1f, 1.1f, 0.006f, 0.08f);
  return Fractal_Escape(rng, escape, view, bands, glow);
}

// A fractal flame: the chaos game over a few non-linear maps, a histogram of
// hits with their colour index, shown with a logarithmic density over a faint
// glowing fog. Painted from the histogram, not per pixel.
Jpeg_Picture Fractal_Flame(Rng& rng, const Ramp& palette) {
  constexpr size_t Maps = 4;
  struct Map {
    float A, B, C, D, E, F; // affine part
    int Variation;          // 0 sinusoidal, 1 spherical, 2 swirl, 3 horseshoe, 4 polar, 5 handkerchief
    float Colour;           // 0..1 in the palette
    float Weight;
  };
  std::array<Map, Maps> maps{};
  float total = 0.0f;
  for (Map& m : maps) {
    m.A = rng.Range(-1.0f, 1.0f);
    m.B = rng.Range(-1.0f, 1.0f);
    m.C = rng.Range(-0.6f, 0.6f);
    m.D = rng.Range(-1.0f, 1.0f);
    m.E = rng.Range(-1.0f, 1.0f);
    m.F = rng.Range(-0.6f, 0.6f);
    m.Variation = rng.Below(6);
    m.Colour = rng.Unit();
    m.Weight = rng.Range(0.4f, 1.0f);
    total += m.Weight;
  }
  const uint32_t fog_seed = rng.Seed();
  const int size = Skins_Builtin_Size;
  auto apply = [](const Map& m, float& x, float& y) {
    const float ax = m.A * x + m.B * y + m.C, ay = m.D * x + m.E * y + m.F;
    const float r2 = ax * ax + ay * ay + 1e-6f;
    switch (m.Variation) {
      case 0: x = Fast_Sin(ax); y = Fast_Sin(ay); break;
      case 1: x = ax / r2; y = ay / r2; break;
      case 2: {
        const float s = Fast_Sin(r2), c = Fast_Cos(r2);
        x = ax * s - ay * c;
        y = ax * c + ay * s;
        break;
      }
      case 3: {
        const float r = std::sqrt(r2);
        x = (ax - ay) * (ax + ay) / r;
        y = 2.0f * ax * ay / r;
        break;
      }
      case 4: {
        const float t = Fast_Atan2(ax, ay), r = std::sqrt(r2);
        x = t / Pi;
        y = r - 1.0f;
        break;
      }
      default: {
        const float t = Fast_Atan2(ax, ay), r = std::sqrt(r2);
        x = r * Fast_Sin(t + r);
        y = r * Fast_Cos(t - r);
        break;
      }
    }
  };
  auto pick = [&](float unit) {
    float acc = 0.0f;
    for (size_t k = 0; k < Maps; ++k) {
      acc += maps[k].Weight / total;
      if (unit < acc) return k;
    }
    return Maps - 1;
  };
  auto lost = [](float x, float y) { return !std::isfinite(x) || !std::isfinite(y) || std::fabs(x) > 1e4f || std::fabs(y) > 1e4f; };
  auto percentile = [](std::vector<float> values, float q) {
    const size_t k = std::min(values.size() - 1, static_cast<size_t>(q * static_cast<float>(values.size())));
    std::nth_element(values.begin(), values.begin() + static_cast<std::ptrdiff_t>(k), values.end());
    return values[k];
  };
  // A short run frames the attractor: the central 96 % of the hits fill the
  // picture.
  std::vector<float> xs, ys;
  float x = 0.1f, y = 0.1f;
  for (int i = 0; i < 20000; ++i) {
    apply(maps[pick(rng.Unit())], x, y);
    if (lost(x, y)) {
      x = rng.Range(-1.0f, 1.0f);
      y = rng.Range(-1.0f, 1.0f);
      continue;
    }
    if (i > 20) {
      xs.push_back(x);
      ys.push_back(y);
    }
  }
  if (xs.size() < 100) {
    xs = {-1.0f, 1.0f};
    ys = {-1.0f, 1.0f};
  }
  const float x0 = percentile(xs, 0.02f), x1 = percentile(xs, 0.98f);
  const float y0 = percentile(ys, 0.02f), y1 = percentile(ys, 0.98f);
  const float sx = static_cast<float>(size) / std::max(1e-3f, x1 - x0);
  const float sy = static_cast<float>(size) / std::max(1e-3f, y1 - y0);

  std::vector<float> hits(static_cast<size_t>(size * size), 0.0f), colour(static_cast<size_t>(size * size), 0.0f);
  float c = 0.5f;
  x = 0.1f;
  y = 0.1f;
  for (int i = 0; i < 1200000; ++i) {
    const Map& m = maps[pick(rng.Unit())];
    apply(m, x, y);
    c = 0.5f * (c + m.Colour);
    if (lost(x, y)) {
      x = rng.Range(-1.0f, 1.0f);
      y = rng.Range(-1.0f, 1.0f);
      continue;
    }
    const float fx = (x - x0) * sx, fy = (y - y0) * sy;
    if (i < 20 || fx < 0.0f || fy < 0.0f || fx >= static_cast<float>(size) || fy >= static_cast<float>(size)) continue;
    const size_t at = static_cast<size_t>(static_cast<int>(fy) * size + static_cast<int>(fx));
    hits[at] += 1.0f;
    colour[at] += c;
  }
  std::vector<float> logs;
  for (float h : hits) {
    if (h > 0.0f) logs.push_back(std::log1p(h));
  }
  // Density scale from the hit pixels' log counts: the 5th percentile is
  // dark, the 99.5th full brightness, so dense and sparse flames both keep
  // their contrast.
  const float bottom = logs.empty() ? 0.0f : percentile(logs, 0.05f);
  const float top = logs.empty() ? 1.0f : std::max(bottom + 1e-3f, percentile(logs, 0.995f));
  // A soft halo: the density blurred by two box passes each way.
  std::vector<float> halo(hits.size());
  for (size_t i = 0; i < hits.size(); ++i) halo[i] = Saturate((std::log1p(hits[i]) - bottom) / (top - bottom));
  std::vector<float> scratch(halo.size());
  constexpr int Radius = 5;
  for (int pass = 0; pass < 2; ++pass) {
    for (int axis = 0; axis < 2; ++axis) {
      for (int a = 0; a < size; ++a) {
        float sum = 0.0f;
        for (int b = -Radius; b <= Radius; ++b) {
          const int bb = std::clamp(b, 0, size - 1);
          sum += halo[static_cast<size_t>(axis == 0 ? a * size + bb : bb * size + a)];
        }
        for (int b = 0; b < size; ++b) {
          scratch[static_cast<size_t>(axis == 0 ? a * size + b : b * size + a)] = sum / (2 * Radius + 1);
          const int add = std::min(b + Radius + 1, size - 1), drop = std::max(b - Radius, 0);
          sum += halo[static_cast<size_t>(axis == 0 ? a * size + add : add * size + a)] -
                 halo[static_cast<size_t>(axis == 0 ? a * size + drop : drop * size + a)];
        }
      }
      halo.swap(scratch);
    }
  }
  return Skin_Render(size, Skin_Soft, [&](float u, float v) {
    const int px = std::min(size - 1, static_cast<int>(u * static_cast<float>(size)));
    const int py = std::min(size - 1, static_cast<int>(v * static_cast<float>(size)));
    const size_t at = static_cast<size_t>(py * size + px);
    const float fog = 0.5f + 0.5f * Fbm(u * 3.0f, v * 3.0f, fog_seed, 4);
    const Rgb background = palette.At(0.2f + 0.35f * fog) * (0.06f + 0.3f * fog * fog) + palette.At(0.6f) * (0.45f * halo[at]);
    if (hits[at] <= 0.0f) return background;
    const float a = std::pow(Saturate((std::log1p(hits[at]) - bottom) / (top - bottom)), 0.9f);
    const float hue = colour[at] / hits[at];
    return background + palette.At(0.3f + 0.7f * hue) * (1.1f * a);
  });
}

// Newton's method on z^n - 1: basins coloured by their root, boundaries glow.
constexpr int Newton_Limit = 32; // steps before a point counts as undecided
Skin_Shader Fractal_Newton(Rng& rng, const Ramp& palette) {
  const int degree = 3 + rng.Below(3);
  const float relax = rng.Range(1.0f, 1.35f), off = rng.Unit();
  auto solve = [degree, relax](float zr, float zi, int& steps) {
    constexpr int Limit = Newton_Limit;
    steps = 0;
    for (; steps < Limit; ++steps) {
      float pr = 1.0f, pi = 0.0f; // z^(n-1)
      for (int k = 1; k < degree; ++k) {
        const float t = pr * zr - pi * zi;
        pi = pr * zi + pi * zr;
        pr = t;
      }
      const float fr = pr * zr - pi * zi - 1.0f, fi = pr * zi + pi * zr;
      if (fr * fr + fi * fi < 1e-5f) break;
      const float dr = static_cast<float>(degree) * pr, di = static_cast<float>(degree) * pi;
      const float den = dr * dr + di * di + 1e-12f;
      zr -= relax * (fr * dr + fi * di) / den;
      zi -= relax * (fi * dr - fr * di) / den;
    }
    return Fract(Fast_Atan2(zi, zr) / Tau + 1.0f);
  };
  // A view with plenty of basin boundary: most grid points take several steps.
  float best_score = -1.0f, vx = 0.0f, vy = 0.0f, vw = 2.0f;
  for (int candidate = 0; candidate < 16; ++candidate) {
    const float cx = rng.Range(-1.2f, 1.2f), cy = rng.Range(-1.2f, 1.2f), w = rng.Range(0.4f, 2.0f);
    int busy = 0;
    for (int j = 0; j < 8; ++j) {
      for (int i = 0; i < 8; ++i) {
        int steps = 0;
        solve(cx + (static_cast<float>(i) / 7.0f - 0.5f) * w, cy + (static_cast<float>(j) / 7.0f - 0.5f) * w, steps);
        if (steps > 7) ++busy;
      }
    }
    const float score = 1.0f - std::fabs(static_cast<float>(busy) / 64.0f - 0.7f);
    if (score > best_score) {
      best_score = score;
      vx = cx;
      vy = cy;
      vw = w;
    }
  }
  return [=](float u, float v) {
    int steps = 0;
    const float root = solve((u - 0.5f) * vw + vx, (v - 0.5f) * vw + vy, steps);
    const int which = static_cast<int>(root * static_cast<float>(degree) + 0.5f) % degree;
    const float shade = std::pow(1.0f - static_cast<float>(steps) / Newton_Limit, 2.0f);
    const float band = 0.6f + 0.4f * Sin_Turns(static_cast<float>(steps) * 0.19f);
    const float boundary = Saturate((static_cast<float>(steps) - 3.0f) / 12.0f);
    return palette.At(off + static_cast<float>(which) / static_cast<float>(degree) + static_cast<float>(steps) * 0.01f) * ((0.08f + 0.6f * shade) * band) +
           palette.At(off + 0.5f + static_cast<float>(steps) * 0.03f) * (0.9f * boundary);
  };
}

// Circle-inversion fractal (an Apollonian gasket seen in the plane): folding
// into a cell and inverting in the unit circle, again and again; lines where
// the orbit ends near an axis, colours from how close it came to the centre.
Skin_Shader Fractal_Inversion(Rng& rng, const Ramp& palette, const Ramp& glow) {
  const float strength = rng.Range(1.1f, 1.4f), width = rng.Range(2.5f, 4.5f);
  const float ox = rng.Range(-1.0f, 1.0f), oy = rng.Range(-1.0f, 1.0f), off = rng.Unit();
  const float angle = rng.Range(0.0f, Tau), ca = std::cos(angle), sa = std::sin(angle);
  const float pixel = width / static_cast<float>(Skins_Builtin_Size);
  return [=](float u, float v) {
    const float qx = (u - 0.5f) * width, qy = (v - 0.5f) * width;
    float x = ca * qx - sa * qy + ox, y = sa * qx + ca * qy + oy;
    float scale = 1.0f, trap_r = 1e9f, trap_x = 1e9f;
    for (int i = 0; i < 8; ++i) {
      x = -1.0f + 2.0f * Fract(0.5f * x + 0.5f);
      y = -1.0f + 2.0f * Fract(0.5f * y + 0.5f);
      const float r2 = x * x + y * y + 1e-9f;
      trap_r = std::min(trap_r, r2);
      trap_x = std::min(trap_x, std::fabs(x));
      const float k = strength / r2;
      x *= k;
      y *= k;
      scale *= k;
    }
    const float d = 0.25f * std::fabs(y) / scale / pixel; // pixels to the nearest line
    const float line = std::exp(-d * 0.9f) + 0.3f * std::exp(-d * 0.15f);
    const float fill = Saturate(trap_r);
    return palette.At(off + 0.6f * fill + 0.3f * Saturate(trap_x)) * (0.1f + 0.7f * fill * fill) + glow.At(0.6f + 0.35f * fill) * (1.2f * line);
  };
}

Jpeg_Picture Paint_Fractal(int index, Rng& rng) {
  const Ramp palette = Skin_Palette((index * 7 + 3) % Skin_Palette_Count);
  const Ramp cycle = Skin_Cycle_Palette((index * 3 + 1) % Skin_Cycle_Count);
  switch (index % 5) {
    case 0: return Skin_Render(Skins_Builtin_Size, Skin_Sharp_Detail, Fractal_Julia(rng, cycle, palette));
    case 1: return Skin_Render(Skins_Builtin_Size, Skin_Sharp_Detail, Fractal_Mandelbrot(rng, index % 2 ? palette : cycle, index % 2 ? cycle : palette));
    case 2: return Fractal_Flame(rng, palette);
    case 3: return Skin_Render(Skins_Builtin_Size, Skin_Sharp_Detail, Fractal_Newton(rng, cycle));
    default: return Skin_Render(Skins_Builtin_Size, Skin_Sharp_Detail, Fractal_Inversion(rng, cycle, palette));
  }
}

// ---- pack 3: nebulae and clouds --------------------------------------------------

Skin_Shader Nebula_Gas(Rng& rng, const Ramp& gas, const Ramp& tint) {
  const uint32_t seed = rng.Seed(), star_seed = rng.Seed();
  const float freq = rng.Range(1.0f, 1.8f), warp = rng.Range(1.0f, 1.8f), px = 1.0f / Skins_Builtin_Size;
  return [=](float u, float v) {
    const Skin_Warp w = Skin_Warped_Fbm(u * freq, v * freq, seed, warp, 3);
    const float wisps = Fbm(u * freq * 4.0f + w.Q, v * freq * 4.0f + w.R, seed + 60u, 3);
    const float density = std::pow(Saturate(0.45f + 0.8f * w.F + 0.15f * wisps), 2.2f);
    const Rgb colour = Mix(gas.At(0.25f + 0.75f * density), tint.At(0.4f + 0.55f * w.Q), Saturate(w.R * 0.7f));
    const float stars = Skin_Stars(u, v, star_seed, 28.0f, 0.35f, px) + 0.7f * Skin_Stars(u, v, star_seed + 1u, 64.0f, 0.15f, px);
    return colour * (0.05f + 1.6f * density) + Rgb{1.0f, 0.95f, 0.9f} * (stars * (1.0f - 0.5f * density));
  };
}

Skin_Shader Nebula_Emission(Rng& rng, const Ramp& glow, const Ramp& filaments) {
  const uint32_t seed = rng.Seed(), star_seed = rng.Seed();
  const float freq = rng.Range(1.2f, 2.2f), px = 1.0f / Skins_Builtin_Size;
  return [=](float u, float v) {
    const float qx = Fbm(u * freq, v * freq, seed, 3), qy = Fbm(u * freq + 3.1f, v * freq, seed + 1u, 3);
    const float fil = std::pow(Ridged(u * freq * 1.5f + 1.5f * qx, v * freq * 1.5f + 1.5f * qy, seed + 2u, 5), 3.0f);
    const float cloud = std::pow(Saturate(0.5f + 0.7f * Fbm(u * freq * 0.7f + qy, v * freq * 0.7f + qx, seed + 3u, 4)), 2.0f);
    const float stars = Skin_Stars(u, v, star_seed, 30.0f, 0.3f, px) + 0.7f * Skin_Stars(u, v, star_seed + 3u, 64.0f, 0.12f, px);
    return glow.At(0.2f + 0.7f * cloud) * (0.06f + 1.1f * cloud) + filaments.At(0.4f + 0.6f * fil) * (1.4f * fil * (0.4f + cloud)) +
           Rgb{0.9f, 0.95f, 1.0f} * stars;
  };
}

Skin_Shader Nebula_Dust(Rng& rng, const Ramp& light) {
  const uint32_t seed = rng.Seed(), star_seed = rng.Seed();
  const float freq = rng.Range(1.0f, 1.8f), px = 1.0f / Skins_Builtin_Size;
  return [=](float u, float v) {
    const Skin_Warp w = Skin_Warped_Fbm(u * freq, v * freq, seed, 1.8f, 3);
    const float bright = std::pow(Saturate(0.55f + 0.8f * w.F), 1.4f);
    const float dust = std::pow(Ridged(u * freq * 1.6f + w.Q, v * freq * 1.6f + w.R, seed + 5u, 4), 3.0f);
    const float stars = Skin_Stars(u, v, star_seed, 36.0f, 0.35f, px) + 0.8f * Skin_Stars(u, v, star_seed + 9u, 72.0f, 0.15f, px);
    const Rgb lit = light.At(0.15f + 0.85f * bright) * (0.1f + 1.4f * bright);
    return lit * (1.0f - 0.85f * dust) + light.At(0.85f) * (0.35f * dust * bright) + Rgb{1.0f, 0.92f, 0.85f} * (stars * (1.0f - 0.7f * dust));
  };
}

Skin_Shader Nebula_Clouds(Rng& rng, const Ramp& sky) {
  const uint32_t seed = rng.Seed();
  const float freq = rng.Range(1.8f, 3.0f), lx = rng.Range(-1.0f, 1.0f), ly = rng.Range(-1.0f, 1.0f);
  return [=](float u, float v) {
    const float x = u * freq, y = v * freq;
    const float wx = 0.4f * Fbm(x * 0.5f, y * 0.5f, seed + 3u, 2), wy = 0.4f * Fbm(x * 0.5f + 3.0f, y * 0.5f, seed + 4u, 2);
    const float d = Fbm(x + wx, y + wy, seed, 4, 2.0f, 0.55f);
    const float d2 = Fbm(x + wx + lx * 0.08f, y + wy + ly * 0.08f, seed, 4, 2.0f, 0.55f);
    const float light = Saturate(0.5f + (d - d2) * 5.0f);
    const float cover = Smoothstep(-0.3f, 0.4f, d);
    const float silver = std::pow(light, 4.0f) * cover;
    return sky.At(0.1f + 0.3f * cover + 0.5f * light * cover) * (0.25f + 1.0f * cover * (0.3f + 0.8f * light)) + sky.At(0.95f) * (0.5f * silver);
  };
}

// A spiral galaxy: logarithmic arms of stars and glowing gas around a bright
// core, cut by dark dust lanes, on a field of distant stars.
Skin_Shader Nebula_Galaxy(Rng& rng, const Ramp& palette) {
  const uint32_t seed = rng.Seed(), star_seed = rng.Seed();
  const float cx = rng.Range(0.35f, 0.65f), cy = rng.Range(0.35f, 0.65f), tilt = rng.Range(0.55f, 1.0f);
  const float arms = static_cast<float>(2 + rng.Below(3)), wind = rng.Range(1.0f, 1.8f) * (rng.Below(2) ? 1.0f : -1.0f);
  const float turn = rng.Range(0.0f, Tau), ct = std::cos(turn), st = std::sin(turn);
  const float px = 1.0f / Skins_Builtin_Size;
  return [=](float u, float v) {
    const float ax = u - cx, ay = v - cy;
    const float dx = ct * ax - st * ay, dy = (st * ax + ct * ay) / tilt;
    const float r = std::sqrt(dx * dx + dy * dy) + 1e-4f;
    const float a = Fast_Atan2(dy, dx) * (1.0f / Tau);
    const float n = Fbm(u * 6.0f, v * 6.0f, seed, 4);
    const float arm = std::pow(0.5f + 0.5f * Sin_Turns(a * arms + std::log(r) * wind * arms * 0.5f + 0.25f * n), 1.5f);
    const float disc = std::exp(-r * 3.0f);
    const float gas = arm * (0.3f + 0.7f * disc) * (0.6f + 0.5f * n);
    const float dust = std::pow(0.5f + 0.5f * Sin_Turns(a * arms + std::log(r) * wind * arms * 0.5f + 0.2f + 0.3f * n), 8.0f) * Saturate(r * 6.0f);
    const float haze = 0.5f + 0.5f * Fbm(u * 2.0f + 7.0f, v * 2.0f, seed + 1u, 3);
    const float core = std::exp(-r * 18.0f);
    const float clusters = Skin_Stars(u, v, star_seed, 60.0f, 0.6f * Saturate(arm + disc), px);
    const float field = Skin_Stars(u, v, star_seed + 5u, 32.0f, 0.3f, px);
    return palette.At(0.3f + 0.6f * gas + 0.3f * core) * ((0.05f + 1.5f * gas) * (1.0f - 0.8f * dust)) + palette.At(0.95f) * (1.4f * core) +
           palette.At(0.25f + 0.2f * haze) * (0.25f * haze * haze) +
           Rgb{1.0f, 0.95f, 0.9f} * (clusters + 0.8f * field);
  };
}

Jpeg_Picture Paint_Nebula(int index, Rng& rng) {
  const Ramp a = Skin_Palette((index * 5 + 1) % Skin_Palette_Count);
  const Ramp b = Skin_Palette((index * 11 + 7) % Skin_Palette_Count);
  switch (index % 5) {
    case 0: return Skin_Render(Skins_Builtin_Size, Skin_Soft, Nebula_Gas(rng, a, b));
    case 1: return Skin_Render(Skins_Builtin_Size, Skin_Soft, Nebula_Emission(rng, a, b));
    case 2: return Skin_Render(Skins_Builtin_Size, Skin_Soft, Nebula_Dust(rng, a));
    case 3: return Skin_Render(Skins_Builtin_Size, Skin_Soft, Nebula_Clouds(rng, a));
    default: return Skin_Render(Skins_Builtin_Size, Skin_Soft, Nebula_Galaxy(rng, b));
  }
}

// ---- pack 4: cells ----------------------------------------------------------------

Skin_Shader Cells_Neon(Rng& rng, const Ramp& fill, const Ramp& edge) {
  const uint32_t seed = rng.Seed();
  const float freq = rng.Range(4.0f, 8.0f), sharp = rng.Range(10.0f, 22.0f);
  return [=](float u, float v) {
    const float wx = 0.15f * Fbm(u * 3.0f, v * 3.0f, seed + 1u, 3), wy = 0.15f * Fbm(u * 3.0f, v * 3.0f + 4.0f, seed + 2u, 3);
    const Cell_Sample s = Cellular((u + wx) * freq, (v + wy) * freq, seed);
    const Cell_Sample fine = Cellular(u * freq * 3.0f, v * freq * 3.0f, seed + 9u);
    const float e = s.F2 - s.F1;
    const float line = std::exp(-e * sharp);
    const float inner = std::exp(-std::fabs(e - 0.18f) * 30.0f);
    const float shade = 0.15f + 0.6f * std::pow(Saturate(1.0f - s.F1), 2.0f);
    const float id = Hash_Unit(s.Id);
    return fill.At(0.3f + 0.6f * id) * (shade * (0.8f + 0.4f * std::exp(-(fine.F2 - fine.F1) * 12.0f))) +
           edge.At(0.55f + 0.4f * id) * (1.3f * line + 0.35f * inner);
  };
}

Skin_Shader Cells_Lava(Rng& rng, const Ramp& heat, const Ramp& stone) {
  const uint32_t seed = rng.Seed();
  const float freq = rng.Range(2.5f, 7.0f), width = rng.Range(0.05f, 0.16f), warp = rng.Range(0.05f, 0.2f);
  return [=](float u, float v) {
    const float wx = warp * Fbm(u * 4.0f, v * 4.0f, seed, 4), wy = warp * Fbm(u * 4.0f + 2.0f, v * 4.0f, seed + 1u, 4);
    const Cell_Sample s = Cellular((u + wx) * freq, (v + wy) * freq, seed + 2u);
    const Cell_Sample small = Cellular((u + wx) * freq * 3.0f, (v + wy) * freq * 3.0f, seed + 5u);
    const float e = s.F2 - s.F1, es = small.F2 - small.F1;
    const float w = width * (0.6f + 0.8f * (0.5f + 0.5f * Fbm(u * 6.0f, v * 6.0f, seed + 3u, 3)));
    const float crack = Smoothstep(w, w * 0.3f, e);
    const float glow = std::exp(-e * 6.0f);
    const float fissure = Smoothstep(0.06f, 0.0f, es) * (0.3f + 0.7f * glow);
    const float rock = 0.5f + 0.5f * Fbm(u * 16.0f, v * 16.0f, seed + 4u, 3);
    const float dome = Saturate(1.0f - s.F1);
    const Rgb crust = stone.At(0.15f + 0.3f * rock * dome) * (0.35f + 0.6f * rock);
    return crust * (1.0f - 0.6f * fissure) + heat.At(0.3f + 0.6f * glow + 0.1f * crack) * (1.3f * glow * glow + 0.9f * crack + 0.6f * fissure);
  };
}

Skin_Shader Cells_Bio(Rng& rng, const Ramp& body, const Ramp& membrane) {
  const uint32_t seed = rng.Seed();
  const float freq = rng.Range(4.0f, 7.0f);
  return [=](float u, float v) {
    const float wx = 0.1f * Fbm(u * 5.0f, v * 5.0f, seed, 3), wy = 0.1f * Fbm(u * 5.0f + 9.0f, v * 5.0f, seed + 1u, 3);
    const Cell_Sample s = Cellular((u + wx) * freq, (v + wy) * freq, seed + 2u, 0.9f);
    const float e = s.F2 - s.F1;
    const float wall = std::exp(-e * 16.0f);
    const float nucleus_x = 0.15f * (Hash_Unit(Hash(s.Id + 5u)) - 0.5f), nucleus_y = 0.15f * (Hash_Unit(Hash(s.Id + 6u)) - 0.5f);
    const float nd = std::sqrt((s.Dx - nucleus_x) * (s.Dx - nucleus_x) + (s.Dy - nucleus_y) * (s.Dy - nucleus_y));
    const float nucleus = Smoothstep(0.2f, 0.1f, nd);
    const float texture = 0.5f + 0.5f * Fbm(u * 30.0f, v * 30.0f, seed + 3u, 3);
    const float cyto = Smoothstep(0.7f, 0.1f, s.F1);
    const float id = Hash_Unit(s.Id);
    return body.At(0.2f + 0.4f * id + 0.2f * texture) * (0.1f + 0.55f * cyto * texture) + membrane.At(0.6f + 0.35f * wall) * (1.1f * wall) +
           membrane.At(0.9f) * (0.9f * nucleus) + body.At(0.95f) * (0.5f * std::exp(-std::fabs(nd - 0.2f) * 40.0f));
  };
}

Skin_Shader Cells_Facets(Rng& rng, const Ramp& palette) {
  const uint32_t seed = rng.Seed();
  const float freq = rng.Range(4.0f, 9.0f);
  const float la = rng.Range(0.0f, Tau), lx = std::cos(la) * 0.6f, ly = std::sin(la) * 0.6f, lz = 0.53f;
  return [=](float u, float v) {
    const Cell_Sample s = Cellular(u * freq, v * freq, seed, 0.85f);
    const float tx = 0.8f * (Hash_Unit(Hash(s.Id + 1u)) - 0.5f), ty = 0.8f * (Hash_Unit(Hash(s.Id + 2u)) - 0.5f);
    float nx = tx + 1.6f * s.Dx, ny = ty + 1.6f * s.Dy, nz = 1.0f;
    const float len = std::sqrt(nx * nx + ny * ny + nz * nz);
    nx /= len;
    ny /= len;
    nz /= len;
    const float diffuse = Saturate(nx * lx + ny * ly + nz * lz);
    const float spec = std::pow(diffuse, 24.0f);
    const float rim = std::exp(-(s.F2 - s.F1) * 30.0f);
    const float id = Hash_Unit(s.Id);
    return palette.At(0.25f + 0.5f * id + 0.2f * diffuse) * (0.15f + 1.0f * diffuse) + Rgb{1.0f, 1.0f, 1.0f} * (0.7f * spec) +
           palette.At(0.95f) * (0.6f * rim);
  };
}

Skin_Shader Cells_Mosaic(Rng& rng, const Ramp& palette, const Ramp& lead) {
  const uint32_t seed = rng.Seed();
  const float big = rng.Range(3.0f, 5.0f), small = rng.Range(14.0f, 22.0f);
  return [=](float u, float v) {
    const Cell_Sample a = Cellular(u * big, v * big, seed);
    const Cell_Sample b = Cellular(u * small, v * small, seed + 1u, 0.8f);
    const float ea = a.F2 - a.F1, eb = b.F2 - b.F1;
    const float tile = Smoothstep(0.02f, 0.12f, eb);
    const float joint = std::exp(-ea * 28.0f);
    const float hue = 0.5f * Hash_Unit(a.Id) + 0.25f * Hash_Unit(b.Id) + 0.25f * (0.5f + 0.5f * Fbm(u * 4.0f, v * 4.0f, seed + 2u, 3));
    const float lum = 0.35f + 0.75f * Hash_Unit(Hash(b.Id + 3u)) * (1.0f - 0.5f * b.F1);
    return palette.At(hue) * (tile * lum) * (1.0f - 0.7f * joint) + lead.At(0.7f + 0.3f * joint) * (1.2f * joint);
  };
}

Jpeg_Picture Paint_Cells(int index, Rng& rng) {
  const Ramp a = Skin_Palette((index * 7 + 2) % Skin_Palette_Count);
  const Ramp b = Skin_Palette((index * 13 + 5) % Skin_Palette_Count);
  switch (index % 5) {
    case 0: return Skin_Render(Skins_Builtin_Size, Skin_Soft, Cells_Neon(rng, a, b));
    case 1: {
      // molten fire, acid, magma, plasma
      static constexpr std::array<int, 4> Heat = {17, 3, 0, 11}, Stone = {15, 13, 7, 5};
      const size_t k = static_cast<size_t>(index / 5) % 4;
      return Skin_Render(Skins_Builtin_Size, Skin_Soft, Cells_Lava(rng, Skin_Palette(Heat[k]), Skin_Palette(Stone[k])));
    }
    case 2: return Skin_Render(Skins_Builtin_Size, Skin_Soft, Cells_Bio(rng, a, b));
    case 3: return Skin_Render(Skins_Builtin_Size, Skin_Sharp, Cells_Facets(rng, a));
    default: return Skin_Render(Skins_Builtin_Size, Skin_Sharp, Cells_Mosaic(rng, a, b));
  }
}

// ---- pack 5: circuits and tech grids ----------------------------------------------

// Printed-circuit traces along the edges and diagonals of an n x n grid of
// the picture: runs are mostly horizontal in some regions and vertical in
// others; trace ends and a few bends get pads. The grid's links are drawn
// once from the seed and kept in tables. Distances in grid cells.
struct Circuit_Sample {
  float Trace = 1e9f; // to the nearest trace's centre line
  float Pad = 1e9f;   // to the nearest pad ring
  uint32_t Net = 0;   // hash of the nearest trace's cell
};
class Circuit_Net {
 public:
  Circuit_Net(int n, uint32_t seed) : N_(n + 3), Seed_(seed), Links_(static_cast<size_t>(N_ * N_), 0) {
    for (int j = -1; j < N_ - 1; ++j) {
      for (int i = -1; i < N_ - 1; ++i) {
        // Regions of 6 x 6 cells share one run direction.
        const bool across = (Hash(Floor_Int(static_cast<float>(i) / 6.0f), Floor_Int(static_cast<float>(j) / 6.0f), seed + 7u) & 1u) != 0u;
        uint8_t links = 0;
        if (Hash_Unit(Hash(i, j, seed)) < (across ? 0.82f : 0.1f)) links |= Right;
        if (Hash_Unit(Hash(i, j, seed + 1u)) < (across ? 0.1f : 0.82f)) links |= Down;
        if (Hash_Unit(Hash(i, j, seed + 2u)) < 0.07f) links |= Diagonal;
        if (Hash_Unit(Hash(i, j, seed + 4u)) < 0.12f) links |= Via;
        Links_[Index(i, j)] = links;
      }
    }
  }

  Circuit_Sample At(float x, float y) const {
    const int i = Floor_Int(x), j = Floor_Int(y);
    const float fx = x - static_cast<float>(i), fy = y - static_cast<float>(j);
    Circuit_Sample s;
    auto take = [&](float d, int ci, int cj) {
      if (d < s.Trace) {
        s.Trace = d;
        s.Net = Hash(ci, cj, Seed_ + 3u);
      }
    };
    if (Has(i, j, Right)) take(std::fabs(fy), i, j);
    if (Has(i, j + 1, Right)) take(std::fabs(1.0f - fy), i, j + 1);
    if (Has(i, j, Down)) take(std::fabs(fx), i, j);
    if (Has(i + 1, j, Down)) take(std::fabs(1.0f - fx), i + 1, j);
    if (Has(i, j, Diagonal)) take(std::fabs(fx - fy) * 0.70710678f, i, j);
    for (int cj = 0; cj <= 1; ++cj) {
      for (int ci = 0; ci <= 1; ++ci) {
        const int deg = Degree(i + ci, j + cj);
        const float dx = fx - static_cast<float>(ci), dy = fy - static_cast<float>(cj);
        const float d = std::sqrt(dx * dx + dy * dy);
        if (deg > 0) take(d, i + ci, j + cj);
        if (deg == 1 || (deg == 2 && Has(i + ci, j + cj, Via))) s.Pad = std::min(s.Pad, std::fabs(d - 0.26f));
      }
    }
    return s;
  }

 private:
  static constexpr uint8_t Right = 1, Down = 2, Diagonal = 4, Via = 8; // links from a node, and a via on it
  // Nodes -1 .. n + 1 of each axis are kept, all that a picture position
  // 0 <= x, y < n reaches.
  size_t Index(int i, int j) const {
    const int a = std::clamp(i + 1, 0, N_ - 1), b = std::clamp(j + 1, 0, N_ - 1);
    return static_cast<size_t>(b * N_ + a);
  }
  bool Has(int i, int j, uint8_t link) const { return (Links_[Index(i, j)] & link) != 0; }
  int Degree(int i, int j) const {
    return static_cast<int>(Has(i, j, Right)) + static_cast<int>(Has(i - 1, j, Right)) + static_cast<int>(Has(i, j, Down)) +
           static_cast<int>(Has(i, j - 1, Down)) + static_cast<int>(Has(i, j, Diagonal)) + static_cast<int>(Has(i - 1, j - 1, Diagonal));
  }

  int N_;
  uint32_t Seed_;
  std::vector<uint8_t> Links_;
};

// Integrated circuits on a coarse grid: dark bodies with a bevel and a
// marking, rows of bright pins along two sides. Returns the pins' brightness;
// *body is the body's shade (0 outside a body).
float Circuit_Chip(float u, float v, uint32_t seed, float cells, float& body) {
  const float x = u * cells, y = v * cells;
  const int i = Floor_Int(x), j = Floor_Int(y);
  body = 0.0f;
  const uint32_t h = Hash(i, j, seed);
  if (Hash_Unit(h) > 0.3f) return 0.0f;
  const float w = 0.22f + 0.12f * Hash_Unit(Hash(h + 1u)), hgt = 0.16f + 0.12f * Hash_Unit(Hash(h + 2u));
  const float fx = x - static_cast<float>(i) - 0.5f, fy = y - static_cast<float>(j) - 0.5f;
  const float lx = std::fabs(fx), ly = std::fabs(fy);
  if (lx < w && ly < hgt) {
    const float rim = std::min(w - lx, hgt - ly) * Skins_Builtin_Size / cells; // pixels to the body's edge
    const float mark = (std::fabs(fy + hgt * 0.4f) < hgt * 0.12f && lx < w * 0.6f) ? 0.25f : 0.0f;
    body = 0.35f + 0.5f * Smoothstep(3.0f, 0.0f, rim) + mark;
    return 0.0f;
  }
  if (lx < w - 0.02f && ly < hgt + 0.07f) return std::pow(Triangle(fx * 16.0f), 3.0f);
  return 0.0f;
}

Skin_Shader Circuit_Board(Rng& rng, const Ramp& traces, const Ramp& board) {
  const uint32_t seed = rng.Seed();
  const float cells = static_cast<float>(12 + 2 * rng.Below(6));
  const float chips = static_cast<float>(3 + rng.Below(3));
  const auto fine_net = std::make_shared<const Circuit_Net>(static_cast<int>(cells) * 2, seed + 100u);
  const auto main_net = std::make_shared<const Circuit_Net>(static_cast<int>(cells), seed);
  return [=](float u, float v) {
    const Circuit_Sample fine = fine_net->At(u * cells * 2.0f, v * cells * 2.0f);
    const Circuit_Sample main = main_net->At(u * cells, v * cells);
    const float substrate = 0.5f + 0.5f * Fbm(u * 10.0f, v * 10.0f, seed + 5u, 3);
    const float grid = std::pow(Triangle(u * cells * 4.0f), 30.0f) + std::pow(Triangle(v * cells * 4.0f), 30.0f);
    Rgb c = board.At(0.15f + 0.2f * substrate) * (0.5f + 0.6f * substrate) + board.At(0.4f) * (0.12f * grid);
    const float pulse = 0.6f + 0.4f * Sin_Turns((u + v) * 3.0f + Hash_Unit(main.Net));
    c = c + traces.At(0.45f) * (0.45f * Skin_Glow_Line(fine.Trace, 0.09f, 0.08f));
    c = c + traces.At(0.55f + 0.4f * Hash_Unit(main.Net)) * (pulse * 1.2f * Skin_Glow_Line(main.Trace, 0.1f, 0.12f));
    c = c + traces.At(0.95f) * (1.1f * Skin_Glow_Line(main.Pad, 0.07f, 0.05f));
    float body = 0.0f;
    const float pins = Circuit_Chip(u, v, seed + 200u, chips, body);
    if (body > 0.0f) c = Rgb{0.07f, 0.07f, 0.08f} * (body * (0.8f + 0.4f * substrate)) + traces.At(0.6f) * (0.25f * (body - 0.35f));
    return c + traces.At(0.9f) * (0.9f * pins);
  };
}

// Flat-topped hexagon cell of the hexagon grid around (x, y).
struct Hex_Sample {
  float Edge;   // distance to the cell's border
  float Cx, Cy; // cell centre
};
Hex_Sample Hex_Cell(float x, float y) {
  constexpr float S = 1.7320508f;
  const float ax = static_cast<float>(Floor_Int(x)) + 0.5f, ay = static_cast<float>(Floor_Int(y / S)) + 0.5f;
  const float bx = static_cast<float>(Floor_Int(x - 0.5f)) + 0.5f, by = static_cast<float>(Floor_Int((y - 1.0f) / S)) + 0.5f;
  const float hx = x - ax, hy = y - ay * S;
  const float gx = x - (bx + 0.5f), gy = y - (by + 0.5f) * S;
  Hex_Sample s{};
  float lx, ly;
  if (hx * hx + hy * hy < gx * gx + gy * gy) {
    lx = hx, ly = hy, s.Cx = ax, s.Cy = ay * S;
  } else {
    lx = gx, ly = gy, s.Cx = bx + 0.5f, s.Cy = (by + 0.5f) * S;
  }
  s.Edge = 0.5f - std::max(std::fabs(lx) * 0.5f + std::fabs(ly) * 0.8660254f, std::fabs(lx));
  return s;
}

Skin_Shader Circuit_Hex(Rng& rng, const Ramp& neon, const Ramp& fill) {
  const uint32_t seed = rng.Seed();
  const float cells = rng.Range(5.0f, 11.0f), share = rng.Range(0.25f, 0.5f);
  return [=](float u, float v) {
    const Hex_Sample h = Hex_Cell(u * cells, v * cells);
    const uint32_t id = Hash(Floor_Int(h.Cx * 2.0f), Floor_Int(h.Cy * 2.0f), seed);
    const float energy = 0.5f + 0.5f * Fbm(h.Cx * 0.3f, h.Cy * 0.3f, seed + 1u, 3);
    const bool lit = Hash_Unit(id) < share + 0.4f * (energy - 0.5f);
    const float level = 0.4f + 0.6f * Hash_Unit(Hash(id + 1u));
    const float rings = std::pow(Triangle(h.Edge * 5.0f), 10.0f) * (lit ? 0.6f : 0.15f);
    const float edge_px = h.Edge / cells * Skins_Builtin_Size;
    const float border = Skin_Glow_Line(edge_px, 1.3f, 3.0f);
    const float core = lit ? (0.25f + 0.75f * std::pow(Saturate(h.Edge * 2.0f), 1.5f)) * level : 0.06f;
    const float grain = 0.8f + 0.3f * Fbm(u * 40.0f, v * 40.0f, seed + 2u, 2);
    return fill.At(0.3f + 0.6f * Hash_Unit(Hash(id + 2u))) * (core * grain + rings) + neon.At(0.55f + 0.4f * energy) * (1.1f * border);
  };
}

Skin_Shader Circuit_Grid(Rng& rng, const Ramp& neon, const Ramp& blocks) {
  const uint32_t seed = rng.Seed();
  const float major = static_cast<float>(4 + rng.Below(5)), minor = major * static_cast<float>(4 + rng.Below(3));
  return [=](float u, float v) {
    auto line = [](float t, float n) { return std::fabs(Fract(t * n + 0.5f) - 0.5f) / n * Skins_Builtin_Size; };
    const float dm = std::min(line(u, major), line(v, major));
    const float dn = std::min(line(u, minor), line(v, minor));
    const float energy = 0.5f + 0.5f * Fbm(u * 3.0f, v * 3.0f, seed, 4);
    const int bi = Floor_Int(u * minor), bj = Floor_Int(v * minor);
    const uint32_t h = Hash(bi, bj, seed + 1u);
    const float block = Hash_Unit(h) < 0.3f * energy + 0.05f ? (0.3f + 0.7f * Hash_Unit(Hash(h))) : 0.0f;
    const int row = Floor_Int(v * minor * 4.0f);
    const float streak_start = Hash_Unit(Hash(row, 3, seed + 2u)), streak_len = 0.1f + 0.3f * Hash_Unit(Hash(row, 4, seed + 2u));
    const float streak = (Hash_Unit(Hash(row, 5, seed + 2u)) < 0.2f && u > streak_start && u < streak_start + streak_len)
                             ? std::pow((u - streak_start) / streak_len, 2.0f)
                             : 0.0f;
    const float cross = std::exp(-(line(u, major) + line(v, major)) * 0.4f);
    return blocks.At(0.25f + 0.6f * energy) * (0.06f + 0.7f * block) + neon.At(0.5f + 0.4f * energy) * (1.1f * Skin_Glow_Line(dm, 1.2f, 3.0f)) +
           neon.At(0.4f) * (0.4f * energy * Skin_Glow_Line(dn, 0.8f, 1.0f)) + neon.At(0.9f) * (0.9f * streak + 0.8f * cross);
  };
}

Skin_Shader Circuit_Truchet(Rng& rng, const Ramp& tubes) {
  const uint32_t seed = rng.Seed();
  const float cells = static_cast<float>(6 + rng.Below(6));
  return [=](float u, float v) {
    auto arcs = [](float x, float y, uint32_t s, float& hue) {
      const int i = Floor_Int(x), j = Floor_Int(y);
      float fx = x - static_cast<float>(i);
      const float fy = y - static_cast<float>(j);
      if (Hash(i, j, s) & 1u) fx = 1.0f - fx;
      const float d1 = std::fabs(std::sqrt(fx * fx + fy * fy) - 0.5f);
      const float d2 = std::fabs(std::sqrt((1.0f - fx) * (1.0f - fx) + (1.0f - fy) * (1.0f - fy)) - 0.5f);
      hue = 0.5f + 0.5f * Fbm(x * 0.2f, y * 0.2f, s + 1u, 2);
      return std::min(d1, d2);
    };
    float hue_a = 0.0f, hue_b = 0.0f;
    const float da = arcs(u * cells, v * cells, seed, hue_a);
    const float db = arcs(u * cells * 2.5f + 0.37f, v * cells * 2.5f + 0.71f, seed + 5u, hue_b);
    constexpr float W = 0.16f;
    const float tube = std::sqrt(Saturate(1.0f - (da / W) * (da / W)));
    const float tube_b = std::sqrt(Saturate(1.0f - (db / W) * (db / W)));
    const float halo = std::exp(-da * 10.0f);
    const Rgb back = tubes.At(0.2f + 0.3f * hue_b) * (0.5f * tube_b + 0.1f * std::exp(-db * 8.0f));
    const Rgb front = tubes.At(0.35f + 0.55f * hue_a) * (0.2f + 1.1f * tube) + Rgb{1.0f, 1.0f, 1.0f} * (0.6f * std::pow(tube, 12.0f));
    const float cover = Smoothstep(W, W * 0.7f, da);
    return Mix(back + tubes.At(0.6f) * (0.3f * halo), front, cover);
  };
}

Skin_Shader Circuit_Panels(Rng& rng, const Ramp& metal, const Ramp& lights) {
  const uint32_t seed = rng.Seed();
  return [=](float u, float v) {
    float x0 = 0.0f, y0 = 0.0f, x1 = 1.0f, y1 = 1.0f;
    uint32_t id = seed;
    for (int depth = 0; depth < 7; ++depth) {
      id = Hash(id + static_cast<uint32_t>(depth));
      if (depth >= 4 && Hash_Unit(id) < 0.3f) break;
      const float at = 0.3f + 0.4f * Hash_Unit(Hash(id + 1u));
      if ((x1 - x0) > (y1 - y0) * (0.6f + 0.8f * Hash_Unit(Hash(id + 2u)))) {
        const float split = x0 + (x1 - x0) * at;
        if (u < split) {
          x1 = split;
          id = Hash(id + 10u);
        } else {
          x0 = split;
          id = Hash(id + 20u);
        }
      } else {
        const float split = y0 + (y1 - y0) * at;
        if (v < split) {
          y1 = split;
          id = Hash(id + 30u);
        } else {
          y0 = split;
          id = Hash(id + 40u);
        }
      }
    }
    const float px = 1.0f / Skins_Builtin_Size;
    const float dl = u - x0, dr = x1 - u, dt = v - y0, db = y1 - v;
    const float edge = std::min(std::min(dl, dr), std::min(dt, db)) / px;
    const float groove = Smoothstep(1.5f, 0.5f, edge);
    float bevel = 0.0f;
    if (edge < 4.0f) bevel = (std::min(dl, dt) < std::min(dr, db)) ? 0.35f : -0.3f;
    const int kind = static_cast<int>(Hash(id + 5u) % 5u);
    const float ly = (v - y0) / (y1 - y0), lx = (u - x0) / (x1 - x0);
    const float brushed = 0.5f + 0.5f * Fbm(u * 4.0f, v * 90.0f, seed + 1u, 2);
    Rgb c = metal.At(0.25f + 0.25f * Hash_Unit(id) + 0.1f * brushed) * (0.5f + 0.4f * brushed + bevel);
    const float hue = Hash_Unit(Hash(id + 7u));
    switch (kind) {
      case 0: { // vents
        const float slot = std::pow(Triangle(ly * (y1 - y0) / px / 5.0f), 4.0f);
        c = c * (0.4f + 0.6f * slot);
        break;
      }
      case 1: { // array of lights
        const float gx = Fract(u / px / 8.0f) - 0.5f, gy = Fract(v / px / 8.0f) - 0.5f;
        const bool on = Hash_Unit(Hash(Floor_Int(u / px / 8.0f), Floor_Int(v / px / 8.0f), seed + 3u)) < 0.6f;
        const float dot = on ? std::exp(-(gx * gx + gy * gy) * 40.0f) : 0.0f;
        c = c * 0.4f + lights.At(0.5f + 0.45f * hue) * (1.3f * dot);
        break;
      }
      case 2: { // glowing screen
        const float n = 0.5f + 0.5f * Fbm(u * 20.0f, v * 20.0f, seed + Hash(id), 3);
        const float scan = 0.75f + 0.25f * Sin_Turns(v / px * 0.5f);
        c = lights.At(0.3f + 0.5f * n) * ((0.3f + 0.9f * n * n) * scan);
        break;
      }
      case 3: { // light strip along the panel
        const float strip = std::exp(-std::fabs(ly - 0.5f) * (y1 - y0) / px * 0.6f);
        c = c + lights.At(0.8f) * (1.2f * strip);
        break;
      }
      default: { // rivets in the corners
        const float rx = std::min(dl, dr) / px - 4.0f, ry = std::min(dt, db) / px - 4.0f;
        const float rivet = std::exp(-(rx * rx + ry * ry) * 0.4f);
        c = c + Rgb{0.8f, 0.85f, 0.9f} * (0.7f * rivet) + metal.At(0.9f) * (0.2f * Sin_Turns(lx * 0.5f));
        break;
      }
    }
    return c * (1.0f - 0.85f * groove) + lights.At(0.6f + 0.3f * hue) * (0.6f * groove);
  };
}

Jpeg_Picture Paint_Circuit(int index, Rng& rng) {
  const Ramp a = Skin_Palette((index * 7 + 1) % Skin_Palette_Count);
  const Ramp b = Skin_Palette((index * 5 + 11) % Skin_Palette_Count);
  switch (index % 5) {
    case 0: {
      // gold on green, cyan on blue, magenta on violet, fire on blood
      static constexpr std::array<int, 4> Traces = {8, 1, 2, 17}, Board = {3, 11, 7, 9};
      const size_t k = static_cast<size_t>(index / 5) % 4;
      return Skin_Render(Skins_Builtin_Size, Skin_Sharp, Circuit_Board(rng, Skin_Palette(Traces[k]), Skin_Palette(Board[k])));
    }
    case 1: return Skin_Render(Skins_Builtin_Size, Skin_Sharp, Circuit_Hex(rng, a, b));
    case 2: return Skin_Render(Skins_Builtin_Size, Skin_Sharp, Circuit_Grid(rng, a, b));
    case 3: return Skin_Render(Skins_Builtin_Size, Skin_Sharp, Circuit_Truchet(rng, a));
    default: return Skin_Render(Skins_Builtin_Size, Skin_Sharp, Circuit_Panels(rng, Skin_Palette(index % 2 ? 5 : 15), a));
  }
}

// ---- pack 6: liquids, marble and aurora ---------------------------------------------

Skin_Shader Liquid_Marble(Rng& rng, const Ramp& stone, const Ramp& veins) {
  const uint32_t seed = rng.Seed();
  const float freq = rng.Range(1.5f, 2.5f), turbulence = rng.Range(1.2f, 2.2f), sharp = rng.Range(6.0f, 14.0f);
  const float dir = rng.Range(0.0f, Tau), dx = std::cos(dir), dy = std::sin(dir);
  return [=](float u, float v) {
    const float x = u * freq, y = v * freq;
    const float turb = Fbm(x, y, seed, 5);
    const float t = Sin_Turns((x * dx + y * dy) * 0.8f + turb * turbulence);
    const float vein = std::pow(1.0f - std::fabs(t), sharp);
    const float t2 = Sin_Turns((x * dy - y * dx) * 1.7f + Fbm(x * 2.0f, y * 2.0f, seed + 1u, 4) * turbulence * 1.5f);
    const float vein2 = std::pow(1.0f - std::fabs(t2), sharp * 2.5f);
    const float body = 0.5f + 0.5f * Fbm(x * 2.0f, y * 2.0f, seed + 2u, 4);
    const float cloud = std::pow(1.0f - std::fabs(t), 2.0f);
    return stone.At(0.15f + 0.4f * body + 0.3f * cloud) * (0.35f + 0.8f * body) + veins.At(0.55f + 0.4f * vein) * (1.3f * vein + 0.7f * vein2) +
           veins.At(0.45f) * (0.3f * cloud);
  };
}

Skin_Shader Liquid_Aurora(Rng& rng, const Ramp& curtain, const Ramp& sky) {
  const uint32_t seed = rng.Seed(), star_seed = rng.Seed();
  const size_t layers = static_cast<size_t>(3 + rng.Below(2));
  std::array<float, 4> centre{}, height{}, freq{}, sway{};
  for (size_t i = 0; i < layers; ++i) {
    centre[i] = (static_cast<float>(i) + rng.Range(0.5f, 0.9f)) / static_cast<float>(layers);
    height[i] = rng.Range(0.07f, 0.16f);
    freq[i] = rng.Range(14.0f, 30.0f);
    sway[i] = rng.Range(0.1f, 0.22f);
  }
  const float px = 1.0f / Skins_Builtin_Size;
  return [=](float u, float v) {
    Rgb c = sky.At(0.03f + 0.15f * v) * (0.4f + 0.4f * (0.5f + 0.5f * Fbm(u * 3.0f, v * 3.0f, seed + 90u, 3)));
    for (size_t i = 0; i < layers; ++i) {
      const uint32_t s = seed + static_cast<uint32_t>(i) * 31u;
      // the curtain's lower edge: a ribbon that swings across the picture
      const float bend = Fbm(u * 1.8f, static_cast<float>(i) * 3.0f, s, 3);
      const float yc = centre[i] + sway[i] * bend;
      const float h = height[i];
      const float dy = v - yc; // positive below the lower edge
      const float envelope = dy > 0.0f ? std::exp(-dy * dy * 1500.0f) : std::exp(dy / h);
      // rays run up from the edge and follow its folds
      const float ray_x = u * freq[i] + 4.0f * bend;
      const float rays = std::pow(Saturate(0.5f + 0.9f * Gradient_Noise(ray_x, static_cast<float>(i) * 5.0f + dy * 2.0f, s + 2u)), 1.6f);
      const float fine = 0.6f + 0.4f * Gradient_Noise(ray_x * 3.0f, dy * 4.0f, s + 3u);
      const float a = envelope * (0.35f + 0.65f * rays) * fine;
      const float up = Saturate(-dy / h * 0.5f);
      c = c + curtain.At(0.5f + 0.45f * up) * (1.5f * a) + curtain.At(0.98f) * (0.7f * a * std::exp(-dy * dy * 4000.0f));
    }
    return c + Rgb{0.9f, 0.95f, 1.0f} * (0.8f * Skin_Stars(u, v, star_seed, 36.0f, 0.22f, px));
  };
}

Skin_Shader Liquid_Chrome(Rng& rng, const Ramp& environment) {
  const uint32_t seed = rng.Seed();
  const float freq = rng.Range(1.5f, 2.5f), depth = rng.Range(1.5f, 3.0f), horizon = rng.Range(-0.2f, 0.3f);
  return [=](float u, float v) {
    constexpr float E = 0.004f;
    auto height = [&](float x, float y) {
      const float qx = Fbm(x * freq, y * freq, seed, 3), qy = Fbm(x * freq + 5.0f, y * freq, seed + 1u, 3);
      return Fbm(x * freq + 1.2f * qx, y * freq + 1.2f * qy, seed + 2u, 4);
    };
    const float h = height(u, v);
    const float hx = (height(u + E, v) - h) / E, hy = (height(u, v + E) - h) / E;
    float nx = -hx * depth * 0.05f, ny = -hy * depth * 0.05f, nz = 1.0f;
    const float len = std::sqrt(nx * nx + ny * ny + nz * nz);
    nx /= len;
    ny /= len;
    nz /= len;
    // the reflected view ray (0, 0, -1)
    const float ry = 2.0f * nz * ny, rx = 2.0f * nz * nx;
    const float band = std::exp(-(ry - horizon) * (ry - horizon) * 40.0f);
    const float spec = std::pow(Saturate(nx * 0.5f - ny * 0.5f + nz * 0.7f), 30.0f);
    const float fresnel = std::pow(1.0f - nz, 1.5f);
    return environment.At(0.45f + 0.45f * ry + 0.1f * rx) * (0.3f + 0.8f * fresnel + 0.3f * (0.5f + 0.5f * h)) + environment.At(0.95f) * (0.9f * band) +
           Rgb{1.0f, 1.0f, 1.0f} * (0.7f * spec);
  };
}

Skin_Shader Liquid_Oil(Rng& rng, int cycle) {
  const uint32_t seed = rng.Seed();
  const Ramp film = Skin_Cycle_Palette(cycle);
  const float freq = rng.Range(1.2f, 2.2f), bands = rng.Range(1.2f, 2.2f);
  return [=](float u, float v) {
    const Skin_Warp w = Skin_Warped_Fbm(u * freq, v * freq, seed, 2.0f, 3);
    const float thickness = w.F * bands + 0.5f * w.Q;
    const float dark = Saturate(0.3f + 0.9f * (0.5f + 0.5f * Fbm(u * freq * 0.7f, v * freq * 0.7f, seed + 4u, 3)));
    const float sheen = Skin_Crest(thickness * 2.0f, 12.0f);
    return film.At(thickness) * (0.08f + 1.0f * dark * dark) + Rgb{1.0f, 1.0f, 1.0f} * (0.3f * sheen * dark);
  };
}

Skin_Shader Liquid_Contours(Rng& rng, const Ramp& palette) {
  const uint32_t seed = rng.Seed();
  const float freq = rng.Range(1.2f, 2.0f), lines = rng.Range(3.0f, 5.5f), off = rng.Unit();
  return [=](float u, float v) {
    const Skin_Warp w = Skin_Warped_Fbm(u * freq, v * freq, seed, 1.8f, 3);
    const float l = std::fabs(Fract(w.F * lines) - 0.5f) * 2.0f;
    const float thin = std::pow(l, 10.0f), wide = std::pow(l, 2.5f);
    const float fill = 0.5f + 0.5f * w.F;
    return palette.At(0.2f + 0.6f * Fract(off + 0.6f * fill)) * (0.1f + 0.3f * w.R + 0.5f * wide) + palette.At(0.92f) * (1.1f * thin);
  };
}

Jpeg_Picture Paint_Liquid(int index, Rng& rng) {
  const Ramp a = Skin_Palette((index * 5 + 4) % Skin_Palette_Count);
  const Ramp b = Skin_Palette((index * 7 + 9) % Skin_Palette_Count);
  switch (index % 5) {
    case 0: return Skin_Render(Skins_Builtin_Size, Skin_Soft, Liquid_Marble(rng, b, a));
    case 1: return Skin_Render(Skins_Builtin_Size, Skin_Soft, Liquid_Aurora(rng, Skin_Palette(index % 2 ? 6 : 13), Skin_Palette(1)));
    case 2: return Skin_Render(Skins_Builtin_Size, Skin_Soft, Liquid_Chrome(rng, a));
    case 3: {
      static constexpr std::array<int, 3> Films = {8, 0, 7};
      return Skin_Render(Skins_Builtin_Size, Skin_Soft, Liquid_Oil(rng, Films[static_cast<size_t>(index / 5) % 3]));
    }
    default: return Skin_Render(Skins_Builtin_Size, Skin_Sharp, Liquid_Contours(rng, a));
  }
}

// ---- add-on packs -------------------------------------------------------------------

// Reaction-diffusion (Gray-Scott) on a small wrapping grid: two chemicals,
// u fed in at rate `feed`, v removed at rate `feed + kill`, growing from a
// scatter of seeds into coral-like labyrinths of even width. Returns v per
// cell, 0..~0.5.
std::vector<float> Reef_Grow(Rng& rng, int n, float feed, float kill, int steps) {
  const size_t cells = static_cast<size_t>(n) * static_cast<size_t>(n);
  std::vector<float> u(cells, 1.0f), v(cells, 0.0f), nu(cells), nv(cells);
  for (int seed = 0; seed < 70; ++seed) {
    const int sx = rng.Below(n), sy = rng.Below(n);
    for (int dy = -1; dy <= 1; ++dy) {
      for (int dx = -1; dx <= 1; ++dx) {
        const size_t at = static_cast<size_t>(((sy + dy + n) % n) * n + (sx + dx + n) % n);
        u[at] = 0.5f;
        v[at] = 0.25f + 0.1f * rng.Unit();
      }
    }
  }
  constexpr float Du = 0.2f, Dv = 0.1f; // diffusion per step, grid units
  const size_t w = static_cast<size_t>(n);
  for (int step = 0; step < steps; ++step) {
    for (size_t y = 0; y < w; ++y) {
      const float* ur = &u[y * w];
      const float* vr = &v[y * w];
      const float* uu = &u[((y + w - 1) % w) * w];
      const float* vu = &v[((y + w - 1) % w) * w];
      const float* ud = &u[((y + 1) % w) * w];
      const float* vd = &v[((y + 1) % w) * w];
      float* nur = &nu[y * w];
      float* nvr = &nv[y * w];
      for (size_t x = 0; x < w; ++x) {
        const size_t l = x == 0 ? w - 1 : x - 1, r = x + 1 == w ? 0 : x + 1;
        const float lu = ur[l] + ur[r] + uu[x] + ud[x] - 4.0f * ur[x];
        const float lv = vr[l] + vr[r] + vu[x] + vd[x] - 4.0f * vr[x];
        const float uvv = ur[x] * vr[x] * vr[x];
        nur[x] = ur[x] + Du * lu - uvv + feed * (1.0f - ur[x]);
        nvr[x] = vr[x] + Dv * lv + uvv - (feed + kill) * vr[x];
      }
    }
    u.swap(nu);
    v.swap(nv);
  }
  return v;
}

// Smooth (Catmull-Rom) reading of a wrapping n x n grid at cell coordinates.
float Reef_Sample(const std::vector<float>& grid, int n, float x, float y) {
  const int xi = Floor_Int(x), yi = Floor_Int(y);
  const float fx = x - static_cast<float>(xi), fy = y - static_cast<float>(yi);
  std::array<size_t, 4> cols{}, rows{};
  int ci = ((xi - 1) % n + n) % n, ri = ((yi - 1) % n + n) % n;
  for (size_t k = 0; k < 4; ++k) {
    cols[k] = static_cast<size_t>(ci);
    rows[k] = static_cast<size_t>(ri) * static_cast<size_t>(n);
    ci = ci + 1 == n ? 0 : ci + 1;
    ri = ri + 1 == n ? 0 : ri + 1;
  }
  auto cubic = [](float a, float b, float c, float d, float t) {
    return b + 0.5f * t * (c - a + t * (2.0f * a - 5.0f * b + 4.0f * c - d + t * (3.0f * (b - c) + d - a)));
  };
  std::array<float, 4> across{};
  for (size_t j = 0; j < 4; ++j) {
    const float* row = &grid[rows[j]];
    across[j] = cubic(row[cols[0]], row[cols[1]], row[cols[2]], row[cols[3]], fx);
  }
  return cubic(across[0], across[1], across[2], across[3], fy);
}

// Ember coral: labyrinths grown by reaction-diffusion, lit from above with
// a hot glow along their spines, dark sea water in the grooves.
Jpeg_Picture Ember_Reef(Rng& rng, int index, int32_t size) {
  static constexpr std::array<int, 9> Ember = {0, 17, 9, 12, 8, 4, 15, 2, 10};
  static constexpr std::array<int, 9> Sea = {1, 5, 14, 13, 11, 7, 1, 6, 5};
  // feed and kill rates of labyrinth-forming regimes: coral, mazes, worms
  static constexpr std::array<std::array<float, 2>, 3> Regimes = {{{0.0545f, 0.062f}, {0.029f, 0.057f}, {0.039f, 0.058f}}};
  const Ramp ember = Skin_Palette(Ember[static_cast<size_t>(index % 9)]);
  const Ramp sea = Skin_Palette(Sea[static_cast<size_t>(index % 9)]);
  const auto& regime = Regimes[static_cast<size_t>(index % 3)];
  const int n = 64 + 8 * rng.Below(3); // grid cells across: the coral's scale
  const std::vector<float> grid = Reef_Grow(rng, n, regime[0], regime[1], 1100);
  const float top = *std::max_element(grid.begin(), grid.end());
  const uint32_t seed = rng.Seed(), spark_seed = rng.Seed();
  const float scale = static_cast<float>(n), px = 1.0f / static_cast<float>(size), e = 0.6f;
  return Skin_Render(size, Skin_Soft, [&, top, seed, spark_seed, scale, px, e](float u, float v) {
    const float x = u * scale, y = v * scale;
    const float g = Reef_Sample(grid, n, x, y) / std::max(1e-3f, top);
    const float gx = Reef_Sample(grid, n, x + e, y) / std::max(1e-3f, top) - g;
    const float gy = Reef_Sample(grid, n, x, y + e) / std::max(1e-3f, top) - g;
    const float body = Smoothstep(0.25f, 0.45f, g);
    const float light = Saturate(0.55f - 2.5f * (gx * 0.6f + gy * 0.8f));
    const float spine = std::pow(Saturate((g - 0.55f) / 0.45f), 1.5f);
    const float heat = Saturate(0.45f + 0.8f * Fbm(u * 1.5f, v * 1.5f, seed, 3));
    const float grain = 0.75f + 0.25f * Gradient_Noise(u * 60.0f, v * 60.0f, seed + 1u);
    const float depth = 0.5f + 0.5f * Fbm(u * 4.0f, v * 4.0f, seed + 2u, 2);
    const Rgb water = sea.At(0.1f + 0.3f * depth) * (0.12f + 0.4f * depth);
    const Rgb coral = ember.At(0.3f + 0.35f * light + 0.3f * heat * spine) * ((0.2f + 0.9f * light) * grain * (0.6f + 0.6f * heat));
    const float rim = std::exp(-std::fabs(g - 0.3f) * 20.0f);
    const float sparks = Skin_Stars(u, v, spark_seed, 30.0f, 0.2f, px);
    return Mix(water, coral, body) + ember.At(0.85f + 0.1f * heat) * (1.1f * spine * heat + 0.35f * rim * heat) +
           ember.At(0.9f) * (1.1f * sparks * (1.0f - body));
  });
}

// Spiral wheels: logarithmic spiral arms around a glowing hub, crossed by
// frost crystals that repeat `fold` times around the wheel.
Skin_Shader Frostwheel(Rng& rng, int index, int32_t size) {
  static constexpr std::array<int, 8> Ice = {5, 1, 7, 11, 14, 6, 13, 5};
  const Ramp ice = Skin_Palette(Ice[static_cast<size_t>(index % 8)]);
  const Ramp glow = Skin_Palette(Ice[static_cast<size_t>((index + 3) % 8)]);
  const uint32_t seed = rng.Seed();
  const float arms = static_cast<float>(2 + rng.Below(6)), tight = rng.Range(0.6f, 1.6f) * (index % 2 ? 1.0f : -1.0f);
  const float fold = static_cast<float>(5 + rng.Below(4)), rings = rng.Range(3.0f, 6.0f);
  const float cx = 0.5f + rng.Range(-0.12f, 0.12f), cy = 0.5f + rng.Range(-0.12f, 0.12f);
  const float crystal_scale = rng.Range(6.0f, 16.0f), arm_sharp = rng.Range(2.0f, 6.0f);
  const float px = 1.0f / static_cast<float>(size);
  return [=](float u, float v) {
    const float dx = u - cx, dy = v - cy;
    const float r = std::sqrt(dx * dx + dy * dy) + px;
    const float a = Fast_Atan2(dy, dx) * (1.0f / Tau); // turns
    const float s = a * arms + std::log(r) * tight * arms + 0.15f * Fbm(u * 4.0f, v * 4.0f, seed, 3);
    const float arm = std::pow(Triangle(s), arm_sharp);
    const float wedge = std::fabs(Fract(a * fold) - 0.5f);
    const float fx = r * crystal_scale, fy = wedge * r * crystal_scale * Tau / fold;
    const float crystal = std::pow(Ridged(fx, fy, seed + 1u, 4), 3.0f);
    const float branch = std::exp(-fy * 8.0f) * (0.6f + 0.4f * Triangle(r * rings * 3.0f));
    const float ring = std::pow(Triangle(r * rings), 16.0f);
    const float core = std::exp(-r * 9.0f);
    const float frost = 0.5f + 0.5f * Fbm(u * 24.0f, v * 24.0f, seed + 2u, 3);
    const float detail = Saturate(r * 6.0f); // fine structure fades into the glowing hub
    return ice.At(0.15f + 0.25f * frost + 0.45f * arm) * (0.25f + 0.9f * arm * detail) +
           glow.At(0.6f + 0.35f * crystal) * ((1.3f * crystal + 0.6f * branch) * detail) + ice.At(0.85f) * (0.45f * ring * detail) +
           ice.At(0.9f) * (1.2f * core);
  };
}

} // namespace

Jpeg_Picture Skins_Paint_Builtin(int pack, int index, int number) {
  Rng rng(0x5c1e5000u + static_cast<uint64_t>(number) * 7919u);
  switch (pack) {
    case 1: return Paint_Plasma(index, rng);
    case 2: return Paint_Fractal(index, rng);
    case 3: return Paint_Nebula(index, rng);
    case 4: return Paint_Cells(index, rng);
    case 5: return Paint_Circuit(index, rng);
    default: return Paint_Liquid(index, rng);
  }
}

Jpeg_Picture Skins_Paint_Addon(Skins_Addon_Style style, int index, int32_t size) {
  switch (style) {
    case Skins_Addon_Style::Ember_Reef: {
      Rng rng(0xe3be0000u + static_cast<uint64_t>(index) * 104729u);
      return Ember_Reef(rng, index, size);
    }
    case Skins_Addon_Style::Frostwheel_Spiral:
    default: {
      Rng rng(0xf5051000u + static_cast<uint64_t>(index) * 130363u);
      return Skin_Render(size, Skin_Soft, Frostwheel(rng, index, size));
    }
  }
}
