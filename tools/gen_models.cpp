// Writes the installed base models into the folder named on the command line:
// the start ball, the base spheres, the cube-sphere and the rotation handle.
// Deterministic: the same build always writes the same bytes.
#include <cstdio>
#include <filesystem>
#include <string>

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

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: plasmora-gen-models OUTPUT_FOLDER\n");
    return 2;
  }
  const std::filesystem::path folder = argv[1];
  std::error_code error;
  std::filesystem::create_directories(folder, error);
  if (error) {
    std::fprintf(stderr, "plasmora-gen-models: cannot create %s: %s\n", argv[1], error.message().c_str());
    return 1;
  }
  // The start ball: 81920 triangles, fine enough to sculpt, light enough for
  // a software renderer.
  const bool written = WriteShape(folder, "ball6.met", "Principal", MakeGeodesicSphere(6, 2.5f)) &&
                       WriteShape(folder, "basegeosphere.met", "Principal", MakeGeodesicSphere(5, 2.5f)) &&
                       WriteShape(folder, "basegeosphere1.met", "Sphere", MakeGeodesicSphere(4, 0.5f)) &&
                       WriteShape(folder, "basecubesphere.met", "Principal", MakeCubeSphere(40, 2.5f)) &&
                       // Three rings of 288 x 16 = 4608 vertices each, a little outside a start sphere.
                       WriteShape(folder, "arcs1.met", "Rotate", MakeRotationRings(288, 16, 2.9f, 0.035f));
  return written ? 0 : 1;
}
