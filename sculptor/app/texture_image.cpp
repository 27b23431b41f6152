#include "app/texture_image.h"

#include <cmath>

QImage TextureImagePicture(const AByte& rgb) {
  const auto side = static_cast<int>(std::lround(std::sqrt(static_cast<double>(rgb.size() / 3))));
  if (side <= 0 || static_cast<size_t>(side) * static_cast<size_t>(side) * 3 != rgb.size()) return {};
  const QImage bottomUp(rgb.data(), side, side, side * 3, QImage::Format_RGB888);
  return bottomUp.mirrored();
}
