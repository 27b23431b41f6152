#include "io/obj_reader.h"

#include <gtest/gtest.h>

#include "model/messages.h"

namespace {

std::vector<int32_t> Vertices(const TOBJGroup& g) {
  std::vector<int32_t> v;
  for (const TOBJFace& f : g.faceRecords) v.insert(v.end(), f.vertex, f.vertex + 3);
  return v;
}

std::vector<int32_t> Textures(const TOBJGroup& g) {
  std::vector<int32_t> t;
  for (const TOBJFace& f : g.faceRecords) t.insert(t.end(), f.texture, f.texture + 3);
  return t;
}

class ObjReaderTest : public ::testing::Test {
 protected:
  TOBJModel model;
  CapturingMessageSink sink;
};

TEST_F(ObjReaderTest, DifferencesFromMet) {
  // Initial group name, "div" ignored, integer colours with alpha 0, runs of
  // blanks between references, the vertex//normal layout with normals dropped.
  ASSERT_EQ(ParseObj(model,
                     "div 3\nv 0 0 0\nv 1 0 0\nv 0 1 0\nv 1 1 0\nvn 0 0 1\n"
                     "f  1//1 2//1  3//1\nf 2//1 4//1 3//1 \ncor 10 20 30\n"),
            TReadStatus::Ok);
  ASSERT_EQ(model.groups.size(), 1u);
  const TOBJGroup& g = model.groups[0];
  EXPECT_EQ(g.name, "Unnamed group");
  EXPECT_EQ(g.level, 0);
  EXPECT_EQ(Vertices(g), (std::vector<int32_t>{0, 1, 2, 1, 3, 2}));
  ASSERT_EQ(g.pointColors.size(), 1u);
  EXPECT_EQ(g.pointColors[0], (TRGBA{10, 20, 30, 0}));
  EXPECT_TRUE(sink.entries.empty());
}

TEST_F(ObjReaderTest, TextureNumbersOfTheVertexTextureNormalLayout) {
  ASSERT_EQ(ParseObj(model, "v 0 0 0\nv 1 0 0\nv 0 1 0\nvt 0 0\nvt 1 0\nvt 0 1\nvn 0 0 1\nf 1/3/1 2/1/1 3/2/1\n"),
            TReadStatus::Ok);
  EXPECT_EQ(Textures(model.groups[0]), (std::vector<int32_t>{2, 0, 1}));
  EXPECT_EQ(model.groups[0].texCoords.size(), 3u);
}

TEST_F(ObjReaderTest, RelativeNumbersCountBackFromTheLastOneRead) {
  ASSERT_EQ(ParseObj(model,
                     "g a\nv 0 0 0\nv 1 0 0\nv 0 1 0\nvt 0 0\nvt 1 0\nvn 0 0 1\n"
                     "f -3/-2/-1 -2/-1/-1 -1/-2/-1\n"
                     "g b\nv 5 5 5\nv 6 5 5\nv 5 6 5\nvt 0 1\nf -1/-1/-1 -2/-3/-1 3/1/1\n"),
            TReadStatus::Ok)
      << ::testing::PrintToString(sink.Texts());
  ASSERT_EQ(model.groups.size(), 2u);
  EXPECT_EQ(Vertices(model.groups[0]), (std::vector<int32_t>{0, 1, 2}));
  EXPECT_EQ(Textures(model.groups[0]), (std::vector<int32_t>{0, 1, 0}));
  // Group b's faces use a vertex of a: it is given the vertices its faces use.
  EXPECT_EQ(Vertices(model.groups[1]), (std::vector<int32_t>{3, 4, 5}));
  ASSERT_EQ(model.groups[1].points.size(), 3u);
  EXPECT_EQ(model.groups[1].points[0].y, 6.0f);
  EXPECT_EQ(model.groups[1].points[2].x, 0.0f);
  // Before the first one read: not a vertex.
  EXPECT_EQ(ParseObj(model, "v 0 0 0\nv 1 0 0\nv 0 1 0\nf -4 -2 -1\n"), TReadStatus::Malformed);
}

TEST_F(ObjReaderTest, MalformedRecordsStopTheReadingKeepingEarlierGroups) {
  const char* const cases[] = {
      "g a\nv 0 0 0\nv 1 0 0\nv 0 1 0\nf 1 2 3\ng b\ncor 0.5 1 0\n",  // fraction colours
      "g a\nv 0 0 0\nv 1 0 0\nv 0 1 0\nf 1 2 3\ng b\nf 1 2 4\n",      // vertex beyond the file's
      "g a\nv 0 0 0\nv 1 0 0\nv 0 1 0\nf 1 2 3\ng b\nf 1 2\n",        // two references
  };
  for (const char* text : cases) {
    SCOPED_TRACE(text);
    sink.entries.clear();
    EXPECT_EQ(ParseObj(model, text), TReadStatus::Malformed);
    EXPECT_EQ(sink.Texts(), std::vector<std::string>{"File format not recognized."});
    ASSERT_GE(model.groups.size(), 1u);
    EXPECT_EQ(model.groups[0].faceRecords.size(), 1u);
  }
}

TEST_F(ObjReaderTest, GroupsThatListTheirVerticesApartBecomeElementsOfTheVerticesTheyUse) {
  // All vertices and texture coordinates first (the first "g" renames the
  // group holding them), then groups of faces only, as other exporters write them.
  ASSERT_EQ(ParseObj(model,
                     "v 0 0 0\nv 1 0 0\nv 0 1 0\nv 1 1 0\nv 2 2 2\nvt 0 0\nvt 1 1\n"
                     "g first\nf 1/1 2/2 3/1\ng second\nf 4/2 3/1 2/2\nf 4/2 2/2 5/1\n"),
            TReadStatus::Ok);
  ASSERT_EQ(model.groups.size(), 2u);
  const TOBJGroup& first = model.groups[0];
  EXPECT_EQ(first.name, "first");
  EXPECT_EQ(first.points.size(), 3u);  // of its five, the second group uses some
  EXPECT_EQ(first.texCoords.size(), 2u);
  EXPECT_EQ(Vertices(first), (std::vector<int32_t>{0, 1, 2}));
  const TOBJGroup& second = model.groups[1];
  ASSERT_EQ(second.points.size(), 4u);  // vertices 4, 3, 2, 5 in first-use order
  EXPECT_FLOAT_EQ(second.points[0].x, 1.0f);
  EXPECT_FLOAT_EQ(second.points[1].y, 1.0f);
  EXPECT_FLOAT_EQ(second.points[3].z, 2.0f);
  // Numbered after the points the group before holds now.
  EXPECT_EQ(Vertices(second), (std::vector<int32_t>{3, 4, 5, 3, 5, 6}));
  ASSERT_EQ(second.texCoords.size(), 2u);  // vt 2, vt 1
  EXPECT_FLOAT_EQ(second.texCoords[0].u, 1.0f);
  EXPECT_EQ(Textures(second), (std::vector<int32_t>{2, 3, 2, 2, 2, 3}));
}

TEST_F(ObjReaderTest, GroupsWithTheirOwnVerticesAreReadAsWritten) {
  // As this program writes them: every group carries its vertices and faces,
  // numbered across the file, after a group of points only.
  ASSERT_EQ(ParseObj(model,
                     "g loose\nv 9 9 9\ng a\nv 0 0 0\nv 1 0 0\nv 0 1 0\nf 2 3 4\n"
                     "g b\nv 5 0 0\nv 6 0 0\nv 7 0 0\ncor 1 2 3\ncor 4 5 6\ncor 7 8 9\nf 7 6 5\n"),
            TReadStatus::Ok);
  ASSERT_EQ(model.groups.size(), 3u);
  EXPECT_EQ(model.groups[0].points.size(), 1u);
  EXPECT_EQ(Vertices(model.groups[1]), (std::vector<int32_t>{1, 2, 3}));
  const TOBJGroup& b = model.groups[2];
  EXPECT_FLOAT_EQ(b.points[0].x, 5.0f);
  EXPECT_EQ(b.pointColors.size(), 3u);
  EXPECT_EQ(Vertices(b), (std::vector<int32_t>{6, 5, 4}));
}

}  // namespace
