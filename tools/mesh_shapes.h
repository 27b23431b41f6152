// Procedural meshes: the installed base models, and test and benchmark inputs.
// Every shape is closed, with outward-facing triangles (counter-clockwise seen
// from outside), and fully deterministic.
#pragma once

#include "model/geosphera.h"

// Sets the counts and gives every vertex the default colour and the free state.
void FinishShape(TGeosphera& e);

// Icosahedron refined `levels` times by 1-to-4 splits, projected onto the
// sphere: 20 x 4^levels triangles, 10 x 4^levels + 2 vertices.
TGeosphera MakeGeodesicSphere(int levels, float radius);

// Cube of `n` x `n` quads per face projected onto the sphere; each quad
// (a, b, c, d) is stored as the triangle pair (a, b, c), (a, c, d).
TGeosphera MakeCubeSphere(int n, float radius);

// The rotation handle: three tubes of `ringVertices` vertices each around the
// origin, turning about y (in the xz plane), about x, then about z, in that
// vertex order.
TGeosphera MakeRotationRings(int segments, int sides, float radius, float tubeRadius);
