#include "winding_columns.h"

#include <gtest/gtest.h>

#include "mesh_shells.h"
#include "test_meshes.h"

namespace voxquad {

namespace {

PolygonStorage boxes(std::initializer_list<std::pair<vec3, vec3>> list, bool reverseSecond = false)
{
    PolygonStorage s;
    int k = 0;
    for (const auto& [lo, hi] : list) {
        const std::size_t first = s.Polygons.size();
        test_meshes::appendBox(s, lo, hi);
        if (reverseSecond && k++ == 1)
            for (std::size_t i = first; i < s.Polygons.size(); ++i) std::reverse(s.Polygons[i].begin(), s.Polygons[i].end());
    }
    return s;
}

TEST(MeshShells, ClosureOfEachPiece)
{
    PolygonStorage s = boxes({{vec3(1, 1, 1), vec3(3, 3, 3)}, {vec3(5, 1, 1), vec3(7, 3, 3)}});
    // Second box: one face flipped (closed, not oriented); a third piece: a lone triangle (open).
    std::reverse(s.Polygons[12].begin(), s.Polygons[12].end());
    std::reverse(s.Polygons[13].begin(), s.Polygons[13].end());
    const int a = s.addVertex(Vertex(vec3(1, 5, 1))), b = s.addVertex(Vertex(vec3(2, 5, 1))),
              c = s.addVertex(Vertex(vec3(1, 6, 1)));
    s.addTriangle(a, b, c);
    const MeshShells shells = findShells(s);
    EXPECT_EQ(shells.closure,
              (std::vector<ShellClosure>{ShellClosure::Oriented, ShellClosure::Closed, ShellClosure::Open}));
    EXPECT_TRUE(shells.isClosed(0));
    EXPECT_FALSE(shells.isClosed(24));
    EXPECT_FALSE(shells.allClosed());
}

// Boxes with corners on grid points, so that columns run along their edges and through their
// corners: each sheet still counts once, and the inside does not depend on the faces' direction.
TEST(WindingColumns, InsideOfClosedShellsWhateverTheirOrientation)
{
    const struct {
        const char* name;
        PolygonStorage mesh;
        std::vector<std::pair<vec3, bool>> points;  // grid point, inside
    } cases[] = {
        {"box", boxes({{vec3(2, 2, 2), vec3(5, 5, 5)}}),
         // Columns on the low faces and edges count as just inside, on the high ones as just outside.
         {{vec3(3, 3, 3), true}, {vec3(2, 2, 3), true}, {vec3(2, 4, 4), true}, {vec3(5, 5, 4), false},
          {vec3(5, 3, 3), false}, {vec3(3, 3, 6), false}, {vec3(6, 3, 3), false}, {vec3(3, 3, 1), false}}},
        {"box facing inwards", test_meshes::reversed(boxes({{vec3(2, 2, 2), vec3(5, 5, 5)}})),
         {{vec3(3, 3, 3), true}, {vec3(3, 3, 6), false}}},
        {"boxes passing through each other", boxes({{vec3(1, 1, 1), vec3(4, 4, 4)}, {vec3(3, 2, 2), vec3(7, 4, 4)}}),
         {{vec3(2, 2, 2), true}, {vec3(3, 3, 3), true}, {vec3(5, 3, 3), true}, {vec3(6, 6, 2), false},
          {vec3(5, 3, 5), false}}},
        {"hollow box: inner shell facing in", boxes({{vec3(1, 1, 1), vec3(8, 8, 8)}, {vec3(3, 3, 3), vec3(6, 6, 6)}}, true),
         {{vec3(2, 2, 2), true}, {vec3(4, 4, 4), false}, {vec3(4, 4, 7), true}}},
    };
    for (const auto& c : cases) {
        PolygonStorage mesh = c.mesh;
        test_meshes::prepare(mesh);
        const WindingColumns windings(mesh, findShells(mesh), 10, 10);
        for (const auto& [p, inside] : c.points)
            EXPECT_EQ(windings.inside(static_cast<int>(p.x), static_cast<int>(p.y), p.z), inside)
                << c.name << " at " << p.x << " " << p.y << " " << p.z;
    }
}

}  // namespace

}  // namespace voxquad
