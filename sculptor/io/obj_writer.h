// Writer of the whole scene as Wavefront OBJ (WriteModel mode 2).
#pragma once

#include <string>

#include "model/scene.h"

// Writes every element: positions, texture coordinates, one normal per vertex
// and the triangles, numbered across the file. False (after the message) on an
// I/O error, the previous file then being intact. Does not touch the scene.
bool WriteObj(const TScene& scene, const std::string& fileName);
