#include "sculpt/edge_split.h"

#include <algorithm>
#include <stdexcept>

size_t TriangleCorners(const TGeosphera& e) {
  const size_t n = std::min(static_cast<size_t>(std::max(e.indexCount, 0)), e.faces.size());
  return n - n % 3;
}

bool UvFacesInStep(const TGeosphera& e, size_t corners) {
  return corners > 0 && e.uvFaces.size() == corners &&
         std::all_of(e.uvFaces.begin(), e.uvFaces.end(), [&](uint32_t t) { return t < e.uvs.size(); });
}

bool PerVertexUvs(const TGeosphera& e, bool uvFacesInStep) {
  return !uvFacesInStep && e.uvs.size() > 30 && e.uvs.size() >= static_cast<size_t>(std::max(e.vertexCount, 0));
}

EdgeMidpoints::EdgeMidpoints(const uint32_t* corners, size_t cornerCount, size_t vertexCount)
    : begin_(vertexCount + 1, 0), end_(vertexCount) {
  // Count the edges per smaller end (an inner edge twice: an upper bound).
  for (size_t t = 0; t + 3 <= cornerCount; t += 3) {
    for (size_t k = 0; k < 3; ++k) {
      const uint32_t a = corners[t + k], b = corners[t + (k + 1) % 3];
      if (a >= vertexCount || b >= vertexCount) throw std::invalid_argument("corner outside the vertices");
      ++begin_[std::min(a, b) + 1];
    }
  }
  for (size_t v = 0; v < vertexCount; ++v) {
    begin_[v + 1] += begin_[v];
    end_[v] = begin_[v];
  }
  entries_.resize(begin_[vertexCount]);
}

uint32_t EdgeMidpoints::Find(uint32_t a, uint32_t b) const {
  const uint32_t low = std::min(a, b), high = std::max(a, b);
  if (low >= end_.size()) return kNoMidpoint;
  for (uint32_t i = begin_[low]; i < end_[low]; ++i) {
    if (entries_[i].other == high) return entries_[i].midpoint;
  }
  return kNoMidpoint;
}

uint32_t EdgeMidpoints::FindOrAdd(uint32_t a, uint32_t b, uint32_t next, bool& added) {
  const uint32_t low = std::min(a, b), high = std::max(a, b);
  if (low >= end_.size()) throw std::invalid_argument("edge outside the vertices");
  for (uint32_t i = begin_[low]; i < end_[low]; ++i) {
    if (entries_[i].other == high) {
      added = false;
      return entries_[i].midpoint;
    }
  }
  if (end_[low] == begin_[low + 1]) throw std::logic_error("edge not among the triangles");
  entries_[end_[low]++] = {high, next};
  added = true;
  return next;
}

namespace {

void Emit(Tfaces& out, uint32_t a, uint32_t b, uint32_t c) { out.insert(out.end(), {a, b, c}); }

}  // namespace

int EmitSplit(const uint32_t c[3], const uint32_t m[3], Tfaces& out) {
  const int split = (m[0] != kNoMidpoint) + (m[1] != kNoMidpoint) + (m[2] != kNoMidpoint);
  if (split == 0) {
    Emit(out, c[0], c[1], c[2]);
  } else if (split == 3) {
    Emit(out, c[0], m[0], m[2]);
    Emit(out, c[1], m[1], m[0]);
    Emit(out, c[2], m[2], m[1]);
    Emit(out, m[0], m[1], m[2]);
  } else {
    // Turn the triangle so that its split edge (one) or its whole edge (two)
    // lies where the patterns below expect it.
    int r = 0;
    if (split == 1) r = m[0] != kNoMidpoint ? 0 : m[1] != kNoMidpoint ? 1 : 2;
    else r = m[0] == kNoMidpoint ? 1 : m[1] == kNoMidpoint ? 2 : 0;
    const uint32_t a = c[r], b = c[(r + 1) % 3], d = c[(r + 2) % 3];
    const uint32_t ab = m[r], bd = m[(r + 1) % 3];
    if (split == 1) {
      Emit(out, a, ab, d);
      Emit(out, ab, b, d);
    } else {
      Emit(out, b, bd, ab);
      Emit(out, a, ab, bd);
      Emit(out, a, bd, d);
    }
  }
  return split == 0 ? 1 : split + 1;
}

UvSplitter::UvSplitter(const Tfaces& uvFaces, Tuv& uvs, size_t corners)
    : uvFaces_(uvFaces), uvs_(uvs), midpoints_(uvFaces.data(), corners, uvs.size()) {
  out_.reserve(corners * 4);
}

void UvSplitter::Split(size_t t, const uint32_t split[3]) {
  const uint32_t* c = uvFaces_.data() + 3 * t;
  uint32_t m[3];
  for (int k = 0; k < 3; ++k) m[k] = split[k] == kNoMidpoint ? kNoMidpoint : Midpoint(c[k], c[(k + 1) % 3]);
  EmitSplit(c, m, out_);
}

uint32_t UvSplitter::Midpoint(uint32_t a, uint32_t b) {
  bool added = false;
  const uint32_t m = midpoints_.FindOrAdd(a, b, static_cast<uint32_t>(uvs_.size()), added);
  if (added) uvs_.push_back(MeanUv(uvs_[a], uvs_[b]));
  return m;
}

TRGBA MeanColor(const TRGBA& a, const TRGBA& b) {
  auto mean = [](uint8_t x, uint8_t y) {
    const unsigned sum = unsigned{x} + y;
    unsigned half = sum >> 1;
    if ((sum & 1u) != 0 && (half & 1u) != 0) ++half;  // x.5 goes to the even neighbour
    return static_cast<uint8_t>(half);
  };
  return {mean(a.r, b.r), mean(a.g, b.g), mean(a.b, b.b), mean(a.a, b.a)};
}

VertexArraysRollback::~VertexArraysRollback() {
  if (committed_) return;
  e_.vertices.resize(std::min(vertices_, e_.vertices.size()));
  e_.colors.resize(std::min(colors_, e_.colors.size()));
  e_.uvs.resize(std::min(uvs_, e_.uvs.size()));
}
