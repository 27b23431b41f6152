#include "io/undo_snapshots.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <new>
#include <optional>
#include <system_error>

#include "io/private_folder.h"
#include "model/messages.h"
#include "model/topology.h"

namespace {

namespace fs = std::filesystem;

struct ChannelPrefixes {
  const char* main;
  const char* topology;
};
constexpr ChannelPrefixes kPrefixes[3] = {{"temp_", "temp"}, {"paint_", "paint"}, {"dup_", "dup"}};
constexpr UndoChannel kChannels[3] = {UndoChannel::Geometry, UndoChannel::Paint, UndoChannel::Duplicate};

const ChannelPrefixes& PrefixesOf(UndoChannel channel) { return kPrefixes[static_cast<int>(channel)]; }

// Leading decimal digits of `s` from `at`, advancing `at`; nullopt when there are none.
std::optional<uint64_t> ReadNumber(const std::string& s, size_t& at) {
  const size_t start = at;
  uint64_t value = 0;
  while (at < s.size() && s[at] >= '0' && s[at] <= '9' && at - start < 12) value = value * 10 + uint64_t(s[at++] - '0');
  if (at == start) return std::nullopt;
  return value;
}

struct SnapshotName {
  uint32_t uid;
  UndoChannel channel;
};

// Parses "<uid><prefix><number>.dat".
std::optional<SnapshotName> ParseSnapshotName(const std::string& name) {
  size_t at = 0;
  const std::optional<uint64_t> uid = ReadNumber(name, at);
  if (!uid || *uid > UINT32_MAX) return std::nullopt;
  for (UndoChannel channel : kChannels) {
    for (const char* prefix : {PrefixesOf(channel).main, PrefixesOf(channel).topology}) {
      if (name.compare(at, std::char_traits<char>::length(prefix), prefix) != 0) continue;
      size_t rest = at + std::char_traits<char>::length(prefix);
      if (ReadNumber(name, rest) && name.compare(rest, std::string::npos, ".dat") == 0)
        return SnapshotName{static_cast<uint32_t>(*uid), channel};
    }
  }
  return std::nullopt;
}

}  // namespace

UndoSnapshots::UndoSnapshots(const std::string& tempFolder) : folder_(ProcessFolderIn(tempFolder)) {}

UndoSnapshots::~UndoSnapshots() { DeleteSnapshotFiles(); }

std::string UndoSnapshots::SystemTempFolder() {
  const char* tmp = std::getenv("TMPDIR");
  return tmp && *tmp ? tmp : "/tmp";
}

void UndoSnapshots::SetMaxUndo(int maxUndo) { capacity_ = std::clamp(maxUndo, 0, kMaxUndoLimit) + kFirstNumber; }

int UndoSnapshots::Counter(uint32_t uid, UndoChannel channel) const {
  const auto it = rings_.find(uid);
  return it == rings_.end() ? kFirstNumber : it->second[static_cast<size_t>(channel)].counter;
}

bool UndoSnapshots::CanRedo(uint32_t uid, UndoChannel channel) const {
  const auto it = rings_.find(uid);
  if (it == rings_.end()) return false;
  const Ring& ring = it->second[static_cast<size_t>(channel)];
  return ring.redoTop > ring.counter;
}

UndoSnapshots::Ring& UndoSnapshots::RingOf(uint32_t uid, UndoChannel channel) {
  return rings_[uid][static_cast<size_t>(channel)];
}

std::string UndoSnapshots::SnapshotPath(uint32_t uid, UndoChannel channel, int number, bool topology) const {
  const ChannelPrefixes& p = PrefixesOf(channel);
  return folder_ + std::to_string(uid) + (topology ? p.topology : p.main) + std::to_string(number) + ".dat";
}

SnapshotPaths UndoSnapshots::PathsOf(uint32_t uid, UndoChannel channel, int number) const {
  return {SnapshotPath(uid, channel, number, false), SnapshotPath(uid, channel, number, true)};
}

