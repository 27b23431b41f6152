#include "io/model_writer.h"

#include <sys/stat.h>

#include <algorithm>
#include <cctype>

#include "io/met_writer.h"
#include "io/obj_writer.h"
#include "model/messages.h"

namespace {

bool EndsWithIgnoringCase(const std::string& text, const std::string& suffix) {
  if (text.size() < suffix.size()) return false;
  return std::equal(suffix.begin(), suffix.end(), text.end() - static_cast<std::ptrdiff_t>(suffix.size()),
                    [](char a, char b) { return std::tolower(static_cast<unsigned char>(a)) == std::tolower(static_cast<unsigned char>(b)); });
}

bool FileExists(const std::string& name) {
  struct stat info {};
  return stat(name.c_str(), &info) == 0;
}

}  // namespace

bool WriteModel(TScene& scene, const std::string& fileName, int mode) {
  if (scene.elements.empty() || scene.elements[0].vertexCount <= 0) {
    ShowError("Scene don't have elements to save.");
    return false;
  }
  bool written = false;
  switch (mode) {
    case kWriteMet: written = WriteMet(scene, fileName); break;
    case kWriteObj: written = WriteObj(scene, fileName); break;
    default: ShowError("Unknown model file format."); return false;
  }
  if (!written) return false;
  for (TGeosphera& e : scene.elements) e.position = {};
  return true;
}

bool SaveSceneAs(TScene& scene, std::string chosenName) {
  if (chosenName.empty()) return false;
  if (!EndsWithIgnoringCase(chosenName, ".met")) chosenName += ".met";
  if (FileExists(chosenName) &&
      AskConfirmation("The file " + chosenName + " already exists, do you want to replace?") != MessageAnswer::Yes)
    return false;
  return WriteModel(scene, chosenName, kWriteMet);
}
