// subdivide / unsubdivide FILE OUT [LEVELS]: the principal element's
// subdivision level up or down.
#include <charconv>
#include <climits>
#include <cstdint>
#include <optional>

#include "cli.h"
#include "sculpt/subdivision.h"

namespace {

// LEVELS: a whole number from 1 on (1 when not given); nullopt after saying why.
std::optional<int> ParseLevels(const std::vector<std::string>& arguments) {
  if (arguments.size() < 3) return 1;
  const std::string& text = arguments[2];
  int levels = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), levels);
  if (error != std::errc() || end != text.data() + text.size() || levels < 1) {
    Complain("LEVELS must be a whole number from 1 on, not \"" + text + "\"");
    return std::nullopt;
  }
  return levels;
}

// Subdivide or unsubdivide the principal element, then write the scene.
int ChangeLevels(const std::vector<std::string>& arguments, bool unsubdivide) {
  const std::optional<int> parsed = ParseLevels(arguments);
  if (!parsed) return kUsage;
  const int levels = *parsed;
  const std::string &in = arguments[0], &out = arguments[1];
  const TModelFormat* format = OutputFormat(out);
  if (format == nullptr) return kFailure;
  TScene scene;
  if (!LoadScene(in, scene)) return kFailure;
  scene.currentElement = 0;
  const TGeosphera& e = scene.current();
  if (unsubdivide && e.subdivLevel < levels) {
    Complain("the principal element is at level " + std::to_string(e.subdivLevel) + ": it cannot go down " +
             std::to_string(levels) + " level" + (levels == 1 ? "" : "s"));
    return kFailure;
  }
  // Each level multiplies the triangles by four; the corner count must stay an int32.
  if (!unsubdivide && (levels > 15 || (static_cast<int64_t>(e.indexCount) << (2 * levels)) > INT32_MAX)) {
    Complain("subdividing " + std::to_string(e.triangleCount()) + " triangles " + std::to_string(levels) +
             " times gives more triangles than an element can hold");
    return kFailure;
  }
  for (int i = 0; i < levels; ++i) {
    const bool changed = unsubdivide ? Unsubdivide(scene, {}) : Subdivide(scene, {});
    if (!changed) return kFailure;
  }
  return WriteScene(scene, out, *format) ? kSuccess : kFailure;
}

}  // namespace

int RunSubdivide(const std::vector<std::string>& arguments) { return ChangeLevels(arguments, false); }

int RunUnsubdivide(const std::vector<std::string>& arguments) { return ChangeLevels(arguments, true); }
