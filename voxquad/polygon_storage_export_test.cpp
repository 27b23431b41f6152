#include "polygon_storage_export.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "polygon_storage.h"
#include "test_files.h"

namespace voxquad {

namespace {

// Grid positions with the transform world = p * 0.5 + (1, 2, 3): a triangle, a quad, a pentagon,
// an empty polygon and an unused vertex.
PolygonStorage sample()
{
    PolygonStorage s;
    for (const vec3& p : {vec3(0, 0, 0), vec3(2, 0, 0), vec3(2, 2, 0), vec3(0, 2, 0), vec3(1, 3, 0), vec3(-3, 1, 7)})
        s.addVertex(Vertex(p));
    s.Polygons = {{0, 1, 2}, {0, 1, 2, 3}, {0, 1, 2, 4, 3}, {}};
    s.scale = 0.5f;
    s.offset = vec3(1, 2, 3);
    return s;
}

std::vector<std::string> splitCrLf(const std::string& text)
{
    std::vector<std::string> lines;
    std::size_t pos = 0;
    for (std::size_t end; (end = text.find("\r\n", pos)) != std::string::npos; pos = end + 2)
        lines.push_back(text.substr(pos, end - pos));
    EXPECT_EQ(pos, text.size()) << "every line ends in CR LF";
    return lines;
}

}  // namespace

TEST(ExportPLY, WritesEveryPolygonInWorldUnitsAndOnlyUsedVertices)
{
    TestFolder folder;
    PolygonStorage s = sample();
    ASSERT_TRUE(PolygonStorageExportPLY().write(folder.path("out.ply").c_str(), s));
    const std::vector<std::string> expected = {
        "ply", "format ascii 1.0", "element vertex 5", "property float32 x", "property float32 y",
        "property float32 z", "element face 4", "property list uint8 int32 vertex_indices", "end_header",
        "1.000000 2.000000 3.000000", "2.000000 2.000000 3.000000", "2.000000 3.000000 3.000000",
        "1.000000 3.000000 3.000000", "1.500000 3.500000 3.000000",
        "3 0 1 2", "4 0 1 2 3", "5 0 1 2 4 3", "0",
    };
    EXPECT_EQ(splitCrLf(readFile(folder.path("out.ply"))), expected);
}

TEST(ExportOBJ, LeavesOutPolygonsWithFewerThanThreeCornersAndUnusedVertices)
{
    TestFolder folder;
    PolygonStorage s = sample();
    s.Polygons.push_back({4, 5});  // vertex 5 is used by this polygon only, which is not written
    s.Polygons.front() = {0, 2, 1};
    s.Polygons.insert(s.Polygons.begin(), VertexIDList{});
    s.Vertices.insert(s.Vertices.begin(), Vertex(vec3(9, 9, 9)));  // unused: the numbering closes up
    for (VertexIDList& polygon : s.Polygons)
        for (int& id : polygon)
            ++id;
    ASSERT_TRUE(PolygonStorageExportOBJ().write(folder.path("out.obj").c_str(), s));
    const std::vector<std::string> expected = {
        "g obj1",
        "v 1.000000 2.000000 3.000000", "v 2.000000 2.000000 3.000000", "v 2.000000 3.000000 3.000000",
        "v 1.000000 3.000000 3.000000", "v 1.500000 3.500000 3.000000",
        "f 1 3 2", "f 1 2 3 4", "f 1 2 3 5 4",
    };
    EXPECT_EQ(splitCrLf(readFile(folder.path("out.obj"))), expected);
}

// Vertex 4 belongs to the pentagon only, which the deck leaves out, and vertex 5 to nothing.
TEST(ExportPC, FixedColumnsOfTheShellDeck)
{
    TestFolder folder;
    PolygonStorage s = sample();
    s.Vertices[3].position = vec3(2469134.0f, 2, 0);  // %g switches to an exponent
    ASSERT_TRUE(PolygonStorageExportPC().write(folder.path("out.pc").c_str(), s));
    std::vector<std::string> lines = splitCrLf(readFile(folder.path("out.pc")));
    const std::vector<std::string> expected = {
        "MATER /    13011     101 7.850000000E-09       0       0",
        "               0       0       0       0       0       0      1.",
        std::string(49, ' '),
        "        0.        0.        0.       1.2       0.0       0.0       0.0       0.0",
        "", "", "", "", "",
        "NODE  /        1               1               2               3       0",
        "NODE  /        2               2               2               3       0",
        "NODE  /        3               2               3               3       0",
        "NODE  /        4     1.23457e+06               3               3       0",
        "$",
        "SHELL /        1   13011       1       2       3       0       3     0.0",
        "SHELL /        2   13011       1       2       3       4       3     0.0",
    };
    EXPECT_EQ(lines, expected);
    EXPECT_EQ(lines[0].size(), 56u);
    EXPECT_EQ(lines[1].size(), 64u);
    EXPECT_EQ(lines[3].size(), 80u);
}

TEST(Export, ReportsAFileThatCannotBeWritten)
{
    TestFolder folder;
    PolygonStorage s = sample();
    std::string target = folder.path("no/such/folder/out");
    testing::internal::CaptureStderr();
    EXPECT_FALSE(PolygonStorageExportPLY().write((target + ".ply").c_str(), s));
    EXPECT_FALSE(PolygonStorageExportOBJ().write((target + ".obj").c_str(), s));
    EXPECT_FALSE(PolygonStorageExportPC().write((target + ".pc").c_str(), s));
    std::string errors = testing::internal::GetCapturedStderr();
    EXPECT_EQ(errors, "Cannot write the output file " + target + ".ply: No such file or directory\n"
                      "Cannot write the output file " + target + ".obj: No such file or directory\n"
                      "Cannot write the output file " + target + ".pc: No such file or directory\n");
}

}  // namespace voxquad
