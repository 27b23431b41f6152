// The remesher's stages from the import through marching cubes and the dual surface, on the
// console as a user sees them.
#include <gtest/gtest.h>

#include <cstdio>
#include <map>
#include <utility>
#include <sstream>
#include <string>
#include <tuple>

#include "polygon_storage_import_ply.h"
#include "quad_dominant_remesher.h"
#include "status_output.h"
#include "test_files.h"

namespace voxquad {

namespace {

// A closed cube from (0, 0, 0) to (1, 1, 1), each side split into n x n quads of two triangles.
std::string cubePly(int n)
{
    std::map<std::tuple<int, int, int>, int> ids;
    std::ostringstream vertices, faces;
    int faceCount = 0;
    auto id = [&](int a, int b, int c) {
        const auto [it, added] = ids.try_emplace(std::make_tuple(a, b, c), static_cast<int>(ids.size()));
        if (added)
            vertices << static_cast<float>(a) / n << ' ' << static_cast<float>(b) / n << ' '
                     << static_cast<float>(c) / n << "\r\n";
        return it->second;
    };
    for (int axis = 0; axis < 3; ++axis)
        for (int side = 0; side <= 1; ++side)
            for (int s = 0; s < n; ++s)
                for (int t = 0; t < n; ++t) {
                    int q[4];
                    const int steps[4][2] = {{0, 0}, {1, 0}, {1, 1}, {0, 1}};
                    for (int c = 0; c < 4; ++c) {
                        int p[3];
                        p[axis] = side * n;
                        p[(axis + 1) % 3] = s + steps[c][side ? 0 : 1];
                        p[(axis + 2) % 3] = t + steps[c][side ? 1 : 0];
                        q[c] = id(p[0], p[1], p[2]);
                    }
                    faces << "3 " << q[0] << ' ' << q[1] << ' ' << q[2] << "\r\n3 " << q[0] << ' ' << q[2] << ' '
                          << q[3] << "\r\n";
                    faceCount += 2;
                }
    return "ply\r\nformat ascii 1.0\r\nelement vertex " + std::to_string(ids.size()) +
           "\r\nproperty float x\r\nproperty float y\r\nproperty float z\r\nelement face " +
           std::to_string(faceCount) + "\r\nproperty list uchar int vertex_indices\r\nend_header\r\n" +
           vertices.str() + faces.str();
}

TEST(RemesherPipeline, CubeOf4800TrianglesUpToMarchingCubesAndTheDualSurface)
{
    TestFolder folder;
    const std::string input = folder.write("cube.ply", cubePly(20));
    std::FILE* console = std::tmpfile();
    ASSERT_NE(console, nullptr);
    consoleStatusOutput bar(console);
    QuadDominantRemesher remesher;
    PolygonStorageImportPLY importer;
    remesher.setStatusOutput(&bar);
    importer.setStatusOutput(&bar);
    remesher.setUseSharpFeatures(true);

    ASSERT_TRUE(importer.import(input.c_str(), remesher.getInputMesh()));
    ASSERT_EQ(remesher.getInputMesh().Polygons.size(), 4800u);
    ASSERT_TRUE(remesher.buildVolume());
    remesher.extractSurface();

    std::rewind(console);
    std::string text;
    for (int c; (c = std::fgetc(console)) != EOF;) text.push_back(static_cast<char>(c));
    std::fclose(console);
    const std::string ruler = "[0% ----------------- 100%]\n";
    const std::string fullBar = "[" + std::string(25, '*') + "]\n";
    const std::string expected = "Importing...\n" + ruler + fullBar + "Volume Size 181 x 181 x 181\n" +
                                 "Voxelization...\n" + ruler + fullBar + " 0 Polygons skipped\n" + "Sharp features...\n" +
                                 ruler + fullBar + "Marching...\n" +
                                 ruler + "[" + std::string(27, '*') + "]\n" + "Detailed cases statistics\n";
    EXPECT_EQ(text.substr(0, expected.size()), expected);
    EXPECT_NE(text.find("Constructing Dual Surface...\n" + ruler + fullBar), std::string::npos);

    // The marching surface of the closed cube is closed and consistently oriented ...
    std::map<std::pair<int, int>, int> directed;
    for (const VertexIDList& polygon : remesher.getMarchingMesh().Polygons)
        for (std::size_t c = 0; c < polygon.size(); ++c) ++directed[{polygon[c], polygon[(c + 1) % polygon.size()]}];
    for (const auto& [edge, count] : directed) {
        ASSERT_EQ(count, 1) << edge.first << "-" << edge.second;
        ASSERT_EQ(directed.count({edge.second, edge.first}), 1u) << edge.first << "-" << edge.second;
    }
    // ... and so is its dual, with one vertex per marching polygon and those the degree reduction adds.
    const PolygonStorage& dual = remesher.getDualMesh();
    EXPECT_GE(dual.Vertices.size(), remesher.getMarchingMesh().Polygons.size());
    ASSERT_FALSE(dual.Polygons.empty());
    for (const auto& [edge, polygons] : dual.EdgeIndex)
        ASSERT_NE(polygons.second, -1) << edge.a << "-" << edge.b;
}

}  // namespace

}  // namespace voxquad
