// Writes the installed base models into the folder named on the command line:
// the start ball, the base spheres, the cube-sphere, the rotation handle and
// the base models of the start-mesh chooser (with start-mesh choice numbers
// after the folder, only those base models). Deterministic: the same build
// always writes the same bytes.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>

#include "app/start_mesh.h"
#include "base_models.h"
#include "io/model_writer.h"
#include "mesh_shapes.h"
#include "model/scene.h"

namespace {

bool WriteShape(const std::filesystem::path& folder, const char* fileName, const char* name, TGeosphera shape) {
  TScene scene;
  shape.name = name;
  scene.elements.push_back(std::move(shape));
  const std::string path = (folder / fileName).string();
  if (WriteModel(scene, path, kModelMet)) return true;
  std::fprintf(stderr, "plasmora-gen-models: cannot write %s\n", path.c_str());
  return false;
}

bool WriteBaseModel(const std::filesystem::path& folder, const BaseModel& model) {
  const TStartMeshChoice& choice = kStartMeshChoices[size_t(model.choice - 1)];
  const auto start = std::chrono::steady_clock::now();
  MeshedField meshed = MeshField(model.distance, model.meshing);
  if (!meshed.element) {
    std::fprintf(stderr, "plasmora-gen-models: %s: %s\n", choice.caption, meshed.error.c_str());
    return false;
  }
  const size_t triangles = meshed.element->faces.size() / 3;
  const std::string fileName = std::filesystem::path(choice.model).filename().string();
  if (!WriteShape(folder, fileName.c_str(), "Principal", std::move(*meshed.element))) return false;
  const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
  std::printf("%s: %zu triangles, %.2f s\n", choice.model, triangles, took.count());
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: plasmora-gen-models OUTPUT_FOLDER [CHOICE...]\n");
    return 2;
  }
  const std::filesystem::path folder = argv[1];
  std::error_code error;
  std::filesystem::create_directories(folder, error);
  if (error) {
    std::fprintf(stderr, "plasmora-gen-models: cannot create %s: %s\n", argv[1], error.message().c_str());
    return 1;
  }
  if (argc > 2) {
    for (int i = 2; i < argc; ++i) {
      const auto models = BaseModels();
      const auto model = std::find_if(models.begin(), models.end(),
                                      [&](const BaseModel& m) { return std::to_string(m.choice) == argv[i]; });
      if (model == models.end()) {
        std::fprintf(stderr, "plasmora-gen-models: no base model for start-mesh choice %s\n", argv[i]);
        return 2;
      }
      if (!WriteBaseModel(folder, *model)) return 1;
    }
    return 0;
  }
  // The start ball: 81920 triangles, fine enough to sculpt, light enough for
  // a software renderer.
  bool written = WriteShape(folder, "ball6.met", "Principal", MakeGeodesicSphere(6, 2.5f)) &&
                 WriteShape(folder, "basegeosphere.met", "Principal", MakeGeodesicSphere(5, 2.5f)) &&
                 WriteShape(folder, "basegeosphere1.met", "Sphere", MakeGeodesicSphere(4, 0.5f)) &&
                 WriteShape(folder, "basecubesphere.met", "Principal", MakeCubeSphere(40, 2.5f)) &&
                 // Three rings of 288 x 16 = 4608 vertices each, a little outside a start sphere.
                 WriteShape(folder, "arcs1.met", "Rotate", MakeRotationRings(288, 16, 2.9f, 0.035f));
  for (const BaseModel& model : BaseModels()) written = written && WriteBaseModel(folder, model);
  return written ? 0 : 1;
}
