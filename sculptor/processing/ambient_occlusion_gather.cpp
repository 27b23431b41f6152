#include "processing/ambient_occlusion_gather.h"

#include <algorithm>
#include <cmath>
#include <vector>

// Floating-point note: every term is evaluated in the same order of 32-bit
// operations here and in the quadratic pass, and this file is compiled without
// contraction into fused multiply-adds, so both passes round alike.

namespace {

constexpr float kPi = 3.14159265358979f;

// Grid cells per emitter reach (the median reach radius over this many cells):
// smaller cells fit the reach spheres tighter but cost more rows per query.
constexpr double kCellsPerReach = 2.0;
// At most this many grid cells per receiver (plus a few), whatever the spread
// of the positions.
constexpr double kCellsPerReceiver = 2.0;

struct Emitter {
  float nx, ny, nz, area, accessibility;
};

bool HasNormal(const TDisco& d) { return !(d.normal[0] == 0 && d.normal[1] == 0 && d.normal[2] == 0); }

bool IsFinite(const float p[3]) { return std::isfinite(p[0]) && std::isfinite(p[1]) && std::isfinite(p[2]); }

// The reach test on the squared distance from the emitter.
inline bool InReach(float reach2, float d2) { return reach2 >= d2 && d2 > 0; }

// Shadow of an emitter on a receiver at offset v (d2 = v.v > 0) with normal rn.
inline float ShadowTerm(const Emitter& e, float vx, float vy, float vz, float d2, float rnx, float rny, float rnz,
                        float strength) {
  const float length = std::sqrt(d2);
  const float ux = vx / length, uy = vy / length, uz = vz / length;
  const float cosE = ux * e.nx + uy * e.ny + uz * e.nz;
  const float cosR = ux * rnx + uy * rny + uz * rnz;
  const float term = cosE * -cosR * e.area * e.accessibility * strength / (e.area + kPi * d2);
  return cosE >= 0 ? term : 0.0f;
}

inline float Visibility(float sum) {
  const float t = std::exp(-sum);
  return t <= 1.0f ? t : 1.0f;
}

void EndPass(TElements& discs) {
  for (TDisco& d : discs) d.accessibility = d.occlusion;
}

// The receivers sorted by the cell of a uniform grid (x fastest), structure of
// arrays; receivers with a non-finite coordinate follow the last cell (they are
// in reach of an emitter only when its reach is infinite).
struct ReceiverGrid {
  double origin[3] = {0, 0, 0};
  double cell = 1, cellsPerUnit = 1;  // edge length of a cell and its inverse
  double slack = 0;  // rounding allowance of the cell bounds
  int64_t dims[3] = {1, 1, 1};
  std::vector<uint32_t> cellStart;  // slots of cell c: cellStart[c] .. cellStart[c + 1]
  std::vector<float> x, y, z, nx, ny, nz;
  std::vector<uint32_t> disc;  // disc index of each slot

