#include "processing/uv_unfold.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "model/topology.h"

namespace {

// The charts are taken as copies 0.1% larger than the surface, as a detached
// selection is.
constexpr float kCopyScale = 1.001f;

// One chart copied out of its mesh and turned flat.
struct FlatChart {
  size_t mesh = 0;
  const TPatch* patch = nullptr;
  Tfaces vertexOf;          // chart vertex -> mesh vertex
  Tfaces cornerVertex;      // per corner of the patch: its chart vertex
  Tvertices positions;      // chart vertices, turned in place
  float extent = 0;         // largest side of the bounding box before the turn
  float height = 0;         // its y side
};

struct Bounds {
  TGLCoord low{std::numeric_limits<float>::max(), std::numeric_limits<float>::max(),
               std::numeric_limits<float>::max()};
  TGLCoord high{std::numeric_limits<float>::lowest(), std::numeric_limits<float>::lowest(),
                std::numeric_limits<float>::lowest()};
  void Add(const TGLCoord& p) {
    low = {std::min(low.x, p.x), std::min(low.y, p.y), std::min(low.z, p.z)};
    high = {std::max(high.x, p.x), std::max(high.y, p.y), std::max(high.z, p.z)};
  }
};

// Copies the patch's vertices (each once, in first-use order) and records the
// chart vertex of every corner. `stamp` and `slot` are per mesh vertex scratch
// arrays shared by all charts of the mesh; `chartId` tells this chart's marks.
FlatChart CopyChart(const TUvMesh& mesh, const TPatch& patch, size_t meshIndex, std::vector<int32_t>& stamp,
                    Tfaces& slot, int32_t chartId) {
  FlatChart chart;
  chart.mesh = meshIndex;
  chart.patch = &patch;
  chart.cornerVertex.reserve(patch.corners.size());
  for (uint32_t c : patch.corners) {
    const uint32_t v = mesh.faces[c];
    if (stamp[v] != chartId) {
      stamp[v] = chartId;
      slot[v] = static_cast<uint32_t>(chart.vertexOf.size());
      chart.vertexOf.push_back(v);
      const TGLCoord& p = mesh.vertices[v];
      chart.positions.push_back({p.x * kCopyScale, p.y * kCopyScale, p.z * kCopyScale});
    }
    chart.cornerVertex.push_back(slot[v]);
  }
  Bounds box;
  for (const TGLCoord& p : chart.positions) box.Add(p);
  chart.height = box.high.y - box.low.y;
  chart.extent = std::max({box.high.x - box.low.x, chart.height, box.high.z - box.low.z});
  return chart;
}

// Sum of the chart's triangle normals, made unit (NaN when degenerate).
TGLCoord MeanNormal(const FlatChart& chart) {
  double x = 0, y = 0, z = 0;
  const Tfaces& corner = chart.cornerVertex;
  for (size_t i = 0; i + 2 < corner.size(); i += 3) {
    const TGLCoord n =
        FaceNormal(chart.positions[corner[i]], chart.positions[corner[i + 1]], chart.positions[corner[i + 2]]);
    x += n.x;
    y += n.y;
    z += n.z;
  }
  const double length = std::sqrt(x * x + y * y + z * z);
  return {static_cast<float>(x / length), static_cast<float>(y / length), static_cast<float>(z / length)};
}

// Angle between the unit `n` and (-1, 0, 0), signed by `side`; 0 when `side`
// is 0 or `n` is not a direction.
double TurnAngle(const TGLCoord& n, float side) {
  if (side == 0 || !std::isfinite(n.x) || !std::isfinite(side)) return 0;
  const double angle = std::acos(std::clamp(-static_cast<double>(n.x), -1.0, 1.0));
  return side > 0 ? angle : -angle;
}

// Turns the chart about its centre so that its mean normal faces -x: first
// about the y axis, then about the z axis (right-handed turns, the y turn
// taken negative as the element transform does).
void TurnToFaceMinusX(FlatChart& chart) {
  if (chart.positions.empty()) return;
  double cx = 0, cy = 0, cz = 0;
  for (const TGLCoord& p : chart.positions) {
    cx += p.x;
    cy += p.y;
    cz += p.z;
  }
  const double count = static_cast<double>(chart.positions.size());
  cx /= count;
  cy /= count;
  cz /= count;

  TGLCoord n = MeanNormal(chart);
  const double a = -TurnAngle(n, n.z);
  const double ca = std::cos(a), sa = std::sin(a);
  n = {static_cast<float>(n.x * ca + n.z * sa), n.y, static_cast<float>(-n.x * sa + n.z * ca)};
  const double b = TurnAngle(n, n.y);
  const double cb = std::cos(b), sb = std::sin(b);
  for (TGLCoord& p : chart.positions) {
    const double x = p.x - cx, y = p.y - cy, z = p.z - cz;
    const double x1 = x * ca + z * sa, z1 = -x * sa + z * ca;
    const double x2 = x1 * cb - y * sb, y2 = x1 * sb + y * cb;
    p = {static_cast<float>(x2 + cx), static_cast<float>(y2 + cy), static_cast<float>(z1 + cz)};
  }
}

// The row layout: charts advance along z by their extent and start a new row
// when the cursor passes the row width; the placement is applied three times,
// as the element transform applies it once per axis step. Returns the divisor
// that turns laid-out coordinates into texture coordinates.
float PlaceChartsInRows(std::vector<FlatChart>& charts) {
  float tallest = 0;
  for (const FlatChart& chart : charts) tallest = std::max(tallest, chart.height);
  const float rowWidth = RowWidthForChartCount(charts.size());
  const float rowPitch = tallest / 3;
  float xCursor = 1, rowCursor = 2;
  long maxZ = 0, maxY = 0;
  for (FlatChart& chart : charts) {
    const float dy = 3 * rowCursor, dz = 3 * (xCursor + chart.extent / 2);
    for (TGLCoord& p : chart.positions) {
      p.y += dy;
      p.z += dz;
      maxZ = std::max(maxZ, std::lrint(p.z));
      maxY = std::max(maxY, std::lrint(p.y));
    }
    xCursor += chart.extent;
    if (xCursor > rowWidth) {
      xCursor = 1;
      rowCursor += rowPitch;
    }
  }
  return static_cast<float>(std::max(maxZ, maxY) + 1);
}

// Texture coordinates of one mesh from its laid-out charts (in chart order);
// a vertex already claimed by an earlier chart is copied for each later one.
TUvUnfolded SplitSeams(const TUvMesh& mesh, const std::vector<const FlatChart*>& charts, float divisor) {
  TUvUnfolded out;
  out.faces.assign(mesh.faces.begin(), mesh.faces.end());
  out.uvs.assign(mesh.vertices.size(), TGLUV{});
  std::vector<uint8_t> claimed(mesh.vertices.size(), 0);
  Tfaces copy;
  for (const FlatChart* chart : charts) {
    copy.assign(chart->vertexOf.size(), kNoCorner);
    const Tfaces& corners = chart->patch->corners;
    for (size_t i = 0; i < corners.size(); ++i) {
      const uint32_t local = chart->cornerVertex[i];
      const uint32_t v = chart->vertexOf[local];
      const TGLCoord& p = chart->positions[local];
      const TGLUV uv{std::fabs(p.z) / divisor, std::fabs(p.y) / divisor};
      if (!claimed[v]) {
        out.uvs[v] = uv;
        continue;
      }
      if (copy[local] == kNoCorner) {
        copy[local] = static_cast<uint32_t>(out.uvs.size());
        out.uvs.push_back(uv);
        out.copiedFrom.push_back(v);
      }
      out.faces[corners[i]] = copy[local];
    }
    for (uint32_t v : chart->vertexOf) claimed[v] = 1;
  }
  return out;
}

}  // namespace

