// Whole remesher runs on closed meshes: the result is quad-dominant, manifold, closed and close to
// the input, and keeps the input's sharp edges and corners.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <string>

#include "quad_dominant_remesher.h"
#include "recording_status_output.h"
#include "surface_distance.h"
#include "test_meshes.h"

namespace voxquad {

namespace {

class Remesher : public QuadDominantRemesher {
public:
    // Runs every stage on mesh at the given voxel budget; the input is left in grid units.
    void run(const PolygonStorage& mesh, int voxels, bool sharp = true)
    {
        setStatusOutput(&recorder);
        setUseSharpFeatures(sharp);
        setTargetVoxelCount(voxels);
        getInputMesh() = mesh;
        ASSERT_TRUE(buildVolume());
        extractSurface();
    }
    RecordingStatusOutput recorder;
};

struct RunCase {
    const char* name;
    PolygonStorage (*mesh)();
    float distanceBound;  // grid cells
};

const RunCase runCases[] = {
    {"cube", [] { return test_meshes::cube(10); }, 0.2f},
    {"sphere", [] { return test_meshes::sphere(48, 24); }, 0.2f},
    {"torus", [] { return test_meshes::torus(48, 24, 1.0, 0.4); }, 0.2f},
    {"cut cylinder", [] { return test_meshes::cutCylinder(48, 6, 0); }, 0.2f},
    // Along a rim slanted across the grid, cells the feature lines miss keep their centroid, up to
    // half a cell inside the sharp edge.
    {"slanted cut cylinder", [] { return test_meshes::cutCylinder(48, 6, 0.5); }, 0.5f},
    {"bracket", [] { return test_meshes::bracket(3); }, 0.2f},
};

}  // namespace

TEST(RemesherRun, ClosedInputsGiveClosedQuadDominantSurfacesNearTheInput)
{
    for (const RunCase& c : runCases) {
        SCOPED_TRACE(c.name);
        Remesher remesher;
        remesher.run(c.mesh(), 100000);
        const PolygonStorage& input = remesher.getInputMesh();
        const PolygonStorage& output = remesher.getDualMesh();
        EXPECT_EQ(remesher.recorder.stages,
                  (std::vector<std::string>{"Voxelization", "Sharp features", "Marching", "Constructing Dual Surface",
                                            "Reducing polygon degree", "Removing rhombus polygons"}));

        std::map<std::pair<int, int>, int> uses;
        std::size_t polygons = 0, quads = 0;
        for (const VertexIDList& p : output.Polygons) {
            if (p.empty()) continue;
            ++polygons;
            quads += p.size() == 4;
            EXPECT_LE(p.size(), 4u);
            EXPECT_GE(p.size(), 3u);
            for (std::size_t k = 0; k < p.size(); ++k) {
                int a = p[k], b = p[(k + 1) % p.size()];
                ++uses[{std::min(a, b), std::max(a, b)}];
            }
        }
        ASSERT_GT(polygons, 100u);
        EXPECT_GT(quads, polygons * 8 / 10);
        for (const auto& [edge, count] : uses) ASSERT_EQ(count, 2) << edge.first << "-" << edge.second;

        float largest = 0;
        for (std::size_t v = 0; v < output.Vertices.size(); ++v)
            if (!output.VIndex[v].empty())
                largest = std::max(largest, surface_distance::toMesh(output.Vertices[v].position, input));
        EXPECT_LT(largest, c.distanceBound);
    }
}

TEST(RemesherRun, WithoutSharpFeaturesTheCubeCornersAreRoundedOff)
{
    Remesher remesher;
    remesher.run(test_meshes::cube(10), 100000, false);
    EXPECT_EQ(std::count(remesher.recorder.stages.begin(), remesher.recorder.stages.end(), "Sharp features"), 0);
    const PolygonStorage& output = remesher.getDualMesh();
    const vec3 corner = remesher.getInputMesh().bboxMin;
    float nearest = 1e30f;
    for (const Vertex& v : output.Vertices) {
        nearest = std::min(nearest, (v.position - corner).length());
        EXPECT_EQ(v.featureKind, 0);
    }
    EXPECT_GT(nearest, 0.3f);
}

TEST(RemesherRun, CubeKeepsItsCornersAndEdges)
{
    Remesher remesher;
    remesher.run(test_meshes::cube(10), 100000);
    const PolygonStorage& input = remesher.getInputMesh();
    const PolygonStorage& output = remesher.getDualMesh();
    const vec3 lo = input.bboxMin, hi = input.bboxMax;
    auto nearestOutput = [&](auto distanceOf) {
        float best = 1e30f;
        for (std::size_t v = 0; v < output.Vertices.size(); ++v)
            if (!output.VIndex[v].empty()) best = std::min(best, distanceOf(output.Vertices[v].position));
        return best;
    };
    for (int corner = 0; corner < 8; ++corner) {
        const vec3 p(corner & 1 ? hi.x : lo.x, corner & 2 ? hi.y : lo.y, corner & 4 ? hi.z : lo.z);
        EXPECT_LT(nearestOutput([&](const vec3& q) { return (q - p).length(); }), 0.1f) << "corner " << corner;
    }
    // Along each of the 12 edges, every stretch of one cell holds an output vertex on the edge.
    for (int axis = 0; axis < 3; ++axis)
        for (int side = 0; side < 4; ++side) {
            vec3 a = lo, b;
            const int u = (axis + 1) % 3, w = (axis + 2) % 3;
            a[u] = side & 1 ? hi[u] : lo[u];
            a[w] = side & 2 ? hi[w] : lo[w];
            b = a;
            b[axis] = hi[axis];
            const int cells = static_cast<int>(hi[axis] - lo[axis]);
            for (int k = 0; k < cells; ++k) {
                vec3 from = a, to = a;
                from[axis] = lo[axis] + float(k);
                to[axis] = lo[axis] + float(k + 1);
                EXPECT_LT(nearestOutput([&](const vec3& q) { return surface_distance::toSegment(q, from, to); }),
                          0.1f)
                    << "edge along " << axis << " side " << side << " cell " << k;
            }
        }
}

}  // namespace voxquad
