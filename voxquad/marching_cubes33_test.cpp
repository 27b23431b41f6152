#include "marching_cubes33.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <functional>
#include <map>
#include <numeric>
#include <random>
#include <set>
#include <string>
#include <utility>

#include "polygon_storage.h"
#include "status_output.h"
#include "volume_storage.h"
#include "volume_storage_test_support.h"

namespace voxquad {

namespace {

using Field = std::function<float(float, float, float)>;

void fillVolume(VolumeStorageDF& volume, int nx, int ny, int nz, const Field& field)
{
    volume.setSize(nx, ny, nz);
    for (int z = 0; z < nz; ++z)
        for (int y = 0; y < ny; ++y)
            for (int x = 0; x < nx; ++x) {
                VoxelData v;
                v.distance = field(static_cast<float>(x), static_cast<float>(y), static_cast<float>(z));
                volume.setVoxel(x, y, z, v);
            }
}

class MarchingCubes : public ::testing::Test {
protected:
    void SetUp() override
    {
        mc.setVolume(&volume);
        mc.setOutput(&mesh);
        mc.setStatusOutput(&status);
    }

    void polygonise()
    {
        mc.reset();
        mc.init();
        mc.run();
    }

    int processedCubes() const
    {
        const std::int32_t* counts = mc.getSubcaseCounts();
        return std::accumulate(counts, counts + mc33::SubcaseCount, 0);
    }

    // Directed edge -> number of polygons that run along it in that direction.
    std::map<std::pair<int, int>, int> directedEdges() const
    {
        std::map<std::pair<int, int>, int> edges;
        for (const VertexIDList& polygon : mesh.Polygons)
            for (std::size_t c = 0; c < polygon.size(); ++c)
                ++edges[{polygon[c], polygon[(c + 1) % polygon.size()]}];
        return edges;
    }

    // Every edge is run once in each direction: a closed, consistently oriented 2-manifold.
    void expectClosedManifold() const
    {
        const auto edges = directedEdges();
        for (const auto& [edge, count] : edges) {
            ASSERT_EQ(count, 1) << edge.first << "-" << edge.second;
            const auto back = edges.find({edge.second, edge.first});
            ASSERT_TRUE(back != edges.end()) << edge.first << "-" << edge.second;
        }
    }

    int eulerCharacteristic() const
    {
        std::set<int> used;
        for (const VertexIDList& polygon : mesh.Polygons) used.insert(polygon.begin(), polygon.end());
        const int faces = static_cast<int>(mesh.Polygons.size());
        const int edges = static_cast<int>(directedEdges().size()) / 2;
        return static_cast<int>(used.size()) - edges + faces;
    }

