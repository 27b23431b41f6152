#include "io/met_reader.h"

#include <gtest/gtest.h>

#include <random>

#include "model/messages.h"

namespace {

struct Parsed {
  TReadStatus status;
  TOBJModel model;
  std::vector<std::string> messages;
};

Parsed ParseMet(std::string_view text) {
  CapturingMessageSink sink;
  Parsed p;
  p.status = ParseTextModel(p.model, text, kMetDialect);
  p.messages = sink.Texts();
  return p;
}

std::vector<int32_t> Vertices(const TOBJGroup& g) {
  std::vector<int32_t> v;
  for (const TOBJFace& f : g.faceRecords) v.insert(v.end(), f.vertex, f.vertex + 3);
  return v;
}

// Every face of every group names a vertex of its own group (file-global numbering).
void ExpectFacesInsideTheirGroups(const TOBJModel& model) {
  int64_t start = 0;
  for (const TOBJGroup& g : model.groups) {
    for (int32_t v : Vertices(g)) {
      ASSERT_GE(v, start);
      ASSERT_LT(v, start + static_cast<int64_t>(g.points.size()));
    }
    start += static_cast<int64_t>(g.points.size());
  }
}

const char kTriangle[] = "v 0 0 0\nv 1 0 0\nv 0 1 0\n";

}  // namespace

TEST(MetReader, FiveReferencesMakeAFan) {
  const Parsed p = ParseMet("v 0 0 0\nv 1 0 0\nv 1 1 0\nv 0 1 0\nv -1 1 0\nf 1 2 3 4 5\n");
  ASSERT_EQ(p.status, TReadStatus::Ok);
  EXPECT_EQ(Vertices(p.model.groups[0]), (std::vector<int32_t>{0, 1, 2, 0, 2, 3, 0, 3, 4}));
}

TEST(MetReader, RecordsNamesLevelsColoursAndKeywordCase) {
  const Parsed p = ParseMet(
      "# comment\n"
      "v 9 9 9\n"
      "g   first one  \n"
      "div 2\n"
      "V 1,5 -2 3e1 7 7\n"
      "v 0.25 0 0\n"
      " v 5 5 5\n"
      "v\t6 6 6\n"
      "G ignored\n"
      "DIV 7\n"
      "usemtl x\ns off\nce 1 2 3\n"
      "cor 0.5 1 0\n"
      "COR 10 20 30\n"
      "g\n"
      "VT 0,5 1\n"
      "vn 0 0 1\n");
  ASSERT_EQ(p.status, TReadStatus::Ok);
  ASSERT_EQ(p.model.groups.size(), 2u);
  const TOBJGroup& g = p.model.groups[0];
  EXPECT_EQ(g.name, "first one");  // the first "g" renames the initial group
  EXPECT_EQ(g.level, 2);
  ASSERT_EQ(g.points.size(), 3u);
  EXPECT_EQ(g.points[1].x, 1.5f);
  EXPECT_EQ(g.points[1].y, -2.0f);
  EXPECT_EQ(g.points[1].z, 30.0f);
  ASSERT_EQ(g.pointColors.size(), 2u);
  EXPECT_EQ(g.pointColors[0], (TRGBA{128, 255, 0, 255}));  // 127.5 goes to the even 128
  EXPECT_EQ(g.pointColors[1], (TRGBA{10, 20, 30, 255}));
  EXPECT_EQ(p.model.groups[1].name, "");
  ASSERT_EQ(p.model.groups[1].texCoords.size(), 1u);
  EXPECT_EQ(p.model.groups[1].texCoords[0].u, 0.5f);
  EXPECT_EQ(p.model.groups[1].normalList.size(), 1u);
}

TEST(MetReader, TheFirstFaceDecidesTheLayout) {
  const struct {
    const char* normalsBefore;
    const char* face;
    int32_t vertex, texture, normal;
  } cases[] = {
      {"", "f 2 3 4", 1, -1, -1},
      {"", "f 2/5 3/5 4/5", 1, 4, -1},
      {"vn 0 0 1\n", "f 2/5/6 3/5/6 4/5/6", 1, 4, 5},
      {"", "f 2//6 3//6 4//6", 1, -1, 5},
      {"", "f 0 1 2", 0, -1, -1},  // number 0 is taken as the first vertex
  };
  for (const auto& c : cases) {
    const Parsed p = ParseMet(std::string(c.normalsBefore) + kTriangle + "v 0 0 1\n" + c.face + "\n" + c.face + "\n");
    ASSERT_EQ(p.status, TReadStatus::Ok) << c.face;
    ASSERT_EQ(p.model.groups[0].faceRecords.size(), 2u);
    const TOBJFace& f = p.model.groups[0].faceRecords[1];
    EXPECT_EQ(f.vertex[0], c.vertex) << c.face;
    EXPECT_EQ(f.texture[0], c.texture) << c.face;
    EXPECT_EQ(f.normal[0], c.normal) << c.face;
  }
}

