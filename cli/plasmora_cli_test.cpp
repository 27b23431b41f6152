// Runs the built plasmora-cli as a user would.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>

#include "io/test_files.h"

namespace {

struct CliRun {
  int status;
  std::string out, err;
};

class Cli : public ::testing::Test {
 protected:
  // `environment`: assignments such as "TMPDIR='/x'" for the run.
  CliRun Invoke(const std::string& arguments, const std::string& environment = "") {
    const std::string command = environment + " '" + PLASMORA_BIN_DIR + "/plasmora-cli' " + arguments + " >'" +
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
      {"info " + Model("m.xyz", kTwoGroups), "unknown model file type"},
      {"convert " + Model("m.met", kTwoGroups) + " '" + dir.File("out.xyz") + "'", "cannot write this kind of file"},
      {"convert " + Model("m.met", kTwoGroups) + " '" + dir.File("no/such/dir.met") + "'", "Cannot save"},
  };
  for (const auto& c : cases) {
    const CliRun r = Invoke(c.arguments);
    EXPECT_EQ(r.status, 1) << c.arguments;
    EXPECT_NE(r.err.find(c.message), std::string::npos) << c.arguments << "\n" << r.err;
  }
  EXPECT_FALSE(std::filesystem::exists(dir.File("out.xyz")));
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
  // met -> obj -> ply -> met; the PLY step merges the two elements into one mesh.
  const std::string met = Model("m.met", kTwoGroups), obj = "'" + dir.File("m.obj") + "'",
                    ply = "'" + dir.File("m.ply") + "'", back = "'" + dir.File("back.met") + "'";
  CliRun r = Invoke("convert " + met + " " + obj);
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_NE(Invoke("info " + obj).out.find("element 1 \"second\": 4 vertices, 2 triangles"), std::string::npos);
  r = Invoke("convert " + obj + " " + ply);
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_NE(r.err.find("PLY files hold one mesh: the 2 elements are written merged into one"), std::string::npos);
  r = Invoke("convert " + ply + " " + back);
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_NE(Invoke("info " + back).out.find(": 7 vertices, 3 triangles, level 0, box (-1, 0, -9) - (2, 4, 0.5)"),
            std::string::npos);
}

TEST_F(Cli, StlAndOffHoldEveryElementMerged) {
  const std::string met = Model("m.met", kTwoGroups);
  for (const char* extension : {".stl", ".off"}) {
    SCOPED_TRACE(extension);
    const std::string out = "'" + dir.File(std::string("m") + extension) + "'";
    const CliRun r = Invoke("convert " + met + " " + out);
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.err.find("files hold one mesh: the 2 elements are written merged into one"), std::string::npos);
    EXPECT_NE(Invoke("info " + out).out.find(": 1 element\nelement 0 \"\": 7 vertices, 3 triangles, level 0, "
                                             "box (-1, 0, -9) - (2, 4, 0.5)"),
              std::string::npos);
  }
}

namespace {

const char kOctahedron[] =
    "g ball\nv 1 0 0\nv -1 0 0\nv 0 1 0\nv 0 -1 0\nv 0 0 1\nv 0 0 -1\n"
    "f 1 3 5\nf 3 2 5\nf 2 4 5\nf 4 1 5\nf 3 1 6\nf 2 3 6\nf 4 2 6\nf 1 4 6\n";

}  // namespace

TEST_F(Cli, SubdivideAndUnsubdivideThePrincipalElement) {
  Model("ball.met", kOctahedron);
  const struct {
    const char *verb, *in, *out, *levels, *result;
  } steps[] = {
      {"subdivide", "ball.met", "once.met", "", "\"ball\": 18 vertices, 32 triangles, level 1"},
      {"subdivide", "once.met", "thrice.met", " 2", ": 258 vertices, 512 triangles, level 3"},
      {"unsubdivide", "thrice.met", "back.met", " 3", ": 6 vertices, 8 triangles, level 0"},
  };
  for (const auto& step : steps) {
    const std::string out = "'" + dir.File(step.out) + "'";
    const CliRun r = Invoke(std::string(step.verb) + " '" + dir.File(step.in) + "' " + out + step.levels);
    ASSERT_EQ(r.status, 0) << step.verb << " " << step.in << "\n" << r.err;
    EXPECT_NE(Invoke("info " + out).out.find(step.result), std::string::npos) << step.out;
  }
}

TEST_F(Cli, SubdivisionArgumentsAndRefusals) {
  const std::string ball = Model("ball.met", kOctahedron), out = " '" + dir.File("out.met") + "'";
  const struct {
    std::string arguments;
    int status;
    std::string message;
  } cases[] = {
      {"subdivide " + ball, 2, "usage:"},
      {"unsubdivide " + ball + out + " 1 2", 2, "usage:"},
      {"subdivide " + ball + out + " 0", 2, "LEVELS must be a whole number from 1 on, not \"0\""},
      {"subdivide " + ball + out + " two", 2, "not \"two\""},
      {"subdivide " + ball + out + " 16", 1, "more triangles than an element can hold"},
      {"subdivide " + ball + " '" + dir.File("out.xyz") + "'", 1, "cannot write this kind of file"},
      {"unsubdivide " + ball + out, 1, "the principal element is at level 0: it cannot go down 1 level"},
      // Level 2 in the file, but one triangle: no group-of-four order to merge.
      {"unsubdivide " + Model("m.met", kTwoGroups) + out, 1, "Level can not be less than the load mesh!!"},
  };
  for (const auto& c : cases) {
    const CliRun r = Invoke(c.arguments);
    EXPECT_EQ(r.status, c.status) << c.arguments;
    EXPECT_NE(r.err.find(c.message), std::string::npos) << c.arguments << "\n" << r.err;
  }
  EXPECT_FALSE(std::filesystem::exists(dir.File("out.met")));
}

