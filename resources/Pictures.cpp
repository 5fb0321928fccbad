// Pictures: the scene's own pictures in the resource library, all "JPEG":
//   "Starburst_01".."Starburst_46"  256 x 256 radial bursts on pure black for
//       additive blending (one, one): a bright core, halos, rays of varying
//       count, width and length, rings and sparkles, in varied colours.
//       Numbers 15..23 are the particle and morph-cloud sprites: soft round
//       glows that still read when drawn a few pixels wide.
//   "BlobPlasmaTex_01".."20"  plasma textures of the wobbling blob and the
//       tentacles (mirror-tiled when loaded): 256 x 256 for 01..12, 128 x 128
//       for 13..20.
//   "ufo_texx_01".."05"  256 x 256 hull plating of the UFO: panels with
//       seams, bevels and rivets, vents and coloured lights.
//   "BCKGRND"  512 x 512 deep-space nebula and starfield behind the tunnel.
// The splash, maker and help pictures are in Pictures_Splash.cpp.
// Every picture comes from its own fixed seed; writers run on worker threads.
#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "resources/Pictures_Canvas.h"
#include "resources/Pictures_Splash.h"
#include "resources/Resgen_Assets.h"

namespace {

using Proc::Rgb;

std::string Pictures_Two_Digits(int n) {
  char text[16];
  std::snprintf(text, sizeof text, "%02d", n);
  return text;
}

Resgen_Asset Pictures_Jpeg(const std::string& name, const Jpeg_Picture& picture, int quality) {
  return Resgen_Asset{"JPEG", name, Jpeg_Encode(picture, quality), true};
}

// ---- star bursts --------------------------------------------------------------

constexpr int Burst_Size = 256;
constexpr float Burst_Centre = 128.0f;
constexpr float Burst_Radius = 128.0f;
constexpr int Burst_First_Sprite = 15; // Starburst_15..23 are the particle sprites
constexpr int Burst_Last_Sprite = 23;

struct Burst_Ray {
  float Angle;      // radians
  float Length;     // pixels
  float Width;      // half-width at the core, pixels
  float Brightness;
  Rgb Colour;
};

// Light of one ray at polar position (r, phi): a thin tapering streak with a
// faint wider sheen around it.
float Burst_Ray_Light(const Burst_Ray& ray, float r, float phi) {
  float delta = phi - ray.Angle;
  delta -= Proc::Tau * std::floor(delta / Proc::Tau + 0.5f);
  if (std::fabs(delta) > 1.5f) return 0.0f;
  const float along = r * std::cos(delta);
  if (along <= 0.0f) return 0.0f;
  const float t = along / ray.Length;
  if (t >= 1.0f) return 0.0f;
  const float across = r * std::fabs(std::sin(delta));
  const float width = ray.Width * (1.0f - 0.8f * t) + 0.45f;
  const float streak = std::exp(-(across * across) / (width * width));
  const float sheen = 0.12f * std::exp(-(across * across) / (16.0f * width * width));
  const float fade = std::pow(1.0f - t, 1.3f) * (0.4f + 0.6f * std::exp(-2.5f * t));
  // Thin rays get a little more light, so that they do not vanish.
  const float thin = std::min(2.0f, 1.0f / std::min(1.0f, ray.Width));
  return ray.Brightness * (streak * thin + sheen) * fade;
}

// A table of 2048 angular samples of a seamless noise around the circle,
// 0..1, `frequency` bumps per turn on average.
std::vector<float> Burst_Angular_Noise(uint32_t seed, float frequency, int octaves) {
  std::vector<float> table(2048);
  for (size_t i = 0; i < table.size(); ++i) {
    const float a = Proc::Tau * static_cast<float>(i) / static_cast<float>(table.size());
    const float radius = frequency / Proc::Tau;
    table[i] = Proc::Saturate(0.5f + 0.75f * Proc::Fbm(std::cos(a) * radius, std::sin(a) * radius, seed, octaves));
  }
  return table;
}
float Burst_Table_At(const std::vector<float>& table, float phi) {
  const float p = Proc::Fract(phi / Proc::Tau) * static_cast<float>(table.size());
  const int i = Proc::Floor_Int(p);
  const float f = p - static_cast<float>(i);
  const size_t a = static_cast<size_t>(i) % table.size(), b = (a + 1) % table.size();
  return Proc::Mix(table[a], table[b], f);
}

// The burst's window: full light inside, none at or beyond the edge circle,
// so the rotating square quad never shows its corners.
float Burst_Window(float r) { return 1.0f - Proc::Smoothstep(0.76f * Burst_Radius, 0.96f * Burst_Radius, r); }

Jpeg_Picture Burst_Paint(int number) {
  Proc::Rng rng(0x5ba257u + static_cast<uint64_t>(number) * 7919u);
  Picture_Canvas canvas(Burst_Size, Burst_Size);

  const float hue = rng.Unit();
  const float saturation = rng.Range(0.45f, 1.0f);
  const Rgb primary = Picture_Hsv(hue, saturation, 1.0f);
  const float second_hue = rng.Below(3) == 0 ? hue + 0.5f : hue + rng.Range(-0.12f, 0.12f);
  const Rgb secondary = Picture_Hsv(second_hue, saturation * rng.Range(0.6f, 1.0f), 1.0f);
  const Rgb white{1.0f, 1.0f, 1.0f};
  const Rgb core_colour = Proc::Mix(white, primary, 0.25f);

  const float core_sigma = rng.Range(3.5f, 8.0f);
  const float inner_halo = rng.Range(7.0f, 18.0f);
  const float outer_halo = rng.Range(36.0f, 70.0f);
  const float outer_gain = rng.Range(0.18f, 0.45f);

  const int style = (number - 1) % 4; // 0 star, 1 corona, 2 rings, 3 petals
  std::vector<Burst_Ray> rays;
  const float turn = rng.Unit() * Proc::Tau;
  auto add_rays = [&](int count, float length_lo, float length_hi, float width_lo, float width_hi, float bright_lo,
                      float bright_hi, bool even, Rgb colour) {
    for (int i = 0; i < count; ++i) {
      const float angle = even ? turn + Proc::Tau * static_cast<float>(i) / static_cast<float>(count)
                               : rng.Unit() * Proc::Tau;
      rays.push_back({angle, Burst_Radius * rng.Range(length_lo, length_hi), rng.Range(width_lo, width_hi),
                      rng.Range(bright_lo, bright_hi), colour});
    }
  };
  static constexpr std::array<int, 7> Major_Counts = {4, 5, 6, 8, 10, 12, 16};
  std::vector<float> corona, corona_length;
  int petals = 0;
  float petal_sharpness = 1.0f, petal_length = 0.0f;
  struct Burst_Ring {
    float Radius, Width, Gain;
  };
  std::vector<Burst_Ring> rings;
  switch (style) {
    case 0:
      add_rays(Major_Counts[static_cast<size_t>(rng.Below(7))], 0.75f, 0.98f, 1.2f, 3.2f, 1.0f, 1.5f, true, white);
      add_rays(12 + rng.Below(28), 0.2f, 0.6f, 0.5f, 1.3f, 0.35f, 0.8f, false, primary);
      break;
    case 1:
      corona = Burst_Angular_Noise(rng.Seed(), rng.Range(40.0f, 90.0f), 3);
      corona_length = Burst_Angular_Noise(rng.Seed(), rng.Range(5.0f, 12.0f), 2);
      add_rays(rng.Below(5), 0.6f, 0.9f, 0.8f, 1.8f, 0.6f, 1.0f, true, white);
      break;
    case 2: {
      const int count = 1 + rng.Below(3);
      for (int i = 0; i < count; ++i) {
        rings.push_back({rng.Range(28.0f, 95.0f), rng.Range(1.2f, 5.0f), rng.Range(0.25f, 0.7f)});
      }
      add_rays(6 + rng.Below(12), 0.35f, 0.8f, 0.6f, 1.8f, 0.4f, 0.9f, rng.Below(2) == 0, white);
      break;
    }
    default:
      petals = 4 + rng.Below(6);
      petal_sharpness = rng.Range(2.0f, 8.0f);
      petal_length = Burst_Radius * rng.Range(0.35f, 0.6f);
      add_rays(petals, 0.75f, 0.95f, 0.8f, 1.8f, 0.7f, 1.1f, true, white);
      add_rays(8 + rng.Below(16), 0.15f, 0.45f, 0.5f, 1.0f, 0.3f, 0.6f, false, secondary);
      break;
  }

  for (int y = 0; y < Burst_Size; ++y) {
    for (int x = 0; x < Burst_Size; ++x) {
      const float dx = static_cast<float>(x) + 0.5f - Burst_Centre, dy = static_cast<float>(y) + 0.5f - Burst_Centre;
      const float r = std::sqrt(dx * dx + dy * dy);
      const float window = Burst_Window(r);
      if (window <= 0.0f) continue;
      const float phi = std::atan2(dy, dx);
      Rgb light = core_colour * (2.2f * std::exp(-r * r / (2.0f * core_sigma * core_sigma)));
      light = light + primary * (0.9f * std::exp(-r / inner_halo));
      light = light + secondary * (outer_gain * std::exp(-(r * r) / (outer_halo * outer_halo)));
      for (const Burst_Ray& ray : rays) {
        const float k = Burst_Ray_Light(ray, r, phi);
        if (k > 0.0f) light = light + Proc::Mix(ray.Colour, primary, Proc::Saturate(r / ray.Length)) * k;
      }
      if (!corona.empty()) {
        const float s = Burst_Table_At(corona, phi);
        const float reach = Burst_Radius * (0.25f + 0.65f * Burst_Table_At(corona_length, phi));
        const float streaks = s * s * s * std::exp(-r / (0.35f * reach)) * Proc::Saturate(1.4f - r / reach);
        light = light + Proc::Mix(white, primary, Proc::Saturate(r / 50.0f)) * (2.4f * streaks);
      }
      for (const Burst_Ring& ring : rings) {
        const float d = (r - ring.Radius) / ring.Width;
        light = light + secondary * (ring.Gain * std::exp(-d * d));
      }
      if (petals > 0) {
        const float lobe = std::pow(std::fabs(std::cos(0.5f * static_cast<float>(petals) * (phi - turn))), petal_sharpness);
        light = light + secondary * (0.8f * lobe * std::exp(-r / (0.4f * petal_length)) * Proc::Saturate(1.2f - r / petal_length));
      }
      canvas.At(x, y) = light * window;
    }
  }
  // Sparkles scattered about the burst.
  const int sparkles = rng.Below(22);
  for (int i = 0; i < sparkles; ++i) {
    const float a = rng.Unit() * Proc::Tau, d = rng.Range(18.0f, 92.0f);
    const float bright = rng.Range(0.4f, 1.1f) * (1.0f - d / 120.0f);
    const float spike = rng.Range(2.5f, 8.0f), angle = rng.Unit(), whiteness = rng.Unit();
    Canvas_Add_Sparkle(canvas, Burst_Centre + d * std::cos(a), Burst_Centre + d * std::sin(a), spike, angle,
                       Proc::Mix(white, primary, whiteness) * bright);
  }
  return Canvas_To_Picture(canvas, 0.75f, 0.006f);
}

// The particle and morph-cloud sprites: a white-hot core, a halo and a wide
// soft glow in pale colours (the drawing tints them), here and there a faint
// ring or a few soft glints.
Jpeg_Picture Burst_Paint_Sprite(int number) {
  Proc::Rng rng(0x9a71c1eu + static_cast<uint64_t>(number) * 104729u);
  const int variant = number - Burst_First_Sprite;
  Picture_Canvas canvas(Burst_Size, Burst_Size);
  const Rgb tint = Picture_Hsv(rng.Unit(), rng.Range(0.12f, 0.4f), 1.0f);
  const Rgb deep = Picture_Hsv(rng.Unit(), rng.Range(0.3f, 0.6f), 1.0f);
  const float core_sigma = rng.Range(6.0f, 10.0f);
  const float halo = rng.Range(12.0f, 20.0f);
  const float wide = rng.Range(38.0f, 52.0f);
  const float ring_radius = rng.Range(36.0f, 54.0f), ring_width = rng.Range(3.0f, 6.0f);
  std::vector<Burst_Ray> glints;
  if (variant % 3 == 2) {
    const int count = (variant % 2 == 0) ? 4 : 6;
    const float turn = rng.Unit() * Proc::Tau;
    for (int i = 0; i < count; ++i) {
      glints.push_back({turn + Proc::Tau * static_cast<float>(i) / static_cast<float>(count), rng.Range(60.0f, 95.0f),
                        rng.Range(2.0f, 3.5f), 0.45f, tint});
    }
  }
  for (int y = 0; y < Burst_Size; ++y) {
    for (int x = 0; x < Burst_Size; ++x) {
      const float dx = static_cast<float>(x) + 0.5f - Burst_Centre, dy = static_cast<float>(y) + 0.5f - Burst_Centre;
      const float r = std::sqrt(dx * dx + dy * dy);
      const float window = Burst_Window(r);
      if (window <= 0.0f) continue;
      Rgb light = Rgb{1.0f, 1.0f, 1.0f} * (2.0f * std::exp(-r * r / (2.0f * core_sigma * core_sigma)));
      light = light + tint * (0.95f * std::exp(-r / halo));
      light = light + Proc::Mix(tint, deep, 0.5f) * (0.3f * std::exp(-(r * r) / (wide * wide)));
      if (variant % 3 == 1) {
        const float d = (r - ring_radius) / ring_width;
        light = light + deep * (0.22f * std::exp(-d * d));
      }
      if (!glints.empty()) {
        const float phi = std::atan2(dy, dx);
        for (const Burst_Ray& ray : glints) light = light + tint * Burst_Ray_Light(ray, r, phi);
      }
      canvas.At(x, y) = light * window;
    }
  }
  return Canvas_To_Picture(canvas, 0.75f, 0.006f);
}

// ---- blob plasma ---------------------------------------------------------------

Proc::Ramp Blob_Ramp(Proc::Rng& rng, int kind) {
  switch (kind) {
    case 0: // fire
      return Proc::Ramp({{0.0f, Proc::From_Hex(0x140002)}, {0.3f, Proc::From_Hex(0x8a0e06)}, {0.55f, Proc::From_Hex(0xff6a10)},
                         {0.8f, Proc::From_Hex(0xffd44a)}, {1.0f, Proc::From_Hex(0xfffbe0)}});
    case 1: // toxic green
      return Proc::Ramp({{0.0f, Proc::From_Hex(0x001008)}, {0.35f, Proc::From_Hex(0x0b6d2a)}, {0.65f, Proc::From_Hex(0x6cff3a)},
                         {0.85f, Proc::From_Hex(0xe9ff8a)}, {1.0f, Proc::From_Hex(0xffffff)}});
    case 2: // ice and violet
      return Proc::Ramp({{0.0f, Proc::From_Hex(0x05021a)}, {0.3f, Proc::From_Hex(0x3a1a8c)}, {0.6f, Proc::From_Hex(0x2fa8ff)},
                         {0.85f, Proc::From_Hex(0xaef4ff)}, {1.0f, Proc::From_Hex(0xffffff)}},
                        false);
    case 3: // magenta and gold
      return Proc::Ramp({{0.0f, Proc::From_Hex(0x22001a)}, {0.25f, Proc::From_Hex(0xa0106a)}, {0.5f, Proc::From_Hex(0xff5ec8)},
                         {0.75f, Proc::From_Hex(0xffc34a)}, {1.0f, Proc::From_Hex(0x3b0a40)}},
                        true);
    default: { // a cycling cosine rainbow of random phases
      const Rgb a{0.5f, 0.5f, 0.5f}, b{0.5f, 0.5f, 0.5f};
      return Proc::Cosine_Ramp(a, b, {1.0f, 1.0f, 1.0f}, {rng.Unit(), rng.Unit(), rng.Unit()});
    }
  }
}

Jpeg_Picture Blob_Paint(int number) {
  Proc::Rng rng(0xb10b00u + static_cast<uint64_t>(number) * 31337u);
  const int size = number <= 12 ? 256 : 128;
  Picture_Canvas canvas(size, size);
  const int pattern = (number - 1) % 5;
  // Each pattern meets each palette once in every five pictures.
  const Proc::Ramp ramp = Blob_Ramp(rng, (pattern + (number - 1) / 5) % 5);
  const uint32_t seed = rng.Seed();
  const float scale = rng.Range(2.5f, 4.5f) / static_cast<float>(size); // noise cells per pixel
  const float f1 = rng.Range(5.0f, 11.0f), f2 = rng.Range(5.0f, 11.0f), f3 = rng.Range(3.0f, 8.0f), f4 = rng.Range(8.0f, 16.0f);
  const float cx = rng.Range(0.2f, 0.8f), cy = rng.Range(0.2f, 0.8f);
  const float bands = rng.Range(1.0f, 2.5f);
  for (int y = 0; y < size; ++y) {
    for (int x = 0; x < size; ++x) {
      const float u = static_cast<float>(x) / static_cast<float>(size), v = static_cast<float>(y) / static_cast<float>(size);
      const float px = static_cast<float>(x) * scale, py = static_cast<float>(y) * scale;
      float value = 0.0f;
      switch (pattern) {
        case 0: { // classic sum of sines, gently warped
          const float w = 0.6f * Proc::Fbm(px, py, seed, 3);
          const float dx = u - cx, dy = v - cy;
          value = Proc::Fast_Sin(u * f1 + w * 3.0f) + Proc::Fast_Sin(v * f2 + 1.3f) + Proc::Fast_Sin((u + v) * f3 + w * 2.0f) +
                  Proc::Fast_Sin(std::sqrt(dx * dx + dy * dy) * f4);
          value = 0.5f + 0.5f * Proc::Fast_Sin(value * bands * 1.3f);
          break;
        }
        case 1: { // domain-warped noise
          const float qx = Proc::Fbm(px, py, seed, 4), qy = Proc::Fbm(px + 5.2f, py + 1.3f, seed, 4);
          const float rx = Proc::Fbm(px + 3.0f * qx + 1.7f, py + 3.0f * qy + 9.2f, seed + 1u, 4);
          const float ry = Proc::Fbm(px + 3.0f * qx + 8.3f, py + 3.0f * qy + 2.8f, seed + 1u, 4);
          value = Proc::Saturate(0.5f + 0.9f * Proc::Fbm(px + 3.0f * rx, py + 3.0f * ry, seed + 2u, 4));
          value = value * 0.8f + 0.2f * Proc::Saturate(std::sqrt(qx * qx + qy * qy));
          break;
        }
        case 2: { // glowing cells with bright veins
          const Proc::Cell_Sample cell = Proc::Cellular(px * 1.6f + 0.5f * Proc::Fbm(px, py, seed, 2),
                                                        py * 1.6f + 0.5f * Proc::Fbm(px + 4.0f, py, seed, 2), seed + 3u);
          const float vein = std::exp(-(cell.F2 - cell.F1) * 9.0f);
          value = Proc::Saturate(0.25f + 0.45f * cell.F1 + 0.75f * vein);
          break;
        }
        case 3: { // electric turbulence
          const float ridge = Proc::Ridged(px * 1.2f, py * 1.2f, seed, 5);
          value = Proc::Saturate(std::pow(ridge, 1.8f) * 1.3f);
          break;
        }
        default: { // marbled swirl
          const float turbulence = Proc::Fbm(px * 0.8f, py * 0.8f, seed, 5);
          value = 0.5f + 0.5f * Proc::Fast_Sin((u * f1 + v * f2 * 0.5f) * 0.9f + turbulence * 6.5f);
          break;
        }
      }
      canvas.At(x, y) = ramp.At(value);
    }
  }
  return Canvas_To_Picture(canvas);
}

// ---- UFO hull plating ----------------------------------------------------------

struct Ufo_Style {
  Rgb Metal;      // base colour of the plates
  Rgb Light;      // colour of the lamps
  float Shine;    // strength of the brushed highlights
  float Grime;    // strength of the dirt
};

struct Ufo_Panel {
  int X0, Y0, X1, Y1; // pixels, X1 and Y1 exclusive
  float Tone;         // brightness factor of the plate
  int Kind;           // 0 plain, 1 vents, 2 lamps, 3 light strip, 4 grille
  bool Brushed_Across;
};

// Splits the square into panels: each rectangle is cut across its longer
// side at a random place until it is small enough.
void Ufo_Split(Proc::Rng& rng, int x0, int y0, int x1, int y1, int depth, std::vector<Ufo_Panel>& panels) {
  const int w = x1 - x0, h = y1 - y0;
  const bool small = (w < 40 && h < 40) || depth >= 6 || (depth >= 3 && rng.Below(4) == 0);
  if (!small && (w >= 32 || h >= 32)) {
    if (w >= h) {
      const int cut = x0 + w * (3 + rng.Below(5)) / 10;
      Ufo_Split(rng, x0, y0, cut, y1, depth + 1, panels);
      Ufo_Split(rng, cut, y0, x1, y1, depth + 1, panels);
    } else {
      const int cut = y0 + h * (3 + rng.Below(5)) / 10;
      Ufo_Split(rng, x0, y0, x1, cut, depth + 1, panels);
      Ufo_Split(rng, x0, cut, x1, y1, depth + 1, panels);
    }
    return;
  }
  int kind = 0;
  const int roll = rng.Below(10);
  if (roll == 0 && w >= 20 && h >= 20) kind = 1;
  else if (roll == 1) kind = 2;
  else if (roll == 2 && (w >= 30 || h >= 30)) kind = 3;
  else if (roll == 3 && w >= 24 && h >= 24) kind = 4;
  panels.push_back({x0, y0, x1, y1, rng.Range(0.78f, 1.12f), kind, rng.Below(2) == 0});
}

Jpeg_Picture Ufo_Paint(int number) {
  static constexpr std::array<Ufo_Style, 5> Styles = {{
      {{0.56f, 0.59f, 0.64f}, {0.35f, 0.85f, 1.0f}, 0.35f, 0.35f},  // steel, cyan lamps
      {{0.72f, 0.56f, 0.26f}, {1.0f, 0.35f, 0.15f}, 0.45f, 0.3f},   // brass, red lamps
      {{0.24f, 0.27f, 0.33f}, {0.3f, 0.6f, 1.0f}, 0.3f, 0.25f},     // gunmetal, blue lamps
      {{0.62f, 0.33f, 0.22f}, {1.0f, 0.85f, 0.3f}, 0.4f, 0.4f},     // copper, amber lamps
      {{0.36f, 0.52f, 0.42f}, {0.85f, 0.35f, 1.0f}, 0.45f, 0.3f},   // green alloy, violet lamps
  }};
  const Ufo_Style& style = Styles[static_cast<size_t>(number - 1)];
  Proc::Rng rng(0x0f0f0u + static_cast<uint64_t>(number) * 65537u);
  constexpr int Size = 256;
  std::vector<Ufo_Panel> panels;
  Ufo_Split(rng, 0, 0, Size, Size, 0, panels);
  std::vector<int> owner(static_cast<size_t>(Size * Size), 0);
  for (size_t i = 0; i < panels.size(); ++i) {
    const Ufo_Panel& p = panels[i];
    for (int y = p.Y0; y < p.Y1; ++y) {
      for (int x = p.X0; x < p.X1; ++x) owner[static_cast<size_t>(y * Size + x)] = static_cast<int>(i);
    }
  }
  const uint32_t seed = rng.Seed();
  Picture_Canvas canvas(Size, Size);
  Picture_Mask lamps(Size, Size);
  for (int y = 0; y < Size; ++y) {
    for (int x = 0; x < Size; ++x) {
      const Ufo_Panel& p = panels[static_cast<size_t>(owner[static_cast<size_t>(y * Size + x)])];
      const float fx = static_cast<float>(x) + 0.5f, fy = static_cast<float>(y) + 0.5f;
      // Distances to the panel's four edges.
      const float left = fx - static_cast<float>(p.X0), right = static_cast<float>(p.X1) - fx;
      const float top = fy - static_cast<float>(p.Y0), bottom = static_cast<float>(p.Y1) - fy;
      const float edge = std::min(std::min(left, right), std::min(top, bottom));
      const float pw = static_cast<float>(p.X1 - p.X0), ph = static_cast<float>(p.Y1 - p.Y0);
      // Brushed metal: noise stretched along the brushing direction.
      const float brush = p.Brushed_Across ? Proc::Fbm(fx * 0.6f, fy * 0.03f, seed, 3) : Proc::Fbm(fx * 0.03f, fy * 0.6f, seed, 3);
      const float broad = Proc::Fbm(fx / 64.0f, fy / 64.0f, seed + 7u, 4);
      float shade = p.Tone * (0.92f + 0.1f * brush * style.Shine * 3.0f) * (1.0f + 0.12f * broad);
      // Light falls from the upper left: each plate brighter towards its top.
      shade *= 1.08f - 0.16f * (top / ph);
      // Seams and bevels.
      if (edge < 1.2f) {
        shade *= 0.25f;
      } else if (edge < 4.0f) {
        const bool lit = (top == edge || left == edge);
        shade *= lit ? 1.35f : 0.62f;
      }
      Rgb colour = style.Metal * shade;
      // Rivets along the edges, 6 pixels in.
      const float inset = 6.5f, spacing = 11.0f;
      auto rivet = [&](float along, float across) {
        const float a = std::fmod(along, spacing) - spacing * 0.5f;
        const float d2 = a * a + across * across;
        if (d2 < 4.0f) {
          const float highlight = Proc::Saturate(0.5f - (a + across) * 0.35f);
          colour = style.Metal * (0.55f + 0.9f * highlight);
        } else if (d2 < 6.0f) {
          colour = colour * 0.55f;
        }
      };
      if (pw >= 24.0f && ph >= 24.0f && p.Kind != 3) {
        if (std::fabs(top - inset) < 2.5f) rivet(left, top - inset);
        if (std::fabs(bottom - inset) < 2.5f) rivet(left, inset - bottom);
        if (std::fabs(left - inset) < 2.5f && top > 10.0f && bottom > 10.0f) rivet(top, left - inset);
        if (std::fabs(right - inset) < 2.5f && top > 10.0f && bottom > 10.0f) rivet(top, inset - right);
      }
      // Panel fittings.
      const float cx = 0.5f * static_cast<float>(p.X0 + p.X1), cy = 0.5f * static_cast<float>(p.Y0 + p.Y1);
      switch (p.Kind) {
        case 1: { // vent slots
          if (edge > 9.0f) {
            const float phase = std::fmod(pw >= ph ? fx - static_cast<float>(p.X0) : fy - static_cast<float>(p.Y0), 6.0f);
            if (phase < 3.0f) colour = style.Metal * (0.08f + 0.05f * phase);
            else if (phase < 4.0f) colour = colour * 1.25f;
          }
          break;
        }
        case 2: { // round lamps in a row along the longer side
          const bool row = pw >= ph;
          const float step = 18.0f;
          const float along = row ? fx - static_cast<float>(p.X0) : fy - static_cast<float>(p.Y0);
          const float length = row ? pw : ph;
          const int count = std::max(1, static_cast<int>(length / step));
          const float start = 0.5f * (length - step * static_cast<float>(count - 1));
          const float nearest = start + step * std::round((along - start) / step);
          const float a = along - std::clamp(nearest, start, start + step * static_cast<float>(count - 1));
          const float b = row ? fy - cy : fx - cx;
          const float d = std::sqrt(a * a + b * b);
          const float lamp_radius = std::min(5.0f, 0.3f * std::min(pw, ph));
          if (d < lamp_radius + 1.5f) colour = Rgb{0.05f, 0.05f, 0.06f}; // the lamp's socket ring
          if (d < lamp_radius) lamps.At(x, y) = 1.0f - 0.5f * (d / lamp_radius);
          break;
        }
        case 3: { // a recessed light strip along the middle
          const bool row = pw >= ph;
          const float across = row ? std::fabs(fy - cy) : std::fabs(fx - cx);
          const float along_edge = row ? std::min(left, right) : std::min(top, bottom);
          if (across < 4.5f && along_edge > 6.0f) colour = Rgb{0.04f, 0.04f, 0.05f};
          if (across < 2.5f && along_edge > 7.0f) lamps.At(x, y) = 0.85f;
          break;
        }
        case 4: { // a grille of small holes
          if (edge > 8.0f) {
            const float gx = std::fmod(fx, 5.0f) - 2.5f, gy = std::fmod(fy, 5.0f) - 2.5f;
            if (gx * gx + gy * gy < 2.2f) colour = colour * 0.15f;
          }
          break;
        }
        default: break;
      }
      // Dirt gathers in patches and along the seams.
      const float dirt = Proc::Saturate(0.5f + 0.8f * Proc::Fbm(fx / 24.0f, fy / 24.0f, seed + 11u, 4));
      colour = colour * (1.0f - style.Grime * dirt * dirt * 0.6f - (edge < 6.0f ? 0.08f * style.Grime : 0.0f));
      canvas.At(x, y) = colour;
    }
  }
  // Lamps glow beyond their glass.
  Picture_Mask glow = lamps;
  Mask_Blur(glow, 5);
  Canvas_Add(canvas, glow, style.Light, 2.2f);
  Canvas_Paint(canvas, lamps, Proc::Mix(style.Light, Rgb{1.0f, 1.0f, 1.0f}, 0.45f));
  return Canvas_To_Picture(canvas);
}

// ---- background plate ------------------------------------------------------

// A star of the fields: a tight dot and, for the brighter ones, a halo.
void Space_Add_Star(Picture_Canvas& canvas, Proc::Rng& rng, float x, float y, float brightness) {
  static constexpr std::array<uint32_t, 6> Tints = {0xcfe0ff, 0xffffff, 0xfff3dc, 0xffd9a8, 0xaec8ff, 0xffc0c8};
  const Rgb tint = Proc::From_Hex(Tints[static_cast<size_t>(rng.Below(6))]);
  const float sigma = 0.45f + 0.5f * brightness;
  Canvas_Add_Glow(canvas, x, y, sigma, brightness > 0.6f ? 1.5f + 2.0f * brightness : 0.0f, tint * (brightness * 1.4f),
                  tint * (brightness * 0.12f));
  if (brightness > 0.85f) Canvas_Add_Sparkle(canvas, x, y, 6.0f + 10.0f * (brightness - 0.85f) * 6.0f, 0.0f, tint * 0.6f);
}

Jpeg_Picture Background_Paint() {
  constexpr int Size = 512;
  Proc::Rng rng(0xbc6c4dull);
  const uint32_t seed = rng.Seed();
  Picture_Canvas canvas(Size, Size);
  const Proc::Ramp nebula({{0.0f, Proc::From_Hex(0x000000)},
                           {0.25f, Proc::From_Hex(0x07061c)},
                           {0.5f, Proc::From_Hex(0x2a0c4a)},
                           {0.7f, Proc::From_Hex(0x6a1a6e)},
                           {0.86f, Proc::From_Hex(0xd0508a)},
                           {1.0f, Proc::From_Hex(0xffd0c0)}});
  const Proc::Ramp nebula_blue({{0.0f, Proc::From_Hex(0x000000)},
                                {0.25f, Proc::From_Hex(0x030a1e)},
                                {0.5f, Proc::From_Hex(0x0a2a5a)},
                                {0.7f, Proc::From_Hex(0x156a8a)},
                                {0.86f, Proc::From_Hex(0x40b8c8)},
                                {1.0f, Proc::From_Hex(0xd0fff8)}});
  for (int y = 0; y < Size; ++y) {
    for (int x = 0; x < Size; ++x) {
      const float px = static_cast<float>(x) / 150.0f, py = static_cast<float>(y) / 150.0f;
      const float qx = Proc::Fbm(px, py, seed, 4), qy = Proc::Fbm(px + 3.1f, py + 7.7f, seed, 4);
      const float gas = Proc::Fbm(px + 1.6f * qx, py + 1.6f * qy, seed + 1u, 6);
      const float dust = Proc::Ridged(px * 1.4f + qx, py * 1.4f + qy, seed + 2u, 5);
      // A band of gas across the picture, brighter towards its middle.
      const float band = std::exp(-std::pow((static_cast<float>(y) - 250.0f - 70.0f * qx) / 170.0f, 2.0f));
      float density = Proc::Saturate((0.5f + 0.8f * gas) * (0.35f + 0.75f * band));
      density *= 1.0f - 0.55f * Proc::Smoothstep(0.55f, 0.95f, dust); // dark lanes
      // Large regions of the cloud glow blue-green instead of violet.
      const float hue = Proc::Smoothstep(-0.25f, 0.35f, Proc::Fbm(px * 0.45f + 9.0f, py * 0.45f, seed + 3u, 3));
      const Rgb colour = Proc::Mix(nebula.At(density * 0.95f), nebula_blue.At(density * 0.95f), hue) * 0.85f;
      canvas.At(x, y) = colour;
    }
  }
  for (int i = 0; i < 1800; ++i) {
    const float b = std::pow(rng.Unit(), 5.0f);
    const float x = rng.Range(0.0f, Size), y = rng.Range(0.0f, Size);
    Space_Add_Star(canvas, rng, x, y, 0.12f + 0.9f * b);
  }
  return Canvas_To_Picture(canvas);
}

} // namespace

void Pictures_Register(Resgen_Registry& registry) {
  for (int n = 1; n <= 46; ++n) {
    registry.push_back([n] {
      const bool sprite = n >= Burst_First_Sprite && n <= Burst_Last_Sprite;
      return Pictures_Jpeg("Starburst_" + Pictures_Two_Digits(n), sprite ? Burst_Paint_Sprite(n) : Burst_Paint(n), 92);
    });
  }
  for (int n = 1; n <= 20; ++n) {
    registry.push_back([n] { return Pictures_Jpeg("BlobPlasmaTex_" + Pictures_Two_Digits(n), Blob_Paint(n), 90); });
  }
  for (int n = 1; n <= 5; ++n) {
    registry.push_back([n] { return Pictures_Jpeg("ufo_texx_" + Pictures_Two_Digits(n), Ufo_Paint(n), 90); });
  }
  registry.push_back([] { return Pictures_Jpeg("BCKGRND", Background_Paint(), 90); });
  Pictures_Splash_Register(registry);
}
