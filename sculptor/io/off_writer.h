// Writer of one element as an OFF mesh: positions and triangles, and the
// vertex colours (a COFF file, RGBA fractions, opaque) when the element has
// been painted.
#pragma once

#include <string>

#include "model/scene.h"

// Shows "Scene don't have elements to save." for an element without vertices
// or triangles. False on that or (after the message) on an I/O error, the
// previous file then being intact. Does not change the scene.
bool WriteOff(const TScene& scene, int elementIndex, const std::string& fileName);
