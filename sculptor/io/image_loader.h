// Texture images from files: the decoder is chosen by the file name's
// extension, in any case (BMP, JPG or JPEG, TGA, PNG, GIF); any other name
// loads nothing and says nothing.
#pragma once

#include <string>

#include "io/image_pixels.h"

enum class ImageFormat { Unknown, Bmp, Jpeg, Tga, Png, Gif };

ImageFormat ImageFormatOfName(const std::string& fileName);

// Decodes a file's bytes held in memory with the decoder its name calls for;
// shows nothing.
TImageLoad DecodeTextureImage(ImageBytes file, const std::string& fileName);

// Reads and decodes the file; a refusal (including a file that cannot be
// opened: "Error opening name" for BMP, "File not found  - name" for TGA, the
// decoders' own texts for the others) is shown with its caption.
TImageLoad LoadTextureImage(const std::string& fileName);

// Shows a refusal's message with its caption (nothing for an empty text).
void ShowImageFailure(const TImageFailure& failure);
