#include "distance_field.h"

#include <algorithm>
#include <cmath>

Frame FrameAlong(Vec3d axis, Vec3d up) {
  Frame f;
  f.u = Normalized(axis);
  f.w = Normalized(Cross(f.u, up));
  f.v = Cross(f.w, f.u);
  return f;
}

Vec3d ToLocal(Vec3d p, Vec3d origin, const Frame& frame) {
  const Vec3d d = p - origin;
  return {Dot(d, frame.u), Dot(d, frame.v), Dot(d, frame.w)};
}

double SdEllipsoid(Vec3d p, Vec3d centre, Vec3d radii, const Frame& frame) {
  return SdEllipsoid(ToLocal(p, centre, frame), {}, radii);
}

double SdRoundCone(Vec3d p, Vec3d a, Vec3d b, double ra, double rb) {
  if (ra == rb) return SdCapsule(p, a, b, ra);
  const Vec3d ba = b - a;
  const double l2 = Dot(ba, ba);
  const double rr = ra - rb;
  const double a2 = l2 - rr * rr;
  // One sphere holds the other: the cone degenerates to the larger sphere.
  if (a2 <= 0) return std::min(SdSphere(p, a, ra), SdSphere(p, b, rb));
  const double il2 = 1.0 / l2;
  const Vec3d pa = p - a;
  const double y = Dot(pa, ba);
  const double z = y - l2;
  const Vec3d side = pa * l2 - ba * y;
  const double x2 = Dot(side, side);
  const double y2 = y * y * l2;
  const double z2 = z * z * l2;
  const double k = (rr > 0 ? 1 : rr < 0 ? -1 : 0) * rr * rr * x2;
  if ((z > 0 ? 1 : z < 0 ? -1 : 0) * a2 * z2 > k) return std::sqrt(x2 + z2) * il2 - rb;
  if ((y > 0 ? 1 : y < 0 ? -1 : 0) * a2 * y2 < k) return std::sqrt(x2 + y2) * il2 - ra;
  return (std::sqrt(x2 * a2 * il2) + y * rr) * il2 - ra;
}

double SdRoundBox(Vec3d p, Vec3d centre, Vec3d half, double radius, const Frame& frame) {
  const Vec3d l = ToLocal(p, centre, frame);
  const Vec3d q{std::abs(l.x) - half.x + radius, std::abs(l.y) - half.y + radius, std::abs(l.z) - half.z + radius};
  const Vec3d outside{std::max(q.x, 0.0), std::max(q.y, 0.0), std::max(q.z, 0.0)};
  return Length(outside) + std::min(std::max({q.x, q.y, q.z}), 0.0) - radius;
}

double SdTorus(Vec3d p, Vec3d centre, double major, double minor, const Frame& frame) {
  const Vec3d l = ToLocal(p, centre, frame);
  return std::hypot(std::hypot(l.x, l.y) - major, l.z) - minor;
}

double SdTube(Vec3d p, std::span<const Vec3d> points, std::span<const double> radii, double blend) {
  double d = SdRoundCone(p, points[0], points[1], radii[0], radii[1]);
  for (size_t i = 1; i + 1 < points.size(); ++i) {
    d = SmoothUnion(d, SdRoundCone(p, points[i], points[i + 1], radii[i], radii[i + 1]), blend);
  }
  return d;
}

namespace {

// The sphere around the box of points [first, end) grown by their largest radius.
Bounds BoundsOf(const Tube& tube, size_t first, size_t end) {
  Vec3d low = tube.points[first], high = low;
  double radius = 0;
  for (size_t i = first; i < end; ++i) {
    const Vec3d& q = tube.points[i];
    low = {std::min(low.x, q.x), std::min(low.y, q.y), std::min(low.z, q.z)};
    high = {std::max(high.x, q.x), std::max(high.y, q.y), std::max(high.z, q.z)};
    radius = std::max(radius, tube.radii[i]);
  }
  return {(low + high) * 0.5, Length(high - low) * 0.5 + radius};
}

}  // namespace

Tube SmoothTube(std::span<const Vec3d> points, std::span<const double> radii, int steps) {
  Tube tube;
  const size_t n = points.size();
  // Uniform Catmull-Rom, the end points repeated as their own neighbours.
  auto spline = [](auto p0, auto p1, auto p2, auto p3, double t) {
    const double t2 = t * t, t3 = t2 * t;
    return (p1 * 2 + (p2 - p0) * t + (p0 * 2 - p1 * 5 + p2 * 4 - p3) * t2 + (p1 * 3 - p0 - p2 * 3 + p3) * t3) * 0.5;
  };
  for (size_t i = 0; i + 1 < n; ++i) {
    const size_t i0 = i > 0 ? i - 1 : 0, i3 = std::min(i + 2, n - 1);
    for (int s = 0; s < steps; ++s) {
      const double t = double(s) / steps;
      tube.points.push_back(spline(points[i0], points[i], points[i + 1], points[i3], t));
      tube.radii.push_back(spline(radii[i0], radii[i], radii[i + 1], radii[i3], t));
    }
  }
  tube.points.push_back(points[n - 1]);
  tube.radii.push_back(radii[n - 1]);
  tube.whole = BoundsOf(tube, 0, tube.points.size());
  for (size_t first = 0; first + 1 < tube.points.size(); first += Tube::kRun) {
    tube.runs.push_back(BoundsOf(tube, first, std::min(first + Tube::kRun + 1, tube.points.size())));
  }
  return tube;
}

double SdTube(Vec3d p, const Tube& tube) {
  // Beyond this margin the bounding sphere stands in for the tube: no blend
  // reaches that far, so the surface cannot tell the two apart.
  constexpr double kMargin = 1.5;
  const double bound = Length(p - tube.whole.centre) - tube.whole.reach;
  if (bound > kMargin) return bound;
  auto runDistance = [&](size_t r) {
    const size_t first = r * Tube::kRun, end = std::min(first + Tube::kRun, tube.points.size() - 1);
    double d = 1e30;
    for (size_t i = first; i < end; ++i) {
      d = std::min(d, SdRoundCone(p, tube.points[i], tube.points[i + 1], tube.radii[i], tube.radii[i + 1]));
    }
    return d;
  };
  // The run whose sphere is nearest first: the others can then mostly be skipped.
  size_t nearest = 0;
  double nearestBound = 1e30;
  for (size_t r = 0; r < tube.runs.size(); ++r) {
    const double runBound = Length(p - tube.runs[r].centre) - tube.runs[r].reach;
    if (runBound < nearestBound) {
      nearestBound = runBound;
      nearest = r;
    }
  }
  double d = runDistance(nearest);
  for (size_t r = 0; r < tube.runs.size(); ++r) {
    if (r != nearest && Length(p - tube.runs[r].centre) - tube.runs[r].reach < d) d = std::min(d, runDistance(r));
  }
  return d;
}
