// Writers of one element as STL: binary (the common exchange form) and ASCII.
// STL keeps no shared vertices, colours or texture coordinates: each triangle
// is written with its three corner positions and its unit normal.
#pragma once

#include <string>

#include "model/scene.h"

// Both show "Scene don't have elements to save." for an element without
// vertices or triangles. False on that or (after the message) on an I/O error,
// the previous file then being intact. They do not change the scene.
bool WriteStlBinary(const TScene& scene, int elementIndex, const std::string& fileName);
bool WriteStlAscii(const TScene& scene, int elementIndex, const std::string& fileName);
