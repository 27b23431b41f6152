// info FILE: the elements of a model file.
#include <algorithm>
#include <charconv>
#include <cstdio>

#include "cli.h"

namespace {

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

}  // namespace

int RunInfo(const std::vector<std::string>& arguments) {
  const std::string& fileName = arguments[0];
  TScene scene;
  if (!LoadScene(fileName, scene)) return kFailure;
  std::printf("%s: %d element%s\n", fileName.c_str(), scene.elementCount(), scene.elementCount() == 1 ? "" : "s");
  for (int i = 0; i < scene.elementCount(); ++i) PrintElement(i, scene.elements[static_cast<size_t>(i)]);
  return kSuccess;
}
