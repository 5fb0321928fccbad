// Procedural: the generator's shared toolbox for painting pictures from
// numbers alone — integer hashes, a seeded random sequence, value and
// gradient noise, fractal sums, cellular (Worley) noise, a sine table and
// colour ramps. Shared by every picture family of the generator (tunnel
// skins, star bursts, blobs, UFOs, splash pictures): use it instead of
// writing another noise.
//
// Everything is a pure function of its arguments (seeds are arguments), so a
// picture comes out the same on every run and on any worker thread. Noise
// inputs are in lattice units: one unit is one noise cell. Values are floats;
// results are within the ranges stated at each function.
#pragma once

#include <array>
#include <cmath>
#include <cstdint>
#include <vector>

namespace Proc {

constexpr float Pi = 3.14159265358979323846f;
constexpr float Tau = 2.0f * Pi;

// ---- scalar helpers ---------------------------------------------------------

inline int Floor_Int(float x) {
  const int i = static_cast<int>(x);
  return i - (x < static_cast<float>(i) ? 1 : 0);
}
inline float Fract(float x) { return x - static_cast<float>(Floor_Int(x)); }
inline float Clamp(float x, float lo, float hi) { return x < lo ? lo : (x > hi ? hi : x); }
inline float Saturate(float x) { return Clamp(x, 0.0f, 1.0f); }
inline float Mix(float a, float b, float t) { return a + (b - a) * t; }
inline float Smoothstep(float e0, float e1, float x) {
  const float t = Saturate((x - e0) / (e1 - e0));
  return t * t * (3.0f - 2.0f * t);
}
// Triangle wave of period 1, 0 at integers, 1 at halves.
inline float Triangle(float x) { return 1.0f - std::fabs(2.0f * Fract(x) - 1.0f); }

// ---- hashing and random numbers ---------------------------------------------

// A well-mixed 32-bit hash (bias-reduced multiply-xorshift).
inline uint32_t Hash(uint32_t x) {
  x ^= x >> 16;
  x *= 0x7feb352dU;
  x ^= x >> 15;
  x *= 0x846ca68bU;
  x ^= x >> 16;
  return x;
}
inline uint32_t Hash(int32_t x, int32_t y, uint32_t seed) {
  return Hash(static_cast<uint32_t>(x) * 0x8da6b343U ^ static_cast<uint32_t>(y) * 0xd8163841U ^ (seed * 0x9e3779b9U + 0x7f4a7c15U));
}
// A lighter lattice hash for noise corners (seed already mixed by Hash): one
// multiply; its top bits are well mixed, which is all a gradient or value
// lookup needs.
inline uint32_t Hash_Corner(int32_t x, int32_t y, uint32_t mixed_seed) {
  uint32_t h = static_cast<uint32_t>(x) * 0x8da6b343U ^ static_cast<uint32_t>(y) * 0xd8163841U ^ mixed_seed;
  h ^= h >> 15;
  h *= 0x2c1b3c6dU;
  h ^= h >> 12;
  return h;
}
// 0..1 from a hash.
inline float Hash_Unit(uint32_t h) { return static_cast<float>(h >> 8) * (1.0f / 16777216.0f); }

// Seeded random sequence (SplitMix64): the only random source of a painter.
struct Rng {
  uint64_t State;
  explicit Rng(uint64_t seed) : State(seed * 0x9e3779b97f4a7c15ULL + 0x632be59bd9b4e019ULL) {}
  uint64_t Next() {
    uint64_t z = (State += 0x9e3779b97f4a7c15ULL);
    z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9ULL;
    z = (z ^ (z >> 27)) * 0x94d049bb133111ebULL;
    return z ^ (z >> 31);
  }
  float Unit() { return static_cast<float>(Next() >> 40) * (1.0f / 16777216.0f); }       // 0..1
  float Range(float lo, float hi) { return lo + (hi - lo) * Unit(); }                       // lo..hi
  int Below(int n) { return n <= 0 ? 0 : static_cast<int>((Next() >> 33) % static_cast<uint64_t>(n)); } // 0..n-1
  uint32_t Seed() { return static_cast<uint32_t>(Next() >> 32); }
};

// ---- sine table -------------------------------------------------------------

// Sine and cosine by table with linear interpolation; the argument is in
// turns (1 = a full period). Error below 2e-5, several times faster than
// std::sin in a pixel loop.
class Sin_Table {
 public:
  static constexpr int Size = 4096;
  static const Sin_Table& Get() {
    static const Sin_Table table; // built once, read-only afterwards
    return table;
  }
  float Sin_Turns(float turns) const {
    const float p = turns * static_cast<float>(Size);
    const int i = Floor_Int(p);
    const float f = p - static_cast<float>(i);
    const int a = i & (Size - 1);
    return Values_[static_cast<size_t>(a)] + (Values_[static_cast<size_t>(a) + 1] - Values_[static_cast<size_t>(a)]) * f;
  }
  float Cos_Turns(float turns) const { return Sin_Turns(turns + 0.25f); }

