#include "io/off_writer.h"

#include <algorithm>

#include "io/atomic_file.h"
#include "io/number_text.h"
#include "io/written_element.h"
#include "model/messages.h"

namespace {

// Colours worth a COFF file: some vertex differs from the grey a load gives.
bool Painted(const TGeosphera& e, size_t vertices) {
  const TRGBA grey = kDefaultVertexColor;
  return e.colors.size() >= vertices &&
         std::any_of(e.colors.begin(), e.colors.begin() + static_cast<std::ptrdiff_t>(vertices),
                     [&](const TRGBA& c) { return c.r != grey.r || c.g != grey.g || c.b != grey.b; });
}

void EndLine(char*& p) {
  *p++ = '\r';
  *p++ = '\n';
}

}  // namespace

bool WriteOff(const TScene& scene, int elementIndex, const std::string& fileName) {
  if (elementIndex < 0 || elementIndex >= scene.elementCount()) return false;
  const TGeosphera& e = scene.elements[static_cast<size_t>(elementIndex)];
  const size_t vertices = WrittenVertexCount(e), triangles = WrittenTriangleCount(e);
  if (vertices == 0 || triangles == 0) {
    ShowError("Scene don't have elements to save.");
    return false;
  }
  const bool colors = Painted(e, vertices);
  AtomicFileWriter out(fileName);
  if (!out.Open()) return false;
  out.Write(colors ? "COFF\r\n" : "OFF\r\n");
  out.Write("# Created by Plasmora 5.0\r\n");
  out.Write(std::to_string(vertices) + " " + std::to_string(triangles) + " 0\r\n");
  for (size_t v = 0; v < vertices; ++v) {
    char* p = out.Room(4 * kShortestMaxChars + 32);
    const TGLCoord& c = e.vertices[v];
    p = FormatShortest(p, c.x);
    for (float value : {c.y, c.z}) {
      *p++ = ' ';
      p = FormatShortest(p, value);
    }
    if (colors) {
      // Fractions 0..1 (they read back as the same bytes), opaque: the
      // sculptor's alpha means nothing to other programs.
      for (uint8_t channel : {e.colors[v].r, e.colors[v].g, e.colors[v].b}) {
        *p++ = ' ';
        p = FormatShortest(p, channel / 255.0f);
      }
      p = std::copy_n(" 1", 2, p);
    }
    EndLine(p);
    out.Advance(p);
  }
  for (size_t t = 0; t < triangles; ++t) {
    char* p = out.Room(80);
    *p++ = '3';
    for (size_t k = 3 * t; k < 3 * t + 3; ++k) {
      *p++ = ' ';
      p = FormatInteger(p, e.faces[k]);
    }
    EndLine(p);
    out.Advance(p);
  }
  return out.Commit();
}
