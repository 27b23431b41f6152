// plasmora-cli: the sculptor's core on the command line, for batch work and
// scripts. Results go to standard output, messages to standard error; the exit
// status is 0 on success, 1 when the work failed and 2 for a wrong command line.
#include <algorithm>
#include <charconv>
#include <climits>
#include <cstdint>
#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "io/mapped_file.h"
#include "io/model_conversion.h"
#include "io/model_writer.h"
#include "io/ply_writer.h"
#include "model/scene.h"
#include "sculpt/subdivision.h"

namespace {

constexpr int kSuccess = 0, kFailure = 1, kUsage = 2;

const char kUsageText[] =
    "usage: plasmora-cli COMMAND ...\n"
    "\n"
    "  info FILE          list the elements of a model file: name, vertex and\n"
    "                     triangle counts, subdivision level, bounding box\n"
    "  convert IN OUT     read a model file and write it in the format that OUT's\n"
    "                     extension names (.met, .obj, .ply; a PLY file holds the\n"
    "                     current element only, the first of the file read)\n"
    "  subdivide FILE OUT [LEVELS]\n"
    "                     split every triangle of the principal (first) element\n"
    "                     into four, LEVELS times (1 when not given), with Loop\n"
    "                     smoothing, and write the scene to OUT\n"
    "  unsubdivide FILE OUT [LEVELS]\n"
    "                     merge the principal element back LEVELS levels (1 when\n"
    "                     not given) and write the scene to OUT; the element must\n"
    "                     carry its subdivision level (a .met file does)\n"
    "  --help             show this text\n";

void Complain(const std::string& text) { std::fprintf(stderr, "plasmora-cli: %s\n", text.c_str()); }

// Reads a model file into a fresh scene; false after saying why.
bool LoadScene(const std::string& fileName, TScene& scene) {
  const int kind = ModelKindOfFile(fileName);
  if (kind == kModelUnknown) {
    Complain("unknown model file type: " + fileName + " (expected .met, .obj or .ply)");
    return false;
  }
  TOBJModel model;
  switch (ReadModelFile(model, fileName, kind)) {
    case TReadStatus::Ok: break;
    case TReadStatus::CannotOpen: {
      MappedFile probe;
      probe.Open(fileName);
      Complain("cannot open " + fileName + ": " + probe.error());
      return false;
    }
    case TReadStatus::Malformed: Complain("cannot read " + fileName); return false;
    case TReadStatus::Unsupported: Complain("reading this kind of file is not available yet: " + fileName); return false;
  }
  ResetScene(scene);
  return ConvertIntoScene(scene, model, fileName, kind, 1.0f);
}

// "(x, y, z)" with the shortest exact decimals, whatever the locale.
std::string Point(const TGLCoord& p) {
  const float values[3] = {p.x, p.y, p.z};
  std::string text = "(";
  for (int i = 0; i < 3; ++i) {
    char number[32];
    text.append(number, std::to_chars(number, number + sizeof number, values[i]).ptr);
    text += i < 2 ? ", " : ")";
  }
  return text;
}

void PrintElement(int index, const TGeosphera& e) {
  TGLCoord low{}, high{};
  const size_t n = std::min(static_cast<size_t>(std::max(e.vertexCount, 0)), e.vertices.size());
  if (n > 0) low = high = e.vertices[0];
  for (size_t v = 1; v < n; ++v) {
    const TGLCoord& p = e.vertices[v];
    low = {std::min(low.x, p.x), std::min(low.y, p.y), std::min(low.z, p.z)};
    high = {std::max(high.x, p.x), std::max(high.y, p.y), std::max(high.z, p.z)};
  }
  std::printf("element %d \"%s\": %d vertices, %d triangles, level %d, box %s - %s\n", index, e.name.c_str(),
              e.vertexCount, e.triangleCount(), e.subdivLevel, Point(low).c_str(), Point(high).c_str());
}

int Info(const std::string& fileName) {
  TScene scene;
  if (!LoadScene(fileName, scene)) return kFailure;
  std::printf("%s: %d element%s\n", fileName.c_str(), scene.elementCount(), scene.elementCount() == 1 ? "" : "s");
  for (int i = 0; i < scene.elementCount(); ++i) PrintElement(i, scene.elements[static_cast<size_t>(i)]);
  return kSuccess;
}

// Writes the scene, or for PLY its current element, in the format of the name's extension.
bool WriteScene(TScene& scene, const std::string& out, int kind) {
  if (kind != kModelPly) return WriteModel(scene, out, kind == kModelMet ? kWriteMet : kWriteObj);
  if (scene.elementCount() > 1)
    Complain("a PLY file holds one element: writing element " + std::to_string(scene.currentElement) + " of " +
             std::to_string(scene.elementCount()));
  return WritePlyFull(scene, scene.currentElement, out);
}

int Convert(const std::string& in, const std::string& out) {
  const int kind = ModelKindOfFile(out);
  if (kind == kModelUnknown) {
    Complain("cannot write this kind of file: " + out + " (expected .met, .obj or .ply)");
    return kFailure;
  }
  TScene scene;
  if (!LoadScene(in, scene) || !WriteScene(scene, out, kind)) return kFailure;
  return kSuccess;
}

// LEVELS: a whole number from 1 on; nullopt after saying why.
std::optional<int> ParseLevels(const std::vector<std::string>& args) {
  if (args.size() < 4) return 1;
  const std::string& text = args[3];
  int levels = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), levels);
  if (error != std::errc() || end != text.data() + text.size() || levels < 1) {
    Complain("LEVELS must be a whole number from 1 on, not \"" + text + "\"");
    return std::nullopt;
  }
  return levels;
}

// Subdivide or unsubdivide the principal element `levels` times, then write the scene.
int ChangeLevels(const std::string& in, const std::string& out, int levels, bool unsubdivide) {
  const int kind = ModelKindOfFile(out);
  if (kind == kModelUnknown) {
    Complain("cannot write this kind of file: " + out + " (expected .met, .obj or .ply)");
    return kFailure;
  }
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
  return WriteScene(scene, out, kind) ? kSuccess : kFailure;
}

}  // namespace

int main(int argc, char** argv) {
  const std::vector<std::string> args(argv + 1, argv + argc);
  if (args.size() == 1 && (args[0] == "--help" || args[0] == "-h")) {
    std::fputs(kUsageText, stdout);
    return kSuccess;
  }
  if (args.size() == 2 && args[0] == "info") return Info(args[1]);
  if (args.size() == 3 && args[0] == "convert") return Convert(args[1], args[2]);
  if ((args.size() == 3 || args.size() == 4) && (args[0] == "subdivide" || args[0] == "unsubdivide")) {
    const std::optional<int> levels = ParseLevels(args);
    if (!levels) return kUsage;
    return ChangeLevels(args[1], args[2], *levels, args[0] == "unsubdivide");
  }
  if (args.empty()) Complain("no command given");
  else Complain("unknown command or wrong arguments: " + args[0]);
  std::fputs(kUsageText, stderr);
  return kUsage;
}
