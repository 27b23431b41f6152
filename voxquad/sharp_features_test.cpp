#include "sharp_features.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <set>
#include <utility>

#include "feature_transfer.h"
#include "test_meshes.h"
#include "volume_storage.h"
#include "volume_storage_test_support.h"
#include "voxelizer.h"

namespace voxquad {

namespace {

using Segment = std::pair<int, int>;

std::set<Segment> segmentsOf(const VertexIDListList& lines)
{
    std::set<Segment> segments;
    for (const VertexIDList& line : lines)
        for (std::size_t k = 0; k + 1 < line.size(); ++k)
            segments.emplace(std::min(line[k], line[k + 1]), std::max(line[k], line[k + 1]));
    return segments;
}

VertexIDListList detectOn(PolygonStorage& mesh)
{
    SharpFeatures features;
    features.setStorage(&mesh);
    features.detect(0.3f);
    EXPECT_TRUE(features.featureEdges.empty());
    return features.getFeatureLines();
}

// Two wings of two quads each (four triangles) along the crease (0, 0, 0) - (2, 0, 0), meeting at
// the given angle between them; the crease vertices are 0, 1 and 2.
PolygonStorage fold(double degrees)
{
    PolygonStorage s;
    const double angle = degrees * std::numbers::pi / 180;
    const vec3 wingA(0, 1, 0), wingB(0, float(std::cos(angle)), float(std::sin(angle)));
    for (int k = 0; k < 3; ++k) s.addVertex(Vertex(vec3(float(k), 0, 0)));
    for (int k = 0; k < 3; ++k) s.addVertex(Vertex(vec3(float(k), 0, 0) + wingA));  // 3, 4, 5
    for (int k = 0; k < 3; ++k) s.addVertex(Vertex(vec3(float(k), 0, 0) + wingB));  // 6, 7, 8
    for (int k = 0; k < 2; ++k) {
        s.addTriangle(k, k + 4, k + 1);
        s.addTriangle(k, k + 3, k + 4);
        s.addTriangle(k, k + 1, k + 7);
        s.addTriangle(k, k + 7, k + 6);
    }
    test_meshes::prepare(s);
    return s;
}

}  // namespace

TEST(SharpFeatures, CubeEdgesAreFeaturesAndFaceDiagonalsAreNot)
{
    PolygonStorage cube = test_meshes::cube(2);
    const VertexIDListList lines = detectOn(cube);
    std::set<Segment> cubeEdges;
    for (const auto& [key, data] : cube.EdgeIndex) {
        int onBorderAxes = 0;  // a segment on a cube edge has two coordinates at 0 or 1 at both ends
        for (int axis = 0; axis < 3; ++axis) {
            float a = cube.Vertices[key.a].position[axis], b = cube.Vertices[key.b].position[axis];
            onBorderAxes += a == b && (a == 0 || a == 1);
        }
        if (onBorderAxes == 2) cubeEdges.emplace(key.a, key.b);
    }
    ASSERT_EQ(cubeEdges.size(), 24u);  // 12 edges of two segments
    EXPECT_EQ(segmentsOf(lines), cubeEdges);
    for (const VertexIDList& line : lines) EXPECT_GE(line.size(), 3u);
}

TEST(SharpFeatures, OnlyNearlyPerpendicularFoldsAreCreases)
{
    const std::pair<double, bool> cases[] = {{30, false}, {70, false}, {75, true}, {90, true}, {105, true},
                                             {110, false}, {170, false}};
    for (const auto& [degrees, crease] : cases) {
        SCOPED_TRACE(degrees);
        PolygonStorage mesh = fold(degrees);
        const std::set<Segment> segments = segmentsOf(detectOn(mesh));
        EXPECT_EQ(segments.count({0, 1}) == 1, crease);
        EXPECT_EQ(segments.count({1, 2}) == 1, crease);
        // The open border is always kept.
        EXPECT_EQ(segments.count({3, 4}), 1u);
        EXPECT_EQ(segments.count({7, 8}), 1u);
    }
}

TEST(SharpFeatures, OpenBorderChainsIntoLinesAndALoneCreaseEdgeIsDropped)
{
    // A flat strip of three quads: the border runs around it, and its edges change polygon at
    // every step except across the two triangles of one quad.
    PolygonStorage strip;
    for (int k = 0; k < 4; ++k) strip.addVertex(Vertex(vec3(float(k), 0, 0)));
    for (int k = 0; k < 4; ++k) strip.addVertex(Vertex(vec3(float(k), 1, 0)));
    for (int k = 0; k < 3; ++k) {
        strip.addTriangle(k, k + 1, k + 5);
        strip.addTriangle(k, k + 5, k + 4);
    }
    test_meshes::prepare(strip);
    const VertexIDListList lines = detectOn(strip);
    const std::set<Segment> border{{0, 1}, {1, 2}, {2, 3}, {3, 7}, {6, 7}, {5, 6}, {4, 5}, {0, 4}};
    EXPECT_EQ(segmentsOf(lines), border);
    ASSERT_FALSE(lines.empty());
    EXPECT_EQ(lines.front(), (VertexIDList{3, 2, 1, 0, 4}));  // ends where two border edges share a triangle

    // Two triangles folded at a right angle: the crease alone makes a line of two vertices.
    PolygonStorage hinge;
    hinge.addVertex(Vertex(vec3(0, 0, 0)));
    hinge.addVertex(Vertex(vec3(1, 0, 0)));
    hinge.addVertex(Vertex(vec3(0, 1, 0)));
    hinge.addVertex(Vertex(vec3(0, 0, 1)));
    hinge.addTriangle(0, 1, 2);
    hinge.addTriangle(1, 0, 3);
    test_meshes::prepare(hinge);
    EXPECT_EQ(segmentsOf(detectOn(hinge)).count({0, 1}), 0u);
}

TEST(SharpFeatures, ClosedLoopStartsAndEndsWithTheSameVertex)
{
    // The rim of a closed box without its lid: a square border loop over four triangles of sides.
    PolygonStorage cup;
    for (int k = 0; k < 4; ++k) {
        double phi = std::numbers::pi / 2 * k;
        cup.addVertex(Vertex(vec3(float(std::cos(phi)), float(std::sin(phi)), 0)));
    }
    int apex = cup.addVertex(Vertex(vec3(0, 0, -1)));
    for (int k = 0; k < 4; ++k) cup.addTriangle(apex, (k + 1) % 4, k);
    test_meshes::prepare(cup);
    const VertexIDListList lines = detectOn(cup);
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines.front().front(), lines.front().back());
    EXPECT_EQ(lines.front().size(), 5u);
}

