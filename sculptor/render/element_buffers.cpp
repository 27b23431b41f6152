#include "render/element_buffers.h"

#include <GL/gl.h>
#include <GL/glext.h>

#include <algorithm>

#include "render/panel_centro.h"

namespace {

enum SlotBuffer { kPositions = 0, kNormals = 1, kColors = 2, kUvs = 3 };

// The first `bytes` of `data` (never more than it holds) into buffer `name`.
template <typename T>
void FillBuffer(uint32_t name, const std::vector<T>& data, int64_t bytes) {
  bytes = std::min(bytes, static_cast<int64_t>(data.size() * sizeof(T)));
  glBindBuffer(GL_ARRAY_BUFFER, name);
  glBufferData(GL_ARRAY_BUFFER, bytes, bytes > 0 ? data.data() : nullptr, GL_DYNAMIC_DRAW);
}

template <typename T>
void RewriteBuffer(uint32_t name, const std::vector<T>& data, int64_t bytes) {
  bytes = std::min(bytes, static_cast<int64_t>(data.size() * sizeof(T)));
  if (name == 0 || bytes <= 0) return;
  glBindBuffer(GL_ARRAY_BUFFER, name);
  glBufferSubData(GL_ARRAY_BUFFER, 0, bytes, data.data());
}

// One sub-range per listed vertex of `data` into buffer `name`.
template <typename T>
void RewriteVertices(uint32_t name, const std::vector<T>& data, int64_t bytes, const ATContsel& entries) {
  bytes = std::min(bytes, static_cast<int64_t>(data.size() * sizeof(T)));
  if (name == 0) return;
  glBindBuffer(GL_ARRAY_BUFFER, name);
  constexpr int64_t kSize = sizeof(T);
  for (const TContsel& entry : entries) {
    const int64_t offset = static_cast<int64_t>(entry.vertex) * kSize;
    if (entry.vertex < 0 || offset + kSize > bytes) continue;
    glBufferSubData(GL_ARRAY_BUFFER, offset, kSize, &data[static_cast<size_t>(entry.vertex)]);
  }
  glBindBuffer(GL_ARRAY_BUFFER, 0);
}

bool HasElement(const TScene& scene, int index) { return index >= 0 && index < scene.elementCount(); }

// The byte sizes of the element's arrays, never more than they hold, so an
// upload cannot read past them.
void RecordSizes(const TGeosphera& e, TElementGpuSlot& slot) {
  const size_t count = static_cast<size_t>(std::max(e.vertexCount, 0));
  const size_t positions = std::min({count, e.vertices.size(), e.normals.size()});
  slot.vertexBytes = static_cast<int64_t>(positions * sizeof(TGLCoord));
  slot.colorBytes = static_cast<int64_t>(std::min(count, e.colors.size()) * sizeof(TRGBA));
  slot.uvBytes = static_cast<int64_t>(e.uvs.size() * sizeof(TGLUV));
}

}  // namespace

TElementGpuSlot* ElementBuffers::slot(const TScene& scene, int index) {
  if (!HasElement(scene, index)) return nullptr;
  return &slots_[scene.elements[static_cast<size_t>(index)].uid];
}

const TElementGpuSlot* ElementBuffers::FindSlot(const TScene& scene, int index) const {
  if (!HasElement(scene, index)) return nullptr;
  const auto it = slots_.find(scene.elements[static_cast<size_t>(index)].uid);
  return it == slots_.end() ? nullptr : &it->second;
}

bool ElementBuffers::MakeContextCurrent() {
  if (panel_.context() == nullptr) return false;
  panel_.makeCurrent();
  return true;
}

void ElementBuffers::UploadElementBuffers(TScene& scene, int index) {
  TElementGpuSlot* s = slot(scene, index);
  if (s == nullptr) return;
  RecordSizes(scene.elements[static_cast<size_t>(index)], *s);
  if (MakeContextCurrent()) FillBuffers(scene, index);
}

void ElementBuffers::ReleaseElementBuffers(TScene& scene, int index) {
  if (!HasElement(scene, index)) return;
  const auto it = slots_.find(scene.elements[static_cast<size_t>(index)].uid);
  if (it == slots_.end()) return;
  if (MakeContextCurrent()) {
    for (uint32_t& name : it->second.buffers) {
      if (name != 0) glDeleteBuffers(1, &name);
    }
  }
  slots_.erase(it);
}

