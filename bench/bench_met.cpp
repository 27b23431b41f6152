// Met files of a 1M-triangle scene: ReadMet + conversion against tinyobjloader
// reading the same geometry as OBJ, and the Met writer's throughput.
#include <tiny_obj_loader.h>

#include <cmath>
#include <filesystem>
#include <string>

#include "bench_util.h"
#include "io/atomic_file.h"
#include "io/met_reader.h"
#include "io/met_writer.h"
#include "io/model_conversion.h"
#include "io/model_writer.h"
#include "mesh_shapes.h"
#include "model/messages.h"
#include "model/topology.h"

namespace {

// A cube-sphere of 12 x 289^2 = 1,002,252 triangles with colours that vary.
TScene MakeScene() {
  TScene scene;
  ResetScene(scene);
  TGeosphera& e = scene.elements[0];
  const uint32_t uid = e.uid;
  e = MakeCubeSphere(289, 2.5f);
  e.uid = uid;
  e.name = "Principal";
  e.colors.resize(e.vertices.size());
  for (size_t v = 0; v < e.vertices.size(); ++v) {
    const TGLCoord& p = e.vertices[v];
    e.colors[v] = {static_cast<uint8_t>(128 + 50 * p.x), static_cast<uint8_t>(128 + 50 * p.y),
                   static_cast<uint8_t>(128 + 50 * p.z), 255};
  }
  return scene;
}

// The same vertices and triangles as plain OBJ ("v" and "f" lines).
void WriteObj(const TGeosphera& e, const std::string& fileName) {
  AtomicFileWriter out(fileName);
  if (!out.Open()) return;
  for (const TGLCoord& p : e.vertices) {
    const float xyz[3] = {p.x, p.y, p.z};
    WriteFloatLine(out, "v", xyz, 3);
  }
  for (size_t c = 0; c + 2 < e.faces.size(); c += 3) {
    out.Write("f " + std::to_string(e.faces[c] + 1) + " " + std::to_string(e.faces[c + 1] + 1) + " " +
              std::to_string(e.faces[c + 2] + 1) + "\n");
  }
  out.Commit();
}

}  // namespace

int main() {
  const std::filesystem::path dir = std::filesystem::temp_directory_path() / "plasmora-bench-met";
  std::filesystem::create_directories(dir);
  const std::string metFile = (dir / "sphere.met").string(), objFile = (dir / "sphere.obj").string();

  TScene scene = MakeScene();
  const int triangles = scene.elements[0].triangleCount();
  const double writeMs = bench::BestMs(3, [&] { WriteModel(scene, metFile, kModelMet); });
  const double megabytes = static_cast<double>(std::filesystem::file_size(metFile)) / 1e6;
  bench::Report("WriteModel Met " + std::to_string(triangles) + " triangles (" + std::to_string(int(megabytes)) +
                    " MB)",
                megabytes / (writeMs / 1000.0), "MB/s");
  WriteObj(scene.elements[0], objFile);

  size_t ourTriangles = 0, peerTriangles = 0;
  const double readMs = bench::BestMs(5, [&] {
    TOBJModel model;
    ReadMet(model, metFile);
  });
  const double oursMs = bench::BestMs(5, [&] {
    TScene loaded;
    ResetScene(loaded);
    LoadIntoScene(loaded, metFile, kModelMet, 1.0f);
    ourTriangles = static_cast<size_t>(loaded.elements[0].triangleCount());
  });
  const double peerMs = bench::BestMs(5, [&] {
    tinyobj::ObjReader reader;
    tinyobj::ObjReaderConfig config;
    config.triangulate = true;
    reader.ParseFromFile(objFile, config);
    peerTriangles = reader.GetShapes().empty() ? 0 : reader.GetShapes()[0].mesh.indices.size() / 3;
  });
  if (ourTriangles != static_cast<size_t>(triangles) || peerTriangles != static_cast<size_t>(triangles)) {
    std::fprintf(stderr, "bench_met: read %zu and %zu triangles instead of %d\n", ourTriangles, peerTriangles,
                 triangles);
    return 1;
  }
  bench::Report("ReadMet alone 1M triangles", readMs, "ms");
  bench::ReportComparison("ReadMet + conversion 1M triangles vs tinyobjloader (goal ratio <= 0.8)", oursMs, peerMs);
  std::filesystem::remove_all(dir);
  return 0;
}
