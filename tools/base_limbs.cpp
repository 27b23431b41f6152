// The man's arm, leg and torso on their own, cut from the standing figure's
// parts with rounded flat ends and sized to fill the start view.
#include "base_body_parts.h"

namespace {

// The cut ends are rounded over this width.
constexpr double kCutRound = 0.2;

}  // namespace

double ManArm(Vec3d p) {
  // Held out straight along +z, the palm down, the thumb towards the viewer.
  const ArmJoints a{{0, 0, -2.6}, {0.05, -0.05, -0.2}, {-0.05, -0.05, 1.6}};
  const double d = Arm(p, a, kManBody.limbScale, {0, 0, 1}, true);
  return SmoothIntersect(d, -2.85 - p.z, kCutRound);
}

double ManLeg(Vec3d p) {
  // The figure's left leg, scaled to 6 units from the hip to the sole.
  constexpr double kScale = 0.95;
  const Vec3d q = p / kScale + Vec3d{-0.3, -2.85, 0.5};
  double d = SmoothUnion(BodyLeg(q, kManBody), SdEllipsoid(q, {0.42, -0.15, 0.5}, {0.45, 0.6, 0.52}), 0.3);
  d = SmoothIntersect(d, q.y - 0.3, kCutRound);
  return d * kScale;
}

double ManTorso(Vec3d p) {
  // From the root of the neck to the top of the thighs, 5 units tall.
  constexpr double kScale = 0.885;
  const Vec3d q = FoldZ(p / kScale + Vec3d{0.05, 1.625, 0});
  double d = SmoothIntersect(BodyTorso(q, kManBody), q.y - 4.45, kCutRound);
  const ArmJoints a = BodyArmJoints(kManBody);
  const Vec3d upper = Normalized(a.elbow - a.shoulder);
  const double arm = SmoothIntersect(BodyArm(q, kManBody), Dot(q - a.shoulder, upper) - 1.0, kCutRound);
  const double leg = SmoothIntersect(BodyLeg(q, kManBody), -1.2 - q.y, kCutRound);
  d = SmoothUnion(d, arm, 0.25);
  d = SmoothUnion(d, leg, 0.3);
  return d * kScale;
}
