#include "processing/sketch_spheres_weld.h"

#include <algorithm>
#include <bit>
#include <cmath>

Key3Table::Key3Table(size_t expected) {
  const size_t capacity = std::bit_ceil(std::max<size_t>(16, expected * 2));
  slots_.resize(capacity);
  filled_.assign(capacity, 0);
}

size_t Key3Table::Home(const Key& key) const {
  uint64_t h = key[0] * 0x9E3779B97F4A7C15ull;
  h ^= key[1] * 0xC2B2AE3D27D4EB4Full;
  h ^= key[2] * 0x165667B19E3779F9ull;
  h ^= h >> 31;
  h *= 0xD6E8FEB86659FD93ull;
  h ^= h >> 32;
  return static_cast<size_t>(h) & (slots_.size() - 1);
}

void Key3Table::Grow() {
  std::vector<Slot> slots(slots_.size() * 2);
  std::vector<uint8_t> filled(slots.size(), 0);
  slots.swap(slots_);
  filled.swap(filled_);
  const size_t mask = slots_.size() - 1;
  for (size_t s = 0; s < slots.size(); ++s) {
    if (!filled[s]) continue;
    size_t i = Home(slots[s].key);
    while (filled_[i]) i = (i + 1) & mask;
    slots_[i] = slots[s];
    filled_[i] = 1;
  }
}

uint32_t& Key3Table::At(const Key& key) {
  if (2 * (used_ + 1) > slots_.size()) Grow();
  const size_t mask = slots_.size() - 1;
  size_t i = Home(key);
  while (filled_[i]) {
    if (slots_[i].key == key) return slots_[i].value;
    i = (i + 1) & mask;
  }
  filled_[i] = 1;
  slots_[i] = {key, kMissing};
  ++used_;
  return slots_[i].value;
}

uint32_t Key3Table::Find(const Key& key) const {
  const size_t mask = slots_.size() - 1;
  for (size_t i = Home(key); filled_[i]; i = (i + 1) & mask) {
    if (slots_[i].key == key) return slots_[i].value;
  }
  return kMissing;
}

namespace {

// The bits of a coordinate, -0 taken as +0 (equal values, equal keys).
uint32_t CoordinateBits(float c) { return std::bit_cast<uint32_t>(c == 0 ? 0.0f : c); }

}  // namespace

uint32_t SharedVertices::Share(const TGLCoord& p) {
  uint32_t& slot = index_.At({CoordinateBits(p.x), CoordinateBits(p.y), CoordinateBits(p.z)});
  if (slot == Key3Table::kMissing) {
    slot = static_cast<uint32_t>(vertices_.size());
    vertices_.push_back(p);
  }
  return slot;
}

namespace {

bool Close(const TGLCoord& a, const TGLCoord& b) {
  const double dx = static_cast<double>(a.x) - b.x;
  const double dy = static_cast<double>(a.y) - b.y;
  const double dz = static_cast<double>(a.z) - b.z;
  return dx * dx + dy * dy + dz * dz < kWeldDistance * kWeldDistance;
}

// Cells of a power-of-two size a few times the weld distance: a close pair
// lies in one cell or in two neighbouring ones, and a neighbour needs looking
// at only when a coordinate is that near the shared face.
class WeldCells {
  static constexpr double kLargestCell = 1e9;

 public:
  explicit WeldCells(const Tvertices& vertices) {
    double largest = 0;
    for (const TGLCoord& p : vertices) {
      for (const float c : {p.x, p.y, p.z}) {
        if (std::isfinite(c)) largest = std::max(largest, std::fabs(static_cast<double>(c)));
      }
    }
    // Cell numbers stay well inside 32 bits.
    int exponent = -17;
    while (std::ldexp(largest, -exponent) > kLargestCell) ++exponent;
    scale_ = std::ldexp(1.0, -exponent);
  }

  // The cell of coordinate c, and whether the neighbour below (-1) or above
  // (+1) may hold a close partner.
  int32_t Cell(float c, int& from, int& to) const {
    double scaled = static_cast<double>(c) * scale_;
    if (!(std::fabs(scaled) <= kLargestCell)) scaled = 2 * kLargestCell;  // not finite: a cell of its own
    const double cell = std::floor(scaled);
    const double reach = 2 * kWeldDistance * scale_;  // twice the distance, for rounding
    from = scaled - cell < reach ? -1 : 0;
    to = cell + 1 - scaled < reach ? 1 : 0;
    return static_cast<int32_t>(cell);
  }

  static Key3Table::Key Key(int32_t x, int32_t y, int32_t z) {
    return {static_cast<uint32_t>(x), static_cast<uint32_t>(y), static_cast<uint32_t>(z)};
  }

 private:
  double scale_ = 1;
};

}  // namespace

void WeldCloseVertices(const Tvertices& vertices, Tfaces& faces) {
  const size_t n = vertices.size();
  const WeldCells cells(vertices);
  // Per cell a chain of its vertices in increasing order.
  Key3Table heads(n);
  std::vector<uint32_t> next(n);
  for (size_t v = n; v-- > 0;) {
    int from = 0, to = 0;
    const TGLCoord& p = vertices[v];
    uint32_t& head =
        heads.At(WeldCells::Key(cells.Cell(p.x, from, to), cells.Cell(p.y, from, to), cells.Cell(p.z, from, to)));
    next[v] = head;
    head = static_cast<uint32_t>(v);
  }
  // partner[s]: the r of the first pair (r, s).
  std::vector<uint32_t> partner(n, Key3Table::kMissing);
  bool anyPair = false;
  for (size_t r = 0; r < n; ++r) {
    const TGLCoord& p = vertices[r];
    int from[3], to[3];
    const int32_t cell[3] = {cells.Cell(p.x, from[0], to[0]), cells.Cell(p.y, from[1], to[1]),
                             cells.Cell(p.z, from[2], to[2])};
    uint32_t first = Key3Table::kMissing;
    for (int dx = from[0]; dx <= to[0]; ++dx) {
      for (int dy = from[1]; dy <= to[1]; ++dy) {
        for (int dz = from[2]; dz <= to[2]; ++dz) {
          for (uint32_t s = heads.Find(WeldCells::Key(cell[0] + dx, cell[1] + dy, cell[2] + dz));
               s != Key3Table::kMissing && s < first; s = next[s]) {
            if (s > r && Close(p, vertices[s])) first = s;
          }
        }
      }
    }
    if (first != Key3Table::kMissing && partner[first] == Key3Table::kMissing) {
      partner[first] = static_cast<uint32_t>(r);
      anyPair = true;
    }
  }
  if (!anyPair) return;
  for (uint32_t& corner : faces) {
    if (corner < n && partner[corner] != Key3Table::kMissing) corner = partner[corner];
  }
}
