#include "io/recovery_record.h"

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cmath>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <limits>

#include "model/messages.h"

namespace fs = std::filesystem;

namespace {

// A tetrahedron with every kept field set to something of its own.
TGeosphera Tetrahedron(const std::string& name, float shift) {
  TGeosphera e;
  e.name = name;
  e.fileName = "/models/" + name + ".met";
  e.sourceKind = 2;
  e.vertices = {{shift, 0, 0}, {1, 0.1f, 0}, {0, 1, 1e-7f}, {0, 0, -3e5f}};
  e.normals = {{0, 0, 1}, {0, 1, 0}, {1, 0, 0}, {0.6f, 0.8f, 0}};
  e.colors = {{1, 2, 3, 4}, {5, 6, 7, 8}, {9, 10, 11, 12}, {13, 14, 15, 16}};
  e.vertexState = {kVertexFree, kVertexFrozen, kVertexTouched, kVertexFree};
  e.faces = {0, 2, 1, 0, 1, 3, 0, 3, 2, 1, 2, 3};
  e.uvs = {{0, 0}, {1, 0}, {0.5f, 1}};
  e.uvFaces = {0, 1, 2, 2, 1, 0};
  e.vertexCount = 4;
  e.indexCount = 12;
  e.uvCount = 3;
  e.subdivLevel = 1;
  e.levelVertexCounts = {3};
  e.levelChecks = {{4, 0x1234567890abcdefULL}};
  e.center = {1, 2, 3};
  e.rotation = {10, 20, 30};
  e.position = {-1, -2, -3};
  e.scale = {2, 2, 2};
  e.colorR = 200;
  e.visible = 0;
  return e;
}

TScene TwoElements() {
  TScene scene;
  scene.elements = {Tetrahedron("Principal", 0.25f), Tetrahedron("Second", -7.5f)};
  scene.currentElement = 1;
  return scene;
}

void ExpectSameElement(const TGeosphera& a, const TGeosphera& b) {
  EXPECT_EQ(a.name, b.name);
  EXPECT_EQ(a.fileName, b.fileName);
  EXPECT_EQ(a.sourceKind, b.sourceKind);
  EXPECT_EQ(a.vertices, b.vertices);
  EXPECT_EQ(a.normals, b.normals);
  EXPECT_EQ(a.colors, b.colors);
  EXPECT_EQ(a.vertexState, b.vertexState);
  EXPECT_EQ(a.faces, b.faces);
  EXPECT_EQ(a.uvs, b.uvs);
  EXPECT_EQ(a.uvFaces, b.uvFaces);
  EXPECT_EQ(a.vertexCount, b.vertexCount);
  EXPECT_EQ(a.indexCount, b.indexCount);
  EXPECT_EQ(a.uvCount, b.uvCount);
  EXPECT_EQ(a.subdivLevel, b.subdivLevel);
  EXPECT_EQ(a.levelVertexCounts, b.levelVertexCounts);
  ASSERT_EQ(a.levelChecks.size(), b.levelChecks.size());
  EXPECT_EQ(a.levelChecks[0].parentChecksum, b.levelChecks[0].parentChecksum);
  for (auto [x, y] : {std::pair{a.center, b.center}, {a.rotation, b.rotation}, {a.position, b.position},
                      {a.scale, b.scale}})
    EXPECT_EQ(x, y);
  EXPECT_EQ(std::tie(a.colorB, a.colorG, a.colorR, a.colorA, a.visible),
            std::tie(b.colorB, b.colorG, b.colorR, b.colorA, b.visible));
}

// Byte offset of the first element's vertex count in a record of TwoElements().
size_t FirstCountsOffset() {
  return std::strlen("PLASMORA RECOVERY 1\n") + 8 + (4 + 9) + (4 + 21) + 8 + 48 + 5;
}

}  // namespace

TEST(RecoveryRecord, GivesBackEveryKeptFieldExactly) {
  const TScene scene = TwoElements();
  const std::optional<RecoveredScene> back = DecodeRecoveryRecord(EncodeRecoveryRecord(scene));
  ASSERT_TRUE(back);
  EXPECT_EQ(back->currentElement, 1);
  ASSERT_EQ(back->elements.size(), 2u);
  for (size_t k = 0; k < 2; ++k) ExpectSameElement(back->elements[k], scene.elements[k]);

  // Side arrays shorter than the counts (an element still being built) are completed.
  TScene partial = TwoElements();
  partial.elements[0].colors.clear();
  partial.elements[0].uvs.resize(1);
  const std::optional<RecoveredScene> completed = DecodeRecoveryRecord(EncodeRecoveryRecord(partial));
  ASSERT_TRUE(completed);
  EXPECT_EQ(completed->elements[0].colors, TCores(4));
  EXPECT_EQ(completed->elements[0].uvs.size(), 3u);
}

