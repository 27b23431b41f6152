// Reader of Wavefront OBJ files into the parsed model: the Met text dialect
// without levels, with integer-only "cor" colours and with vertex numbers that
// count across the whole file.
#pragma once

#include <string>
#include <string_view>

#include "io/obj_model.h"

// Replaces `model` by the groups of the file. A malformed record shows "File
// format not recognized." and keeps the groups read before it.
//
// OBJ numbers vertices and texture coordinates across the whole file, while
// each element owns its own arrays. A group whose faces use vertices (or
// texture coordinates) it does not hold, or whose own are used by other
// groups' faces (all "v" lines first, then groups of faces, as many exporters
// write), is given the ones its faces use, taken from the file's lists and
// renumbered in first-use order. Groups that alone use what they hold (Met,
// and OBJ written by this program) keep their arrays as read. Face numbers
// stay file-global, counting what the groups before hold afterwards.
TReadStatus ReadObj(TOBJModel& model, const std::string& fileName);

// The same on the text of a whole file.
TReadStatus ParseObj(TOBJModel& model, std::string_view text);
