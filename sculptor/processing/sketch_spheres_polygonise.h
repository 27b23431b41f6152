// Metaballs polygonised with marching cubes: the field of a list of balls
// sampled on a regular grid and its level 1.0 turned into triangles.
//
// Field: value(p) = sum over the balls, in list order, of strength / (d^2)^2,
// d^2 the squared distance from the ball to p, all in single precision (a point
// on a ball's centre gets an infinite value). A corner whose value is below 1.0
// is outside the surface.
//
// Grid of N cells a side and extent e: point (i, j, k), 0 <= i, j, k <= N, lies
// at x = 2e i/N - e, y = 2e j/N - e, z = e - 2e k/N; cube (i, j, k) has the
// corners and edges of sketch_spheres_tables.h.
//
// Surface reference: P. Bourke, "Polygonising a scalar field" (1994).
#pragma once

#include <functional>
#include <vector>

#include "model/geosphera.h"

// One ball of the field.
struct TMetaBall {
  float strength = 0;
  TGLCoord position;
};
using TMetaBalls = std::vector<TMetaBall>;

// The sampling grid, held as its point coordinates per axis (no per-point or
// per-cube records): point (i, j, k) is (x[i], y[j], z[k]).
struct TMetaGrid {
  int cells = 0;  // N
  std::vector<float> x, y, z;  // N + 1 each

  TGLCoord Point(int i, int j, int k) const {
    return {x[static_cast<size_t>(i)], y[static_cast<size_t>(j)], z[static_cast<size_t>(k)]};
  }
};

// The grid of `points` points a side (N = points - 1 cells, at least 1) and
// half edge `extent`. Each coordinate is computed in double and rounded once.
TMetaGrid InitMetaGrid(int points, float extent);

// The point where the level 1.0 crosses the edge from p1 (value a1) to p2
// (value a2): p1 where |a1| = 1, else p2 where |a2| = 1, else p1 where
// a1 = a2, else p1 + mu (p2 - p1) with mu = (1 - a1) / (a2 - a1), in single
// precision. Where mu is not a number (a corner on a ball's centre is
// infinite, a degenerate ball gives NaN) the crossing lies on the corner whose
// value is finite: the limit for an infinite corner, and never a NaN vertex.
TGLCoord EdgeCrossing(const TGLCoord& p1, const TGLCoord& p2, float a1, float a2);

// Triangles over shared vertices.
struct TSketchSurface {
  Tvertices vertices;
  Tfaces faces;
};

// Called once per layer of cubes (done, total); returning false cuts the work short.
using SketchProgress = std::function<bool(int done, int total)>;

// The triangles of every cube, in cube order (i outermost, then j, then k) and
// within a cube in table order, each triangle's corners at the crossings of
// its three edges (each crossing taken from the edge's lower grid end, so
// that neighbouring cubes agree on it to the bit). Vertices with equal coordinates are shared: a position gets
// its number when a corner first reaches it. That is the mesh of emitting
// three new vertices per triangle and then merging equal positions in corner
// order, built without either.
//
// Only cubes that can hold triangles are visited: blocks of the grid whose
// field a bound over the balls keeps wholly below or wholly at or above 1.0
// are skipped, and every value a visited cube uses is summed over all balls
// exactly as above, so the triangles are those of sampling every grid point.
// Returns false (surface empty) when `progress` cut it short.
bool Polygonise(const TMetaBalls& balls, const TMetaGrid& grid, TSketchSurface& surface,
                const SketchProgress& progress = {});
