// Automatic texture coordinates: every chart of every mesh is turned to face
// the -x axis, the charts are laid out in rows by their bounding boxes in the
// (z, y) plane, and the laid-out (z, y) become the texture coordinates (u, v).
// A vertex on the border of k charts becomes k vertices, one per chart.
#pragma once

#include <functional>
#include <span>
#include <string>
#include <vector>

#include "model/geosphera.h"
#include "processing/uv_charts.h"

// One mesh to unfold: positions and triangles (three vertex indices each).
struct TUvMesh {
  std::span<const TGLCoord> vertices;
  std::span<const uint32_t> faces;
};

// What unfolding gives one mesh. Vertices 0 .. n-1 are the mesh's own; the
// ones after them are copies made along chart seams, vertex n + i copying
// `copiedFrom[i]`. `faces` is the mesh's triangle list pointing at them, and
// `uvs` holds one texture coordinate per vertex (0, 0 for unused vertices).
struct TUvUnfolded {
  Tfaces faces;
  Tfaces copiedFrom;
  Tuv uvs;
};

// Progress: the label to show, the work done and the work in all.
using UvProgress = std::function<void(const std::string& label, int done, int total)>;

// Segments every mesh with `threshold` (the partition control: the higher, the
// more charts) and lays all their charts out together in one texture of
// `textureSize` texels a side: charts keep a few texels apart and never
// overlap, all at one texel density.
std::vector<TUvUnfolded> UnfoldCharts(std::span<const TUvMesh> meshes, float threshold, int textureSize,
                                      const UvProgress& progress = {});

// Width of a layout row, in model units, for `chartCount` charts in all: a
// row takes charts until their extents (from 1) pass it.
float RowWidthForChartCount(size_t chartCount);