 private:
  Sin_Table() {
    for (int i = 0; i <= Size; ++i) {
      Values_[static_cast<size_t>(i)] = static_cast<float>(std::sin(2.0 * 3.14159265358979323846 * i / Size));
    }
  }
  std::array<float, Size + 1> Values_{};
};
inline float Sin_Turns(float turns) { return Sin_Table::Get().Sin_Turns(turns); }
inline float Cos_Turns(float turns) { return Sin_Table::Get().Cos_Turns(turns); }
// atan2 by a polynomial (error below 0.0002 radians); -pi..pi.
inline float Fast_Atan2(float y, float x) {
  const float ax = std::fabs(x), ay = std::fabs(y);
  const float mx = ax > ay ? ax : ay;
  if (mx == 0.0f) return 0.0f;
  const float a = (ax < ay ? ax : ay) / mx;
  const float s = a * a;
  float r = ((-0.0464964749f * s + 0.15931422f) * s - 0.327622764f) * s * a + a;
  if (ay > ax) r = 1.57079637f - r;
  if (x < 0.0f) r = 3.14159274f - r;
  if (y < 0.0f) r = -r;
  return r;
}
// Radian forms of the same table.
inline float Fast_Sin(float radians) { return Sin_Turns(radians * (1.0f / Tau)); }
inline float Fast_Cos(float radians) { return Cos_Turns(radians * (1.0f / Tau)); }

// ---- noise ------------------------------------------------------------------

inline float Fade(float t) { return t * t * t * (t * (t * 6.0f - 15.0f) + 10.0f); }

// Value noise: smooth interpolation of random lattice values; 0..1.
inline float Value_Noise(float x, float y, uint32_t seed) {
  const int xi = Floor_Int(x), yi = Floor_Int(y);
  const float fx = Fade(x - static_cast<float>(xi)), fy = Fade(y - static_cast<float>(yi));
  const uint32_t s = Hash(seed);
  const float a = Hash_Unit(Hash_Corner(xi, yi, s)), b = Hash_Unit(Hash_Corner(xi + 1, yi, s));
  const float c = Hash_Unit(Hash_Corner(xi, yi + 1, s)), d = Hash_Unit(Hash_Corner(xi + 1, yi + 1, s));
  return Mix(Mix(a, b, fx), Mix(c, d, fx), fy);
}

// Gradient (Perlin-style) noise with 16 lattice directions; about -1..1,
// 0 at every lattice point.
inline float Gradient_Dot(uint32_t h, float dx, float dy) {
  // 16 unit directions at 22.5 degree steps.
  static constexpr std::array<float, 32> Dirs = {
      1.0f,        0.0f,        0.9238795f,  0.3826834f,  0.7071068f,  0.7071068f,  0.3826834f,  0.9238795f,
      0.0f,        1.0f,        -0.3826834f, 0.9238795f,  -0.7071068f, 0.7071068f,  -0.9238795f, 0.3826834f,
      -1.0f,       0.0f,        -0.9238795f, -0.3826834f, -0.7071068f, -0.7071068f, -0.3826834f, -0.9238795f,
      0.0f,        -1.0f,       0.3826834f,  -0.9238795f, 0.7071068f,  -0.7071068f, 0.9238795f,  -0.3826834f};
  const size_t k = static_cast<size_t>(h >> 28) * 2u;
  return Dirs[k] * dx + Dirs[k + 1] * dy;
}
inline float Gradient_Noise(float x, float y, uint32_t seed) {
  const int xi = Floor_Int(x), yi = Floor_Int(y);
  const float dx = x - static_cast<float>(xi), dy = y - static_cast<float>(yi);
  const uint32_t s = Hash(seed);
  const float a = Gradient_Dot(Hash_Corner(xi, yi, s), dx, dy);
  const float b = Gradient_Dot(Hash_Corner(xi + 1, yi, s), dx - 1.0f, dy);
  const float c = Gradient_Dot(Hash_Corner(xi, yi + 1, s), dx, dy - 1.0f);
  const float d = Gradient_Dot(Hash_Corner(xi + 1, yi + 1, s), dx - 1.0f, dy - 1.0f);
  const float u = Fade(dx), v = Fade(dy);
  return 1.41421356f * Mix(Mix(a, b, u), Mix(c, d, u), v);
}

// Gradient noise that repeats every `period` lattice units in x and y
// (period >= 1), for pictures that must tile on their own.
inline float Gradient_Noise_Periodic(float x, float y, int period, uint32_t seed) {
  const int xi = Floor_Int(x), yi = Floor_Int(y);
  const float dx = x - static_cast<float>(xi), dy = y - static_cast<float>(yi);
  auto wrap = [period](int i) { return ((i % period) + period) % period; };
  const int x0 = wrap(xi), x1 = wrap(xi + 1), y0 = wrap(yi), y1 = wrap(yi + 1);
  const float a = Gradient_Dot(Hash(x0, y0, seed), dx, dy);
  const float b = Gradient_Dot(Hash(x1, y0, seed), dx - 1.0f, dy);
  const float c = Gradient_Dot(Hash(x0, y1, seed), dx, dy - 1.0f);
  const float d = Gradient_Dot(Hash(x1, y1, seed), dx - 1.0f, dy - 1.0f);
  const float u = Fade(dx), v = Fade(dy);
  return 1.41421356f * Mix(Mix(a, b, u), Mix(c, d, u), v);
}

// Periodic fractal sum: x, y in 0..1 repeat with period 1; the first octave
// has `cells` lattice cells across, each further octave twice as many.
inline float Fbm_Periodic(float x, float y, int cells, uint32_t seed, int octaves, float gain = 0.5f) {
  float sum = 0.0f, amplitude = 1.0f, norm = 0.0f;
  int n = cells;
  for (int o = 0; o < octaves; ++o) {
    sum += amplitude * Gradient_Noise_Periodic(x * static_cast<float>(n), y * static_cast<float>(n), n,
                                               seed + static_cast<uint32_t>(o) * 1013u);
    norm += amplitude;
    amplitude *= gain;
    n *= 2;
  }
  return sum / norm;
}

// Fractal sum of gradient noise: `octaves` layers, each `lacunarity` times
// finer and `gain` times weaker, each turned a little against the one before
// so the lattice does not show. About -1..1.
inline float Fbm(float x, float y, uint32_t seed, int octaves, float lacunarity = 2.0f, float gain = 0.5f) {
  float sum = 0.0f, amplitude = 1.0f, norm = 0.0f;
  for (int o = 0; o < octaves; ++o) {
    sum += amplitude * Gradient_Noise(x, y, seed + static_cast<uint32_t>(o) * 1013u);
    norm += amplitude;
    // rotate by about 37 degrees and scale
    const float nx = (0.7986f * x - 0.6018f * y) * lacunarity + 5.31f;
    const float ny = (0.6018f * x + 0.7986f * y) * lacunarity + 1.77f;
    x = nx;
    y = ny;
    amplitude *= gain;
  }
  return sum / norm;
}

// Ridged fractal sum: sharp bright crests where the noise crosses zero; 0..1.
inline float Ridged(float x, float y, uint32_t seed, int octaves, float lacunarity = 2.0f, float gain = 0.5f) {
  float sum = 0.0f, amplitude = 1.0f, norm = 0.0f, weight = 1.0f;
  for (int o = 0; o < octaves; ++o) {
    float n = 1.0f - std::fabs(Gradient_Noise(x, y, seed + static_cast<uint32_t>(o) * 7919u));
    n *= n;
    n *= weight;
    weight = Saturate(n * 1.5f);
    sum += amplitude * n;
    norm += amplitude;
    const float nx = (0.7986f * x - 0.6018f * y) * lacunarity + 3.17f;
    const float ny = (0.6018f * x + 0.7986f * y) * lacunarity + 8.41f;
    x = nx;
    y = ny;
    amplitude *= gain;
  }
  return sum / norm;
}

// Cellular (Worley) noise with one jittered feature point per cell.
struct Cell_Sample {
  float F1 = 0.0f;      // distance to the nearest point, lattice units
  float F2 = 0.0f;      // distance to the second nearest point
  uint32_t Id = 0;      // hash of the nearest point's cell
  float Dx = 0.0f;      // offset from the nearest point to the sample
  float Dy = 0.0f;
};
// jitter 0..1: 0 gives a square grid, 1 fully random points.
inline Cell_Sample Cellular(float x, float y, uint32_t seed, float jitter = 1.0f) {
  const int xi = Floor_Int(x), yi = Floor_Int(y);
  const uint32_t mixed = Hash(seed);
  Cell_Sample s;
  float d1 = 1e9f, d2 = 1e9f;
  for (int j = -1; j <= 1; ++j) {
    for (int i = -1; i <= 1; ++i) {
      const uint32_t h = Hash(Hash_Corner(xi + i, yi + j, mixed));
      // the point's offsets from the low and high halves of the cell's hash
      const float px = static_cast<float>(xi + i) + 0.5f + jitter * (static_cast<float>(h & 0xffffu) * (1.0f / 65536.0f) - 0.5f);
      const float py = static_cast<float>(yi + j) + 0.5f + jitter * (static_cast<float>(h >> 16) * (1.0f / 65536.0f) - 0.5f);
      const float dx = x - px, dy = y - py;
      const float d = dx * dx + dy * dy;
      if (d < d1) {
        d2 = d1;
        d1 = d;
        s.Id = h;
        s.Dx = dx;
        s.Dy = dy;
      } else if (d < d2) {
        d2 = d;
      }
    }
  }
  s.F1 = std::sqrt(d1);
  s.F2 = std::sqrt(d2);
  return s;
}

// ---- colour -----------------------------------------------------------------

struct Rgb {
  float R = 0.0f, G = 0.0f, B = 0.0f; // linear-ish display values, 0..1 (may exceed 1 before tone mapping)
};
inline Rgb operator+(Rgb a, Rgb b) { return {a.R + b.R, a.G + b.G, a.B + b.B}; }
inline Rgb operator*(Rgb a, float k) { return {a.R * k, a.G * k, a.B * k}; }
inline Rgb operator*(Rgb a, Rgb b) { return {a.R * b.R, a.G * b.G, a.B * b.B}; }
inline Rgb Mix(Rgb a, Rgb b, float t) { return {Mix(a.R, b.R, t), Mix(a.G, b.G, t), Mix(a.B, b.B, t)}; }
inline Rgb From_Hex(uint32_t hex) {
  return {static_cast<float>((hex >> 16) & 255u) / 255.0f, static_cast<float>((hex >> 8) & 255u) / 255.0f,
          static_cast<float>(hex & 255u) / 255.0f};
}

// A colour ramp sampled at Size points from stops (position 0..1, colour),
// read by position with linear interpolation. `Wrap` ramps repeat (for
// banded, cycling colourings), others clamp at their ends.
class Ramp {
 public:
  static constexpr int Size = 1024;
  struct Stop {
    float At;
    Rgb Colour;
  };
  Ramp() = default;
  explicit Ramp(const std::vector<Stop>& stops, bool wrap = false) : Wrap_(wrap) {
    for (int i = 0; i < Size; ++i) {
      const float at = static_cast<float>(i) / static_cast<float>(wrap ? Size : Size - 1);
      size_t k = 0;
      while (k + 2 < stops.size() && at > stops[k + 1].At) ++k;
      const Stop& a = stops[k];
      const Stop& b = stops.size() > 1 ? stops[k + 1] : stops[k];
      const float span = b.At - a.At;
      float t = span > 0.0f ? Saturate((at - a.At) / span) : 0.0f;
      t = t * t * (3.0f - 2.0f * t);
      Table_[static_cast<size_t>(i)] = Mix(a.Colour, b.Colour, t);
    }
  }
  Rgb At(float t) const {
    float p;
    if (Wrap_) {
      p = Fract(t) * static_cast<float>(Size);
    } else {
      p = Saturate(t) * static_cast<float>(Size - 1);
    }
    const int i = Floor_Int(p);
    const float f = p - static_cast<float>(i);
    const int a = Wrap_ ? (i & (Size - 1)) : (i < Size - 1 ? i : Size - 1);
    const int b = Wrap_ ? ((i + 1) & (Size - 1)) : (a + 1 < Size ? a + 1 : Size - 1);
    return Mix(Table_[static_cast<size_t>(a)], Table_[static_cast<size_t>(b)], f);
  }

