#include "io/ply_reader.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>

#include "io/test_files.h"
#include "model/messages.h"

namespace {

class PlyReaderTest : public ::testing::Test {
 protected:
  std::string Write(const std::string& contents) {
    const std::string path = dir.File("test.ply");
    WriteWholeFile(path, contents);
    return path;
  }
  bool Read(const std::string& contents) { return ReadPly(model, Write(contents)) == TReadStatus::Ok; }

  TempDir dir;
  TOBJModel model;
  CapturingMessageSink sink;
};

TEST_F(PlyReaderTest, BinaryFloatPositionsUcharColoursAndIntList) {
  // vertexBytes 15: colours from bytes 12, 13, 14; no alpha property gives alpha 0.
  LittleEndianBytes body;
  for (int i = 0; i < 3; ++i)
    body.Put<float>(1.0f * i).Put<float>(2.0f * i).Put<float>(-0.5f).Put<uint8_t>(10).Put<uint8_t>(20).Put<uint8_t>(
        static_cast<uint8_t>(200 + i));
  body.Put<uint8_t>(3).Put<int32_t>(0).Put<int32_t>(1).Put<int32_t>(2);
  ASSERT_TRUE(
      Read("ply\r\nformat binary_little_endian 1.0\r\nelement vertex 3\r\nproperty float x\r\n"
           "property float y\r\nproperty float z\r\nproperty uchar red\r\nproperty uchar green\r\n"
           "property uchar blue\r\nelement face 1\r\nproperty list uchar int vertex_indices\r\n"
           "end_header\r\n" +
           body.data))
      << ::testing::PrintToString(sink.Texts());
  ASSERT_EQ(model.groups.size(), 1u);
  const TOBJGroup& g = model.groups[0];
  EXPECT_EQ(g.name, "");
  ASSERT_EQ(g.points.size(), 3u);
  EXPECT_FLOAT_EQ(g.points[2].x, 2.0f);
  EXPECT_FLOAT_EQ(g.points[2].y, 4.0f);
  EXPECT_FLOAT_EQ(g.points[2].z, -0.5f);
  ASSERT_EQ(g.pointColors.size(), 3u);
  EXPECT_EQ(g.pointColors[1], (TRGBA{10, 20, 201, 0}));
  ASSERT_EQ(g.faceRecords.size(), 1u);
  EXPECT_EQ(g.faceRecords[0].vertex[0], 0);
  EXPECT_EQ(g.faceRecords[0].vertex[2], 2);
  EXPECT_TRUE(sink.entries.empty());
}

TEST_F(PlyReaderTest, BinaryNewerTypeNamesDoublePositionsAnywhereAndSkippedElements) {
  // A leading element of its own, a double position after a normal, 16-bit face counts and
  // a face property after the list: all read by their declared sizes.
  LittleEndianBytes body;
  body.Put<uint16_t>(7);  // element camera
  for (int i = 0; i < 4; ++i)
    body.Put<float>(9.0f)
        .Put<double>(1.5 * i)
        .Put<float>(2.0f)
        .Put<float>(3.0f)
        .Put<uint8_t>(1)
        .Put<uint8_t>(2)
        .Put<uint8_t>(3)
        .Put<uint8_t>(4);
  body.Put<uint16_t>(3).Put<uint32_t>(3).Put<uint32_t>(2).Put<uint32_t>(1).Put<float>(0.25f);
  body.Put<uint16_t>(3).Put<uint32_t>(0).Put<uint32_t>(1).Put<uint32_t>(2).Put<float>(0.5f);
  ASSERT_TRUE(
      Read("ply\nformat binary_little_endian 1.0\nelement camera 1\nproperty uint16 id\n"
           "element vertex 4\nproperty float32 nx\nproperty float64 x\nproperty float32 y\n"
           "property float32 z\nproperty uint8 red\nproperty uint8 green\nproperty uint8 blue\n"
           "property uint8 alpha\nelement face 2\nproperty list uint16 uint32 vertex_index\n"
           "property float32 quality\nend_header\n" +
           body.data))
      << ::testing::PrintToString(sink.Texts());
  const TOBJGroup& g = model.groups[0];
  ASSERT_EQ(g.points.size(), 4u);
  EXPECT_FLOAT_EQ(g.points[3].x, 4.5f);
  EXPECT_FLOAT_EQ(g.points[3].z, 3.0f);
  EXPECT_EQ(g.pointColors[3], (TRGBA{1, 2, 3, 4}));
  ASSERT_EQ(g.faceRecords.size(), 2u);
  EXPECT_EQ(g.faceRecords[0].vertex[0], 3);
  EXPECT_EQ(g.faceRecords[1].vertex[2], 2);
}

TEST_F(PlyReaderTest, AsciiKeepsColoursAndSkipsOtherValues) {
  ASSERT_TRUE(
      Read("ply\nformat ascii 1.0\ncomment made by hand\nelement vertex 3\nproperty float x\n"
           "property float y\nproperty float z\nproperty float nx\nproperty uchar red\n"
           "property uchar green\nproperty uchar blue\nproperty float extra\nelement face 1\n"
           "property list uchar int vertex_indices\nend_header\n"
           "0 0 0 1 255 0 127.5 9\n1.5 -2 3e2 1 1 2 3 9\n0 1 0 1 4 5 6 9\n3 2 1 0\n"))
      << ::testing::PrintToString(sink.Texts());
  const TOBJGroup& g = model.groups[0];
  ASSERT_EQ(g.points.size(), 3u);
  EXPECT_FLOAT_EQ(g.points[1].x, 1.5f);
  EXPECT_FLOAT_EQ(g.points[1].z, 300.0f);
  EXPECT_EQ(g.pointColors[0], (TRGBA{255, 0, 128, 0}));  // 127.5 rounds to the even 128
  EXPECT_EQ(g.pointColors[2], (TRGBA{4, 5, 6, 0}));
  EXPECT_EQ(g.faceRecords[0].vertex[0], 2);
  EXPECT_EQ(g.faceRecords[0].vertex[2], 0);
}

struct RefusedCase {
  const char* name;
  std::string file;
  std::string message;
};

std::string AsciiHeader(const std::string& counts) {
  return "ply\nformat ascii 1.0\nelement vertex " + counts.substr(0, counts.find(' ')) +
         "\nproperty float x\nproperty float y\nproperty float z\nelement face " + counts.substr(counts.find(' ') + 1) +
         "\nproperty list uchar int vertex_indices\nend_header\n";
}

std::string BinaryHeader(const std::string& format, int vertices, int faces) {
  return "ply\nformat " + format + " 1.0\nelement vertex " + std::to_string(vertices) +
         "\nproperty float x\nproperty float y\nproperty float z\nelement face " + std::to_string(faces) +
         "\nproperty list uchar int vertex_indices\nend_header\n";
}

std::string BinaryTriangles(int vertices, std::initializer_list<std::initializer_list<int32_t>> faces) {
  LittleEndianBytes b;
  for (int i = 0; i < vertices * 3; ++i) b.Put<float>(0.0f);
  for (auto f : faces) {
    b.Put<uint8_t>(static_cast<uint8_t>(f.size()));
    for (int32_t v : f) b.Put<int32_t>(v);
  }
  return b.data;
}

const std::string kPoints = "0 0 0\n1 0 0\n0 1 0\n";

TEST_F(PlyReaderTest, RefusedFilesLeaveTheModelEmptyWithTheirMessage) {
  const RefusedCase cases[] = {
      {"not ply", "PLX\nformat ascii 1.0\n", "Not a PLY file"},
      {"points only", AsciiHeader("3 0") + kPoints, "Not a mesh-based PLY file (perhaps point based)"},
      {"no end of header", "ply\nformat ascii 1.0\nelement vertex 3\n",
       "Not a mesh-based PLY file (perhaps point based)"},
      {"ascii quad", AsciiHeader("4 1") + kPoints + "0 0 1\n4 0 1 2 3\n",
       "Only able to read triangle-based PLY files. "},
      {"ascii edge", AsciiHeader("3 1") + kPoints + "2 0 1\n",
       "File does not have the expected number of triangle-based faces "},
      {"binary quad", BinaryHeader("binary_little_endian", 4, 1) + BinaryTriangles(4, {{0, 1, 2, 3}}),
       "Only able to read triangle-based PLY files. Index: 0 Header Bytes 169 bytesPerVertex: 12 faces: 4"},
      {"unknown format", BinaryHeader("zipped", 3, 1), "Unsupported PLY format : \"zipped\""},
      {"float colours",
       "ply\nformat ascii 1.0\nelement vertex 3\nproperty float x\nproperty float y\n"
       "property float z\nproperty float red\nelement face 1\n"
       "property list uchar int vertex_indices\nend_header\n",
       "Expected colors of data type \"UCHAR\", not \"property float red\""},
      {"unknown type", "ply\nformat ascii 1.0\nelement vertex 3\nproperty float x\nproperty int64 y\n",
       "Unexpected data type : \"int64\""},
      {"short binary vertex",
       "ply\nformat binary_little_endian 1.0\nelement vertex 3\nproperty short x\n"
       "property short y\nproperty short z\nelement face 1\n"
       "property list uchar int vertex_indices\nend_header\n",
       "Binary PLY files should have at least 12 bytes per vertex"},
      {"binary counts beyond the file",
       BinaryHeader("binary_little_endian", 1000000, 2000000) + BinaryTriangles(3, {{0, 1, 2}}),
       "PLY file is shorter than the vertices and faces its header declares"},
      {"ascii counts beyond the file", AsciiHeader("3 1000") + kPoints + "3 0 1 2\n",
       "PLY file is shorter than the vertices and faces its header declares"},
      {"overflowing counts", AsciiHeader("18446744073709551615 6148914691236517206") + kPoints,
       "PLY file is shorter than the vertices and faces its header declares"},
      {"binary index out of range", BinaryHeader("binary_little_endian", 3, 1) + BinaryTriangles(3, {{0, 1, 3}}),
       "PLY face 0 uses vertex 3, outside the 3 vertices of the file"},
      {"ascii negative index", AsciiHeader("3 1") + kPoints + "3 0 -1 2\n",
       "PLY face 0 uses vertex -1, outside the 3 vertices of the file"},
      {"ascii malformed number", AsciiHeader("3 1") + "0 0 0\n1 x 0\n0 1 0\n3 0 1 2\n",
       "PLY file has malformed data in line 11"},
      {"ascii nan position", AsciiHeader("3 1") + "0 0 0\n1 nan 0\n0 1 0\n3 0 1 2\n",
       "PLY file has a position that is not a finite number in line 11"},
      {"ascii infinite position", AsciiHeader("3 1") + "0 0 0\n1 0 0\n0 1 -inf\n3 0 1 2\n",
       "PLY file has a position that is not a finite number in line 12"},
      {"ascii position beyond float", AsciiHeader("3 1") + "1e39 0 0\n1 0 0\n0 1 0\n3 0 1 2\n",
       "PLY file has a position that is not a finite number in line 10"},
      {"binary nan position",
       BinaryHeader("binary_little_endian", 3, 1) +
           LittleEndianBytes().Put<float>(0).Put<float>(0).Put<float>(0).Put<float>(1).Put<float>(NAN).Put<float>(0).data +
           BinaryTriangles(1, {{0, 1, 2}}),
       "PLY file has a position that is not a finite number in vertex 1"},
      {"binary double beyond float",
       "ply\nformat binary_little_endian 1.0\nelement vertex 3\nproperty double x\nproperty double y\n"
       "property double z\nelement face 1\nproperty list uchar int vertex_indices\nend_header\n" +
           LittleEndianBytes().Put<double>(0).Put<double>(0).Put<double>(0).Put<double>(0).Put<double>(0).Put<double>(0).data +
           LittleEndianBytes().Put<double>(1e300).Put<double>(0).Put<double>(0).data + BinaryTriangles(0, {{0, 1, 2}}),
       "PLY file has a position that is not a finite number in vertex 2"},
  };
  for (const RefusedCase& c : cases) {
    SCOPED_TRACE(c.name);
    sink.entries.clear();
    model.groups.assign(2, TOBJGroup{});
    EXPECT_FALSE(Read(c.file));
    EXPECT_TRUE(model.groups.empty());
    ASSERT_EQ(sink.entries.size(), 1u);
    EXPECT_TRUE(sink.entries[0].text.starts_with(c.message)) << sink.entries[0].text;
  }
}

TEST_F(PlyReaderTest, TruncatedFilesAreRefusedWithOneMessage) {
  const std::string files[] = {
      BinaryHeader("binary_little_endian", 3, 2) + BinaryTriangles(3, {{0, 1, 2}, {2, 1, 0}}),
      AsciiHeader("3 2") + kPoints + "3 0 1 2\n3 2 1 0\n",
  };
  for (const std::string& file : files) {
    for (size_t length = 0; length < file.size() - 1; ++length) {
      SCOPED_TRACE(length);
      sink.entries.clear();
      EXPECT_FALSE(Read(file.substr(0, length)));
      EXPECT_TRUE(model.groups.empty());
      EXPECT_EQ(sink.entries.size(), 1u);
    }
  }
}

TEST_F(PlyReaderTest, BigEndianReadsAsLittleEndian) {
  // One file in both byte orders: int16 x, double y, float z, colours, a
  // uint16-counted list of uint32 indices and a float after it.
  const auto file = [](bool big) {
    LittleEndianBytes body;
    const auto put = [&](auto value) {
      char b[sizeof value];
      std::memcpy(b, &value, sizeof value);
      if (big) std::reverse(b, b + sizeof value);
      body.data.append(b, sizeof value);
    };
    for (int i = 0; i < 3; ++i) {
      put(static_cast<int16_t>(-i)), put(0.25 * i), put(1.5f), put(uint8_t{7}), put(static_cast<uint8_t>(i));
      put(uint8_t{9});
    }
    put(uint16_t{3}), put(uint32_t{2}), put(uint32_t{0}), put(uint32_t{1}), put(0.5f);
    return std::string("ply\nformat ") + (big ? "binary_big_endian" : "binary_little_endian") +
           " 1.0\nelement vertex 3\nproperty short x\nproperty double y\nproperty float z\n"
           "property uchar red\nproperty uchar green\nproperty uchar blue\nelement face 1\n"
           "property list ushort uint vertex_indices\nproperty float quality\nend_header\n" +
           body.data;
  };
  ASSERT_TRUE(Read(file(true))) << ::testing::PrintToString(sink.Texts());
  const TOBJGroup big = model.groups[0];
  ASSERT_TRUE(Read(file(false)));
  const TOBJGroup& little = model.groups[0];
  ASSERT_EQ(big.points.size(), 3u);
  for (size_t i = 0; i < 3; ++i) {
    EXPECT_EQ(big.points[i].x, -static_cast<float>(i));
    EXPECT_EQ(big.points[i].y, 0.25f * static_cast<float>(i));
    EXPECT_EQ(big.points[i].z, little.points[i].z);
    EXPECT_EQ(big.pointColors[i], little.pointColors[i]);
  }
  ASSERT_EQ(big.faceRecords.size(), 1u);
  for (int k = 0; k < 3; ++k) EXPECT_EQ(big.faceRecords[0].vertex[k], little.faceRecords[0].vertex[k]);
  EXPECT_EQ(big.faceRecords[0].vertex[0], 2);
}

TEST_F(PlyReaderTest, ElementsWithoutPropertiesAreSkippedAtOnceWhateverTheirCount) {
  // Their records hold nothing: a count near 2^64 must neither spin nor be refused.
  const std::string empty = "element nothing 18446744073709551615\n";
  const std::string binary = "ply\nformat binary_little_endian 1.0\n" + empty +
                             "element vertex 3\nproperty float x\nproperty float y\nproperty float z\n" + empty +
                             "element face 1\nproperty list uchar int vertex_indices\nend_header\n" +
                             BinaryTriangles(3, {{0, 1, 2}});
  const std::string ascii = "ply\nformat ascii 1.0\n" + empty + AsciiHeader("3 1").substr(21) + kPoints + "3 0 1 2\n";
  for (const std::string& file : {binary, ascii}) {
    ASSERT_TRUE(Read(file)) << ::testing::PrintToString(sink.Texts());
    EXPECT_EQ(model.groups[0].points.size(), 3u);
    EXPECT_EQ(model.groups[0].faceRecords.size(), 1u);
  }
}

TEST_F(PlyReaderTest, ColoursThatAreNotFiniteReadAsZero) {
  ASSERT_TRUE(
      Read("ply\nformat ascii 1.0\nelement vertex 3\nproperty float x\nproperty float y\nproperty float z\n"
           "property uchar red\nproperty uchar green\nproperty uchar blue\nelement face 1\n"
           "property list uchar int vertex_indices\nend_header\n"
           "0 0 0 nan inf -inf\n1 0 0 1e300 -1e300 300\n0 1 0 1 2 3\n3 0 1 2\n"))
      << ::testing::PrintToString(sink.Texts());
  EXPECT_EQ(model.groups[0].pointColors[0], (TRGBA{0, 0, 0, 0}));
  EXPECT_EQ(model.groups[0].pointColors[1], (TRGBA{255, 0, 255, 0}));
}

TEST_F(PlyReaderTest, MissingFileFailsSilentlyForTheLoader) {
  EXPECT_EQ(ReadPly(model, dir.File("no_such.ply")), TReadStatus::CannotOpen);
  EXPECT_TRUE(sink.entries.empty());
}

}  // namespace
