// What the model file targets share: a reader's result goes through the
// conversion into a scene as every load of the program does, and what it
// yields is checked.
#pragma once

#include <cmath>
#include <string_view>

#include "fuzz_target.h"
#include "io/model_conversion.h"
#include "model/messages.h"

// Messages of the code under test go nowhere (and every question is answered No).
class QuietMessages : public MessageSink {
 public:
  QuietMessages() { SetMessageSink(this); }
  MessageAnswer Show(MessageKind, const std::string&, MessageButtons) override { return MessageAnswer::No; }
};

inline void SilenceMessages() { static QuietMessages quiet; }

// Every element's arrays hold its counts, its triangles name its own vertices,
// and its positions are finite numbers.
inline void CheckScene(const TScene& scene) {
  for (const TGeosphera& e : scene.elements) {
    FUZZ_CHECK(e.vertexCount >= 0 && e.indexCount >= 0 && e.indexCount % 3 == 0);
    FUZZ_CHECK(e.vertices.size() >= static_cast<size_t>(e.vertexCount));
    FUZZ_CHECK(e.faces.size() == static_cast<size_t>(e.indexCount));
    for (uint32_t v : e.faces) FUZZ_CHECK(v < static_cast<uint32_t>(e.vertexCount));
    for (int32_t v = 0; v < e.vertexCount; ++v) {
      const TGLCoord& p = e.vertices[static_cast<size_t>(v)];
      FUZZ_CHECK(std::isfinite(p.x) && std::isfinite(p.y) && std::isfinite(p.z));
    }
  }
}

// Reads `text` with `parse` (a reader's in-memory form) and converts the
// result into a fresh scene as format `kind`.
template <typename Parse>
int ReadAndConvert(std::string_view text, int kind, Parse parse) {
  SilenceMessages();
  TOBJModel model;
  parse(model, text);
  TScene scene;
  ResetScene(scene);
  if (ConvertIntoScene(scene, model, "fuzz", kind, 1.0f)) CheckScene(scene);
  return 0;
}
