// Pictures_Splash: the launch form's and About page's pictures and the help
// panel.
//   "JPEG/Alien_Loader"        1024 x 768 full-screen splash: a ringed plasma
//                              giant and a moon over an alien range, aurora
//                              curtains, glowing cracks in the ground; the
//                              bottom is kept dark for the progress bar and
//                              captions drawn over it.
//   "JPEG/Tarvik_Label"        300 x 60 maker label, "Tarvik" in glowing type.
//   "JPEG/Logo_old_Tarvik"     256 x 256 About page emblem.
//   "JPEG/Flash_EYE_with_Magica" 256 x 256 an eye in a ring of magic light.
//   "BITMAP/LogoTarvik"        120 x 60 small logo, a 24-bit uncompressed BMP
//                              file (rows bottom-up).
//   "JPEG/Help_Panel"          512 x 512 the keyboard commands, one line per
//                              key, light text on a dark panel. The panel is
//                              shown 1.6 times wider than high (a quad of
//                              2S x S scaled by 0.1 and 0.125), so the text is
//                              set 1.6 times narrower than it is meant to look.
// Text is set from the DejaVu fonts (Pictures_Text.h).
#include "resources/Pictures_Splash.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "resources/Pictures_Canvas.h"
#include "resources/Pictures_Text.h"