    VolumeStorageDF volume;
    PolygonStorage mesh;
    StageRecorder status;
    MarchingCubes33 mc;
};

TEST_F(MarchingCubes, ClosedSmoothFieldsGiveClosedOrientedSurfacesOfTheRightTopology)
{
    const struct {
        const char* name;
        int nx, ny, nz;
        Field field;
        int euler;
    } fields[] = {
        {"sphere", 18, 18, 18,
         [](float x, float y, float z) { return std::hypot(x - 8.3f, y - 8.1f, z - 7.9f) - 5.2f; }, 2},
        {"torus", 22, 22, 12,
         [](float x, float y, float z) {
             return std::hypot(std::hypot(x - 10.6f, y - 10.4f) - 6.0f, z - 5.7f) - 2.3f;
         },
         0},
        {"two nearly touching spheres", 22, 14, 14,
         [](float x, float y, float z) {
             return std::min(std::hypot(x - 5.9f, y - 6.6f, z - 6.4f), std::hypot(x - 14.1f, y - 6.6f, z - 6.4f)) -
                    4.0f;
         },
         4},
    };
    for (const auto& f : fields) {
        SCOPED_TRACE(f.name);
        fillVolume(volume, f.nx, f.ny, f.nz, f.field);
        polygonise();
        ASSERT_FALSE(mesh.Polygons.empty());
        expectClosedManifold();
        EXPECT_EQ(eulerCharacteristic(), f.euler);
        EXPECT_EQ(processedCubes(), (f.nx - 1) * (f.ny - 1) * (f.nz - 1));
        // Polygons face the positive side: outwards for a distance that is positive outside.
        for (std::size_t p = 0; p < mesh.Polygons.size(); ++p) {
            const Vertex& m = mesh.Midpoints[p];
            const float e = 0.05f;
            const vec3 ahead = m.position + m.normal * e, behind = m.position - m.normal * e;
            EXPECT_GT(f.field(ahead.x, ahead.y, ahead.z), f.field(behind.x, behind.y, behind.z)) << p;
        }
    }
}

TEST_F(MarchingCubes, RandomFieldsLeaveNoEdgeWithAnOddCount)
{
    std::mt19937 random(20031);
    std::uniform_real_distribution<float> value(-1, 1);
    const int n = 7;
    int subcasesSeen[mc33::SubcaseCount] = {};
    for (int grid = 0; grid < 400; ++grid) {
        fillVolume(volume, n, n, n, [&](float x, float y, float z) {
            const bool border = x == 0 || y == 0 || z == 0 || x == n - 1 || y == n - 1 || z == n - 1;
            return border ? 0.5f : value(random);
        });
        polygonise();
        // The tunnel rows can put a face chord into four triangles (two pairs of opposite
        // direction), so the directions balance without every count being one.
        const auto edges = directedEdges();
        for (const auto& [edge, count] : edges) {
            const auto back = edges.find({edge.second, edge.first});
            ASSERT_TRUE(back != edges.end() && back->second == count) << "grid " << grid;
        }
        ASSERT_EQ(processedCubes(), (n - 1) * (n - 1) * (n - 1));
        for (int s = 0; s < mc33::SubcaseCount; ++s) subcasesSeen[s] += mc.getSubcaseCounts()[s];
    }
    // The random grids reach every subcase but the rare tunnel outcomes.
    for (int s : {mc33::Sub3_2, mc33::Sub4_2, mc33::Sub6_1_1, mc33::Sub7_3, mc33::Sub7_4_1, mc33::Sub10_2,
                  mc33::Sub12_2, mc33::Sub13_3, mc33::Sub13_4, mc33::Sub13_5_1})
        EXPECT_GT(subcasesSeen[s], 0) << mc33::subcaseNames[s];
}

TEST_F(MarchingCubes, CubeWithAnUnsampledCornerEmitsNothingButItsEdgesKeepTheirVertices)
{
    // One cube: corner 0 (0,0,0) and corner 7 (0,1,1) negative, corner 6 (1,1,1) unsampled.
    fillVolume(volume, 2, 2, 2, [](float x, float y, float z) {
        if (x == 1 && y == 1 && z == 1) return unsampledDistance;
        return (x + y + z == 0 || (x == 0 && y == 1 && z == 1)) ? -1.0f : 1.0f;
    });
    polygonise();
    EXPECT_TRUE(mesh.Polygons.empty());
    EXPECT_EQ(processedCubes(), 0);
    bool towardsUnsampled = false;
    for (const Vertex& v : mesh.Vertices)
        towardsUnsampled |= v.position.y == 1 && v.position.z == 1 && v.position.x > 0 && v.position.x < 1;
    EXPECT_TRUE(towardsUnsampled);
    EXPECT_EQ(mesh.Vertices.size(), 6u);  // three edges at corner 0, three at corner 7
}

TEST_F(MarchingCubes, ZeroCornerIsPositiveAndTheStatisticsBlockFollowsTheBar)
{
    fillVolume(volume, 2, 2, 2, [](float x, float y, float z) { return x + y + z == 0 ? 0.0f : -1.0f; });
    polygonise();
    ASSERT_EQ(mesh.Polygons.size(), 1u);
    EXPECT_EQ(mesh.Polygons[0].size(), 3u);
    EXPECT_EQ(mc.getSubcaseCounts()[mc33::Sub1], 1);

    EXPECT_EQ(status.stages, std::vector<std::string>{"Marching"});
    const auto block = std::find(status.messages.begin(), status.messages.end(), "Detailed cases statistics");
    ASSERT_EQ(status.messages.end() - block, 1 + mc33::SubcaseCount);
    EXPECT_EQ(block[1], "        0 cases 0");
    EXPECT_EQ(block[2], "        1 cases 1");
    EXPECT_EQ(block[32], "        0 cases 14");
    EXPECT_EQ(status.progress.back(), 100);
}

TEST_F(MarchingCubes, BarOf181SlicesHas27Asterisks)
{
    fillVolume(volume, 2, 2, 181, [](float, float, float z) { return z - 90.5f; });
    std::FILE* console = std::tmpfile();
    ASSERT_NE(console, nullptr);
    consoleStatusOutput bar(console);
    mc.setStatusOutput(&bar);
    polygonise();
    std::rewind(console);
    std::string text;
    for (int c; (c = std::fgetc(console)) != EOF;) text.push_back(static_cast<char>(c));
    std::fclose(console);
    EXPECT_EQ(text.rfind("Marching...\n[0% ----------------- 100%]\n[", 0), 0u) << text;
    EXPECT_EQ(std::count(text.begin(), text.end(), '*'), 27) << text;
    EXPECT_NE(text.find("]\nDetailed cases statistics\n"), std::string::npos);
    EXPECT_EQ(mesh.Polygons.size(), 1u);  // one quad across the single column of cubes
    EXPECT_EQ(mesh.Polygons[0].size(), 4u);
}

}  // namespace

}  // namespace voxquad

namespace voxquad {

namespace {

// Below the plane z = 2.5.
class BelowPlane : public FarFieldSign {
public:
    bool insideAt(int, int, int z) const override { return z < 2.5f; }
};

}  // namespace

// A plane through a 5 x 5 x 5 grid with one sample under it missing: without the far field the
// four cubes around it are skipped and the surface has a hole; with it the corner takes the far
// field's side and the surface stays whole.
TEST_F(MarchingCubes, AnUnsampledCornerTakesTheFarFieldsSideInsteadOfOpeningAHole)
{
    fillVolume(volume, 5, 5, 5, [](float, float, float z) { return z - 2.5f; });
    VoxelData missing;
    missing.distance = unsampledDistance;
    volume.setVoxel(2, 2, 2, missing);
    polygonise();
    EXPECT_EQ(mesh.Polygons.size(), 12u);
    const BelowPlane below;
    mc.setFarField(&below);
    polygonise();
    EXPECT_EQ(mesh.Polygons.size(), 16u);
    mc.setFarField(nullptr);
}

}  // namespace voxquad
