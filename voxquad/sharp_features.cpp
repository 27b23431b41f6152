#include "sharp_features.h"

#include <algorithm>
#include <cmath>

namespace voxquad {

void SharpFeatures::detect(float threshold)
{
    featureEdges.clear();
    for (const auto& [key, data] : storage->EdgeIndex) {
        const bool border = data.second == -1;
        if (border ||
            std::fabs(dot(storage->Midpoints[data.first].normal, storage->Midpoints[data.second].normal)) < threshold)
            featureEdges.emplace_hint(featureEdges.end(), key, data);
    }
    buildLines();
}

void SharpFeatures::buildLines()
{
    featureLines.clear();
    edgesAtVertex.assign(storage->Vertices.size(), {});
    // Map order, so each vertex's list is in key order too.
    for (const auto& [key, data] : featureEdges) {
        edgesAtVertex[key.a].push_back(key);
        edgesAtVertex[key.b].push_back(key);
    }
    for (auto& keys : edgesAtVertex)
        std::sort(keys.begin(), keys.end(), compareEdgeEntryKey());

    while (!featureEdges.empty()) {
        const auto first = featureEdges.begin();
        const EdgeEntryKey key = first->first;
        const EdgeEntryData data = first->second;
        VertexIDList line;

        // Away from a, appending; then away from b, prepending (the first edge counts for both).
        Step step{key.a, data, first};
        do {
            line.push_back(step.vertex);
            featureEdges.erase(step.entry);
        } while (nextEdge(step.vertex, step.polygons, step));

        step = Step{key.b, data, featureEdges.emplace(key, data).first};
        do {
            line.insert(line.begin(), step.vertex);
            featureEdges.erase(step.entry);
        } while (nextEdge(step.vertex, step.polygons, step));

        if (line.size() >= 3)  // a lone edge is no feature line
            featureLines.push_back(std::move(line));
    }
}

bool SharpFeatures::nextEdge(int v, const EdgeEntryData& p, Step& step)
{
    for (const EdgeEntryKey& key : edgesAtVertex[v]) {
        auto it = featureEdges.find(key);
        if (it == featureEdges.end())
            continue;
        const EdgeEntryData& q = it->second;
        const bool fits = p.second == -1 ? q.second == -1 && q.first != p.first
                                         : q.first != p.first && q.first != p.second && q.second != p.first &&
                                               q.second != p.second;
        if (fits) {
            step = Step{key.a == v ? key.b : key.a, q, it};
            return true;
        }
    }
    return false;
}

}  // namespace voxquad
