// What must hold of any decoded texture image: whole RGB or RGBA rows of the
// size it claims, or a refusal that says why.
#pragma once

#include "fuzz_target.h"
#include "io/image_pixels.h"

inline void CheckImageLoad(const TImageLoad& load) {
  if (!load.ok) {
    FUZZ_CHECK(!load.failure.text.empty());
    return;
  }
  const TImagePixels& image = load.image;
  FUZZ_CHECK(image.width > 0 && image.height > 0);
  FUZZ_CHECK(image.channels == 3 || image.channels == 4);
  FUZZ_CHECK(image.pixels.size() ==
             static_cast<size_t>(image.width) * static_cast<size_t>(image.height) * static_cast<size_t>(image.channels));
}