namespace {

class FeatureMarks : public ::testing::Test {
protected:
    void SetUp() override
    {
        volume.setSize(12, 12, 12);
        volume.clear();
        voxelizer.setVolume(&volume);
        voxelizer.setStorage(&mesh);
        voxelizer.setStatusOutput(&status);
        voxelizer.setSharpFeatures(&features);
        features.setStorage(&mesh);
    }
    int vertex(float x, float y, float z) { return mesh.addVertex(Vertex(vec3(x, y, z))); }
    VoxelData voxel(int x, int y, int z)
    {
        VoxelData v;
        volume.getVoxel(x, y, z, v);
        return v;
    }

    PolygonStorage mesh;
    VolumeStorageDF volume;
    StageRecorder status;
    SharpFeatures features;
    PolygonStorageVoxelizerDual voxelizer;
};

}  // namespace

TEST_F(FeatureMarks, SegmentMarksNearestPointsAndTheNearerLineWins)
{
    // A segment along x through y = 5.4, z = 5.5: cell (5, 5, 5) has its centre 0.1 away.
    int a = vertex(3.2f, 5.4f, 5.5f), b = vertex(8.2f, 5.4f, 5.5f);
    voxelizer.markSegment(a, b);
    VoxelData v = voxel(5, 5, 5);
    EXPECT_EQ(v.flags, 1);
    EXPECT_NEAR(v.featureOffset.x, 0, 1e-4f);
    EXPECT_NEAR(v.featureOffset.y, 0.1f, 1e-5f);
    EXPECT_NEAR(v.featureOffset.z, 0, 1e-5f);
    // A cell whose centre lies more than 0.7 off the segment along an axis is not marked.
    EXPECT_EQ(voxel(5, 6, 5).flags, 0);  // 1.1 away in y
    EXPECT_EQ(voxel(5, 5, 6).flags, 0);  // 1.0 away in z
    EXPECT_EQ(voxel(8, 5, 5).flags, 1);  // 0.3 beyond the end
    EXPECT_NEAR(voxel(8, 5, 5).featureOffset.x, 0.3f, 1e-5f);
    EXPECT_EQ(voxel(9, 5, 5).flags, 0);  // 1.3 beyond it

    // A farther line leaves the cell alone; a nearer one takes it over.
    int c = vertex(5.3f, 3.0f, 5.5f), d = vertex(5.3f, 8.0f, 5.5f);  // 0.2 from the centre in x
    voxelizer.markSegment(c, d);
    EXPECT_NEAR(voxel(5, 5, 5).featureOffset.y, 0.1f, 1e-5f);
    int e = vertex(5.45f, 3.0f, 5.5f), f = vertex(5.45f, 8.0f, 5.5f);  // 0.05 away
    voxelizer.markSegment(e, f);
    v = voxel(5, 5, 5);
    EXPECT_EQ(v.flags, 1);
    EXPECT_NEAR(v.featureOffset.x, 0.05f, 1e-5f);
    EXPECT_NEAR(v.featureOffset.y, 0, 1e-4f);

    // A line end in the cell turns it into a corner, which later segments and corners keep.
    int end = vertex(5.6f, 5.7f, 5.2f);
    voxelizer.markCorner(end);
    voxelizer.markSegment(e, f);
    voxelizer.markCorner(vertex(5.1f, 5.1f, 5.1f));
    v = voxel(5, 5, 5);
    EXPECT_EQ(v.flags, 2);
    EXPECT_NEAR(v.featureOffset.x, -0.1f, 1e-6f);
    EXPECT_NEAR(v.featureOffset.y, -0.2f, 1e-6f);
    EXPECT_NEAR(v.featureOffset.z, 0.3f, 1e-6f);
}