void ElementBuffers::BindElementArrays(TScene& scene, int index, ArrayMode mode) {
  if (!HasElement(scene, index) || !MakeContextCurrent()) return;
  const TGeosphera& e = scene.elements[static_cast<size_t>(index)];
  glEnableClientState(GL_VERTEX_ARRAY);
  glEnableClientState(GL_NORMAL_ARRAY);
  glEnableClientState(GL_COLOR_ARRAY);
  glEnableClientState(GL_TEXTURE_COORD_ARRAY);
  const TElementGpuSlot* s = FindSlot(scene, index);
  if (mode != ArrayMode::Buffers || s == nullptr) {
    glBindBuffer(GL_ARRAY_BUFFER, 0);
    glVertexPointer(3, GL_FLOAT, 12, e.vertices.data());
    glNormalPointer(GL_FLOAT, 12, e.normals.data());
    glColorPointer(4, GL_UNSIGNED_BYTE, 0, e.colors.data());
    glTexCoordPointer(2, GL_FLOAT, 8, e.uvs.data());
    return;
  }
  glBindBuffer(GL_ARRAY_BUFFER, s->buffers[kPositions]);
  glVertexPointer(3, GL_FLOAT, 12, nullptr);
  glBindBuffer(GL_ARRAY_BUFFER, s->buffers[kNormals]);
  glNormalPointer(GL_FLOAT, 12, nullptr);
  glBindBuffer(GL_ARRAY_BUFFER, s->buffers[kColors]);
  glColorPointer(4, GL_UNSIGNED_BYTE, 0, nullptr);
  glBindBuffer(GL_ARRAY_BUFFER, s->buffers[kUvs]);
  glTexCoordPointer(2, GL_FLOAT, 8, nullptr);
  glBindBuffer(GL_ARRAY_BUFFER, 0);
}

void ElementBuffers::FillBuffers(const TScene& scene, int index) {
  TElementGpuSlot* s = slot(scene, index);
  if (s == nullptr) return;
  const TGeosphera& e = scene.elements[static_cast<size_t>(index)];
  // Names are kept across uploads: generating new ones each time would leak
  // the previous buffers.
  for (uint32_t& name : s->buffers) {
    if (name == 0) glGenBuffers(1, &name);
  }
  FillBuffer(s->buffers[kPositions], e.vertices, s->vertexBytes);
  FillBuffer(s->buffers[kNormals], e.normals, s->vertexBytes);
  FillBuffer(s->buffers[kUvs], e.uvs, s->uvBytes);
  FillBuffer(s->buffers[kColors], e.colors, s->colorBytes);
  glBindBuffer(GL_ARRAY_BUFFER, 0);
}

void ElementBuffers::UpdateGeometry(const TScene& scene, int index) {
  const TElementGpuSlot* s = FindSlot(scene, index);
  if (s == nullptr) return;
  const TGeosphera& e = scene.elements[static_cast<size_t>(index)];
  RewriteBuffer(s->buffers[kPositions], e.vertices, s->vertexBytes);
  RewriteBuffer(s->buffers[kNormals], e.normals, s->vertexBytes);
  RewriteBuffer(s->buffers[kColors], e.colors, s->colorBytes);
  glBindBuffer(GL_ARRAY_BUFFER, 0);
}

void ElementBuffers::WritePositions(const TScene& scene, int index, const ATContsel& entries) {
  const TElementGpuSlot* s = FindSlot(scene, index);
  if (s == nullptr) return;
  RewriteVertices(s->buffers[kPositions], scene.elements[static_cast<size_t>(index)].vertices, s->vertexBytes, entries);
}

void ElementBuffers::WriteColors(const TScene& scene, int index, const ATContsel& entries) {
  const TElementGpuSlot* s = FindSlot(scene, index);
  if (s == nullptr) return;
  RewriteVertices(s->buffers[kColors], scene.elements[static_cast<size_t>(index)].colors, s->colorBytes, entries);
}

void ElementBuffers::WriteNormal(const TScene& scene, int index, int32_t vertex, const TGLCoord& normal) {
  const TElementGpuSlot* s = FindSlot(scene, index);
  const int64_t offset = static_cast<int64_t>(vertex) * 12;
  if (s == nullptr || s->buffers[kNormals] == 0 || vertex < 0 || offset + 12 > s->vertexBytes) return;
  glBindBuffer(GL_ARRAY_BUFFER, s->buffers[kNormals]);
  glBufferSubData(GL_ARRAY_BUFFER, offset, 12, &normal);
  glBindBuffer(GL_ARRAY_BUFFER, 0);
}

void ElementBuffers::DeleteAll() {
  for (auto& [uid, s] : slots_) {
    for (uint32_t& name : s.buffers) {
      if (name != 0) glDeleteBuffers(1, &name);
      name = 0;
    }
  }
  slots_.clear();
}
