// The standing figures in a relaxed A-pose and the parts they share with the
// single arm, leg and torso.
#include <cmath>

#include "base_body_parts.h"

namespace {


// The head's size and place on the figure: 0.47 head units per model unit,
// the crown at y = 6.
constexpr double kHeadScale = 0.47;
const Vec3d kHeadOrigin{0.05, 4.92, 0};

// A mitten hand from the wrist along f.u, the thumb towards f.v, the palm
// towards f.w.
double MittenHand(Vec3d p, Vec3d wrist, const Frame& f, double scale) {
  double d = SdEllipsoid(p, wrist + f.u * 0.36, Vec3d{0.4, 0.3, 0.13} * scale, f);
  d = SmoothUnion(d, SdEllipsoid(p, wrist + f.u * 0.95, Vec3d{0.38, 0.27, 0.1} * scale, f), 0.15);
  const Vec3d thumbRoot = wrist + f.u * 0.15 + f.v * 0.22 + f.w * 0.04;
  return SmoothUnion(d, SdRoundCone(p, thumbRoot, thumbRoot + f.u * 0.45 + f.v * 0.14 + f.w * 0.06, 0.11 * scale,
                                    0.08 * scale),
                     0.1);
}

// A finger of three bones from `root` along `along`, curling towards `palm`.
double Finger(Vec3d p, Vec3d root, Vec3d along, Vec3d palm, double length, double radius) {
  const Vec3d joints[4] = {root, root + along * (0.45 * length) + palm * (0.02 * length),
                           root + along * (0.75 * length) + palm * (0.1 * length),
                           root + along * (0.93 * length) + palm * (0.22 * length)};
  const double radii[4] = {radius, radius * 0.92, radius * 0.85, radius * 0.78};
  return SdTube(p, joints, radii, 0.03);
}

// A hand with four fingers and a thumb, laid out like the mitten.
double FingeredHand(Vec3d p, Vec3d wrist, const Frame& f, double scale) {
  double d = SdEllipsoid(p, wrist + f.u * 0.36, Vec3d{0.4, 0.3, 0.13} * scale, f);
  const double offsets[4] = {0.2, 0.07, -0.07, -0.2}, lengths[4] = {0.55, 0.62, 0.57, 0.45};
  for (int i = 0; i < 4; ++i) {
    const Vec3d root = wrist + f.u * 0.66 + f.v * (offsets[i] * scale);
    const Vec3d along = Normalized(f.u + f.v * (offsets[i] * 0.3));
    d = SmoothUnion(d, Finger(p, root, along, f.w, lengths[i] * scale, 0.075 * scale), 0.06);
  }
  const Vec3d thumbRoot = wrist + f.u * 0.12 + f.v * 0.2 + f.w * 0.05;
  const Vec3d thumbAlong = Normalized(f.u * 0.8 + f.v * 0.55 + f.w * 0.2);
  return SmoothUnion(d, Finger(p, thumbRoot, thumbAlong, f.w, 0.6 * scale, 0.1 * scale), 0.1);
}

double Foot(Vec3d p, Vec3d ankle) {
  double d = SdSphere(p, ankle + Vec3d{0.18, -0.28, 0}, 0.25);
  d = SmoothUnion(d, SdEllipsoid(p, ankle + Vec3d{-0.35, -0.25, 0.03}, {0.72, 0.28, 0.3}), 0.2);
  d = SmoothUnion(d, SdEllipsoid(p, ankle + Vec3d{-0.8, -0.35, 0.05}, {0.32, 0.18, 0.36}), 0.2);
  d = SmoothUnion(d, SdEllipsoid(p, ankle + Vec3d{-1.05, -0.41, 0.06}, {0.3, 0.14, 0.34}), 0.15);
  return SmoothIntersect(d, -6.0 - p.y, 0.08);
}

}  // namespace

double BodyHead(Vec3d p, const BodyShape& s) {
  // Far from the head its bounding sphere is distance enough (no blend reaches that far).
  const double bound = Length(p - Vec3d{0.1, 5.1, 0}) - 1.4;
  if (bound > 1.5) return bound;
  return kHeadScale * s.headAndNeck((p - kHeadOrigin) / kHeadScale);
}

