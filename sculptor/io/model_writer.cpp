#include "io/model_writer.h"

#include <sys/stat.h>

#include <algorithm>
#include <cctype>
#include <cstdint>

#include "io/written_element.h"
#include "model/messages.h"

namespace {

bool EndsWithIgnoringCase(const std::string& text, const std::string& suffix) {
  if (text.size() < suffix.size()) return false;
  return std::equal(suffix.begin(), suffix.end(), text.end() - static_cast<std::ptrdiff_t>(suffix.size()),
                    [](char a, char b) { return std::tolower(static_cast<unsigned char>(a)) == std::tolower(static_cast<unsigned char>(b)); });
}

bool FileExists(const std::string& name) {
  struct stat info {};
  return stat(name.c_str(), &info) == 0;
}

}  // namespace

bool WriteModel(TScene& scene, const std::string& fileName, int kind) {
  const TModelFormat* format = FindModelFormat(kind);
  if (format != nullptr && format->write != nullptr && !format->wholeScene) return format->write(scene, fileName);
  if (scene.elements.empty() || scene.elements[0].vertexCount <= 0) {
    ShowError("Scene don't have elements to save.");
    return false;
  }
  if (format == nullptr || format->write == nullptr) {
    ShowError("Unknown model file format.");
    return false;
  }
  if (!format->write(scene, fileName)) return false;
  for (TGeosphera& e : scene.elements) e.position = {};
  return true;
}

bool MergeElements(const TScene& scene, TGeosphera& merged) {
  size_t vertices = 0, corners = 0;
  for (const TGeosphera& e : scene.elements) {
    vertices += WrittenVertexCount(e);
    corners += 3 * WrittenTriangleCount(e);
  }
  if (vertices > static_cast<size_t>(INT32_MAX) || corners > static_cast<size_t>(INT32_MAX)) {
    ShowError("The elements hold more vertices or triangles together than one mesh can.");
    return false;
  }
  merged = TGeosphera{};
  if (!scene.elements.empty()) merged.name = scene.elements[0].name;
  merged.vertices.reserve(vertices);
  merged.normals.reserve(vertices);
  merged.colors.reserve(vertices);
  merged.faces.reserve(corners);
  for (const TGeosphera& e : scene.elements) {
    const size_t n = WrittenVertexCount(e), first = merged.vertices.size();
    for (size_t v = 0; v < n; ++v) {
      merged.vertices.push_back(e.vertices[v]);
      merged.normals.push_back(v < e.normals.size() ? e.normals[v] : TGLCoord{});
      merged.colors.push_back(v < e.colors.size() ? e.colors[v] : kDefaultVertexColor);
    }
    for (size_t c = 0; c < 3 * WrittenTriangleCount(e); ++c)
      merged.faces.push_back(static_cast<uint32_t>(first + e.faces[c]));
  }
  merged.vertexState.assign(vertices, kVertexFree);
  merged.vertexCount = static_cast<int32_t>(vertices);
  merged.indexCount = static_cast<int32_t>(corners);
  return true;
}

bool SaveSceneAs(TScene& scene, std::string chosenName) {
  if (chosenName.empty()) return false;
  const TModelFormat& native = NativeModelFormat();
  if (!EndsWithIgnoringCase(chosenName, native.extension)) chosenName += native.extension;
  if (FileExists(chosenName) &&
      AskConfirmation("The file " + chosenName + " already exists, do you want to replace?") != MessageAnswer::Yes)
    return false;
  return WriteModel(scene, chosenName, native.kind);
}
