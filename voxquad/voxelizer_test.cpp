#include "voxelizer.h"

#include <gtest/gtest.h>

#include <cmath>
#include <initializer_list>

#include "volume_storage.h"
#include "volume_storage_test_support.h"

namespace voxquad {

namespace {

class Voxelizer : public ::testing::Test {
protected:
    void SetUp() override
    {
        volume.setSize(24, 24, 24);
        voxelizer.setVolume(&volume);
        voxelizer.setStorage(&mesh);
        voxelizer.setStatusOutput(&status);
    }

    int vertex(float x, float y, float z) { return mesh.addVertex(Vertex(vec3(x, y, z))); }
    void addPolygon(std::initializer_list<int> corners) { mesh.Polygons.emplace_back(corners); }
    // The indexes, midpoints and normals the voxelizer relies on.
    void prepareMesh()
    {
        mesh.buildVIndex();
        mesh.computeMidpoints();
        mesh.computeVertexNormals();
    }
    float distanceAt(int x, int y, int z)
    {
        VoxelData v;
        volume.getVoxel(x, y, z, v);
        return v.distance;
    }

    PolygonStorage mesh;
    VolumeStorageDF volume;
    StageRecorder status;
    PolygonStorageVoxelizerDual voxelizer;
};

// The band reaches every point closer than five cells, far beyond the triangle's own box.
TEST_F(Voxelizer, FlatTriangleGetsABandOfFiveCellsOnEachSide)
{
    addPolygon({vertex(5, 5, 10.5f), vertex(12, 5, 10.5f), vertex(5, 12, 10.5f)});
    prepareMesh();
    voxelizer.voxelize();
    EXPECT_EQ(distanceAt(6, 6, 5), unsampledDistance);
    EXPECT_FLOAT_EQ(distanceAt(6, 6, 6), -4.5f);
    EXPECT_FLOAT_EQ(distanceAt(6, 6, 10), -0.5f);
    EXPECT_FLOAT_EQ(distanceAt(6, 6, 11), 0.5f);
    EXPECT_FLOAT_EQ(distanceAt(6, 6, 15), 4.5f);
    EXPECT_EQ(distanceAt(6, 6, 16), unsampledDistance);
    EXPECT_FLOAT_EQ(distanceAt(1, 6, 13), std::hypot(4.0f, 2.5f));  // beside the edge x = 5
    EXPECT_FLOAT_EQ(distanceAt(3, 3, 10), -std::hypot(2.0f, 2.0f, 0.5f));  // past the corner (5, 5)
}

TEST_F(Voxelizer, TriangleOnAGridPlaneSamplesOnItAreMinusZero)
{
    addPolygon({vertex(5, 5, 10), vertex(12, 5, 10), vertex(5, 12, 10)});
    prepareMesh();
    voxelizer.voxelize();
    EXPECT_EQ(distanceAt(6, 6, 5), unsampledDistance);
    EXPECT_FLOAT_EQ(distanceAt(6, 6, 9), -1);
    EXPECT_EQ(distanceAt(6, 6, 10), 0);
    EXPECT_TRUE(std::signbit(distanceAt(6, 6, 10)));
    EXPECT_FLOAT_EQ(distanceAt(6, 6, 11), 1);
    EXPECT_FLOAT_EQ(distanceAt(6, 6, 14), 4);
    EXPECT_EQ(distanceAt(6, 6, 15), unsampledDistance);
}

// An open sheet whose rim holds an inverted sliver (a point 1e-4 outside the rim and a triangle
// facing down over the overlap of two facing up), as CAD exports leave: the sliver's normal would
// cancel the rim's pseudo-normal and put points above the rim inside. Every sample above the
// sheet is positive and every one below negative.
TEST_F(Voxelizer, AnInvertedSliverDoesNotTipTheSignsAtItsRim)
{
    const int a = vertex(4, 4, 10.5f), b = vertex(16, 4, 10.5f), c = vertex(16, 16, 10.5f), d = vertex(4, 16, 10.5f);
    const int m = vertex(10, 4 - 1e-4f, 10.5f);
    addPolygon({a, b, m});
    addPolygon({m, b, c});
    addPolygon({a, m, c});
    addPolygon({a, c, d});
    prepareMesh();
    voxelizer.voxelize();
    int sampled = 0;
    for (int x = 0; x < 22; ++x)
        for (int y = 0; y < 22; ++y)
            for (int z = 6; z <= 15; ++z) {
                const float distance = distanceAt(x, y, z);
                if (distance == unsampledDistance) continue;
                ++sampled;
                ASSERT_EQ(distance > 0, z > 10) << x << " " << y << " " << z;
            }
    EXPECT_GT(sampled, 2000);
}

TEST_F(Voxelizer, CreaseIsSignedByTheSummedNormalsOfItsTwoTriangles)
{
    const int r0 = vertex(10, 5, 12), r1 = vertex(12, 15, 14);
    addPolygon({r0, r1, vertex(11, 20, 15)});
    addPolygon({r1, r0, vertex(5, 19, 6)});
    prepareMesh();
    voxelizer.voxelize();
    // The closest point of both triangles to (12, 6, 12) lies inside the shared edge r0-r1, and the
    // sample lies behind the first triangle's plane: that normal alone would make it negative, the
    // sum of both normals makes it positive.
    EXPECT_NEAR(distanceAt(12, 6, 12), 1.7847087f, 1e-5f);
}

TEST_F(Voxelizer, SamplesOffAConvexCornerAreSignedByTheEdgeOrCornerTheyAreNearest)
{
    // Three sides of a box meeting at (5.5, 5.5, 5.5), normals outwards (-x, -y, -z), each side a
    // quad of two triangles.
    const int a = vertex(5.5f, 5.5f, 5.5f), b = vertex(5.5f, 5.5f, 9.5f), c = vertex(5.5f, 9.5f, 9.5f);
    const int d = vertex(5.5f, 9.5f, 5.5f), e = vertex(9.5f, 5.5f, 5.5f), f = vertex(9.5f, 5.5f, 9.5f);
    const int g = vertex(9.5f, 9.5f, 5.5f);
    for (auto t : {std::initializer_list<int>{a, b, c}, {a, c, d}, {a, e, f}, {a, f, b}, {a, d, g}, {a, g, e}})
        addPolygon(t);
    prepareMesh();
    voxelizer.voxelize();
    // Beside an edge of the corner, the nearest point is on that edge; past the corner, the corner.
    EXPECT_FLOAT_EQ(distanceAt(6, 5, 5), std::sqrt(0.5f));
    EXPECT_FLOAT_EQ(distanceAt(5, 6, 5), std::sqrt(0.5f));
    EXPECT_FLOAT_EQ(distanceAt(5, 5, 5), std::sqrt(0.75f));
    EXPECT_FLOAT_EQ(distanceAt(6, 6, 6), -0.5f);
}

TEST_F(Voxelizer, SkipsQuadsAndDegenerateTrianglesButNotShortPolygons)
{
    addPolygon({vertex(2, 2, 3), vertex(9, 2, 3), vertex(2, 9, 3)});
    addPolygon({vertex(2, 2, 15), vertex(3, 3, 15), vertex(4, 4, 15)});  // collinear
    addPolygon({vertex(1, 1, 1), vertex(2, 1, 1)});
    addPolygon({vertex(15, 15, 18), vertex(20, 15, 18), vertex(20, 20, 18), vertex(15, 20, 18)});
    prepareMesh();
    mesh.scale = 0.25f;
    mesh.offset = vec3(1, 2, 3);
    voxelizer.voxelize();

    EXPECT_EQ(voxelizer.getSkippedCount(), 2);
    EXPECT_EQ(status.messages.back(), " 2 Polygons skipped");
    EXPECT_EQ(status.stages, std::vector<std::string>{"Voxelization"});
    EXPECT_EQ(status.endedStages, 1);
    EXPECT_EQ(status.progress, (std::vector<int>{10, 10, 11, 12, 13}));
    for (int z = 0; z < 24; ++z) {
        EXPECT_EQ(distanceAt(17, 17, z), unsampledDistance) << z;  // under the quad
        EXPECT_EQ(distanceAt(3, 3, z), z <= 7 ? static_cast<float>(z - 3) : unsampledDistance) << z;
    }
    EXPECT_EQ(volume.getScale(), 0.25f);
    EXPECT_EQ(volume.getOffset(), vec3(1, 2, 3));
}

TEST_F(Voxelizer, SamplesFiveOrMoreUnitsAwayStayUnsampled)
{
    // A slanted triangle whose box reaches far from its plane x - y = 0.
    addPolygon({vertex(2, 2, 2), vertex(21, 21, 2), vertex(2, 2, 21)});
    prepareMesh();
    voxelizer.voxelize();
    EXPECT_EQ(distanceAt(21, 2, 21), unsampledDistance);  // 13.4 units from the plane
    EXPECT_EQ(distanceAt(12, 12, 5), 0);                  // on the triangle
    EXPECT_FLOAT_EQ(distanceAt(14, 11, 5), 3 / std::sqrt(2.0f));
}

TEST_F(Voxelizer, ProgressRunsPastOneHundredWhenThePolygonCountIsNoMultipleOfNinety)
{
    for (int t = 0; t < 100; ++t) {
        const float z = 3 + 0.1f * static_cast<float>(t);
        addPolygon({vertex(2, 2, z), vertex(4, 2, z), vertex(2, 4, z)});
    }
    prepareMesh();
    voxelizer.voxelize();
    // step 1: one call per polygon after the initial 10.
    ASSERT_EQ(status.progress.size(), 101u);
    EXPECT_EQ(status.progress.back(), 109);
}

}  // namespace

}  // namespace voxquad
