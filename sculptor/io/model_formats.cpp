#include "io/model_formats.h"

#include <algorithm>
#include <cctype>
#include <iterator>

#include "io/met_reader.h"
#include "io/met_writer.h"
#include "io/obj_reader.h"
#include "io/obj_writer.h"
#include "io/off_reader.h"
#include "io/off_writer.h"
#include "io/ply_reader.h"
#include "io/ply_writer.h"
#include "io/stl_reader.h"
#include "io/stl_writer.h"

namespace {

// Rows are never reordered: the kinds are stored in elements and shown in
// the dialogs in this order.
constexpr TModelFormat kFormats[] = {
    {kModelMet, "Met", ".met", true, true, "Met 3D Format", nullptr, "Meta File", ReadMet,
     [](TScene& scene, const std::string& fileName) { return WriteMet(scene, fileName); }},
    {kModelObj, "OBJ", ".obj", true, false, "OBJ Geometry Format", " OBJ File Format", "Wavefront OBJ File", ReadObj,
     [](TScene& scene, const std::string& fileName) { return WriteObj(scene, fileName); }},
    {kModelPly, "PLY", ".ply", false, false, "Polygon File Format", "Polygon File Format", "Stanford Triangle Format",
     ReadPly,
     [](TScene& scene, const std::string& fileName) { return WritePlyFull(scene, scene.currentElement, fileName); }},
    {kModelStl, "STL", ".stl", false, false, "Stereolithography Format", "Stereolithography Format",
     "STL Binary File", ReadStl,
     [](TScene& scene, const std::string& fileName) { return WriteStlBinary(scene, scene.currentElement, fileName); }},
    // Export only: files of either STL form are read by the row above.
    {kModelStlAscii, "STL", ".stl", false, false, nullptr, nullptr, "STL ASCII File", nullptr,
     [](TScene& scene, const std::string& fileName) { return WriteStlAscii(scene, scene.currentElement, fileName); }},
    {kModelOff, "OFF", ".off", false, false, "Object File Format", "Object File Format", "Object File Format",
     ReadOff, [](TScene& scene, const std::string& fileName) { return WriteOff(scene, scene.currentElement, fileName); }},
};

constexpr size_t NativeIndex() {
  size_t i = 0;
  while (i < std::size(kFormats) && !kFormats[i].native) ++i;
  return i;
}
static_assert(NativeIndex() < std::size(kFormats), "one format is the program's own");

}  // namespace

std::span<const TModelFormat> ModelFormats() { return kFormats; }

const TModelFormat* FindModelFormat(int kind) {
  for (const TModelFormat& format : kFormats) {
    if (format.kind == kind) return &format;
  }
  return nullptr;
}

const TModelFormat* ModelFormatOfFile(const std::string& fileName) {
  const size_t dot = fileName.find_last_of("./");
  if (dot == std::string::npos || fileName[dot] != '.') return nullptr;
  std::string extension = fileName.substr(dot);
  for (char& c : extension) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  for (const TModelFormat& format : kFormats) {
    if (extension == format.extension) return &format;
  }
  return nullptr;
}

int ModelKindOfFile(const std::string& fileName) {
  const TModelFormat* format = ModelFormatOfFile(fileName);
  return format ? format->kind : kModelUnknown;
}

const TModelFormat& NativeModelFormat() { return kFormats[NativeIndex()]; }

bool DialogOffers(TModelDialog dialog, const TModelFormat& format) {
  switch (dialog) {
    case TModelDialog::Open: return format.openCaption != nullptr && format.read != nullptr;
    case TModelDialog::Import: return format.importCaption != nullptr && format.read != nullptr;
    case TModelDialog::Export: return !format.native && format.saveCaption != nullptr && format.write != nullptr;
    case TModelDialog::SaveAs: return format.native;
  }
  return false;
}

std::vector<TModelFilter> DialogFilters(TModelDialog dialog) {
  std::vector<const TModelFormat*> offered;
  for (const TModelFormat& format : kFormats) {
    if (DialogOffers(dialog, format)) offered.push_back(&format);
  }
  std::vector<TModelFilter> filters;
  if (dialog == TModelDialog::Open || dialog == TModelDialog::Import) {
    std::string all = "All (";
    for (const TModelFormat* format : offered)
      all += (format == offered.front() ? "*" : " *") + std::string(format->extension);
    filters.push_back({all + ")", nullptr});
  }
  if (dialog == TModelDialog::Open) {
    std::stable_partition(offered.begin(), offered.end(), [](const TModelFormat* format) { return !format->native; });
  }
  for (const TModelFormat* format : offered) {
    const char* caption = dialog == TModelDialog::Open     ? format->openCaption
                          : dialog == TModelDialog::Import ? format->importCaption
                                                           : format->saveCaption;
    filters.push_back({std::string(caption) + " (*" + format->extension + ")", format});
  }
  return filters;
}