TEST(MetReader, LineEndsAndByteOrderMarks) {
  const std::string utf16 = std::string("\xFF\xFE", 2) + std::string("v\0 \0" "1\0 \0" "2\0 \0" "3\0\n\0", 16);
  for (const std::string& text : {std::string("v 1 2 3\r\nv 1 2 3\rv 1 2 3\n\nv 1 2 3"),
                                  std::string("\xEF\xBB\xBFv 1 2 3\nv 1 2 3\nv 1 2 3\nv 1 2 3\n"),
                                  utf16 + utf16.substr(2) + utf16.substr(2) + utf16.substr(2)}) {
    const Parsed p = ParseMet(text);
    ASSERT_EQ(p.status, TReadStatus::Ok);
    ASSERT_EQ(p.model.groups[0].points.size(), 4u);
    EXPECT_EQ(p.model.groups[0].points[3].z, 3.0f);
  }
}

TEST(MetReader, MalformedRecordStopsTheReadingAndKeepsWhatWasRead) {
  const char* badLines[] = {
      "f 1 2",              // fewer than three references
      "f 1 2 4",            // a vertex the group does not have
      "f -1 2 3",           // relative numbers are not supported
      "f 1 2 x",            //
      "f 1/1 2/1 3/1",      // not the layout of the first face
      "v 1 2",              //
      "v 1e39 0 0",         // beyond the float range
      "v 1 2 3,4,5",        //
      "vt 1",               //
      "cor 1 2",            //
      "cor 1 0.5 0",        // integers once the first value is one
      "div x",              //
      "g b\ng c\nv 0 0 0\nf 1 2 3",  // face numbers of an earlier group
  };
  for (const char* bad : badLines) {
    const Parsed p = ParseMet(std::string(kTriangle) + "f 1 2 3\n" + bad + "\nv 7 7 7\n");
    EXPECT_EQ(p.status, TReadStatus::Malformed) << bad;
    EXPECT_EQ(p.messages, std::vector<std::string>{"File format not recognized."}) << bad;
    EXPECT_EQ(p.model.groups[0].points.size(), 3u) << bad;
    EXPECT_EQ(p.model.groups[0].faceRecords.size(), 1u) << bad;
  }
}

TEST(MetReader, SurvivesBadFiles) {
  std::string good = "g a\n";
  for (int i = 0; i < 40; ++i) good += "v " + std::to_string(i) + ".1234567890 -1,5 2e-3\ncor 1 2 3\n";
  for (int i = 1; i + 2 <= 40; ++i) good += "f " + std::to_string(i) + " " + std::to_string(i + 1) + " 1\n";
  std::vector<std::string> inputs = {"", "g", "g\n\n\n", std::string(1 << 20, '#'),
                                     "g " + std::string(1 << 20, 'n') + "\n" + kTriangle + "f 1 2 3\n",
                                     std::string(kTriangle) + "v " + std::string(1 << 20, '1') + " 0 0\n"};
  std::string longFace = std::string(kTriangle) + "f 1 2";
  size_t extraPairs = 0;
  for (; longFace.size() < (1 << 20); ++extraPairs) longFace += " 3 2";
  inputs.push_back(longFace);
  for (size_t cut = 0; cut < good.size(); cut += 7) inputs.push_back(good.substr(0, cut));  // truncated
  std::mt19937 random(11);
  for (int n = 0; n < 20; ++n) {
    std::string garbage(4096, '\0');
    for (char& c : garbage) c = static_cast<char>(random());
    inputs.push_back(garbage);
    inputs.push_back(good.substr(0, 300) + garbage);
  }
  for (const std::string& text : inputs) {
    const Parsed p = ParseMet(text);
    ASSERT_FALSE(p.model.groups.empty());
    ExpectFacesInsideTheirGroups(p.model);
    EXPECT_EQ(p.messages.size(), p.status == TReadStatus::Malformed ? 1u : 0u);
  }
  EXPECT_EQ(ParseMet("g").model.groups[0].name, "");
  EXPECT_EQ(ParseMet(inputs[4]).model.groups[0].name.size(), size_t{1} << 20);
  EXPECT_EQ(ParseMet(inputs[5]).status, TReadStatus::Malformed);
  EXPECT_EQ(ParseMet(longFace).model.groups[0].faceRecords.size(), 2 * extraPairs);
}

TEST(MetReader, GroupsThatHoldNothingShareOneRecord) {
  // A group without records never becomes an element; one record per "g" line
  // would cost a hundred times the line's bytes.
  std::string text;
  for (int i = 0; i < 100000; ++i) text += "g\ndiv 2\n";
  text += std::string("g real\n") + kTriangle + "f 1 2 3\ng\ng tail\ndiv 4\n";
  const Parsed p = ParseMet(text);
  ASSERT_EQ(p.status, TReadStatus::Ok);
  ASSERT_EQ(p.model.groups.size(), 2u);
  EXPECT_EQ(p.model.groups[0].name, "real");
  EXPECT_EQ(p.model.groups[0].level, 0);  // the level of the empty groups before it is not its own
  EXPECT_EQ(p.model.groups[0].faceRecords.size(), 1u);
  EXPECT_EQ(p.model.groups[1].name, "tail");
  EXPECT_EQ(p.model.groups[1].level, 4);
}

TEST(MetReader, UnreadableFiles) {
  CapturingMessageSink sink;
  TOBJModel model;
  EXPECT_EQ(ReadMet(model, "/nonexistent/dir/model.met"), TReadStatus::CannotOpen);
  EXPECT_EQ(ReadMet(model, "/"), TReadStatus::CannotOpen);
  EXPECT_TRUE(model.groups.empty());
}
