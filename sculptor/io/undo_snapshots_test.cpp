#include "io/undo_snapshots.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>

#include "io/undo_scene_host.h"
#include "model/messages.h"

namespace fs = std::filesystem;
using testing::HasSubstr;

namespace {

// A w x h grid of vertices in the plane z = 0, two triangles per cell.
TGeosphera MakeGrid(int w, int h, uint32_t uid) {
  TGeosphera e;
  e.uid = uid;
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      e.vertices.push_back({float(x), float(y), 0});
      e.normals.push_back({0, 0, 1});
    }
  for (int y = 0; y + 1 < h; ++y)
    for (int x = 0; x + 1 < w; ++x) {
      const uint32_t a = uint32_t(y * w + x), b = a + 1, c = a + uint32_t(w), d = c + 1;
      e.faces.insert(e.faces.end(), {a, b, d, a, d, c});
    }
  e.vertexCount = int32_t(e.vertices.size());
  e.indexCount = int32_t(e.faces.size());
  e.colors.assign(e.vertices.size(), kDefaultVertexColor);
  e.vertexState.assign(e.vertices.size(), kVertexFree);
  return e;
}

// The state a snapshot keeps, for comparing elements.
struct Kept {
  Tvertices vertices, normals;
  Tfaces faces;
  TSelect state;
  TCores colors;
  Tuv uvs;
  int32_t vertexCount, indexCount, uvCount, subdivLevel;
  friend bool operator==(const Kept&, const Kept&) = default;
};
Kept KeptOf(const TGeosphera& e) {
  return {e.vertices, e.normals, e.faces,      e.vertexState, e.colors,
          e.uvs,      e.vertexCount, e.indexCount, e.uvCount,     e.subdivLevel};
}

