#include "io/met_writer.h"

#include <gtest/gtest.h>
#include <sys/resource.h>

#include <clocale>
#include <csignal>

#include "io/model_conversion.h"
#include "io/model_writer.h"
#include "io/test_files.h"
#include "model/messages.h"
#include "model/test_meshes.h"

namespace {

// Two elements with centres that print exactly, placed away from the origin.
TScene TwoElementScene() {
  TScene scene;
  TGeosphera a = MakeElement({{0, 0, 0}, {3, 0, 0}, {0, 3, 0}}, {0, 1, 2});
  a.name = "  Principal ";
  a.colors = {{1, 2, 3, 255}, {4, 5, 6, 255}, {255, 0, 128, 255}};
  a.position = {1, 2, 3};
  TGeosphera b = MakeElement({{0, 0, 1.5f}, {3, 0, 1.5f}, {0, -3, 1.5f}, {-0.25f, 0.1f, 7}}, {0, 2, 1, 0, 1, 3});
  b.name = "B";
  b.subdivLevel = 2;
  b.position = {4, 5, 6};
  scene.elements = {a, b};
  return scene;
}

TScene Load(const std::string& fileName) {
  TScene scene;
  ResetScene(scene);
  EXPECT_TRUE(LoadIntoScene(scene, fileName, kModelMet, 1.0f));
  return scene;
}

}  // namespace

TEST(MetWriter, WritesTheMetText) {
  TempDir dir;
  TScene scene = TwoElementScene();
  ASSERT_TRUE(WriteModel(scene, dir.File("s.met"), kModelMet));
  EXPECT_EQ(ReadWholeFile(dir.File("s.met")),
            "# Created by Plasmora Beta v5.00.\r\n# \r\n\r\n"
            "g   Principal  \r\nusemtl   Principal  \r\ns off \r\n"
            "ce 1.0000000000 1.0000000000 0.0000000000\r\ndiv 0 \r\n# 3 vertices\r\n\r\n"
            "v 0.0000000000 0.0000000000 0.0000000000\r\n"
            "v 3.0000000000 0.0000000000 0.0000000000\r\n"
            "v 0.0000000000 3.0000000000 0.0000000000\r\n"
            "\r\n# 1 faces\r\n\r\nf 1 2 3\r\n"
            "cor 1 2 3\r\ncor 4 5 6\r\ncor 255 0 128\r\n"
            "g B \r\nusemtl B \r\ns off \r\n"
            "ce 0.6875000000 -0.7250000238 2.8750000000\r\ndiv 2 \r\n# 4 vertices\r\n\r\n"
            "v 0.0000000000 0.0000000000 1.5000000000\r\n"
            "v 3.0000000000 0.0000000000 1.5000000000\r\n"
            "v 0.0000000000 -3.0000000000 1.5000000000\r\n"
            "v -0.2500000000 0.1000000015 7.0000000000\r\n"
            "\r\n# 2 faces\r\n\r\nf 4 6 5\r\nf 4 5 7\r\n"
            "cor 128 128 128\r\ncor 128 128 128\r\ncor 128 128 128\r\ncor 128 128 128\r\n");
  for (const TGeosphera& e : scene.elements) EXPECT_EQ(e.position, (TGLCoord{0, 0, 0}));
}

TEST(MetWriter, RoundTrip) {
  TempDir dir;
  TScene original = TwoElementScene();
  original.elements[1].name = "B\nv 9 9 9";  // a line break must not start a record
  ASSERT_TRUE(WriteModel(original, dir.File("s.met"), kModelMet));
  const TScene back = Load(dir.File("s.met"));
  ASSERT_EQ(back.elementCount(), 2);
  const char* names[] = {"Principal", "B v 9 9 9"};
  for (size_t i = 0; i < 2; ++i) {
    const TGeosphera &a = original.elements[i], &b = back.elements[i];
    EXPECT_EQ(b.name, names[i]);
    EXPECT_EQ(b.subdivLevel, a.subdivLevel);
    EXPECT_EQ(b.vertices, a.vertices);
    EXPECT_EQ(b.faces, a.faces);
    EXPECT_EQ(b.colors, a.colors);  // alpha 255 in both
    EXPECT_EQ(b.position, (TGLCoord{0, 0, 0}));
  }
}

TEST(MetWriter, ElementWithoutTrianglesKeepsTheLaterFaceNumbersRight) {
  TempDir dir;
  TScene scene = TwoElementScene();
  scene.elements.insert(scene.elements.begin() + 1, MakeElement({{9, 9, 9}, {8, 8, 8}}, {}));
  ASSERT_TRUE(WriteModel(scene, dir.File("s.met"), kModelMet));
  const TScene back = Load(dir.File("s.met"));
  ASSERT_EQ(back.elementCount(), 2);  // a group without faces is not an element
  EXPECT_EQ(back.elements[1].faces, scene.elements[2].faces);
  EXPECT_EQ(back.elements[1].vertices, scene.elements[2].vertices);
}