TEST(RecoveryRecord, RefusesEveryDamagedRecord) {
  const std::string good = EncodeRecoveryRecord(TwoElements());
  // Every record cut short, and one with a byte left over.
  for (size_t size = 0; size < good.size(); ++size)
    ASSERT_FALSE(DecodeRecoveryRecord(std::string_view(good).substr(0, size))) << size;
  EXPECT_FALSE(DecodeRecoveryRecord(good + '\0'));

  const size_t counts = FirstCountsOffset();
  const size_t firstFace = counts + 16 + 4 * (12 + 12 + 4 + 1);
  const size_t firstPosition = counts + 16;
  const auto int32At = [&](size_t at, int32_t value) {
    std::string bytes = good;
    std::memcpy(bytes.data() + at, &value, 4);
    return bytes;
  };
  const auto floatAt = [&](size_t at, float value) {
    std::string bytes = good;
    std::memcpy(bytes.data() + at, &value, 4);
    return bytes;
  };
  const struct {
    const char* what;
    std::string bytes;
  } damaged[] = {
      {"another magic", "PLASMORA RECOVERY 2\n" + good.substr(20)},
      {"no elements", int32At(20, 0)},
      {"current element past the last", int32At(24, 2)},
      {"negative current element", int32At(24, -1)},
      {"a huge vertex count", int32At(counts, std::numeric_limits<int32_t>::max())},
      {"negative vertex count", int32At(counts, -4)},
      {"index count of no whole triangles", int32At(counts + 4, 11)},
      {"a face naming a missing vertex", int32At(firstFace, 4)},
      {"a position that is no number", floatAt(firstPosition, std::nanf(""))},
      {"an infinite position", floatAt(firstPosition + 8, std::numeric_limits<float>::infinity())},
  };
  for (const auto& d : damaged) EXPECT_FALSE(DecodeRecoveryRecord(d.bytes)) << d.what;
  // The offsets above are right: the same edits that keep the record sound are read.
  EXPECT_TRUE(DecodeRecoveryRecord(int32At(firstFace, 3)));
  EXPECT_TRUE(DecodeRecoveryRecord(floatAt(firstPosition, 2.5f)));
}

class RecoveryFolders : public testing::Test {
 protected:
  RecoveryFolders() {
    tmp_ = fs::temp_directory_path() / ("recovery-test-" + std::to_string(::getpid()));
    fs::remove_all(tmp_);
    fs::create_directories(tmp_);
  }
  ~RecoveryFolders() override { fs::remove_all(tmp_); }

  // A folder of process `pid` holding a record (or not).
  std::string Folder(pid_t pid, bool withRecord = true) {
    const fs::path folder = tmp_ / ("plasmora-" + std::to_string(pid));
    fs::create_directories(folder);
    if (withRecord) {
      EXPECT_EQ(WriteRecoveryRecord((folder / kRecoveryRecordName).string(), "record"), "");
    }
    return folder.string() + "/";
  }

  // The id of a process that has ended.
  static pid_t EndedProcess() {
    const pid_t child = fork();
    if (child == 0) _exit(0);
    waitpid(child, nullptr, 0);
    return child;
  }

  fs::path tmp_;
  CapturingMessageSink messages_;
};

TEST_F(RecoveryFolders, FindsOnlyRecordsOfEndedRunsOfThisUserNewestFirst) {
  const pid_t older = EndedProcess(), newer = EndedProcess();
  const std::string olderFolder = Folder(older);
  const std::string newerFolder = Folder(newer);
  fs::last_write_time(fs::path(olderFolder) / kRecoveryRecordName,
                      fs::last_write_time(fs::path(newerFolder) / kRecoveryRecordName) - std::chrono::seconds(10));
  Folder(::getpid());                  // this run
  Folder(::getppid());                 // a run still going
  Folder(EndedProcess(), false);       // an ended run that had changed nothing
  fs::create_directories(tmp_ / "plasmora-12x");
  fs::create_symlink(fs::path(olderFolder), tmp_ / ("plasmora-" + std::to_string(EndedProcess())));
  EXPECT_EQ(FindAbandonedRecords(tmp_.string()), (std::vector<std::string>{newerFolder, olderFolder}));
  EXPECT_TRUE(FindAbandonedRecords((tmp_ / "missing").string()).empty());
}

TEST_F(RecoveryFolders, RecordIsReplacedWholeAndFailuresAreOnlyReported) {
  const std::string path = Folder(EndedProcess(), false) + kRecoveryRecordName;
  EXPECT_EQ(WriteRecoveryRecord(path, "first"), "");
  EXPECT_EQ(WriteRecoveryRecord(path, "second"), "");
  std::ifstream in(path);
  EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), "second");
  EXPECT_EQ(fs::directory_iterator(fs::path(path).parent_path())->path().filename(), kRecoveryRecordName);

  EXPECT_EQ(WriteRecoveryRecord((tmp_ / "missing" / kRecoveryRecordName).string(), "x"), std::strerror(ENOENT));
  EXPECT_TRUE(messages_.entries.empty());  // a worker thread must not show them
}
