// The two head bases: a bust from the crown to the root of the neck, about
// 5 units tall, the face towards -x.
#include "base_body_parts.h"

namespace {

// What differs between the two heads; lengths in model units.
struct HeadShape {
  double browRidge;  // forward reach of the brow
  double jawWidth;   // half width at the angles of the jaw
  double chinWidth;
  double lipFullness;  // 0 thin .. 1 full
  double noseSize;     // scale of the nose's tip and wings
  double neckRadius;
  double adamsApple;  // blend of the larynx's bump, 0: none
  bool hairBun;       // hair drawn back into a bun
  double softness;    // widens the blends of eyes, nose and lips: 1 for the busts, more when small
};

// A simple outer ear at the origin, facing +z: rim, lobe and a hollow bowl.
double HeadEar(Vec3d p) {
  double d = SdEllipsoid(p, {0.05, 0, 0}, {0.28, 0.44, 0.13});
  d = SmoothUnion(d, SdEllipsoid(p, {0.0, -0.34, 0.0}, {0.16, 0.15, 0.11}), 0.08);
  d = SmoothSubtract(d, SdEllipsoid(p, {0.02, 0.04, 0.12}, {0.17, 0.28, 0.09}), 0.05);
  return d;
}

double Skull(Vec3d p, const HeadShape& s) {
  double d = SdEllipsoid(p, {0.15, 0.85, 0}, {1.5, 1.45, 1.18});
  d = SmoothUnion(d, SdEllipsoid(p, {-0.55, 1.0, 0}, {0.8, 0.95, 0.95}), 0.3);
  d = SmoothUnion(d, SdEllipsoid(p, {-0.7, 0.2, 0}, {0.7, 0.75, 1.0}), 0.3);
  // The lower face: the mouth's mound, the chin and the angles of the jaw.
  d = SmoothUnion(d, SdEllipsoid(p, {-0.5, -0.4, 0}, {0.8, 0.65, 0.78}), 0.4);
  d = SmoothUnion(d, SdEllipsoid(p, {-1.0, -0.5, 0}, {0.34, 0.34, 0.48}), 0.25);
  d = SmoothUnion(d, SdEllipsoid(p, {-1.16, -0.92, 0}, {0.25, 0.22, s.chinWidth}), 0.3);
  d = SmoothUnion(d, SdSphere(p, {0.0, -0.55, s.jawWidth - 0.32}, 0.32), 0.6);
  // Cheekbones and the brow.
  d = SmoothUnion(d, SdEllipsoid(p, {-0.92, 0.32, 0.68}, {0.3, 0.2, 0.32}), 0.25);
  d = SmoothUnion(d, SdEllipsoid(p, {-1.08 - s.browRidge, 0.8, 0.4}, {0.18, 0.12, 0.4}), 0.2);
  return d;
}

double Eyes(double d, Vec3d p, double soft) {
  d = SmoothSubtract(d, SdEllipsoid(p, {-1.38, 0.62, 0.45}, {0.22, 0.17, 0.28}), 0.15 * soft);
  d = SmoothUnion(d, SdSphere(p, {-0.95, 0.55, 0.45}, 0.22), 0.04 * soft);
  d = SmoothUnion(d, SdEllipsoid(p, {-0.98, 0.6, 0.45}, {0.24, 0.15, 0.26}), 0.08 * soft);
  return SmoothUnion(d, SdEllipsoid(p, {-0.99, 0.5, 0.45}, {0.22, 0.13, 0.25}), 0.06 * soft);
}

double NoseAndMouth(double d, Vec3d p, const HeadShape& s) {
  const double n = s.noseSize, soft = s.softness;
  d = SmoothUnion(d, SdRoundCone(p, {-1.28, 0.6, 0}, {-1.52 - 0.14 * n, -0.05, 0}, 0.08, 0.1 * n), 0.12 * soft);
  d = SmoothUnion(d, SdEllipsoid(p, {-1.5 - 0.14 * n, -0.1, 0}, Vec3d{0.13, 0.12, 0.14} * n), 0.08 * soft);
  d = SmoothUnion(d, SdEllipsoid(p, {-1.4, -0.14, 0.14}, Vec3d{0.13, 0.08, 0.08} * n), 0.16 * soft);
  const double full = s.lipFullness;
  // The lips wrap around the teeth: their corners lie further back.
  const Vec3d lips{p.x - 0.9 * p.z * p.z, p.y, p.z};
  d = SmoothUnion(d, SdEllipsoid(lips, {-1.4, -0.43, 0}, {0.13 + 0.03 * full, 0.075 + 0.02 * full, 0.3}), 0.06);
  d = SmoothUnion(d, SdEllipsoid(lips, {-1.36, -0.59, 0}, {0.12 + 0.03 * full, 0.075 + 0.035 * full, 0.26}), 0.05 * soft);
  return d;
}

// Hair drawn back from the face and over the ears into a bun at the back.
double HairBun(double d, Vec3d p) {
  double hair = SdEllipsoid(p, {0.25, 0.95, 0}, {1.72, 1.66, 1.38});
  hair = SmoothSubtract(hair, SdEllipsoid(p, {-1.4, -0.1, 0}, {1.25, 1.62, 1.15}), 0.15);
  hair = SmoothSubtract(hair, SdEllipsoid(p, {0.25, 0.3, 1.1}, {0.55, 0.75, 0.6}), 0.25);
  hair = SmoothUnion(hair, SdEllipsoid(p, {1.75, 1.1, 0}, {0.55, 0.55, 0.6}), 0.15);
  return SmoothUnion(d, hair, 0.05);
}

double HeadAndNeck(Vec3d q, const HeadShape& s) {
  const Vec3d p = FoldZ(q);
  double d = Skull(p, s);
  d = Eyes(d, p, s.softness);
  d = NoseAndMouth(d, p, s);
  d = SmoothUnion(d, HeadEar(p - Vec3d{0.22, 0.4, 1.1}), 0.2);
  if (s.hairBun) d = HairBun(d, p);
  d = SmoothUnion(d, SdRoundCone(p, {0.2, -0.4, 0}, {0.3, -2.3, 0}, s.neckRadius, s.neckRadius + 0.05), 0.4);
  if (s.adamsApple > 0) d = SmoothUnion(d, SdEllipsoid(p, {-0.5, -1.35, 0}, {0.1, 0.14, 0.1}), s.adamsApple);
  return d;
}

// The bust: the neck flares into the top of the shoulders and ends flat.
double Bust(Vec3d p, const HeadShape& s) {
  const double d = SmoothUnion(HeadAndNeck(p, s), SdEllipsoid(FoldZ(p), {0.3, -2.35, 0}, {0.9, 0.4, 1.55}), 0.5);
  return SmoothIntersect(d, -2.4 - p.y, 0.25);
}

constexpr HeadShape kMan{0.12, 0.95, 0.42, 0, 1.0, 0.68, 0.15, false, 1};
constexpr HeadShape kWoman{0.0, 0.82, 0.32, 1, 0.8, 0.56, 0, true, 1};

// On the figures the head is under half the bust's size: its small forms are softened
// to stay wider than the mesh's quads.
constexpr HeadShape Softened(HeadShape s) {
  s.softness = 2;
  return s;
}

}  // namespace

double ManHead(Vec3d p) { return Bust(p, kMan); }

double WomanHead(Vec3d p) { return Bust(p, kWoman); }

double ManHeadAndNeck(Vec3d p) { return HeadAndNeck(p, Softened(kMan)); }

double WomanHeadAndNeck(Vec3d p) { return HeadAndNeck(p, Softened(kWoman)); }
