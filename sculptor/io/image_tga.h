// The program's own reader of true-colour Targa images, uncompressed (type 2)
// or run-length encoded (type 10), 24 or 32 bits a pixel.
#pragma once

#include <string>

#include "io/image_pixels.h"

// Decodes a whole .tga file held in memory into RGB or RGBA pixels, bottom row
// first (files stored top row first are turned). `name` only goes into the
// messages ("TGA File Error"): "Couldn't load "name". Only 24 and 32bit TGA
// supported." (other image types), "... Colormapped TGA files not supported.",
// "... Only 24 and 32 bit TGA files supported." (other depths), and
// "Couldn't read file "name"." when the pixels run past the end of the file;
// sizes are checked against the file before anything is allocated, and no
// run-length packet writes past the image or reads past the file.
TImageLoad DecodeTga(ImageBytes file, const std::string& name);
