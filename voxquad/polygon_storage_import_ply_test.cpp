#include "polygon_storage_import_ply.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "polygon_storage.h"
#include "recording_status_output.h"
#include "test_files.h"

namespace voxquad {

namespace {

struct ImportResult {
    bool ok = false;
    PolygonStorage storage;
    std::string errors;  // standard error
    RecordingStatusOutput status;
};

void importText(ImportResult& r, const TestFolder& folder, const std::string& text)
{
    std::string file = folder.write("in.ply", text);
    PolygonStorageImportPLY importer;
    importer.setStatusOutput(&r.status);
    testing::internal::CaptureStderr();
    r.ok = importer.import(file.c_str(), r.storage);
    r.errors = testing::internal::GetCapturedStderr();
}

std::string header(int vertices, int faces, const std::string& extra = "")
{
    return "ply\r\nformat ascii 1.0\r\ncomment written by a sculptor\r\nelement vertex " + std::to_string(vertices) +
           "\r\nproperty float x\r\nproperty float y\r\nproperty float z\r\nelement face " + std::to_string(faces) +
           "\r\nproperty list uchar int vertex_indices\r\n" + extra + "end_header\r\n";
}

const std::string square = "0.000000 0.000000 0.000000\r\n1.000000 0.000000 0.000000\r\n"
                           "1.000000 1.000000 0.000000\r\n0.000000 1.000000 0.000000\r\n"
                           "3 0 1 2\r\n3 0 2 3\r\n";

}  // namespace

TEST(ImportPLY, ReadsTheSculptorsFiles)
{
    TestFolder folder;
    ImportResult r;
    importText(r, folder, header(4, 2) + square);
    ASSERT_TRUE(r.ok) << r.errors;
    EXPECT_EQ(r.errors, "");
    ASSERT_EQ(r.storage.Vertices.size(), 4u);
    EXPECT_EQ(r.storage.Vertices[2].position, vec3(1, 1, 0));
    EXPECT_EQ(r.storage.Vertices[2].featureKind, 0);
    EXPECT_EQ(r.storage.Polygons, (PolygonArray{{0, 1, 2}, {0, 2, 3}}));
    // Indexes, midpoints and normals are ready for the voxelizer.
    EXPECT_EQ(r.storage.VIndex.size(), 4u);
    EXPECT_EQ(r.storage.EdgeIndex.size(), 5u);
    EXPECT_EQ(r.storage.Midpoints.size(), 2u);
    EXPECT_NEAR(r.storage.Vertices[0].normal.z, 1.0f, 1e-6f);

    EXPECT_EQ(r.status.stages, std::vector<std::string>{"Importing"});
    EXPECT_EQ(r.status.openStages, 0);
    const std::vector<std::string> messages = {folder.path("in.ply"), "Mesh Bounding Box (0|0|0) - (1|1|0)",
                                               "Mesh Size (1|1|0)"};
    EXPECT_EQ(r.status.messages, messages);
}

TEST(ImportPLY, FaceOrderAndLineVariants)
{
    struct Case {
        const char* name;
        std::string text;
        PolygonArray polygons;
    };
    const std::string quadBody = "0 0 0\n1 0 0\n1 1 0\n0 1 0\n4 0 1 2 3\n";
    const std::vector<Case> cases = {
        {"order_ccw reverses every face", header(4, 2, "order_ccw\r\n") + square, {{2, 1, 0}, {3, 2, 0}}},
        {"order_cw keeps the file order", header(4, 2, "order_cw\r\n") + square, {{0, 1, 2}, {0, 2, 3}}},
        {"a quad, LF line ends", "ply\nelement vertex 4\nelement face 1\nend_header\n" + quadBody, {{0, 1, 2, 3}}},
        {"CR line ends", "ply\relement vertex 4\relement face 1\rend_header\r0 0 0\r1 0 0\r1 1 0\r0 1 0\r3 0 1 2\r",
         {{0, 1, 2}}},
        {"leading, doubled and trailing blanks, extra properties",
         "ply\nelement vertex 3\nelement face 1\nend_header\n   0  0 0 0.1 0.2 0.3 255 255 255  \n1 0 0 7\n"
         "0 1 0 7\n  3   2 1  0 \n",
         {{2, 1, 0}}},
        {"a two-index face is kept and then emptied", "ply\nelement vertex 3\nelement face 2\nend_header\n0 0 0\n"
         "1 0 0\n0 1 0\n3 0 1 2\n2 0 1\n",
         {{0, 1, 2}, {}}},
        {"a line much longer than 200 characters stays one line",
         "ply\nelement vertex 3\nelement face 1\nend_header\n0 0 0" + std::string(500, ' ') + "9\n1 0 0\n0 1 0\n"
         "3 0 1 2\n",
         {{0, 1, 2}}},
    };
    for (const Case& c : cases) {
        TestFolder folder;
        ImportResult r;
        importText(r, folder, c.text);
        ASSERT_TRUE(r.ok) << c.name << ": " << r.errors;
        EXPECT_EQ(r.errors, "") << c.name;
        EXPECT_EQ(r.storage.Polygons, c.polygons) << c.name;
        EXPECT_EQ(r.storage.Vertices[1].position, vec3(1, 0, 0)) << c.name;
    }
}

TEST(ImportPLY, LargeFileWithCarriageReturnsOnlyFromMemory)
{
    // Each line used to search the rest of the file for a line feed: quadratic time without any.
    const int rows = 300;
    std::string text = "ply\rformat ascii 1.0\relement vertex " + std::to_string(rows * rows) + "\relement face " +
                       std::to_string(2 * (rows - 1) * (rows - 1)) + "\rend_header\r";
    for (int y = 0; y < rows; ++y)
        for (int x = 0; x < rows; ++x)
            text += std::to_string(x) + ".500000 " + std::to_string(y) + ".250000 0.000000\r";
    for (int y = 0; y + 1 < rows; ++y)
        for (int x = 0; x + 1 < rows; ++x) {
            const int a = y * rows + x, b = a + 1, c = a + rows + 1, d = a + rows;
            text += "3 " + std::to_string(a) + " " + std::to_string(b) + " " + std::to_string(c) + "\r3 " +
                    std::to_string(a) + " " + std::to_string(c) + " " + std::to_string(d) + "\r";
        }
    ASSERT_GT(text.size(), 3000000u);
    PolygonStorage storage;
    PolygonStorageImportPLY importer;
    ASSERT_TRUE(importer.importText("grid.ply", text, storage));
    ASSERT_EQ(storage.Vertices.size(), std::size_t(rows * rows));
    EXPECT_EQ(storage.Vertices.back().position, vec3(rows - 0.5f, rows - 0.75f, 0));
    EXPECT_EQ(storage.Polygons.back(), (VertexIDList{rows * rows - rows - 2, rows * rows - 1, rows * rows - 2}));
}

TEST(ImportPLY, HeaderOfAtMostHundredLines)
{
    auto longHeader = [](int lines) {
        std::string text = "ply\nelement vertex 3\nelement face 1\n";
        for (int i = 3; i < lines; ++i)
            text += "comment padding\n";
        return text + "end_header\n0 0 0\n1 0 0\n0 1 0\n3 0 1 2\n";
    };
    {
        TestFolder folder;
        ImportResult r;
        importText(r, folder, longHeader(100));  // end_header is the 100th line after "ply"
        EXPECT_TRUE(r.ok);
        EXPECT_EQ(r.errors, "");
    }
    {
        TestFolder folder;
        ImportResult r;
        importText(r, folder, longHeader(101));
        EXPECT_EQ(r.errors, "Header seems to be too long, so we're quitting.\n");
        EXPECT_TRUE(r.ok);  // the counts were found; the vertices follow the 101st line
        EXPECT_EQ(r.storage.Vertices.size(), 3u);
    }
    {
        TestFolder folder;
        ImportResult r;
        importText(r, folder, "PLY\nelement vertex 3\nelement face 1\nend_header\n0 0 0\n1 0 0\n0 1 0\n3 0 1 2\n");
        EXPECT_EQ(r.errors, "This is not a PLY file.\n");
        EXPECT_TRUE(r.ok);  // reading goes on
    }
}

TEST(ImportPLY, RefusesFilesItCannotRead)
{
    struct Case {
        const char* name;
        std::string text;
        std::string error;  // the end of the message after the file name
    };
    const std::string v3 = "0 0 0\n1 0 0\n0 1 0\n";
    const std::string h31 = "ply\nelement vertex 3\nelement face 1\nend_header\n";
    const std::vector<Case> cases = {
        {"short vertex line", h31 + "0 0 0\n1 0\n0 1 0\n3 0 1 2\n", ", line 6: a vertex needs three coordinates\n"},
        {"short face line", h31 + v3 + "3 0 1\n", ", line 8: the face has fewer vertex indices than its count 3\n"},
        {"empty face line", h31 + v3 + "\n", ", line 8: a face line must begin with its number of vertices\n"},
        {"index too large", h31 + v3 + "3 0 1 3\n", ", line 8: vertex index 3 is outside 0 .. 2\n"},
        {"negative index", h31 + v3 + "3 0 -1 2\n", ", line 8: vertex index -1 is outside 0 .. 2\n"},
        {"no element face", "ply\nelement vertex 3\nend_header\n" + v3, ": the header has no \"element face\" line\n"},
        {"no element vertex", "ply\nelement face 1\nend_header\n3 0 1 2\n",
         ": the header has no \"element vertex\" line\n"},
        {"more vertices than lines", "ply\nelement vertex 2000000000\nelement face 1\nend_header\n" + v3,
         ": the header announces 2000000000 vertices and 1 faces, more than the file's lines hold\n"},
        {"negative count", "ply\nelement vertex -3\nelement face 1\nend_header\n" + v3,
         ": the header's vertex count is negative or too large\n"},
        {"overflowing count", "ply\nelement vertex 3\nelement face 99999999999999999999\nend_header\n" + v3,
         ": the header's face count is negative or too large\n"},
        {"no faces", "ply\nelement vertex 3\nelement face 0\nend_header\n" + v3,
         " holds no mesh: it has no vertices or no faces\n"},
        {"binary PLY", "ply\nformat binary_big_endian 1.0\nelement vertex 3\nelement face 1\nend_header\n" +
                           std::string("\0\0\x80?\0\0\0\0\x03\0\0\0\x01", 13),
         ": binary PLY (format binary_big_endian): only ASCII PLY input is read\n"},
    };
    for (const Case& c : cases) {
        TestFolder folder;
        ImportResult r;
        importText(r, folder, c.text);
        EXPECT_FALSE(r.ok) << c.name;
        EXPECT_EQ(r.errors, folder.path("in.ply") + c.error) << c.name;
        EXPECT_TRUE(r.storage.Vertices.empty() && r.storage.Polygons.empty()) << c.name;
    }
}

TEST(ImportPLY, AnnouncedLinesAreCountedForEveryLineEnd)
{
    // The file holds exactly the announced lines: one face more is refused before anything is read.
    for (const std::string end : {"\n", "\r", "\r\n"})
        for (const bool lastLineEnded : {true, false})
            for (const int faces : {2, 3}) {
                std::string text = "ply" + end + "element vertex 3" + end + "element face " + std::to_string(faces) +
                                   end + "end_header" + end + "0 0 0" + end + "1 0 0" + end + "0 1 0" + end +
                                   "3 0 1 2" + end + "3 2 1 0" + (lastLineEnded ? end : "");
                PolygonStorage storage;
                PolygonStorageImportPLY importer;
                testing::internal::CaptureStderr();
                const bool ok = importer.importText("in.ply", text, storage);
                const std::string errors = testing::internal::GetCapturedStderr();
                const std::string name = "line end " + std::to_string(end.size()) + (end == "\r" ? " CR" : "") +
                                         (lastLineEnded ? ", last line ended, " : ", last line open, ") +
                                         std::to_string(faces) + " faces";
                EXPECT_EQ(ok, faces == 2) << name;
                EXPECT_EQ(errors, faces == 2 ? "" : "in.ply: the header announces 3 vertices and 3 faces, more than "
                                                    "the file's lines hold\n")
                    << name;
            }
}

TEST(ImportPLY, MissingFileLeavesStorageAlone)
{
    TestFolder folder;
    PolygonStorage storage;
    storage.addVertex(Vertex(vec3(1, 2, 3)));
    PolygonStorageImportPLY importer;
    testing::internal::CaptureStderr();
    EXPECT_FALSE(importer.import(folder.path("missing.ply").c_str(), storage));
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "Cannot open the input file " + folder.path("missing.ply") + "\n");
    EXPECT_EQ(storage.Vertices.size(), 1u);
}

}  // namespace voxquad
