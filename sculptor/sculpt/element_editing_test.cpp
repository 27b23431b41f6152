#include "sculpt/element_editing.h"

#include <gtest/gtest.h>

#include "mesh_shapes.h"
#include "model/test_meshes.h"
#include "model/test_scene_host.h"
#include "model/topology.h"

namespace {

TGeosphera Shifted(TGeosphera e, float dz) {
  for (TGLCoord& v : e.vertices) v.z += dz;
  return e;
}

// A scene of the given elements, element 0 current, topology derived.
TScene SceneOf(std::vector<TGeosphera> elements) {
  TScene scene;
  for (TGeosphera& e : elements) {
    e.uid = scene.nextUid++;
    RefreshElement(e);
    e.center = ElementCenter(e);
    scene.elements.push_back(std::move(e));
  }
  return scene;
}

void Select(TGeosphera& e, std::initializer_list<int> vertices) {
  for (int v : vertices) e.vertexState[static_cast<size_t>(v)] = kVertexFrozen;
}

TEST(Detach, CopiesTheSelectedVerticesAndTheWhollySelectedTriangles) {
  TScene scene = SceneOf({MakeOctahedron()});
  RecordingSceneHost host;
  host.Attach(scene);
  // Vertices 0, 2, 4 make triangle 0; vertex 5 is touched only (the touched
  // mark is not a selection).
  Select(scene.elements[0], {0, 2, 4});
  scene.elements[0].vertexState[5] = kVertexTouched;
  const TGeosphera before = scene.elements[0];

  const int index = DetachSelection(scene, 6, false);

  ASSERT_EQ(index, 1);
  EXPECT_EQ(scene.currentElement, 1);
  const TGeosphera& copy = scene.elements[1];
  EXPECT_EQ(copy.name, "Detach 6");
  ASSERT_EQ(copy.vertexCount, 3);
  EXPECT_EQ(copy.vertices[1], (TGLCoord{0, 1.001f, 0}));
  EXPECT_EQ(copy.vertices[2], (TGLCoord{0, 0, 1.001f}));
  EXPECT_EQ(copy.faces, (Tfaces{0, 1, 2}));
  EXPECT_EQ(copy.uvFaces, copy.faces);
  EXPECT_EQ(copy.colors, TCores(3, TRGBA{255, 255, 255, 255}));
  EXPECT_EQ(copy.adjacency.rows(), 3u);
  EXPECT_EQ(copy.center, ElementCenter(copy));
  EXPECT_EQ(copy.placeState, kPlaced);
  EXPECT_TRUE(host.Called("upload 1"));
  EXPECT_TRUE(host.Called("grids"));
  // The source keeps its geometry; every mask is clear.
  EXPECT_EQ(scene.elements[0].vertices, before.vertices);
  EXPECT_EQ(scene.elements[0].faces, before.faces);
  for (const TGeosphera& e : scene.elements) EXPECT_EQ(e.vertexState, TSelect(e.vertexState.size(), kVertexFree));
}

TEST(Detach, NothingSelectedGivesAnEmptyElement) {
  TScene scene = SceneOf({MakeOctahedron()});
  scene.elements[0].center = {1, 2, 3};
  DetachSelection(scene, 0, false);
  const TGeosphera& copy = scene.elements[1];
  EXPECT_EQ(copy.name, "Detach 0");
  EXPECT_EQ(copy.vertexCount, 0);
  EXPECT_EQ(copy.indexCount, 0);
  EXPECT_EQ(copy.center, (TGLCoord{1, 2, 3}));
}

TEST(Detach, TwoSelectedCornersCopyNoTriangle) {
  TScene scene = SceneOf({MakeOctahedron()});
  Select(scene.elements[0], {0, 2});
  DetachSelection(scene, 0, false);
  EXPECT_EQ(scene.elements[1].vertexCount, 2);
  EXPECT_EQ(scene.elements[1].indexCount, 0);
  EXPECT_EQ(scene.elements[1].valence, (TSelect{0, 0}));
}

TEST(Mirror, ReflectsAcrossZZeroAndKeepsFacingOutwards) {
  TGeosphera source = Shifted(MakeOctahedron(), 3);
  source.colors[2] = {10, 20, 30, 40};
  TScene scene = SceneOf({source});
  MaskWholeElement(scene.elements[0]);

  DetachSelection(scene, 2, true);

  const TGeosphera& copy = scene.elements[1];
  EXPECT_EQ(copy.name, "Mirror 2");
  ASSERT_EQ(copy.vertexCount, 6);
  for (int v = 0; v < 6; ++v) {
    const TGLCoord& p = scene.elements[0].vertices[static_cast<size_t>(v)];
    EXPECT_EQ(copy.vertices[static_cast<size_t>(v)], (TGLCoord{p.x * 1.001f, p.y * 1.001f, p.z * -1.001f}));
    EXPECT_LT(copy.vertices[static_cast<size_t>(v)].z, 0);
  }
  EXPECT_EQ(copy.colors[2], (TRGBA{10, 20, 30, 40}));
  ASSERT_EQ(copy.indexCount, 24);
  EXPECT_EQ((Tfaces{copy.faces[0], copy.faces[1], copy.faces[2]}), (Tfaces{4, 2, 0}));
  for (int c = 0; c < copy.indexCount; c += 3) {
    const TGLCoord& a = copy.vertices[copy.faces[c]];
    const TGLCoord& b = copy.vertices[copy.faces[c + 1]];
    const TGLCoord& d = copy.vertices[copy.faces[c + 2]];
    const TGLCoord n = FaceNormal(a, b, d);
    const TGLCoord out{(a.x + b.x + d.x) / 3 - copy.center.x, (a.y + b.y + d.y) / 3 - copy.center.y,
                       (a.z + b.z + d.z) / 3 - copy.center.z};
    EXPECT_GT(n.x * out.x + n.y * out.y + n.z * out.z, 0) << "triangle " << c / 3;
  }
}

TEST(Detach, CarriesTextureCoordinatesOnlyFromElementsWithMoreThanThirty) {
  for (const auto& [levels, carried] : {std::pair{0, false}, std::pair{1, true}}) {
    TGeosphera sphere = MakeGeodesicSphere(levels, 1);  // 12 or 42 vertices
    sphere.uvs.assign(sphere.vertices.size(), TGLUV{0.25f, 0.75f});
    TScene scene = SceneOf({sphere});
    MaskWholeElement(scene.elements[0]);
    DetachSelection(scene, 0, false);
    const TGeosphera& copy = scene.elements[1];
    EXPECT_EQ(copy.uvs.size(), carried ? copy.vertices.size() : 0u) << levels;
    if (carried) {
      EXPECT_EQ(copy.uvs[5], (TGLUV{0.25f, 0.75f}));
    }
  }
}

TEST(Unification, AppendsEveryElementToThePrincipalWithOffsets) {
  TGeosphera principal = MakeOctahedron();
  principal.faces.push_back(0);  // the spare entry some loaders leave
  TGeosphera triangle = MakeElement({{5, 0, 0}, {6, 0, 0}, {5, 1, 0}}, {0, 1, 2});
  triangle.vertexState[1] = kVertexFrozen;
  TGeosphera moved = Shifted(MakeOctahedron(), 9);
  moved.position = {100, 0, 0};  // placement is not applied
  TScene scene = SceneOf({principal, triangle, moved});
  RecordingSceneHost host;
  host.Attach(scene);
  scene.currentElement = 1;

  UnifyElements(scene);

  ASSERT_EQ(scene.elementCount(), 1);
  EXPECT_EQ(scene.currentElement, 0);
  const TGeosphera& e = scene.elements[0];
  ASSERT_EQ(e.vertexCount, 6 + 3 + 6);
  ASSERT_EQ(e.indexCount, 3 * (8 + 1 + 8));
  EXPECT_EQ(e.faces.size(), static_cast<size_t>(e.indexCount));
  EXPECT_EQ((Tfaces{e.faces[24], e.faces[25], e.faces[26]}), (Tfaces{6, 7, 8}));
  EXPECT_EQ((Tfaces{e.faces[27], e.faces[28], e.faces[29]}), (Tfaces{9 + 0, 9 + 2, 9 + 4}));
  EXPECT_EQ(e.vertices[7], (TGLCoord{6, 0, 0}));
  EXPECT_EQ(e.vertices[9], (TGLCoord{1, 0, 9}));
  EXPECT_EQ(e.vertexState[7], kVertexFrozen);
  EXPECT_EQ(e.adjacency.rows(), 15u);
  EXPECT_EQ(e.valence[7], 1);
  EXPECT_EQ(e.placeState, kPlaced);
  EXPECT_TRUE(host.Called("deleted 3"));
  EXPECT_TRUE(host.Called("deleted 2"));
}

TEST(Unification, KeepsTextureCoordinatesOnePerVertex) {
  TGeosphera principal = MakeOctahedron();
  principal.uvs.assign(6, TGLUV{0.5f, 0.5f});
  TScene scene = SceneOf({principal, MakeOctahedron()});
  UnifyElements(scene);
  EXPECT_EQ(scene.elements[0].uvs.size(), 12u);
}

TEST(ElementColor, PaintsEveryVertexAndTheDisplayColour) {
  TScene scene = SceneOf({MakeOctahedron()});
  PaintElementColor(scene, 200, 100, 50);
  const TGeosphera& e = scene.elements[0];
  EXPECT_EQ(e.colors, TCores(6, TRGBA{200, 100, 50, 255}));
  EXPECT_EQ((std::array{e.colorR, e.colorG, e.colorB, e.colorA}), (std::array<uint8_t, 4>{200, 100, 50, 1}));
}

}  // namespace
