// The interactive element transforms baked into the vertices: rotation by the
// rotation handle, uniform scaling and the final placement of a moved element.
#pragma once

#include "model/geosphera.h"

// `v` rotated by `degrees` about the unit `axis` through the origin
// (Rodrigues' rotation formula).
TGLCoord RotateAboutAxis(const TGLCoord& v, const TGLCoord& axis, float degrees);

// Turns every vertex about the element's centre by the angles of `rotation`
// (stored X, Z, Y): about x, then about z, then about y by minus the Y angle;
// then resets `rotation` to 0. The normals turn with the surface (the same
// rotation), which spares a full normal refresh on every step of a drag.
void ApplyRotationStep(TGeosphera& e);

// Vertex index ranges of the rotation handle's three rings.
inline constexpr int kHandleRingVertices = 4608;

// The rotation step a drag of the handle vertex `handleVertex` asks for, from
// the pointer's previous position minus its new one (`dx`, `dy`, pixels):
// 5 pixels turn by one degree. Stored like `rotation` (X, Z, Y). The vertices
// between the rings (4608, 4609, 9216) turn nothing.
TGLCoord HandleRotationStep(int handleVertex, int dx, int dy);

// One scaling step about the element's centre: by 0.9 when `shrink`, else by
// 1.1 (through `scale`, which returns to 1).
void ApplyScaleStep(TGeosphera& e, bool shrink);

// Moves the vertices by `position`, resets it to 0 and re-centres the element.
void BakePosition(TGeosphera& e);

// Moves the rotation handle's vertices so that their mean lies at `center`.
void PlaceHandleAt(TGeosphera& handle, const TGLCoord& center);
