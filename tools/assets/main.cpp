// plasmora-gen-assets OUT_DIR: writes OUT_DIR/images/* and OUT_DIR/prefer1.txt.
// Everything is computed from fixed formulas, so every run writes the same files.
#include <QCoreApplication>
#include <QDir>
#include <QImage>

#include <cstdio>

#include "assets/pictures.h"
#include "io/preferences.h"

namespace {

bool WriteJpeg(const std::string& path, const Raster& image) {
  QImage picture(image.rgba.data(), image.width, image.height, image.width * 4, QImage::Format_RGBA8888);
  return picture.convertToFormat(QImage::Format_RGB888).save(QString::fromStdString(path), "JPG", 92);
}

bool WritePicture(const std::string& path, const PictureRecipe& recipe) {
  Raster image = recipe.make();
  switch (recipe.format) {
    case PictureFormat::Jpeg: return WriteJpeg(path, image);
    case PictureFormat::Tga: return WriteTga(path, image);
    case PictureFormat::Bmp: return WriteBmp(path, image);
  }
  return false;
}

}  // namespace

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  if (argc != 2) {
    std::fprintf(stderr, "usage: plasmora-gen-assets OUT_DIR\n");
    return 2;
  }
  const std::string out = argv[1];
  if (!QDir().mkpath(QString::fromStdString(out + "/images"))) {
    std::fprintf(stderr, "cannot create %s/images\n", out.c_str());
    return 1;
  }
  for (const PictureRecipe& recipe : AllPictures()) {
    std::string path = out + "/images/" + recipe.fileName;
    if (!WritePicture(path, recipe)) {
      std::fprintf(stderr, "cannot write %s\n", path.c_str());
      return 1;
    }
  }
  if (!WritePreferencesFile(out + "/prefer1.txt", DefaultPreferences())) {
    std::fprintf(stderr, "cannot write %s/prefer1.txt\n", out.c_str());
    return 1;
  }
  return 0;
}