std::string UndoSnapshots::PrepareFolder() const {
  const std::string reason = PreparePrivateFolder(folder_);
  return reason.empty() ? "" : "Cannot create the undo folder " + folder_ + ": " + reason;
}

bool UndoSnapshots::WriteSnapshot(TGeosphera& e, UndoChannel channel, int number, int32_t kind) {
  if (hooks_->PaintModeActive()) kind = kSnapshotFull;
  e.undoKind = kind;
  std::string error = PrepareFolder();
  try {
    if (error.empty()) error = WriteSnapshotFiles(e, kind, compressing(), PathsOf(e.uid, channel, number), scratch_);
  } catch (const std::bad_alloc&) {
    error = "Not enough memory to complete this operation.";
  }
  scratch_.Trim();
  if (!error.empty()) ShowError(error);
  return error.empty();
}

SnapshotRead UndoSnapshots::ReadSnapshot(TGeosphera& e, UndoChannel channel, int number) {
  const SnapshotPaths paths = PathsOf(e.uid, channel, number);
  SnapshotRead result;
  try {
    result = ReadSnapshotFiles(e, paths, scratch_);
  } catch (const std::bad_alloc&) {
    scratch_.Trim();
    ShowError("Not enough memory to complete this operation.");
    return SnapshotRead::Damaged;
  }
  scratch_.Trim();
  if (result == SnapshotRead::Damaged) {
    ShowError("The undo file " + fs::path(paths.main).filename().string() +
              " is damaged or incomplete. The mesh was left unchanged.");
  } else if (result == SnapshotRead::TopologyChanged) {
    ShowError("This undo step does not fit the mesh any more: its vertices or triangles changed since. "
              "The mesh was left unchanged.");
  }
  return result;
}

void UndoSnapshots::TakeSnapshot(TGeosphera& e, UndoChannel channel, int32_t kind) {
  if (e.indexCount >= kIndexCountLimit) return;
  // A full snapshot comes before an operation that changes the topology: it is
  // taken even with nothing pending, also when the ring is full.
  if (pending_ == kNothingPending && kind != kSnapshotFull) return;
  DropRedo(e.uid, channel);  // a new change: what Undo took back is gone
  int& counter = CounterOf(e.uid, channel);
  if (counter < capacity_) {
    if (!WriteSnapshot(e, channel, counter, kind)) return;
    ++counter;
  } else {
    RotateRing(e.uid, channel, counter);
    if (!WriteSnapshot(e, channel, counter - 1, kind)) return;
  }
  pending_ = kNothingPending;
  changed_();
}

void UndoSnapshots::DeleteSnapshot(uint32_t uid, UndoChannel channel, int number) const {
  const SnapshotPaths paths = PathsOf(uid, channel, number);
  std::remove(paths.main.c_str());
  std::remove(paths.topology.c_str());
}

void UndoSnapshots::RotateRing(uint32_t uid, UndoChannel channel, int counter) const {
  DeleteSnapshot(uid, channel, kFirstNumber);
  for (int k = kFirstNumber; k <= counter - 2; ++k) {
    const SnapshotPaths from = PathsOf(uid, channel, k + 1), to = PathsOf(uid, channel, k);
    std::rename(from.main.c_str(), to.main.c_str());
    std::rename(from.topology.c_str(), to.topology.c_str());
  }
}

void UndoSnapshots::DropRedo(uint32_t uid, UndoChannel channel) {
  Ring& ring = RingOf(uid, channel);
  for (int n = ring.counter + 1; n <= ring.redoTop; ++n) DeleteSnapshot(uid, channel, n);
  ring.redoTop = 0;
}

UndoSnapshots::RestoreStart UndoSnapshots::StartRestore(TScene& scene, UndoChannel channel) {
  hooks_->ClearFootprints();
  if (hooks_->UndoSketchStroke(scene)) return RestoreStart::SketchUndone;
  if (scene.elementCount() == 0) return RestoreStart::Nothing;
  const TGeosphera& e = scene.current();
  if (Counter(e.uid, channel) <= kFirstNumber || e.indexCount >= kIndexCountLimit) return RestoreStart::Nothing;
  return RestoreStart::Snapshot;
}

