// Degree reduction and rhombus removal on hand-made polygons.
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "polygon_storage.h"
#include "recording_status_output.h"

namespace voxquad {

namespace {

// Storage with its indexes and midpoints built, as the stages find it.
void prepare(PolygonStorage& s)
{
    s.buildVIndex();
    s.computeMidpoints();
}

// One convex polygon of n corners on the unit circle in the plane z = 0.
PolygonStorage regularPolygon(int n)
{
    PolygonStorage s;
    VertexIDList corners;
    for (int k = 0; k < n; ++k) {
        double angle = 2 * std::numbers::pi * k / n;
        corners.push_back(s.addVertex(Vertex(vec3(float(std::cos(angle)), float(std::sin(angle)), 0))));
    }
    s.Polygons.push_back(corners);
    prepare(s);
    return s;
}

vec3 centroidOf(const PolygonStorage& s, const VertexIDList& corners)
{
    vec3 sum;
    for (int v : corners)
        sum += s.Vertices[v].position;
    return sum * (1.0f / static_cast<float>(corners.size()));
}

// VIndex and Midpoints match what a full rebuild computes from the polygons.
void expectIndexesCurrent(const PolygonStorage& s)
{
    PolygonStorage rebuilt = s;
    rebuilt.buildVIndex();
    rebuilt.computeMidpoints();
    ASSERT_EQ(s.VIndex.size(), rebuilt.VIndex.size());
    for (std::size_t v = 0; v < s.VIndex.size(); ++v)
        EXPECT_EQ(s.VIndex[v], rebuilt.VIndex[v]) << "vertex " << v;
    ASSERT_EQ(s.Midpoints.size(), s.Polygons.size());
    for (std::size_t i = 0; i < s.Polygons.size(); ++i)
        if (!s.Polygons[i].empty()) {
            EXPECT_EQ(s.Midpoints[i].position, rebuilt.Midpoints[i].position) << "polygon " << i;
            EXPECT_EQ(s.Midpoints[i].normal, rebuilt.Midpoints[i].normal) << "polygon " << i;
        }
    std::size_t edges = 0;
    for (const auto& [key, data] : rebuilt.EdgeIndex)
        edges += 1 + (data.second != -1);
    std::size_t indexed = 0;
    for (const auto& [key, data] : s.EdgeIndex)
        indexed += 1 + (data.second != -1);
    EXPECT_EQ(indexed, edges);
}

struct SplitCase {
    int corners;
    PolygonArray polygons;   // vertex n is the fan vertex
    VertexIDList fanAround;  // polygon whose centroid the fan vertex takes; empty: none
};

}  // namespace

TEST(ReducePolygonDegree, SplitsIntoQuadsAndAtMostOneTriangle)
{
    const SplitCase cases[] = {
        {4, {{0, 1, 2, 3}}, {}},
        {5, {{0, 2, 3, 4}, {0, 1, 2}}, {}},
        {6, {{0, 6, 4, 5}, {0, 1, 2, 6}, {2, 3, 4, 6}}, {0, 1, 2, 3, 4, 5}},
        {7, {{0, 7, 5, 6}, {0, 1, 2}, {0, 2, 3, 7}, {3, 4, 5, 7}}, {0, 2, 3, 4, 5, 6}},
        {8, {{0, 8, 6, 7}, {0, 1, 2, 8}, {2, 3, 4, 8}, {4, 5, 6, 8}}, {0, 1, 2, 3, 4, 5, 6, 7}},
    };
    for (const SplitCase& c : cases) {
        SCOPED_TRACE(c.corners);
        PolygonStorage s = regularPolygon(c.corners);
        const PolygonStorage before = s;
        RecordingStatusOutput recorder;
        s.setStatusOutput(&recorder);
        s.reducePolygonDegree();

        EXPECT_EQ(s.Polygons, c.polygons);
        const std::size_t added = c.fanAround.empty() ? 0 : 1;
        ASSERT_EQ(s.Vertices.size(), before.Vertices.size() + added);
        if (added) {
            const Vertex& fan = s.Vertices.back();
            const vec3 centroid = centroidOf(before, c.fanAround);
            EXPECT_NEAR((fan.position - centroid).length(), 0, 1e-6f);
            EXPECT_EQ(fan.normal, before.Midpoints[0].normal);
        }
        expectIndexesCurrent(s);
        EXPECT_EQ(recorder.stages, std::vector<std::string>{"Reducing polygon degree"});
        EXPECT_EQ(recorder.openStages, 0);
    }
}

// A pentagon whose first three corners lie on one line (dual corners on one crease): cutting the
// triangle off there would leave it without area, so the cut starts at the next corner where
// neither part is flat.
TEST(ReducePolygonDegree, OddPolygonIsNotCutIntoAFlatTriangle)
{
    PolygonStorage s;
    for (const vec3& p : {vec3(0, 0, 0), vec3(1, 0, 0), vec3(2, 0, 0), vec3(2, 1, 0), vec3(0, 1, 0)})
        s.addVertex(Vertex(p));
    s.Polygons.push_back({0, 1, 2, 3, 4});
    prepare(s);
    s.reducePolygonDegree();
    ASSERT_EQ(s.Polygons.size(), 2u);
    for (const VertexIDList& p : s.Polygons) EXPECT_FALSE(polygonWithoutArea(p, s.Vertices));
    EXPECT_EQ(s.Polygons[1], (VertexIDList{1, 2, 3}));
    EXPECT_EQ(s.Polygons[0], (VertexIDList{1, 3, 4, 0}));
    expectIndexesCurrent(s);
}

TEST(ReducePolygonDegree, TwoKCornersGiveKQuads)
{
    PolygonStorage s = regularPolygon(12);
    s.reducePolygonDegree();
    ASSERT_EQ(s.Polygons.size(), 6u);
    for (const VertexIDList& quad : s.Polygons)
        EXPECT_EQ(quad.size(), 4u);
    EXPECT_EQ(s.Vertices.size(), 13u);
    // Every side of the twelve-gon is still a border edge and every fan edge is shared by two quads.
    for (const auto& [key, data] : s.EdgeIndex)
        EXPECT_EQ(data.second == -1, key.b != 12) << key.a << "-" << key.b;
}

TEST(ReducePolygonDegree, FanNeedsAtLeastThreeCorners)
{
#ifdef NDEBUG
    PolygonStorage s = regularPolygon(6);
    const PolygonStorage before = s;
    s.splitIntoFan(0, 2, 0, s.Midpoints[0]);  // refused instead of looping forever
    EXPECT_EQ(s.Polygons, before.Polygons);
    EXPECT_EQ(s.Vertices.size(), before.Vertices.size());
#else
    PolygonStorage s = regularPolygon(6);
    EXPECT_DEATH(s.splitIntoFan(0, 2, 0, s.Midpoints[0]), "g > 2");
#endif
}

namespace {

// The quad (0, 1, 2, 3) whose corners have the given valences: each corner gets valence - 1 extra
// triangles with vertices of their own far away.
PolygonStorage quadWithValences(const int (&valences)[4])
{
    PolygonStorage s;
    const vec3 corners[4] = {{0, 0, 0}, {2, -1, 0}, {4, 0, 0}, {2, 1, 0}};
    for (const vec3& p : corners)
        s.addVertex(Vertex(p));
    s.Polygons.push_back({0, 1, 2, 3});
    for (int k = 0; k < 4; ++k)
        for (int extra = 1; extra < valences[k]; ++extra) {
            vec3 away = corners[k] + vec3(0, 0, 10.0f * float(extra));
            int u = s.addVertex(Vertex(away));
            int w = s.addVertex(Vertex(away + vec3(1, 0, 0)));
            s.Polygons.push_back({k, u, w});
        }
    prepare(s);
    return s;
}

bool usesVertex(const PolygonStorage& s, int v)
{
    for (const VertexIDList& p : s.Polygons)
        if (std::find(p.begin(), p.end(), v) != p.end())
            return true;
    return false;
}

struct RhombusCase {
    int valences[4];
    VertexIDList quadAfter;  // empty: collapsed
    int merged, kept;        // on a collapse: the corner that disappears and the one at the centroid
};

}  // namespace

TEST(RemoveRhombusPolygons, CollapsesOnlyThreeHighThreeHighQuads)
{
    const RhombusCase cases[] = {
        {{3, 5, 3, 5}, {}, 0, 2},
        {{5, 3, 5, 3}, {}, 1, 3},              // rotated first
        {{4, 4, 4, 4}, {1, 2, 3, 0}, -1, -1},  // rotated only
        {{3, 4, 3, 5}, {0, 1, 2, 3}, -1, -1},  // a high corner of valence 4 is not enough
    };
    for (const RhombusCase& c : cases) {
        SCOPED_TRACE(testing::PrintToString(std::vector<int>(c.valences, c.valences + 4)));
        PolygonStorage s = quadWithValences(c.valences);
        const vec3 centroid = s.Midpoints[0].position;
        const std::size_t mergedPolygons = c.merged >= 0 ? s.VIndex[c.merged].size() - 1 : 0;
        const std::size_t keptPolygons = c.kept >= 0 ? s.VIndex[c.kept].size() - 1 : 0;
        RecordingStatusOutput recorder;
        s.setStatusOutput(&recorder);
        s.removeRhombusPolygons();

        EXPECT_EQ(s.Polygons[0], c.quadAfter);
        expectIndexesCurrent(s);
        if (c.merged >= 0) {
            EXPECT_FALSE(usesVertex(s, c.merged));
            EXPECT_EQ(s.Vertices[c.kept].position, centroid);
            EXPECT_EQ(s.VIndex[c.kept].size(), mergedPolygons + keptPolygons);
            recorder.messages.clear();
            s.printStatistics();
            EXPECT_EQ(recorder.messages[14], " 1 with 0 edges");
        }
        EXPECT_EQ(recorder.stages, std::vector<std::string>{"Removing rhombus polygons"});
    }
}

}  // namespace voxquad