double BodyTorso(Vec3d p, const BodyShape& s) {
  double d = SdEllipsoid(p, {0.05, 2.55, 0}, {0.78, 1.25, s.chestRadius});
  d = SmoothUnion(d, SdEllipsoid(p, {-0.5, 2.95, 0.55}, {0.22, 0.42, 0.62}), 0.4);
  if (s.breasts > 0) d = SmoothUnion(d, SdSphere(p, {-0.55, 2.5, 0.5}, s.breasts), 0.25);
  d = SmoothUnion(d, SdEllipsoid(p, {0.15, 3.72, 0.75}, {s.shoulderHalf - 0.55, 0.3, 0.42},
                                 FrameAlong({0, 0, 1}, {0.25, 1, 0})),
                  0.35);
  d = SmoothUnion(d, SdEllipsoid(p, {-0.05, 1.25, 0}, {0.7, 1.0, s.waistRadius}), 0.4);
  d = SmoothUnion(d, SdEllipsoid(p, {0.05, 0.15, 0}, {0.78, 0.75, s.hipRadius}), 0.4);
  d = SmoothUnion(d, SdEllipsoid(p, {0.42, -0.15, 0.5}, {0.45, 0.6, 0.52}), 0.3);
  d = SmoothUnion(d, SdEllipsoid(p, {0.3, 2.45, 0.75}, {0.5, 1.0, 0.5}), 0.3);
  return SmoothUnion(d, SdRoundCone(p, {0.15, 4.6, 0}, {0.1, 3.8, 0}, 0.38, 0.45), 0.3);
}

ArmJoints BodyArmJoints(const BodyShape& s) {
  const Vec3d shoulder{0.05, 3.55, s.shoulderHalf};
  const Vec3d elbow = shoulder + Vec3d{0.05, -1.97, 1.38};
  return {shoulder, elbow, elbow + Vec3d{-0.25, -1.48, 0.98}};
}

double Arm(Vec3d p, const ArmJoints& a, double t, Vec3d handAlong, bool fingers) {
  const Vec3d upper = Normalized(a.elbow - a.shoulder), fore = Normalized(a.wrist - a.elbow);
  const Frame upperFrame = FrameAlong(upper, kForward), foreFrame = FrameAlong(fore, kForward);
  double d = SdEllipsoid(p, a.shoulder + upper * 0.3 + Vec3d{0, 0.1, 0.1}, Vec3d{0.55, 0.48, 0.45} * t, upperFrame);
  d = SmoothUnion(d, SdRoundCone(p, a.shoulder, a.elbow, 0.38 * t, 0.28 * t), 0.2);
  d = SmoothUnion(d, SdEllipsoid(p, a.shoulder + upper * 1.25 + kForward * 0.1, Vec3d{0.8, 0.33, 0.3} * t, upperFrame),
                  0.2);
  d = SmoothUnion(d, SdRoundCone(p, a.elbow, a.wrist, 0.28 * t, 0.18 * t), 0.15);
  d = SmoothUnion(d, SdEllipsoid(p, a.elbow + fore * 0.55, Vec3d{0.65, 0.31, 0.3} * t, foreFrame), 0.2);
  const Frame hand = FrameAlong(handAlong, kForward);
  return SmoothUnion(d, fingers ? FingeredHand(p, a.wrist, hand, t) : MittenHand(p, a.wrist, hand, t), 0.1);
}

double BodyArm(Vec3d p, const BodyShape& s) {
  const ArmJoints a = BodyArmJoints(s);
  return Arm(p, a, s.limbScale, Normalized(a.wrist - a.elbow) + Vec3d{0, -0.3, 0}, false);
}

double BodyLeg(Vec3d p, const BodyShape& s) {
  const double t = s.limbScale;
  const Vec3d hip{0.02, 0.0, 0.5 * s.hipRadius}, knee{-0.05, -2.75, 0.5}, ankle{0.1, -5.45, 0.48};
  const Vec3d thigh = Normalized(knee - hip), shin = Normalized(ankle - knee);
  double d = SdRoundCone(p, hip, knee, 0.68 * t, 0.42 * t);
  d = SmoothUnion(d, SdEllipsoid(p, hip + (knee - hip) * 0.45 + Vec3d{-0.18, 0, 0.02}, Vec3d{1.3, 0.56, 0.58} * t,
                                 FrameAlong(thigh, kForward)),
                  0.3);
  d = SmoothUnion(d, SdSphere(p, knee + Vec3d{-0.28, 0.05, 0}, 0.19 * t), 0.15);
  d = SmoothUnion(d, SdRoundCone(p, knee, ankle, 0.38 * t, 0.21 * t), 0.2);
  d = SmoothUnion(d, SdEllipsoid(p, knee + (ankle - knee) * 0.3 + Vec3d{0.15, 0, 0}, Vec3d{0.85, 0.42, 0.4} * t,
                                 FrameAlong(shin, kForward)),
                  0.25);
  return SmoothUnion(d, Foot(p, ankle), 0.15);
}

double Body(Vec3d q, const BodyShape& s) {
  const Vec3d p = FoldZ(q);
  double d = BodyTorso(p, s);
  d = SmoothUnion(d, BodyArm(p, s), 0.25);
  d = SmoothUnion(d, BodyLeg(p, s), 0.3);
  return SmoothUnion(d, BodyHead(p, s), 0.25);
}

double ManBody(Vec3d p) { return Body(p, kManBody); }

double WomanBody(Vec3d p) { return Body(p, kWomanBody); }
