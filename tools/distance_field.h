// Signed distance primitives and blends for the generator's base models:
// negative inside, positive outside, in model units. The formulas follow
// Inigo Quilez's catalogue of distance functions ("Distance functions",
// iquilezles.org, 2008-2023); ellipsoids and blends give bounds rather than
// exact distances, which the mesher allows for.
#pragma once

#include <algorithm>
#include <functional>
#include <span>
#include <vector>

#include "vec3d.h"

using DistanceField = std::function<double(Vec3d)>;

// An orthonormal frame: the local axes u, v, w in model coordinates.
struct Frame {
  Vec3d u{1, 0, 0}, v{0, 1, 0}, w{0, 0, 1};
};

// The frame whose u runs along `axis` and whose v lies in the plane of `axis` and `up`.
Frame FrameAlong(Vec3d axis, Vec3d up);
// p in the coordinates of `frame` placed at `origin`.
Vec3d ToLocal(Vec3d p, Vec3d origin, const Frame& frame);

inline double SdSphere(Vec3d p, Vec3d centre, double radius) { return Length(p - centre) - radius; }
// Axis-aligned ellipsoid; the distance is approximate (exact on the axes).
inline double SdEllipsoid(Vec3d p, Vec3d centre, Vec3d radii) {
  const Vec3d q = p - centre;
  const double k0 = Length(Divided(q, radii));
  const double k1 = Length(Divided(q, Scaled(radii, radii)));
  // At the centre k1 is 0: the point lies inside by at least the smallest radius.
  if (k1 <= 0) return -std::min({radii.x, radii.y, radii.z});
  return k0 * (k0 - 1) / k1;
}
// Ellipsoid with its radii along the axes of `frame`.
double SdEllipsoid(Vec3d p, Vec3d centre, Vec3d radii, const Frame& frame);
// Capsule: the points within `radius` of the segment a b.
inline double SdCapsule(Vec3d p, Vec3d a, Vec3d b, double radius) {
  const Vec3d pa = p - a, ba = b - a;
  const double h = std::clamp(Dot(pa, ba) / Dot(ba, ba), 0.0, 1.0);
  return Length(pa - ba * h) - radius;
}
// Tapered capsule: spheres of radius ra at a and rb at b joined by their tangent cone.
double SdRoundCone(Vec3d p, Vec3d a, Vec3d b, double ra, double rb);
// Box of half extents `half` with edges rounded by `radius`, axes along `frame`.
double SdRoundBox(Vec3d p, Vec3d centre, Vec3d half, double radius, const Frame& frame = {});
// Ring of radius `major` around the axis w of `frame`, tube radius `minor`.
double SdTorus(Vec3d p, Vec3d centre, double major, double minor, const Frame& frame = {});

// A tapered tube along a polyline: round cones between consecutive points,
// blended over `blend`. points and radii have the same length (at least 2).
double SdTube(Vec3d p, std::span<const Vec3d> points, std::span<const double> radii, double blend);

// A sphere holding part of a shape: no point of it lies farther than `reach` from `centre`.
struct Bounds {
  Vec3d centre;
  double reach = 0;
};

// A densely sampled tube: points with a radius each, the sphere holding it,
// and spheres holding each run of kRun segments.
struct Tube {
  static constexpr size_t kRun = 8;
  std::vector<Vec3d> points;
  std::vector<double> radii;
  Bounds whole;
  std::vector<Bounds> runs;
};

// The Catmull-Rom spline through `points` (and the radii along it), sampled
// `steps` times per span: a tube that bends smoothly.
Tube SmoothTube(std::span<const Vec3d> points, std::span<const double> radii, int steps);
// The union of the tube's round cones (runs that cannot come nearer are
// skipped); far from the tube, the distance to its bounding sphere.
double SdTube(Vec3d p, const Tube& tube);

// Quadratic smooth minimum: the union of two shapes with a fillet of width k.
inline double SmoothUnion(double a, double b, double k) {
  if (k <= 0) return std::min(a, b);
  const double h = std::max(k - std::abs(a - b), 0.0) / k;
  return std::min(a, b) - h * h * k * 0.25;
}
// a with b carved out, the edge rounded over k.
inline double SmoothSubtract(double a, double b, double k) { return -SmoothUnion(-a, b, k); }
// The common part of a and b, the edge rounded over k.
inline double SmoothIntersect(double a, double b, double k) { return -SmoothUnion(-a, -b, k); }

// p with |z|: evaluating a shape built for z >= 0 at FoldZ(p) gives the
// shape and its mirror image across z = 0 at once.
inline Vec3d FoldZ(Vec3d p) { return {p.x, p.y, std::abs(p.z)}; }
