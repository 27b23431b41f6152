#include "reconstruct.h"

#include <open3d/geometry/PointCloud.h>
#include <open3d/geometry/TriangleMesh.h>
#include <open3d/utility/Logging.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <numeric>

#include "stray_pieces.h"

namespace {

using Clock = std::chrono::steady_clock;

double MillisecondsSince(Clock::time_point start) {
  return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

open3d::geometry::PointCloud ToLibrary(const OrientedPoints& points, bool withColors) {
  open3d::geometry::PointCloud cloud;
  const size_t n = points.positions.size();
  cloud.points_.resize(n);
  cloud.normals_.resize(n);
  for (size_t i = 0; i < n; ++i) {
    const Float3& p = points.positions[i];
    const Float3& q = points.normals[i];
    cloud.points_[i] = {p[0], p[1], p[2]};
    cloud.normals_[i] = {q[0], q[1], q[2]};
  }
  if (withColors && points.colors.size() == n) {
    cloud.colors_.resize(n);
    for (size_t i = 0; i < n; ++i) {
      const Rgb& c = points.colors[i];
      cloud.colors_[i] = Eigen::Vector3d(c[0], c[1], c[2]) / 255.0;
    }
  }
  return cloud;
}

uint8_t ColorByte(double value) { return static_cast<uint8_t>(std::clamp(std::nearbyint(value * 255.0), 0.0, 255.0)); }

ColoredMesh FromLibrary(const open3d::geometry::TriangleMesh& library, bool withColors) {
  ColoredMesh mesh;
  mesh.positions.reserve(library.vertices_.size());
  for (const Eigen::Vector3d& v : library.vertices_)
    mesh.positions.push_back({static_cast<float>(v.x()), static_cast<float>(v.y()), static_cast<float>(v.z())});
  if (withColors && library.vertex_colors_.size() == library.vertices_.size()) {
    mesh.colors.reserve(library.vertex_colors_.size());
    for (const Eigen::Vector3d& c : library.vertex_colors_)
      mesh.colors.push_back({ColorByte(c.x()), ColorByte(c.y()), ColorByte(c.z())});
  }
  mesh.triangles.reserve(library.triangles_.size());
  for (const Eigen::Vector3i& t : library.triangles_) mesh.triangles.push_back({t.x(), t.y(), t.z()});
  return mesh;
}

}  // namespace

ColoredMesh ReconstructSurface(const OrientedPoints& points, const ReconstructionSettings& settings,
                               ReconstructionTimes* times) {
  ReconstructionTimes spent;
  Clock::time_point start = Clock::now();
  const open3d::geometry::PointCloud cloud = ToLibrary(points, settings.withColors);
  spent.toLibrary = MillisecondsSince(start);

  start = Clock::now();
  open3d::utility::SetVerbosityLevel(open3d::utility::VerbosityLevel::Error);
  const auto [library, densities] = open3d::geometry::TriangleMesh::CreateFromPointCloudPoisson(
      cloud, static_cast<size_t>(settings.depth));
  spent.library = MillisecondsSince(start);

  start = Clock::now();
  ColoredMesh mesh = FromLibrary(*library, !cloud.colors_.empty());
  DropStrayPieces(mesh, points.positions, settings.depth);
  spent.fromLibrary = MillisecondsSince(start);
  if (times) *times = spent;
  return mesh;
}
