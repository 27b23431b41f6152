// Turns a signed distance shape into an all-quad base model: the field is
// sampled on a grid symmetric about z = 0, polygonised by voxquad's marching
// cubes 33 and dual surface (sharp features off), its polygons split into
// quads and relaxed onto the field's zero level.
#pragma once

#include <optional>
#include <string>

#include "distance_field.h"
#include "model/geosphera.h"

struct FieldMeshing {
  Vec3d low, high;      // a box holding the whole shape; the field must be positive on it
  int targetTriangles;  // the size of the result, met within a few per cent
};

struct MeshedField {
  std::optional<TGeosphera> element;  // empty on failure
  std::string error;
};

MeshedField MeshField(const DistanceField& field, const FieldMeshing& settings);
