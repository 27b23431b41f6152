#include "processing/uv_unfold.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "model/topology.h"

namespace {

// The charts are taken as copies 0.1% larger than the surface, as a detached
// selection is.
constexpr float kCopyScale = 1.001f;

// Texels between charts: the texture panel's outlines reach 2.5 texels past a
// chart and a vertex samples a texel up to 1.5 texels from its own place, so
// no sample of one chart reads another chart's outline.
constexpr float kGapTexels = 5;

struct Bounds {
  TGLCoord low{std::numeric_limits<float>::max(), std::numeric_limits<float>::max(), std::numeric_limits<float>::max()};
  TGLCoord high{std::numeric_limits<float>::lowest(), std::numeric_limits<float>::lowest(),
                std::numeric_limits<float>::lowest()};
  void Add(const TGLCoord& p) {
    low = {std::min(low.x, p.x), std::min(low.y, p.y), std::min(low.z, p.z)};
    high = {std::max(high.x, p.x), std::max(high.y, p.y), std::max(high.z, p.z)};
  }
};

// One chart copied out of its mesh and turned flat.
struct FlatChart {
  size_t mesh = 0;
  const TPatch* patch = nullptr;
  Tfaces vertexOf;  // chart vertex -> mesh vertex
  Tfaces cornerVertex;  // per corner of the patch: its chart vertex
  Tvertices positions;  // chart vertices, turned in place
  float extent = 0;  // largest side of the bounding box before the turn
  Bounds box;  // bounding box after the turn
  TGLUV offset;  // texture coordinates of (z, y) = (0, 0) once placed
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
  chart.extent = std::max({box.high.x - box.low.x, box.high.y - box.low.y, box.high.z - box.low.z});
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
  chart.box = {};
  for (const TGLCoord& p : chart.positions) chart.box.Add(p);
}

// Rows as the charts' extents fill them: a chart joins the current row, and
// the next row starts once the cursor (from 1, advanced by each extent) has
// passed the row width.
std::vector<std::vector<FlatChart*>> FormRows(std::vector<FlatChart>& charts) {
  const float rowWidth = RowWidthForChartCount(charts.size());
  std::vector<std::vector<FlatChart*>> rows(1);
  float xCursor = 1;
  for (FlatChart& chart : charts) {
    if (xCursor > rowWidth) {
      xCursor = 1;
      rows.emplace_back();
    }
    rows.back().push_back(&chart);
    xCursor += chart.extent;
  }
  return rows;
}

// Places the turned charts by their (z, y) bounding boxes, left to right in
// their rows and the rows bottom to top, `gap` apart and from the border, at
// one scale for all charts that fits the layout into the unit square. Boxes
// never overlap, so neither do the charts. Returns the scale.
float PlaceRows(const std::vector<std::vector<FlatChart*>>& rows, float gap) {
  double scale = std::numeric_limits<double>::infinity();
  double stackHeight = 0;
  for (const std::vector<FlatChart*>& row : rows) {
    double width = 0, height = 0;
    for (const FlatChart* chart : row) {
      width += chart->box.high.z - chart->box.low.z;
      height = std::max<double>(height, chart->box.high.y - chart->box.low.y);
    }
    if (width > 0) scale = std::min(scale, (1 - gap * static_cast<double>(row.size() + 1)) / width);
    stackHeight += height;
  }
  if (stackHeight > 0) scale = std::min(scale, (1 - gap * static_cast<double>(rows.size() + 1)) / stackHeight);
  if (!std::isfinite(scale)) scale = 0;

  double rowBase = gap;
  for (const std::vector<FlatChart*>& row : rows) {
    double cursor = gap, height = 0;
    for (FlatChart* chart : row) {
      chart->offset = {static_cast<float>(cursor - scale * chart->box.low.z),
                       static_cast<float>(rowBase - scale * chart->box.low.y)};
      cursor += scale * (chart->box.high.z - chart->box.low.z) + gap;
      height = std::max<double>(height, chart->box.high.y - chart->box.low.y);
    }
    rowBase += scale * height + gap;
  }
  return static_cast<float>(scale);
}

// The gap between charts, as a share of the texture: `kGapTexels` at the
// texture size the coordinates are made for, less when the rows hold so many
// charts that the gaps would take more than half the texture.
float GapBetweenCharts(const std::vector<std::vector<FlatChart*>>& rows, int textureSize) {
  size_t most = rows.size();
  for (const std::vector<FlatChart*>& row : rows) most = std::max(most, row.size());
  const float gap = kGapTexels / static_cast<float>(std::max(textureSize, 1));
  return std::min(gap, 0.5f / static_cast<float>(most + 1));
}

// Texture coordinates of one mesh from its placed charts (in chart order); a
// vertex already claimed by an earlier chart is copied for each later one.
TUvUnfolded SplitSeams(const TUvMesh& mesh, const std::vector<const FlatChart*>& charts, float scale) {
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
      const TGLUV uv{scale * p.z + chart->offset.u, scale * p.y + chart->offset.v};
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

std::vector<TUvUnfolded> UnfoldCharts(std::span<const TUvMesh> meshes, float threshold, int textureSize,
                                      const UvProgress& progress) {
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
  const std::vector<std::vector<FlatChart*>> rows = FormRows(charts);
  const float scale = PlaceRows(rows, GapBetweenCharts(rows, textureSize));

  std::vector<std::vector<const FlatChart*>> chartsOfMesh(meshes.size());
  for (const FlatChart& chart : charts) chartsOfMesh[chart.mesh].push_back(&chart);
  std::vector<TUvUnfolded> result;
  result.reserve(meshes.size());
  for (size_t m = 0; m < meshes.size(); ++m) result.push_back(SplitSeams(meshes[m], chartsOfMesh[m], scale));
  return result;
}
