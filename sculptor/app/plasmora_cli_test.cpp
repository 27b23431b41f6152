// Runs the built plasmora-cli as a user would.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>

#include "io/test_files.h"

namespace {

struct CliRun {
  int status;
  std::string out, err;
};

class Cli : public ::testing::Test {
 protected:
  CliRun Invoke(const std::string& arguments) {
    const std::string command = std::string("'") + PLASMORA_BIN_DIR + "/plasmora-cli' " + arguments + " >'" +
                                dir.File("out") + "' 2>'" + dir.File("err") + "'";
    const int raw = std::system(command.c_str());
    return {WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, ReadWholeFile(dir.File("out")), ReadWholeFile(dir.File("err"))};
  }
  std::string Model(const std::string& name, const std::string& text) {
    WriteWholeFile(dir.File(name), text);
    return "'" + dir.File(name) + "'";
  }
  TempDir dir;
};

const char kTwoGroups[] =
    "g ball\ndiv 2\nv -1 0 0\nv 1 0 0\nv 0 4 0.5\nf 1 2 3\n"
    "g second\nv 0 0 -9\nv 2 0 -9\nv 0 2 -9\nv 2 2 -9\nf 4 5 6\nf 5 7 6\n";

}  // namespace

TEST_F(Cli, HelpAndWrongCommandLines) {
  const CliRun help = Invoke("--help");
  EXPECT_EQ(help.status, 0);
  EXPECT_NE(help.out.find("info FILE"), std::string::npos);
  EXPECT_NE(help.out.find("convert IN OUT"), std::string::npos);
  for (const char* wrong : {"", "frobnicate x", "info", "info a b", "convert a"}) {
    const CliRun r = Invoke(wrong);
    EXPECT_EQ(r.status, 2) << wrong;
    EXPECT_TRUE(r.out.empty()) << wrong;
    EXPECT_NE(r.err.find("usage:"), std::string::npos) << wrong;
  }
}

TEST_F(Cli, Info) {
  const CliRun r = Invoke("info " + Model("m.met", kTwoGroups));
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out, dir.File("m.met") + ": 2 elements\n"
                   "element 0 \"ball\": 3 vertices, 1 triangles, level 2, box (-1, 0, 0) - (1, 4, 0.5)\n"
                   "element 1 \"second\": 4 vertices, 2 triangles, level 0, box (0, 0, -9) - (2, 2, -9)\n");
  EXPECT_TRUE(r.err.empty());
}

TEST_F(Cli, FailuresSayWhyOnStandardError) {
  const struct {
    std::string arguments;
    std::string message;
  } cases[] = {
      {"info '" + dir.File("absent.met") + "'", "cannot open " + dir.File("absent.met") + ": No such file or directory"},
      {"info " + Model("bad.met", "v 0 0 0\nv x 0 0\n"), "File format not recognized."},
      {"info " + Model("empty.met", ""), "Failed to load model."},
      {"info " + Model("m.stl", kTwoGroups), "unknown model file type"},
      {"convert " + Model("m.met", kTwoGroups) + " '" + dir.File("out.stl") + "'", "cannot write this kind of file"},
      {"convert " + Model("m.met", kTwoGroups) + " '" + dir.File("no/such/dir.met") + "'", "Cannot save"},
  };
  for (const auto& c : cases) {
    const CliRun r = Invoke(c.arguments);
    EXPECT_EQ(r.status, 1) << c.arguments;
    EXPECT_NE(r.err.find(c.message), std::string::npos) << c.arguments << "\n" << r.err;
  }
  EXPECT_FALSE(std::filesystem::exists(dir.File("out.stl")));
}

TEST_F(Cli, ConvertChoosesTheFormatByTheOutputExtension) {
  const CliRun r = Invoke("convert " + Model("m.met", kTwoGroups) + " '" + dir.File("copy.MET") + "'");
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_TRUE(r.out.empty());
  const CliRun info = Invoke("info '" + dir.File("copy.MET") + "'");
  EXPECT_EQ(info.status, 0) << info.err;
  EXPECT_NE(info.out.find("element 1 \"second\": 4 vertices, 2 triangles"), std::string::npos);
}

TEST_F(Cli, ConvertBetweenMetObjAndPly) {
  // met -> obj -> ply -> met; the PLY step keeps the current (first) element only.
  const std::string met = Model("m.met", kTwoGroups), obj = "'" + dir.File("m.obj") + "'",
                    ply = "'" + dir.File("m.ply") + "'", back = "'" + dir.File("back.met") + "'";
  CliRun r = Invoke("convert " + met + " " + obj);
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_NE(Invoke("info " + obj).out.find("element 1 \"second\": 4 vertices, 2 triangles"), std::string::npos);
  r = Invoke("convert " + obj + " " + ply);
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_NE(r.err.find("a PLY file holds one element: writing element 0 of 2"), std::string::npos);
  r = Invoke("convert " + ply + " " + back);
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_NE(Invoke("info " + back).out.find(": 3 vertices, 1 triangles, level 0, box (-1, 0, 0) - (1, 4, 0.5)"),
            std::string::npos);
}
