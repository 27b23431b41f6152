// Windows bitmaps, through the program's own decoder.
#include "fuzz_image.h"
#include "io/image_bmp.h"

FUZZ_TARGET(bmp)(const uint8_t* data, size_t size) {
  CheckImageLoad(DecodeBmp(ImageBytes(data, size)));
  return 0;
}
