// The mesh element record and the small array types it is built from.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct TGLCoord {
  float x = 0, y = 0, z = 0;
  friend bool operator==(const TGLCoord&, const TGLCoord&) = default;
};
struct TGLCoord4 {
  float x = 0, y = 0, z = 0, w = 0;
};
struct TGLUV {
  float u = 0, v = 0;
  friend bool operator==(const TGLUV&, const TGLUV&) = default;
};
struct TRGBA {
  uint8_t r = 0, g = 0, b = 0, a = 0;
  friend bool operator==(const TRGBA&, const TRGBA&) = default;
};

using Tvertices = std::vector<TGLCoord>;
using Tuv = std::vector<TGLUV>;
using TCores = std::vector<TRGBA>;
using Tfaces = std::vector<uint32_t>;
using TAinteger = std::vector<int32_t>;
using TASingle = std::vector<float>;
using TSelect = std::vector<uint8_t>;
using AByte = std::vector<uint8_t>;

inline constexpr TRGBA kDefaultVertexColor{128, 128, 128, 255};

// Padding of adjacency rows: the -1 of a signed corner index.
inline constexpr uint32_t kNoCorner = 0xFFFFFFFFu;

// Vertex-to-triangle adjacency: per vertex a fixed-width row of the corners at
// which the vertex occurs, in increasing order, padded with kNoCorner. Stored
// flat (row v starts at v * width) so millions of vertices cost one allocation.
struct TAdjacency {
  int32_t width = 0;
  Tfaces cells;

  const uint32_t* row(size_t v) const { return cells.data() + v * static_cast<size_t>(width); }
  uint32_t* row(size_t v) { return cells.data() + v * static_cast<size_t>(width); }
  size_t rows() const { return width > 0 ? cells.size() / static_cast<size_t>(width) : 0; }
};

// One half-edge per corner.
struct TEdge {
  int32_t vertexA = 0;
  int32_t vertexB = 0;
  uint8_t assigned = 0;
  uint8_t kind = 0;  // 0 first edge of its triangle, 1 second, 2 closing edge
  int32_t triangle = 0;
  int32_t neighbour = 0;  // triangle across this edge, -1 on a border
};

// One vertex inside a brush footprint and its distance to the brush centre.
struct TContsel {
  int32_t vertex = 0;
  float distance = 0;
};
using ATContsel = std::vector<TContsel>;

// Per-vertex disc of the ambient-occlusion pass (36 bytes, fields in this order).
struct TDisco {
  float area = 0;
  float position[3] = {0, 0, 0};
  float normal[3] = {0, 0, 0};
  float occlusion = 0;      // the value being accumulated, then the visibility
  float accessibility = 0;  // emitter weight used by the next pass
};
static_assert(sizeof(TDisco) == 36);
using TElements = std::vector<TDisco>;

// Per-vertex editing state (the mask).
enum : uint8_t { kVertexFree = 0, kVertexTouched = 1, kVertexFrozen = 2 };

// What a subdivision leaves for UnSubdivide to check: the triangle count it
// produced and a checksum of the triangles it split, in order. A count of 0
// means no record (the level came from a file).
struct TLevelCheck {
  uint32_t triangleCount = 0;
  uint64_t parentChecksum = 0;
};

// Placement states of an element that is being added to the scene.
enum : uint8_t { kPlaceFollowPick = 0, kPlaceFollowXY = 1, kPlaced = 2 };

// One mesh element of the scene.
struct TGeosphera {
  // Stable identity given at creation; survives moves inside the scene (undo
  // files are keyed by it). 0 = not yet given.
  uint32_t uid = 0;

  std::string name;      // UTF-8
  std::string fileName;  // full path of the file the element was loaded from
  int32_t vertexCount = 0;
  int32_t indexCount = 0;  // 3 x triangle count
  int32_t sourceKind = 1;  // 1 .met, 2 .obj, 3 .ply
  int32_t uvCount = 0;

  Tvertices vertices;
  Tvertices normals;
  TCores colors;
  Tfaces faces;
  Tfaces uvFaces;
  Tfaces quads;
  Tuv uvs;

  uint8_t sketchBase = 0;
  uint8_t hasTextureImage = 0;
  int32_t subdivLevel = 0;
  Tfaces levelVertexCounts;
  std::vector<TLevelCheck> levelChecks;  // entry k: the subdivision from level k
  int32_t textureId = 0;

  TGLCoord center;
  TGLCoord rotation;  // degrees, stored in the order X, Z, Y
  TGLCoord position;
  TGLCoord scale{1, 1, 1};
  float maxExtent = 0;
  uint8_t placeState = kPlaced;
  float loadExtent = 0;

  // Display colour, in this byte order.
  uint8_t colorB = 122, colorG = 122, colorR = 122;
  uint8_t colorA = 178;

  std::vector<TEdge> edges;
  TSelect valence;  // incident triangles per vertex, saturating at 255
  TSelect vertexState;
  TAdjacency adjacency;

  uint8_t uvReady = 0;
  int32_t undoKind = 0;
  uint8_t visible = 1;
  TElements aoDiscs;
  float uvBounds[9] = {0, 0, 0, 0, 0, 0, 0, 0, 0};

  int32_t triangleCount() const { return indexCount / 3; }
};

using ATGeosphera = std::vector<TGeosphera>;
