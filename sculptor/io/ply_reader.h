// Reader of Stanford PLY triangle meshes (ASCII and binary little-endian, with
// optional uchar vertex colours) into the parsed model.
#pragma once

#include <string>

#include "io/obj_model.h"

// Fills `model` with one unnamed group. On any problem shows a message, leaves
// the model empty and returns false.
bool ReadPly(TOBJModel& model, const std::string& fileName);
