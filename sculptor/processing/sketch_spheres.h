// "Convert Skech": the principal element and the sketch spheres of the scene
// are blended as metaballs and polygonised into one closed mesh, which
// replaces element 0's triangles; the spheres leave the scene.
#pragma once

#include <vector>

#include "model/scene.h"
#include "processing/sketch_spheres_polygonise.h"

// The sampled cube is [-40, 40]^3 with 40 cells a side per step of resolution.
inline constexpr float kSketchGridExtent = 40;
inline constexpr int kSketchCellsPerStep = 40;
// The resolutions of the "Skech Control" bar.
inline constexpr int kSketchMinResolution = 2;
inline constexpr int kSketchMaxResolution = 10;
// A sphere this near to an earlier element (but not on it) gives no ball.
inline constexpr double kSketchNearSphere = 0.3;

inline constexpr const char* kSketchResolutionOutOfRange = "The sketch resolution must be between 2 and 10.";
inline constexpr const char* kSketchNoSurface = "The spheres give no surface; the mesh and the spheres are unchanged.";
inline constexpr const char* kSketchCanceled = "Sketch conversion canceled; the mesh and the spheres are unchanged.";
inline constexpr const char* kSketchNotEnoughMemory = "Not enough memory to complete this operation.";

// The elements that give a ball, in index order. Pairs (i, j), i < j, are
// taken in order; where both are still in and their positions lie more than 0
// and less than kSketchNearSphere apart, j drops out at once (so coincident
// spheres both stay, and of a near pair the lower index stays).
std::vector<int> SketchBallElements(const ATGeosphera& elements);

// A ball at the `position` of each element of SketchBallElements: strength
// loadExtent * 9 for element 0, loadExtent * loadExtent / 6 for a sphere.
TMetaBalls SketchBalls(const ATGeosphera& elements);

// The surface of `balls` on the grid of (40 r + 1)^3 points over [-40, 40]^3
// (r = `resolution`, at least 1): Polygonise, then WeldCloseVertices. Returns
// false (surface empty) when `progress` cut it short.
bool BuildSketchSurface(const TMetaBalls& balls, int resolution, TSketchSurface& surface,
                        const SketchProgress& progress = {});

// The whole command at round(sketchResolution) (halves to even; 2 to 10):
// builds the surface of SketchBalls, gives it to element 0 (vertex colour
// (128, 128, 128, 255), no texture coordinates, subdivision level 0, its other
// fields kept), deletes every other element and refreshes element 0 (topology,
// normals, buffers, screen grids, redraw); element 0 is current.
// Everything is built before the scene is touched: a resolution out of range,
// a surface without triangles, a shortage of memory or a cut by `progress`
// leaves element 0 and the spheres as they were, with a message, and returns
// false.
bool ConvertSketch(TScene& scene, float sketchResolution, const SketchProgress& progress = {});
