#include "sculpt/stroke.h"

#include <gtest/gtest.h>

#include <cmath>
#include <set>
#include <string>

#include "mesh_shapes.h"
#include "model/messages.h"

namespace {

constexpr int kWidth = 400, kHeight = 300;
constexpr double kScale = 40;  // pixels per model unit
constexpr float kSphereRadius = 2.5f;

// An orthographic view along -x of a sphere of kSphereRadius about the
// origin: window x grows with -z, window y (from the top) falls with y, and
// the depth grows away from the viewer. The mirror camera of such a view
// bins like the main one (its yaw is 180 - 270 = -90 = 270 degrees).
class FakeProjection : public StrokeProjection {
 public:
  std::optional<TGLCoord> PointUnderCursor(int x, int y) override {
    const double u = (x - kWidth / 2.0) / kScale, v = (kHeight / 2.0 - y) / kScale;
    const double r2 = double(kSphereRadius) * kSphereRadius - u * u - v * v;
    // Over the background: far behind the model.
    const double depthX = r2 >= 0 ? std::sqrt(r2) : backgroundX;
    return TGLCoord{static_cast<float>(depthX), static_cast<float>(v), static_cast<float>(-u)};
  }
  std::optional<TGLCoord> PointAtDepthZero(double x, double y) const override {
    return TGLCoord{10, static_cast<float>((kHeight / 2.0 - y) / kScale),
                    static_cast<float>(-(x - kWidth / 2.0) / kScale)};
  }
  TScreenPoint Project(const TGLCoord& p) const override {
    return {kWidth / 2.0 - kScale * p.z, kHeight / 2.0 - kScale * p.y, (1 - p.x / 10.0) / 2};
  }
  bool CameraSetups(TProjectionSetup& main, TProjectionSetup& mirror) override {
    ++frames;
    const double a = kWidth / (2 * kScale), c = kHeight / (2 * kScale);
    main.modelview = {0, 0, 1, 0, 0, 1, 0, 0, -1, 0, 0, 0, 0, 0, 0, 1};             // eye x = -z, y = y, z = x
    main.projection = {1 / a, 0, 0, 0, 0, 1 / c, 0, 0, 0, 0, -0.1, 0, 0, 0, 0, 1};  // glOrtho(-a, a, -c, c, -10, 10)
    main.viewport = {0, 0, kWidth, kHeight};
    mirror = main;
    return true;
  }
  float BrushWindow(float radius) const override { return static_cast<float>(radius * kScale + 1); }
  TViewAngles MainCameraAngles() const override { return angles; }

  int frames = 0;
  double backgroundX = -10;
  TViewAngles angles{0, 270};  // the view along -x
};

class RecordingSink : public StrokeSink {
 public:
  void SnapshotAtPress(int32_t picked) override { calls.push_back("press snapshot " + std::to_string(picked)); }
  void SnapshotAtRelease() override { calls.push_back("release snapshot"); }
  void FootprintsChanged(const TBrushFrame&, bool colors) override { ++(colors ? colorWrites : positionWrites); }
  void NormalChanged(int32_t, const TGLCoord&) override { ++normals; }
  void GeometryChanged() override { ++geometryWrites; }
  void Redraw() override { ++redraws; }
  bool AddSketchSphere(const TGLCoord& position, float size) override {
    if (failSpheres) return false;
    const int index = AppendElement(*scene);
    scene->elements[static_cast<size_t>(index)].position = position;
    scene->elements[static_cast<size_t>(index)].loadExtent = size / 2;
    scene->currentElement = index;
    return true;
  }
  void SketchStrokeEnded(bool beganOverModel) override {
    calls.push_back(beganOverModel ? "sketch ended over model" : "sketch ended");
  }

