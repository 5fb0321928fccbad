// Movies: the "SWF" resources — the preview fallback movies ("Flash_01",
// "Flash_tunnel", "Flash_03", shown in the preview window when no GL context
// can be had) and the About animations ("Flash_02", "Flash_Star_01".."07").
// Each is an animated GIF of 320 x 240 pixels, 32 frames of 5 centiseconds,
// that loops forever.
//
// Every movie is a brightness field (0..1) per frame, mapped through the
// movie's own palette: a ramp of 128 colours from dark to bright in the GIF's
// table of 256, so the GIF needs no colour quantisation. Index 255 is the
// GIF's "unchanged" index: a pixel within one ramp step of what the frame
// before shows keeps it, which keeps each movie small at no visible cost.
// All motion is periodic in the frame number, so the last frame leads back
// into the first without a jump. Star positions come from a fixed seed.
// Pure functions; the writers run on worker threads.
#include <array>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "resources/Gif_Encoder.h"
#include "resources/Resgen_Assets.h"

namespace {

constexpr int Movie_Width = 320;         // pixels
constexpr int Movie_Height = 240;        // pixels
constexpr int Movie_Frames = 32;         // frames of one loop
constexpr int Movie_Delay = 5;           // centiseconds per frame: a loop lasts 1.6 s
constexpr double Movie_Pi = 3.14159265358979323846;
constexpr double Movie_Tau = 2.0 * Movie_Pi;

using Movie_Field = std::vector<float>; // Movie_Width * Movie_Height brightness values, 0..1

// A colour at a position of the dark-to-bright palette ramp.
struct Movie_Stop {
  double At; // 0..1
  uint8_t R, G, B;
};

// 128 steps look as smooth as 256 on these ramps and make the movies about a
// third smaller, since the coder finds longer runs of one index.
constexpr int Movie_Ramp_Top = 127;      // brightest ramp index; 128..254 are not used
constexpr uint8_t Movie_Unchanged = 255; // transparent index of frames after the first
constexpr int Movie_Keep_Tolerance = 1;  // ramp steps a pixel may be off before it is redrawn

std::array<uint8_t, 256 * 3> Movie_Palette(const std::vector<Movie_Stop>& stops) {
  std::array<uint8_t, 256 * 3> palette{};
  for (int i = 0; i <= Movie_Ramp_Top; ++i) {
    const double at = static_cast<double>(i) / Movie_Ramp_Top;
    size_t k = 0;
    while (k + 2 < stops.size() && at > stops[k + 1].At) ++k;
    const Movie_Stop& a = stops[k];
    const Movie_Stop& b = stops[k + 1];
    double f = (at - a.At) / (b.At - a.At);
    f = std::fmin(1.0, std::fmax(0.0, f));
    f = f * f * (3.0 - 2.0 * f); // smooth steps between the stops
    palette[i * 3 + 0] = static_cast<uint8_t>(std::lround(a.R + (b.R - a.R) * f));
    palette[i * 3 + 1] = static_cast<uint8_t>(std::lround(a.G + (b.G - a.G) * f));
    palette[i * 3 + 2] = static_cast<uint8_t>(std::lround(a.B + (b.B - a.B) * f));
  }
  // The unused entries and the unchanged index (never shown) repeat the
  // brightest colour.
  for (int i = Movie_Ramp_Top + 1; i < 256; ++i) {
    for (int c = 0; c < 3; ++c) palette[i * 3 + c] = palette[Movie_Ramp_Top * 3 + c];
  }
  return palette;
}

// Ramp indices of a field. The faintest glow is cut to black, so that dark
// backgrounds are one colour.
std::vector<uint8_t> Movie_Indices(const Movie_Field& field) {
  constexpr double Black_Below = 0.015;
  std::vector<uint8_t> indices(field.size());
  for (size_t i = 0; i < field.size(); ++i) {
    const double v = std::fmax(0.0, (static_cast<double>(field[i]) - Black_Below) / (1.0 - Black_Below));
    indices[i] = static_cast<uint8_t>(std::lround(std::fmin(1.0, v) * Movie_Ramp_Top));
  }
  return indices;
}

// What a later frame stores: the unchanged index where the shown pixel is
// close enough, else the new index, which `shown` then takes.
std::vector<uint8_t> Movie_Changes(const std::vector<uint8_t>& wanted, std::vector<uint8_t>& shown) {
  std::vector<uint8_t> stored(wanted.size());
  for (size_t i = 0; i < wanted.size(); ++i) {
    if (std::abs(static_cast<int>(wanted[i]) - static_cast<int>(shown[i])) <= Movie_Keep_Tolerance) {
      stored[i] = Movie_Unchanged;
    } else {
      stored[i] = wanted[i];
      shown[i] = wanted[i];
    }
  }
  return stored;
}

// Polar view of a point in movie units: the centre is (0, 0), half the
// height is 1.
struct Movie_Point {
  double U, V; // right, down
  double R;    // distance from the centre
  double A;    // angle, radians
};

Movie_Point Movie_Point_At(double u, double v) { return {u, v, std::hypot(u, v), std::atan2(v, u)}; }

// Each pixel is shaded at 2 x 2 points so fine rings and rays stay smooth.
constexpr int Movie_Samples = 2;

// The sample points of every pixel, pixel by pixel, the same for every frame
// of every movie (made once, read by all writer threads).
const std::vector<Movie_Point>& Movie_Sample_Grid() {
  static const std::vector<Movie_Point> grid = [] {
    std::vector<Movie_Point> points;
    points.reserve(static_cast<size_t>(Movie_Width) * Movie_Height * Movie_Samples * Movie_Samples);
    const double half = Movie_Height / 2.0;
    for (int y = 0; y < Movie_Height; ++y) {
      for (int x = 0; x < Movie_Width; ++x) {
        for (int sy = 0; sy < Movie_Samples; ++sy) {
          for (int sx = 0; sx < Movie_Samples; ++sx) {
            const double u = (x + (sx + 0.5) / Movie_Samples - Movie_Width / 2.0) / half;
            const double v = (y + (sy + 0.5) / Movie_Samples - Movie_Height / 2.0) / half;
            points.push_back(Movie_Point_At(u, v));
          }
        }
      }
    }
    return points;
  }();
  return grid;
}

// Fills a frame from a per-point shading function, averaging each pixel's
// sample points.
template <typename Shade>
Movie_Field Movie_Shade_Frame(Shade shade) {
  constexpr int Per_Pixel = Movie_Samples * Movie_Samples;
  const std::vector<Movie_Point>& grid = Movie_Sample_Grid();
  Movie_Field field(static_cast<size_t>(Movie_Width) * Movie_Height);
  for (size_t i = 0; i < field.size(); ++i) {
    double sum = 0.0;
    for (int s = 0; s < Per_Pixel; ++s) sum += shade(grid[i * Per_Pixel + s]);
    field[i] = static_cast<float>(sum / Per_Pixel);
  }
  return field;
}

double Movie_Clamp01(double v) { return std::fmin(1.0, std::fmax(0.0, v)); }

// Glowing plasma swirl: spiral arms winding into a hot core, stirred by a
// slow plasma.
Movie_Field Movie_Plasma_Swirl(double phase) {
  const double t = Movie_Tau * phase;
  return Movie_Shade_Frame([t](const Movie_Point& p) {
    const double arms = std::sin(3.0 * p.A + 4.2 / (p.R + 0.35) + t);
    const double stir = std::sin(p.U * 3.3 + 1.6 * std::sin(t) + std::sin(p.V * 2.1 - t)) +
                        std::sin(p.V * 3.9 - 1.4 * std::cos(t) + std::cos(p.U * 1.7 + 2.0 * t));
    const double plasma = 0.5 + 0.5 * (0.65 * arms + 0.35 * 0.5 * stir);
    const double glow = std::exp(-p.R * p.R * 0.8);
    const double core = std::exp(-p.R * p.R * 14.0) * (0.85 + 0.15 * std::cos(2.0 * t));
    return Movie_Clamp01(std::pow(plasma, 1.6) * (0.2 + 0.85 * glow) + 0.75 * core);
  });
}

// Pulsing rings: wobbling rings run outward from a beating core.
Movie_Field Movie_Pulse_Rings(double phase) {
  const double t = Movie_Tau * phase;
  return Movie_Shade_Frame([t, phase](const Movie_Point& p) {
    const double wobble = p.R * (1.0 + 0.07 * std::sin(5.0 * p.A + t) * std::fmin(1.0, p.R * 2.0));
    const double travel = wobble * 3.5 - phase * 2.0;
    const double d = travel - std::floor(travel) - 0.5;
    const double ring = std::exp(-(d * 5.5) * (d * 5.5));
    const double sparkle = 0.75 + 0.25 * std::sin(6.0 * p.A - 2.0 * t + wobble * 4.0);
    const double beat = 0.5 + 0.5 * std::cos(2.0 * t);
    const double fade = std::exp(-wobble * 0.9);
    const double core = std::exp(-p.R * p.R * (16.0 - 8.0 * beat)) * (0.7 + 0.3 * beat);
    return Movie_Clamp01(ring * sparkle * fade * (0.8 + 0.2 * beat) + core + 0.06 * fade);
  });
}

// Electric tunnel: the camera rushes down a tube of twisting plasma past
// bright rings; the far end glows.
Movie_Field Movie_Plasma_Tunnel(double phase) {
  const double t = Movie_Tau * phase;
  const double centre_u = 0.18 * std::sin(t);
  const double centre_v = 0.10 * std::sin(2.0 * t);
  return Movie_Shade_Frame([=](const Movie_Point& screen) {
    const Movie_Point p = Movie_Point_At(screen.U - centre_u, screen.V - centre_v);
    const double r = std::fmax(p.R, 0.01);
    const double depth = 0.45 / r;   // distance down the tube
    const double w = depth + phase;  // wall coordinate: one loop moves it by 1
    const double ring = std::pow(0.5 + 0.5 * std::cos(Movie_Tau * 2.0 * w), 10.0);
    const double stripes = std::sin(4.0 * p.A + Movie_Tau * 2.0 * w + 1.5 * std::sin(Movie_Tau * w));
    const double cells = std::sin(2.0 * p.A - Movie_Tau * w + 1.5 * std::sin(2.0 * p.A + Movie_Tau * 2.0 * w));
    const double plasma = 0.5 + 0.25 * (stripes + cells);
    // Twelve glowing lanes along the wall, turning one lane per loop.
    const double lanes = std::pow(0.5 + 0.5 * std::cos(12.0 * p.A + 0.8 * depth - t), 14.0);
    // Fine detail far down the tube averages out instead of flickering.
    const double detail = Movie_Clamp01(1.4 - 0.45 * depth);
    const double fog = std::exp(-depth * 0.55);
    const double wall = (0.5 * plasma + 0.65 * ring + 0.35 * lanes) * detail + 0.3 * (1.0 - detail);
    const double light = std::exp(-r * r * 90.0) * 0.9;
    return Movie_Clamp01(wall * fog + light);
  });
}

// A seeded generator of numbers in [0, 1): the same sequence on every run
// and every system.
class Movie_Random {
 public:
  explicit Movie_Random(uint64_t seed) : State_(seed) {}
  double Next() {
    uint64_t z = (State_ += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    z ^= z >> 31;
    return static_cast<double>(z >> 11) * (1.0 / 9007199254740992.0);
  }

 private:
  uint64_t State_;
};

// Adds a soft round dot (Gaussian, radius in pixels) to the field.
void Movie_Splat(Movie_Field& field, double x, double y, double radius, double brightness) {
  const int reach = static_cast<int>(std::ceil(radius * 2.5));
  const int cx = static_cast<int>(std::floor(x));
  const int cy = static_cast<int>(std::floor(y));
  const double k = 1.0 / (2.0 * radius * radius);
  for (int py = cy - reach; py <= cy + reach; ++py) {
    if (py < 0 || py >= Movie_Height) continue;
    for (int px = cx - reach; px <= cx + reach; ++px) {
      if (px < 0 || px >= Movie_Width) continue;
      const double dx = px + 0.5 - x;
      const double dy = py + 0.5 - y;
      field[static_cast<size_t>(py) * Movie_Width + px] +=
          static_cast<float>(brightness * std::exp(-(dx * dx + dy * dy) * k));
    }
  }
}

// Star field with a star-burst: stars stream out of a rotating burst of rays
// toward the viewer, drawing short trails.
Movie_Field Movie_Star_Field(double phase) {
  const double t = Movie_Tau * phase;
  Movie_Field field = Movie_Shade_Frame([=](const Movie_Point& p) {
    const double rays16 = std::pow(0.5 + 0.5 * std::cos(16.0 * (p.A - Movie_Tau / 16.0 * phase)), 30.0);
    const double rays9 = std::pow(0.5 + 0.5 * std::cos(9.0 * (p.A + Movie_Tau / 9.0 * phase)), 12.0);
    const double nebula = 0.5 + 0.5 * std::sin(p.U * 2.3 + 1.5 * std::sin(p.V * 3.1 + t));
    return 0.55 * rays16 * std::exp(-p.R * 1.7) + 0.35 * rays9 * std::exp(-p.R * 2.6) +
           std::exp(-p.R * p.R * 28.0) * (0.9 + 0.1 * std::cos(2.0 * t)) + 0.25 * std::exp(-p.R * 3.5) +
           0.07 * nebula * std::exp(-p.R * 0.8);
  });

  Movie_Random random(0x5EED0003u);
  const double half = Movie_Height / 2.0;
  constexpr int Star_Count = 420;
  for (int i = 0; i < Star_Count; ++i) {
    const double angle = random.Next() * Movie_Tau;
    const double spread = 0.05 + random.Next() * 0.95;
    const double start = random.Next();
    const double shine = 0.5 + 0.5 * random.Next();
    // Each star flies the whole depth once per loop, from z = 1 to z = 0.
    double z = start - phase;
    z -= std::floor(z);
    constexpr int Trail = 6;
    for (int s = 0; s < Trail; ++s) {
      const double zs = z + s * 0.012;
      const double depth = 0.06 + zs * 0.94;
      const double dist = spread * 0.35 / depth;
      const double x = Movie_Width / 2.0 + std::cos(angle) * dist * half;
      const double y = Movie_Height / 2.0 + std::sin(angle) * dist * half;
      const double near = std::fmax(0.0, 1.0 - zs);
      const double brightness = shine * near * near * (1.0 - s / static_cast<double>(Trail)) * 0.9;
      Movie_Splat(field, x, y, 0.55 + 1.1 * near * near, brightness);
    }
  }
  for (float& v : field) v = static_cast<float>(Movie_Clamp01(v));
  return field;
}

// One variation of the rotating star-burst.
struct Movie_Burst_Style {
  int Rays;         // rays of the front burst
  int Counter_Rays; // rays of the slower burst behind, turning the other way
  double Twist;     // how much the rays bend outward, radians per unit
  double Sharpness; // ray narrowness
};

Movie_Field Movie_Star_Burst(double phase, const Movie_Burst_Style& style) {
  const double t = Movie_Tau * phase;
  return Movie_Shade_Frame([=](const Movie_Point& p) {
    const double a1 = p.A - Movie_Tau / style.Rays * phase + style.Twist * p.R;
    const double a2 = p.A + Movie_Tau / style.Counter_Rays * phase - 0.5 * style.Twist * p.R;
    const double front = std::pow(0.5 + 0.5 * std::cos(style.Rays * a1), style.Sharpness) * std::exp(-p.R * 1.25);
    const double back =
        std::pow(0.5 + 0.5 * std::cos(style.Counter_Rays * a2), style.Sharpness * 0.5) * std::exp(-p.R * 2.1);
    const double beat = 0.5 + 0.5 * std::cos(2.0 * t);
    const double core = std::exp(-p.R * p.R * (20.0 - 6.0 * beat));
    const double halo_at = p.R - 0.62 - 0.06 * std::sin(2.0 * t);
    const double halo = std::exp(-(halo_at * 10.0) * (halo_at * 10.0)) * (0.5 + 0.5 * std::cos(front * 3.0));
    return Movie_Clamp01(0.85 * front + 0.45 * back + 0.95 * core + 0.18 * halo + 0.12 * std::exp(-p.R * 1.8));
  });
}

// Renders one loop (the frame function gets the loop phase 0..1) and encodes it.
Resgen_Asset Movie_Write(std::string name, const std::vector<Movie_Stop>& stops,
                         const std::function<Movie_Field(double)>& frame) {
  Gif_Movie movie;
  movie.Width = Movie_Width;
  movie.Height = Movie_Height;
  movie.Delay_Centiseconds = Movie_Delay;
  movie.Palette = Movie_Palette(stops);
  movie.Transparent_Index = Movie_Unchanged;
  std::vector<uint8_t> shown;
  for (int f = 0; f < Movie_Frames; ++f) {
    std::vector<uint8_t> wanted = Movie_Indices(frame(static_cast<double>(f) / Movie_Frames));
    if (f == 0) {
      shown = wanted;
      movie.Frames.push_back(std::move(wanted));
    } else {
      movie.Frames.push_back(Movie_Changes(wanted, shown));
    }
  }
  return Resgen_Asset{"SWF", std::move(name), Gif_Encode(movie), true};
}

const std::vector<Movie_Stop> Movie_Palette_Swirl = {
    {0.00, 0, 0, 0}, {0.25, 40, 6, 70}, {0.50, 150, 20, 160}, {0.75, 255, 120, 60}, {1.00, 255, 250, 210}};
const std::vector<Movie_Stop> Movie_Palette_Rings = {
    {0.00, 0, 0, 0}, {0.30, 0, 50, 60}, {0.60, 20, 200, 170}, {0.85, 170, 255, 230}, {1.00, 255, 255, 255}};
const std::vector<Movie_Stop> Movie_Palette_Stars = {
    {0.00, 0, 0, 4}, {0.25, 8, 14, 70}, {0.55, 40, 90, 220}, {0.80, 160, 200, 255}, {1.00, 255, 255, 255}};
const std::vector<Movie_Stop> Movie_Palette_Tunnel = {
    {0.00, 0, 0, 0}, {0.25, 10, 10, 90}, {0.50, 110, 30, 200}, {0.75, 255, 70, 170}, {1.00, 255, 235, 250}};

struct Movie_Burst_Variant {
  const char* Name;
  Movie_Burst_Style Style;
  std::vector<Movie_Stop> Palette;
};

const std::vector<Movie_Burst_Variant>& Movie_Burst_Variants() {
  static const std::vector<Movie_Burst_Variant> variants = {
      {"Flash_Star_01", {8, 5, 0.0, 18.0},
       {{0.0, 0, 0, 0}, {0.3, 70, 35, 0}, {0.6, 230, 150, 20}, {0.85, 255, 230, 120}, {1.0, 255, 255, 240}}},
      {"Flash_Star_02", {6, 4, 0.9, 12.0},
       {{0.0, 0, 0, 0}, {0.3, 70, 0, 10}, {0.6, 220, 20, 50}, {0.85, 255, 150, 140}, {1.0, 255, 245, 240}}},
      {"Flash_Star_03", {10, 7, -0.7, 22.0},
       {{0.0, 0, 0, 0}, {0.3, 0, 55, 20}, {0.6, 30, 200, 80}, {0.85, 180, 255, 170}, {1.0, 250, 255, 245}}},
      {"Flash_Star_04", {12, 6, 0.4, 30.0},
       {{0.0, 0, 0, 0}, {0.3, 0, 20, 80}, {0.6, 30, 110, 240}, {0.85, 150, 210, 255}, {1.0, 250, 252, 255}}},
      {"Flash_Star_05", {5, 3, 1.4, 9.0},
       {{0.0, 0, 0, 0}, {0.3, 45, 0, 70}, {0.6, 160, 50, 220}, {0.85, 230, 170, 255}, {1.0, 255, 248, 255}}},
      {"Flash_Star_06", {9, 12, -1.2, 16.0},
       {{0.0, 0, 0, 0}, {0.3, 0, 45, 60}, {0.6, 90, 200, 230}, {0.85, 210, 245, 255}, {1.0, 255, 255, 255}}},
      {"Flash_Star_07", {7, 11, 0.6, 14.0},
       {{0.0, 0, 0, 0}, {0.3, 80, 10, 30}, {0.6, 240, 80, 30}, {0.85, 255, 200, 90}, {1.0, 255, 250, 220}}},
  };
  return variants;
}

} // namespace

void Movies_Register(Resgen_Registry& registry) {
  registry.push_back([] { return Movie_Write("Flash_01", Movie_Palette_Swirl, Movie_Plasma_Swirl); });
  registry.push_back([] { return Movie_Write("Flash_02", Movie_Palette_Rings, Movie_Pulse_Rings); });
  registry.push_back([] { return Movie_Write("Flash_03", Movie_Palette_Stars, Movie_Star_Field); });
  registry.push_back([] { return Movie_Write("Flash_tunnel", Movie_Palette_Tunnel, Movie_Plasma_Tunnel); });
  for (size_t i = 0; i < Movie_Burst_Variants().size(); ++i) {
    registry.push_back([i] {
      const Movie_Burst_Variant& variant = Movie_Burst_Variants()[i];
      return Movie_Write(variant.Name, variant.Palette,
                         [&variant](double phase) { return Movie_Star_Burst(phase, variant.Style); });
    });
  }
}
