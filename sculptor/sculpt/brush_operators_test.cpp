#include "sculpt/brush_operators.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "model/messages.h"
#include "model/test_meshes.h"
#include "model/topology.h"
#include "sculpt/brush_dispatch.h"

namespace {

constexpr float kTol = 2e-6f;

void ExpectNear(const TGLCoord& actual, const TGLCoord& expected, const std::string& what) {
  EXPECT_NEAR(actual.x, expected.x, kTol) << what;
  EXPECT_NEAR(actual.y, expected.y, kTol) << what;
  EXPECT_NEAR(actual.z, expected.z, kTol) << what;
}

TGLCoord Minus(const TGLCoord& a, const TGLCoord& b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }

// Five vertices with normals +z under a brush of radius 2 centred on vertex 0:
// t = 0, 0.5, 1, 0.5 for vertices 0..3; vertex 4 (t = 0.5) is frozen.
// Footprint mean normal (0, 0, 0.8), mean position (0, 0, 1).
TGeosphera MakeBrushFixture() {
  TGeosphera e = MakeElement({{0, 0, 1}, {1, 0, 1.2f}, {2, 0, 1}, {0, 1, 0.7f}, {-1, 0, 1}}, {});
  e.normals.assign(5, TGLCoord{0, 0, 1});
  e.vertexState[4] = kVertexFrozen;
  return e;
}

TBrushFrame MakeFixtureFrame() {
  TBrushFrame frame;
  frame.direct.entries = {{0, 0}, {1, 1}, {2, 2}, {3, 1}, {4, 1}};
  frame.direct.pickedVertex = 0;
  frame.direct.normal = {0, 0, 0.8f};
  frame.direct.centre = {0, 0, 1};
  frame.symmetry = false;
  frame.strength = 0.01f;
  frame.radius = 2;
  frame.sign = +1;
  frame.grabDelta = {1, 2, 0};
  return frame;
}

struct OperatorCase {
  const char* name;
  int32_t sculptMode;
  int sign;
  TGLCoord moved[4];  // displacement of vertices 0..3 (t = 0, 0.5, 1, 0.5)
};

// Displacements worked out by hand from the brushes' formulas (s = 0.01, r = 2,
// D = (1, 2, 0)); the centre vertex moves first, and later entries see it moved.
const OperatorCase kOperatorCases[] = {
    {"Add", kSculptAdd, +1, {{0, 0, 0.016f}, {0, 0, 0.011f}, {}, {0, 0, 0.011f}}},
    {"Subtract", kSculptSubtract, -1, {{0, 0, -0.016f}, {0, 0, -0.011f}, {}, {0, 0, -0.011f}}},
    {"Grab", kSculptGrab, +1, {{0.05f, 0.1f, 0}, {0.034375f, 0.06875f, 0}, {}, {0.034375f, 0.06875f, 0}}},
    {"Pinch", kSculptPinch, +1, {{}, {-0.06875f, 0, -0.01375f}, {}, {0, -0.06875f, 0.020625f}}},
    {"Unpinch", kSculptUnpinch, +1, {{}, {0.06875f, 0, 0.01375f}, {}, {0, 0.06875f, -0.020625f}}},
    {"Crease", kSculptCrease, +1, {{0, 0, -0.08f}, {-0.0375f, 0, -0.029484375f}, {}, {0, -0.0375f, -0.010734375f}}},
    {"Groove", kSculptGroove, +1, {{0, 0, 0.048f}, {-0.020625f, 0, 0.00423733f}, {}, {0, -0.020625f, 0.01454983f}}},
    {"Scar", kSculptScar, +1, {{0, 0, -0.02f}, {-0.15f, 0, -0.033f}, {}, {0, -0.15f, 0.042f}}},
    {"Inflate", kSculptInflate, +1, {{0, 0, 0.01f}, {0, 0, 0.006875f}, {}, {0, 0, 0.006875f}}},
    {"Deflate", kSculptDeflate, +1, {{0, 0, -0.01f}, {0, 0, -0.006875f}, {}, {0, 0, -0.006875f}}},
    // Plane through (0, 0, 1): only vertex 1 lies above it; vertex 0 on it stays.
    {"Flatten", kSculptFlatten, +1, {{}, {0, 0, -0.00176f}, {}, {}}},
    // Plane through (0, 0, 1 + 0.08 sqrt 2): vertex 1 above it stays, alt sign changes nothing.
    {"Wax", kSculptWax, -1, {{0, 0, 0.001448155f}, {}, {}, {0, 0, 0.003635606f}}},
    // Codes without an operator.
    {"code 2", 2, +1, {}},
    {"code 12", 12, +1, {}},
};

TEST(BrushOperators, DisplacementTable) {
  for (const OperatorCase& c : kOperatorCases) {
    TGeosphera e = MakeBrushFixture();
    e.colors[4] = {1, 2, 3, 4};
    const TGeosphera before = e;
    TBrushFrame frame = MakeFixtureFrame();
    frame.sign = c.sign;
    ApplyBrush(e, frame, TBrushTool{TBrushTarget::Shape, c.sculptMode, {}, nullptr});

    const bool moves = c.sculptMode != 2 && c.sculptMode != 12;
    for (size_t v = 0; v < 4; ++v) {
      const std::string what = std::string(c.name) + " vertex " + std::to_string(v);
      ExpectNear(Minus(e.vertices[v], before.vertices[v]), c.moved[v], what);
      // The rim vertex (t = 1) is reached with weight 0 but marked; Grab leaves it alone.
      const bool reached = moves && !(c.sculptMode == kSculptGrab && v == 2);
      EXPECT_EQ(e.vertexState[v], reached ? kVertexTouched : kVertexFree) << what;
    }
    EXPECT_EQ(e.vertices[4], before.vertices[4]) << c.name;
    EXPECT_EQ(e.vertexState[4], kVertexFrozen) << c.name;
    EXPECT_EQ(e.colors, before.colors) << c.name;
  }
}

TEST(BrushOperators, FalloffCurves) {
  const struct {
    float t, g, g2;
  } cases[] = {{0, 1, 1}, {0.5f, 0.6875f, 0.75f}, {1, 0, 0}};
  for (const auto& c : cases) {
    EXPECT_FLOAT_EQ(Falloff(c.t), c.g) << c.t;
    EXPECT_FLOAT_EQ(CreaseFalloff(c.t), c.g2) << c.t;
  }
}

// The fixture doubled by its mirror image: vertices 5..9 are 0..4 with z negated.
struct MirrorFixture {
  TGeosphera e;
  TBrushFrame frame;
};

MirrorFixture MakeMirrorFixture() {
  MirrorFixture m{MakeBrushFixture(), MakeFixtureFrame()};
  for (size_t v = 0; v < 5; ++v) {
    m.e.vertices.push_back(MirrorAcrossZ(m.e.vertices[v]));
    m.e.normals.push_back(MirrorAcrossZ(m.e.normals[v]));
    m.e.colors.push_back(m.e.colors[v]);
    m.e.vertexState.push_back(m.e.vertexState[v]);
  }
  m.e.vertexCount = 10;
  m.frame.symmetry = true;
  for (const TContsel& entry : m.frame.direct.entries) m.frame.mirror.entries.push_back({entry.vertex + 5, entry.distance});
  m.frame.mirror.pickedVertex = 5;
  m.frame.mirror.normal = MirrorAcrossZ(m.frame.direct.normal);
  m.frame.mirror.centre = MirrorAcrossZ(m.frame.direct.centre);
  return m;
}

TEST(BrushOperators, MirroredPassMovesTheMirrorImage) {
  for (const int32_t mode : {kSculptAdd, kSculptGrab, kSculptPinch, kSculptScar, kSculptInflate,
                             kSculptFlatten, kSculptWax, kSculptGroove}) {
    MirrorFixture m = MakeMirrorFixture();
    const TGeosphera before = m.e;
    ApplyBrush(m.e, m.frame, TBrushTool{TBrushTarget::Shape, mode, {}, nullptr});
    for (size_t v = 0; v < 4; ++v) {
      const std::string what = "mode " + std::to_string(mode) + " vertex " + std::to_string(v);
      ExpectNear(Minus(m.e.vertices[v + 5], before.vertices[v + 5]),
                 MirrorAcrossZ(Minus(m.e.vertices[v], before.vertices[v])), what);
      EXPECT_EQ(m.e.vertexState[v + 5], m.e.vertexState[v]) << what;
    }
  }
}

TEST(BrushOperators, CreaseUsesItsOwnCurveOnlyOnTheDirectSide) {
  MirrorFixture m = MakeMirrorFixture();
  const TGeosphera before = m.e;
  ApplyCrease(m.e, m.frame);
  // Direct t = 0.5 with g2: see the table. Mirror t = 0.5 with g = 0.6875 about
  // the centre vertex already moved by (0, 0, +0.08):
  // w = 0.034375, h = 0.6875^5 * 0.1 = 0.015359, c' = (0, 0, -0.92).
  ExpectNear(Minus(m.e.vertices[1], before.vertices[1]), {-0.0375f, 0, -0.029484375f}, "direct");
  ExpectNear(Minus(m.e.vertices[6], before.vertices[6]),
             {-0.034375f, 0, -(-1.2f + 0.92f) * 0.034375f + 0.8f * 0.015359f}, "mirror");
}

TEST(BrushOperators, MirroredPassNeedsSymmetryAndAMirrorCentre) {
  for (const bool symmetry : {false, true}) {
    MirrorFixture m = MakeMirrorFixture();
    m.frame.symmetry = symmetry;
    if (symmetry) m.frame.mirror.pickedVertex = -1;
    const TGeosphera before = m.e;
    ApplyAdd(m.e, m.frame);
    EXPECT_NE(m.e.vertices[0], before.vertices[0]);
    for (size_t v = 5; v < 10; ++v) {
      EXPECT_EQ(m.e.vertices[v], before.vertices[v]) << symmetry;
      EXPECT_EQ(m.e.vertexState[v], before.vertexState[v]) << symmetry;
    }
  }
}

TEST(BrushOperators, CentreOperatorsSkipASideWithoutCentreVertex) {
  for (const int32_t mode : {kSculptPinch, kSculptCrease, kSculptScar, kSculptGroove, kSculptUnpinch}) {
    TGeosphera e = MakeBrushFixture();
    const TGeosphera before = e;
    TBrushFrame frame = MakeFixtureFrame();
    frame.direct.pickedVertex = -1;
    ApplyBrush(e, frame, TBrushTool{TBrushTarget::Shape, mode, {}, nullptr});
    EXPECT_EQ(e.vertices, before.vertices) << mode;
  }
}

TEST(BrushOperators, PinchAtFullIntensityNeverPassesTheCentre) {
  TGeosphera e = MakeElement({{0, 0, 0}, {0.002f, 0, 0}, {0.3f, 0.1f, 0}, {0.7f, 0, 0.2f}, {0.99f, 0, 0}}, {});
  const TGeosphera before = e;
  TBrushFrame frame;
  frame.radius = 1;
  frame.strength = StrengthOnSelection(3, 50);  // the largest Pinch strength
  frame.symmetry = false;
  frame.direct.pickedVertex = 0;
  for (int32_t v = 0; v < 5; ++v) {
    frame.direct.entries.push_back({v, std::sqrt(e.vertices[v].x * e.vertices[v].x + e.vertices[v].y * e.vertices[v].y +
                                                 e.vertices[v].z * e.vertices[v].z)});
  }
  ApplyPinch(e, frame);
  for (size_t v = 1; v < 5; ++v) {
    // Pulled straight towards the centre by at most a tenth of the way.
    const TGLCoord was = before.vertices[v], now = e.vertices[v];
    const float ratio = now.x / was.x;
    EXPECT_GE(ratio, 0.9f - 1e-6f) << v;
    EXPECT_LT(ratio, 1.0f) << v;
    EXPECT_NEAR(now.y, was.y * ratio, 1e-6f) << v;
    EXPECT_NEAR(now.z, was.z * ratio, 1e-6f) << v;
  }
}

// A flat closed fan of `n` triangles around vertex 0 raised to z = 1, and a
// vertex 1 + n that no triangle uses.
TGeosphera MakeRaisedFan(int n) {
  TGeosphera e = MakeElement({{0, 0, 1}}, {});
  for (int i = 0; i < n; ++i) {
    const float a = 6.2831853f * static_cast<float>(i) / static_cast<float>(n);
    e.vertices.push_back({std::cos(a), std::sin(a), 0});
    e.faces.insert(e.faces.end(), {0u, uint32_t(i + 1), uint32_t(i + 1 < n ? i + 2 : 1)});
  }
  e.vertices.push_back({5, 5, 5});
  e.vertexCount = static_cast<int32_t>(e.vertices.size());
  e.indexCount = static_cast<int32_t>(e.faces.size());
  e.colors.assign(e.vertices.size(), kDefaultVertexColor);
  e.vertexState.assign(e.vertices.size(), kVertexFree);
  BuildAdjacency(e, ComputeValence(e));
  return e;
}

TEST(BrushOperators, SmoothMovesTowardsTheMeanOfTheTrianglesCorners) {
  TGeosphera e = MakeRaisedFan(6);
  TBrushFrame frame;
  frame.radius = 1;
  frame.strength = 0.5f;
  frame.symmetry = false;
  // Vertex 1 at d = r still moves fully (no falloff), and sees vertex 0 moved.
  frame.direct.entries = {{0, 0}, {1, 1}, {7, 0.5f}};
  const TGeosphera before = e;
  ApplySmooth(e, frame);

  // A(0): six triangles, vertex 0 counted six times, each rim vertex twice, rim sum 0.
  ExpectNear(e.vertices[0], {0, 0, 0.5f * 1 + 0.5f * (1.0f / 3)}, "centre");
  // A(1): triangles (0, 1, 2) and (0, 6, 1).
  const TGLCoord v0 = e.vertices[0], v1 = before.vertices[1], v2 = e.vertices[2], v6 = e.vertices[6];
  const TGLCoord mean{(2 * v0.x + 2 * v1.x + v2.x + v6.x) / 6, (2 * v0.y + 2 * v1.y + v2.y + v6.y) / 6,
                      (2 * v0.z + 2 * v1.z + v2.z + v6.z) / 6};
  ExpectNear(e.vertices[1], {0.5f * v1.x + 0.5f * mean.x, 0.5f * v1.y + 0.5f * mean.y, 0.5f * v1.z + 0.5f * mean.z},
             "rim");
  EXPECT_EQ(e.vertices[7], before.vertices[7]);
  EXPECT_EQ(e.vertexState[1], kVertexTouched);
}

TEST(BrushOperators, SmoothReportsAnAdjacencyThatDoesNotFit) {
  CapturingMessageSink sink;
  TGeosphera e = MakeRaisedFan(6);
  e.adjacency = {};
  TBrushFrame frame;
  frame.radius = 1;
  frame.strength = 0.5f;
  frame.direct.entries = {{0, 0}};
  const TGeosphera before = e;
  ApplySmooth(e, frame);
  EXPECT_EQ(sink.Texts(), std::vector<std::string>{"Error smooth"});
  EXPECT_EQ(e.vertices, before.vertices);
}

TEST(BrushOperators, StampLiftsByTheSampledHeight) {
  TGeosphera e = MakeBrushFixture();
  TBrushFrame frame = MakeFixtureFrame();
  TStampSampler stamp;
  stamp.width = 2;
  stamp.height = 2;
  stamp.heights = {0, 1, 2, 10, 11, 12, 20, 21, 22};  // [column][row] = 10 column + row
  // Vertex 0: column round(0.5) = 0, row 2 - round(0.4) - 1 = 1; vertex 1: column 2,
  // row 2 - 2 - 1 = -1 kept at 0; vertex 2 at t = 1 moves fully: column 1, row 0.
  stamp.coords = {{0.25f, 0.2f}, {0.99f, 0.99f}, {0.5f, 0.5f}, {0, 0}, {0, 0}};
  const TGeosphera before = e;

  ApplyBrush(e, frame, TBrushTool{TBrushTarget::Shape, kSculptStamp, {}, nullptr});
  EXPECT_EQ(e.vertices, before.vertices);
  EXPECT_EQ(e.vertexState, before.vertexState);

  ApplyBrush(e, frame, TBrushTool{TBrushTarget::Shape, kSculptStamp, {}, &stamp});
  const float k = 4 * 0.01f;
  ExpectNear(Minus(e.vertices[0], before.vertices[0]), {0, 0, 1 * k}, "vertex 0");
  ExpectNear(Minus(e.vertices[1], before.vertices[1]), {0, 0, 20 * k}, "vertex 1");
  ExpectNear(Minus(e.vertices[2], before.vertices[2]), {0, 0, 10 * k}, "vertex 2");
  EXPECT_EQ(e.vertices[4], before.vertices[4]);
}

TEST(BrushOperators, MaskPaintingFreezesBothSidesWithinTheRadius) {
  for (const TBrushTarget target : {TBrushTarget::Freeze, TBrushTarget::Selection}) {
    MirrorFixture m = MakeMirrorFixture();
    m.frame.mirror.pickedVertex = -1;  // mask painting has no centre test
    m.frame.direct.entries.push_back({9, 2.5f});  // beyond the radius
    m.e.vertexState[9] = kVertexTouched;
    const TGeosphera before = m.e;
    ApplyBrush(m.e, m.frame, TBrushTool{target, kSculptAdd, {}, nullptr});
    for (size_t v = 0; v < 9; ++v) EXPECT_EQ(m.e.vertexState[v], kVertexFrozen) << v;
    EXPECT_EQ(m.e.vertexState[9], kVertexFrozen);  // through the mirror entry at d = 1
    EXPECT_EQ(m.e.vertices, before.vertices);
  }
}

TEST(BrushOperators, VertexPaintingModes) {
  const struct {
    int32_t mode;
    uint8_t alpha;
    TRGBA expected[3];  // entries at d = 0, r/2, r/2 in list positions 0, 1, 2
  } cases[] = {
      {kPaintHard, 255, {{255, 0, 0, 255}, {255, 0, 0, 255}, {255, 0, 0, 255}}},
      // 128 / 255 * 0.5 + 0.5 -> 191.5 rounds to even 192.
      {kPaintSoft, 255, {{255, 0, 0, 255}, {192, 64, 64, 255}, {192, 64, 64, 255}}},
      {kPaintDithered, 255, {{255, 0, 0, 255}, {128, 128, 128, 255}, {192, 64, 64, 255}}},
      // Opacity 0.2: 128 * 0.8 + 51 = 153.4, 128 * 0.8 = 102.4.
      {kPaintHard, 51, {{153, 102, 102, 255}, {153, 102, 102, 255}, {153, 102, 102, 255}}},
  };
  for (const auto& c : cases) {
    TGeosphera e = MakeBrushFixture();
    TBrushFrame frame = MakeFixtureFrame();
    frame.direct.entries = {{0, 0}, {1, 1}, {3, 1}, {4, 1}};
    const TSelect stateBefore = e.vertexState;
    ApplyBrush(e, frame, TBrushTool{TBrushTarget::Paint, kSculptAdd, TPaintState{{255, 0, 0, c.alpha}, c.mode}, nullptr});
    EXPECT_EQ(e.colors[0], c.expected[0]) << c.mode;
    EXPECT_EQ(e.colors[1], c.expected[1]) << c.mode;
    EXPECT_EQ(e.colors[3], c.expected[2]) << c.mode;
    EXPECT_EQ(e.colors[4], kDefaultVertexColor) << c.mode;  // frozen
    EXPECT_EQ(e.vertexState, stateBefore) << c.mode;
  }
}

TEST(BrushOperators, VertexPaintingPaintsTheMirrorWithoutItsCentre) {
  MirrorFixture m = MakeMirrorFixture();
  m.frame.mirror.pickedVertex = -1;
  ApplyVertexPainting(m.e, m.frame, TPaintState{{0, 0, 255, 255}, kPaintHard});
  EXPECT_EQ(m.e.colors[5], (TRGBA{0, 0, 255, 255}));
  EXPECT_EQ(m.e.colors[9], kDefaultVertexColor);  // frozen mirror vertex
}

TEST(BrushOperators, EmptyDirectFootprintAppliesNothing) {
  MirrorFixture m = MakeMirrorFixture();
  m.frame.direct.entries.clear();
  const TGeosphera before = m.e;
  ApplyBrush(m.e, m.frame, TBrushTool{});
  EXPECT_EQ(m.e.vertices, before.vertices);
}

TEST(BrushOperators, NothingHappensWithoutARadius) {
  for (const TBrushTarget target : {TBrushTarget::Shape, TBrushTarget::Paint, TBrushTarget::Freeze}) {
    TGeosphera e = MakeBrushFixture();
    const TGeosphera before = e;
    TBrushFrame frame = MakeFixtureFrame();
    frame.radius = 0;
    frame.direct.entries = {{0, 0}};
    ApplyBrush(e, frame, TBrushTool{target, kSculptAdd, TPaintState{{255, 0, 0, 255}, kPaintSoft}, nullptr});
    EXPECT_EQ(e.vertices, before.vertices);
    EXPECT_EQ(e.colors, before.colors);
    EXPECT_EQ(e.vertexState, before.vertexState);
  }
}

}  // namespace
