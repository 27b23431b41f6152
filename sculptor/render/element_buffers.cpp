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

bool HasSlot(const TScene& scene, int index) {
  return index >= 0 && index < scene.elementCount() && static_cast<size_t>(index) < scene.gpuSlots.size();
}

}  // namespace

void UploadSlotBuffers(TScene& scene, int index) {
  if (index < 0 || index >= scene.elementCount() ||
      static_cast<size_t>(index) >= scene.gpuSlots.size()) {
    return;
  }
  const TGeosphera& e = scene.elements[index];
  TElementGpuSlot& slot = scene.gpuSlots[index];
  // Names are kept across uploads: generating new ones each time would leak
  // the previous buffers.
  for (uint32_t& name : slot.buffers) {
    if (name == 0) glGenBuffers(1, &name);
  }
  FillBuffer(slot.buffers[kPositions], e.vertices, slot.vertexBytes);
  FillBuffer(slot.buffers[kNormals], e.normals, slot.vertexBytes);
  FillBuffer(slot.buffers[kUvs], e.uvs, slot.uvBytes);
  FillBuffer(slot.buffers[kColors], e.colors, slot.colorBytes);
  glBindBuffer(GL_ARRAY_BUFFER, 0);
}

void ReleaseSlotBuffers(TScene& scene, int index) {
  if (index < 0 || static_cast<size_t>(index) >= scene.gpuSlots.size()) return;
  for (uint32_t& name : scene.gpuSlots[index].buffers) {
    if (name != 0) glDeleteBuffers(1, &name);
    name = 0;
  }
}

void UpdateSlotGeometry(const TScene& scene, int index) {
  if (index < 0 || static_cast<size_t>(index) >= scene.gpuSlots.size()) return;
  const TGeosphera& e = scene.elements[index];
  const TElementGpuSlot& slot = scene.gpuSlots[index];
  RewriteBuffer(slot.buffers[kPositions], e.vertices, slot.vertexBytes);
  RewriteBuffer(slot.buffers[kNormals], e.normals, slot.vertexBytes);
  RewriteBuffer(slot.buffers[kColors], e.colors, slot.colorBytes);
  glBindBuffer(GL_ARRAY_BUFFER, 0);
}

void WriteSlotPositions(const TScene& scene, int index, const ATContsel& entries) {
  if (!HasSlot(scene, index)) return;
  const TElementGpuSlot& slot = scene.gpuSlots[index];
  RewriteVertices(slot.buffers[kPositions], scene.elements[index].vertices, slot.vertexBytes, entries);
}

void WriteSlotColors(const TScene& scene, int index, const ATContsel& entries) {
  if (!HasSlot(scene, index)) return;
  const TElementGpuSlot& slot = scene.gpuSlots[index];
  RewriteVertices(slot.buffers[kColors], scene.elements[index].colors, slot.colorBytes, entries);
}

void WriteSlotNormal(const TScene& scene, int index, int32_t vertex, const TGLCoord& normal) {
  if (!HasSlot(scene, index)) return;
  const TElementGpuSlot& slot = scene.gpuSlots[index];
  const int64_t offset = static_cast<int64_t>(vertex) * 12;
  if (slot.buffers[kNormals] == 0 || vertex < 0 || offset + 12 > slot.vertexBytes) return;
  glBindBuffer(GL_ARRAY_BUFFER, slot.buffers[kNormals]);
  glBufferSubData(GL_ARRAY_BUFFER, offset, 12, &normal);
  glBindBuffer(GL_ARRAY_BUFFER, 0);
}

void BindSlotArrays(const TScene& scene, int index, ArrayMode mode) {
  if (index < 0 || index >= scene.elementCount()) return;
  const TGeosphera& e = scene.elements[index];
  glEnableClientState(GL_VERTEX_ARRAY);
  glEnableClientState(GL_NORMAL_ARRAY);
  glEnableClientState(GL_COLOR_ARRAY);
  glEnableClientState(GL_TEXTURE_COORD_ARRAY);
  const bool fromBuffers =
      mode == ArrayMode::Buffers && static_cast<size_t>(index) < scene.gpuSlots.size();
  if (!fromBuffers) {
    glBindBuffer(GL_ARRAY_BUFFER, 0);
    glVertexPointer(3, GL_FLOAT, 12, e.vertices.data());
    glNormalPointer(GL_FLOAT, 12, e.normals.data());
    glColorPointer(4, GL_UNSIGNED_BYTE, 0, e.colors.data());
    glTexCoordPointer(2, GL_FLOAT, 8, e.uvs.data());
    return;
  }
  const auto& buffers = scene.gpuSlots[index].buffers;
  glBindBuffer(GL_ARRAY_BUFFER, buffers[kPositions]);
  glVertexPointer(3, GL_FLOAT, 12, nullptr);
  glBindBuffer(GL_ARRAY_BUFFER, buffers[kNormals]);
  glNormalPointer(GL_FLOAT, 12, nullptr);
  glBindBuffer(GL_ARRAY_BUFFER, buffers[kColors]);
  glColorPointer(4, GL_UNSIGNED_BYTE, 0, nullptr);
  glBindBuffer(GL_ARRAY_BUFFER, buffers[kUvs]);
  glTexCoordPointer(2, GL_FLOAT, 8, nullptr);
  glBindBuffer(GL_ARRAY_BUFFER, 0);
}

void DeleteSceneBuffers(TScene& scene) {
  for (int i = 0; i < static_cast<int>(scene.gpuSlots.size()); ++i) ReleaseSlotBuffers(scene, i);
}

// Before the viewport's GL start-up there is no context; start-up uploads
// every element then.
void ElementBufferHost::UploadElementBuffers(TScene& scene, int index) {
  if (panel_.context() == nullptr) return;
  panel_.makeCurrent();
  UploadSlotBuffers(scene, index);
}

void ElementBufferHost::ReleaseElementBuffers(TScene& scene, int index) {
  if (panel_.context() == nullptr) return;
  panel_.makeCurrent();
  ReleaseSlotBuffers(scene, index);
}

void ElementBufferHost::BindElementArrays(TScene& scene, int index, ArrayMode mode) {
  if (panel_.context() == nullptr) return;
  panel_.makeCurrent();
  BindSlotArrays(scene, index, mode);
}