  int64_t CellAt(double p, int axis) const {
    const double c = std::floor((p - origin[axis]) * cellsPerUnit);
    return c < 0 ? 0 : c >= static_cast<double>(dims[axis]) ? dims[axis] - 1 : static_cast<int64_t>(c);
  }
  size_t Index(int64_t cx, int64_t cy, int64_t cz) const {
    return static_cast<size_t>((cz * dims[1] + cy) * dims[0] + cx);
  }
  // Distance from p to the slab of cell c along `axis`, less the slack.
  double GapTo(double p, int64_t c, int axis) const {
    const double lo = origin[axis] + static_cast<double>(c) * cell, hi = lo + cell;
    const double gap = p < lo ? lo - p : p > hi ? p - hi : 0;
    return std::max(0.0, gap - slack);
  }
};

// Median reach radius of the emitters with a finite, positive reach, times
// kCellsPerReach; 1 when there is none.
double CellSize(const TElements& discs) {
  std::vector<float> radii;
  for (const TDisco& d : discs) {
    const float reach2 = d.area * 100.0f;
    if (HasNormal(d) && reach2 > 0 && std::isfinite(reach2)) radii.push_back(std::sqrt(reach2));
  }
  if (radii.empty()) return 1;
  auto middle = radii.begin() + static_cast<std::ptrdiff_t>(radii.size() / 2);
  std::nth_element(radii.begin(), middle, radii.end());
  return *middle / kCellsPerReach;
}

void SizeGrid(ReceiverGrid& g, const TElements& discs, double cell) {
  double lo[3] = {HUGE_VAL, HUGE_VAL, HUGE_VAL}, hi[3] = {-HUGE_VAL, -HUGE_VAL, -HUGE_VAL};
  size_t finite = 0;
  for (const TDisco& d : discs) {
    if (!IsFinite(d.position)) continue;
    ++finite;
    for (int a = 0; a < 3; ++a) {
      lo[a] = std::min(lo[a], static_cast<double>(d.position[a]));
      hi[a] = std::max(hi[a], static_cast<double>(d.position[a]));
    }
  }
  if (finite == 0) return;
  const double maxCells = kCellsPerReceiver * static_cast<double>(finite) + 64;
  for (;;) {
    double cells = 1, dims[3];
    for (int a = 0; a < 3; ++a) {
      dims[a] = std::floor((hi[a] - lo[a]) / cell) + 1;
      cells *= dims[a];
    }
    if (cells <= maxCells) {
      for (int a = 0; a < 3; ++a) {
        g.origin[a] = lo[a];
        g.dims[a] = static_cast<int64_t>(dims[a]);
      }
      break;
    }
    cell *= std::max(1.01, std::cbrt(cells / maxCells));
  }
  g.cell = cell;
  g.cellsPerUnit = 1 / cell;
  double magnitude = 0;
  for (int a = 0; a < 3; ++a) magnitude = std::max({magnitude, std::abs(lo[a]), std::abs(hi[a])});
  g.slack = (magnitude + cell) * 1e-12;
}

ReceiverGrid BuildReceiverGrid(const TElements& discs) {
  ReceiverGrid g;
  SizeGrid(g, discs, CellSize(discs));
  const size_t n = discs.size(), cells = static_cast<size_t>(g.dims[0] * g.dims[1] * g.dims[2]);
  // Counting sort by cell; the non-finite receivers take the extra last bucket.
  std::vector<uint32_t> cellOf(n);
  g.cellStart.assign(cells + 2, 0);
  for (size_t i = 0; i < n; ++i) {
    const float* p = discs[i].position;
    cellOf[i] =
        static_cast<uint32_t>(IsFinite(p) ? g.Index(g.CellAt(p[0], 0), g.CellAt(p[1], 1), g.CellAt(p[2], 2)) : cells);
    ++g.cellStart[cellOf[i] + 1];
  }
  for (size_t c = 0; c <= cells; ++c) g.cellStart[c + 1] += g.cellStart[c];
  for (auto* a : {&g.x, &g.y, &g.z, &g.nx, &g.ny, &g.nz}) a->resize(n);
  g.disc.resize(n);
  std::vector<uint32_t> next(g.cellStart.begin(), g.cellStart.end() - 1);
  for (size_t i = 0; i < n; ++i) {
    const uint32_t s = next[cellOf[i]]++;
    const TDisco& d = discs[i];
    g.x[s] = d.position[0], g.y[s] = d.position[1], g.z[s] = d.position[2];
    g.nx[s] = d.normal[0], g.ny[s] = d.normal[1], g.nz[s] = d.normal[2];
    g.disc[s] = static_cast<uint32_t>(i);
  }
  return g;
}

// Adds the shadow of one emitter to the sums of the receivers in its reach.
// Each run of receiver slots that can be in reach is swept whole (a loop the
// compiler vectorises), the terms of the slots out of reach masked to +0:
// adding +0 leaves every sum as it is, since a sum that starts at +0 never
// becomes -0 under rounding to nearest.
class ReachScatter {
 public:
  explicit ReachScatter(const ReceiverGrid& g) : g_(g), sum_(g.disc.size(), 0.0f) {}

  void Emit(const TDisco& d, float strength) {
    const float reach2 = d.area * 100.0f;
    if (!HasNormal(d) || !(reach2 > 0)) return;  // only a zero distance could be in reach
    const Emitter e{d.normal[0], d.normal[1], d.normal[2], d.area, d.accessibility};
    if (std::isinf(reach2)) {
      Sweep(e, d.position, reach2, strength, 0, static_cast<uint32_t>(g_.disc.size()));
    } else if (IsFinite(d.position)) {
      SweepNear(e, d.position, reach2, strength);
    }
  }