  TScene* scene = nullptr;
  bool failSpheres = false;
  std::vector<std::string> calls;
  int positionWrites = 0, colorWrites = 0, normals = 0, geometryWrites = 0, redraws = 0;
};

class StrokeCoreTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetScene(scene);
    scene.elements[0] = MakeGeodesicSphere(3, kSphereRadius);
    ASSERT_TRUE(RefreshElement(scene.elements[0]));
    brush.radius = 0.8f;
    brush.strength = 15.0f / 1400;
    stroke.UpdateBrushWindow();
    sink.scene = &scene;
  }

  TGeosphera& Ball() { return scene.current(); }

  // Selects the brush of list item `item` as the window does.
  void Select(int item) {
    stroke.state().sculptMode = FindBrush(item)->sculptMode;
    stroke.state().brushSign = FindBrush(item)->sign;
  }

  // Hover at `at`, press there, drag along `path`, release; returns the hover's pick.
  int32_t Stroke(std::pair<int, int> at, const std::vector<std::pair<int, int>>& path) {
    stroke.CountMove();
    const int32_t picked = stroke.Hover(at.first, at.second, true);
    stroke.Press(at.first, at.second);
    for (const auto& [x, y] : path) {
      stroke.CountMove();
      stroke.Drag(x, y);
    }
    stroke.Release(true);
    return picked;
  }

  TScene scene;
  TBrushSettings brush;
  TToolModes modes;
  FakeProjection view;
  RecordingSink sink;
  CapturingMessageSink messages;
  TStroke stroke{scene, brush, modes, view, sink};
};

double Distance(const TGLCoord& a, const TGLCoord& b) {
  return std::sqrt((a.x - b.x) * (a.x - b.x) + (a.y - b.y) * (a.y - b.y) + (a.z - b.z) * (a.z - b.z));
}

TEST_F(StrokeCoreTest, AddRaisesTheFootprintAndAsksForSnapshotsAtPressAndRelease) {
  brush.symmetry = false;
  const Tvertices before = Ball().vertices;
  const int32_t picked = Stroke({kWidth / 2 + 30, kHeight / 2 - 20}, {{kWidth / 2 + 31, kHeight / 2 - 20}});
  ASSERT_GE(picked, 0);
  const TStrokeState& s = stroke.state();
  ASSERT_GE(s.frame.direct.entries.size(), 3u);
  const float k = brush.strength * brush.radius;
  for (const TContsel& entry : s.frame.direct.entries) {
    const size_t v = static_cast<size_t>(entry.vertex);
    const float w = Falloff(entry.distance / brush.radius) * k;
    EXPECT_NEAR(Ball().vertices[v].x - before[v].x, s.frame.direct.normal.x * w, 1e-6) << v;
    EXPECT_NEAR(Ball().vertices[v].z - before[v].z, s.frame.direct.normal.z * w, 1e-6) << v;
    EXPECT_LE(Distance(before[v], s.cursorPoint), brush.radius + 1e-5);
  }
  ASSERT_EQ(sink.calls.size(), 2u);
  EXPECT_EQ(sink.calls[0], "press snapshot " + std::to_string(picked));
  EXPECT_EQ(sink.calls[1], "release snapshot");
  EXPECT_EQ(sink.positionWrites, 1);
  EXPECT_GT(sink.normals, 0);
  EXPECT_GT(s.normalTriangles, 0);
  EXPECT_FALSE(s.strokeOnSurface);
  EXPECT_TRUE(messages.entries.empty());
}

// With symmetry the mirrored footprint moves by the mirrored amount: the
// grids bin the vertices and the mirror window looks at (W - x, y).
TEST_F(StrokeCoreTest, SymmetryMirrorsTheStroke) {
  const Tvertices before = Ball().vertices;
  Stroke({kWidth / 2 + 50, kHeight / 2 + 10},
         {{kWidth / 2 + 51, kHeight / 2 + 10}, {kWidth / 2 + 52, kHeight / 2 + 10}});
  ASSERT_FALSE(stroke.state().frame.mirror.entries.empty());
  int moved = 0;
  for (size_t v = 0; v < before.size(); ++v) {
    const TGLCoord d = {Ball().vertices[v].x - before[v].x, Ball().vertices[v].y - before[v].y,
                        Ball().vertices[v].z - before[v].z};
    if (d == TGLCoord{}) continue;
    ++moved;
    for (size_t m = 0; m < before.size(); ++m) {
      if (Distance(before[m], MirrorAcrossZ(before[v])) > 1e-5) continue;
      EXPECT_NEAR(Ball().vertices[m].x - before[m].x, d.x, 1e-4) << v;
      EXPECT_NEAR(Ball().vertices[m].z - before[m].z, -d.z, 1e-4) << v;
    }
  }
  EXPECT_GE(moved, 4);
}

