// Writers of one element as ASCII PLY: the full form (positions, normals,
// colours) for export and reconstruction, and positions only for the remesher.
#pragma once

#include <string>

#include "model/scene.h"

// Both show "Scene don't have elements to save." for an element without
// vertices or triangles, then tidy the element in the scene (valence, adjacency
// width, adjacency, removal of unused vertices). False on that or (after the message) on an I/O error, the
// previous file then being intact.
bool WritePlyFull(TScene& scene, int elementIndex, const std::string& fileName);
bool WritePlyPositions(TScene& scene, int elementIndex, const std::string& fileName);
