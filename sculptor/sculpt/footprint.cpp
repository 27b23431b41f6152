#include "sculpt/footprint.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cmath>
#include <limits>
#include <vector>

namespace {

inline float SquaredDistanceBetween(const TGLCoord& a, const TGLCoord& b) {
  const float dx = a.x - b.x, dy = a.y - b.y, dz = a.z - b.z;
  return dx * dx + dy * dy + dz * dz;
}

inline float DistanceBetween(const TGLCoord& a, const TGLCoord& b) { return std::sqrt(SquaredDistanceBetween(a, b)); }

bool CanGather(const TGeosphera& e) {
  const size_t n = static_cast<size_t>(std::max(e.vertexCount, 0));
  return e.vertices.size() >= n && e.normals.size() >= n;
}

// A record's bytes in memory order as one number, so that comparing keys
// compares the records byte by byte.
static_assert(sizeof(TContsel) == sizeof(uint64_t));

inline uint64_t ByteOrderKey(const TContsel& c) { return __builtin_bswap64(std::bit_cast<uint64_t>(c)); }

inline TContsel FromByteOrderKey(uint64_t key) { return std::bit_cast<TContsel>(__builtin_bswap64(key)); }

// Least-significant-digit radix sort of the keys by their upper four bytes
// (the record's `vertex` bytes); a byte that is the same in every key costs no
// pass. Footprints hold tens of thousands of entries on every mouse move, where
// a comparison sort would dominate.
void RadixSortByUpperHalf(std::vector<uint64_t>& keys, std::vector<uint64_t>& scratch) {
  std::array<std::array<uint32_t, 256>, 4> counts{};
  for (uint64_t key : keys) {
    for (int b = 0; b < 4; ++b) ++counts[b][(key >> (32 + 8 * b)) & 0xFF];
  }
  scratch.resize(keys.size());
  for (int b = 0; b < 4; ++b) {
    std::array<uint32_t, 256>& count = counts[b];
    if (std::find(count.begin(), count.end(), keys.size()) != count.end()) continue;
    uint32_t offset = 0;
    for (uint32_t& c : count) {
      const uint32_t n = c;
      c = offset;
      offset += n;
    }
    const int shift = 32 + 8 * b;
    for (uint64_t key : keys) scratch[count[(key >> shift) & 0xFF]++] = key;
    keys.swap(scratch);
  }
}

// Orders the keys completely once they are ordered by their upper half: only
// entries of one vertex at several distances are out of place, so insertion
// sort stays linear.
void FinishByLowerHalf(std::vector<uint64_t>& keys) {
  for (size_t i = 1; i < keys.size(); ++i) {
    const uint64_t key = keys[i];
    size_t j = i;
    for (; j > 0 && keys[j - 1] > key; --j) keys[j] = keys[j - 1];
    keys[j] = key;
  }
}

}  // namespace

void SortUnique(ATContsel& list) {
  if (list.size() < 2) return;
  // Kept between calls: a stroke sorts its footprints on every move event.
  thread_local std::vector<uint64_t> keys, scratch;
  keys.resize(list.size());
  std::transform(list.begin(), list.end(), keys.begin(), ByteOrderKey);
  RadixSortByUpperHalf(keys, scratch);
  FinishByLowerHalf(keys);
  keys.erase(std::unique(keys.begin(), keys.end()), keys.end());
  list.resize(keys.size());
  std::transform(keys.begin(), keys.end(), list.begin(), FromByteOrderKey);
}

void SortUnique(TAinteger& list) {
  std::sort(list.begin(), list.end());
  list.erase(std::unique(list.begin(), list.end()), list.end());
}

void GatherFootprint(const TGeosphera& e, std::span<const int32_t> candidates, const TGLCoord& brushCentre,
                     float radius, TFootprint& footprint) {
  footprint.entries.clear();
  footprint.pickedVertex = -1;
  footprint.normal = {};
  footprint.centre = {};
  if (!CanGather(e)) return;
  footprint.entries.reserve(candidates.size());
  const uint32_t count = static_cast<uint32_t>(e.vertexCount);
  double normal[3] = {0, 0, 0}, centre[3] = {0, 0, 0};
  float best = radius;
  // (1.1 r)^2: the margin dwarfs rounding, so the square-root test below would
  // reject every candidate beyond it too. Kept normal (not subnormal) so that
  // tiny radii keep that margin.
  const float farSquared = std::max(1.21f * radius * radius, std::numeric_limits<float>::min());
  for (const int32_t candidate : candidates) {
    const uint32_t v = static_cast<uint32_t>(candidate);
    if (v >= count) continue;
    const TGLCoord& p = e.vertices[v];
    // Most candidates of a screen window lie well outside the sphere; the
    // squared distance rejects them without a square root.
    if (SquaredDistanceBetween(p, brushCentre) > farSquared) continue;
    const float d = DistanceBetween(p, brushCentre);
    if (!(d <= radius)) continue;
    footprint.entries.push_back({candidate, d});
    const TGLCoord& n = e.normals[v];
    normal[0] += n.x, normal[1] += n.y, normal[2] += n.z;
    centre[0] += p.x, centre[1] += p.y, centre[2] += p.z;
    if (d < best) {
      best = d;
      footprint.pickedVertex = candidate;
    }
  }
  if (footprint.entries.empty()) return;
  const double k = static_cast<double>(footprint.entries.size());
  footprint.normal = {static_cast<float>(normal[0] / k), static_cast<float>(normal[1] / k),
                      static_cast<float>(normal[2] / k)};
  footprint.centre = {static_cast<float>(centre[0] / k), static_cast<float>(centre[1] / k),
                      static_cast<float>(centre[2] / k)};
  SortUnique(footprint.entries);
}

int32_t PickFootprintVertex(const TGeosphera& e, std::span<const int32_t> candidates, const TGLCoord& brushCentre,
                            float radius) {
  if (!CanGather(e)) return -1;
  const uint32_t count = static_cast<uint32_t>(e.vertexCount);
  int32_t picked = -1;
  float best = radius;
  for (const int32_t candidate : candidates) {
    const uint32_t v = static_cast<uint32_t>(candidate);
    if (v >= count) continue;
    const float d = DistanceBetween(e.vertices[v], brushCentre);
    if (d < best) {
      best = d;
      picked = candidate;
    }
  }
  return picked;
}

void GatherBrushFrame(const TGeosphera& e, std::span<const int32_t> directCandidates,
                      std::span<const int32_t> mirrorCandidates, const TGLCoord& cursorPoint, TBrushFrame& frame) {
  GatherFootprint(e, directCandidates, cursorPoint, frame.radius, frame.direct);
  if (frame.symmetry) {
    GatherFootprint(e, mirrorCandidates, MirrorAcrossZ(cursorPoint), frame.radius, frame.mirror);
  } else {
    GatherFootprint(e, {}, cursorPoint, frame.radius, frame.mirror);
  }
}