namespace {

using Proc::Rgb;

constexpr const char* Splash_Bold_Face = "DejaVuSans-Bold.ttf";
constexpr const char* Splash_Face = "DejaVuSans.ttf";
constexpr const char* Splash_Serif_Bold_Face = "DejaVuSerif-Bold.ttf";

// Paints the mask with a colour that varies over the picture.
void Splash_Paint_With(Picture_Canvas& canvas, const Picture_Mask& mask, const std::function<Rgb(int, int)>& colour) {
  for (int y = 0; y < canvas.Height; ++y) {
    for (int x = 0; x < canvas.Width; ++x) {
      const float a = mask.At(x, y);
      if (a > 0.0f) canvas.At(x, y) = Proc::Mix(canvas.At(x, y), colour(x, y), Proc::Saturate(a));
    }
  }
}

// A copy of the mask blurred by `radius` pixels (for glows and shadows).
Picture_Mask Splash_Blurred(const Picture_Mask& mask, int radius) {
  Picture_Mask copy = mask;
  Mask_Blur(copy, radius);
  return copy;
}

// Embossed light of a shape: the slope of its blurred mask lit from the
// upper left; about -1 (facing away) .. 1 (facing the light).
float Splash_Emboss(const Picture_Mask& soft, int x, int y) {
  const int x0 = std::max(0, x - 1), x1 = std::min(soft.Width - 1, x + 1);
  const int y0 = std::max(0, y - 1), y1 = std::min(soft.Height - 1, y + 1);
  const float gx = soft.At(x1, y) - soft.At(x0, y), gy = soft.At(x, y1) - soft.At(x, y0);
  return Proc::Clamp((gx + gy) * 2.5f, -1.0f, 1.0f);
}

// ---- Alien_Loader ----------------------------------------------------------

Jpeg_Picture Splash_Alien_Loader() {
  constexpr int W = 1024, H = 768;
  constexpr float Horizon = 520.0f;
  Proc::Rng rng(0xa11e4ull);
  const uint32_t seed = rng.Seed();
  Picture_Canvas canvas(W, H);

  // Ridge lines: the far range and the near one, y of the crest per column.
  std::vector<float> far_ridge(W), near_ridge(W), aurora_base(W), aurora_rays(W), aurora_rays_fine(W), aurora_amp(W);
  for (int x = 0; x < W; ++x) {
    const float fx = static_cast<float>(x);
    far_ridge[static_cast<size_t>(x)] =
        Horizon - 30.0f - 110.0f * Proc::Ridged(fx / 260.0f, 0.3f, seed + 1u, 5) - 30.0f * Proc::Fbm(fx / 90.0f, 2.0f, seed + 2u, 3);
    near_ridge[static_cast<size_t>(x)] =
        Horizon + 80.0f - 120.0f * Proc::Ridged(fx / 340.0f + 7.0f, 0.8f, seed + 3u, 5) * Proc::Smoothstep(-0.2f, 0.9f, std::fabs(fx - 470.0f) / 520.0f);
    aurora_base[static_cast<size_t>(x)] =
        330.0f + 45.0f * std::sin(fx * 0.0065f + 0.8f) + 22.0f * std::sin(fx * 0.017f + 2.0f) +
        35.0f * Proc::Fbm(fx / 220.0f, 5.0f, seed + 4u, 3);
    aurora_amp[static_cast<size_t>(x)] = Proc::Smoothstep(0.25f, 0.7f, 0.5f + 0.9f * Proc::Fbm(fx / 240.0f, 1.5f, seed + 7u, 3));
    aurora_rays[static_cast<size_t>(x)] = Proc::Saturate(0.5f + 0.9f * Proc::Fbm(fx / 40.0f, 9.0f, seed + 5u, 3));
    aurora_rays_fine[static_cast<size_t>(x)] = Proc::Saturate(0.5f + 0.9f * Proc::Fbm(fx / 9.0f, 3.0f, seed + 6u, 2));
  }

  const Proc::Ramp sky({{0.0f, Proc::From_Hex(0x02010a)},
                        {0.45f, Proc::From_Hex(0x0d0630)},
                        {0.75f, Proc::From_Hex(0x3a0e4e)},
                        {0.92f, Proc::From_Hex(0x8a2a6a)},
                        {1.0f, Proc::From_Hex(0xe06a6a)}});
  const Proc::Ramp nebula({{0.0f, Proc::From_Hex(0x000000)},
                           {0.5f, Proc::From_Hex(0x1a0838)},
                           {0.75f, Proc::From_Hex(0x3a1870)},
                           {0.9f, Proc::From_Hex(0x2a78a8)},
                           {1.0f, Proc::From_Hex(0xb0f0ff)}});
  const Proc::Ramp bands({{0.0f, Proc::From_Hex(0x4a1a5a)},
                          {0.18f, Proc::From_Hex(0xa03a7a)},
                          {0.36f, Proc::From_Hex(0xe0806a)},
                          {0.5f, Proc::From_Hex(0xf4d0a8)},
                          {0.64f, Proc::From_Hex(0x8ab8c0)},
                          {0.8f, Proc::From_Hex(0x3a5a8a)},
                          {1.0f, Proc::From_Hex(0x4a1a5a)}},
                         true);

  // Sky, nebula and aurora.
  for (int y = 0; y < H; ++y) {
    for (int x = 0; x < W; ++x) {
      const float fx = static_cast<float>(x), fy = static_cast<float>(y);
      const float height = Proc::Saturate(fy / Horizon);
      Rgb colour = sky.At(std::pow(height, 1.6f));
      if (fy < Horizon + 40.0f) {
        const float px = fx / 260.0f, py = fy / 260.0f;
        const float qx = Proc::Fbm(px, py, seed + 10u, 4), qy = Proc::Fbm(px + 4.0f, py + 1.0f, seed + 10u, 4);
        const float gas = Proc::Saturate(0.45f + 0.8f * Proc::Fbm(px + 1.5f * qx, py + 1.5f * qy, seed + 11u, 5));
        const float fade = 1.0f - Proc::Smoothstep(0.3f, 0.95f, height);
        colour = colour + nebula.At(gas) * (0.55f * fade);
      }
      const size_t ix = static_cast<size_t>(x);
      const float base = aurora_base[ix];
      if (fy < base + 10.0f && fy > base - 260.0f) {
        const float above = base - fy;
        const float lower_edge = Proc::Smoothstep(-8.0f, 6.0f, above);
        const float rise = std::exp(-std::max(0.0f, above) / (35.0f + 110.0f * aurora_rays[ix]));
        const float curtain =
            aurora_amp[ix] * lower_edge * rise * (0.3f + 0.7f * aurora_rays[ix] * aurora_rays_fine[ix]);
        const Rgb low = Proc::From_Hex(0x30ffb0), high = Proc::From_Hex(0xb040ff);
        colour = colour + Proc::Mix(low, high, Proc::Saturate(above / 150.0f)) * (0.9f * curtain);
      }
      canvas.At(x, y) = colour;
    }
  }
  // Stars, fewer towards the horizon.
  for (int i = 0; i < 900; ++i) {
    const float x = rng.Range(0.0f, W), y = rng.Range(0.0f, Horizon);
    const float b = std::pow(rng.Unit(), 4.0f) * (1.0f - y / (Horizon + 60.0f));
    const float tint = rng.Unit();
    Canvas_Add_Glow(canvas, x, y, 0.55f + 0.6f * b, b > 0.5f ? 2.5f : 0.0f,
                    Proc::Mix(Proc::From_Hex(0xcfe0ff), Proc::From_Hex(0xffe8c8), tint) * (0.25f + 1.4f * b),
                    Proc::From_Hex(0x8090ff) * (0.08f * b));
  }

  // The ringed giant, lit from the upper left.
  const float pcx = 750.0f, pcy = 215.0f, pr = 165.0f;
  const float light[3] = {-0.78f, -0.38f, 0.5f};
  const float ring_tilt = -0.26f, ring_flat = 0.24f;
  const float ring_cos = std::cos(ring_tilt), ring_sin = std::sin(ring_tilt);
  auto ring_density = [&](float rho) {
    if (rho < 1.3f || rho > 2.25f) return 0.0f;
    const float gaps = Proc::Saturate(0.5f + 0.9f * Proc::Fbm(rho * 14.0f, 0.5f, seed + 20u, 3));
    const float cassini = 1.0f - std::exp(-std::pow((rho - 1.78f) / 0.03f, 2.0f));
    return gaps * cassini * Proc::Smoothstep(1.3f, 1.4f, rho) * (1.0f - Proc::Smoothstep(2.1f, 2.25f, rho));
  };
  for (int y = 0; y < 560; ++y) {
    for (int x = 380; x < W; ++x) {
      const float dx = static_cast<float>(x) + 0.5f - pcx, dy = static_cast<float>(y) + 0.5f - pcy;
      const float r = std::sqrt(dx * dx + dy * dy) / pr;
      // Ring plane coordinates of this pixel.
      const float ux = dx * ring_cos + dy * ring_sin, uy = -dx * ring_sin + dy * ring_cos;
      const float rho = std::sqrt(ux * ux + (uy / ring_flat) * (uy / ring_flat)) / pr;
      const bool ring_in_front = uy > 0.0f;
      Rgb& px = canvas.At(x, y);
      auto draw_ring = [&] {
        const float d = ring_density(rho);
        if (d <= 0.0f) return;
        const float shade = 0.55f + 0.45f * Proc::Saturate(-ux / (2.2f * pr) + 0.5f);
        const Rgb ring_colour = Proc::Mix(Proc::From_Hex(0xffd8b0), Proc::From_Hex(0xd070c0), Proc::Saturate((rho - 1.3f) / 0.9f));
        px = Proc::Mix(px, ring_colour * shade, 0.8f * d);
      };
      if (!ring_in_front) draw_ring();
      if (r < 1.0f) {
        const float nx = dx / pr, ny = dy / pr, nz = std::sqrt(std::max(0.0f, 1.0f - r * r));
        const float lit = nx * light[0] + ny * light[1] + nz * light[2];
        const float diffuse = Proc::Smoothstep(-0.08f, 0.55f, lit);
        // Bands follow latitude in the ring's tilt, swirled by noise.
        const float lat = (-nx * ring_sin + ny * ring_cos);
        const float lon = std::atan2(nx * ring_cos + ny * ring_sin, nz);
        const float swirl = Proc::Fbm(lon * 1.2f, lat * 5.0f, seed + 21u, 5);
        const float band = lat * 2.0f + 0.25f * swirl + 0.1f * Proc::Fbm(lon * 4.0f, lat * 18.0f, seed + 22u, 3);
        Rgb surface = bands.At(band);
        // A storm eye.
        const float sx = lon - 0.35f, sy = lat - 0.28f;
        const float storm = std::exp(-(sx * sx * 10.0f + sy * sy * 60.0f));
        surface = Proc::Mix(surface, Proc::From_Hex(0xfff0d0), 0.7f * storm);
        const float limb = std::pow(1.0f - nz, 3.0f);
        Rgb planet = surface * (0.06f + 1.05f * diffuse) * (1.0f - 0.35f * limb);
        planet = planet + Proc::From_Hex(0x40d0ff) * (0.7f * limb * (0.25f + diffuse));
        // The night side shows faint plasma lightning.
        const float spark = std::pow(Proc::Saturate(Proc::Ridged(lon * 6.0f, lat * 12.0f, seed + 23u, 3)), 6.0f);
        planet = planet + Proc::From_Hex(0xc060ff) * (0.5f * spark * (1.0f - diffuse));
        const float edge = Proc::Smoothstep(1.0f, 0.994f, r);
        px = Proc::Mix(px, planet, edge);
      } else {
        // Atmosphere glow around the disc, brighter on the lit side.
        const float toward = Proc::Saturate(0.5f - 0.5f * (dx * 0.78f + dy * 0.62f) / (r * pr));
        px = px + Proc::From_Hex(0x3ab8ff) * (0.55f * std::exp(-(r - 1.0f) * 22.0f) * (0.35f + toward));
      }
      if (ring_in_front) draw_ring();
    }
  }

  // A small cratered moon to the left.
  const float mcx = 185.0f, mcy = 140.0f, mr = 40.0f;
  for (int y = static_cast<int>(mcy - mr - 30.0f); y < static_cast<int>(mcy + mr + 30.0f); ++y) {
    for (int x = static_cast<int>(mcx - mr - 30.0f); x < static_cast<int>(mcx + mr + 30.0f); ++x) {
      const float dx = static_cast<float>(x) + 0.5f - mcx, dy = static_cast<float>(y) + 0.5f - mcy;
      const float r = std::sqrt(dx * dx + dy * dy) / mr;
      Rgb& px = canvas.At(x, y);
      if (r < 1.0f) {
        const float nx = dx / mr, ny = dy / mr, nz = std::sqrt(1.0f - r * r);
        const float lit = Proc::Smoothstep(-0.05f, 0.5f, nx * light[0] + ny * light[1] + nz * light[2]);
        const Proc::Cell_Sample crater = Proc::Cellular(nx * 3.5f + 9.0f, ny * 3.5f + 9.0f, seed + 30u);
        const float rim = std::exp(-std::pow((crater.F1 - 0.32f) / 0.06f, 2.0f));
        const float bowl = crater.F1 < 0.32f ? 0.75f : 1.0f;
        const float rough = 0.85f + 0.2f * Proc::Fbm(nx * 12.0f, ny * 12.0f, seed + 31u, 3);
        const Rgb rock = Proc::From_Hex(0x9aa8c0) * (rough * bowl + 0.3f * rim);
        px = Proc::Mix(px, rock * (0.03f + 0.95f * lit), Proc::Smoothstep(1.0f, 0.97f, r));
      } else {
        px = px + Proc::From_Hex(0x6080c0) * (0.25f * std::exp(-(r - 1.0f) * 14.0f));
      }
    }
  }

  // The ranges, the ground and the glowing cracks.
  for (int y = 300; y < H; ++y) {
    for (int x = 0; x < W; ++x) {
      const size_t ix = static_cast<size_t>(x);
      const float fx = static_cast<float>(x), fy = static_cast<float>(y);
      Rgb& px = canvas.At(x, y);
      const float far_top = far_ridge[ix], near_top = near_ridge[ix];
      if (fy >= far_top) {
        const float depth = fy - far_top;
        const float rock = 0.7f + 0.3f * Proc::Fbm(fx / 30.0f, fy / 12.0f, seed + 40u, 4);
        const size_t left = ix >= 8 ? ix - 8 : 0, right = std::min(ix + 8, far_ridge.size() - 1);
        const float slope = (far_ridge[right] - far_ridge[left]) / static_cast<float>(right - left);
        const float facing = Proc::Saturate(-slope); // slopes that face the light on the left
        Rgb far_colour = Proc::From_Hex(0x1a0c2c) * (rock * (1.0f + 1.4f * facing * std::exp(-depth / 45.0f)));
        far_colour = far_colour + Proc::From_Hex(0xff50a0) * (0.55f * std::exp(-depth / 3.0f)); // rim light
        far_colour = far_colour + Proc::From_Hex(0x6a2a70) * (0.35f * std::exp(-depth / 40.0f)); // haze
        px = Proc::Mix(px, far_colour, Proc::Saturate(depth + 0.5f));
      }
      if (fy >= near_top) {
        const float depth = fy - near_top;
        const float rock = 0.6f + 0.4f * Proc::Fbm(fx / 40.0f, fy / 16.0f, seed + 41u, 4);
        Rgb near_colour = Proc::From_Hex(0x07040e) * rock;
        near_colour = near_colour + Proc::From_Hex(0x40e0ff) * (0.7f * std::exp(-depth / 2.5f));
        // Cracks of plasma, stretched by perspective towards the horizon.
        const float perspective = 1.0f + (fy - Horizon) / 80.0f;
        const float crack = Proc::Ridged(fx / (70.0f * perspective), fy / 22.0f, seed + 42u, 4);
        const float glow = std::pow(Proc::Saturate(crack), 9.0f) * Proc::Smoothstep(0.0f, 25.0f, depth);
        const float dim = 1.0f - Proc::Smoothstep(640.0f, 768.0f, fy);
        near_colour = near_colour + Proc::Mix(Proc::From_Hex(0x30f0ff), Proc::From_Hex(0xff40c0), Proc::Saturate((fx - 300.0f) / 600.0f)) *
                                        (1.4f * glow * (0.3f + 0.7f * dim));
        // The giant's light mirrored in the plasma sea, in broken streaks.
        const float column = std::exp(-std::pow((fx - pcx) / (60.0f + 0.5f * depth), 2.0f));
        near_colour = near_colour + Proc::From_Hex(0xffa080) * (0.6f * column * std::pow(Proc::Saturate(crack), 3.0f) * dim *
                                                               Proc::Smoothstep(0.0f, 30.0f, depth));
        px = Proc::Mix(px, near_colour, Proc::Saturate(depth + 0.5f));
      }
    }
  }
  return Canvas_To_Picture(canvas);
}

// ---- maker label, logos ----------------------------------------------------

// "Tarvik" in glowing type centred in a dark picture of the given size.
Picture_Canvas Splash_Maker_Type(int width, int height, float em, uint64_t seed_value) {
  Picture_Canvas canvas(width, height);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      const float v = static_cast<float>(y) / static_cast<float>(height);
      canvas.At(x, y) = Proc::Mix(Proc::From_Hex(0x06041a), Proc::From_Hex(0x000000), v);
    }
  }
  Pictures_Font font(Splash_Bold_Face);
  font.Set_Size(em);
  const std::string name = "Tarvik";
  const Pictures_Ink_Box ink = font.Ink(name);
  const float pen_x = 0.5f * static_cast<float>(width) - 0.5f * (ink.Left + ink.Right);
  const float baseline = 0.5f * static_cast<float>(height) - 0.5f * (ink.Top + ink.Bottom);
  Picture_Mask type(width, height);
  font.Draw(type, name, pen_x, baseline);
  // An orbit swept round the word, behind it.
  Picture_Mask orbit(width, height);
  const float ocx = 0.5f * static_cast<float>(width), ocy = 0.5f * static_cast<float>(height);
  const float orx = 0.5f * (ink.Right - ink.Left) + 0.12f * em, ory = 0.42f * (ink.Bottom - ink.Top);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      const float ux = (static_cast<float>(x) + 0.5f - ocx) / orx, uy = (static_cast<float>(y) + 0.5f - ocy - 0.15f * em) / ory;
      const float d = std::fabs(std::sqrt(ux * ux + uy * uy) - 1.0f) * ory;
      const float sweep = Proc::Saturate(0.5f + 0.5f * ux); // brighter to the right
      orbit.At(x, y) = std::exp(-d * d / 0.8f) * sweep * (uy > 0.0f ? 1.0f : 0.5f);
    }
  }
  Canvas_Add(canvas, Splash_Blurred(orbit, 2), Proc::From_Hex(0xff40d0), 1.2f);
  Canvas_Add(canvas, orbit, Proc::From_Hex(0xffb0f0), 1.0f);
  Canvas_Add(canvas, Splash_Blurred(type, std::max(2, static_cast<int>(em / 10.0f))), Proc::From_Hex(0x30a0ff), 0.8f);
  Canvas_Paint(canvas, Splash_Blurred(type, 1), Proc::From_Hex(0x000010), 0.7f); // a dark edge keeps the letters crisp
  const Picture_Mask soft = Splash_Blurred(type, 1);
  Splash_Paint_With(canvas, type, [&](int x, int y) {
    const float v = Proc::Saturate((static_cast<float>(y) - (baseline + ink.Top)) / (ink.Bottom - ink.Top));
    Rgb c = Proc::Mix(Proc::From_Hex(0xe8ffff), Proc::From_Hex(0x40c8ff), v);
    c = Proc::Mix(c, Proc::From_Hex(0xb060ff), Proc::Smoothstep(0.55f, 1.0f, v));
    return c * (0.85f + 0.3f * Splash_Emboss(soft, x, y));
  });
  // A sparkle at the upper right of the word.
  Proc::Rng rng(seed_value);
  Canvas_Add_Sparkle(canvas, pen_x + ink.Right - 0.05f * em + rng.Range(-1.0f, 1.0f), baseline + ink.Top + 0.05f * em,
                     0.22f * em, 0.0f, Proc::From_Hex(0xffffff) * 0.9f);
  return canvas;
}

