// The T-rex body: a standing theropod 13 units from snout to tail, the head
// towards -x, balanced over its legs.
#include "base_models.h"

namespace {

const Tube& Tail() {
  static const Tube tube = [] {
    const Vec3d points[] = {{1.8, 0.7, 0}, {3.2, 0.95, 0}, {4.8, 0.95, 0}, {6.4, 0.65, 0}, {7.6, 0.35, 0}, {8.3, 0.2, 0}};
    const double radii[] = {1.05, 0.8, 0.55, 0.32, 0.15, 0.06};
    return SmoothTube(points, radii, 6);
  }();
  return tube;
}

const Tube& Neck() {
  static const Tube tube = [] {
    const Vec3d points[] = {{-0.8, 1.0, 0}, {-1.7, 1.5, 0}, {-2.2, 2.1, 0}, {-2.6, 2.4, 0}};
    const double radii[] = {1.0, 0.8, 0.7, 0.62};
    return SmoothTube(points, radii, 6);
  }();
  return tube;
}

double Head(Vec3d p) {
  double d = SdEllipsoid(p, {-3.15, 2.5, 0}, {1.1, 0.8, 0.72});
  d = SmoothUnion(d, SdRoundCone(p, {-3.1, 2.45, 0}, {-4.7, 2.2, 0}, 0.66, 0.42), 0.3);
  d = SmoothUnion(d, SdRoundCone(p, {-2.75, 1.8, 0}, {-4.55, 1.8, 0}, 0.48, 0.3), 0.12);
  // Cheek muscles, brow horns above the eyes and the nostrils.
  d = SmoothUnion(d, SdEllipsoid(p, {-2.75, 2.3, 0.42}, {0.55, 0.5, 0.3}), 0.25);
  d = SmoothUnion(d, SdEllipsoid(p, {-3.35, 2.95, 0.35}, {0.28, 0.14, 0.14}), 0.15);
  d = SmoothSubtract(d, SdSphere(p, {-3.3, 2.62, 0.66}, 0.2), 0.1);
  d = SmoothUnion(d, SdSphere(p, {-3.26, 2.62, 0.52}, 0.17), 0.06);
  return SmoothSubtract(d, SdEllipsoid(p, {-4.85, 2.45, 0.18}, {0.12, 0.07, 0.07}), 0.05);
}

double Leg(Vec3d p) {
  const Vec3d knee{0.1, -1.35, 0.9}, ankle{1.15, -2.85, 0.9}, ball{0.7, -3.6, 0.9};
  double d = SdEllipsoid(p, {0.6, -0.25, 0.72}, {1.45, 0.9, 0.55}, FrameAlong({-0.35, -1, 0}, {1, 0, 0}));
  d = SmoothUnion(d, SdRoundCone(p, knee, ankle, 0.45, 0.22), 0.3);
  d = SmoothUnion(d, SdEllipsoid(p, knee + Vec3d{0.45, -0.5, 0}, {0.7, 0.35, 0.3}, FrameAlong(ankle - knee, {1, 0, 0})),
                  0.25);
  d = SmoothUnion(d, SdRoundCone(p, ankle, ball, 0.22, 0.2), 0.15);
  // Three toes forward, splayed.
  for (double spread : {-0.32, 0.0, 0.32}) {
    d = SmoothUnion(d, SdRoundCone(p, ball, {-0.35, -3.7, 0.9 + spread}, 0.17, 0.1), 0.12);
  }
  return SmoothIntersect(d, -3.85 - p.y, 0.08);
}

double Arm(Vec3d p) {
  const Vec3d shoulder{-1.0, 0.55, 0.75}, elbow{-1.55, 0.1, 0.9}, wrist{-1.95, 0.35, 0.8};
  double d = SdRoundCone(p, shoulder, elbow, 0.18, 0.12);
  d = SmoothUnion(d, SdRoundCone(p, elbow, wrist, 0.12, 0.08), 0.06);
  // Two stubby fingers, spread apart so that the mesh keeps them apart.
  d = SmoothUnion(d, SdRoundCone(p, wrist, wrist + Vec3d{-0.25, 0.1, 0.12}, 0.08, 0.07), 0.04);
  return SmoothUnion(d, SdRoundCone(p, wrist, wrist + Vec3d{-0.23, -0.14, -0.1}, 0.08, 0.07), 0.04);
}

double TRex(Vec3d q) {
  const Vec3d p = FoldZ(q);
  double d = SdEllipsoid(p, {0.4, 0.45, 0}, {2.1, 1.35, 1.1}, FrameAlong({-1, 0.15, 0}, {0, 1, 0}));
  d = SmoothUnion(d, SdEllipsoid(p, {-0.6, 0.3, 0}, {1.0, 1.0, 0.85}), 0.5);
  d = SmoothUnion(d, SdTube(p, Tail()), 0.6);
  d = SmoothUnion(d, SdTube(p, Neck()), 0.5);
  d = SmoothUnion(d, Head(p), 0.3);
  d = SmoothUnion(d, Leg(p), 0.6);
  return SmoothUnion(d, Arm(p), 0.12);
}

}  // namespace

double TRexBody(Vec3d p) { return TRex(p + Vec3d{1.7, -0.35, 0}); }
