#include "quad_dominant_remesher.h"

#include <cmath>
#include <cstdio>
#include <limits>

#include "status_output.h"

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

QuadDominantRemesher::QuadDominantRemesher() : targetVoxelCount(6000000)
{
    MarchingCubes33::setVolume(&volume);
    MarchingCubes33::setOutput(&marchingMesh);
    volumeIO.setVolume(&volume);
    voxelizer.setVolume(&volume);
    voxelizer.setStorage(&inputMesh);
}

void QuadDominantRemesher::setStatusOutput(StatusOutput* s)
{
    status = s;
    inputMesh.setStatusOutput(s);
    dualMesh.setStatusOutput(s);
    marchingMesh.setStatusOutput(s);
    MarchingCubes33::setStatusOutput(s);
    voxelizer.setStatusOutput(s);
    volumeIO.setStatusOutput(s);
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
    // With useSharpFeatures, the sharp-feature stage runs here.
    return true;
}

void QuadDominantRemesher::extractSurface()
{
    reset();
    init();
    run();
    reset();  // the edge and vertex arrays are not needed past marching cubes
    // The feature-point transfer onto marchingMesh's midpoints runs here.
    dualMesh.constructDual(marchingMesh);
    // Degree reduction and rhombus removal run here; without them the dual surface is the result.
}
