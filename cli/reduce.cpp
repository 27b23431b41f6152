// reduce IN OUT PERCENT: the principal element reduced to PERCENT % of its
// triangles as "Mesh Reduction" does it; the other elements are written as read.
#include <charconv>
#include <new>
#include <optional>

#include "cli.h"
#include "processing/meshify_simplify_quadric_element.h"
#include "sculpt/subdivision.h"

namespace {

// PERCENT: a whole number from 0 to 100; nullopt after saying why.
std::optional<int> ParsePercent(const std::string& text) {
  int percent = -1;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), percent);
  if (error != std::errc() || end != text.data() + text.size() || percent < 0 || percent > 100) {
    Complain("PERCENT must be a whole number from 0 to 100, not \"" + text + "\"");
    return std::nullopt;
  }
  return percent;
}

}  // namespace

int RunReduce(const std::vector<std::string>& arguments) {
  const std::optional<int> percent = ParsePercent(arguments[2]);
  if (!percent) return kUsage;
  const std::string &in = arguments[0], &out = arguments[1];
  const TModelFormat* format = OutputFormat(out);
  if (format == nullptr) return kFailure;
  TScene scene;
  if (!LoadScene(in, scene)) return kFailure;
  scene.currentElement = 0;
  TGeosphera& e = scene.current();
  const int before = e.triangleCount();
  try {
    ReduceElement(e, *percent);
  } catch (const std::bad_alloc&) {
    Complain(kNotEnoughMemory);
    return kFailure;
  }
  if (e.triangleCount() == before && *percent < 100) {
    Complain("the principal element keeps its " + std::to_string(before) +
             " triangles: a reduction needs 5 triangles and 5 vertices or more and a target of 4 triangles or more");
  }
  return WriteScene(scene, out, *format) ? kSuccess : kFailure;
}
