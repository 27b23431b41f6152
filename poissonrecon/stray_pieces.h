// Poisson reconstruction closes its indicator function everywhere in its
// octree, so besides the surface through the samples it can leave pieces that
// no sample needs: patches away from the samples, and small ghost shells a
// fraction of a cell beside the true surface where the field wobbles (Open3D
// leaves a few of 6 to 24 vertices on most scanned shapes). This removes them.
#pragma once

#include <vector>

#include "point_ply.h"

// Keeps the connected pieces of `mesh` that some sample needs: a sample needs
// the largest piece that passes within reach of it. A separate part of the
// samples keeps its own piece; a piece that only doubles a larger one, or
// passes near no sample, goes with its vertices. The reach is the larger of
// the octree's finest cell at `depth` and the samples' mean spacing over the
// surface.
void DropStrayPieces(ColoredMesh& mesh, const std::vector<Float3>& samples, int depth);