 private:
  bool Wrap_ = false;
  std::array<Rgb, Size> Table_{};
};

// A cosine ramp a + b * cos(2 pi (c t + d)) per channel, sampled into a
// wrapping Ramp (smooth cycling rainbows and duotones).
inline Ramp Cosine_Ramp(Rgb a, Rgb b, Rgb c, Rgb d) {
  std::vector<Ramp::Stop> stops;
  constexpr int Steps = 64;
  for (int i = 0; i <= Steps; ++i) {
    const float t = static_cast<float>(i) / Steps;
    stops.push_back({t, {a.R + b.R * static_cast<float>(std::cos(6.283185307 * (c.R * t + d.R))),
                         a.G + b.G * static_cast<float>(std::cos(6.283185307 * (c.G * t + d.G))),
                         a.B + b.B * static_cast<float>(std::cos(6.283185307 * (c.B * t + d.B)))}});
  }
  return Ramp(stops, true);
}

// Soft tone mapping of a channel to 0..1: values up to `knee` stay as they
// are, brighter ones approach 1 smoothly instead of clipping flat.
inline float Tone(float v, float knee = 0.8f) {
  if (v < 0.0f) return 0.0f;
  if (v > knee) v = knee + (1.0f - knee) * (1.0f - std::exp(-(v - knee) / (1.0f - knee)));
  return v;
}
inline uint8_t To_Byte(float v, float knee = 0.8f) { return static_cast<uint8_t>(Tone(v, knee) * 255.0f + 0.5f); }

} // namespace Proc
