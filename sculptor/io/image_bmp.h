// The program's own reader of 24-bit uncompressed Windows bitmaps.
#pragma once

#include "io/image_pixels.h"

// Decodes a whole .bmp file held in memory into RGB pixels, bottom row first.
// Rows are read with their padding to 4 bytes; a negative height (rows stored
// top-down) is turned the right way up. Refused ("BMP Unit"): a palette past
// the end of the file, "Error reading palette"; a header that is not a 24-bit
// uncompressed bitmap or whose sizes exceed the file, "Error reading bitmap
// data" (checked before anything is allocated).
TImageLoad DecodeBmp(ImageBytes file);
