// Pictures_Canvas: the working surfaces of the picture families (star bursts,
// blob and UFO textures, the background plate, the splash and maker
// pictures, the help panel): a floating-point colour canvas that light is
// added to and paint is laid over, a coverage mask (text, shapes, glows) with
// a blur, and the conversion of a finished canvas to the JPEG encoder's
// 8-bit picture.
//
// Values are display brightness, 0 = black, 1 = full; additive light may go
// above 1 and is rolled off softly when the canvas is converted. Pure data
// and inline functions; each writer owns its canvases, so worker threads
// share nothing.
#pragma once

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

#include "resources/Jpeg_Writer.h"
#include "resources/Procedural.h"

struct Picture_Canvas {
  int Width = 0;
  int Height = 0;
  std::vector<Proc::Rgb> Px; // Width * Height, rows top to bottom

  Picture_Canvas() = default;
  Picture_Canvas(int width, int height)
      : Width(width), Height(height), Px(static_cast<size_t>(width) * static_cast<size_t>(height)) {}
  Proc::Rgb& At(int x, int y) { return Px[static_cast<size_t>(y) * static_cast<size_t>(Width) + static_cast<size_t>(x)]; }
  const Proc::Rgb& At(int x, int y) const {
    return Px[static_cast<size_t>(y) * static_cast<size_t>(Width) + static_cast<size_t>(x)];
  }
  bool Inside(int x, int y) const { return x >= 0 && y >= 0 && x < Width && y < Height; }
};

// One value per pixel, 0..1 (coverage, opacity or a light field).
struct Picture_Mask {
  int Width = 0;
  int Height = 0;
  std::vector<float> A; // Width * Height, rows top to bottom

  Picture_Mask() = default;
  Picture_Mask(int width, int height)
      : Width(width), Height(height), A(static_cast<size_t>(width) * static_cast<size_t>(height), 0.0f) {}
  float& At(int x, int y) { return A[static_cast<size_t>(y) * static_cast<size_t>(Width) + static_cast<size_t>(x)]; }
  float At(int x, int y) const { return A[static_cast<size_t>(y) * static_cast<size_t>(Width) + static_cast<size_t>(x)]; }
};

// Three box passes per axis approximate a Gaussian of standard deviation
// about `radius` / 1.7 pixels; edges repeat the border value.
inline void Mask_Blur(Picture_Mask& mask, int radius) {
  if (radius < 1) return;
  std::vector<float> line;
  auto pass = [&](int count, int stride, int lines, int line_stride) {
    line.resize(static_cast<size_t>(count));
    for (int l = 0; l < lines; ++l) {
      float* base = mask.A.data() + static_cast<size_t>(l) * static_cast<size_t>(line_stride);
      for (int rep = 0; rep < 3; ++rep) {
        for (int i = 0; i < count; ++i) line[static_cast<size_t>(i)] = base[static_cast<size_t>(i) * static_cast<size_t>(stride)];
        float sum = 0.0f;
        for (int k = -radius; k <= radius; ++k) sum += line[static_cast<size_t>(std::clamp(k, 0, count - 1))];
        const float norm = 1.0f / static_cast<float>(2 * radius + 1);
        for (int i = 0; i < count; ++i) {
          base[static_cast<size_t>(i) * static_cast<size_t>(stride)] = sum * norm;
          sum += line[static_cast<size_t>(std::min(i + radius + 1, count - 1))];
          sum -= line[static_cast<size_t>(std::max(i - radius, 0))];
        }
      }
    }
  };
  pass(mask.Width, 1, mask.Height, mask.Width);  // rows
  pass(mask.Height, mask.Width, mask.Width, 1);  // columns
}

// Adds light of `colour` times the mask times `gain`.
inline void Canvas_Add(Picture_Canvas& canvas, const Picture_Mask& mask, Proc::Rgb colour, float gain = 1.0f) {
  for (size_t i = 0; i < canvas.Px.size(); ++i) canvas.Px[i] = canvas.Px[i] + colour * (mask.A[i] * gain);
}

// Lays paint of `colour` over the canvas with the mask as opacity.
inline void Canvas_Paint(Picture_Canvas& canvas, const Picture_Mask& mask, Proc::Rgb colour, float opacity = 1.0f) {
  for (size_t i = 0; i < canvas.Px.size(); ++i) {
    canvas.Px[i] = Proc::Mix(canvas.Px[i], colour, Proc::Saturate(mask.A[i] * opacity));
  }
}