std::string ReadBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), {}};
}
void WriteBytes(const std::string& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

// Each test gets a fresh temporary folder through TMPDIR.
class UndoTest : public testing::Test {
 protected:
  UndoTest() {
    tmp_ = fs::temp_directory_path() / ("undo-test-" + std::to_string(::getpid()) + "-" +
                                        testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(tmp_);
    fs::create_directories(tmp_);
    previousTmp_ = std::getenv("TMPDIR") ? std::getenv("TMPDIR") : "";
    setenv("TMPDIR", tmp_.c_str(), 1);
    undo_ = std::make_unique<UndoSnapshots>();
    scene_.elements.push_back(MakeGrid(5, 4, 1));
  }
  ~UndoTest() override {
    undo_.reset();
    if (previousTmp_.empty()) {
      unsetenv("TMPDIR");
    } else {
      setenv("TMPDIR", previousTmp_.c_str(), 1);
    }
    fs::remove_all(tmp_);
  }

  TGeosphera& current() { return scene_.current(); }

  // A stroke: a snapshot of the state before it, then the change.
  void Stroke(float x) {
    undo_->MarkPendingChange(0);
    undo_->TakeSnapshot(current(), UndoChannel::Geometry, kSnapshotPositions);
    current().vertices[0].x = x;
  }
  // The x of vertex 0 kept by geometry snapshot `number` of the current element.
  float KeptX(int number) {
    TGeosphera copy = current();
    EXPECT_EQ(undo_->ReadSnapshot(copy, UndoChannel::Geometry, number), SnapshotRead::Restored) << number;
    return copy.vertices[0].x;
  }
  std::string Path(int number, bool topology = false) {
    return undo_->SnapshotPath(current().uid, UndoChannel::Geometry, number, topology);
  }
  int Counter() { return undo_->Counter(current().uid, UndoChannel::Geometry); }
  bool Undo() { return undo_->RestoreSnapshot(scene_, UndoChannel::Geometry); }

  fs::path tmp_;
  std::string previousTmp_;
  std::unique_ptr<UndoSnapshots> undo_;
  TScene scene_;
  CapturingMessageSink messages_;
};

}  // namespace

TEST_F(UndoTest, SnapshotsLiveInAFolderOfThisProcessRemovedAtExit) {
  const std::string expected = (tmp_ / ("plasmora-" + std::to_string(::getpid()))).string() + "/";
  EXPECT_EQ(undo_->folder(), expected);
  Stroke(1);
  EXPECT_TRUE(fs::exists(expected + "1temp_3.dat"));
  EXPECT_EQ(Path(3, true), expected + "1temp3.dat");
  undo_.reset();
  EXPECT_FALSE(fs::exists(expected));
}

TEST_F(UndoTest, AFolderPlantedUnderOurNameIsNotUsed) {
  const fs::path elsewhere = tmp_ / "elsewhere";
  fs::create_directories(elsewhere);
  WriteBytes((elsewhere / "keep.txt").string(), "mine");
  fs::create_directory_symlink(elsewhere, fs::path(undo_->folder()).parent_path());
  Stroke(1);
  EXPECT_EQ(Counter(), 3);
  ASSERT_EQ(messages_.entries.size(), 1u);
  EXPECT_THAT(messages_.entries[0].text, HasSubstr("Cannot create the undo folder"));
  undo_.reset();  // the exit step removes the link, not what it points to
  EXPECT_EQ(ReadBytes((elsewhere / "keep.txt").string()), "mine");
  EXPECT_EQ(fs::directory_iterator(elsewhere)->path().filename(), "keep.txt");
}

TEST_F(UndoTest, RingOfMaxUndo15DropsTheOldestAndKeepsBothFilesInStep) {
  ASSERT_EQ(undo_->undoCapacity(), 18);
  // Strokes 1 and 2 are full snapshots (they bring topology files).
  for (int stroke = 1; stroke <= 15; ++stroke) {
    undo_->MarkPendingChange(0);
    undo_->TakeSnapshot(current(), UndoChannel::Geometry, stroke <= 2 ? kSnapshotFull : kSnapshotPositions);
    current().vertices[0].x = float(stroke);
  }
  EXPECT_EQ(Counter(), 18);
  EXPECT_TRUE(fs::exists(Path(3, true)));
  EXPECT_TRUE(fs::exists(Path(4, true)));

  Stroke(16);  // the sixteenth: 3 goes, 4 .. 17 move down, 17 is new
  EXPECT_EQ(Counter(), 18);
  for (int n = 3; n <= 17; ++n) EXPECT_EQ(KeptX(n), float(n - 2)) << n;
  EXPECT_FALSE(fs::exists(Path(18)));
  EXPECT_TRUE(fs::exists(Path(3, true)));   // stroke 2's topology moved down with its main file
  EXPECT_FALSE(fs::exists(Path(4, true)));  // and stroke 1's was deleted with its own

  // Undo walks back to the oldest kept state, then does nothing at counter 3.
  for (int n = 17; n >= 3; --n) {
    ASSERT_TRUE(Undo());
    EXPECT_EQ(current().vertices[0].x, float(n - 2));
  }
  EXPECT_EQ(Counter(), 3);
  const Kept before = KeptOf(current());
  EXPECT_FALSE(Undo());
  EXPECT_EQ(KeptOf(current()), before);
  EXPECT_TRUE(messages_.entries.empty());
}

TEST_F(UndoTest, PendingMarkerGatesPositionsSnapshotsButNotFullOnes) {
  undo_->TakeSnapshot(current(), UndoChannel::Geometry, kSnapshotPositions);
  EXPECT_EQ(Counter(), 3);
  undo_->MarkPendingChange(12);
  undo_->TakeSnapshot(current(), UndoChannel::Geometry, kSnapshotPositions);
  EXPECT_EQ(Counter(), 4);
  EXPECT_EQ(undo_->pendingChange(), UndoSnapshots::kNothingPending);
  EXPECT_EQ(current().undoKind, kSnapshotPositions);
  undo_->TakeSnapshot(current(), UndoChannel::Geometry, kSnapshotFull);
  EXPECT_EQ(Counter(), 5);
  EXPECT_EQ(current().undoKind, kSnapshotFull);

  // A full snapshot is also taken when the ring is full and nothing is pending.
  undo_->SetMaxUndo(1);
  current().vertices[0].x = 42;
  undo_->TakeSnapshot(current(), UndoChannel::Geometry, kSnapshotFull);
  EXPECT_EQ(Counter(), 5);
  EXPECT_EQ(KeptX(4), 42);
}

TEST_F(UndoTest, MaxUndoZeroWritesButNeverRestores) {
  undo_->SetMaxUndo(0);
  EXPECT_EQ(undo_->undoCapacity(), 3);
  Stroke(5);
  EXPECT_TRUE(fs::exists(Path(2)));
  EXPECT_EQ(Counter(), 3);
  EXPECT_FALSE(Undo());
  EXPECT_EQ(current().vertices[0].x, 5);
  undo_->SetMaxUndo(250);
  EXPECT_EQ(undo_->maxUndo(), 100);
}

TEST_F(UndoTest, FullAndPositionsOnlyRestoreInBothModes) {
  for (const int maxUndo : {15, 17}) {
    SCOPED_TRACE(maxUndo);
    undo_->SetMaxUndo(maxUndo);
    EXPECT_EQ(undo_->compressing(), maxUndo >= 17);
    scene_.elements[0] = MakeGrid(5, 4, 1);
    current().uvs.assign(7, TGLUV{0.25f, 0.5f});
    current().uvCount = 7;
    current().subdivLevel = 1;
    const Kept original = KeptOf(current());
    undo_->TakeSnapshot(current(), UndoChannel::Geometry, kSnapshotFull);
    int32_t first = 0;
    std::memcpy(&first, ReadBytes(Path(3)).data(), 4);
    EXPECT_EQ(first == kSnapshotFull, !undo_->compressing());  // else a container's block length

    // A full restore brings back topology, mask, colours and uvs.
    TGeosphera finer = MakeGrid(9, 7, 1);
    finer.vertexState[3] = kVertexFrozen;
    finer.colors[2] = TRGBA{1, 2, 3, 4};
    finer.subdivLevel = 2;
    finer.uvCount = 0;
    current() = finer;
    ASSERT_TRUE(Undo());
    EXPECT_EQ(KeptOf(current()), original);
    EXPECT_EQ(current().adjacency.rows(), size_t(current().vertexCount));
    EXPECT_EQ(current().valence[0], 2);

    // A positions-only restore leaves mask and colours as they are.
    undo_->MarkPendingChange(0);
    undo_->TakeSnapshot(current(), UndoChannel::Geometry, kSnapshotPositions);
    current().vertices[6] = {9, 9, 9};
    current().normals[6] = {1, 0, 0};
    current().vertexState[6] = kVertexFrozen;
    current().colors[6] = TRGBA{9, 9, 9, 9};
    current().subdivLevel = 4;
    ASSERT_TRUE(Undo());
    EXPECT_EQ(current().vertices, original.vertices);
    EXPECT_EQ(current().normals, original.normals);
    EXPECT_EQ(current().subdivLevel, 1);
    EXPECT_EQ(current().vertexState[6], kVertexFrozen);
    EXPECT_EQ(current().colors[6], (TRGBA{9, 9, 9, 9}));
    undo_->ResetChannel(UndoChannel::Geometry);
  }
  EXPECT_TRUE(messages_.entries.empty());
}

TEST_F(UndoTest, SnapshotsReadInTheModeTheyWereWritten) {
  for (const auto& [writeWith, readWith] : {std::pair{20, 15}, std::pair{15, 20}}) {
    undo_->SetMaxUndo(writeWith);
    const Kept original = KeptOf(current());
    undo_->TakeSnapshot(current(), UndoChannel::Geometry, kSnapshotFull);
    current() = MakeGrid(3, 3, 1);
    undo_->SetMaxUndo(readWith);
    ASSERT_TRUE(Undo());
    EXPECT_EQ(KeptOf(current()), original);
  }
  EXPECT_TRUE(messages_.entries.empty());
}

TEST_F(UndoTest, MeshesAtTheSizeLimitTakeAndRestoreNothing) {
  Stroke(1);
  TGeosphera& e = current();
  const int32_t realCount = e.indexCount;
  e.indexCount = UndoSnapshots::kIndexCountLimit;  // the rule reads only the count
  undo_->MarkPendingChange(0);
  undo_->TakeSnapshot(e, UndoChannel::Geometry, kSnapshotFull);
  EXPECT_EQ(Counter(), 4);
  EXPECT_FALSE(fs::exists(Path(4)));
  EXPECT_FALSE(Undo());
  EXPECT_EQ(Counter(), 4);
  e.indexCount = UndoSnapshots::kIndexCountLimit - 3;
  undo_->TakeSnapshot(e, UndoChannel::Geometry, kSnapshotPositions);
  EXPECT_EQ(Counter(), 5);
  e.indexCount = realCount;
}

TEST_F(UndoTest, PositionsSnapshotOfAnotherTopologyIsRefused) {
  Stroke(1);
  current() = MakeGrid(6, 4, 1);
  const Kept before = KeptOf(current());
  EXPECT_FALSE(Undo());
  EXPECT_EQ(KeptOf(current()), before);
  ASSERT_EQ(messages_.entries.size(), 1u);
  EXPECT_EQ(messages_.entries[0].kind, MessageKind::Error);
  EXPECT_THAT(messages_.entries[0].text, HasSubstr("does not fit the mesh"));
  EXPECT_EQ(Counter(), 3);
}

TEST_F(UndoTest, DamagedFilesAreRefusedAndLeaveTheElementUnchanged) {
  struct Damage {
    const char* what;
    int maxUndo;
    bool topologyFile;
    std::function<void(std::string&)> apply;
  };
  const std::vector<Damage> damages = {
      {"plain main cut short", 15, false, [](std::string& b) { b.resize(b.size() - 5); }},
      {"plain main header only", 15, false, [](std::string& b) { b.resize(12); }},
      {"vertex count beyond the file", 15, false, [](std::string& b) { b[10] = 0x7F; }},
      {"negative index count", 15, false, [](std::string& b) { b[7] = char(0x80); }},
      {"index count not of whole triangles", 15, false, [](std::string& b) { --b[4]; }},
      {"negative level", 15, false, [](std::string& b) { b[15] = char(0x80); }},
      {"plain topology cut short", 15, true, [](std::string& b) { b.resize(b.size() / 2); }},
      {"face beyond the vertices", 15, true, [](std::string& b) { b[1] = 0x40; }},
      {"container longer than the file", 20, false, [](std::string& b) { b.resize(b.size() - 1); }},
      {"block that stops early", 20, false,
       [](std::string& b) {
         const int32_t shorter = int32_t(b.size()) - 4 - 9;
         std::memcpy(b.data(), &shorter, 4);
       }},
      {"packed topology cut short", 20, true, [](std::string& b) { b.resize(b.size() / 2); }},
      {"empty file", 15, false, [](std::string& b) { b.clear(); }},
  };
  for (const Damage& d : damages) {
    SCOPED_TRACE(d.what);
    undo_->SetMaxUndo(d.maxUndo);
    undo_->TakeSnapshot(current(), UndoChannel::Geometry, kSnapshotFull);
    std::string bytes = ReadBytes(Path(3, d.topologyFile));
    d.apply(bytes);
    WriteBytes(Path(3, d.topologyFile), bytes);
    current() = MakeGrid(7, 2, 1);
    const Kept before = KeptOf(current());
    messages_.entries.clear();
    EXPECT_FALSE(Undo());
    EXPECT_EQ(KeptOf(current()), before);
    ASSERT_EQ(messages_.entries.size(), 1u);
    EXPECT_THAT(messages_.entries[0].text, HasSubstr("1temp_3.dat is damaged"));
    EXPECT_EQ(Counter(), 3);  // stepped back past the broken snapshot
  }
}

TEST_F(UndoTest, AFailedWriteLeavesNoHalfSnapshotAndKeepsTheCounter) {
  Stroke(1);
  fs::create_directories(Path(4, true));  // the topology file cannot be written
  undo_->TakeSnapshot(current(), UndoChannel::Geometry, kSnapshotFull);
  EXPECT_EQ(Counter(), 4);
  EXPECT_FALSE(fs::exists(Path(4)));
  ASSERT_EQ(messages_.entries.size(), 1u);
  EXPECT_THAT(messages_.entries[0].text, HasSubstr("Error writing undo file"));
}

TEST_F(UndoTest, MissingFilesAreSkippedSilently) {
  Stroke(1);
  Stroke(2);
  fs::remove(Path(4));
  EXPECT_FALSE(Undo());
  EXPECT_EQ(Counter(), 4);
  EXPECT_TRUE(Undo());
  EXPECT_EQ(current().vertices[0].x, 0);
  EXPECT_TRUE(messages_.entries.empty());
}

TEST_F(UndoTest, RedoGivesBackWhatUndoTookUntilANewChange) {
  const Kept s0 = KeptOf(current());
  Stroke(1);
  const Kept s1 = KeptOf(current());
  Stroke(2);
  const Kept s2 = KeptOf(current());
  // A change of topology after its full snapshot, as Subdivide makes.
  undo_->TakeSnapshot(current(), UndoChannel::Geometry, kSnapshotFull);
  current() = MakeGrid(7, 6, current().uid);
  current().subdivLevel = 1;
  const Kept s3 = KeptOf(current());

  const bool undo = true, redo = false;
  struct Step {
    bool undo;
    bool changes;
    const Kept* after;
  };
  const Step steps[] = {{undo, true, &s2},  {undo, true, &s1},  {redo, true, &s2},  {redo, true, &s3},
                        {redo, false, &s3}, {undo, true, &s2},  {undo, true, &s1},  {undo, true, &s0},
                        {undo, false, &s0}, {redo, true, &s1},  {redo, true, &s2},  {redo, true, &s3},
                        {undo, true, &s2},  {undo, true, &s1}};
  for (size_t i = 0; i < std::size(steps); ++i) {
    const Step& step = steps[i];
    EXPECT_EQ(step.undo ? undo_->Undo(scene_, UndoChannel::Geometry) : undo_->Redo(scene_, UndoChannel::Geometry),
              step.changes)
        << "step " << i;
    EXPECT_TRUE(KeptOf(current()) == *step.after) << "step " << i;
  }

  // A new stroke drops what Undo took back, files too; Undo then returns to before it.
  ASSERT_TRUE(undo_->CanRedo(current().uid, UndoChannel::Geometry));
  Stroke(9);
  EXPECT_FALSE(undo_->CanRedo(current().uid, UndoChannel::Geometry));
  EXPECT_FALSE(undo_->Redo(scene_, UndoChannel::Geometry));
  EXPECT_EQ(current().vertices[0].x, 9);
  EXPECT_FALSE(fs::exists(Path(Counter())));
  EXPECT_FALSE(fs::exists(Path(Counter() + 1, true)));
  EXPECT_TRUE(undo_->Undo(scene_, UndoChannel::Geometry));
  EXPECT_TRUE(KeptOf(current()) == s1);
  EXPECT_TRUE(messages_.entries.empty());
}

TEST_F(UndoTest, TheChangeListenerHearsOfSnapshotsTakenAndRestored) {
  int changes = 0;
  undo_->SetChangeListener([&] { ++changes; });
  Stroke(1);
  undo_->TakeSnapshot(current(), UndoChannel::Geometry, kSnapshotPositions);  // a release with nothing pending
  EXPECT_EQ(changes, 1);
  ASSERT_TRUE(undo_->Undo(scene_, UndoChannel::Geometry));
  ASSERT_TRUE(undo_->Redo(scene_, UndoChannel::Geometry));
  EXPECT_EQ(changes, 3);
  EXPECT_FALSE(undo_->Redo(scene_, UndoChannel::Geometry));
  EXPECT_EQ(changes, 3);
}

TEST_F(UndoTest, RedoInATurnedRingAndItsEnds) {
  undo_->SetMaxUndo(2);  // numbers 3 and 4
  for (int x = 1; x <= 3; ++x) Stroke(float(x));
  ASSERT_EQ(Counter(), 5);
  const auto undoRedo = [&](bool undo) {
    return undo ? undo_->Undo(scene_, UndoChannel::Geometry) : undo_->Redo(scene_, UndoChannel::Geometry);
  };
  EXPECT_TRUE(undoRedo(true));
  EXPECT_TRUE(undoRedo(true));
  EXPECT_EQ(current().vertices[0].x, 1);
  EXPECT_FALSE(undoRedo(true));  // stroke 1's start state left the ring
  EXPECT_TRUE(undoRedo(false));
  EXPECT_TRUE(undoRedo(false));
  EXPECT_EQ(current().vertices[0].x, 3);
  EXPECT_FALSE(undoRedo(false));

  // A new change in the full ring, then Undo and Redo of it.
  EXPECT_TRUE(undoRedo(true));
  Stroke(4);
  EXPECT_TRUE(undoRedo(true));
  EXPECT_EQ(current().vertices[0].x, 2);
  EXPECT_TRUE(undoRedo(false));
  EXPECT_EQ(current().vertices[0].x, 4);

  // The restore after a failed load or detail pass is no Undo: it ends Redo.
  EXPECT_TRUE(undoRedo(true));
  EXPECT_TRUE(undo_->RestoreSnapshot(scene_, UndoChannel::Geometry));
  EXPECT_FALSE(undoRedo(false));
  EXPECT_EQ(current().vertices[0].x, 1);

  // A Redo state that went missing ends Redo quietly, leaving the element.
  Stroke(5);
  EXPECT_TRUE(undoRedo(true));
  fs::remove(Path(Counter() + 1));
  EXPECT_FALSE(undoRedo(false));
  EXPECT_FALSE(undo_->CanRedo(current().uid, UndoChannel::Geometry));
  EXPECT_EQ(current().vertices[0].x, 1);
  EXPECT_TRUE(messages_.entries.empty());
}

TEST_F(UndoTest, EachElementKeepsItsOwnRingAcrossSwitchesAndDeletes) {
  UndoSceneHost host(*undo_, nullptr);
  scene_.host = &host;
  scene_.nextUid = 2;
  for (const auto& [w, h] : {std::pair{4, 4}, std::pair{3, 5}}) {
    const uint32_t uid = scene_.elements[size_t(AppendElement(scene_))].uid;
    scene_.elements.back() = MakeGrid(w, h, uid);
  }
  for (int i = 0; i < 3; ++i) {
    ASSERT_TRUE(SelectElement(scene_, i));
    Stroke(float(10 * (i + 1)));
  }
  ASSERT_TRUE(SelectElement(scene_, 0));
  Stroke(11);
  EXPECT_EQ(Counter(), 5);

  ASSERT_TRUE(SelectElement(scene_, 1));
  ASSERT_TRUE(Undo());
  EXPECT_EQ(current().vertices[0].x, 0);
  EXPECT_FALSE(Undo());  // element 1's ring is empty now; element 0's stays
  ASSERT_TRUE(SelectElement(scene_, 0));
  ASSERT_TRUE(Undo());
  EXPECT_EQ(current().vertices[0].x, 10);

  // Delete element 1: element 2 moves down and keeps its own ring.
  const uint32_t deleted = scene_.elements[1].uid;
  scene_.currentElement = 1;
  DeleteElement(scene_);
  EXPECT_EQ(undo_->Counter(deleted, UndoChannel::Geometry), 3);
  EXPECT_FALSE(fs::exists(undo_->SnapshotPath(deleted, UndoChannel::Geometry, 3, false)));
  ASSERT_TRUE(SelectElement(scene_, 1));
  EXPECT_EQ(current().uid, 3u);
  ASSERT_TRUE(Undo());
  EXPECT_EQ(current().vertexCount, 15);
  EXPECT_EQ(current().vertices[0].x, 0);
  EXPECT_TRUE(messages_.entries.empty());
}

TEST_F(UndoTest, ChannelsAreIndependentAndResetOnTheirOwn) {
  undo_->TakeSnapshot(current(), UndoChannel::Paint, kSnapshotFull);
  undo_->TakeSnapshot(current(), UndoChannel::Duplicate, kSnapshotFull);
  Stroke(1);
  EXPECT_TRUE(fs::exists(undo_->SnapshotPath(1, UndoChannel::Paint, 3, false)));
  EXPECT_TRUE(fs::exists(undo_->SnapshotPath(1, UndoChannel::Duplicate, 3, true)));
  EXPECT_EQ(undo_->SnapshotPath(1, UndoChannel::Paint, 3, true), undo_->folder() + "1paint3.dat");
  EXPECT_EQ(undo_->SnapshotPath(1, UndoChannel::Duplicate, 3, false), undo_->folder() + "1dup_3.dat");

  undo_->ResetChannel(UndoChannel::Paint);
  EXPECT_EQ(undo_->Counter(1, UndoChannel::Paint), 3);
  EXPECT_FALSE(fs::exists(undo_->SnapshotPath(1, UndoChannel::Paint, 3, false)));
  EXPECT_EQ(undo_->Counter(1, UndoChannel::Duplicate), 4);
  EXPECT_EQ(Counter(), 4);
  ASSERT_TRUE(undo_->RestoreSnapshot(scene_, UndoChannel::Duplicate));
  EXPECT_EQ(current().vertices[0].x, 0);
}

namespace {

// A window stand-in that records what undo asks of it.
class RecordingHost : public SceneGpu, public SceneHost {
 public:
  void UploadElementBuffers(TScene&, int index) override { uploads.push_back(index); }
  void ShowSubdivisionLevel(int level) override { levels.push_back(level); }
  void ClearFootprints() override { ++footprintClears; }
  std::vector<int> uploads, levels;
  int footprintClears = 0;
};

class SketchingHost : public UndoSceneHost {
 public:
  using UndoSceneHost::UndoSceneHost;
  bool UndoSketchStroke(TScene&) override { return sketching; }
  bool PaintModeActive() const override { return painting; }
  bool sketching = false, painting = false;
};

}  // namespace

TEST_F(UndoTest, SceneHostAdapterRoutesUndoNotificationsAndRefreshes) {
  RecordingHost window;
  SketchingHost host(*undo_, &window);
  scene_.gpu = &window;
  scene_.host = &host;
  current().subdivLevel = 2;
  Stroke(1);
  undo_->TakeSnapshot(current(), UndoChannel::Paint, kSnapshotFull);

  host.RestoreLastGeometrySnapshot(scene_);
  EXPECT_EQ(current().vertices[0].x, 0);
  EXPECT_EQ(window.uploads, std::vector<int>{0});
  EXPECT_EQ(window.levels, std::vector<int>{2});
  EXPECT_EQ(window.footprintClears, 1);

  host.painting = true;  // in paint mode a stroke snapshot is a full one
  Stroke(2);
  EXPECT_EQ(current().undoKind, kSnapshotFull);
  EXPECT_TRUE(fs::exists(Path(3, true)));

  host.sketching = true;  // the sketch tool undoes its own strokes
  EXPECT_TRUE(undo_->RestoreSnapshot(scene_, UndoChannel::Geometry));
  EXPECT_EQ(current().vertices[0].x, 2);
  EXPECT_EQ(Counter(), 4);

  host.ModelFileWasRead(scene_);
  EXPECT_EQ(undo_->Counter(1, UndoChannel::Paint), 3);
  EXPECT_EQ(Counter(), 4);
  host.SceneWasReset(scene_);
  EXPECT_EQ(Counter(), 3);
  Stroke(3);
  host.ElementWasDeleted(scene_, 1);
  EXPECT_EQ(Counter(), 3);
  EXPECT_FALSE(fs::exists(Path(3)));
}
