#include "options.h"

#include <cmath>

#include "io/number_text.h"

const char kPoissonUsage[] =
    "usage: poissonrecon --in POINTS.ply --out MESH.ply [--depth N] [--pointWeight W] [--color PULL]\n"
    "\n"
    "Reconstructs a closed triangle mesh from oriented points by screened Poisson\n"
    "surface reconstruction (Kazhdan and Hoppe 2013).\n"
    "\n"
    "  --in FILE           PLY points (ASCII or binary little-endian) with x, y, z,\n"
    "                      nx, ny, nz and optional red, green, blue\n"
    "  --out FILE          the mesh, written as binary little-endian PLY\n"
    "  --depth N           octree depth, 1 to 16 (default 8); each step doubles the\n"
    "                      resolution and roughly quadruples time and memory\n"
    "  --color PULL        give the mesh the points' colours, averaged from the points\n"
    "                      near each vertex (PULL, a positive number, is checked but\n"
    "                      the library weighs the colours its own way)\n"
    "  --pointWeight W     a number from 0, checked but without effect: the library\n"
    "                      screens with its own fixed weight\n"
    "  --help              show this text\n"
    "\n"
    "Exit status 0 on success, 1 when the reconstruction failed, 2 for a wrong\n"
    "command line.\n";

namespace {

std::string ParseNumber(const std::string& name, const std::string& text, float& value) {
  if (!ParseFloat(text.data(), text.data() + text.size(), value) || !std::isfinite(value))
    return name + " needs a number, not \"" + text + "\"";
  return "";
}

std::string ParseDepth(const std::string& text, int& depth) {
  int32_t parsed = 0;
  if (!ParseInt32(text.data(), text.data() + text.size(), parsed) || parsed < kMinDepth || parsed > kMaxDepth)
    return "--depth needs a whole number from " + std::to_string(kMinDepth) + " to " + std::to_string(kMaxDepth) +
           ", not \"" + text + "\"";
  depth = parsed;
  return "";
}

constexpr const char* kValueOptions[] = {"--in", "--out", "--depth", "--pointWeight", "--color"};

bool TakesValue(const std::string& name) {
  for (const char* known : kValueOptions)
    if (name == known) return true;
  return false;
}

// One option of kValueOptions with its value.
std::string ParseOption(const std::string& name, const std::string& value, PoissonOptions& options) {
  if (name == "--in") {
    options.in = value;
  } else if (name == "--out") {
    options.out = value;
  } else if (name == "--depth") {
    return ParseDepth(value, options.depth);
  } else if (name == "--pointWeight") {
    float weight = 0;
    if (std::string error = ParseNumber(name, value, weight); !error.empty()) return error;
    if (weight < 0) return "--pointWeight must not be negative, not \"" + value + "\"";
  } else {  // --color
    float pull = 0;
    if (std::string error = ParseNumber(name, value, pull); !error.empty()) return error;
    if (pull <= 0) return "--color needs a positive number, not \"" + value + "\"";
    options.color = true;
  }
  return "";
}

}  // namespace

std::string ParsePoissonOptions(const std::vector<std::string>& args, PoissonOptions& options) {
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& name = args[i];
    if (name == "--help") {
      options.help = true;
      return "";
    }
    if (!TakesValue(name))
      return (name.rfind("--", 0) == 0 ? "unknown option \"" : "unexpected argument \"") + name + "\"";
    if (i + 1 >= args.size()) return name + " needs a value";
    if (std::string error = ParseOption(name, args[++i], options); !error.empty()) return error;
  }
  if (options.in.empty()) return "--in FILE is required";
  if (options.out.empty()) return "--out FILE is required";
  return "";
}
