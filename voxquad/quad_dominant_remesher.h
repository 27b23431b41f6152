#pragma once
#include <cstdint>
#include <string>

#include "marching_cubes33.h"
#include "polygon_storage.h"
#include "volume_storage.h"
#include "sharp_features.h"
#include "voxelizer.h"

namespace voxquad {

class StatusOutput;

// The voxel budget of a run when the caller names none.
constexpr std::int32_t defaultTargetVoxelCount = 6000000;

// Number of cells along each axis of the grid.
struct GridSize {
    int nx = 0, ny = 0, nz = 0;
};

// Fewest cells along an axis of a usable grid: the normalisation keeps 4 cells of margin.
constexpr int minimumCells = 5;

// Cubic cells along the box's proportions so that the grid has about targetVoxelCount voxels:
// f = cbrt(target / (x * y * z)), n = trunc(size * f). Returns false with a message in error when
// the target is not positive or an axis gets fewer than 5 cells: the message names the budget
// that would do when there is one, else calls the mesh too flat.
bool gridSizeFor(const vec3& size, std::int32_t targetVoxelCount, GridSize& grid, std::string& error);

// Owns every stage of the remesher and runs them in a fixed order: grid sizing and normalisation,
// voxelization, sharp features (buildVolume), marching cubes, feature transfer, dual surface,
// degree reduction and rhombus removal (extractSurface). Each stage is a member object or a
// storage operation that the driver calls in turn, bound to the storages at construction.
class QuadDominantRemesher {
public:
    QuadDominantRemesher();
    QuadDominantRemesher(const QuadDominantRemesher&) = delete;
    QuadDominantRemesher& operator=(const QuadDominantRemesher&) = delete;

    // Hands the channel to the remesher and to every stage and storage.
    void setStatusOutput(StatusOutput* s);
    void setTargetVoxelCount(std::int32_t count) { targetVoxelCount = count; }
    void setUseSharpFeatures(bool use) { useSharpFeatures = use; }

    PolygonStorage& getInputMesh() { return inputMesh; }
    PolygonStorage& getDualMesh() { return dualMesh; }
    const PolygonStorage& getMarchingMesh() const { return marchingMesh; }
    const SharpFeatures& getSharpFeatures() const { return sharpFeatures; }

    // Sizes the grid, normalises the input mesh into it, builds the distance volume and its sharp
    // features. Returns false, with a message on standard error, when no usable grid results.
    bool buildVolume();
    // Marching cubes, feature transfer, dual surface and clean-up, into dualMesh.
    void extractSurface();

private:
    PolygonStorage inputMesh;     // normalised into grid coordinates by buildVolume()
    PolygonStorage dualMesh;      // the result that is exported
    PolygonStorage marchingMesh;  // output of marching cubes
    VolumeStorageBandDF volume;   // the distance volume, kept near the surface only
    PolygonStorageVoxelizerDual voxelizer;
    SharpFeatures sharpFeatures;  // bound to inputMesh
    MarchingCubes33 marchingCubes;  // from volume into marchingMesh
    std::int32_t targetVoxelCount = defaultTargetVoxelCount;
    bool useSharpFeatures = false;
    StatusOutput* status = nullptr;  // not owned
};

}  // namespace voxquad
