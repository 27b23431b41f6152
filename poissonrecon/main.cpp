// poissonrecon: the closed surface through a set of oriented points, for the
// sculptor's "Remesh" command. See kPoissonUsage for the command line.
#include <cstdio>
#include <new>
#include <string>
#include <vector>

#include "model/messages.h"
#include "options.h"
#include "point_ply.h"
#include "reconstruct.h"

namespace {

constexpr int kSuccess = 0, kFailure = 1, kUsage = 2;

// Runs one stage under a bar drawn as voxquad draws its own, so the
// sculptor follows both helpers the same way; the bar fills when the stage is
// done. `work` returns "" or the reason it failed, which is then shown on a
// line of its own.
template <typename Work>
bool Stage(const char* title, Work&& work) {
  std::printf("%s...\n[0%% ----------------- 100%%]\n[", title);
  std::fflush(stdout);
  std::string error;
  try {
    error = work();
  } catch (const std::bad_alloc&) {
    error = "Not enough memory for this; try a smaller --depth.";
  }
  std::printf(error.empty() ? "*************************]\n" : "\n");
  std::fflush(stdout);
  if (!error.empty()) ShowError(error);
  return error.empty();
}

int Reconstruct(const PoissonOptions& options) {
  OrientedPoints points;
  ColoredMesh mesh;
  const bool done =
      Stage("Reading points",
            [&] {
              std::string error = ReadOrientedPoints(options.in, points);
              if (error.empty() && points.positions.empty()) error = options.in + ": the file holds no points";
              return error;
            }) &&
      Stage("Reconstructing surface",
            [&] {
              mesh = ReconstructSurface(points, {options.depth, options.color});
              return mesh.triangles.empty() ? "the points give no surface (are their normals zero, or do they all lie on one plane?)" : "";
            }) &&
      Stage("Writing mesh", [&] { return WriteMeshPly(options.out, mesh); });
  if (!done) return kFailure;
  std::printf("%zu points, depth %d: %zu vertices, %zu triangles\n", points.positions.size(), options.depth,
              mesh.positions.size(), mesh.triangles.size());
  return kSuccess;
}

}  // namespace

int main(int argc, char** argv) {
  PoissonOptions options;
  const std::string error = ParsePoissonOptions(std::vector<std::string>(argv + 1, argv + argc), options);
  if (options.help) {
    std::fputs(kPoissonUsage, stdout);
    return kSuccess;
  }
  if (!error.empty()) {
    ShowError(error + " (poissonrecon --help shows the usage)");
    return kUsage;
  }
  return Reconstruct(options);
}
