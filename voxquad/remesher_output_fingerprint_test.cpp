// Whole remesher runs whose every output byte is pinned: the files of the result and the messages
// (the marching cases among them) hash to the values the remesher gave before its stages were made
// faster. A change of output must be deliberate, and then these values are renewed with it.
#include <gtest/gtest.h>

#include <cstdint>

#include "output_fingerprint.h"
#include "quad_dominant_remesher.h"
#include "recording_status_output.h"
#include "test_meshes.h"

namespace voxquad {

namespace {

// The cube [0, 1]^3 without its top side: an open surface, signed by pseudo-normals, whose
// marching cubes skip the cubes that touch unsampled points.
PolygonStorage openBox()
{
    PolygonStorage s = test_meshes::cube(4);
    for (VertexIDList& p : s.Polygons) {
        bool top = true;
        for (int v : p) top = top && s.Vertices[v].position.z == 1.0f;
        if (top) p.clear();
    }
    test_meshes::prepare(s);
    return s;
}

// Two boxes that pass through each other: one mesh of two closed shells that intersect.
PolygonStorage crossedBoxes()
{
    PolygonStorage s;
    test_meshes::appendBox(s, vec3(0, 0, 0), vec3(3, 1, 1));
    test_meshes::appendBox(s, vec3(1, -1, -0.5f), vec3(2, 2, 0.5f));
    test_meshes::prepare(s);
    return s;
}

struct FingerprintCase {
    const char* name;
    PolygonStorage (*mesh)();
    int voxels;
    std::uint64_t fingerprint;
};

const FingerprintCase fingerprintCases[] = {
    {"slanted cut cylinder", [] { return test_meshes::cutCylinder(48, 6, 0.5); }, 100000, 5857335620610177201ull},
    {"torus", [] { return test_meshes::torus(48, 24, 1.0, 0.4); }, 60000, 17194573201431565366ull},
    {"filleted cube", [] { return test_meshes::filletedCube(12, 0.3f); }, 80000, 12380324581992985770ull},
    {"reversed bracket", [] { return test_meshes::reversed(test_meshes::bracket(3)); }, 50000, 11328832758923829191ull},
    {"open box", openBox, 40000, 14231772689028076763ull},
    {"crossed boxes", crossedBoxes, 60000, 14705187681002081157ull},
    // Triangles of half a cell and less, thin ones at the poles: most grid points of a triangle's
    // box have a nearer sample already.
    {"fine sphere on a coarse grid", [] { return test_meshes::sphere(160, 80); }, 20000, 15378251295327617681ull},
};

}  // namespace

TEST(RemesherOutputFingerprint, EveryOutputByteStaysAsItWas)
{
    for (const FingerprintCase& c : fingerprintCases) {
        SCOPED_TRACE(c.name);
        RecordingStatusOutput status;
        QuadDominantRemesher remesher;
        remesher.setStatusOutput(&status);
        remesher.setUseSharpFeatures(true);
        remesher.setTargetVoxelCount(c.voxels);
        remesher.getInputMesh() = c.mesh();
        ASSERT_TRUE(remesher.buildVolume());
        remesher.extractSurface();
        EXPECT_EQ(outputFingerprint(remesher.getDualMesh(), status.messages), c.fingerprint);
    }
}

}  // namespace voxquad