Jpeg_Picture Splash_Tarvik_Label() { return Canvas_To_Picture(Splash_Maker_Type(300, 60, 44.0f, 0x7a41u)); }

std::vector<uint8_t> Splash_Logo_Bitmap() {
  const Jpeg_Picture picture = Canvas_To_Picture(Splash_Maker_Type(120, 60, 30.0f, 0x10601u));
  const uint32_t row_bytes = (static_cast<uint32_t>(picture.Width) * 3u + 3u) & ~3u;
  const uint32_t pixel_bytes = row_bytes * static_cast<uint32_t>(picture.Height);
  std::vector<uint8_t> bmp(54 + pixel_bytes, 0);
  auto put16 = [&](size_t at, uint32_t v) {
    bmp[at] = static_cast<uint8_t>(v);
    bmp[at + 1] = static_cast<uint8_t>(v >> 8);
  };
  auto put32 = [&](size_t at, uint32_t v) {
    put16(at, v & 0xFFFFu);
    put16(at + 2, v >> 16);
  };
  bmp[0] = 'B';
  bmp[1] = 'M';
  put32(2, static_cast<uint32_t>(bmp.size()));
  put32(10, 54);                                      // pixel data offset
  put32(14, 40);                                      // BITMAPINFOHEADER
  put32(18, static_cast<uint32_t>(picture.Width));
  put32(22, static_cast<uint32_t>(picture.Height));   // positive: rows bottom-up
  put16(26, 1);                                       // planes
  put16(28, 24);                                      // bits per pixel
  put32(30, 0);                                       // no compression
  put32(34, pixel_bytes);
  put32(38, 2835);                                    // 72 dots per inch
  put32(42, 2835);
  for (int y = 0; y < picture.Height; ++y) {
    uint8_t* row = bmp.data() + 54 + static_cast<size_t>(picture.Height - 1 - y) * row_bytes;
    for (int x = 0; x < picture.Width; ++x) {
      const uint8_t* p = picture.Pixel(x, y);
      row[x * 3 + 0] = p[2];
      row[x * 3 + 1] = p[1];
      row[x * 3 + 2] = p[0];
    }
  }
  return bmp;
}

