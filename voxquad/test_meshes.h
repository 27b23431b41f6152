#pragma once
// Test helper: closed triangle meshes built straight into a polygon storage, with the indexes,
// midpoints and normals the importer would compute.
#include <algorithm>
#include <array>
#include <cmath>
#include <functional>
#include <map>
#include <numbers>
#include <set>
#include <vector>

#include "polygon_storage.h"

namespace voxquad {

namespace test_meshes {

inline void prepare(PolygonStorage& s)
{
    s.buildVIndex();
    s.computeMidpoints();
    s.computeVertexNormals();
}

// The closed surface of a union of unit cells (their integer lowest corners), each cell face
// split into n x n squares of two triangles, normals outward. Cells may share faces but must not
// touch along an edge or corner only.
inline PolygonStorage blocks(const std::vector<std::array<int, 3>>& cells, int n)
{
    PolygonStorage s;
    std::set<std::array<int, 3>> occupied(cells.begin(), cells.end());
    std::map<std::array<int, 3>, int> ids;
    auto id = [&](const std::array<int, 3>& p) {
        auto [it, added] = ids.try_emplace(p, static_cast<int>(s.Vertices.size()));
        if (added) s.addVertex(Vertex(vec3(float(p[0]) / n, float(p[1]) / n, float(p[2]) / n)));
        return it->second;
    };
    const int steps[4][2] = {{0, 0}, {1, 0}, {1, 1}, {0, 1}};
    for (const auto& cell : cells)
        for (int axis = 0; axis < 3; ++axis)
            for (int side = 0; side <= 1; ++side) {
                std::array<int, 3> beside = cell;
                beside[axis] += side ? 1 : -1;
                if (occupied.count(beside)) continue;
                const int u = (axis + 1) % 3, w = (axis + 2) % 3;
                for (int i = 0; i < n; ++i)
                    for (int j = 0; j < n; ++j) {
                        int q[4];
                        for (int c = 0; c < 4; ++c) {
                            // Counter-clockwise around +axis on the high side, clockwise on the low.
                            const int k = side ? c : 3 - c;
                            std::array<int, 3> p;
                            p[axis] = (cell[axis] + side) * n;
                            p[u] = cell[u] * n + i + steps[k][0];
                            p[w] = cell[w] * n + j + steps[k][1];
                            q[c] = id(p);
                        }
                        s.addTriangle(q[0], q[1], q[2]);
                        s.addTriangle(q[0], q[2], q[3]);
                    }
            }
    prepare(s);
    return s;
}

// The cube [0, 1]^3, each side split into n x n squares of two triangles.
inline PolygonStorage cube(int n) { return blocks({{0, 0, 0}}, n); }

// A stepped L bracket of five cells: convex and concave right-angled creases.
inline PolygonStorage bracket(int n)
{
    return blocks({{0, 0, 0}, {1, 0, 0}, {2, 0, 0}, {0, 1, 0}, {0, 0, 1}}, n);
}

// A closed grid surface over (u, v) in [0, 1]^2: rows v = 0 and v = 1 collapse to the poles when
// poles is true (sphere), else v wraps around too (torus). u always wraps.
inline PolygonStorage wrappedGrid(int nu, int nv, bool poles, const std::function<vec3(double, double)>& at)
{
    PolygonStorage s;
    const int rows = poles ? nv - 1 : nv;  // rows of ring vertices
    for (int j = 0; j < rows; ++j)
        for (int i = 0; i < nu; ++i) {
            double v = poles ? double(j + 1) / nv : double(j) / nv;
            s.addVertex(Vertex(at(double(i) / nu, v)));
        }
    auto ring = [&](int i, int j) { return (j % nv) * nu + (i % nu); };
    for (int j = 0; j + 1 < (poles ? rows : nv + 1); ++j)
        for (int i = 0; i < nu; ++i) {
            int a = ring(i, j), b = ring(i + 1, j), c = ring(i + 1, j + 1), d = ring(i, j + 1);
            s.addTriangle(a, b, c);
            s.addTriangle(a, c, d);
        }
    if (poles) {
        int south = s.addVertex(Vertex(at(0, 0))), north = s.addVertex(Vertex(at(0, 1)));
        for (int i = 0; i < nu; ++i) {
            s.addTriangle(south, ring(i + 1, 0), ring(i, 0));
            s.addTriangle(north, ring(i, rows - 1), ring(i + 1, rows - 1));
        }
    }
    prepare(s);
    return s;
}

inline PolygonStorage sphere(int nu, int nv)
{
    return wrappedGrid(nu, nv, true, [](double u, double v) {
        double phi = 2 * std::numbers::pi * u, theta = std::numbers::pi * (v - 0.5);
        return vec3(float(std::cos(theta) * std::cos(phi)), float(std::cos(theta) * std::sin(phi)),
                    float(std::sin(theta)));
    });
}

inline PolygonStorage torus(int nu, int nv, double major, double minor)
{
    return wrappedGrid(nu, nv, false, [=](double u, double v) {
        double phi = 2 * std::numbers::pi * u, theta = 2 * std::numbers::pi * v;
        double r = major + minor * std::cos(theta);
        return vec3(float(r * std::cos(phi)), float(r * std::sin(phi)), float(minor * std::sin(theta)));
    });
}

// A cylinder of radius 1 along z from 0, cut off at the top by the plane z = 1.5 + slope x, with
// flat caps fanned from their centres: two sharp rims.
inline PolygonStorage cutCylinder(int around, int along, double slope)
{
    PolygonStorage s;
    auto top = [slope](double x) { return 1.5 + slope * x; };
    for (int j = 0; j <= along; ++j)
        for (int i = 0; i < around; ++i) {
            double phi = 2 * std::numbers::pi * i / around, x = std::cos(phi), y = std::sin(phi);
            s.addVertex(Vertex(vec3(float(x), float(y), float(top(x) * j / along))));
        }
    auto ring = [&](int i, int j) { return j * around + i % around; };
    for (int j = 0; j < along; ++j)
        for (int i = 0; i < around; ++i) {
            s.addTriangle(ring(i, j), ring(i + 1, j), ring(i + 1, j + 1));
            s.addTriangle(ring(i, j), ring(i + 1, j + 1), ring(i, j + 1));
        }
    int bottom = s.addVertex(Vertex(vec3(0, 0, 0))), lid = s.addVertex(Vertex(vec3(0, 0, float(top(0)))));
    for (int i = 0; i < around; ++i) {
        s.addTriangle(bottom, ring(i + 1, 0), ring(i, 0));
        s.addTriangle(lid, ring(i, along), ring(i + 1, along));
    }
    prepare(s);
    return s;
}

// Appends the box [lo, hi] with two triangles a side, normals outward.
inline void appendBox(PolygonStorage& s, const vec3& lo, const vec3& hi)
{
    const int first = static_cast<int>(s.Vertices.size());
    for (int c = 0; c < 8; ++c)
        s.addVertex(Vertex(vec3(c & 1 ? hi.x : lo.x, c & 2 ? hi.y : lo.y, c & 4 ? hi.z : lo.z)));
    // Corners of each side, counter-clockwise seen from outside.
    const int sides[6][4] = {{0, 4, 6, 2}, {1, 3, 7, 5}, {0, 1, 5, 4}, {2, 6, 7, 3}, {0, 2, 3, 1}, {4, 5, 7, 6}};
    for (const auto& q : sides) {
        s.addTriangle(first + q[0], first + q[1], first + q[2]);
        s.addTriangle(first + q[0], first + q[2], first + q[3]);
    }
}

// The same surface facing the other way.
inline PolygonStorage reversed(PolygonStorage s)
{
    for (VertexIDList& p : s.Polygons) std::reverse(p.begin(), p.end());
    prepare(s);
    return s;
}

// The cube [-1, 1]^3 with its edges and corners rounded off to the given radius: the Minkowski sum
// of a smaller cube and a ball, sampled through a cube split n x n on each side.
inline PolygonStorage filletedCube(int n, float radius)
{
    PolygonStorage s = cube(n);
    const float core = 1 - radius;
    for (Vertex& v : s.Vertices) {
        const vec3 onCube = v.position * 2.0f - vec3(1, 1, 1);
        vec3 inCore;
        for (int a = 0; a < 3; ++a) inCore[a] = std::clamp(onCube[a], -core, core);
        vec3 out = onCube - inCore;
        out.normalize();
        v.position = inCore + out * radius;
    }
    prepare(s);
    return s;
}

}  // namespace test_meshes

}  // namespace voxquad