// Pinch and Grab act at the press only when the hover picked a vertex above
// 0; the stroke counts as started on the surface either way.
TEST_F(StrokeCoreTest, BrushesThatActAtThePress) {
  for (const int item : {BrushItem("Pinch"), BrushItem("Grab"), BrushItem("Add")}) {
    SCOPED_TRACE(FindBrush(item)->name);
    Select(item);
    const Tvertices before = Ball().vertices;
    const std::pair<int, int> at{kWidth / 2 + 25, kHeight / 2 - 15};
    stroke.Hover(at.first, at.second, false);
    ASSERT_GT(stroke.state().pickedVertex, 0);
    stroke.Press(at.first, at.second);
    EXPECT_TRUE(stroke.state().strokeOnSurface);
    EXPECT_EQ(Ball().vertices != before, FindBrush(item)->press == TBrushPress::Apply);
    stroke.Release(true);

    stroke.state().pickedVertex = 0;  // a hover pick of vertex 0
    const Tvertices again = Ball().vertices;
    stroke.Press(at.first, at.second);
    EXPECT_TRUE(stroke.state().strokeOnSurface);
    EXPECT_EQ(Ball().vertices, again);
    stroke.Release(true);
  }
}

TEST_F(StrokeCoreTest, GrabDragsThePressFootprintsAndNothingWithoutAGrab) {
  brush.symmetry = false;
  Select(BrushItem("Grab"));
  const std::pair<int, int> at{kWidth / 2 + 20, kHeight / 2};
  const Tvertices before = Ball().vertices;
  Stroke(at, {{at.first, at.second - 10}, {at.first, at.second - 20}});
  const TGLCoord delta = stroke.state().frame.grabDelta;
  EXPECT_NEAR(delta.y, 20 / kScale, 1e-5);  // 20 pixels up since the press
  ASSERT_GE(stroke.state().grabVertex, 0);
  const size_t grabbed = static_cast<size_t>(stroke.state().grabVertex);
  EXPECT_GT(Ball().vertices[grabbed].y, before[grabbed].y);
  EXPECT_GT(sink.geometryWrites, 0);

  // Pressed over the background: no vertex grabbed, nothing moves.
  const Tvertices after = Ball().vertices;
  Stroke({5, 5}, {at, {at.first, at.second - 20}});
  EXPECT_EQ(stroke.state().grabVertex, -1);
  EXPECT_EQ(Ball().vertices, after);
}

// Freeze painting marks the footprint 2 and moves nothing; paint mode
// recolours it without normals and takes no snapshot at the release.
TEST_F(StrokeCoreTest, MaskAndVertexPainting) {
  brush.symmetry = false;
  const std::pair<int, int> at{kWidth / 2 - 30, kHeight / 2 + 25};
  const Tvertices before = Ball().vertices;
  modes.freeze = true;
  Stroke(at, {{at.first + 1, at.second}});
  EXPECT_EQ(Ball().vertices, before);
  ASSERT_FALSE(stroke.state().frame.direct.entries.empty());
  for (const TContsel& entry : stroke.state().frame.direct.entries) {
    EXPECT_EQ(Ball().vertexState[static_cast<size_t>(entry.vertex)], kVertexFrozen);
  }
  modes.freeze = false;
  for (uint8_t& mask : Ball().vertexState) mask = kVertexFree;

  modes.paint = true;
  stroke.state().paint.color = {200, 10, 20, 255};
  sink = {};
  Stroke(at, {{at.first + 1, at.second}});
  for (const TContsel& entry : stroke.state().frame.direct.entries) {
    const TRGBA& c = Ball().colors[static_cast<size_t>(entry.vertex)];
    EXPECT_EQ((std::array<int, 3>{c.r, c.g, c.b}), (std::array<int, 3>{200, 10, 20})) << entry.vertex;
  }
  EXPECT_EQ(Ball().vertices, before);
  EXPECT_EQ(sink.colorWrites, 1);
  EXPECT_EQ(sink.normals, 0);
  ASSERT_EQ(sink.calls.size(), 1u);
  EXPECT_NE(sink.calls[0].find("press snapshot"), std::string::npos);
}

