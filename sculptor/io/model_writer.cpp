#include "io/model_writer.h"

#include <sys/stat.h>

#include <algorithm>
#include <cctype>

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

bool WriteModel(TScene& scene, const std::string& fileName, int kind) {
  const TModelFormat* format = FindModelFormat(kind);
  if (format != nullptr && format->write != nullptr && !format->wholeScene) return format->write(scene, fileName);
  if (scene.elements.empty() || scene.elements[0].vertexCount <= 0) {
    ShowError("Scene don't have elements to save.");
    return false;
  }
  if (format == nullptr || format->write == nullptr) {
    ShowError("Unknown model file format.");
    return false;
  }
  if (!format->write(scene, fileName)) return false;
  for (TGeosphera& e : scene.elements) e.position = {};
  return true;
}

bool SaveSceneAs(TScene& scene, std::string chosenName) {
  if (chosenName.empty()) return false;
  const TModelFormat& native = NativeModelFormat();
  if (!EndsWithIgnoringCase(chosenName, native.extension)) chosenName += native.extension;
  if (FileExists(chosenName) &&
      AskConfirmation("The file " + chosenName + " already exists, do you want to replace?") != MessageAnswer::Yes)
    return false;
  return WriteModel(scene, chosenName, native.kind);
}