  float SumOfSlot(size_t s) const { return sum_[s]; }

 private:
  // Every cell row that the emitter's reach sphere (padded for rounding) can touch.
  void SweepNear(const Emitter& e, const float p[3], float reach2, float strength) {
    const double pad = std::sqrt(static_cast<double>(reach2)) * (1 + 1e-5) + 1e-21, pad2 = pad * pad;
    const int64_t z0 = g_.CellAt(p[2] - pad, 2), z1 = g_.CellAt(p[2] + pad, 2);
    const int64_t y0 = g_.CellAt(p[1] - pad, 1), y1 = g_.CellAt(p[1] + pad, 1);
    for (int64_t cz = z0; cz <= z1; ++cz) {
      const double gz = g_.GapTo(p[2], cz, 2);
      for (int64_t cy = y0; cy <= y1; ++cy) {
        const double gy = g_.GapTo(p[1], cy, 1), rest2 = pad2 - gz * gz - gy * gy;
        if (rest2 < 0) continue;
        const double rest = std::sqrt(rest2);
        const int64_t x0 = g_.CellAt(p[0] - rest, 0), x1 = g_.CellAt(p[0] + rest, 0);
        Sweep(e, p, reach2, strength, g_.cellStart[g_.Index(x0, cy, cz)], g_.cellStart[g_.Index(x1, cy, cz) + 1]);
      }
    }
  }

  void Sweep(const Emitter& e, const float p[3], float reach2, float strength, uint32_t begin, uint32_t end) {
    const float ex = p[0], ey = p[1], ez = p[2];
    const float *x = g_.x.data(), *y = g_.y.data(), *z = g_.z.data();
    const float *nx = g_.nx.data(), *ny = g_.ny.data(), *nz = g_.nz.data();
    float* sum = sum_.data();
    for (uint32_t s = begin; s < end; ++s) {
      const float vx = x[s] - ex, vy = y[s] - ey, vz = z[s] - ez;
      const float d2 = vx * vx + vy * vy + vz * vz;
      const float term = ShadowTerm(e, vx, vy, vz, d2, nx[s], ny[s], nz[s], strength);
      sum[s] += InReach(reach2, d2) ? term : 0.0f;
    }
  }

  const ReceiverGrid& g_;
  std::vector<float> sum_;
};

}  // namespace

bool GatherOcclusion(TElements& discs, float strength, const AoTick& tick) {
  const ReceiverGrid grid = BuildReceiverGrid(discs);
  ReachScatter scatter(grid);
  for (size_t e = 0; e < discs.size(); ++e) {
    scatter.Emit(discs[e], strength);
    const int64_t done = static_cast<int64_t>(e) + 1;
    if (tick && done % kAoTickEvery == 0 && !tick(done)) return false;
  }
  for (size_t s = 0; s < grid.disc.size(); ++s) discs[grid.disc[s]].occlusion = Visibility(scatter.SumOfSlot(s));
  EndPass(discs);
  return true;
}

bool GatherOcclusionQuadratic(TElements& discs, float strength, const AoTick& tick) {
  const size_t n = discs.size();
  for (size_t j = 0; j < n; ++j) {
    TDisco& r = discs[j];
    float sum = 0;
    for (size_t i = 0; i < n; ++i) {
      const TDisco& e = discs[i];
      if (i == j || !HasNormal(e)) continue;
      const float vx = r.position[0] - e.position[0], vy = r.position[1] - e.position[1],
                  vz = r.position[2] - e.position[2];
      const float d2 = vx * vx + vy * vy + vz * vz;
      if (!InReach(e.area * 100.0f, d2)) continue;
      sum += ShadowTerm({e.normal[0], e.normal[1], e.normal[2], e.area, e.accessibility}, vx, vy, vz, d2, r.normal[0],
                        r.normal[1], r.normal[2], strength);
    }
    r.occlusion = Visibility(sum);
    const int64_t done = static_cast<int64_t>(j) + 1;
    if (tick && done % kAoTickEvery == 0 && !tick(done)) return false;
  }
  EndPass(discs);
  return true;
}
