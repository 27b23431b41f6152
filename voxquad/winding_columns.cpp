#include "winding_columns.h"

#include <algorithm>
#include <cmath>

namespace voxquad {

namespace {

constexpr double fixedScale = 65536.0;

struct FixedPoint {
    std::int64_t x, y;
    double z;
};

FixedPoint toFixed(const vec3& p)
{
    return FixedPoint{std::llround(static_cast<double>(p.x) * fixedScale),
                      std::llround(static_cast<double>(p.y) * fixedScale), static_cast<double>(p.z)};
}

// Twice the signed area of (a, b, p) in the xy plane: positive when p lies left of a -> b.
__int128 edgeFunction(const FixedPoint& a, const FixedPoint& b, std::int64_t px, std::int64_t py)
{
    return static_cast<__int128>(b.x - a.x) * (py - a.y) - static_cast<__int128>(b.y - a.y) * (px - a.x);
}

// p lies on the inner side of edge a -> b of a counter-clockwise triangle, a point on the edge
// counting as moved by (eta, epsilon): inside when the edge runs downwards, or along +x.
bool insideEdge(__int128 e, const FixedPoint& a, const FixedPoint& b)
{
    return e > 0 || (e == 0 && (b.y < a.y || (b.y == a.y && b.x > a.x)));
}

struct Entry {
    std::uint32_t column;
    double z;
    std::int8_t winding, parity;
};

// Appends one entry per column the triangle covers.
void crossTriangle(FixedPoint a, FixedPoint b, FixedPoint c, ShellClosure closure, int sizeX, int sizeY,
                   std::vector<Entry>& entries)
{
    __int128 area = edgeFunction(a, b, c.x, c.y);
    if (area == 0) return;
    // Seen from above a counter-clockwise triangle faces upwards: the ray leaves through it.
    std::int8_t winding = closure == ShellClosure::Oriented ? (area > 0 ? -1 : 1) : 0;
    std::int8_t parity = closure == ShellClosure::Closed ? 1 : 0;
    if (area < 0) {
        std::swap(b, c);
        area = -area;
    }
    auto firstColumn = [](std::int64_t lo) { return static_cast<int>((lo + 65535) >> 16); };
    auto lastColumn = [](std::int64_t hi) { return static_cast<int>(hi >> 16); };
    const int x0 = std::max(0, firstColumn(std::min({a.x, b.x, c.x})));
    const int x1 = std::min(sizeX - 1, lastColumn(std::max({a.x, b.x, c.x})));
    const int y0 = std::max(0, firstColumn(std::min({a.y, b.y, c.y})));
    const int y1 = std::min(sizeY - 1, lastColumn(std::max({a.y, b.y, c.y})));
    const double inverseArea = 1.0 / static_cast<double>(area);
    for (int y = y0; y <= y1; ++y)
        for (int x = x0; x <= x1; ++x) {
            const std::int64_t px = static_cast<std::int64_t>(x) << 16, py = static_cast<std::int64_t>(y) << 16;
            const __int128 ea = edgeFunction(b, c, px, py), eb = edgeFunction(c, a, px, py),
                           ec = edgeFunction(a, b, px, py);
            if (!insideEdge(ea, b, c) || !insideEdge(eb, c, a) || !insideEdge(ec, a, b)) continue;
            const double z = (static_cast<double>(ea) * a.z + static_cast<double>(eb) * b.z +
                              static_cast<double>(ec) * c.z) * inverseArea;
            entries.push_back(Entry{static_cast<std::uint32_t>(y) * static_cast<std::uint32_t>(sizeX) +
                                        static_cast<std::uint32_t>(x),
                                    z, winding, parity});
        }
}

}  // namespace

WindingColumns::WindingColumns(const PolygonStorage& mesh, const MeshShells& shells, int sizeX, int sizeY)
    : sizeX_(sizeX)
{
    std::vector<Entry> entries;
    for (std::size_t i = 0; i < mesh.Polygons.size(); ++i) {
        if (!shells.isClosed(static_cast<int>(i))) continue;
        const VertexIDList& p = mesh.Polygons[i];
        crossTriangle(toFixed(mesh.Vertices[p[0]].position), toFixed(mesh.Vertices[p[1]].position),
                      toFixed(mesh.Vertices[p[2]].position), shells.closure[shells.shellOfPolygon[i]], sizeX,
                      sizeY, entries);
    }
    std::sort(entries.begin(), entries.end(),
              [](const Entry& l, const Entry& r) { return l.column < r.column || (l.column == r.column && l.z < r.z); });

    columnStart_.assign(static_cast<std::size_t>(sizeX) * static_cast<std::size_t>(sizeY) + 1, 0);
    for (const Entry& e : entries) ++columnStart_[e.column + 1];
    for (std::size_t c = 1; c < columnStart_.size(); ++c) columnStart_[c] += columnStart_[c - 1];
    crossings_.reserve(entries.size());
    std::int32_t winding = 0;
    std::uint8_t parity = 0;
    std::uint32_t column = 0;
    for (const Entry& e : entries) {
        if (e.column != column || crossings_.empty()) {
            winding = 0;
            parity = 0;
            column = e.column;
        }
        winding += e.winding;
        parity ^= static_cast<std::uint8_t>(e.parity);
        crossings_.push_back(Crossing{e.z, winding, parity});
    }
}

bool WindingColumns::inside(int x, int y, float z) const
{
    const std::size_t column = static_cast<std::size_t>(y) * static_cast<std::size_t>(sizeX_) + static_cast<std::size_t>(x);
    const auto first = crossings_.begin() + columnStart_[column], last = crossings_.begin() + columnStart_[column + 1];
    // The last crossing below z.
    const auto above = std::partition_point(first, last, [z](const Crossing& c) { return c.z < z; });
    if (above == first) return false;
    const Crossing& below = *(above - 1);
    return below.winding != 0 || below.parity != 0;
}

}  // namespace voxquad
