#include "io/obj_writer.h"

#include <algorithm>
#include <cstring>

#include "io/met_writer.h"
#include "io/number_text.h"
#include "io/obj_materials.h"
#include "io/written_element.h"

namespace {

// One face corner: "v/t/n", or "v//n" without texture numbers.
char* Corner(char* p, int64_t vertexNumber, const int64_t* textureNumber) {
  p = FormatInteger(p, vertexNumber);
  *p++ = '/';
  if (textureNumber) p = FormatInteger(p, *textureNumber);
  *p++ = '/';
  return FormatInteger(p, vertexNumber);
}

void WriteFaces(AtomicFileWriter& out, const TGeosphera& e, int64_t firstVertexNumber, int64_t firstTextureNumber) {
  const size_t triangles = WrittenTriangleCount(e);
  WriteNumberLine(out, "\r\n# ", static_cast<int64_t>(triangles), " faces\r\n\r\n");
  const uint32_t* textures = ObjTextureReferences(e, 3 * triangles);
  for (size_t c = 0; c < 3 * triangles; c += 3) {
    char* p = out.Room(128);
    *p++ = 'f';
    for (size_t k = c; k < c + 3; ++k) {
      *p++ = ' ';
      const int64_t texture = textures ? textures[k] + firstTextureNumber : 0;
      p = Corner(p, e.faces[k] + firstVertexNumber, textures ? &texture : nullptr);
    }
    *p++ = '\r';
    *p++ = '\n';
    out.Advance(p);
  }
}

void WriteElement(AtomicFileWriter& out, const TGeosphera& e, int64_t firstVertexNumber, int64_t firstTextureNumber) {
  WriteGroupHeader(out, e);
  const size_t vertexCount = WrittenVertexCount(e);
  WriteNumberLine(out, "# ", static_cast<int64_t>(vertexCount), " vertices\r\n\r\n");
  for (size_t v = 0; v < vertexCount; ++v) {
    const float xyz[3] = {e.vertices[v].x, e.vertices[v].y, e.vertices[v].z};
    WriteFloatLine(out, "v", xyz, 3);
  }
  WriteNumberLine(out, "\r\n# ", static_cast<int64_t>(e.uvs.size()), " vertex textures\r\n\r\n\r\n");
  for (const TGLUV& uv : e.uvs) {
    const float tex[2] = {uv.u, uv.v};
    WriteFloatLine(out, "vt", tex, 2);
  }
  WriteNumberLine(out, "\r\n# ", static_cast<int64_t>(vertexCount), " vertex normals\r\n\r\n");
  for (size_t v = 0; v < vertexCount; ++v) {
    const TGLCoord n = v < e.normals.size() ? e.normals[v] : TGLCoord{};
    const float xyz[3] = {n.x, n.y, n.z};
    WriteFloatLine(out, "vn", xyz, 3);
  }
  WriteFaces(out, e, firstVertexNumber, firstTextureNumber);
}

}  // namespace

bool WriteObj(const TScene& scene, const std::string& fileName) {
  AtomicFileWriter out(fileName);
  if (!out.Open()) return false;
  WriteModelFileHeader(out);
  // Painted elements bring their material library (written by whoever holds
  // their texture images).
  if (std::any_of(scene.elements.begin(), scene.elements.end(), HasObjTexture)) {
    out.Write("mtllib " + FileNamePart(MaterialLibraryPath(fileName)) + "\r\n");
  }
  // Vertex, normal and texture numbers are 1-based and count everything written before.
  int64_t firstVertexNumber = 1, firstTextureNumber = 1;
  for (const TGeosphera& e : scene.elements) {
    WriteElement(out, e, firstVertexNumber, firstTextureNumber);
    firstVertexNumber += static_cast<int64_t>(WrittenVertexCount(e));
    firstTextureNumber += static_cast<int64_t>(e.uvs.size());
  }
  return out.Commit();
}
