#include "quad_dominant_remesher.h"

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
    double volume = static_cast<double>(size.x) * static_cast<double>(size.y) * static_cast<double>(size.z);
    double f = std::pow(targetVoxelCount / volume, 1.0 / 3.0);
    int* cells[3] = {&grid.nx, &grid.ny, &grid.nz};
    for (int a = 0; a < 3; ++a) {
        double n = std::trunc(size[a] * f);
        // Fewer than 5 cells leave no room for the mesh inside the grid's margins; NaN comes from
        // a box without extent.
        if (!(n >= 5 && n <= std::numeric_limits<std::int32_t>::max())) {
            error = "The mesh is too flat for a voxel grid: its bounding box gives fewer than 5 cells along an axis.";
            return false;
        }
        *cells[a] = static_cast<int>(n);
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
        std::fprintf(stderr, "%s\n", error.c_str());
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
    marchingCubes.init();
    marchingCubes.run();
    marchingCubes.reset();  // the edge and vertex arrays are not needed past marching cubes
    TransferFeaturePointsToMidpoints(marchingMesh, volume);
    dualMesh.constructDual(marchingMesh);
    dualMesh.reducePolygonDegree();
    dualMesh.removeRhombusPolygons();
}

}  // namespace voxquad
