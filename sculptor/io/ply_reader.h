// Reader of Stanford PLY triangle meshes (ASCII and binary little-endian, with
// optional uchar vertex colours) into the parsed model.
#pragma once

#include <string>

#include "io/obj_model.h"

// Fills `model` with one unnamed group. On a file it cannot read (Malformed)
// it shows a message and leaves the model empty; CannotOpen shows nothing.
TReadStatus ReadPly(TOBJModel& model, const std::string& fileName);
