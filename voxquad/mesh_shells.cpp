#include "mesh_shells.h"

#include <algorithm>
#include <numeric>

namespace voxquad {

namespace {

bool isTriangle(const VertexIDList& p) { return p.size() == 3 && p[0] != p[1] && p[1] != p[2] && p[0] != p[2]; }

// Union-find over vertex ids with path halving.
class VertexSets {
public:
    explicit VertexSets(std::size_t count) : parent_(count) { std::iota(parent_.begin(), parent_.end(), 0); }
    std::int32_t root(std::int32_t v)
    {
        while (parent_[v] != v) v = parent_[v] = parent_[parent_[v]];
        return v;
    }
    void join(std::int32_t a, std::int32_t b) { parent_[root(a)] = root(b); }

private:
    std::vector<std::int32_t> parent_;
};

}  // namespace

bool MeshShells::allClosed() const
{
    return !closure.empty() && std::none_of(closure.begin(), closure.end(),
                                            [](ShellClosure c) { return c == ShellClosure::Open; });
}

MeshShells findShells(const PolygonStorage& mesh)
{
    MeshShells shells;
    VertexSets sets(mesh.Vertices.size());
    for (const VertexIDList& p : mesh.Polygons)
        if (isTriangle(p)) {
            sets.join(p[0], p[1]);
            sets.join(p[0], p[2]);
        }
    // Shells numbered in the order of their first triangle.
    std::vector<std::int32_t> shellOfRoot(mesh.Vertices.size(), -1);
    shells.shellOfPolygon.assign(mesh.Polygons.size(), -1);
    for (std::size_t i = 0; i < mesh.Polygons.size(); ++i) {
        const VertexIDList& p = mesh.Polygons[i];
        if (!isTriangle(p)) continue;
        std::int32_t& shell = shellOfRoot[sets.root(p[0])];
        if (shell < 0) {
            shell = static_cast<std::int32_t>(shells.closure.size());
            shells.closure.push_back(ShellClosure::Oriented);
        }
        shells.shellOfPolygon[i] = shell;
    }

    // Every side of every triangle as its undirected edge and direction, bucketed by the edge's
    // smaller vertex (a counting sort: a vertex has few sides); an edge is balanced when its sides
    // come in opposite pairs, even when their count is even.
    struct Side {
        std::int32_t high;
        std::int32_t direction;  // +1 from the smaller vertex to high
    };
    auto forEachSide = [&](auto visit) {
        for (const VertexIDList& p : mesh.Polygons) {
            if (!isTriangle(p)) continue;
            for (int k = 0; k < 3; ++k) {
                const std::int32_t a = p[k], b = p[(k + 1) % 3];
                visit(std::min(a, b), Side{std::max(a, b), a < b ? 1 : -1});
            }
        }
    };
    std::vector<std::uint32_t> bucketStart(mesh.Vertices.size() + 1, 0);
    forEachSide([&](std::int32_t low, const Side&) { ++bucketStart[static_cast<std::size_t>(low) + 1]; });
    std::partial_sum(bucketStart.begin(), bucketStart.end(), bucketStart.begin());
    std::vector<Side> sides(bucketStart.back());
    std::vector<std::uint32_t> fill(bucketStart.begin(), bucketStart.end() - 1);
    forEachSide([&](std::int32_t low, const Side& side) { sides[fill[static_cast<std::size_t>(low)]++] = side; });
    fill = {};
    for (std::size_t low = 0; low + 1 < bucketStart.size(); ++low) {
        const auto first = sides.begin() + bucketStart[low], last = sides.begin() + bucketStart[low + 1];
        std::sort(first, last, [](const Side& l, const Side& r) { return l.high < r.high; });
        for (auto i = first; i != last;) {
            auto j = i;
            int count = 0, balance = 0;
            for (; j != last && j->high == i->high; ++j) {
                ++count;
                balance += j->direction;
            }
            ShellClosure& closure = shells.closure[shellOfRoot[sets.root(static_cast<std::int32_t>(low))]];
            if (count % 2 != 0)
                closure = ShellClosure::Open;
            else if (balance != 0 && closure == ShellClosure::Oriented)
                closure = ShellClosure::Closed;
            i = j;
        }
    }
    return shells;
}

}  // namespace voxquad
