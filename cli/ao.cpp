// ao IN OUT [STRENGTH]: ambient occlusion baked into the vertex colours of
// every element, as the window's "Ambient Occlusion" command does.
#include <charconv>
#include <optional>

#include "cli.h"
#include "processing/ambient_occlusion.h"

namespace {

// STRENGTH: a whole number from 0 to 50 (4 when not given); nullopt after saying why.
std::optional<int> ParseStrength(const std::vector<std::string>& arguments) {
  if (arguments.size() < 3) return kAoStrengthDefault;
  const std::string& text = arguments[2];
  int strength = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), strength);
  if (error != std::errc() || end != text.data() + text.size() || strength < kAoStrengthMin ||
      strength > kAoStrengthMax) {
    Complain("STRENGTH must be a whole number from " + std::to_string(kAoStrengthMin) + " to " +
             std::to_string(kAoStrengthMax) + ", not \"" + text + "\"");
    return std::nullopt;
  }
  return strength;
}

}  // namespace

int RunAo(const std::vector<std::string>& arguments) {
  const std::optional<int> strength = ParseStrength(arguments);
  if (!strength) return kUsage;
  const std::string &in = arguments[0], &out = arguments[1];
  const TModelFormat* format = OutputFormat(out);
  if (format == nullptr) return kFailure;
  TScene scene;
  if (!LoadScene(in, scene)) return kFailure;
  BakeSceneAmbientOcclusion(scene.elements, *strength);
  return WriteScene(scene, out, *format) ? kSuccess : kFailure;
}