// A hover marks the picked vertex touched, except while painting the mask or
// over a frozen vertex; in rotate mode the handle's grid picks and no brush runs.
TEST_F(StrokeCoreTest, HoverMarksThePickAndRotateModeAppliesNothing) {
  const std::pair<int, int> at{kWidth / 2 + 10, kHeight / 2 + 10};
  const int32_t picked = stroke.Hover(at.first, at.second, true);
  ASSERT_GE(picked, 0);
  EXPECT_EQ(Ball().vertexState[static_cast<size_t>(picked)], kVertexTouched);
  Ball().vertexState[static_cast<size_t>(picked)] = kVertexFrozen;
  stroke.Hover(at.first, at.second, true);
  EXPECT_EQ(Ball().vertexState[static_cast<size_t>(picked)], kVertexFrozen);

  scene.rotateGizmo = MakeGeodesicSphere(1, 3);
  modes.rotate = true;
  stroke.RebuildScreenGrids();
  const Tvertices before = Ball().vertices;
  Stroke(at, {{at.first + 1, at.second}});
  EXPECT_EQ(Ball().vertices, before);
}

// Redraws are throttled to every third move; grids come from one frame each.
TEST_F(StrokeCoreTest, RedrawEveryThirdMoveAndGridsOnDemand) {
  const std::pair<int, int> at{kWidth / 2, kHeight / 2};
  stroke.Hover(at.first, at.second, false);
  EXPECT_EQ(view.frames, 1);  // stale grids are rebuilt at the first lookup
  EXPECT_FALSE(stroke.state().gridsStale);
  stroke.Press(at.first, at.second);
  for (int i = 1; i <= 6; ++i) {
    stroke.CountMove();
    stroke.Drag(at.first + i, at.second);
  }
  EXPECT_EQ(sink.redraws, 2);
  stroke.Release(true);
  EXPECT_EQ(view.frames, 2);
}

}  // namespace

// In sketch mode a drag drops a sphere pair per move on the plane through the
// vertex picked at the press (x, for a view along -x), mirrored across z = 0;
// the mesh is not sculpted, misses of the surface drop nothing, the stroke is
// one undo group and takes no release snapshot.
TEST_F(StrokeCoreTest, SketchStrokeDropsMirroredPairsOnThePickedPlane) {
  modes.sketch = true;
  view.backgroundX = -1000;
  const Tvertices before = Ball().vertices;
  const int32_t picked =
      Stroke({kWidth / 2, kHeight / 2},
             {{kWidth / 2 + 40, kHeight / 2 - 20}, {kWidth / 2 + 300, kHeight / 2}, {kWidth / 2 + 60, kHeight / 2}});
  ASSERT_GE(picked, 0);
  EXPECT_EQ(Ball().vertices, before);
  ASSERT_EQ(scene.elementCount(), 1 + 4);  // the move over the background dropped none
  EXPECT_EQ(scene.currentElement, 0);
  const float lockedX = before[static_cast<size_t>(picked)].x;
  const TGLCoord expected[] = {{lockedX, 0.5f, -1.0f}, {lockedX, 0.5f, 1.0f}, {lockedX, 0, -1.5f}, {lockedX, 0, 1.5f}};
  for (int i = 0; i < 4; ++i) {
    const TGeosphera& sphere = scene.elements[static_cast<size_t>(i + 1)];
    EXPECT_FLOAT_EQ(sphere.position.x, expected[i].x) << i;
    EXPECT_FLOAT_EQ(sphere.position.y, expected[i].y) << i;
    EXPECT_FLOAT_EQ(sphere.position.z, expected[i].z) << i;
    EXPECT_FLOAT_EQ(sphere.loadExtent, brush.radius) << i;
  }
  EXPECT_EQ(sink.calls,
            (std::vector<std::string>{"press snapshot " + std::to_string(picked), "sketch ended over model"}));
  EXPECT_EQ(stroke.sketchGroups().Pop(), 1);

  // The next stroke snapshots again; one whose spheres cannot be added stops
  // trying and opens no group.
  sink.calls.clear();
  sink.failSpheres = true;
  Stroke({kWidth / 2, kHeight / 2}, {{kWidth / 2 + 10, kHeight / 2}, {kWidth / 2 + 20, kHeight / 2}});
  EXPECT_EQ(scene.elementCount(), 5);
  EXPECT_EQ(stroke.sketchGroups().size(), 0u);
  EXPECT_EQ(sink.calls.back(), "sketch ended over model");
  EXPECT_EQ(sink.calls[1], "release snapshot");
}
