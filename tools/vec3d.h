// A double-precision 3-vector for the generator's geometry.
#pragma once

#include <cmath>

struct Vec3d {
  double x = 0, y = 0, z = 0;
};

inline Vec3d operator+(Vec3d a, Vec3d b) { return {a.x + b.x, a.y + b.y, a.z + b.z}; }
inline Vec3d operator-(Vec3d a, Vec3d b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }
inline Vec3d operator-(Vec3d a) { return {-a.x, -a.y, -a.z}; }
inline Vec3d operator*(Vec3d a, double s) { return {a.x * s, a.y * s, a.z * s}; }
inline Vec3d operator*(double s, Vec3d a) { return a * s; }
inline Vec3d operator/(Vec3d a, double s) { return {a.x / s, a.y / s, a.z / s}; }
inline Vec3d& operator+=(Vec3d& a, Vec3d b) { return a = a + b; }
inline Vec3d& operator-=(Vec3d& a, Vec3d b) { return a = a - b; }
inline double Dot(Vec3d a, Vec3d b) { return a.x * b.x + a.y * b.y + a.z * b.z; }
inline Vec3d Cross(Vec3d a, Vec3d b) { return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x}; }
inline double Length(Vec3d a) { return std::sqrt(Dot(a, a)); }
inline Vec3d Normalized(Vec3d a) {
  const double length = Length(a);
  return length > 0 ? a / length : Vec3d{};
}
// Component-wise product and quotient.
inline Vec3d Scaled(Vec3d a, Vec3d s) { return {a.x * s.x, a.y * s.y, a.z * s.z}; }
inline Vec3d Divided(Vec3d a, Vec3d s) { return {a.x / s.x, a.y / s.y, a.z / s.z}; }
// The mirror image across the plane z = 0.
inline Vec3d MirroredZ(Vec3d a) { return {a.x, a.y, -a.z}; }
