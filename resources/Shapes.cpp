// Shapes: the "TXT_DATA" resources "txt_001" and "txt_002", the two point
// shapes the morphing sprite cloud flows between (a third shape repeats the
// first, a fourth is a random cloud of 901 points in -7..7).
//
// File format, as the cloud's loader reads it: lines starting with "/" are
// comments; the first other line is the point count; then x y z of every
// point, one point per line, as decimal reals.
//
//   txt_001: a trefoil knot drawn as a tube: 120 rings of 6 points, 720.
//   txt_002: a ringed planet: 541 points spread evenly over a sphere and
//            three tilted rings of 120 points, 901 (the loader's limit, and
//            at least as many as the first shape, as every loop runs over
//            the first shape's count).
//
// The cloud scales its points by 7 inside the object frame and colours each
// sprite by its position (x, y, z as red, green, blue, clamped to 0..1), so
// the shapes keep within about -1.8..1.8: a compact bright object against
// the spread random cloud, with colour changing across it.
#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "resources/Resgen_Assets.h"

namespace {

constexpr double Shapes_Pi = 3.14159265358979323846;

struct Shapes_Point {
  double X, Y, Z;
};

Shapes_Point operator+(Shapes_Point a, Shapes_Point b) { return {a.X + b.X, a.Y + b.Y, a.Z + b.Z}; }
Shapes_Point operator-(Shapes_Point a, Shapes_Point b) { return {a.X - b.X, a.Y - b.Y, a.Z - b.Z}; }
Shapes_Point operator*(Shapes_Point a, double k) { return {a.X * k, a.Y * k, a.Z * k}; }
Shapes_Point Shapes_Cross(Shapes_Point a, Shapes_Point b) {
  return {a.Y * b.Z - a.Z * b.Y, a.Z * b.X - a.X * b.Z, a.X * b.Y - a.Y * b.X};
}
Shapes_Point Shapes_Unit(Shapes_Point a) {
  const double length = std::sqrt(a.X * a.X + a.Y * a.Y + a.Z * a.Z);
  return length > 0.0 ? a * (1.0 / length) : Shapes_Point{1.0, 0.0, 0.0};
}

std::vector<uint8_t> Shapes_Text(const std::vector<std::string>& comments, const std::vector<Shapes_Point>& points) {
  std::string text;
  for (const std::string& line : comments) text += "// " + line + "\n";
  text += std::to_string(points.size()) + "\n";
  char line[96];
  for (const Shapes_Point& p : points) {
    std::snprintf(line, sizeof line, "%.5f %.5f %.5f\n", p.X, p.Y, p.Z);
    text += line;
  }
  return std::vector<uint8_t>(text.begin(), text.end());
}

// Trefoil knot (x, y, z) = (sin t + 2 sin 2t, cos t - 2 cos 2t, -sin 3t),
// scaled by 0.5, with a tube of radius 0.16 around it.
std::vector<Shapes_Point> Shapes_Trefoil() {
  constexpr int Rings = 120;
  constexpr int Around = 6;
  constexpr double Scale = 0.5;
  constexpr double Tube = 0.16;
  auto curve = [](double t) {
    return Shapes_Point{std::sin(t) + 2.0 * std::sin(2.0 * t), std::cos(t) - 2.0 * std::cos(2.0 * t), -std::sin(3.0 * t)} *
           Scale;
  };
  std::vector<Shapes_Point> points;
  for (int i = 0; i < Rings; ++i) {
    const double t = 2.0 * Shapes_Pi * i / Rings;
    const double h = 1e-4;
    const Shapes_Point centre = curve(t);
    const Shapes_Point tangent = Shapes_Unit(curve(t + h) - curve(t - h));
    const Shapes_Point bend = curve(t + h) + curve(t - h) - centre * 2.0; // towards the curve's centre of turning
    const Shapes_Point normal = Shapes_Unit(Shapes_Cross(Shapes_Cross(tangent, bend), tangent));
    const Shapes_Point binormal = Shapes_Cross(tangent, normal);
    for (int j = 0; j < Around; ++j) {
      // Successive rings are turned by half a step so the tube reads as a braid.
      const double a = 2.0 * Shapes_Pi * (j + 0.5 * (i % 2)) / Around;
      points.push_back(centre + normal * (Tube * std::cos(a)) + binormal * (Tube * std::sin(a)));
    }
  }
  return points;
}

// A sphere of radius 0.95 (points on a golden-angle spiral) with three rings
// at radii 1.35, 1.55 and 1.75 in a plane tilted by 25 degrees about x.
std::vector<Shapes_Point> Shapes_Ringed_Planet() {
  constexpr int Sphere_Points = 541;
  constexpr int Ring_Points = 120;
  const double golden = Shapes_Pi * (3.0 - std::sqrt(5.0));
  std::vector<Shapes_Point> points;
  for (int i = 0; i < Sphere_Points; ++i) {
    const double y = 1.0 - 2.0 * (i + 0.5) / Sphere_Points;
    const double r = std::sqrt(1.0 - y * y);
    const double a = golden * i;
    points.push_back(Shapes_Point{r * std::cos(a), y, r * std::sin(a)} * 0.95);
  }
  const double tilt = 25.0 * Shapes_Pi / 180.0;
  const double radii[3] = {1.35, 1.55, 1.75};
  for (int ring = 0; ring < 3; ++ring) {
    for (int i = 0; i < Ring_Points; ++i) {
      const double a = 2.0 * Shapes_Pi * (i + 0.33 * ring) / Ring_Points;
      const double x = radii[ring] * std::cos(a), z = radii[ring] * std::sin(a);
      points.push_back({x, -z * std::sin(tilt), z * std::cos(tilt)});
    }
  }
  return points;
}

} // namespace

void Shapes_Register(Resgen_Registry& registry) {
  registry.push_back([] {
    return Resgen_Asset{"TXT_DATA", "txt_001",
                        Shapes_Text({"Morph shape 1: trefoil knot, a tube of 120 rings of 6 points.", "x y z per point."},
                                    Shapes_Trefoil())};
  });
  registry.push_back([] {
    return Resgen_Asset{"TXT_DATA", "txt_002",
                        Shapes_Text({"Morph shape 2: ringed planet, a sphere of 541 points and three rings of 120.",
                                     "x y z per point."},
                                    Shapes_Ringed_Planet())};
  });
}
