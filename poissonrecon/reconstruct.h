// Screened Poisson surface reconstruction of oriented points (Kazhdan and
// Hoppe, "Screened Poisson Surface Reconstruction", ACM TOG 32(3), 2013),
// computed by Open3D's implementation of it.
#pragma once

#include "point_ply.h"

struct ReconstructionSettings {
  int depth = 8;
  bool withColors = false;  // the mesh takes the points' colours (when they have any)
};

// Where the time of a reconstruction went, in milliseconds.
struct ReconstructionTimes {
  double toLibrary = 0;    // points into the library's form
  double library = 0;      // the library's reconstruction
  double fromLibrary = 0;  // stray pieces removed, mesh into our form
};

// The closed surface through the points. Pieces of the library's surface
// that no point supports (patches on the bounding box, ghost shells) are
// dropped. Throws std::bad_alloc when memory runs out.
ColoredMesh ReconstructSurface(const OrientedPoints& points, const ReconstructionSettings& settings,
                               ReconstructionTimes* times = nullptr);
