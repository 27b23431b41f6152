// Parts shared by the human base models: heads, and the torso, arms and legs
// of a standing figure 12 units tall (soles at y = -6, crown at y = 6, face
// towards -x), from which the single arm, leg and torso are cut.
#pragma once

#include "base_models.h"

// A head with its neck in head units (chin at y = -1.1, crown at y = 2.3,
// the neck running down to y = -2.3), its small forms softened for the
// figures.
double ManHeadAndNeck(Vec3d p);
double WomanHeadAndNeck(Vec3d p);

// What differs between the two figures; lengths in model units.
struct BodyShape {
  double shoulderHalf;  // half the width across the shoulder joints
  double chestRadius;   // half width of the rib cage
  double waistRadius;
  double hipRadius;     // half width of the pelvis
  double limbScale;     // thickness of arms and legs
  double breasts;       // radius, 0: none
  double (*headAndNeck)(Vec3d p);
};

inline constexpr BodyShape kManBody{1.4, 1.15, 1.0, 1.1, 1.12, 0, ManHeadAndNeck};
inline constexpr BodyShape kWomanBody{1.12, 1.0, 0.8, 1.2, 0.95, 0.4, WomanHeadAndNeck};

inline constexpr Vec3d kForward{-1, 0, 0};

// Shoulder, elbow and wrist of an arm.
struct ArmJoints {
  Vec3d shoulder, elbow, wrist;
};
// The left arm of the figure (z > 0), hanging 35 degrees out.
ArmJoints BodyArmJoints(const BodyShape& s);
// An arm from the deltoid to the hand, `thickness` times the man's; the
// hand points along `handAlong`, its palm turned away from the front.
double Arm(Vec3d p, const ArmJoints& joints, double thickness, Vec3d handAlong, bool fingers);

// Each part for z >= 0 (the figure's left side; the arm and leg there).
double BodyTorso(Vec3d p, const BodyShape& s);
double BodyArm(Vec3d p, const BodyShape& s);
double BodyLeg(Vec3d p, const BodyShape& s);
// The head placed on the figure's neck.
double BodyHead(Vec3d p, const BodyShape& s);

// The whole figure (both sides).
double Body(Vec3d p, const BodyShape& s);
