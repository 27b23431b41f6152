// The GPU side of the scene: per element four buffer objects (positions,
// normals, colours, texture coordinates) and the client-array bindings that
// draw from them. The slots are kept by the element's uid, so they follow
// their element when the scene list shifts. The GL work runs in the
// viewport's context; before the viewport's GL start-up only the byte sizes
// are recorded, and the start-up uploads every element.
#pragma once

#include <array>
#include <cstdint>
#include <unordered_map>

#include "model/scene.h"

// One element's side of the renderer.
struct TElementGpuSlot {
  // Buffer names: positions, normals, colours, texture coordinates.
  std::array<uint32_t, 4> buffers{0, 0, 0, 0};
  // Byte sizes recorded at the last upload: vertices x 12, colours x 4, uvs x 8.
  int64_t vertexBytes = 0, colorBytes = 0, uvBytes = 0;
  // RGB texture image (texture size squared x 3), allocated by its user.
  AByte textureImage;
};

class PanelCentro;

class ElementBuffers : public SceneGpu {
 public:
  explicit ElementBuffers(PanelCentro& panel) : panel_(panel) {}

  // SceneGpu: the byte sizes of element i's arrays and, once the viewport has
  // its context, its buffers filled from them (names are reused).
  void UploadElementBuffers(TScene& scene, int index) override;
  void ReleaseElementBuffers(TScene& scene, int index) override;
  // Points the vertex, normal, colour and texture-coordinate arrays at the
  // element's client memory, or at offset 0 of its buffers, and enables the
  // four client states.
  void BindElementArrays(TScene& scene, int index, ArrayMode mode) override;

  // Element i's slot (made empty on first use); nullptr when there is no such element.
  TElementGpuSlot* slot(const TScene& scene, int index);
  // The same without making one.
  const TElementGpuSlot* FindSlot(const TScene& scene, int index) const;

  // These need the viewport's context current.
  // (Re)fills element i's buffers with the byte sizes of its slot.
  void FillBuffers(const TScene& scene, int index);
  // Rewrites positions, normals and colours of element i in place (Grab).
  void UpdateGeometry(const TScene& scene, int index);
  // Rewrites the listed vertices of element i in place, one range each:
  // positions (12 bytes at 12 x vertex) or colours (4 bytes at 4 x vertex).
  // Vertices beyond what the buffer holds are skipped.
  void WritePositions(const TScene& scene, int index, const ATContsel& entries);
  void WriteColors(const TScene& scene, int index, const ATContsel& entries);
  // Rewrites one vertex normal of element i.
  void WriteNormal(const TScene& scene, int index, int32_t vertex, const TGLCoord& normal);
  // Deletes every buffer of every slot.
  void DeleteAll();

 private:
  bool MakeContextCurrent();

  PanelCentro& panel_;
  std::unordered_map<uint32_t, TElementGpuSlot> slots_;  // by element uid
};
