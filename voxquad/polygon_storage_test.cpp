#include "polygon_storage.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "recording_status_output.h"

namespace voxquad {

namespace {

PolygonStorage storageWith(std::initializer_list<vec3> positions, std::initializer_list<VertexIDList> polygons)
{
    PolygonStorage s;
    for (const vec3& p : positions)
        s.addVertex(Vertex(p));
    s.Polygons.assign(polygons.begin(), polygons.end());
    return s;
}

void expectNear(const vec3& actual, const vec3& expected, float tolerance = 1e-6f)
{
    EXPECT_NEAR(actual.x, expected.x, tolerance);
    EXPECT_NEAR(actual.y, expected.y, tolerance);
    EXPECT_NEAR(actual.z, expected.z, tolerance);
}

// A closed tetrahedron with outward normals, one isolated vertex and a two-corner polygon.
PolygonStorage tetrahedronWithStrays()
{
    return storageWith({{0, 0, 0}, {1, 0, 0}, {0, 1, 0}, {0, 0, 1}, {5, 5, 5}},
                       {{0, 2, 1}, {0, 1, 3}, {0, 3, 2}, {1, 2, 3}, {0, 1}});
}

}  // namespace

TEST(PolygonStorage, AddTriangleRefusesRepeatedIds)
{
    PolygonStorage s;
    EXPECT_EQ(s.addTriangle(4, 4, 7), -1);
    EXPECT_EQ(s.addTriangle(4, 7, 4), -1);
    EXPECT_TRUE(s.Polygons.empty());
    EXPECT_EQ(s.addTriangle(0, 1, 2), 0);
    EXPECT_EQ(s.addTriangle(2, 1, 3), 1);
    EXPECT_EQ(s.Polygons[1], (VertexIDList{2, 1, 3}));
}

// buildVIndex fills EdgeIndex from the fresh VIndex, and computeVertexNormals walks it too: both must
// give what buildEdgeIndex and vertexNormal give, on a polygon that repeats a vertex, an edge
// of three polygons, a degenerate side and a polygon emptied by computeMidpoints.
TEST(PolygonStorage, IndexAndNormalsFromVIndexMatchTheDirectWays)
{
    PolygonStorage s = storageWith({{0, 0, 0}, {1, 0, 0}, {0, 1, 0}, {0, -1, 0}, {0, 0, 1}, {1, 1, 1}},
                                   {{0, 1, 2}, {1, 0, 3}, {0, 1, 4}, {4, 2, 5, 2, 1}, {3, 3, 5}, {2, 5}, {5, 0, 4}});
    s.buildVIndex();
    const std::vector<std::pair<EdgeEntryKey, EdgeEntryData>> fromVIndex(s.EdgeIndex.begin(), s.EdgeIndex.end());
    s.buildEdgeIndex();
    ASSERT_EQ(fromVIndex.size(), s.EdgeIndex.size());
    auto direct = s.EdgeIndex.begin();
    for (const auto& [key, data] : fromVIndex) {
        EXPECT_EQ(key.a, direct->first.a);
        EXPECT_EQ(key.b, direct->first.b);
        EXPECT_EQ(data.first, direct->second.first);
        EXPECT_EQ(data.second, direct->second.second);
        ++direct;
    }

    s.computeMidpoints();
    s.computeVertexNormals();
    for (int v = 0; v < static_cast<int>(s.Vertices.size()); ++v) {
        const vec3 batch = s.Vertices[v].normal, single = s.vertexNormal(v);
        EXPECT_EQ(batch.x, single.x) << v;
        EXPECT_EQ(batch.y, single.y) << v;
        EXPECT_EQ(batch.z, single.z) << v;
    }
}

TEST(PolygonStorage, EdgeIndexKeepsAtMostTwoPolygons)
{
    // Three triangles on the edge (0, 1).
    PolygonStorage s = storageWith({{0, 0, 0}, {1, 0, 0}, {0, 1, 0}, {0, -1, 0}, {0, 0, 1}},
                                   {{0, 1, 2}, {1, 0, 3}, {0, 1, 4}});
    s.buildVIndex();
    const EdgeEntryData& shared = s.EdgeIndex.at(EdgeEntryKey(1, 0));
    EXPECT_EQ(shared.first, 0);
    EXPECT_EQ(shared.second, 1);
    EXPECT_EQ(s.EdgeIndex.at(EdgeEntryKey(1, 2)).second, -1);
    EXPECT_EQ(s.EdgeIndex.size(), 7u);

    EXPECT_EQ(s.otherPolygon(0, EdgeEntryKey(0, 1)), 1);
    EXPECT_EQ(s.otherPolygon(1, EdgeEntryKey(0, 1)), 0);
    EXPECT_EQ(s.otherPolygon(2, EdgeEntryKey(0, 1)), 0);  // the unrecorded third polygon
    EXPECT_EQ(s.otherPolygon(0, EdgeEntryKey(1, 2)), -1);
    EXPECT_EQ(s.otherPolygon(0, EdgeEntryKey(3, 4)), -1);

    EXPECT_EQ(s.VIndex[0], (VertexIDSet{0, 1, 2}));

    // A polygon that runs along an edge twice counts once; the edge of vertices 4 and 0 sorts by
    // its smaller id.
    PolygonStorage t = storageWith({{0, 0, 0}, {1, 0, 0}, {0, 1, 0}, {0, 0, 1}, {1, 1, 1}},
                                   {{4, 0}, {1, 2, 3}, {0, 4, 3}, {3, 4, 0}});
    t.buildVIndex();
    EXPECT_EQ(t.EdgeIndex.at(EdgeEntryKey(0, 4)).first, 0);
    EXPECT_EQ(t.EdgeIndex.at(EdgeEntryKey(0, 4)).second, 2);
    EXPECT_EQ(t.EdgeIndex.at(EdgeEntryKey(3, 4)).first, 2);
    EXPECT_EQ(t.EdgeIndex.at(EdgeEntryKey(3, 4)).second, 3);
    EXPECT_EQ(t.EdgeIndex.at(EdgeEntryKey(2, 3)).second, -1);
    std::vector<std::pair<int, int>> keys;
    for (const auto& [key, data] : t.EdgeIndex)
        keys.emplace_back(key.a, key.b);
    EXPECT_EQ(keys, (std::vector<std::pair<int, int>>{{0, 3}, {0, 4}, {1, 2}, {1, 3}, {2, 3}, {3, 4}}));
    EXPECT_EQ(t.VIndex[4], (VertexIDSet{0, 2, 3}));
    EXPECT_EQ(s.VIndex[4], (VertexIDSet{2}));
    EXPECT_EQ(s.neighbour(1, 0, true), 3);
    EXPECT_EQ(s.neighbour(1, 0, false), 1);
    EXPECT_EQ(s.neighbour(1, 1, false), 3);  // cyclic
}

TEST(PolygonStorage, EdgeKeysOrderLexicographically)
{
    compareEdgeEntryKey less;
    EXPECT_TRUE(less(EdgeEntryKey(1, 9), EdgeEntryKey(2, 3)));
    EXPECT_TRUE(less(EdgeEntryKey(2, 3), EdgeEntryKey(4, 2)));
    EXPECT_FALSE(less(EdgeEntryKey(3, 2), EdgeEntryKey(2, 3)));
}

TEST(PolygonStorage, MidpointsOfTrianglesAndLargerPolygons)
{
    PolygonStorage s = storageWith({{1, 0, 0}, {4, 0, 0}, {0, 1, 0}, {0, 0, 0}, {2, 0, 0}, {2, 2, 0}, {0, 2, 0},
                                    {9, 9, 9}},
                                   {{0, 1, 2}, {3, 4, 5, 6}, {7, 3}, {4, 5, 6, 3, 7}});
    s.computeMidpoints();
    ASSERT_EQ(s.Midpoints.size(), 4u);

    // The triangle's centroid uses the single-precision factor 0.33333334, not a division by 3.
    EXPECT_EQ(s.Midpoints[0].position.x, 5.0f * 0.33333334f);
    EXPECT_NE(s.Midpoints[0].position.x, 5.0f / 3.0f);
    EXPECT_EQ(s.Midpoints[0].position.y, 0.33333334f);
    expectNear(s.Midpoints[0].normal, {0, 0, 1});

    expectNear(s.Midpoints[1].position, {1, 1, 0});
    expectNear(s.Midpoints[1].normal, {0, 0, 1});

    EXPECT_TRUE(s.Polygons[2].empty());  // two corners: emptied, record left as it was
    expectNear(s.Midpoints[2].position, {0, 0, 0});

    expectNear(s.Midpoints[3].position, {13.0f / 5, 13.0f / 5, 9.0f / 5}, 1e-5f);
}

TEST(PolygonStorage, VertexNormalsAreAngleWeighted)
{
    // At vertex 0 a 90 degree corner with normal +z and a 45 degree corner with normal +x.
    PolygonStorage s = storageWith({{0, 0, 0}, {1, 0, 0}, {0, 1, 0}, {0, 1, 1}}, {{0, 1, 2}, {0, 2, 3}});
    s.buildVIndex();
    s.computeMidpoints();
    s.computeVertexNormals();
    float quarter = std::numbers::pi_v<float> / 4;
    expectNear(s.Vertices[0].normal, normalized(vec3(quarter, 0, 2 * quarter)));
    expectNear(s.Vertices[1].normal, {0, 0, 1});

    // A two-corner polygon emptied by computeMidpoints is still in the index and adds nothing.
    PolygonStorage strays = tetrahedronWithStrays();
    strays.buildVIndex();
    strays.computeMidpoints();
    strays.computeVertexNormals();
    expectNear(strays.Vertices[0].normal, normalized(vec3(-1, -1, -1)));

    PolygonStorage lonely = storageWith({{0, 0, 0}, {1, 0, 0}, {0, 1, 0}, {3, 3, 3}}, {{0, 1, 2}});
    lonely.Vertices[3].normal = vec3(1, 0, 0);
    lonely.buildVIndex();
    lonely.computeMidpoints();
    lonely.computeVertexNormals();
    expectNear(lonely.Vertices[3].normal, {0, 0, 0});  // no polygon: zero normal
}

TEST(PolygonStorage, NormalizeMapsIntoGridAndKeepsWorldPositions)
{
    PolygonStorage s = storageWith({{-1, 2, 3}, {1, 3, 4}, {0, 2.5f, 3.5f}}, {{0, 1, 2}});
    s.computeMidpoints();
    s.computeBoundingBox();
    std::vector<vec3> world;
    for (const Vertex& v : s.Vertices)
        world.push_back(v.position);
    vec3 worldMidpoint = s.Midpoints[0].position;

    s.normalize(288, 144, 144);  // box 2 x 1 x 1: scale min(284 / 2, 140, 140) = 140
    expectNear(s.Vertices[0].position, {1.5f, 1.5f, 1.5f});
    expectNear(s.Vertices[1].position, {281.5f, 141.5f, 141.5f}, 1e-4f);
    expectNear(s.bboxMin, {1.5f, 1.5f, 1.5f});
    expectNear(s.bboxMax, {281.5f, 141.5f, 141.5f}, 1e-4f);
    EXPECT_FLOAT_EQ(s.scale, 1.0f / 140);
    for (std::size_t i = 0; i < world.size(); ++i)
        expectNear(s.Vertices[i].position * s.scale + s.offset, world[i], 1e-5f);
    expectNear(s.Midpoints[0].position * s.scale + s.offset, worldMidpoint, 1e-5f);

    // A second normalisation composes with the first transform.
    s.normalize(20, 12, 12);
    for (std::size_t i = 0; i < world.size(); ++i)
        expectNear(s.Vertices[i].position * s.scale + s.offset, world[i], 1e-5f);
}

TEST(PolygonStorage, ClearResetsTransform)
{
    PolygonStorage s = tetrahedronWithStrays();
    s.buildVIndex();
    s.computeMidpoints();
    s.scale = 3;
    s.offset = vec3(1, 2, 3);
    s.clear();
    EXPECT_TRUE(s.Vertices.empty() && s.Polygons.empty() && s.VIndex.empty() && s.Midpoints.empty());
    EXPECT_EQ(s.scale, 1.0f);
    EXPECT_EQ(s.offset, vec3());
}

TEST(PolygonStorage, StatisticsOfEmptyStorage)
{
    PolygonStorage s;
    RecordingStatusOutput status;
    s.setStatusOutput(&status);
    s.printStatistics();
    const std::vector<std::string> expected = {
        "------ Polygon Storage Statistics -------- begin",
        "Vertex grad statistics",
        " 0 grad 0", " 0 grad 1", " 0 grad 2", " 0 grad 3", " 0 grad 4", " 0 grad 5", " 0 grad 6", " 0 grad 7",
        " 0 grad 8", " 0 grad >=9",
        "Total vertices: 0",
        "Polygon edge statistics",
        " 0 with 0 edges", " 0 with 1 edges", " 0 with 2 edges", " 0 with 3 edges", " 0 with 4 edges",
        " 0 with 5 edges", " 0 with 6 edges", " 0 with 7 edges", " 0 with 8 edges", " 0 with >=9 edges",
        "Total : 0",
        "------ Polygon Storage Statistics -------- end",
    };
    EXPECT_EQ(status.messages, expected);
}

TEST(PolygonStorage, StatisticsOfSmallMesh)
{
    PolygonStorage s = tetrahedronWithStrays();
    // A vertex in twelve polygons fills the overflow bins.
    for (int i = 0; i < 12; ++i)
        s.Polygons.push_back(VertexIDList{0, 1, 2, 3, 4, 0, 1, 2, 3, 4});
    RecordingStatusOutput status;
    s.setStatusOutput(&status);
    s.buildVIndex();
    s.computeMidpoints();  // empties the two-corner polygon
    status.messages.clear();
    s.printStatistics();
    const std::vector<std::string> expected = {
        "------ Polygon Storage Statistics -------- begin",
        "Vertex grad statistics",
        " 0 grad 0", " 0 grad 1", " 0 grad 2", " 0 grad 3", " 0 grad 4", " 0 grad 5", " 0 grad 6", " 0 grad 7",
        " 0 grad 8", " 5 grad >=9",
        "Total vertices: 5",
        "Polygon edge statistics",
        " 1 with 0 edges", " 0 with 1 edges", " 0 with 2 edges", " 4 with 3 edges", " 0 with 4 edges",
        " 0 with 5 edges", " 0 with 6 edges", " 0 with 7 edges", " 0 with 8 edges", " 12 with >=9 edges",
        "Total : 17",
        "------ Polygon Storage Statistics -------- end",
    };
    EXPECT_EQ(status.messages, expected);

    PolygonStorage t = tetrahedronWithStrays();
    t.setStatusOutput(&status);
    t.buildVIndex();
    status.messages.clear();
    t.printStatistics();
    EXPECT_EQ(status.messages[2], " 1 grad 0");
    EXPECT_EQ(status.messages[5], " 2 grad 3");  // vertices 2 and 3
    EXPECT_EQ(status.messages[6], " 2 grad 4");  // vertices 0 and 1 also hold the two-corner polygon
    EXPECT_EQ(status.messages[16], " 1 with 2 edges");
}

TEST(PolygonStorage, BuildEdgeIndexAnnouncesItself)
{
    PolygonStorage s = tetrahedronWithStrays();
    RecordingStatusOutput status;
    s.setStatusOutput(&status);
    s.buildVIndex();
    EXPECT_EQ(status.messages, std::vector<std::string>{"PolygonStorage::buildEdgeIndex"});
}

}  // namespace voxquad
