#include "io/obj_materials.h"

#include <algorithm>

#include "io/met_writer.h"
#include "io/written_element.h"

namespace {

// The file name without its extension (a dot in a folder name is no extension).
std::string WithoutExtension(const std::string& path) {
  const size_t slash = path.find_last_of('/');
  const size_t dot = path.find_last_of('.');
  const bool hasExtension = dot != std::string::npos && (slash == std::string::npos || dot > slash);
  return hasExtension ? path.substr(0, dot) : path;
}

}  // namespace

const uint32_t* ObjTextureReferences(const TGeosphera& e, size_t corners) {
  if (e.uvs.empty()) return nullptr;
  const Tfaces& refs = e.uvFaces.empty() ? e.faces : e.uvFaces;
  if (refs.size() < corners) return nullptr;
  const bool valid = std::all_of(refs.begin(), refs.begin() + static_cast<std::ptrdiff_t>(corners),
                                 [&](uint32_t t) { return t < e.uvs.size(); });
  return valid ? refs.data() : nullptr;
}

bool HasObjTexture(const TGeosphera& e) {
  return e.hasTextureImage != 0 && ObjTextureReferences(e, 3 * WrittenTriangleCount(e)) != nullptr;
}

std::string MaterialLibraryPath(const std::string& objFileName) { return WithoutExtension(objFileName) + ".mtl"; }

std::string TextureImagePath(const std::string& objFileName, size_t index) {
  return WithoutExtension(objFileName) + "_" + std::to_string(index) + ".png";
}

std::string FileNamePart(const std::string& path) {
  const size_t slash = path.find_last_of('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

bool WriteMaterialLibrary(const TScene& scene, const std::string& objFileName) {
  AtomicFileWriter out(MaterialLibraryPath(objFileName));
  if (!out.Open()) return false;
  WriteModelFileHeader(out);
  for (size_t i = 0; i < scene.elements.size(); ++i) {
    const TGeosphera& e = scene.elements[i];
    if (!HasObjTexture(e)) continue;
    WriteNameLine(out, "newmtl", e.name);
    out.Write("Ka 1.000000 1.000000 1.000000\r\nKd 1.000000 1.000000 1.000000\r\nillum 1\r\n");
    out.Write("map_Kd " + FileNamePart(TextureImagePath(objFileName, i)) + "\r\n\r\n");
  }
  return out.Commit();
}