Jpeg_Picture Splash_Logo_Old() {
  constexpr int S = 256;
  Picture_Canvas canvas(S, S);
  Proc::Rng rng(0x01d7a2ull);
  const float cx = 128.0f, cy = 110.0f;
  for (int y = 0; y < S; ++y) {
    for (int x = 0; x < S; ++x) {
      const float dx = static_cast<float>(x) - cx, dy = static_cast<float>(y) - cy;
      const float r = std::sqrt(dx * dx + dy * dy);
      canvas.At(x, y) = Proc::Mix(Proc::From_Hex(0x1a1050), Proc::From_Hex(0x020108), Proc::Saturate(r / 170.0f));
    }
  }
  for (int i = 0; i < 120; ++i) {
    const float x = rng.Range(0.0f, S), y = rng.Range(0.0f, S), b = std::pow(rng.Unit(), 3.0f);
    Canvas_Add_Glow(canvas, x, y, 0.5f + 0.5f * b, 0.0f, Proc::From_Hex(0xd0e0ff) * (0.2f + 0.8f * b), Rgb{});
  }
  // The ring, a brushed gold band with a glow.
  Picture_Mask ring(S, S), orbit(S, S);
  for (int y = 0; y < S; ++y) {
    for (int x = 0; x < S; ++x) {
      const float dx = static_cast<float>(x) + 0.5f - cx, dy = static_cast<float>(y) + 0.5f - cy;
      const float r = std::sqrt(dx * dx + dy * dy);
      ring.At(x, y) = Proc::Saturate(std::min(r - 80.0f, 92.0f - r) + 0.5f);
      // A tilted orbit crossing the emblem.
      const float ux = (dx * 0.94f + dy * 0.34f) / 112.0f, uy = (-dx * 0.34f + dy * 0.94f) / 30.0f;
      const float d = std::fabs(std::sqrt(ux * ux + uy * uy) - 1.0f) * 30.0f;
      orbit.At(x, y) = std::exp(-d * d / 1.2f) * (uy > 0.0f || r > 92.0f ? 1.0f : 0.0f);
    }
  }
  Canvas_Add(canvas, Splash_Blurred(ring, 6), Proc::From_Hex(0xff9a30), 0.7f);
  const Picture_Mask ring_soft = Splash_Blurred(ring, 2);
  Splash_Paint_With(canvas, ring, [&](int x, int y) {
    const float a = std::atan2(static_cast<float>(y) - cy, static_cast<float>(x) - cx);
    const float sheen = 0.5f + 0.5f * std::cos(2.0f * a + 0.7f);
    return Proc::Mix(Proc::From_Hex(0x8a5a10), Proc::From_Hex(0xffe6a0), sheen) * (0.9f + 0.35f * Splash_Emboss(ring_soft, x, y));
  });
  // The monogram.
  Pictures_Font serif(Splash_Serif_Bold_Face);
  serif.Set_Size(128.0f);
  const Pictures_Ink_Box t_ink = serif.Ink("T");
  Picture_Mask letter(S, S);
  serif.Draw(letter, "T", cx - 0.5f * (t_ink.Left + t_ink.Right), cy - 0.5f * (t_ink.Top + t_ink.Bottom));
  Canvas_Add(canvas, Splash_Blurred(letter, 7), Proc::From_Hex(0x40a0ff), 0.9f);
  const Picture_Mask letter_soft = Splash_Blurred(letter, 2);
  Splash_Paint_With(canvas, letter, [&](int x, int y) {
    const float v = Proc::Saturate((static_cast<float>(y) - (cy - 50.0f)) / 100.0f);
    Rgb c = Proc::Mix(Proc::From_Hex(0xffffff), Proc::From_Hex(0x8ad8ff), v);
    c = Proc::Mix(c, Proc::From_Hex(0x3050c0), Proc::Smoothstep(0.6f, 1.0f, v));
    return c * (0.85f + 0.4f * Splash_Emboss(letter_soft, x, y));
  });
  Canvas_Add(canvas, Splash_Blurred(orbit, 2), Proc::From_Hex(0xff40d0), 0.8f);
  Canvas_Add(canvas, orbit, Proc::From_Hex(0xffd0f8), 0.9f);
  // The name under the emblem, spaced out.
  Pictures_Font sans(Splash_Bold_Face);
  sans.Set_Size(30.0f);
  const std::string name = "TARVIK";
  const float spacing = 6.0f;
  float width = 0.0f;
  for (char c : name) width += sans.Advance(std::string(1, c)) + spacing;
  width -= spacing;
  Picture_Mask type(S, S);
  float pen = cx - 0.5f * width;
  for (char c : name) pen += sans.Draw(type, std::string(1, c), pen, 240.0f) + spacing;
  Canvas_Add(canvas, Splash_Blurred(type, 3), Proc::From_Hex(0xff8a20), 0.8f);
  Splash_Paint_With(canvas, type, [&](int, int y) {
    return Proc::Mix(Proc::From_Hex(0xfff4c0), Proc::From_Hex(0xffa030), Proc::Saturate((static_cast<float>(y) - 218.0f) / 22.0f));
  });
  Canvas_Add_Sparkle(canvas, cx + 66.0f, cy - 62.0f, 14.0f, 0.3f, Proc::From_Hex(0xffffff));
  return Canvas_To_Picture(canvas);
}

