#include "processing/ambient_occlusion.h"

#include <algorithm>
#include <cmath>

namespace {

// Vertices and triangles the element's arrays really hold.
size_t VertexCountOf(const TGeosphera& e) {
  return std::min(static_cast<size_t>(std::max(e.vertexCount, 0)), e.vertices.size());
}
size_t TriangleCountOf(const TGeosphera& e) {
  return std::min(static_cast<size_t>(std::max(e.indexCount, 0)), e.faces.size()) / 3;
}

// Progress of one run over the callback.
class AoRun {
 public:
  AoRun(const AoCallback& callback, int64_t total) : callback_(callback), total_(total) {}

  bool Report(const char* status) {
    status_ = status;
    return !callback_ || callback_({status_, done_, total_});
  }
  bool AdvanceTo(int64_t done) {
    done_ = done;
    return Report(status_);
  }
  int64_t done() const { return done_; }

 private:
  const AoCallback& callback_;
  int64_t total_;
  int64_t done_ = 0;
  const char* status_ = kAoStatusStart;
};

// Runs body(i) for i in 0 .. count-1 as one step, reporting after every
// kAoTickEvery; false when cancelled (after the last finished chunk).
template <typename Body>
bool RunStep(AoRun& run, const char* status, size_t count, Body&& body) {
  if (!run.Report(status)) return false;
  const int64_t start = run.done();
  for (size_t i = 0; i < count; i += kAoTickEvery) {
    const size_t end = std::min(count, i + static_cast<size_t>(kAoTickEvery));
    for (size_t k = i; k < end; ++k) body(k);
    if (!run.AdvanceTo(start + static_cast<int64_t>(end))) return false;
  }
  return true;
}

float Length(const TGLCoord& p, const TGLCoord& q) {
  const float dx = p.x - q.x, dy = p.y - q.y, dz = p.z - q.z;
  return std::sqrt(dx * dx + dy * dy + dz * dz);
}

// Heron's formula in 32-bit floats. Rounding can make the product of a sliver
// triangle slightly negative; it counts as zero area rather than the NaN that
// would silence its three vertices as emitters.
float TriangleArea(const TGLCoord& p, const TGLCoord& q, const TGLCoord& r) {
  const float a = Length(p, q), b = Length(q, r), c = Length(r, p);
  const float s = (a + b + c) / 2;
  const float product = s * (s - a) * (s - b) * (s - c);
  return product > 0 ? std::sqrt(product) : 0.0f;
}

uint8_t Darkened(uint8_t c, float visibility) {
  return static_cast<uint8_t>(std::nearbyint(c / 255.0 * visibility * 0.9 * 255.0));
}

// Releases the discs however the bake ends.
struct DiscRelease {
  TElements& discs;
  ~DiscRelease() { TElements().swap(discs); }
};

// Step 1: one disc per vertex, at its position with its normal.
bool MakeDiscs(const TGeosphera& e, TElements& discs, AoRun& run) {
  return RunStep(run, kAoStatusDiscs, discs.size(), [&](size_t j) {
    const TGLCoord& p = e.vertices[j];
    const TGLCoord normal = j < e.normals.size() ? e.normals[j] : TGLCoord{};
    discs[j] = {0, {p.x, p.y, p.z}, {normal.x, normal.y, normal.z}, 0, 1};
  });
}

// Step 2: a third of each triangle's area to each of its corners.
bool AddAreas(const TGeosphera& e, TElements& discs, AoRun& run) {
  return RunStep(run, kAoStatusAreas, TriangleCountOf(e), [&](size_t t) {
    const uint32_t* v = &e.faces[3 * t];
    if (v[0] >= discs.size() || v[1] >= discs.size() || v[2] >= discs.size()) return;
    const float third = TriangleArea(e.vertices[v[0]], e.vertices[v[1]], e.vertices[v[2]]) / 3;
    for (int k = 0; k < 3; ++k) discs[v[k]].area += third;
  });
}

// Step 3: the gathering passes; each disc's `occlusion` ends as its visibility.
bool Gather(TElements& discs, float strength, AoGatherPass gather, AoRun& run) {
  if (!run.Report(kAoStatusOcclusion)) return false;
  const int64_t start = run.done();
  const AoTick tick = [&](int64_t emitters) { return run.AdvanceTo(start + emitters); };
  for (int pass = 0; pass < aoPasses; ++pass) {
    if (!gather(discs, strength, tick)) return false;
  }
  return run.AdvanceTo(start + static_cast<int64_t>(discs.size()));
}

// Step 4: the colours, vertex by vertex.
bool DarkenColours(TGeosphera& e, const TElements& discs, AoRun& run) {
  return RunStep(run, kAoStatusFinish, std::min(discs.size(), e.colors.size()), [&](size_t j) {
    TRGBA& c = e.colors[j];
    const float t = discs[j].occlusion;
    c.r = Darkened(c.r, t), c.g = Darkened(c.g, t), c.b = Darkened(c.b, t);
  });
}

bool Bake(TGeosphera& e, float strength, AoGatherPass gather, AoRun& run) {
  TElements& discs = e.aoDiscs;
  DiscRelease release{discs};
  discs.assign(VertexCountOf(e), TDisco{});
  return MakeDiscs(e, discs, run) && AddAreas(e, discs, run) && Gather(discs, strength, gather, run) &&
         DarkenColours(e, discs, run);
}

float ClampedStrength(int aoStrength) {
  return static_cast<float>(std::clamp(aoStrength, kAoStrengthMin, kAoStrengthMax));
}

}  // namespace

int64_t AmbientOcclusionWork(const TGeosphera& element) {
  return static_cast<int64_t>(TriangleCountOf(element) + 3 * VertexCountOf(element));
}

int64_t AmbientOcclusionWork(const ATGeosphera& elements) {
  int64_t total = 0;
  for (const TGeosphera& e : elements) total += AmbientOcclusionWork(e);
  return total;
}

bool BakeAmbientOcclusion(TGeosphera& element, int aoStrength, const AoCallback& progress, AoGatherPass gather) {
  AoRun run(progress, AmbientOcclusionWork(element));
  return Bake(element, ClampedStrength(aoStrength), gather, run);
}

bool BakeSceneAmbientOcclusion(ATGeosphera& elements, int aoStrength, const AoCallback& progress) {
  AoRun run(progress, AmbientOcclusionWork(elements));
  if (!run.Report(kAoStatusStart)) return false;
  for (TGeosphera& e : elements) {
    if (!Bake(e, ClampedStrength(aoStrength), GatherOcclusion, run)) return false;
  }
  return true;
}
