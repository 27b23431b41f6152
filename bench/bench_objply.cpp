// OBJ and PLY speed on a closed mesh of about one million triangles: OBJ
// reading against tinyobjloader, binary PLY reading against assimp's importer
// (the same files for both), and the write speed of both formats.
#include <assimp/Importer.hpp>
#include <assimp/scene.h>
#include <tiny_obj_loader.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "bench_util.h"
#include "io/obj_reader.h"
#include "io/obj_writer.h"
#include "io/ply_reader.h"
#include "io/ply_writer.h"
#include "mesh_shapes.h"
#include "model/messages.h"
#include "model/scene.h"
#include "model/topology.h"

namespace {

namespace fs = std::filesystem;

// Binary little-endian PLY: float x, y, z, uchar red, green, blue, uchar-counted int indices.
void WriteBinaryPly(const TGeosphera& e, const std::string& path) {
  std::string header = "ply\nformat binary_little_endian 1.0\nelement vertex " + std::to_string(e.vertexCount) +
                       "\nproperty float x\nproperty float y\nproperty float z\nproperty uchar red\n"
                       "property uchar green\nproperty uchar blue\nelement face " +
                       std::to_string(e.indexCount / 3) + "\nproperty list uchar int vertex_indices\nend_header\n";
  std::string body;
  body.reserve(static_cast<size_t>(e.vertexCount) * 15 + static_cast<size_t>(e.indexCount / 3) * 13);
  auto put = [&](const void* p, size_t n) { body.append(static_cast<const char*>(p), n); };
  for (int v = 0; v < e.vertexCount; ++v) {
    put(&e.vertices[v], 12);
    put(&e.colors[v], 3);
  }
  for (int t = 0; t < e.indexCount / 3; ++t) {
    const uint8_t three = 3;
    put(&three, 1);
    put(&e.faces[3 * t], 12);
  }
  std::ofstream(path, std::ios::binary) << header << body;
}

void Speed(const std::string& name, const std::string& path, double ms) {
  const double mb = static_cast<double>(fs::file_size(path)) / (1024.0 * 1024.0);
  bench::Report(name, mb / (ms / 1000.0), "MB/s");
}

size_t TriangleCount(const TOBJModel& m) {
  size_t n = 0;
  for (const TOBJGroup& g : m.groups) n += g.faceRecords.size();
  return n;
}

}  // namespace

int main() {
  const fs::path dir = fs::temp_directory_path() / ("plasmora_bench_objply_" + std::to_string(getpid()));
  fs::create_directories(dir);
  const std::string obj = (dir / "mesh.obj").string(), ply = (dir / "mesh.ply").string(),
                    binary = (dir / "mesh_binary.ply").string();

  TScene scene;
  scene.elements.push_back(MakeCubeSphere(289, 2.5f));  // 12 x 289^2 triangles
  RefreshElement(scene.elements[0]);
  const size_t triangles = static_cast<size_t>(scene.elements[0].indexCount / 3);
  std::printf("mesh: %d vertices, %zu triangles\n", scene.elements[0].vertexCount, triangles);

  Speed("obj_write", obj, bench::BestMs(3, [&] { WriteObj(scene, obj); }));
  Speed("ply_write_full", ply, bench::BestMs(3, [&] { WritePlyFull(scene, 0, ply); }));
  Speed("ply_write_positions", ply, bench::BestMs(3, [&] { WritePlyPositions(scene, 0, ply); }));
  WriteBinaryPly(scene.elements[0], binary);

  size_t ourTriangles = 0, peerTriangles = 0;
  const double ourObj = bench::BestMs(3, [&] {
    TOBJModel model;
    ReadObj(model, obj);
    ourTriangles = TriangleCount(model);
  });
  const double tinyObj = bench::BestMs(3, [&] {
    tinyobj::attrib_t attrib;
    std::vector<tinyobj::shape_t> shapes;
    std::vector<tinyobj::material_t> materials;
    std::string warn, err;
    tinyobj::LoadObj(&attrib, &shapes, &materials, &warn, &err, obj.c_str(), nullptr, false);
    peerTriangles = shapes.empty() ? 0 : shapes[0].mesh.num_face_vertices.size();
  });
  if (ourTriangles != triangles || peerTriangles != triangles)
    std::printf("warning: OBJ triangles read: ours %zu, tinyobjloader %zu\n", ourTriangles, peerTriangles);
  bench::ReportComparison("obj_read_1m_vs_tinyobjloader", ourObj, tinyObj);

  const double ourPly = bench::BestMs(3, [&] {
    TOBJModel model;
    ReadPly(model, binary);
    ourTriangles = TriangleCount(model);
  });
  const double assimpPly = bench::BestMs(3, [&] {
    Assimp::Importer importer;
    const aiScene* s = importer.ReadFile(binary, 0);
    peerTriangles = s && s->mNumMeshes > 0 ? s->mMeshes[0]->mNumFaces : 0;
  });
  if (ourTriangles != triangles || peerTriangles != triangles)
    std::printf("warning: PLY triangles read: ours %zu, assimp %zu\n", ourTriangles, peerTriangles);
  bench::ReportComparison("ply_binary_read_1m_vs_assimp", ourPly, assimpPly);

  fs::remove_all(dir);
  return 0;
}