// ---- Flash_EYE_with_Magica -------------------------------------------------

Jpeg_Picture Splash_Magic_Eye() {
  constexpr int S = 256;
  Picture_Canvas canvas(S, S);
  Proc::Rng rng(0xe7e5ull);
  const uint32_t seed = rng.Seed();
  const float cx = 128.0f, cy = 128.0f;
  const float half_width = 92.0f, lid_height = 46.0f;
  const float iris_radius = 38.0f;
  const std::vector<float> flames = [&] {
    std::vector<float> t(1024);
    for (size_t i = 0; i < t.size(); ++i) {
      const float a = Proc::Tau * static_cast<float>(i) / static_cast<float>(t.size());
      t[i] = Proc::Saturate(0.5f + 0.9f * Proc::Fbm(std::cos(a) * 3.0f, std::sin(a) * 3.0f, seed, 4));
    }
    return t;
  }();
  for (int y = 0; y < S; ++y) {
    for (int x = 0; x < S; ++x) {
      const float dx = static_cast<float>(x) + 0.5f - cx, dy = static_cast<float>(y) + 0.5f - cy;
      const float r = std::sqrt(dx * dx + dy * dy);
      const float phi = std::atan2(dy, dx);
      const float u = dx / half_width;
      // Lids: the upper and lower arcs of the almond shape.
      const float opening = std::max(0.0f, 1.0f - u * u);
      const float upper = -lid_height * std::pow(opening, 0.8f), lower = 0.8f * lid_height * std::pow(opening, 0.9f);
      const float inside = std::min(dy - upper, lower - dy); // pixels inside the lids (negative outside)
      // Magic aura: flames round the eye, a rune ring, the dark beyond.
      const float flame = flames[static_cast<size_t>(Proc::Fract(phi / Proc::Tau + 1.0f) * 1023.0f)];
      const float almond = std::sqrt(u * u + (dy / (lid_height * 1.2f)) * (dy / (lid_height * 1.2f)));
      Rgb colour = Proc::Mix(Proc::From_Hex(0x12042a), Proc::From_Hex(0x000000), Proc::Saturate(r / 140.0f));
      const float aura = std::exp(-std::max(0.0f, almond - 1.0f) * (3.5f - 2.0f * flame));
      colour = colour + Proc::Mix(Proc::From_Hex(0x7a20ff), Proc::From_Hex(0x20e0ff), flame) * (0.9f * aura * (0.4f + 0.8f * flame));
      const float ring_d = std::fabs(r - 112.0f);
      const float ticks = std::pow(std::fabs(std::cos(phi * 12.0f)), 40.0f) * Proc::Saturate(1.0f - std::fabs(r - 112.0f) / 7.0f);
      colour = colour + Proc::From_Hex(0xc080ff) * (0.8f * std::exp(-ring_d * ring_d / 1.2f) + 0.7f * ticks);
      colour = colour + Proc::From_Hex(0x6040ff) * (0.25f * std::exp(-ring_d / 5.0f));
      if (inside > -2.5f) {
        // The eyeball.
        const float shade = Proc::Smoothstep(0.0f, 18.0f, inside);
        Rgb eye = Proc::Mix(Proc::From_Hex(0x6a5a80), Proc::From_Hex(0xf4f0ff), shade * (1.0f - 0.35f * u * u));
        const float ir = std::sqrt(dx * dx + (dy + 3.0f) * (dy + 3.0f));
        if (ir < iris_radius + 1.5f) {
          const float t = ir / iris_radius;
          const float fibres = Proc::Saturate(0.5f + 0.8f * Proc::Fbm(phi * 9.0f, t * 3.0f, seed + 1u, 3));
          Rgb iris = Proc::Mix(Proc::From_Hex(0xffe070), Proc::From_Hex(0x30d0ff), Proc::Smoothstep(0.25f, 0.6f, t));
          iris = Proc::Mix(iris, Proc::From_Hex(0x5020c0), Proc::Smoothstep(0.6f, 1.0f, t));
          iris = iris * (0.6f + 0.7f * fibres);
          iris = iris * (1.0f - 0.7f * Proc::Smoothstep(0.85f, 1.0f, t)); // dark limbal ring
          // A slit pupil.
          const float pupil = std::sqrt((dx / 7.0f) * (dx / 7.0f) + ((dy + 3.0f) / 27.0f) * ((dy + 3.0f) / 27.0f));
          iris = Proc::Mix(iris, Proc::From_Hex(0x05000a), Proc::Smoothstep(1.08f, 0.92f, pupil));
          eye = Proc::Mix(eye, iris, Proc::Smoothstep(iris_radius + 1.5f, iris_radius - 0.5f, ir));
        }
        eye = eye * (0.55f + 0.45f * shade); // lids shadow the ball
        colour = Proc::Mix(colour, eye, Proc::Saturate((inside + 2.5f) / 2.5f));
        // Lid lines.
        const float line = std::exp(-std::pow((inside - 0.5f) / 1.4f, 2.0f));
        colour = Proc::Mix(colour, Proc::From_Hex(0x1a0830), 0.85f * line);
      }
      canvas.At(x, y) = colour;
    }
  }
  // Reflections in the eye and sparkles of the spell.
  Canvas_Add_Glow(canvas, cx - 13.0f, cy - 16.0f, 3.2f, 0.0f, Rgb{1.6f, 1.6f, 1.6f}, Rgb{});
  Canvas_Add_Glow(canvas, cx + 10.0f, cy + 8.0f, 1.6f, 0.0f, Rgb{0.9f, 0.9f, 1.0f}, Rgb{});
  for (int i = 0; i < 18; ++i) {
    const float a = rng.Unit() * Proc::Tau, d = rng.Range(70.0f, 124.0f);
    const float spike = rng.Range(3.0f, 10.0f), turn = rng.Unit(), whiteness = rng.Unit();
    Canvas_Add_Sparkle(canvas, cx + d * std::cos(a), cy + d * std::sin(a), spike, turn,
                       Proc::Mix(Proc::From_Hex(0xffffff), Proc::From_Hex(0x80e0ff), whiteness));
  }
  return Canvas_To_Picture(canvas);
}

