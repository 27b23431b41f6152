// The human ear: a left outer ear seen from the side, 5 units tall, the face
// of the head towards -z and the head itself behind it (+x).
#include "base_models.h"

namespace {

// The rim (helix) from its root above the ear hole round the top and down the back.
const Tube& Helix() {
  static const Tube tube = [] {
    const Vec3d points[] = {{-0.05, 0.35, -0.4}, {-0.12, 1.3, -0.95}, {-0.12, 2.2, -0.55}, {-0.12, 2.5, 0.25},
                            {-0.12, 2.0, 1.05},  {-0.12, 1.0, 1.35},  {-0.1, -0.1, 1.2},   {-0.05, -1.0, 0.9}};
    const double radii[] = {0.18, 0.25, 0.27, 0.28, 0.28, 0.27, 0.26, 0.3};
    return SmoothTube(points, radii, 6);
  }();
  return tube;
}

// The inner ridge (antihelix) and its upper and lower branches.
const Tube& Antihelix() {
  static const Tube tube = [] {
    const Vec3d points[] = {{-0.02, -0.75, 0.5}, {-0.05, 0.2, 0.78}, {-0.05, 1.0, 0.65}, {-0.04, 1.75, 0.1}};
    const double radii[] = {0.22, 0.22, 0.2, 0.16};
    return SmoothTube(points, radii, 6);
  }();
  return tube;
}

const Tube& LowerBranch() {
  static const Tube tube = [] {
    const Vec3d points[] = {{-0.05, 1.0, 0.65}, {-0.04, 1.15, -0.1}, {-0.02, 1.1, -0.55}};
    const double radii[] = {0.18, 0.15, 0.12};
    return SmoothTube(points, radii, 6);
  }();
  return tube;
}

}  // namespace

double HumanEar(Vec3d p) {
  // The cartilage sheet under the ridges.
  double d = SdEllipsoid(p, {0.18, 0.45, 0.3}, {0.22, 2.1, 1.3});
  d = SmoothUnion(d, SdTube(p, Helix()), 0.15);
  d = SmoothUnion(d, SdEllipsoid(p, {0.0, -1.55, 0.35}, {0.27, 0.75, 0.62}), 0.35);
  d = SmoothUnion(d, SdTube(p, Antihelix()), 0.2);
  d = SmoothUnion(d, SdTube(p, LowerBranch()), 0.15);
  // The bowl (concha) before the ear hole, with the flaps in front of and below it.
  d = SmoothSubtract(d, SdEllipsoid(p, {-0.25, 0.05, 0.05}, {0.55, 0.72, 0.55}), 0.2);
  d = SmoothUnion(d, SdRoundCone(p, {0.15, -0.3, -0.85}, {-0.12, -0.3, -0.58}, 0.24, 0.18), 0.25);
  d = SmoothUnion(d, SdRoundCone(p, {0.05, -0.95, 0.75}, {-0.08, -0.75, 0.25}, 0.2, 0.16), 0.2);
  // Behind: the root towards the head, cut flat.
  d = SmoothUnion(d, SdEllipsoid(p, {0.55, 0.3, 0.1}, {0.45, 1.4, 0.9}), 0.4);
  return SmoothIntersect(d, p.x - 0.9, 0.2);
}
