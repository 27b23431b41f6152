// The GPU side of the scene: one set of four buffer objects per element slot
// (positions, normals, colours, texture coordinates) and the client-array
// bindings that draw from them. Needs a current GL context.
#pragma once

#include "model/scene.h"

// (Re)fills slot i's four buffers from element i with the byte sizes the
// scene recorded in the slot (UploadElementBuffers of the scene records them
// and then asks its host); buffer names are reused across uploads.
void UploadSlotBuffers(TScene& scene, int index);
// Deletes slot i's buffers.
void ReleaseSlotBuffers(TScene& scene, int index);
// Points the vertex, normal, colour and texture-coordinate arrays at the
// element's client memory, or at offset 0 of the element's buffers, and
// enables the four client states.
void BindSlotArrays(const TScene& scene, int index, ArrayMode mode);
// Rewrites positions, normals and colours of slot i in place (strokes).
void UpdateSlotGeometry(const TScene& scene, int index);
// Rewrites the listed vertices of slot i in place, one range each: positions
// (12 bytes at 12 x vertex) or colours (4 bytes at 4 x vertex). Vertices
// beyond what the buffer holds are skipped.
void WriteSlotPositions(const TScene& scene, int index, const ATContsel& entries);
void WriteSlotColors(const TScene& scene, int index, const ATContsel& entries);
// Rewrites one vertex normal of slot i.
void WriteSlotNormal(const TScene& scene, int index, int32_t vertex, const TGLCoord& normal);
// Deletes every buffer of the scene's slots.
void DeleteSceneBuffers(TScene& scene);

class PanelCentro;

// SceneHost whose GPU steps run in the viewport's context. The window derives
// from it and adds its own view hooks.
class ElementBufferHost : public SceneHost {
 public:
  explicit ElementBufferHost(PanelCentro& panel) : panel_(panel) {}
  void UploadElementBuffers(TScene& scene, int index) override;
  void ReleaseElementBuffers(TScene& scene, int index) override;
  void BindElementArrays(TScene& scene, int index, ArrayMode mode) override;

 protected:
  PanelCentro& panel_;
};