// A round glow: gaussian core plus an exponential halo, added around (cx, cy).
inline void Canvas_Add_Glow(Picture_Canvas& canvas, float cx, float cy, float core_sigma, float halo_radius,
                            Proc::Rgb core, Proc::Rgb halo) {
  const float reach = std::max(core_sigma * 3.5f, halo_radius * 7.0f);
  const int x0 = std::max(0, static_cast<int>(cx - reach)), x1 = std::min(canvas.Width - 1, static_cast<int>(cx + reach) + 1);
  const int y0 = std::max(0, static_cast<int>(cy - reach)), y1 = std::min(canvas.Height - 1, static_cast<int>(cy + reach) + 1);
  const float inv_core = 1.0f / (2.0f * core_sigma * core_sigma);
  for (int y = y0; y <= y1; ++y) {
    for (int x = x0; x <= x1; ++x) {
      const float dx = static_cast<float>(x) + 0.5f - cx, dy = static_cast<float>(y) + 0.5f - cy;
      const float d2 = dx * dx + dy * dy;
      const float c = std::exp(-d2 * inv_core);
      const float h = halo_radius > 0.0f ? std::exp(-std::sqrt(d2) / halo_radius) : 0.0f;
      canvas.At(x, y) = canvas.At(x, y) + core * c + halo * h;
    }
  }
}

// A small four-pointed sparkle: a dot with two thin crossed spikes of
// half-length `spike` pixels, turned by `angle` radians.
inline void Canvas_Add_Sparkle(Picture_Canvas& canvas, float cx, float cy, float spike, float angle, Proc::Rgb colour) {
  const float reach = spike + 3.0f;
  const float ca = std::cos(angle), sa = std::sin(angle);
  const int x0 = std::max(0, static_cast<int>(cx - reach)), x1 = std::min(canvas.Width - 1, static_cast<int>(cx + reach) + 1);
  const int y0 = std::max(0, static_cast<int>(cy - reach)), y1 = std::min(canvas.Height - 1, static_cast<int>(cy + reach) + 1);
  for (int y = y0; y <= y1; ++y) {
    for (int x = x0; x <= x1; ++x) {
      const float dx = static_cast<float>(x) + 0.5f - cx, dy = static_cast<float>(y) + 0.5f - cy;
      const float u = std::fabs(dx * ca + dy * sa), v = std::fabs(-dx * sa + dy * ca);
      const float dot = std::exp(-(dx * dx + dy * dy) / 2.0f);
      const float arm_u = std::exp(-v * v / 0.5f) * Proc::Saturate(1.0f - u / spike);
      const float arm_v = std::exp(-u * u / 0.5f) * Proc::Saturate(1.0f - v / spike);
      const float k = dot + 0.8f * (arm_u * arm_u + arm_v * arm_v);
      canvas.At(x, y) = canvas.At(x, y) + colour * k;
    }
  }
}

// Colour from hue (turns), saturation and value, all 0..1.
inline Proc::Rgb Picture_Hsv(float hue, float saturation, float value) {
  const float h = Proc::Fract(hue) * 6.0f;
  const int sector = static_cast<int>(h);
  const float f = h - static_cast<float>(sector);
  const float p = value * (1.0f - saturation), q = value * (1.0f - saturation * f),
              t = value * (1.0f - saturation * (1.0f - f));
  switch (sector) {
    case 0: return {value, t, p};
    case 1: return {q, value, p};
    case 2: return {p, value, t};
    case 3: return {p, q, value};
    case 4: return {t, p, value};
    default: return {value, p, q};
  }
}

// The 8-bit picture of a canvas. Light above `knee` rolls off towards 1;
// values at or below `black_floor` become exactly 0, so that pictures meant
// for additive blending leave black as black.
inline Jpeg_Picture Canvas_To_Picture(const Picture_Canvas& canvas, float knee = 0.8f, float black_floor = 0.0f) {
  Jpeg_Picture picture(canvas.Width, canvas.Height);
  const float lift = black_floor > 0.0f ? 1.0f / (1.0f - black_floor) : 1.0f;
  for (size_t i = 0; i < canvas.Px.size(); ++i) {
    const Proc::Rgb c = canvas.Px[i];
    const float channels[3] = {c.R, c.G, c.B};
    for (int k = 0; k < 3; ++k) {
      const float v = black_floor > 0.0f ? std::max(0.0f, channels[k] - black_floor) * lift : channels[k];
      picture.Rgb[i * 3 + static_cast<size_t>(k)] = Proc::To_Byte(v, knee);
    }
  }
  return picture;
}
