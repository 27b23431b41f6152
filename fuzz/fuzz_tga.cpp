// Targa images (uncompressed and run-length encoded), through the program's own decoder.
#include "fuzz_image.h"
#include "io/image_tga.h"

FUZZ_TARGET(tga)(const uint8_t* data, size_t size) {
  CheckImageLoad(DecodeTga(ImageBytes(data, size), "fuzz.tga"));
  return 0;
}
