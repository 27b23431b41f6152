// Sharing the vertices of a polygonised surface: equal positions by their bits
// as they are emitted, and positions closer than a millionth afterwards. Both
// through hashing, with the results of the keyed and the pairwise searches
// they replace.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "model/geosphera.h"

// An open-addressing table (linear probing) from keys of three 32-bit words
// to 32-bit values. It only grows.
class Key3Table {
 public:
  using Key = std::array<uint32_t, 3>;
  static constexpr uint32_t kMissing = 0xFFFFFFFFu;

  explicit Key3Table(size_t expected = 0);

  // The value stored under `key`, kMissing for a key just added. The
  // reference holds until the next call.
  uint32_t& At(const Key& key);
  // The value under `key`, or kMissing.
  uint32_t Find(const Key& key) const;

 private:
  struct Slot {
    Key key;
    uint32_t value;
  };
  size_t Home(const Key& key) const;
  void Grow();

  std::vector<Slot> slots_;
  std::vector<uint8_t> filled_;
  size_t used_ = 0;
};

// Numbers positions in order of first arrival; positions with equal
// coordinates (+0 and -0 alike) share one number.
class SharedVertices {
 public:
  uint32_t Share(const TGLCoord& p);
  Tvertices& vertices() { return vertices_; }

 private:
  Key3Table index_;
  Tvertices vertices_;
};

// Vertices whose distance (in double precision) is below this are one.
inline constexpr double kWeldDistance = 1e-6;

// For each vertex r in order, the first later vertex s closer than
// kWeldDistance forms the pair (r, s); then every corner naming such an s is
// re-pointed to the r of the first pair that names it (one step, not
// followed further). The vertices stay in their array.
void WeldCloseVertices(const Tvertices& vertices, Tfaces& faces);
