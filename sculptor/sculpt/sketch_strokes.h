// Sketch strokes: in sketch mode a left drag drops pairs of spheres (one at
// the cursor point, one mirrored across z = 0) on a plane that faces the view
// through the vertex picked at the press; the spheres of each stroke form a
// group that the sketch undo removes again.
#pragma once

#include <cstddef>
#include <deque>
#include <optional>

#include "model/geosphera.h"

// The coordinate a sketch stroke holds fixed: the one most nearly along the
// line of sight of the main camera.
enum class TSketchAxis { None, X, Y, Z };

// The axis for camera angles in degrees (0..360). At the press the yaw ranges
// are closed above, (45, 135] and (225, 315] for x, (135, 225] and (315, 360]
// with (0, 45) for z; during the drag they are open at both ends. A pitch
// outside [0, 45) and (315, 360) gives y. Yaws on the borders give None.
TSketchAxis SketchLockAxis(double pitch, double yaw, bool atPress);

// In sketch mode the camera's angles stay in 0..360 for the rule above: an
// angle above 360 becomes 0, one below 0 becomes 360.
double WrapSketchAngle(double degrees);

// `point`'s coordinate along `axis` (0 for None).
float SketchAxisValue(const TGLCoord& point, TSketchAxis axis);
// `point` with its coordinate along `axis` set to `value` (unchanged for None).
TGLCoord WithSketchAxisValue(TGLCoord point, TSketchAxis axis, float value);

// A cursor point that drops spheres: every coordinate strictly inside
// (-100, 100); a miss of the surface lies far behind the model.
bool SketchPointInRange(const TGLCoord& point);

// The element counts before each sketch stroke that added spheres, newest
// last. A full ring forgets its oldest stroke.
class TSketchGroups {
 public:
  static constexpr size_t kDefaultCapacity = 18;

  explicit TSketchGroups(size_t capacity = kDefaultCapacity) : capacity_(capacity) {}

  // A stroke added spheres after element `countBefore` - 1.
  void Push(int countBefore);
  // The element count before the newest group, which is forgotten; nullopt
  // when there is none.
  std::optional<int> Pop();
  // The ring holds at most `capacity` groups (at least one); the oldest go first.
  void Resize(size_t capacity);
  void Clear() { counts_.clear(); }

  size_t size() const { return counts_.size(); }
  size_t capacity() const { return capacity_; }

 private:
  size_t capacity_;
  std::deque<int> counts_;
};
