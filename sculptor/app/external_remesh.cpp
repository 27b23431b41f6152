#include "app/external_remesh.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

#include "app/console_app.h"
#include "io/model_conversion.h"
#include "io/ply_writer.h"
#include "io/private_folder.h"
#include "model/messages.h"
#include "model/topology.h"

namespace {

const char kFailed[] = "Failed to remeshing";

// One helper run: the program, its arguments and the file it leaves.
struct HelperCall {
  const char* program;
  QStringList arguments;
  std::string resultFile;
  int resultKind;
};

QString Path(const std::string& path) { return QString::fromStdString(path); }

RemeshOutcome Fail(const std::string& reason) {
  ShowError(reason.empty() ? kFailed : std::string(kFailed) + "\n" + reason);
  return RemeshOutcome::Failed;
}

// A stale result of an earlier run must never be read as this run's.
bool DeleteResult(const std::string& fileName) {
  std::error_code error;
  std::filesystem::remove(fileName, error);
  return !std::filesystem::exists(std::filesystem::symlink_status(fileName, error));
}

// The readers refuse bad indices; a usable result also has a triangle.
bool HoldsMesh(const TOBJModel& model) {
  return std::any_of(model.groups.begin(), model.groups.end(),
                     [](const TOBJGroup& g) { return !g.points.empty() && !g.faceRecords.empty(); });
}

// Why a helper that ended by itself failed: a non-zero exit code, or no
// result the sculptor can read.
std::string ReadResult(const HelperCall& call, int exitCode, const std::string& lastError, RemeshResult& result) {
  const std::string name = call.program;
  if (exitCode != 0) return lastError.empty() ? name + " ended with exit code " + std::to_string(exitCode) : lastError;
  result.fileName = call.resultFile;
  CapturingMessageSink readerMessages;  // shown as the reason, under the one failure message
  const TReadStatus status = ReadModelFile(result.model, call.resultFile, call.resultKind);
  if (status == TReadStatus::Ok && HoldsMesh(result.model)) return "";
  if (!readerMessages.entries.empty()) return name + " left an unreadable result: " + readerMessages.entries.back().text;
  return status == TReadStatus::CannotOpen ? name + " left no result file" : name + " left no mesh in its result";
}

RemeshOutcome RunHelper(const RemeshSetup& setup, const HelperCall& call, RemeshResult& result) {
  result = {};
  if (!DeleteResult(call.resultFile)) return Fail("Cannot remove the earlier result " + call.resultFile);

  ConsoleProgress progress([&setup](const ConsoleStage& stage) {
    if (setup.onStage) setup.onStage(stage);
  });
  TPJCustomConsoleApp app;
  // poissonrecon's library waits at OpenMP barriers; spinning there would take
  // the core the window needs to repaint, and on a busy machine costs many
  // times the work itself.
  if (!app.Environment.contains("OMP_WAIT_POLICY")) app.Environment.insert("OMP_WAIT_POLICY", "PASSIVE");
  // Both helpers fill arrays of hundreds of megabytes once; backed by huge
  // pages (glibc's malloc advises them so), the first touch costs one page
  // fault per 2 MiB instead of one per 4 KiB: voxquad's import of a million
  // triangles takes a third of the time.
  if (!app.Environment.contains("GLIBC_TUNABLES")) app.Environment.insert("GLIBC_TUNABLES", "glibc.malloc.hugetlb=1");
  app.OnWork = setup.onWork;
  app.OnOutput = [&progress](std::string_view output) { progress.Feed(output); };
  const std::string program = setup.programFolder + "/" + call.program;
  const bool ended = app.Execute(Path(program), call.arguments, Path(setup.exchangeFolder));
  if (app.Cancelled()) return RemeshOutcome::Cancelled;
  const std::string lastError = app.LastErrorLine();
  if (!ended) return Fail(lastError.empty() ? app.Failure() : app.Failure() + "\n" + lastError);
  const std::string reason = ReadResult(call, app.ExitCode(), lastError, result);
  if (!reason.empty()) {
    result = {};
    return Fail(reason);
  }
  return RemeshOutcome::Done;
}

// The exchange folder, created when needed; false after the message.
bool PrepareExchange(const RemeshSetup& setup) {
  const std::string reason = PreparePrivateFolder(setup.exchangeFolder);
  if (reason.empty()) return true;
  Fail("Cannot create the folder " + setup.exchangeFolder + ": " + reason);
  return false;
}

// After the principal element got its new mesh: its topology without unused
// vertices, then its buffers, the level label, the picking grids and a redraw.
void RefreshRemeshedScene(TScene& scene) {
  TGeosphera& principal = scene.elements[0];
  principal.valence.resize(static_cast<size_t>(std::max(principal.vertexCount, 0)));
  scene.adjacencyWidth = ComputeValence(principal);
  RemoveVertexUnused(principal, scene.adjacencyWidth);
  BuildAdjacency(principal, scene.adjacencyWidth);
  UploadElementBuffers(scene, scene.currentElement);
  scene.current().placeState = kPlaced;
  SceneHost& host = scene.hostOrDefault();
  host.ShowSubdivisionLevel(0);
  host.RebuildScreenGrids(scene);
  host.Redraw();
}

}  // namespace

RemeshOutcome RunRemeshCompact(TScene& scene, int index, int voxelBudget, const RemeshSetup& setup,
                               RemeshResult& result) {
  const std::string input = setup.exchangeFolder + "file1.ply";
  const std::string output = setup.exchangeFolder + "file.obj";
  // The writer says why it cannot write (an empty element, an I/O error).
  if (!PrepareExchange(setup) || !WritePlyPositions(scene, index, input)) return RemeshOutcome::Failed;
  const HelperCall call{"voxquad", {Path(input), Path(output), QString::number(voxelBudget)}, output, kModelObj};
  return RunHelper(setup, call, result);
}

RemeshOutcome RunRemesh(TScene& scene, int depth, const RemeshSetup& setup, RemeshResult& result) {
  const std::string input = setup.exchangeFolder + "file.ply";
  const std::string output = setup.exchangeFolder + "file1.ply";
  if (!PrepareExchange(setup) || !WritePlyFull(scene, 0, input)) return RemeshOutcome::Failed;
  const HelperCall call{"poissonrecon",
                        {"--in", Path(input), "--out", Path(output), "--depth", QString::number(depth),
                         "--pointWeight", "0", "--color", "16"},
                        output,
                        kModelPly};
  return RunHelper(setup, call, result);
}

bool ApplyRemeshCompact(TScene& scene, const RemeshResult& result) {
  if (!ReplaceSceneWithModel(scene, result.model, result.fileName, kModelObj, scene.loadScale)) return false;
  RefreshRemeshedScene(scene);
  return true;
}

bool ApplyRemesh(TScene& scene, const RemeshResult& result) {
  if (scene.elements.empty()) return false;
  // Converted into a copy, so a conversion that fails half-way leaves the principal element as it was.
  TGeosphera principal = scene.elements[0];
  if (!ConvertIntoElement(scene, principal, result.model, result.fileName, kModelPly, scene.loadScale)) return false;
  scene.elements[0] = std::move(principal);
  scene.currentElement = 0;
  RefreshRemeshedScene(scene);
  return true;
}
