#include <algorithm>
#include <cassert>

#include "polygon_storage.h"

namespace voxquad {

int PolygonStorage::appendPolygon(VertexIDList corners)
{
    Polygons.push_back(std::move(corners));
    Midpoints.emplace_back();
    return static_cast<int>(Polygons.size()) - 1;
}

void PolygonStorage::registerPolygon(int i)
{
    computeMidpoint(i);
    for (int v : Polygons[i])
        VIndex[v].insert(i);
}

void PolygonStorage::unregisterPolygon(int i)
{
    for (int v : Polygons[i])
        VIndex[v].erase(i);
}

void PolygonStorage::removePolygon(int i)
{
    unregisterPolygon(i);
    Polygons[i].clear();
}

void PolygonStorage::splitAtCorners(int i, int a, int b)
{
    assert(0 <= a && a < b && b < static_cast<int>(Polygons[i].size()));
    int m = appendPolygon({});
    unregisterPolygon(i);
    VertexIDList& poly = Polygons[i];
    Polygons[m].assign(poly.begin() + a, poly.begin() + b + 1);
    // Polygon i drops the corners strictly between a and b.
    poly.erase(poly.begin() + a + 1, poly.begin() + b);
    registerPolygon(i);
    registerPolygon(m);
}

void PolygonStorage::splitIntoFan(int i, int g, int start, Vertex center)
{
    assert(g > 2);
    if (g < 3)  // a run of g - 1 corners must advance along the polygon
        return;
    int c = addVertex(center);
    VIndex.emplace_back();
    unregisterPolygon(i);
    VertexIDList corners = Polygons[i];
    const int n = static_cast<int>(corners.size());
    int s = start;
    for (int e = s + (g - 2); e < n; s = e, e = s + (g - 2)) {
        VertexIDList fan(corners.begin() + s, corners.begin() + e + 1);
        fan.push_back(c);
        registerPolygon(appendPolygon(std::move(fan)));
    }
    VertexIDList rest{corners[start], c};
    rest.insert(rest.end(), corners.begin() + s, corners.end());
    Polygons[i] = std::move(rest);
    registerPolygon(i);
}

void PolygonStorage::replaceVertex(int a, int c)
{
    while (!VIndex[a].empty()) {
        int p = *VIndex[a].begin();
        VertexIDList& poly = Polygons[p];
        *std::find(poly.begin(), poly.end(), a) = c;
        VIndex[a].erase(p);
        VIndex[c].insert(p);
    }
}

void PolygonStorage::moveVertex(int c, const vec3& position)
{
    Vertices[c].position = position;
    for (int p : VIndex[c])
        computeMidpoint(p);
}

}  // namespace voxquad
