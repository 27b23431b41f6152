// Reader of STL triangle soups (binary and ASCII) into the parsed model: one
// group whose corners are welded into shared vertices wherever their positions
// are exactly equal, as other programs expect of an STL mesh.
#pragma once

#include <string>
#include <string_view>

#include "io/obj_model.h"

// Fills `model` with one group (named after the ASCII "solid", else unnamed).
// A binary file is one whose size is 84 bytes plus 50 per declared triangle;
// other files must be ASCII ("solid" ...). On a file it cannot read
// (Malformed) it shows a message and leaves the model empty; CannotOpen shows
// nothing.
TReadStatus ReadStl(TOBJModel& model, const std::string& fileName);

// The same on the bytes of a whole file.
TReadStatus ParseStl(TOBJModel& model, std::string_view bytes);