// ---- Help_Panel --------------------------------------------------------------

struct Help_Row {
  const char* Keys;
  const char* Effect;
};

// The keyboard commands of the full-screen saver, one row per key or key group.
constexpr std::array<Help_Row, 24> Help_Rows = {{
    {"Esc", "end the saver"},
    {"Space, F1", "show or hide the help panel"},
    {"F5", "capture the picture for the wallpaper, set at exit"},
    {"Enter / Backspace", "next / previous skin with cross-fade"},
    {"Numeric +, \\, /, numeric divide", "swap tunnel style"},
    {"Insert", "reset the tunnel parameters and speed"},
    {"End / Home", "stop / resume tunnel travel"},
    {"B", "start a blob show"},
    {"U", "toggle the UFO"},
    {"P", "start a particle burst"},
    {"S / R", "toggle texture-coordinate generation (S, and the second coordinate)"},
    {"0", "reset texture stretch and shift"},
    {"D / T", "show the clock with / without the date; hide it"},
    {"F", "show or hide the frame rate"},
    {"Up / Down", "tunnel faster / slower (the first press also stops the texture drifts)"},
    {"Left / Right", "help panel texture scale down / up"},
    {"Ctrl + arrows", "move the help panel"},
    {"Shift + Left / Right", "enlarge / shrink the help panel"},
    {"Page Up / Page Down", "help panel more / less opaque"},
    {"[ / ]", "tunnel rings further apart / closer"},
    {"- / =", "texture stretch up / down"},
    {", / .", "texture shift up / down"},
    {"1 / 2, 3 / 4", "tunnel narrowing divisor in x up / down, in y up / down"},
    {"Ctrl + Shift + 1 + 4", "credits (permanent)"},
}};

