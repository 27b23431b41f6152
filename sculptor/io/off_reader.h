// Reader of OFF meshes (Geomview's Object File Format, text form) into the
// parsed model: one unnamed group. Polygons are split into fans of triangles
// around their first corner; vertex colours of COFF files are kept (integers
// 0..255, or fractions 0..1), normals, texture coordinates and face colours
// are skipped. "#" starts a comment up to the end of the line.
#pragma once

#include <string>
#include <string_view>

#include "io/obj_model.h"

// On a file it cannot read (Malformed) it shows a message naming the line and
// leaves the model empty; CannotOpen shows nothing.
TReadStatus ReadOff(TOBJModel& model, const std::string& fileName);

// The same on the text of a whole file.
TReadStatus ParseOff(TOBJModel& model, std::string_view text);