float RowWidthForChartCount(size_t chartCount) {
  if (chartCount <= 999) return 25;
  if (chartCount <= 4999) return 40;
  if (chartCount < 15000) return 45;
  return 70;
}

std::vector<TUvUnfolded> UnfoldCharts(std::span<const TUvMesh> meshes, float threshold, const UvProgress& progress) {
  auto report = [&](const char* label, size_t done, size_t total) {
    if (progress) progress(label, static_cast<int>(done), static_cast<int>(total));
  };
  std::vector<std::vector<TPatch>> patches;
  size_t chartCount = 0;
  for (const TUvMesh& mesh : meshes) {
    report("Creating Segmentation...", 0, 0);
    patches.push_back(SegmentCharts(mesh.vertices, mesh.faces, threshold));
    chartCount += patches.back().size();
  }

  std::vector<FlatChart> charts;
  charts.reserve(chartCount);
  for (size_t m = 0; m < meshes.size(); ++m) {
    std::vector<int32_t> stamp(meshes[m].vertices.size(), -1);
    Tfaces slot(meshes[m].vertices.size());
    for (const TPatch& patch : patches[m]) {
      charts.push_back(CopyChart(meshes[m], patch, m, stamp, slot, patch.number));
      report("Getting polygons to unfold mesh...", charts.size(), chartCount);
    }
  }

  report("Finalizing process...", chartCount, chartCount);
  for (FlatChart& chart : charts) TurnToFaceMinusX(chart);
  const float divisor = PlaceChartsInRows(charts);

  std::vector<std::vector<const FlatChart*>> chartsOfMesh(meshes.size());
  for (const FlatChart& chart : charts) chartsOfMesh[chart.mesh].push_back(&chart);
  std::vector<TUvUnfolded> result;
  result.reserve(meshes.size());
  for (size_t m = 0; m < meshes.size(); ++m) result.push_back(SplitSeams(meshes[m], chartsOfMesh[m], divisor));
  return result;
}
