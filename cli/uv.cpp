// uv IN OUT.obj [PARTITION]: texture coordinates for every element, as
// "Create UVs" makes them, written with the model as OBJ.
#include <charconv>
#include <optional>

#include "cli.h"
#include "processing/uv_create.h"

namespace {

constexpr float kDefaultPartition = 0.8f;  // "Partition Control" at start
constexpr int kTextureSize = 4096;  // the largest texture, the sculptor's default

// PARTITION: a number from 0.1 to 1.0 (the default when not given); nullopt
// after saying why.
std::optional<float> ParsePartition(const std::vector<std::string>& arguments) {
  if (arguments.size() < 3) return kDefaultPartition;
  const std::string& text = arguments[2];
  float partition = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), partition);
  if (error != std::errc() || end != text.data() + text.size() || !(partition >= 0.1f && partition <= 1.0f)) {
    Complain("PARTITION must be a number from 0.1 to 1.0, not \"" + text + "\"");
    return std::nullopt;
  }
  return partition;
}

}  // namespace

int RunUv(const std::vector<std::string>& arguments) {
  const std::optional<float> partition = ParsePartition(arguments);
  if (!partition) return kUsage;
  const std::string &in = arguments[0], &out = arguments[1];
  const TModelFormat* format = OutputFormat(out);
  if (format == nullptr) return kFailure;
  if (format->kind != kModelObj) {
    Complain("texture coordinates are written to an OBJ file (.obj), not " + out);
    return kFailure;
  }
  TScene scene;
  if (!LoadScene(in, scene) || !CreateSceneUVs(scene, *partition, kTextureSize)) return kFailure;
  return WriteScene(scene, out, *format) ? kSuccess : kFailure;
}
