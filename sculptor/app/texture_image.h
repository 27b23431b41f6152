// Texture images of elements as pictures, for showing and saving.
#pragma once

#include <QImage>

#include "model/geosphera.h"

// A square RGB texture image (rows bottom-up) top-down, as pictures are shown
// and saved; a null image when the bytes hold no square image.
QImage TextureImagePicture(const AByte& rgb);
