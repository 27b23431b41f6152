// The procedural pictures installed in the program's images folder.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "assets/raster.h"

enum class PictureFormat { Jpeg, Tga, Bmp };

struct PictureRecipe {
  std::string fileName;
  PictureFormat format;
  std::function<Raster()> make;
};

// Environment cube faces, brush alpha images, stamps, the chessboard and the
// start-mesh previews; those of the base models are rendered from the model
// files under `programFolder`.
std::vector<PictureRecipe> AllPictures(const std::string& programFolder);
