// Undo on disk: before an edit the current element is written to a numbered
// snapshot file; "Undo" reads the newest one back. Three channels share the
// mechanism (geometry for strokes and mesh operations, paint and duplicate as
// save points of texture mode). Each element keeps its own ring per channel,
// keyed by its stable identity, so rings follow elements when the scene list
// shifts. The files live in a folder of this process's own inside the
// temporary folder, removed when the engine ends.
//
// Redo uses the same ring: Undo first keeps the state it replaces as a full
// snapshot one number above the one it restores, so the numbers above the
// counter hold the states Redo gives back, until a new snapshot is taken.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <map>
#include <string>

#include "io/undo_snapshot_file.h"
#include "model/geosphera.h"
#include "model/scene.h"

enum class UndoChannel { Geometry = 0, Paint = 1, Duplicate = 2 };

// What undo needs from the rest of the program. The defaults do nothing.
class UndoHooks {
 public:
  virtual ~UndoHooks() = default;
  // Empties the brush footprint lists (their vertices may no longer exist).
  virtual void ClearFootprints() {}
  // While the sketch tool is active and no mouse operation runs, undo removes
  // the last sketch-sphere group instead; true when that happened.
  virtual bool UndoSketchStroke(TScene&) { return false; }
  // In paint mode every snapshot is a full one.
  virtual bool PaintModeActive() const { return false; }
  // Element `index` was restored and its adjacency rebuilt: upload its
  // buffers and show its subdivision level.
  virtual void SnapshotRestored(TScene&, int /*index*/) {}
};

class UndoSnapshots {
 public:
  static constexpr int kFirstNumber = 3;                 // counters start here
  static constexpr int32_t kNothingPending = -1;         // the pending-change marker at rest
  static constexpr int32_t kIndexCountLimit = 20000000;  // larger meshes take no snapshots
  static constexpr int kMaxUndoLimit = 100;

  // Snapshots go to "<tempFolder>/plasmora-<pid>/", created on the first write.
  explicit UndoSnapshots(const std::string& tempFolder = SystemTempFolder());
  ~UndoSnapshots();  // deletes the snapshot folder
  UndoSnapshots(const UndoSnapshots&) = delete;
  UndoSnapshots& operator=(const UndoSnapshots&) = delete;

  // TMPDIR when set, else /tmp (the window passes its own temporary path).
  static std::string SystemTempFolder();
  const std::string& folder() const { return folder_; }

  void SetHooks(UndoHooks* hooks) { hooks_ = hooks ? hooks : &noHooks_; }
  // Called when a snapshot was taken (a change follows) or one was restored:
  // what keeps a copy of the scene learns that it changed.
  void SetChangeListener(std::function<void()> listener) { changed_ = std::move(listener); }

  // Creates the snapshot folder, private to this user; "" or the message to show.
  std::string PrepareFolder() const;

  // "Max Undo", 0 .. 100 (clamped); the ring holds numbers 3 .. capacity - 1.
  void SetMaxUndo(int maxUndo);
  int maxUndo() const { return capacity_ - kFirstNumber; }
  int undoCapacity() const { return capacity_; }
  // Large rings are compressed: Max Undo 17 and more.
  bool compressing() const { return 19 < capacity_; }

  // Any value but kNothingPending records that an edit started since the last snapshot.
  void MarkPendingChange(int32_t marker) { pending_ = marker; }
  int32_t pendingChange() const { return pending_; }

  // Writes the next snapshot of `e` in `channel` (kind 1 positions and
  // normals, 2 full) when an edit is pending or the snapshot is full; a full
  // ring drops its oldest snapshot and the Redo states are dropped. Write
  // errors are shown.
  void TakeSnapshot(TGeosphera& e, UndoChannel channel, int32_t kind);

  // Restores the newest snapshot of the current element in `channel` and
  // steps its counter back. Returns true when the element was changed.
  // Missing files are skipped silently; damaged ones and positions-only
  // snapshots of a mesh whose counts changed are refused with a message.
  // Redo states of the element are dropped.
  bool RestoreSnapshot(TScene& scene, UndoChannel channel);

  // "Undo": RestoreSnapshot, keeping the state it replaces for Redo.
  bool Undo(TScene& scene, UndoChannel channel);
  // "Redo": gives back the state the last Undo of the current element
  // replaced. Returns true when the element was changed.
  bool Redo(TScene& scene, UndoChannel channel);
  // Whether Redo has a state of the element to give back.
  bool CanRedo(uint32_t uid, UndoChannel channel) const;

  // The next snapshot number of an element's ring (3 when it has none).
  int Counter(uint32_t uid, UndoChannel channel) const;
  std::string SnapshotPath(uint32_t uid, UndoChannel channel, int number, bool topology) const;

  // Every ring of the channel starts again at 3; their files are deleted.
  void ResetChannel(UndoChannel channel);
  // The element is gone: its rings and files are dropped.
  void DropElement(uint32_t uid);
  // Removes the snapshot folder with every file in it (the exit step).
  void DeleteSnapshotFiles();

  // The single steps, without ring or counters: write snapshot `number` of
  // `e`, and read one back into `e` (messages shown, no refresh).
  bool WriteSnapshot(TGeosphera& e, UndoChannel channel, int number, int32_t kind);
  SnapshotRead ReadSnapshot(TGeosphera& e, UndoChannel channel, int number);

 private:
  // A ring's next snapshot number and the highest number that holds a Redo
  // state (states counter + 1 .. redoTop; the element then shows snapshot
  // `counter`). Without Redo states redoTop is below the counter.
  struct Ring {
    int counter = kFirstNumber;
    int redoTop = 0;
  };

  Ring& RingOf(uint32_t uid, UndoChannel channel);
  int& CounterOf(uint32_t uid, UndoChannel channel) { return RingOf(uid, channel).counter; }
  void DropRedo(uint32_t uid, UndoChannel channel);
  // The first steps of Undo and RestoreSnapshot: the footprints cleared, and
  // the sketch tool's own undo taking the step when it asks to.
  enum class RestoreStart { Nothing, SketchUndone, Snapshot };
  RestoreStart StartRestore(TScene& scene, UndoChannel channel);
  // Restores snapshot counter - 1 of the current element and steps the counter back.
  bool StepBack(TScene& scene, UndoChannel channel);
  // Reads snapshot `number` into the current element and refreshes it.
  SnapshotRead RestoreNumber(TScene& scene, UndoChannel channel, int number);
  SnapshotPaths PathsOf(uint32_t uid, UndoChannel channel, int number) const;
  void DeleteSnapshot(uint32_t uid, UndoChannel channel, int number) const;
  void RotateRing(uint32_t uid, UndoChannel channel, int counter) const;
  // Deletes the snapshot files of the folder whose element and channel are doomed.
  void DeleteFilesWhere(const std::function<bool(uint32_t uid, UndoChannel channel)>& doomed) const;

  std::string folder_;
  int capacity_ = 18;
  int32_t pending_ = kNothingPending;
  std::map<uint32_t, std::array<Ring, 3>> rings_;
  SnapshotScratch scratch_;
  UndoHooks noHooks_;
  UndoHooks* hooks_ = &noHooks_;
  std::function<void()> changed_ = [] {};
};
