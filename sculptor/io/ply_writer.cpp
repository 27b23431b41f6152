#include "io/ply_writer.h"

#include <algorithm>
#include <cstring>

#include "io/atomic_file.h"
#include "io/number_text.h"
#include "model/messages.h"
#include "model/topology.h"

namespace {

constexpr const char* kProductWebAddress = "https://plasmora.org";

enum class PlyContents { Full, Positions };

// Valence (its width kept as the scene's adjacency width), adjacency and the
// removal of unused vertices; the full writer builds the adjacency before the
// removal, the positions-only writer after it.
void Tidy(TScene& scene, TGeosphera& e, PlyContents contents) {
  const int width = ComputeValence(e);
  scene.adjacencyWidth = width;
  if (contents == PlyContents::Full) {
    BuildAdjacency(e, width);
    RemoveVertexUnused(e, width);
  } else {
    RemoveVertexUnused(e, width);
    BuildAdjacency(e, width);
  }
}

void WriteHeader(AtomicFileWriter& out, PlyContents contents, int64_t vertices, int64_t triangles) {
  std::string header = "ply\r\nformat ascii 1.0\r\ncomment Created by Plasmora 5.0 - ";
  header += kProductWebAddress;
  header += "\r\nelement vertex " + std::to_string(vertices) +
            "\r\nproperty float x\r\nproperty float y\r\nproperty float z\r\n";
  if (contents == PlyContents::Full)
    header +=
        "property float nx\r\nproperty float ny\r\nproperty float nz\r\n"
        "property uchar red\r\nproperty uchar green\r\nproperty uchar blue\r\n";
  header +=
      "element face " + std::to_string(triangles) + "\r\nproperty list uchar uint vertex_indices\r\nend_header\r\n";
  out.Write(header);
}

char* Floats(char* p, const TGLCoord& c) {
  p = FormatFixed10(p, c.x);
  *p++ = ' ';
  p = FormatFixed10(p, c.y);
  *p++ = ' ';
  return FormatFixed10(p, c.z);
}

// printf("%.10u"): at least ten digits, zero-padded.
char* Padded10(char* p, uint32_t value) {
  char digits[10];
  for (int i = 9; i >= 0; --i, value /= 10) digits[i] = static_cast<char>('0' + value % 10);
  std::memcpy(p, digits, 10);
  return p + 10;
}

void WriteVertices(AtomicFileWriter& out, const TGeosphera& e, size_t count, PlyContents contents) {
  for (size_t v = 0; v < count; ++v) {
    char* p = out.Room(8 * kFixed10MaxChars);
    p = Floats(p, e.vertices[v]);
    if (contents == PlyContents::Full) {
      *p++ = ' ';
      p = Floats(p, v < e.normals.size() ? e.normals[v] : TGLCoord{});
      const TRGBA c = v < e.colors.size() ? e.colors[v] : kDefaultVertexColor;
      for (uint8_t channel : {c.r, c.g, c.b}) {
        *p++ = ' ';
        p = Padded10(p, channel);
      }
    }
    *p++ = '\r';
    *p++ = '\n';
    out.Advance(p);
  }
}

void WriteFaces(AtomicFileWriter& out, const TGeosphera& e, size_t triangles) {
  for (size_t c = 0; c < 3 * triangles; c += 3) {
    char* p = out.Room(80);
    *p++ = '3';
    for (size_t k = c; k < c + 3; ++k) {
      *p++ = ' ';
      p = FormatInteger(p, e.faces[k]);
    }
    *p++ = '\r';
    *p++ = '\n';
    out.Advance(p);
  }
}

bool WritePly(TScene& scene, int elementIndex, const std::string& fileName, PlyContents contents) {
  if (elementIndex < 0 || elementIndex >= scene.elementCount()) return false;
  TGeosphera& e = scene.elements[static_cast<size_t>(elementIndex)];
  auto inUse = [](int32_t count, size_t stored) { return std::min(static_cast<size_t>(std::max(count, 0)), stored); };
  // Without triangles the tidying would remove every vertex.
  if (inUse(e.vertexCount, e.vertices.size()) == 0 || inUse(e.indexCount, e.faces.size()) < 3) {
    ShowError("Scene don't have elements to save.");
    return false;
  }
  Tidy(scene, e, contents);
  const size_t vertices = inUse(e.vertexCount, e.vertices.size());
  const size_t triangles = inUse(e.indexCount, e.faces.size()) / 3;
  AtomicFileWriter out(fileName);
  if (!out.Open()) return false;
  WriteHeader(out, contents, static_cast<int64_t>(vertices), static_cast<int64_t>(triangles));
  WriteVertices(out, e, vertices, contents);
  WriteFaces(out, e, triangles);
  return out.Commit();
}

}  // namespace

bool WritePlyFull(TScene& scene, int elementIndex, const std::string& fileName) {
  return WritePly(scene, elementIndex, fileName, PlyContents::Full);
}

bool WritePlyPositions(TScene& scene, int elementIndex, const std::string& fileName) {
  return WritePly(scene, elementIndex, fileName, PlyContents::Positions);
}
