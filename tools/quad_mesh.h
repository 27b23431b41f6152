// An all-quad surface mesh and the steps that turn the remesher's
// quad-dominant polygons into a base model: one split into quads, relaxation
// on the shape's distance field, and the element with its quads stored as
// triangle pairs.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "distance_field.h"
#include "model/geosphera.h"

// Corners in cyclic order, counter-clockwise seen from outside.
using Polygon = std::vector<uint32_t>;
using Quad = std::array<uint32_t, 4>;

struct QuadMesh {
  std::vector<Vec3d> points;
  std::vector<Quad> quads;
};

// Splits every polygon of n corners into n quads around its centroid, as one
// Catmull-Clark step does (without moving the old corners): corner, midpoint
// of the next edge, centroid, midpoint of the previous edge. The result has
// only quads, and shared edges stay shared.
QuadMesh SplitIntoQuads(const std::vector<Vec3d>& points, const std::vector<Polygon>& polygons);

// Evens out the quads and puts every point on the zero level of `field`:
// each round moves every point halfway towards the mean of its edge
// neighbours, then projects it along the field's gradient (a Newton step on
// the distance). `step` is the finite-difference step of the gradient.
void RelaxOnField(QuadMesh& mesh, const DistanceField& field, double step, int rounds);

// Six times the enclosed volume: positive when the quads face outwards.
double SixfoldVolume(const QuadMesh& mesh);

// The element of the mesh: each quad (a, b, c, d) as the triangles (a, b, c),
// (a, c, d), with its corners rotated so that a c is the shorter diagonal.
TGeosphera ToElement(const QuadMesh& mesh);
