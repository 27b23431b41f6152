// A closed input gives a closed, clean output: whole remesher runs on closed meshes that used to
// come out with holes, stray pieces or the wrong way round, and on a sweep of rigid motions.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>

#include "mesh_checks.h"
#include "quad_dominant_remesher.h"
#include "recording_status_output.h"
#include "test_meshes.h"

namespace voxquad {

namespace {

struct Expected {
    int shells;
    int euler;
};

// Runs every stage on mesh and checks the result: closed, manifold, the expected shells and Euler
// characteristic, facing outwards, no polygon without area, no vertex left unused, and no piece
// more than a cell off the input nor any part of the input left out.
void expectClosedClean(const PolygonStorage& mesh, int voxels, Expected expected)
{
    SCOPED_TRACE(voxels);
    RecordingStatusOutput status;
    QuadDominantRemesher remesher;
    remesher.setStatusOutput(&status);
    remesher.setUseSharpFeatures(true);
    remesher.setTargetVoxelCount(voxels);
    remesher.getInputMesh() = mesh;
    ASSERT_TRUE(remesher.buildVolume());
    remesher.extractSurface();
    const mesh_checks::Topology out = mesh_checks::topologyOf(remesher.getDualMesh());
    EXPECT_EQ(out.borderEdges, 0);
    EXPECT_EQ(out.nonManifoldEdges, 0);
    EXPECT_EQ(out.shells, expected.shells);
    EXPECT_EQ(out.euler, expected.euler);
    EXPECT_GT(out.volume, 0);
    EXPECT_EQ(out.degeneratePolygons, 0);
    EXPECT_LT(mesh_checks::largestDistance(remesher.getDualMesh(), remesher.getInputMesh()), 1.0);
    EXPECT_LT(mesh_checks::largestDistance(remesher.getInputMesh(), remesher.getDualMesh()), 1.5);
}

// The budget that gives at least cellsPerUnit cells per unit of the mesh's coordinates.
int budgetFor(const PolygonStorage& mesh, double cellsPerUnit)
{
    const vec3 size = mesh.bboxMax - mesh.bboxMin;
    const double thinnest = std::min({size.x, size.y, size.z});
    const double f = (cellsPerUnit * thinnest + minimumCells) / thinnest;
    return static_cast<int>(std::ceil(f * f * f * static_cast<double>(size.x) * size.y * size.z));
}

PolygonStorage prepared(PolygonStorage s)
{
    test_meshes::prepare(s);
    s.computeBoundingBox();
    return s;
}

// Two boxes that pass through each other, in one mesh.
PolygonStorage crossingBoxes()
{
    PolygonStorage s;
    test_meshes::appendBox(s, vec3(0, 0, 0), vec3(4, 2, 2));
    test_meshes::appendBox(s, vec3(1, -1, 0.5f), vec3(3, 3, 1.5f));
    return prepared(s);
}

// A sphere with one vertex dragged sideways across its neighbours: its triangles fold over and
// pass through the ones around them, as on the spike of a scanned horse.
PolygonStorage foldedSphere()
{
    PolygonStorage s = test_meshes::sphere(48, 24);
    Vertex& v = s.Vertices[10 * 48 + 7];
    v.position = v.position * 1.02f + vec3(0, 0, 0.25f);
    return prepared(s);
}

// A box whose top face holds an inverted sliver along its rim: a point 1e-5 outside the rim
// and a triangle facing down that cancels the overlap of the two facing up, as CAD exports leave.
PolygonStorage boxWithInvertedSliver()
{
    PolygonStorage s;
    test_meshes::appendBox(s, vec3(0, 0, 0), vec3(4, 4, 2));
    // Top side (corners 4, 5, 7, 6) as (4, 5, m) facing down, (m, 5, 7), (4, m, 7), (4, 7, 6).
    const int m = s.addVertex(Vertex(vec3(2, -1e-5f, 2)));
    auto top = std::find(s.Polygons.begin(), s.Polygons.end(), VertexIDList{4, 5, 7});
    *top = {4, 5, m};
    s.Polygons.insert(top + 1, {VertexIDList{m, 5, 7}, VertexIDList{4, m, 7}});
    return prepared(s);
}

// Two slabs 2.4 units thick, 1 unit apart: at 1.2 cells per unit, walls of three cells with a gap
// of little more than one cell between them.
PolygonStorage twoWalls()
{
    PolygonStorage s;
    test_meshes::appendBox(s, vec3(0, 0, 0), vec3(12, 12, 2.4f));
    test_meshes::appendBox(s, vec3(0, 0, 3.4f), vec3(12, 12, 5.8f));
    return prepared(s);
}

PolygonStorage thinPlate()
{
    PolygonStorage s;
    test_meshes::appendBox(s, vec3(0, 0, 0), vec3(12, 9, 1));
    return prepared(s);
}

struct FaultCase {
    const char* name;
    PolygonStorage (*mesh)();
    double cellsPerUnit;
    Expected expected;
};

const FaultCase faultCases[] = {
    {"two boxes passing through each other", crossingBoxes, 6, {1, 2}},
    {"a fold passing through its neighbours", foldedSphere, 20, {1, 2}},
    {"an inverted sliver in a flat face", boxWithInvertedSliver, 8, {1, 2}},
    {"two walls 1.2 cells apart", twoWalls, 1.2, {2, 4}},
    {"a plate 2.5 cells thick", thinPlate, 2.5, {1, 2}},
    {"a slanted sharp rim", [] { return prepared(test_meshes::cutCylinder(48, 6, 0.5)); }, 16, {1, 2}},
    {"an inward-facing sphere", [] { return prepared(test_meshes::reversed(test_meshes::sphere(32, 16))); }, 12,
     {1, 2}},
    {"a cube with fillets", [] { return prepared(test_meshes::filletedCube(16, 0.3f)); }, 14, {1, 2}},
    {"a torus", [] { return prepared(test_meshes::torus(48, 24, 1.0, 0.4)); }, 12, {1, 0}},
};

}  // namespace

TEST(RemesherClosedOutput, MeshesThatUsedToOpenUpComeOutClosedAndClean)
{
    for (const FaultCase& c : faultCases) {
        SCOPED_TRACE(c.name);
        const PolygonStorage mesh = c.mesh();
        expectClosedClean(mesh, budgetFor(mesh, c.cellsPerUnit), c.expected);
    }
}

// Every shape, moved by random rotations and translations, at three budgets: the output follows
// the shape, not its placement in the grid.
TEST(RemesherClosedOutput, RigidMotionsAtThreeBudgets)
{
    const struct {
        const char* name;
        PolygonStorage (*mesh)();
        Expected expected;
    } shapes[] = {
        {"sphere", [] { return test_meshes::sphere(32, 16); }, {1, 2}},
        {"torus", [] { return test_meshes::torus(48, 24, 1.0, 0.45); }, {1, 0}},
        {"filleted cube", [] { return test_meshes::filletedCube(12, 0.25f); }, {1, 2}},
        {"bracket", [] { return test_meshes::bracket(2); }, {1, 2}},
    };
    std::mt19937 random(22);
    std::normal_distribution<float> normal;
    std::uniform_real_distribution<float> shift(-100, 100);
    for (const auto& shape : shapes)
        for (int motion = 0; motion < 2; ++motion) {
            PolygonStorage mesh = shape.mesh();
            // A uniformly random rotation from a normalised Gaussian quaternion.
            float q[4];
            for (float& c : q) c = normal(random);
            const float norm = std::sqrt(q[0] * q[0] + q[1] * q[1] + q[2] * q[2] + q[3] * q[3]);
            for (float& c : q) c /= norm;
            const auto [w, x, y, z] = q;
            const vec3 offset(shift(random), shift(random), shift(random));
            for (Vertex& v : mesh.Vertices) {
                const vec3 p = v.position;
                v.position = vec3((1 - 2 * (y * y + z * z)) * p.x + 2 * (x * y - w * z) * p.y + 2 * (x * z + w * y) * p.z,
                                  2 * (x * y + w * z) * p.x + (1 - 2 * (x * x + z * z)) * p.y + 2 * (y * z - w * x) * p.z,
                                  2 * (x * z - w * y) * p.x + 2 * (y * z + w * x) * p.y + (1 - 2 * (x * x + y * y)) * p.z) +
                             offset;
            }
            mesh = prepared(mesh);
            SCOPED_TRACE(std::string(shape.name) + " motion " + std::to_string(motion));
            for (int voxels : {20000, 60000, 200000}) expectClosedClean(mesh, voxels, shape.expected);
        }
}

}  // namespace voxquad