namespace {

// An open book: two unit squares meeting at a right angle along the y axis,
// facing each other (the spine is vertices 1 and 2).
const char kOpenBook[] =
    "g book\nv 0 0 0\nv 0 1 0\nv 1 0 0\nv 1 1 0\nv 0 0 1\nv 0 1 1\n"
    "f 1 3 4\nf 1 4 2\nf 1 2 6\nf 1 6 5\n";

// The "cor" lines of a Met file, in order.
std::vector<std::string> ColourLines(const std::string& text) {
  std::vector<std::string> lines;
  for (size_t at = text.find("cor "); at != std::string::npos; at = text.find("cor ", at + 1)) {
    lines.push_back(text.substr(at, text.find('\r', at) - at));
  }
  return lines;
}

}  // namespace

TEST_F(Cli, AoDarkensTheColoursOfEveryElement) {
  // Strength 0 only multiplies by 0.9 (128 -> 115), in both elements.
  CliRun r = Invoke("ao " + Model("m.met", kTwoGroups) + " '" + dir.File("flat.met") + "' 0");
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(ColourLines(ReadWholeFile(dir.File("flat.met"))), std::vector<std::string>(7, "cor 115 115 115"));
  // At the default strength the pages shade each other; the spine lies in both pages' planes.
  r = Invoke("ao " + Model("book.met", kOpenBook) + " '" + dir.File("book_ao.met") + "'");
  ASSERT_EQ(r.status, 0) << r.err;
  const std::vector<std::string> colours = ColourLines(ReadWholeFile(dir.File("book_ao.met")));
  ASSERT_EQ(colours.size(), 6u);
  for (size_t v = 0; v < 6; ++v) {
    if (v < 2) {
      EXPECT_EQ(colours[v], "cor 115 115 115");
    } else {
      EXPECT_LT(std::stoi(colours[v].substr(4)), 115) << colours[v];
    }
  }
}

TEST_F(Cli, AoStrengthMustBeFromZeroToFifty) {
  const std::string model = Model("m.met", kTwoGroups), out = " '" + dir.File("out.met") + "'";
  for (const char* strength : {" 51", " -1", " x", " 4.5"}) {
    const CliRun r = Invoke("ao " + model + out + strength);
    EXPECT_EQ(r.status, 2) << strength;
    EXPECT_NE(r.err.find("STRENGTH must be a whole number from 0 to 50"), std::string::npos) << r.err;
  }
  EXPECT_FALSE(std::filesystem::exists(dir.File("out.met")));
}

// Every element gets texture coordinates: the octahedron's eight triangles are
// too few to share charts, so each corner ends with a vertex of its own.
TEST_F(Cli, UvWritesTextureCoordinates) {
  const std::string in = Model("m.met", std::string(kOctahedron) + "g second\nv 0 0 -9\nv 2 0 -9\nv 0 2 -9\nf 7 8 9\n");
  const std::string out = dir.File("uv.obj");
  const CliRun r = Invoke("uv " + in + " '" + out + "' 0.5");
  ASSERT_EQ(r.status, 0) << r.err;
  const std::string text = ReadWholeFile(out);
  size_t textures = 0;
  for (size_t at = text.find("\nvt "); at != std::string::npos; at = text.find("\nvt ", at + 1)) ++textures;
  EXPECT_EQ(textures, 24u + 3u);
  EXPECT_NE(text.find("f 1/1/1 "), std::string::npos);
  const CliRun info = Invoke("info '" + out + "'");
  EXPECT_NE(info.out.find("\"ball\": 24 vertices, 8 triangles"), std::string::npos) << info.out;

  const struct {
    std::string arguments;
    int status;
    std::string message;
  } wrong[] = {
      {"uv " + in + " '" + out + "' 1.5", 2, "PARTITION must be a number from 0.1 to 1.0, not \"1.5\""},
      {"uv " + in + " '" + out + "' 0,5", 2, "PARTITION must be"},
      {"uv " + in + " '" + dir.File("uv.met") + "'", 1, "texture coordinates are written to an OBJ file"},
  };
  for (const auto& w : wrong) {
    const CliRun failed = Invoke(w.arguments);
    EXPECT_EQ(failed.status, w.status) << w.arguments;
    EXPECT_NE(failed.err.find(w.message), std::string::npos) << failed.err;
  }
}