TEST_F(FeatureMarks, PointsOffTheGridOrNotANumberMarkNothing)
{
    const float nan = std::nanf("");
    int off = vertex(-0.5f, 3, 3), far = vertex(3, 3, 3e9f), broken = vertex(nan, 3, 3), inside = vertex(3, 3, 3);
    for (int v : {off, far, broken}) voxelizer.markCorner(v);
    voxelizer.markSegment(broken, inside);
    voxelizer.markSegment(inside, far);  // clipped to the grid's cells
    for (int x = 0; x < 12; ++x)
        for (int y = 0; y < 12; ++y)
            for (int z = 0; z < 12; ++z) EXPECT_NE(voxel(x, y, z).flags, 2);
    EXPECT_EQ(voxel(0, 3, 3).flags, 0);
}

TEST_F(FeatureMarks, RasterizedCubeCornersBecomeCornerCells)
{
    PolygonStorage cube = test_meshes::cube(2);
    cube.computeBoundingBox();
    cube.normalize(12, 12, 12);
    mesh = cube;
    voxelizer.rasterizeFeatures();
    EXPECT_EQ(status.stages, std::vector<std::string>{"Sharp features"});
    EXPECT_EQ(status.endedStages, 1);
    EXPECT_TRUE(status.progress.empty());
    // The cube spans 1.5 .. 9.5: its corners are ends of lines, and every cell on an edge holds a
    // feature point.
    for (int x : {1, 9})
        for (int y : {1, 9})
            for (int z : {1, 9}) EXPECT_EQ(voxel(x, y, z).flags, 2) << x << " " << y << " " << z;
    for (int along = 1; along <= 9; ++along)
        for (int u : {1, 9})
            for (int w : {1, 9}) {
                EXPECT_NE(voxel(along, u, w).flags, 0);
                EXPECT_NE(voxel(u, along, w).flags, 0);
                EXPECT_NE(voxel(u, w, along).flags, 0);
            }
    EXPECT_EQ(voxel(5, 5, 1).flags, 0);  // a face centre
}

TEST(FeatureTransfer, MidpointsTakeTheNearestStoredPointWithinReach)
{
    VolumeStorageDF volume;
    volume.setSize(8, 8, 8);
    volume.clear();
    VoxelData corner;
    corner.flags = 2;
    corner.featureOffset = vec3(0.1f, 0.2f, -0.3f);  // feature point (3.4, 3.3, 3.8)
    volume.setVoxel(3, 3, 3, corner);
    VoxelData edge;
    edge.flags = 1;
    edge.featureOffset = vec3(0, 0, 0);  // feature point (4.5, 3.5, 3.5)
    volume.setVoxel(4, 3, 3, edge);

    PolygonStorage marching;
    marching.Midpoints.resize(5);
    marching.Midpoints[0].position = vec3(3.6f, 3.3f, 3.8f);  // 0.2 from the corner point
    marching.Midpoints[1].position = vec3(4.3f, 3.5f, 3.5f);  // 0.2 from the edge point
    marching.Midpoints[2].position = vec3(5.3f, 4.2f, 4.2f);  // about 1.08 from the edge point
    marching.Midpoints[3].position = vec3(1.5f, 1.5f, 1.5f);  // no feature cell around
    marching.Midpoints[4].position = vec3(std::nanf(""), 3.5f, 3.5f);
    for (Vertex& m : marching.Midpoints) m.normal = vec3(0, 0, 1);
    const PolygonStorage before = marching;
    TransferFeaturePointsToMidpoints(marching, volume);

    EXPECT_NEAR((marching.Midpoints[0].position - vec3(3.4f, 3.3f, 3.8f)).length(), 0, 1e-6f);
    EXPECT_EQ(marching.Midpoints[0].featureKind, 2);
    EXPECT_EQ(marching.Midpoints[1].position, vec3(4.5f, 3.5f, 3.5f));
    EXPECT_EQ(marching.Midpoints[1].featureKind, 1);
    EXPECT_TRUE(std::isnan(marching.Midpoints[4].position.x));
    for (int k : {2, 3}) {
        EXPECT_EQ(marching.Midpoints[k].position, before.Midpoints[k].position);
        EXPECT_EQ(marching.Midpoints[k].featureKind, 0);
    }
    EXPECT_EQ(marching.Midpoints[0].normal, vec3(0, 0, 1));
}

}  // namespace voxquad
