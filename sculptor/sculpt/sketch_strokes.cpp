#include "sculpt/sketch_strokes.h"

#include <algorithm>

namespace {

// lo < v <= hi at the press, lo < v < hi during the drag.
bool InYawRange(double v, double lo, double hi, bool closedAbove) { return v > lo && (closedAbove ? v <= hi : v < hi); }

}  // namespace

TSketchAxis SketchLockAxis(double pitch, double yaw, bool atPress) {
  const bool level = (pitch >= 0 && pitch < 45) || (pitch > 315 && pitch < 360);
  if (!level) return TSketchAxis::Y;
  if (InYawRange(yaw, 45, 135, atPress) || InYawRange(yaw, 225, 315, atPress)) return TSketchAxis::X;
  if (InYawRange(yaw, 135, 225, atPress) || InYawRange(yaw, 315, 360, atPress) || (yaw > 0 && yaw < 45)) {
    return TSketchAxis::Z;
  }
  return TSketchAxis::None;
}

double WrapSketchAngle(double degrees) {
  if (degrees > 360) return 0;
  if (degrees < 0) return 360;
  return degrees;
}

float SketchAxisValue(const TGLCoord& point, TSketchAxis axis) {
  switch (axis) {
    case TSketchAxis::X: return point.x;
    case TSketchAxis::Y: return point.y;
    case TSketchAxis::Z: return point.z;
    case TSketchAxis::None: break;
  }
  return 0;
}

TGLCoord WithSketchAxisValue(TGLCoord point, TSketchAxis axis, float value) {
  switch (axis) {
    case TSketchAxis::X: point.x = value; break;
    case TSketchAxis::Y: point.y = value; break;
    case TSketchAxis::Z: point.z = value; break;
    case TSketchAxis::None: break;
  }
  return point;
}

bool SketchPointInRange(const TGLCoord& point) {
  const auto inside = [](float v) { return v > -100 && v < 100; };
  return inside(point.x) && inside(point.y) && inside(point.z);
}

void TSketchGroups::Push(int countBefore) {
  if (counts_.size() >= capacity_) counts_.pop_front();
  counts_.push_back(countBefore);
}

std::optional<int> TSketchGroups::Pop() {
  if (counts_.empty()) return std::nullopt;
  const int count = counts_.back();
  counts_.pop_back();
  return count;
}

void TSketchGroups::Resize(size_t capacity) {
  capacity_ = std::max<size_t>(capacity, 1);
  while (counts_.size() > capacity_) counts_.pop_front();
}
