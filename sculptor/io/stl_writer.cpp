#include "io/stl_writer.h"

#include <bit>
#include <cmath>
#include <cstring>
#include <string_view>

#include "io/atomic_file.h"
#include "io/number_text.h"
#include "io/written_element.h"
#include "model/messages.h"
#include "model/topology.h"

namespace {

// The element to write, or nullptr after the message.
const TGeosphera* WritableElement(const TScene& scene, int elementIndex) {
  if (elementIndex < 0 || elementIndex >= scene.elementCount()) return nullptr;
  const TGeosphera& e = scene.elements[static_cast<size_t>(elementIndex)];
  if (WrittenVertexCount(e) == 0 || WrittenTriangleCount(e) == 0) {
    ShowError("Scene don't have elements to save.");
    return nullptr;
  }
  return &e;
}

struct Triangle {
  TGLCoord corner[3];
  TGLCoord normal;  // (0, 0, 0) for a degenerate triangle
};

// Triangle t of the element; a corner whose vertex the element lacks is at the origin.
Triangle TriangleOf(const TGeosphera& e, size_t t) {
  const size_t vertices = WrittenVertexCount(e);
  Triangle tri;
  for (int k = 0; k < 3; ++k) {
    const uint32_t v = e.faces[3 * t + static_cast<size_t>(k)];
    tri.corner[k] = v < vertices ? e.vertices[v] : TGLCoord{};
  }
  tri.normal = FaceNormal(tri.corner[0], tri.corner[1], tri.corner[2]);
  if (!std::isfinite(tri.normal.x) || !std::isfinite(tri.normal.y) || !std::isfinite(tri.normal.z)) tri.normal = {};
  return tri;
}

char* Coordinates(char* p, const TGLCoord& c) {
  for (float value : {c.x, c.y, c.z}) {
    *p++ = ' ';
    p = FormatShortest(p, value);
  }
  return p;
}

}  // namespace

bool WriteStlBinary(const TScene& scene, int elementIndex, const std::string& fileName) {
  static_assert(std::endian::native == std::endian::little, "STL files are little-endian");
  const TGeosphera* e = WritableElement(scene, elementIndex);
  if (e == nullptr) return false;
  const size_t triangles = WrittenTriangleCount(*e);
  AtomicFileWriter out(fileName);
  if (!out.Open()) return false;
  char header[84] = "Created by Plasmora 5.0";
  const uint32_t count = static_cast<uint32_t>(triangles);
  std::memcpy(header + 80, &count, 4);
  out.Write({header, sizeof header});
  for (size_t t = 0; t < triangles; ++t) {
    const Triangle tri = TriangleOf(*e, t);
    char record[50] = {};  // the attribute bytes stay 0
    std::memcpy(record, &tri.normal, 12);
    std::memcpy(record + 12, tri.corner, 36);
    out.Write({record, sizeof record});
  }
  return out.Commit();
}

bool WriteStlAscii(const TScene& scene, int elementIndex, const std::string& fileName) {
  const TGeosphera* e = WritableElement(scene, elementIndex);
  if (e == nullptr) return false;
  // The name ends the "solid" line: line breaks in it become blanks.
  std::string name = e->name;
  for (char& c : name)
    if (c == '\r' || c == '\n') c = ' ';
  AtomicFileWriter out(fileName);
  if (!out.Open()) return false;
  out.Write("solid " + name + "\r\n");
  const size_t triangles = WrittenTriangleCount(*e);
  for (size_t t = 0; t < triangles; ++t) {
    const Triangle tri = TriangleOf(*e, t);
    char* p = out.Room(512);  // a facet takes at most 300 bytes
    const auto text = [&p](std::string_view s) {
      std::memcpy(p, s.data(), s.size());
      p += s.size();
    };
    text("facet normal");
    p = Coordinates(p, tri.normal);
    text("\r\n  outer loop\r\n");
    for (const TGLCoord& corner : tri.corner) {
      text("    vertex");
      p = Coordinates(p, corner);
      text("\r\n");
    }
    text("  endloop\r\nendfacet\r\n");
    out.Advance(p);
  }
  out.Write("endsolid " + name + "\r\n");
  return out.Commit();
}
