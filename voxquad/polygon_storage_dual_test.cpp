#include <gtest/gtest.h>

#include <cmath>
#include <map>

#include "polygon_storage.h"
#include "recording_status_output.h"

namespace voxquad {

namespace {

// Indexes and midpoints as marching cubes leaves them.
void prepare(PolygonStorage& s)
{
    s.buildVIndex();
    s.computeMidpoints();
}

// A unit cube of six quads, oriented outwards.
PolygonStorage cube()
{
    PolygonStorage s;
    for (int i = 0; i < 8; ++i)
        s.addVertex(Vertex(vec3(float(i & 1), float((i >> 1) & 1), float((i >> 2) & 1))));
    s.Polygons = {{0, 2, 3, 1}, {4, 5, 7, 6}, {0, 1, 5, 4}, {2, 6, 7, 3}, {0, 4, 6, 2}, {1, 3, 7, 5}};
    prepare(s);
    return s;
}

// Three triangles fanned around vertex 0 over half a disc: vertex 0 lies on the open border.
PolygonStorage halfFan()
{
    PolygonStorage s;
    s.addVertex(Vertex(vec3(0, 0, 0)));
    for (int k = 0; k < 4; ++k) {
        float angle = float(k) * 3.14159265f / 3;
        s.addVertex(Vertex(vec3(std::cos(angle), std::sin(angle), 0)));
    }
    s.Polygons = {{0, 1, 2}, {0, 2, 3}, {0, 3, 4}};
    prepare(s);
    return s;
}

}  // namespace

TEST(ConstructDual, ClosedSurfaceGivesFacesWithoutExtraVertices)
{
    PolygonStorage source = cube();
    source.scale = 0.5f;
    source.offset = vec3(1, 2, 3);
    PolygonStorage dual;
    RecordingStatusOutput status;
    dual.setStatusOutput(&status);
    dual.constructDual(source);

    EXPECT_EQ(status.stages, std::vector<std::string>{"Constructing Dual Surface"});
    EXPECT_EQ(status.openStages, 0);
    EXPECT_EQ(dual.scale, 0.5f);
    EXPECT_EQ(dual.offset, vec3(1, 2, 3));
    ASSERT_EQ(dual.Vertices.size(), 6u);  // one per cube face, nothing more
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(dual.Vertices[i].position, source.Midpoints[i].position);
    ASSERT_EQ(dual.Polygons.size(), 8u);  // an octahedron
    const vec3 centre(0.5f, 0.5f, 0.5f);
    for (std::size_t f = 0; f < dual.Polygons.size(); ++f) {
        EXPECT_EQ(dual.Polygons[f].size(), 3u);
        // Oriented like the source: normals point away from the centre.
        EXPECT_GT(dot(dual.Midpoints[f].normal, dual.Midpoints[f].position - centre), 0.1f) << "face " << f;
    }
    // The face of source vertex 0 starts with its smallest polygon and walks to the predecessors.
    EXPECT_EQ(dual.Polygons[0], (VertexIDList{0, 2, 4}));
    EXPECT_EQ(dual.VIndex.size(), 6u);
    EXPECT_EQ(dual.Midpoints.size(), 8u);
}

TEST(ConstructDual, OpenBorderFacesStartAndEndAtEdgeMidpoints)
{
    PolygonStorage source = halfFan();
    source.Vertices[0].featureKind = 2;
    PolygonStorage dual;
    dual.constructDual(source);

    // Vertex 0 has three polygons; the rim vertices have one or two and give no face.
    ASSERT_EQ(dual.Polygons.size(), 1u);
    ASSERT_EQ(dual.Vertices.size(), 5u);
    EXPECT_EQ(dual.Polygons[0], (VertexIDList{4, 0, 1, 2, 3}));
    // Midpoints of the border edges (0, 4) and (0, 1), with vertex 0's feature kind.
    EXPECT_NEAR(dual.Vertices[3].position.x, -0.5f, 1e-6f);
    EXPECT_NEAR(dual.Vertices[3].position.y, 0.0f, 1e-6f);
    EXPECT_EQ(dual.Vertices[4].position, vec3(0.5f, 0, 0));
    EXPECT_EQ(dual.Vertices[3].featureKind, 2);
    EXPECT_EQ(dual.Vertices[4].featureKind, 2);
    EXPECT_GT(dual.Midpoints[0].normal.z, 0.99f);  // oriented like the source
}

TEST(ConstructDual, WalkAcrossAnOverloadedEdgeEnds)
{
    // Edge (0, 3) holds three polygons; the walk around vertex 0 would bounce between the last two
    // for ever if it were not bounded by the vertex's polygon count.
    PolygonStorage source;
    for (int i = 0; i < 5; ++i)
        source.addVertex(Vertex(vec3(float(i), float(i * i % 3), float(i % 2))));
    source.Polygons = {{0, 1, 2}, {0, 3, 4}, {0, 2, 3}, {0, 4, 3}};
    prepare(source);
    PolygonStorage dual;
    dual.constructDual(source);
    ASSERT_FALSE(dual.Polygons.empty());
    EXPECT_LE(dual.Polygons[0].size(), source.VIndex[0].size() + 2);
    EXPECT_EQ(dual.Polygons[0].front(), 0);
}

TEST(ConstructDual, EmptiedPolygonsEndTheWalkSafely)
{
    // A tetrahedron and a two-corner polygon on vertices 0 and 1, emptied by computeMidpoints but
    // still first on the edge (0, 1) in the edge index: the walks stop there as at a border.
    PolygonStorage source;
    for (const vec3& p : {vec3(0, 0, 0), vec3(1, 0, 0), vec3(0, 1, 0), vec3(0, 0, 1)})
        source.addVertex(Vertex(p));
    source.Polygons = {{0, 1}, {0, 2, 1}, {0, 1, 3}, {0, 3, 2}, {1, 2, 3}};
    prepare(source);
    PolygonStorage dual;
    dual.constructDual(source);
    ASSERT_EQ(dual.Polygons.size(), 4u);
    EXPECT_EQ(dual.Polygons[2], (VertexIDList{1, 3, 4}));  // vertex 2: away from the edge, closed
    for (const VertexIDList& face : dual.Polygons)
        for (int id : face) {
            EXPECT_GE(id, 1);  // never the emptied polygon's record
            EXPECT_LT(id, static_cast<int>(dual.Vertices.size()));
        }
}

// Two faces of the cube whose midpoints took one feature point (the middle of their shared edge):
// the two dual vertices merge, the two dual faces left with two corners go, and the rest stays a
// closed surface without a polygon that repeats a position.
TEST(ConstructDual, CornersAtOnePositionMerge)
{
    PolygonStorage source = cube();
    for (int p : {0, 2}) {
        source.Midpoints[p].position = vec3(0.5f, 0, 0);
        source.Midpoints[p].featureKind = 1;
    }
    PolygonStorage dual;
    dual.constructDual(source);
    ASSERT_EQ(dual.Polygons.size(), 6u);
    std::map<std::pair<int, int>, int> sides;
    for (const VertexIDList& p : dual.Polygons) {
        ASSERT_EQ(p.size(), 3u);
        EXPECT_FALSE(polygonWithoutArea(p, dual.Vertices));
        for (std::size_t k = 0; k < 3; ++k) ++sides[{p[k], p[(k + 1) % 3]}];
    }
    for (const auto& [side, count] : sides) {
        EXPECT_EQ(count, 1);
        EXPECT_EQ(sides.count({side.second, side.first}), 1u) << side.first << "-" << side.second;
    }
}

TEST(ConstructDual, EmptySourceGivesEmptyDual)
{
    PolygonStorage source;
    PolygonStorage dual = cube();
    dual.constructDual(source);
    EXPECT_TRUE(dual.Vertices.empty());
    EXPECT_TRUE(dual.Polygons.empty());
}

}  // namespace voxquad
