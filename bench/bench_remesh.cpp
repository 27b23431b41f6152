// Remesh Compact, whole: a 1M-triangle element at the default budget of
// 2000000 voxels, through the same core as the window. Time of each part:
// writing "file1.ply", voxquad (and each of its stages, from its console
// bars), reading "file.obj", and the headless part of the refresh (the scene
// replaced, valence, unused vertices, adjacency). Goal: under 4 s in all.
#include <chrono>
#include <filesystem>
#include <string>
#include <vector>

#include "app/external_remesh.h"
#include "bench_util.h"
#include "io/model_conversion.h"
#include "io/ply_writer.h"
#include "io/private_folder.h"
#include "io/undo_snapshots.h"
#include "mesh_shapes.h"
#include "model/topology.h"

namespace {

using Clock = std::chrono::steady_clock;

double MsSince(Clock::time_point start) { return std::chrono::duration<double, std::milli>(Clock::now() - start).count(); }

struct Parts {
  double write = 0, voxquad = 0, read = 0, refresh = 0;
  std::vector<std::pair<std::string, double>> stages;
  double Total() const { return write + voxquad + read + refresh; }
};

TScene BenchScene() {
  TScene scene;
  ResetScene(scene);
  scene.elements[0] = MakeCubeSphere(289, 2.5f);  // 12 x 289^2 = 1002252 triangles
  scene.elements[0].uid = 1;
  RefreshElement(scene.elements[0]);
  return scene;
}

Parts RunOnce(const RemeshSetup& base) {
  TScene scene = BenchScene();
  Parts parts;
  RemeshSetup setup = base;
  Clock::time_point stageStart;
  setup.onStage = [&](const ConsoleStage& stage) {
    if (stage.percent == 0) stageStart = Clock::now();
    if (stage.percent == 100) parts.stages.emplace_back(stage.title, MsSince(stageStart));
  };

  // The run writes the file again; its own writing time is taken apart first.
  Clock::time_point start = Clock::now();
  WritePlyPositions(scene, 0, setup.exchangeFolder + "file1.ply");
  parts.write = MsSince(start);

  start = Clock::now();
  RemeshResult result;
  if (RunRemeshCompact(scene, 0, VoxelBudgetOfPosition(kDefaultResolutionPosition), setup, result) !=
      RemeshOutcome::Done) {
    std::fprintf(stderr, "Remesh Compact failed\n");
    std::exit(1);
  }
  const double run = MsSince(start);

  TOBJModel again;
  start = Clock::now();
  ReadModelFile(again, result.fileName, kModelObj);
  parts.read = MsSince(start);
  parts.voxquad = run - parts.write - parts.read;

  start = Clock::now();
  ApplyRemeshCompact(scene, result);
  parts.refresh = MsSince(start);
  bench::Report("remesh compact result triangles", scene.current().triangleCount(), "triangles");
  return parts;
}

}  // namespace

int main() {
  RemeshSetup setup;
  setup.programFolder = PLASMORA_BIN_DIR;
  setup.exchangeFolder = ProcessFolderIn(UndoSnapshots::SystemTempFolder());
  PreparePrivateFolder(setup.exchangeFolder);

  Parts best;
  for (int run = 0; run < 2; ++run) {
    const Parts parts = RunOnce(setup);
    if (run == 0 || parts.Total() < best.Total()) best = parts;
  }
  bench::Report("remesh compact 1M triangles, write file1.ply", best.write, "ms");
  bench::Report("remesh compact 1M triangles, voxquad", best.voxquad, "ms");
  for (const auto& [title, ms] : best.stages) bench::Report("remesh compact 1M triangles, voxquad " + title, ms, "ms");
  bench::Report("remesh compact 1M triangles, read file.obj", best.read, "ms");
  bench::Report("remesh compact 1M triangles, refresh (headless)", best.refresh, "ms");
  bench::Report("remesh compact 1M triangles, total (goal 4000)", best.Total(), "ms");

  std::error_code ignored;
  std::filesystem::remove_all(std::filesystem::path(setup.exchangeFolder).parent_path(), ignored);
}