TEST_F(Cli, ReduceThePrincipalElementAndCopyTheOthers) {
  // The octahedron subdivided twice (128 triangles) beside an element of its own.
  Model("two.met", std::string(kOctahedron) + "g second\nv 0 0 -9\nv 2 0 -9\nv 0 2 -9\nv 2 2 -9\nf 7 8 9\nf 8 10 9\n");
  const std::string fine = "'" + dir.File("fine.met") + "'", reduced = "'" + dir.File("reduced.met") + "'";
  ASSERT_EQ(Invoke("subdivide '" + dir.File("two.met") + "' " + fine + " 2").status, 0);
  const CliRun r = Invoke("reduce " + fine + " " + reduced + " 25");
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_TRUE(r.err.empty()) << r.err;
  const std::string info = Invoke("info " + reduced).out;
  int vertices = 0, triangles = 0;
  ASSERT_EQ(std::sscanf(info.substr(info.find("element 0")).c_str(), "element 0 \"ball\": %d vertices, %d triangles",
                        &vertices, &triangles),
            2)
      << info;
  EXPECT_LE(triangles, 32);
  EXPECT_GE(triangles, 28);
  EXPECT_EQ(vertices, triangles / 2 + 2);  // still a closed ball
  EXPECT_NE(info.find("level 0"), std::string::npos) << info;
  EXPECT_NE(info.find("element 1 \"second\": 4 vertices, 2 triangles"), std::string::npos) << info;
}

TEST_F(Cli, ReductionArgumentsAndRefusals) {
  const std::string ball = Model("ball.met", kOctahedron), out = " '" + dir.File("out.met") + "'";
  const struct {
    std::string arguments;
    int status;
    std::string message;
  } cases[] = {
      {"reduce " + ball + out, 2, "usage:"},
      {"reduce " + ball + out + " 101", 2, "PERCENT must be a whole number from 0 to 100, not \"101\""},
      {"reduce " + ball + out + " -5", 2, "not \"-5\""},
      {"reduce " + ball + out + " 50%", 2, "not \"50%\""},
      {"reduce " + ball + " '" + dir.File("out.xyz") + "' 50", 1, "cannot write this kind of file"},
  };
  for (const auto& c : cases) {
    const CliRun r = Invoke(c.arguments);
    EXPECT_EQ(r.status, c.status) << c.arguments;
    EXPECT_NE(r.err.find(c.message), std::string::npos) << c.arguments << "\n" << r.err;
  }
  EXPECT_FALSE(std::filesystem::exists(dir.File("out.met")));
  // 40 % of eight triangles is a target below 4: the file is written as it was, with a note.
  const CliRun small = Invoke("reduce " + ball + out + " 40");
  EXPECT_EQ(small.status, 0);
  EXPECT_NE(small.err.find("keeps its 8 triangles"), std::string::npos) << small.err;
  EXPECT_NE(Invoke("info" + out).out.find("6 vertices, 8 triangles"), std::string::npos);
}

// Both remesh commands on the installed ball, their exchange files in a private
// folder of the given TMPDIR that is gone afterwards.
TEST_F(Cli, RemeshCompactAndRemeshTheBall) {
  const std::string ball = std::string("'") + PLASMORA_BIN_DIR + "/models/ball6.met'";
  const std::string tmp = dir.File("t m p");
  std::filesystem::create_directory(tmp);
  for (const std::string& command : {"remesh-compact " + ball + " '" + dir.File("compact.obj") + "' 200000",
                                     "remesh " + ball + " '" + dir.File("rebuilt.ply") + "' 6"}) {
    const CliRun r = Invoke(command, "TMPDIR='" + tmp + "'");
    ASSERT_EQ(r.status, 0) << command << "\n" << r.err;
    EXPECT_TRUE(std::filesystem::is_empty(tmp)) << command;
  }
  EXPECT_NE(Invoke("info '" + dir.File("compact.obj") + "'").out.find(": 1 element\n"), std::string::npos);
  EXPECT_NE(Invoke("info '" + dir.File("rebuilt.ply") + "'").out.find(": 1 element\n"), std::string::npos);
}

TEST_F(Cli, RemeshArgumentsAndFailures) {
  const std::string flat = Model("flat.obj", "v 0 0 0\nv 1 0 0\nv 0 1 0\nf 1 2 3\n"), out = " '" + dir.File("out.obj") + "'";
  const struct {
    std::string arguments;
    int status;
    std::string message;
  } cases[] = {
      {"remesh-compact " + flat + out + " 0", 2, "VOXELS must be a whole number from 1 to"},
      {"remesh " + flat + out + " 13", 2, "DEPTH must be a whole number from 6 to 12, not \"13\""},
      {"remesh " + flat + " '" + dir.File("out.xyz") + "'", 1, "cannot write this kind of file"},
      {"remesh-compact " + flat + out, 1, "Failed to remeshing\n"},
  };
  for (const auto& c : cases) {
    const CliRun r = Invoke(c.arguments);
    EXPECT_EQ(r.status, c.status) << c.arguments;
    EXPECT_NE(r.err.find(c.message), std::string::npos) << c.arguments << "\n" << r.err;
  }
  EXPECT_FALSE(std::filesystem::exists(dir.File("out.obj")));
}
