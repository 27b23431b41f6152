#include "io/stl_reader.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <vector>

#include "model/messages.h"

namespace {

using Corner = std::array<float, 3>;

// A binary STL of the triangles; `declared` overrides the count in the header.
std::string BinaryStl(const std::vector<std::array<Corner, 3>>& triangles, int64_t declared = -1,
                      const std::string& header = "binary") {
  std::string bytes = header;
  bytes.resize(80, '\0');
  const uint32_t count = static_cast<uint32_t>(declared < 0 ? static_cast<int64_t>(triangles.size()) : declared);
  bytes.append(reinterpret_cast<const char*>(&count), 4);
  for (const auto& t : triangles) {
    const float normal[3] = {0, 0, 1};
    bytes.append(reinterpret_cast<const char*>(normal), 12);
    for (const Corner& c : t) bytes.append(reinterpret_cast<const char*>(c.data()), 12);
    bytes.append(2, '\0');
  }
  return bytes;
}

std::vector<int32_t> Vertices(const TOBJGroup& g) {
  std::vector<int32_t> v;
  for (const TOBJFace& f : g.faceRecords) v.insert(v.end(), f.vertex, f.vertex + 3);
  return v;
}

class StlReaderTest : public ::testing::Test {
 protected:
  TReadStatus Parse(const std::string& bytes) { return ParseStl(model, bytes); }
  TOBJModel model;
  CapturingMessageSink sink;
};

TEST_F(StlReaderTest, BinaryCornersWeldWhereTheirPositionsAreExactlyEqual) {
  // A square of two triangles; -0 is 0; a corner 1e-7 away stays apart. The header may say "solid".
  const std::vector<std::array<Corner, 3>> triangles = {
      {{{0, 0, 0}, {1, 0, 0}, {1, 1, 0}}},
      {{{-0.0f, 0, 0}, {1, 1, 0}, {0, 1, 0}}},
      {{{0, 1, 0}, {1, 1, 0}, {0, 1, 1e-7f}}},
  };
  ASSERT_EQ(Parse(BinaryStl(triangles, -1, "solid in a binary header")), TReadStatus::Ok)
      << ::testing::PrintToString(sink.Texts());
  ASSERT_EQ(model.groups.size(), 1u);
  const TOBJGroup& g = model.groups[0];
  EXPECT_EQ(g.name, "");
  EXPECT_EQ(Vertices(g), (std::vector<int32_t>{0, 1, 2, 0, 2, 3, 3, 2, 4}));
  ASSERT_EQ(g.points.size(), 5u);
  EXPECT_EQ(g.points[4].z, 1e-7f);
}

TEST_F(StlReaderTest, AsciiSolidsOfAnyCaseAndLineEnd) {
  const std::string text =
      "  solid  my part \r\n"
      "facet normal 0 0 1\r\n outer loop\r\n  vertex 0 0 0\r\n  vertex 1,5 0 0\r\n  vertex 0 1 0\r\n"
      " endloop\r\nendfacet\r\nendsolid my part\r\n"
      "SOLID second\nFACET NORMAL 0 0 1 OUTER LOOP VERTEX 0 1 0 VERTEX 1.5 0 0 VERTEX 2 2 -3e-2\n"
      "ENDLOOP ENDFACET\nENDSOLID";
  ASSERT_EQ(Parse(text), TReadStatus::Ok) << ::testing::PrintToString(sink.Texts());
  const TOBJGroup& g = model.groups[0];
  EXPECT_EQ(g.name, "my part");
  EXPECT_EQ(Vertices(g), (std::vector<int32_t>{0, 1, 2, 2, 1, 3}));
  ASSERT_EQ(g.points.size(), 4u);
  EXPECT_EQ(g.points[1].x, 1.5f);
  EXPECT_EQ(g.points[3].z, -0.03f);
}

TEST_F(StlReaderTest, RefusedFilesLeaveTheModelEmptyWithTheirMessage) {
  const std::array<Corner, 3> triangle = {{{0, 0, 0}, {1, 0, 0}, {0, 1, 0}}};
  std::string withNan = BinaryStl({triangle, triangle});
  const float nan = NAN;
  std::memcpy(withNan.data() + 84 + 50 + 12 + 16, &nan, 4);  // triangle 1, corner 1, y
  const std::string facet = "facet normal 0 0 1\nouter loop\nvertex 0 0 0\nvertex 1 0 0\nvertex 0 1 0\nendloop\nendfacet\n";
  const struct {
    const char* name;
    std::string file;
    std::string message;
  } cases[] = {
      {"binary count too large", BinaryStl({triangle}, 2),
       "Binary STL file declares 2 triangles (100 bytes) but holds 50 bytes of triangles"},
      {"binary count too small", BinaryStl({triangle, triangle}, 1),
       "Binary STL file declares 1 triangles (50 bytes) but holds 100 bytes of triangles"},
      {"binary count beyond 32 bits of bytes", BinaryStl({triangle}, 0xFFFFFFFF),
       "Binary STL file declares 4294967295 triangles"},
      {"too short for anything", "sol", "Not an STL file"},
      {"binary nan", withNan, "STL file has a position that is not a finite number in triangle 1"},
      {"ascii nan", "solid x\n" + facet + "facet normal 0 0 1\nouter loop\nvertex nan 0 0\n",
       "STL file has malformed data in line 11"},
      {"ascii quad", "solid x\nfacet normal 0 0 1\nouter loop\nvertex 0 0 0\nvertex 1 0 0\nvertex 0 1 0\nvertex 1 1 0\n",
       "STL file has malformed data in line 7"},
      {"ascii without endsolid", "solid x\n" + facet, "STL file ends before its \"endsolid\""},
      {"ascii with more after endsolid", "solid x\n" + facet + "endsolid x\nfacet", "STL file has malformed data in line 10"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    sink.entries.clear();
    model.groups.assign(2, TOBJGroup{});
    EXPECT_EQ(Parse(c.file), TReadStatus::Malformed);
    EXPECT_TRUE(model.groups.empty());
    ASSERT_EQ(sink.entries.size(), 1u);
    EXPECT_TRUE(sink.entries[0].text.starts_with(c.message)) << sink.entries[0].text;
  }
}

TEST_F(StlReaderTest, MissingFileFailsSilentlyForTheLoader) {
  EXPECT_EQ(ReadStl(model, "/nonexistent/x.stl"), TReadStatus::CannotOpen);
  EXPECT_TRUE(sink.entries.empty());
}

}  // namespace
