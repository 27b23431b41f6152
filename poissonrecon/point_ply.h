// The files of poissonrecon: oriented points read from PLY, the reconstructed
// mesh written as binary little-endian PLY.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

using Float3 = std::array<float, 3>;
using Rgb = std::array<uint8_t, 3>;

struct OrientedPoints {
  std::vector<Float3> positions;
  std::vector<Float3> normals;
  std::vector<Rgb> colors;  // one per point, or empty when the file has none
};

struct ColoredMesh {
  std::vector<Float3> positions;
  std::vector<Rgb> colors;  // one per vertex, or empty
  std::vector<std::array<int32_t, 3>> triangles;
};

// Reads the vertex element of a PLY file, ASCII or binary little-endian: the
// properties x, y, z, nx, ny, nz (of any scalar type) and, when present, red,
// green and blue (integers 0..255, or floats 0..1). Other elements and
// properties are skipped. Returns "" or the reason the file was refused.
std::string ReadOrientedPoints(const std::string& fileName, OrientedPoints& points);

// Writes the mesh as binary little-endian PLY: float x, y, z, then uchar red,
// green, blue when the mesh has colours, and triangles as a uchar-counted list
// of int. The file is replaced only when complete. Returns "" or the reason.
std::string WriteMeshPly(const std::string& fileName, const ColoredMesh& mesh);
