// The parsed model that the Met, OBJ and PLY readers fill and one shared
// conversion turns into scene elements.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "model/geosphera.h"

struct TVector {
  float x = 0, y = 0, z = 0;
};

struct TTexCoords {
  float u = 0, v = 0, w = 0;  // w stays 0
};

// One triangle; all indices zero-based and file-global.
struct TOBJFace {
  int32_t texture[3] = {0, 0, 0};
  int32_t normal[3] = {0, 0, 0};
  int32_t vertex[3] = {0, 0, 0};
};

struct TOBJGroup {
  int32_t level = 0;  // the "div" record
  std::string name;
  std::vector<TOBJFace> faceRecords;
  std::vector<TVector> points;
  std::vector<TVector> normalList;
  std::vector<TTexCoords> texCoords;
  std::vector<TRGBA> pointColors;
};

struct TOBJModel {
  std::vector<TOBJGroup> groups;  // file order
};

// Outcome of reading a model file into a TOBJModel.
enum class TReadStatus {
  Ok,
  CannotOpen,   // nothing read
  Malformed,    // "File format not recognized." shown; the groups read so far are kept
  Unsupported,  // no reader for this kind of file
};
