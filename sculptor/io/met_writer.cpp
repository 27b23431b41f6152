#include "io/met_writer.h"

#include <algorithm>
#include <cstring>

#include "io/number_text.h"
#include "model/topology.h"

namespace {

char* Append(char* p, const char* text) {
  const size_t n = std::strlen(text);
  std::memcpy(p, text, n);
  return p + n;
}

}  // namespace

void WriteNumberLine(AtomicFileWriter& out, const char* prefix, int64_t value, const char* suffix) {
  char* p = out.Room(64);
  p = Append(p, prefix);
  p = FormatInteger(p, value);
  p = Append(p, suffix);
  out.Advance(p);
}

namespace {

void WriteElement(AtomicFileWriter& out, const TGeosphera& e, int64_t firstVertexNumber) {
  WriteGroupHeader(out, e);
  const size_t vertexCount = std::min(static_cast<size_t>(std::max(e.vertexCount, 0)), e.vertices.size());
  const TGLCoord center = vertexCount > 0 ? ElementCenter(e) : TGLCoord{};
  const float ce[3] = {center.x, center.y, center.z};
  WriteFloatLine(out, "ce", ce, 3);
  WriteNumberLine(out, "div ", e.subdivLevel, " \r\n");
  WriteNumberLine(out, "# ", static_cast<int64_t>(vertexCount), " vertices\r\n\r\n");
  for (size_t v = 0; v < vertexCount; ++v) {
    const float xyz[3] = {e.vertices[v].x, e.vertices[v].y, e.vertices[v].z};
    WriteFloatLine(out, "v", xyz, 3);
  }

  const size_t triangles = std::min(static_cast<size_t>(std::max(e.indexCount, 0)), e.faces.size()) / 3;
  WriteNumberLine(out, "\r\n# ", static_cast<int64_t>(triangles), " faces\r\n\r\n");
  const uint32_t* f = e.faces.data();
  for (size_t t = 0; t < triangles; ++t) {
    char* p = out.Room(80);
    *p++ = 'f';
    for (int k = 0; k < 3; ++k) {
      *p++ = ' ';
      p = FormatInteger(p, static_cast<int64_t>(f[3 * t + k]) + firstVertexNumber);
    }
    out.Advance(Append(p, "\r\n"));
  }
  for (size_t v = 0; v < vertexCount; ++v) {
    const TRGBA c = v < e.colors.size() ? e.colors[v] : kDefaultVertexColor;
    char* p = out.Room(32);
    p = Append(p, "cor ");
    p = FormatInteger(p, c.r);
    *p++ = ' ';
    p = FormatInteger(p, c.g);
    *p++ = ' ';
    p = FormatInteger(p, c.b);
    out.Advance(Append(p, "\r\n"));
  }
}

}  // namespace

void WriteModelFileHeader(AtomicFileWriter& out) { out.Write("# Created by Plasmora Beta v5.00.\r\n# \r\n\r\n"); }

void WriteNameLine(AtomicFileWriter& out, const char* keyword, const std::string& name) {
  std::string line = keyword;
  line += ' ';
  for (char c : name) line += (c == '\r' || c == '\n') ? ' ' : c;
  line += " \r\n";
  out.Write(line);
}

void WriteGroupHeader(AtomicFileWriter& out, const TGeosphera& e) {
  WriteNameLine(out, "g", e.name);
  WriteNameLine(out, "usemtl", e.name);
  out.Write("s off \r\n");
}

void WriteFloatLine(AtomicFileWriter& out, const char* keyword, const float* values, int count) {
  char* p = out.Room(16 + static_cast<size_t>(count) * (kFixed10MaxChars + 1));
  p = Append(p, keyword);
  for (int i = 0; i < count; ++i) {
    *p++ = ' ';
    p = FormatFixed10(p, values[i]);
  }
  out.Advance(Append(p, "\r\n"));
}

bool WriteMet(const TScene& scene, const std::string& fileName) {
  AtomicFileWriter out(fileName);
  if (!out.Open()) return false;
  WriteModelFileHeader(out);
  // Face numbers are file-global and 1-based: they count every vertex written before.
  int64_t firstVertexNumber = 1;
  for (const TGeosphera& e : scene.elements) {
    WriteElement(out, e, firstVertexNumber);
    firstVertexNumber += std::min(static_cast<int64_t>(std::max(e.vertexCount, 0)),
                                  static_cast<int64_t>(e.vertices.size()));
  }
  return out.Commit();
}