TEST(MetWriter, NothingToSave) {
  TempDir dir;
  CapturingMessageSink sink;
  TScene scene;
  ResetScene(scene);
  EXPECT_FALSE(WriteModel(scene, dir.File("s.met"), kModelMet));
  EXPECT_EQ(sink.Texts(), std::vector<std::string>{"Scene don't have elements to save."});
  EXPECT_FALSE(std::filesystem::exists(dir.File("s.met")));
}

TEST(MetWriter, FailedSaveLeavesThePreviousFile) {
  TempDir dir;
  const std::string target = dir.File("s.met");
  WriteWholeFile(target, "previous");
  TScene scene = TwoElementScene();
  scene.elements[0].vertices.resize(20000);  // far more than the file size limit below
  scene.elements[0].vertexCount = 20000;
  scene.elements[0].colors.resize(20000);

  CapturingMessageSink sink;
  std::signal(SIGXFSZ, SIG_IGN);
  rlimit saved{};
  getrlimit(RLIMIT_FSIZE, &saved);
  rlimit limited = saved;
  limited.rlim_cur = 4096;
  setrlimit(RLIMIT_FSIZE, &limited);
  const bool written = WriteModel(scene, target, kModelMet);
  setrlimit(RLIMIT_FSIZE, &saved);
  std::signal(SIGXFSZ, SIG_DFL);

  EXPECT_FALSE(written);
  EXPECT_EQ(ReadWholeFile(target), "previous");
  ASSERT_EQ(sink.entries.size(), 1u);
  EXPECT_EQ(sink.entries[0].text, "Cannot save " + target + ": File too large");
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 1);  // no temporary file left
  EXPECT_EQ(scene.elements[1].position, (TGLCoord{4, 5, 6}));                     // a failed save changes nothing

  EXPECT_FALSE(WriteModel(scene, dir.File("missing/s.met"), kModelMet));
  EXPECT_EQ(sink.entries.back().text, "Cannot save " + dir.File("missing/s.met") + ": No such file or directory");
}

TEST(MetWriter, SaveAs) {
  TempDir dir;
  TScene scene = TwoElementScene();
  CapturingMessageSink sink;
  const struct {
    const char* chosen;
    const char* written;
  } names[] = {{"a", "a.met"}, {"b.MET", "b.MET"}, {"c.met.txt", "c.met.txt.met"}};
  for (const auto& n : names) {
    EXPECT_TRUE(SaveSceneAs(scene, dir.File(n.chosen))) << n.chosen;
    EXPECT_TRUE(std::filesystem::exists(dir.File(n.written))) << n.chosen;
  }
  EXPECT_TRUE(sink.entries.empty());
  EXPECT_FALSE(SaveSceneAs(scene, ""));

  WriteWholeFile(dir.File("d.met"), "keep");
  sink.answers = {MessageAnswer::No};
  EXPECT_FALSE(SaveSceneAs(scene, dir.File("d")));
  EXPECT_EQ(ReadWholeFile(dir.File("d.met")), "keep");
  EXPECT_EQ(sink.Texts().back(), "The file " + dir.File("d.met") + " already exists, do you want to replace?");
  sink.answers = {MessageAnswer::Yes};
  EXPECT_TRUE(SaveSceneAs(scene, dir.File("d")));
  EXPECT_EQ(Load(dir.File("d.met")).elementCount(), 2);
}

TEST(MetWriter, PointAsSeparatorUnderACommaLocale) {
  const std::string previous = std::setlocale(LC_ALL, nullptr);
  if (!std::setlocale(LC_ALL, "de_DE.UTF-8")) {
    GTEST_SKIP() << "locale de_DE.UTF-8 is not installed (scripts/install-deps.sh generates it)";
  }
  TempDir dir;
  TScene scene = TwoElementScene();
  const bool written = WriteModel(scene, dir.File("s.met"), kModelMet);
  const std::string text = ReadWholeFile(dir.File("s.met"));
  TScene back;
  ResetScene(back);
  const bool read = LoadIntoScene(back, dir.File("s.met"), kModelMet, 1.0f);
  std::setlocale(LC_ALL, previous.c_str());
  ASSERT_TRUE(written);
  EXPECT_NE(text.find("v -0.2500000000 0.1000000015 7.0000000000\r\n"), std::string::npos);
  ASSERT_TRUE(read);
  EXPECT_EQ(back.elements[1].vertices, scene.elements[1].vertices);
}
