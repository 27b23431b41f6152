// plasmora-gen-assets OUT_DIR: writes OUT_DIR/images/* and OUT_DIR/prefer1.txt,
// the previews of the base models from OUT_DIR/models/*. Everything is
// computed from fixed formulas, so every run writes the same files.
// plasmora-gen-assets --contact-sheet OUT_DIR SHEET.png: the previews on one page.
// plasmora-gen-assets --user-guide README.md GUIDE.html: the user guide.
#include <QCoreApplication>
#include <QDir>
#include <QGuiApplication>
#include <QImage>

#include <cstdio>
#include <cstring>

#include "assets/contact_sheet.h"
#include "assets/pictures.h"
#include "assets/user_guide.h"
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
  if (argc == 4 && std::strcmp(argv[1], "--contact-sheet") == 0) {
    // The captions need fonts, which need a GUI application; it needs no display.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (WriteContactSheet(argv[2], argv[3])) return 0;
    std::fprintf(stderr, "cannot write the contact sheet %s from %s\n", argv[3], argv[2]);
    return 1;
  }
  if (argc == 4 && std::strcmp(argv[1], "--user-guide") == 0) {
    QGuiApplication app(argc, argv);  // the text document needs one, but no display
    if (WriteUserGuide(argv[2], argv[3])) return 0;
    std::fprintf(stderr, "cannot write the user guide %s from %s\n", argv[3], argv[2]);
    return 1;
  }
  QCoreApplication app(argc, argv);
  if (argc != 2) {
    std::fprintf(stderr,
                 "usage: plasmora-gen-assets OUT_DIR | --contact-sheet OUT_DIR SHEET.png"
                 " | --user-guide README.md GUIDE.html\n");
    return 2;
  }
  const std::string out = argv[1];
  if (!QDir().mkpath(QString::fromStdString(out + "/images"))) {
    std::fprintf(stderr, "cannot create %s/images\n", out.c_str());
    return 1;
  }
  for (const PictureRecipe& recipe : AllPictures(out)) {
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
