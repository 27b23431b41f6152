#include "io/off_reader.h"

#include <gtest/gtest.h>

#include "model/messages.h"

namespace {

std::vector<int32_t> Vertices(const TOBJGroup& g) {
  std::vector<int32_t> v;
  for (const TOBJFace& f : g.faceRecords) v.insert(v.end(), f.vertex, f.vertex + 3);
  return v;
}

class OffReaderTest : public ::testing::Test {
 protected:
  TReadStatus Parse(const std::string& text) { return ParseOff(model, text); }
  TOBJModel model;
  CapturingMessageSink sink;
};

TEST_F(OffReaderTest, CommentsColoursAndPolygons) {
  // Integer and fraction colours with and without alpha, a quad and a pentagon
  // split into fans, a face colour, comments anywhere, CR and CR LF line ends.
  const std::string text =
      "# a painted pyramid\nCOFF\n\n5 2 0 # vertices, faces, edges\r\n"
      "0 0 0 255 0 0 255\r"
      "1 0 0   0 128 64  # integer colour, alpha 255\n"
      "1 1 0 0.5 1 0 0.5\n"
      "0 1 0 0 0 0 1\n"
      "0.5 0.5 1,5 1 1 1\n"
      "4 0 1 2 3 10 20 30\n"
      "# the sides in one polygon\n"
      "5 0 1 4 2 3\n";
  ASSERT_EQ(Parse(text), TReadStatus::Ok) << ::testing::PrintToString(sink.Texts());
  ASSERT_EQ(model.groups.size(), 1u);
  const TOBJGroup& g = model.groups[0];
  EXPECT_EQ(g.name, "");
  ASSERT_EQ(g.points.size(), 5u);
  EXPECT_EQ(g.points[4].z, 1.5f);
  EXPECT_EQ(Vertices(g), (std::vector<int32_t>{0, 1, 2, 0, 2, 3, 0, 1, 4, 0, 4, 2, 0, 2, 3}));
  ASSERT_EQ(g.pointColors.size(), 5u);
  EXPECT_EQ(g.pointColors[0], (TRGBA{255, 0, 0, 255}));
  EXPECT_EQ(g.pointColors[1], (TRGBA{0, 128, 64, 255}));
  EXPECT_EQ(g.pointColors[2], (TRGBA{128, 255, 0, 128}));  // 127.5 rounds to the even 128
  EXPECT_EQ(g.pointColors[3], (TRGBA{0, 0, 0, 255}));      // fractions: no integer above 1
  EXPECT_EQ(g.pointColors[4], (TRGBA{255, 255, 255, 255}));
}

TEST_F(OffReaderTest, HeaderFormsAndSkippedVertexData) {
  const struct {
    const char* name;
    std::string text;
  } cases[] = {
      {"counts on the keyword line", "OFF 3 1 3\n0 0 0\n1 0 0\n0 1 0\n3 0 1 2\n"},
      {"no keyword", "3 1\n0 0 0\n1 0 0\n0 1 0\n3 0 1 2\n"},
      {"normals and texture coordinates", "STNOFF\n3 1 0\n0 0 0 0 0 1 0 0\n1 0 0 0 0 1 1 0\n0 1 0 0 0 1 0 1\n3 0 1 2\n"},
      {"extra values without a colour keyword", "OFF\n3 1 0\n0 0 0 9 9 9\n1 0 0 9\n0 1 0\n3 0 1 2 1 1 1 1\n"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    ASSERT_EQ(Parse(c.text), TReadStatus::Ok) << ::testing::PrintToString(sink.Texts());
    const TOBJGroup& g = model.groups[0];
    ASSERT_EQ(g.points.size(), 3u);
    EXPECT_EQ(g.points[2].y, 1.0f);
    EXPECT_TRUE(g.pointColors.empty());
    EXPECT_EQ(Vertices(g), (std::vector<int32_t>{0, 1, 2}));
  }
}

TEST_F(OffReaderTest, RefusedFilesLeaveTheModelEmptyWithTheirMessage) {
  const std::string points = "0 0 0\n1 0 0\n0 1 0\n";
  const struct {
    const char* name;
    std::string text;
    std::string message;
  } cases[] = {
      {"empty", "", "Not an OFF file"},
      {"another keyword", "PLY\n3 1 0\n", "Not an OFF file"},
      {"binary", "OFF BINARY\n", "Binary OFF files cannot be read"},
      {"four dimensions", "4OFF\n3 1 0\n", "Only OFF files of 3-D vertices can be read"},
      {"points only", "OFF\n3 0 0\n" + points, "Not a mesh-based OFF file (perhaps point based)"},
      {"negative count", "OFF\n-3 1 0\n", "OFF file has malformed data in line 2"},
      {"vertex not a number", "OFF\n3 1 0\n0 0 0\n1 nan 0\n0 1 0\n3 0 1 2\n", "OFF file has malformed data in line 4"},
      {"colour of two values", "COFF\n3 1 0\n0 0 0 1 1\n", "OFF file has malformed data in line 3"},
      {"face beyond the vertices", "OFF\n3 1 0\n" + points + "3 0 1 3\n",
       "OFF face in line 6 uses vertex 3, outside the 3 vertices of the file"},
      {"negative vertex", "OFF\n3 1 0\n" + points + "3 0 -1 2\n", "OFF face in line 6 uses vertex -1"},
      {"edge", "OFF\n3 1 0\n" + points + "2 0 1\n", "OFF face in line 6 has fewer than 3 corners"},
      {"face shorter than its count", "OFF\n3 1 0\n" + points + "4 0 1 2\n", "OFF file has malformed data in line 6"},
      {"counts beyond the file", "OFF\n3 2 0\n" + points + "3 0 1 2\n",
       "OFF file is shorter than the vertices and faces its header declares"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    sink.entries.clear();
    model.groups.assign(2, TOBJGroup{});
    EXPECT_EQ(Parse(c.text), TReadStatus::Malformed);
    EXPECT_TRUE(model.groups.empty());
    ASSERT_EQ(sink.entries.size(), 1u);
    EXPECT_TRUE(sink.entries[0].text.starts_with(c.message)) << sink.entries[0].text;
  }
}

}  // namespace
