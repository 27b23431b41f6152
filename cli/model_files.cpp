// Reading and writing model files for the commands, with the reasons of a
// failure on standard error.
#include <cstdio>

#include "cli.h"
#include "io/mapped_file.h"
#include "io/model_conversion.h"
#include "io/model_writer.h"

namespace {

// ".met, .obj or .ply": the extensions of the formats that `offers` accepts.
template <typename Offers>
std::string ExtensionList(Offers offers) {
  std::vector<std::string> extensions;
  for (const TModelFormat& format : ModelFormats()) {
    if (offers(format)) extensions.emplace_back(format.extension);
  }
  std::string list;
  for (size_t i = 0; i < extensions.size(); ++i) {
    if (i > 0) list += i + 1 == extensions.size() ? " or " : ", ";
    list += extensions[i];
  }
  return list;
}

}  // namespace

void Complain(const std::string& text) { std::fprintf(stderr, "plasmora-cli: %s\n", text.c_str()); }

bool LoadScene(const std::string& fileName, TScene& scene) {
  const TModelFormat* format = ModelFormatOfFile(fileName);
  if (format == nullptr) {
    const std::string readable = ExtensionList([](const TModelFormat& f) { return f.read != nullptr; });
    Complain("unknown model file type: " + fileName + " (expected " + readable + ")");
    return false;
  }
  TOBJModel model;
  switch (ReadModelFile(model, fileName, format->kind)) {
    case TReadStatus::Ok: break;
    case TReadStatus::CannotOpen: {
      MappedFile probe;
      probe.Open(fileName);
      Complain("cannot open " + fileName + ": " + probe.error());
      return false;
    }
    case TReadStatus::Malformed: Complain("cannot read " + fileName); return false;
    case TReadStatus::Unsupported:
      Complain("reading this kind of file is not available yet: " + fileName);
      return false;
  }
  ResetScene(scene);
  return ConvertIntoScene(scene, model, fileName, format->kind, 1.0f);
}

const TModelFormat* OutputFormat(const std::string& fileName) {
  const TModelFormat* format = ModelFormatOfFile(fileName);
  if (format != nullptr && format->write != nullptr) return format;
  const std::string writable = ExtensionList([](const TModelFormat& f) { return f.write != nullptr; });
  Complain("cannot write this kind of file: " + fileName + " (expected " + writable + ")");
  return nullptr;
}

bool WriteScene(TScene& scene, const std::string& fileName, const TModelFormat& format) {
  if (format.wholeScene || scene.elementCount() < 2) return WriteModel(scene, fileName, format.kind);
  Complain(std::string(format.name) + " files hold one mesh: the " + std::to_string(scene.elementCount()) +
           " elements are written merged into one");
  TScene merged;
  merged.elements.resize(1);
  return MergeElements(scene, merged.elements[0]) && WriteModel(merged, fileName, format.kind);
}