constexpr const char* Help_Title = "KEYBOARD COMMANDS";
constexpr const char* Help_Subtitle = "full-screen mode";

Jpeg_Picture Splash_Help_Panel() {
  constexpr int S = 512;
  constexpr float Squeeze = 1.0f / 1.6f; // the panel is shown 1.6 times wider than high
  constexpr float Margin = 12.0f;        // pixels between the frame and the text, each side
  constexpr float Frame = 5.0f;          // pixels from the picture's edge to the frame line
  constexpr float Rows_Top = 74.0f, Rows_Bottom = 500.0f;
  const float pitch = (Rows_Bottom - Rows_Top) / static_cast<float>(Help_Rows.size());

  Picture_Canvas canvas(S, S);
  Proc::Rng rng(0x4e1bull);
  const uint32_t seed = rng.Seed();
  // Smoky dark glass, lighter at the top, with a faint scan texture.
  for (int y = 0; y < S; ++y) {
    for (int x = 0; x < S; ++x) {
      const float v = static_cast<float>(y) / S;
      const float smoke = Proc::Fbm(static_cast<float>(x) / 90.0f, static_cast<float>(y) / 140.0f, seed, 4);
      Rgb c = Proc::Mix(Proc::From_Hex(0x0c1a38), Proc::From_Hex(0x040814), v);
      c = c * (1.0f + 0.25f * smoke) + Proc::From_Hex(0x0a1830) * (0.15f * (y % 3 == 0 ? 1.0f : 0.0f));
      canvas.At(x, y) = c;
    }
  }
  // Row bands, every other row a little lighter.
  for (size_t i = 0; i < Help_Rows.size(); i += 2) {
    const int y0 = static_cast<int>(Rows_Top + pitch * static_cast<float>(i)), y1 = static_cast<int>(Rows_Top + pitch * static_cast<float>(i + 1));
    for (int y = y0; y < y1; ++y) {
      for (int x = static_cast<int>(Frame + 4.0f); x < static_cast<int>(S - Frame - 4.0f); ++x) {
        canvas.At(x, y) = canvas.At(x, y) + Proc::From_Hex(0x0c1a30) * 0.55f;
      }
    }
  }
  // The frame: a rounded rectangle line with a glow, and the rule under the title.
  Picture_Mask frame(S, S);
  const float radius = 14.0f;
  for (int y = 0; y < S; ++y) {
    for (int x = 0; x < S; ++x) {
      const float px = static_cast<float>(x) + 0.5f, py = static_cast<float>(y) + 0.5f;
      const float qx = std::max(std::fabs(px - S * 0.5f) - (S * 0.5f - Frame - radius * Squeeze), 0.0f) / Squeeze;
      const float qy = std::max(std::fabs(py - S * 0.5f) - (S * 0.5f - Frame - radius), 0.0f);
      const float d = std::fabs(std::sqrt(qx * qx + qy * qy) - radius);
      frame.At(x, y) = Proc::Saturate(1.2f - d);
      const float rule = Proc::Saturate(1.0f - std::fabs(py - 60.0f)) * Proc::Saturate(1.0f - std::fabs(px - S * 0.5f) / (S * 0.42f)) * 1.5f;
      frame.At(x, y) = std::max(frame.At(x, y), Proc::Saturate(rule));
    }
  }
  Canvas_Add(canvas, Splash_Blurred(frame, 4), Proc::From_Hex(0x1890ff), 0.9f);
  Canvas_Paint(canvas, frame, Proc::From_Hex(0x70e8ff), 0.9f);

  // Title and subtitle.
  Pictures_Font bold(Splash_Bold_Face);
  Pictures_Font regular(Splash_Face);
  Picture_Mask title(S, S), keys(S, S), effects(S, S);
  bold.Set_Size(30.0f, Squeeze);
  const Pictures_Ink_Box title_ink = bold.Ink(Help_Title);
  bold.Draw(title, Help_Title, 0.5f * S - 0.5f * (title_ink.Left + title_ink.Right), 44.0f);
  regular.Set_Size(15.0f, Squeeze);
  const float subtitle_width = regular.Advance(Help_Subtitle);
  regular.Draw(effects, Help_Subtitle, S - Frame - Margin - subtitle_width - 6.0f, 54.0f);

  // The largest text size at which every row fits across the panel.
  const float gap = 14.0f * Squeeze;
  float size = 16.0f, key_width = 0.0f;
  for (;; size -= 0.25f) {
    bold.Set_Size(size, Squeeze);
    regular.Set_Size(size, Squeeze);
    key_width = 0.0f;
    float effect_width = 0.0f;
    for (const Help_Row& row : Help_Rows) {
      key_width = std::max(key_width, bold.Advance(row.Keys));
      effect_width = std::max(effect_width, regular.Advance(row.Effect));
    }
    if (key_width + gap + effect_width <= S - 2.0f * (Frame + Margin) || size <= 9.0f) break;
  }
  const float key_x = Frame + Margin, effect_x = key_x + key_width + gap;
  for (size_t i = 0; i < Help_Rows.size(); ++i) {
    const float baseline = Rows_Top + pitch * (static_cast<float>(i) + 0.5f) + 0.36f * size;
    bold.Draw(keys, Help_Rows[i].Keys, key_x, baseline);
    regular.Draw(effects, Help_Rows[i].Effect, effect_x, baseline);
  }
  Canvas_Add(canvas, Splash_Blurred(title, 5), Proc::From_Hex(0x2080ff), 1.2f);
  Canvas_Paint(canvas, title, Proc::From_Hex(0xffffff));
  Canvas_Paint(canvas, keys, Proc::From_Hex(0x6ff0ff));
  Canvas_Paint(canvas, effects, Proc::From_Hex(0xf0f4ff));
  return Canvas_To_Picture(canvas, 0.9f);
}

Resgen_Asset Splash_Jpeg(const char* name, const Jpeg_Picture& picture, int quality) {
  return Resgen_Asset{"JPEG", name, Jpeg_Encode(picture, quality), true};
}

} // namespace

void Pictures_Splash_Register(Resgen_Registry& registry) {
  registry.push_back([] { return Splash_Jpeg("Alien_Loader", Splash_Alien_Loader(), 90); });
  registry.push_back([] { return Splash_Jpeg("Tarvik_Label", Splash_Tarvik_Label(), 94); });
  registry.push_back([] { return Splash_Jpeg("Logo_old_Tarvik", Splash_Logo_Old(), 92); });
  registry.push_back([] { return Splash_Jpeg("Flash_EYE_with_Magica", Splash_Magic_Eye(), 92); });
  registry.push_back([] { return Splash_Jpeg("Help_Panel", Splash_Help_Panel(), 95); });
  registry.push_back([] { return Resgen_Asset{"BITMAP", "LogoTarvik", Splash_Logo_Bitmap()}; });
}