SnapshotRead UndoSnapshots::RestoreNumber(TScene& scene, UndoChannel channel, int number) {
  TGeosphera& e = scene.current();
  const SnapshotRead result = ReadSnapshot(e, channel, number);
  if (result != SnapshotRead::Restored) return result;
  const int width = ComputeValence(e);
  if (width == 0) {
    e.adjacency = TAdjacency{};  // no triangles left to list
  } else if (BuildAdjacency(e, width)) {
    scene.adjacencyWidth = width;
  }
  hooks_->SnapshotRestored(scene, scene.currentElement);
  changed_();
  return result;
}

bool UndoSnapshots::StepBack(TScene& scene, UndoChannel channel) {
  int& counter = CounterOf(scene.current().uid, channel);
  const SnapshotRead result = RestoreNumber(scene, channel, counter - 1);
  --counter;  // also past a snapshot that could not be read
  return result == SnapshotRead::Restored;
}

bool UndoSnapshots::RestoreSnapshot(TScene& scene, UndoChannel channel) {
  const RestoreStart start = StartRestore(scene, channel);
  if (start != RestoreStart::Snapshot) return start == RestoreStart::SketchUndone;
  DropRedo(scene.current().uid, channel);
  return StepBack(scene, channel);
}

bool UndoSnapshots::Undo(TScene& scene, UndoChannel channel) {
  const RestoreStart start = StartRestore(scene, channel);
  if (start != RestoreStart::Snapshot) return start == RestoreStart::SketchUndone;
  TGeosphera& e = scene.current();
  Ring& ring = RingOf(e.uid, channel);
  // After a Redo the element shows snapshot `counter` already. Otherwise its
  // state is kept in full, as the change undone may have been one of topology;
  // when that cannot be written (a message says why) Undo goes on without Redo.
  if (ring.redoTop < ring.counter && WriteSnapshot(e, channel, ring.counter, kSnapshotFull))
    ring.redoTop = ring.counter;
  return StepBack(scene, channel);
}

bool UndoSnapshots::Redo(TScene& scene, UndoChannel channel) {
  hooks_->ClearFootprints();
  if (scene.elementCount() == 0) return false;
  const TGeosphera& e = scene.current();
  if (!CanRedo(e.uid, channel) || e.indexCount >= kIndexCountLimit) return false;
  Ring& ring = RingOf(e.uid, channel);
  if (RestoreNumber(scene, channel, ring.counter + 1) != SnapshotRead::Restored) {
    DropRedo(e.uid, channel);  // a Redo state went missing or is damaged: the later ones cannot follow
    return false;
  }
  ++ring.counter;
  return true;
}

void UndoSnapshots::DeleteFilesWhere(const std::function<bool(uint32_t, UndoChannel)>& doomed) const {
  std::error_code ec;
  const fs::path dir = fs::path(folder_).parent_path();
  if (fs::is_symlink(dir, ec)) return;  // not ours (see PrepareFolder)
  for (const fs::directory_entry& entry : fs::directory_iterator(dir, ec)) {
    const std::optional<SnapshotName> name = ParseSnapshotName(entry.path().filename().string());
    if (name && doomed(name->uid, name->channel)) fs::remove(entry.path(), ec);
  }
}

void UndoSnapshots::ResetChannel(UndoChannel channel) {
  for (auto& [uid, rings] : rings_) rings[static_cast<size_t>(channel)] = Ring{};
  DeleteFilesWhere([channel](uint32_t, UndoChannel c) { return c == channel; });
}

void UndoSnapshots::DropElement(uint32_t uid) {
  rings_.erase(uid);
  DeleteFilesWhere([uid](uint32_t u, UndoChannel) { return u == uid; });
}

void UndoSnapshots::DeleteSnapshotFiles() {
  std::error_code ec;
  fs::remove_all(fs::path(folder_).parent_path(), ec);  // without the '/': a planted link goes, not its target
  rings_.clear();
}
