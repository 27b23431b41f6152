// The two remesh commands' exchange with their helper programs. The mesh is
// written into a file of the program's private folder, the helper runs on it
// as a child process, and its result is read into a parsed model before
// anything touches the scene, so a helper that fails, crashes, is cancelled or
// leaves no readable result changes nothing.
//
//   Remesh Compact: current element -> "file1.ply" (positions) -> voxquad -> "file.obj"
//   Remesh:         principal element -> "file.ply" (positions, normals, colours)
//                   -> poissonrecon -> "file1.ply"
#pragma once

#include <functional>
#include <string>

#include "app/console_progress.h"
#include "io/obj_model.h"
#include "model/scene.h"

// Resolution track bar (positions 1 .. 50) and the Remesh Preference spin.
inline constexpr int kVoxelBudgetStep = 200000;  // voxels per track bar position
inline constexpr int kMinResolutionPosition = 1, kMaxResolutionPosition = 50, kDefaultResolutionPosition = 10;
inline constexpr int kMinRemeshDepth = 6, kMaxRemeshDepth = 12, kDefaultRemeshDepth = 10;

inline int VoxelBudgetOfPosition(int position) { return position * kVoxelBudgetStep; }

struct RemeshSetup {
  // The private per-process folder (the undo snapshots' folder), with its trailing '/'.
  std::string exchangeFolder;
  // The folder that holds voxquad and poissonrecon: the sculptor's own.
  std::string programFolder;
  // The helper's progress, stage by stage, read from its console bars.
  std::function<void(const ConsoleStage&)> onStage;
  // Called every 100 ms while the helper runs (repaint, poll Cancel);
  // returning false ends the helper and the run.
  std::function<bool()> onWork;
};

enum class RemeshOutcome { Done, Failed, Cancelled };

struct RemeshResult {
  TOBJModel model;       // the helper's mesh as read
  std::string fileName;  // the file it was read from
};

// Remesh Compact of element `index`: writes it (positions only) to
// "file1.ply", deletes "file.obj", runs voxquad with the voxel budget and reads
// "file.obj" into `result`. Writing tidies the element as the PLY writer does.
// A failure shows "Failed to remeshing" with the reason under it (the
// helper's last error line); a cancel shows nothing.
RemeshOutcome RunRemeshCompact(TScene& scene, int index, int voxelBudget, const RemeshSetup& setup,
                               RemeshResult& result);

// Remesh of the principal element: writes it (positions, normals, colours)
// to "file.ply", deletes "file1.ply", runs
// poissonrecon --in file.ply --out file1.ply --depth D --pointWeight 0 --color 16
// and reads "file1.ply" into `result`. Failures as above.
RemeshOutcome RunRemesh(TScene& scene, int depth, const RemeshSetup& setup, RemeshResult& result);

// Replaces the whole scene by a Remesh Compact result: one element, current.
bool ApplyRemeshCompact(TScene& scene, const RemeshResult& result);

// Replaces the principal element's mesh by a Remesh result, keeping its name
// and placement; the principal element becomes current.
bool ApplyRemesh(TScene& scene, const RemeshResult& result);
