// remesh-compact IN OUT [VOXELS] and remesh IN OUT [DEPTH]: the window's two
// remesh commands on a model file, through the same exchange with voxquad and
// poissonrecon, which are found beside plasmora-cli.
#include <charconv>
#include <climits>
#include <cstdio>
#include <filesystem>
#include <optional>

#include "app/external_remesh.h"
#include "cli.h"
#include "io/private_folder.h"
#include "io/undo_snapshots.h"

namespace {

namespace fs = std::filesystem;

// The run's private folder, removed with the exchange files at the end.
class ExchangeFolder {
 public:
  ExchangeFolder() : path_(ProcessFolderIn(UndoSnapshots::SystemTempFolder())) {}
  ~ExchangeFolder() {
    std::error_code ignored;
    fs::remove_all(fs::path(path_).parent_path(), ignored);  // without the '/': a planted link goes, not its target
  }
  ExchangeFolder(const ExchangeFolder&) = delete;
  ExchangeFolder& operator=(const ExchangeFolder&) = delete;
  const std::string& path() const { return path_; }

 private:
  std::string path_;
};

RemeshSetup SetupFor(const ExchangeFolder& folder) {
  RemeshSetup setup;
  setup.exchangeFolder = folder.path();
  std::error_code error;
  setup.programFolder = fs::read_symlink("/proc/self/exe", error).parent_path().string();
  setup.onStage = [](const ConsoleStage& stage) {
    if (stage.percent == 0) std::fprintf(stderr, "%s...\n", stage.title.c_str());
  };
  return setup;
}

// The optional third argument: a whole number from `low` to `high`, or
// `fallback` when not given; nullopt after saying why.
std::optional<int> ParseCount(const std::vector<std::string>& arguments, const char* name, int low, int high,
                              int fallback) {
  if (arguments.size() < 3) return fallback;
  const std::string& text = arguments[2];
  int value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end != text.data() + text.size() || value < low || value > high) {
    Complain(std::string(name) + " must be a whole number from " + std::to_string(low) + " to " +
             std::to_string(high) + ", not \"" + text + "\"");
    return std::nullopt;
  }
  return value;
}

}  // namespace

int RunRemeshCompact(const std::vector<std::string>& arguments) {
  const std::optional<int> voxels = ParseCount(arguments, "VOXELS", 1, INT_MAX, VoxelBudgetOfPosition(kDefaultResolutionPosition));
  if (!voxels) return kUsage;
  const TModelFormat* format = OutputFormat(arguments[1]);
  TScene scene;
  if (format == nullptr || !LoadScene(arguments[0], scene)) return kFailure;
  const ExchangeFolder folder;
  RemeshResult result;
  if (RunRemeshCompact(scene, 0, *voxels, SetupFor(folder), result) != RemeshOutcome::Done ||
      !ApplyRemeshCompact(scene, result))
    return kFailure;
  return WriteScene(scene, arguments[1], *format) ? kSuccess : kFailure;
}

int RunRemesh(const std::vector<std::string>& arguments) {
  const std::optional<int> depth = ParseCount(arguments, "DEPTH", kMinRemeshDepth, kMaxRemeshDepth, kDefaultRemeshDepth);
  if (!depth) return kUsage;
  const TModelFormat* format = OutputFormat(arguments[1]);
  TScene scene;
  if (format == nullptr || !LoadScene(arguments[0], scene)) return kFailure;
  const ExchangeFolder folder;
  RemeshResult result;
  if (RunRemesh(scene, *depth, SetupFor(folder), result) != RemeshOutcome::Done || !ApplyRemesh(scene, result))
    return kFailure;
  return WriteScene(scene, arguments[1], *format) ? kSuccess : kFailure;
}
