// Element editing on a 1.3M-triangle element: one Rotate drag step (the turn
// of every vertex and the normal refresh of one mouse move), one Dimension
// step, a Detach of half the element and a Unification of two such elements.
#include "bench_util.h"
#include "mesh_shapes.h"
#include "model/scene.h"
#include "model/topology.h"
#include "sculpt/element_editing.h"
#include "sculpt/element_transform.h"

namespace {

// 20 x 4^8 = 1.3M triangles, 655k vertices, ready for editing.
TGeosphera MakeInput() {
  TGeosphera e = MakeGeodesicSphere(8, 2.5f);
  RefreshElement(e);
  e.center = ElementCenter(e);
  return e;
}

TScene SceneOf(int copies) {
  TScene scene;
  ResetScene(scene);
  scene.elements[0] = MakeInput();
  for (int i = 1; i < copies; ++i) scene.elements[static_cast<size_t>(AppendElement(scene))] = scene.elements[0];
  return scene;
}

}  // namespace

int main() {
  TGeosphera e = MakeInput();
  bench::Report("rotate step, 1.3M triangles", bench::BestMs(5, [&] {
                  e.rotation = HandleRotationStep(0, -5, 0);
                  ApplyRotationStep(e);
                }), "ms");
  bench::Report("dimension step, 1.3M triangles", bench::BestMs(5, [&] { ApplyScaleStep(e, true); }), "ms");

  double detachMs = 1e300, unifyMs = 1e300;
  for (int run = 0; run < 3; ++run) {
    TScene scene = SceneOf(1);
    TGeosphera& source = scene.elements[0];
    for (size_t v = 0; v < source.vertices.size(); ++v) {
      if (source.vertices[v].y > 0) source.vertexState[v] = kVertexFrozen;
    }
    detachMs = std::min(detachMs, bench::BestMs(1, [&] { DetachSelection(scene, 0, false); }));
    TScene pair = SceneOf(2);
    unifyMs = std::min(unifyMs, bench::BestMs(1, [&] { UnifyElements(pair); }));
  }
  bench::Report("detach half of 1.3M triangles", detachMs, "ms");
  bench::Report("unification of 2 x 1.3M triangles", unifyMs, "ms");
  return 0;
}
