// Two meshes that nobody here made, when their Debian packages are installed: each comes out of the
// whole remesher closed, manifold, with the input's shells and Euler characteristic, facing
// outwards, without degenerate polygons and near the input; and its every output byte stays as it was.
#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>

#include "mesh_checks.h"
#include "output_fingerprint.h"
#include "quad_dominant_remesher.h"
#include "real_meshes.h"
#include "recording_status_output.h"

namespace voxquad {

namespace {

void expectCleanRemesh(const PolygonStorage& mesh, int voxels, std::uint64_t fingerprint)
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
    const mesh_checks::Topology in = mesh_checks::topologyOf(remesher.getInputMesh());
    const mesh_checks::Topology out = mesh_checks::topologyOf(remesher.getDualMesh());
    EXPECT_EQ(out.borderEdges, 0);
    EXPECT_EQ(out.nonManifoldEdges, 0);
    EXPECT_EQ(out.shells, in.shells);
    EXPECT_EQ(out.euler, in.euler);
    EXPECT_GT(out.volume, 0);
    EXPECT_EQ(out.degeneratePolygons, 0);
    // In grid cells: no stray piece off the surface, and no part of the input left out but tips
    // thinner than a cell.
    EXPECT_LT(mesh_checks::largestDistance(remesher.getDualMesh(), remesher.getInputMesh()), 1.0);
    EXPECT_LT(mesh_checks::largestDistance(remesher.getInputMesh(), remesher.getDualMesh()), 2.0);
    EXPECT_EQ(outputFingerprint(remesher.getDualMesh(), status.messages), fingerprint);
}

}  // namespace

TEST(RealMeshes, CyberwareHorse)
{
    PolygonStorage horse;
    if (!real_meshes::horse(horse)) GTEST_SKIP() << "libpetsc3.18-dev-examples is not installed";
    expectCleanRemesh(horse, 2000000, 6450147734890125719ull);
    expectCleanRemesh(horse, 6000000, 6197390015804123905ull);
}

TEST(RealMeshes, OpenScadCandleStand)
{
    PolygonStorage part;
    if (!real_meshes::candleStand(part, std::filesystem::path(PLASMORA_BIN_DIR).parent_path() / "test-data"))
        GTEST_SKIP() << "openscad is not installed";
    expectCleanRemesh(part, 2000000, 14926325710496917654ull);
    expectCleanRemesh(part, 6000000, 10498920608907468317ull);
}

}  // namespace voxquad
