#include "render/texture_space.h"

#include <algorithm>
#include <span>
#include <vector>

namespace {

constexpr float kOutlineWidth = 5;

// Corner positions in texels (two floats each) and colours of the drawable
// triangles of one element.
struct TextureSpaceTriangles {
  std::vector<float> positions;
  std::vector<TRGBA> colors;
};

TextureSpaceTriangles TrianglesOf(const TGeosphera& e, int size) {
  TextureSpaceTriangles out;
  const size_t corners = std::min(static_cast<size_t>(std::max(e.indexCount, 0)), e.faces.size()) / 3 * 3;
  const std::span<const uint32_t> uvIndex =
      e.uvFaces.empty() ? std::span<const uint32_t>(e.faces) : std::span<const uint32_t>(e.uvFaces);
  if (uvIndex.size() < corners) return out;
  const size_t vertices = std::min(e.colors.size(), static_cast<size_t>(std::max(e.vertexCount, 0)));
  out.positions.reserve(corners * 2);
  out.colors.reserve(corners);
  const auto usable = [&](size_t c) { return e.faces[c] < vertices && uvIndex[c] < e.uvs.size(); };
  for (size_t t = 0; t < corners; t += 3) {
    if (!usable(t) || !usable(t + 1) || !usable(t + 2)) continue;
    for (size_t c = t; c < t + 3; ++c) {
      const TGLUV& uv = e.uvs[uvIndex[c]];
      out.positions.push_back(static_cast<float>(size) * uv.u);
      out.positions.push_back(static_cast<float>(size) * uv.v);
      out.colors.push_back(e.colors[e.faces[c]]);
    }
  }
  return out;
}

void DrawCorners(const TextureSpaceTriangles& triangles, GLenum mode) {
  glVertexPointer(2, GL_FLOAT, 0, triangles.positions.data());
  glColorPointer(4, GL_UNSIGNED_BYTE, 0, triangles.colors.data());
  glDrawArrays(mode, 0, static_cast<GLsizei>(triangles.colors.size()));
}

}  // namespace

void DrawSceneInTextureSpace(const TScene& scene, int size) {
  glDisable(GL_LIGHTING);
  glDisable(GL_DEPTH_TEST);
  glDisable(GL_CULL_FACE);  // charts turned to face the axis may lie mirrored
  glDisable(GL_TEXTURE_2D);
  glDisable(GL_BLEND);
  glBindBuffer(GL_ARRAY_BUFFER, 0);
  glEnableClientState(GL_VERTEX_ARRAY);
  glEnableClientState(GL_COLOR_ARRAY);
  glDisableClientState(GL_NORMAL_ARRAY);
  glDisableClientState(GL_TEXTURE_COORD_ARRAY);
  for (const TGeosphera& e : scene.elements) {
    const TextureSpaceTriangles triangles = TrianglesOf(e, size);
    if (triangles.colors.empty()) continue;
    glEnable(GL_LINE_SMOOTH);
    glHint(GL_LINE_SMOOTH_HINT, GL_NICEST);
    glPolygonMode(GL_FRONT_AND_BACK, GL_LINE);
    glLineWidth(kOutlineWidth);
    DrawCorners(triangles, GL_TRIANGLES);
    glDisable(GL_LINE_SMOOTH);
    glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
    glLineWidth(1);
    // Outlines end at the corners: at a sharp corner the texel that samples
    // the vertex may lie beyond them. Squares of the outline's width cover it.
    glPointSize(kOutlineWidth);
    DrawCorners(triangles, GL_POINTS);
    glPointSize(1);
    DrawCorners(triangles, GL_TRIANGLES);
  }
  glDisableClientState(GL_COLOR_ARRAY);
  glDisableClientState(GL_VERTEX_ARRAY);
}

void DrawTextureOverPanel(GLuint texture, int size) {
  glDisable(GL_LIGHTING);
  glDisable(GL_DEPTH_TEST);
  glDisable(GL_CULL_FACE);
  glEnable(GL_BLEND);
  glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
  glEnable(GL_TEXTURE_2D);
  glBindTexture(GL_TEXTURE_2D, texture);
  glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_REPLACE);
  const float s = static_cast<float>(size);
  glBegin(GL_QUADS);
  glTexCoord2f(0, 0);
  glVertex2f(0, 0);
  glTexCoord2f(1, 0);
  glVertex2f(s, 0);
  glTexCoord2f(1, 1);
  glVertex2f(s, s);
  glTexCoord2f(0, 1);
  glVertex2f(0, s);
  glEnd();
  glBindTexture(GL_TEXTURE_2D, 0);
  glDisable(GL_TEXTURE_2D);
  glDisable(GL_BLEND);
}

void DrawImageOverPanel(const uint8_t* rgb, int side, int size) {
  GLuint texture = 0;
  glGenTextures(1, &texture);
  glBindTexture(GL_TEXTURE_2D, texture);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
  glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
  glTexImage2D(GL_TEXTURE_2D, 0, GL_RGB, side, side, 0, GL_RGB, GL_UNSIGNED_BYTE, rgb);
  DrawTextureOverPanel(texture, size);
  glDeleteTextures(1, &texture);
}
