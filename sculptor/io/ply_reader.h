// Reader of Stanford PLY triangle meshes (ASCII, binary little- and big-endian,
// with optional uchar vertex colours) into the parsed model.
#pragma once

#include <string>
#include <string_view>

#include "io/obj_model.h"

// Fills `model` with one unnamed group. On a file it cannot read (Malformed)
// it shows a message and leaves the model empty; CannotOpen shows nothing.
TReadStatus ReadPly(TOBJModel& model, const std::string& fileName);

// The same on the bytes of a whole file; `fileName` only names it in messages.
TReadStatus ParsePly(TOBJModel& model, std::string_view text, const std::string& fileName);
