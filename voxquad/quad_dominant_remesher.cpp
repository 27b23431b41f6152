#include "quad_dominant_remesher.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <limits>

#include "feature_transfer.h"
#include "status_output.h"

namespace voxquad {

bool gridSizeFor(const vec3& size, std::int32_t targetVoxelCount, GridSize& grid, std::string& error)
{
    if (targetVoxelCount <= 0) {
        error = "The target voxel count must be positive, not " + std::to_string(targetVoxelCount) + ".";
        return false;
    }
    const double extent[3] = {size.x, size.y, size.z};
    const double volume = extent[0] * extent[1] * extent[2];
    const double f = std::pow(targetVoxelCount / volume, 1.0 / 3.0);
    int* cells[3] = {&grid.nx, &grid.ny, &grid.nz};
    for (int a = 0; a < 3; ++a) {
        const double n = std::trunc(extent[a] * f);
        if (n >= minimumCells && n <= std::numeric_limits<std::int32_t>::max()) {
            *cells[a] = static_cast<int>(n);
            continue;
        }
        // Fewer cells than that leave no room for the mesh inside the grid's margins. The budget
        // that gives the thinnest axis enough cells tells a small budget from a flat mesh.
        const double thinnest = std::min({extent[0], extent[1], extent[2]});
        // (A hair more than the exact budget, which the cube root could round to just below 5.)
        const double needed = std::ceil(volume * std::pow((minimumCells + 1e-6) / thinnest, 3.0));
        if (thinnest > 0 && needed <= std::numeric_limits<std::int32_t>::max())
            error = "The target voxel count " + std::to_string(targetVoxelCount) +
                    " is too small for this mesh: a grid needs at least " + std::to_string(minimumCells) +
                    " cells along each axis, which takes about " + std::to_string(static_cast<long long>(needed)) +
                    " voxels.";
        else
            error = "The mesh is too flat for a voxel grid: its bounding box gives fewer than 5 cells along an axis.";
        return false;
    }
    return true;
}

QuadDominantRemesher::QuadDominantRemesher()
{
    marchingCubes.setVolume(&volume);
    marchingCubes.setOutput(&marchingMesh);
    voxelizer.setVolume(&volume);
    voxelizer.setStorage(&inputMesh);
    voxelizer.setSharpFeatures(&sharpFeatures);
    sharpFeatures.setStorage(&inputMesh);
}

void QuadDominantRemesher::setStatusOutput(StatusOutput* s)
{
    status = s;
    inputMesh.setStatusOutput(s);
    dualMesh.setStatusOutput(s);
    marchingMesh.setStatusOutput(s);
    marchingCubes.setStatusOutput(s);
    voxelizer.setStatusOutput(s);
}

bool QuadDominantRemesher::buildVolume()
{
    inputMesh.computeBoundingBox();
    GridSize grid;
    std::string error;
    if (!gridSizeFor(inputMesh.bboxMax - inputMesh.bboxMin, targetVoxelCount, grid, error)) {
        reportError(status, error.c_str());
        return false;
    }
    inputMesh.normalize(grid.nx, grid.ny, grid.nz);
    volume.setSize(grid.nx, grid.ny, grid.nz);
    char text[200];
    std::snprintf(text, sizeof text, "Volume Size %d x %d x %d", grid.nx, grid.ny, grid.nz);
    if (status)
        status->printMessage(text);
    voxelizer.voxelize();
    if (useSharpFeatures)
        voxelizer.rasterizeFeatures();
    return true;
}

void QuadDominantRemesher::extractSurface()
{
    marchingCubes.reset();
    marchingCubes.setFarField(voxelizer.farField());
    marchingCubes.init();
    marchingCubes.run();
    marchingCubes.reset();  // the vertex and slice arrays are not needed past marching cubes
    voxelizer.releaseFarField();
    TransferFeaturePointsToMidpoints(marchingMesh, volume);
    volume.clear();  // nor the samples past the feature points
    dualMesh.constructDualReleasingEdges(marchingMesh);
    dualMesh.reducePolygonDegree();
    dualMesh.removeRhombusPolygons();
}

}  // namespace voxquad
