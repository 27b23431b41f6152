// Chart segmentation for automatic texture coordinates: the surface is split
// into nearly flat charts by growing regions of similar normals breadth-first
// across shared edges.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "model/geosphera.h"

// One chart.
struct TPatch {
  int32_t number = 0;
  TGLCoord normalSum;  // running sum of the unit normals that steered the growth
  TGLCoord seedPosition;  // first vertex of the seed triangle
  Tfaces corners;  // corner indices (3 x triangle + k), whole triangles in growth order
};

// Per corner c, the triangle across the half-edge from faces[c] to the next
// corner of its triangle: the lowest-numbered triangle holding the reversed
// half-edge, -1 on a border. The same neighbours as the element's edge list.
std::vector<int32_t> CornerNeighbours(std::span<const uint32_t> faces, size_t vertexCount);

// Splits the triangles into charts. A chart starts at the first free triangle
// and takes, breadth-first across shared edges, every free neighbour whose unit
// normal has a dot product above `threshold` with the chart's mean normal. A
// chart stops growing once it holds more than T/10 corners (about T/30 of the
// T triangles), so no chart dominates the layout. Every triangle ends in
// exactly one chart; charts are numbered in the order they start.
// `faces` must name vertices of `vertices`.
std::vector<TPatch> SegmentCharts(std::span<const TGLCoord> vertices, std::span<const uint32_t> faces, float threshold);
