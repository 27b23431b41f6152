// PNG, JPEG and GIF images through Qt's decoders, turned into the pixels the
// OpenGL upload takes: RGBA, bottom row first.
#pragma once

#include <string>

#include "io/image_pixels.h"

// JPEG or GIF: every pixel opaque (alpha 255). Refused with
// "Couldn't load JPG - "name"" ("BMP Unit") when the decoder fails.
TImageLoad DecodeJpegOrGif(ImageBytes file, const std::string& name);

// PNG: grey and RGB images opaque, grey-with-alpha and RGBA images with their
// alpha. Palette images are refused with "This PNG type in the file:\r\n"name"
// \r\nis not supported." (information, "Information:"); a file the decoder
// cannot read with "Couldn't load PNG - "name"" ("BMP Unit").
TImageLoad DecodePng(ImageBytes file, const std::string& name);
