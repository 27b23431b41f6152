#pragma once
#include <vector>

#include "polygon_storage.h"

namespace voxquad {

// Finds the crease and border edges of a mesh and chains them into feature lines.
// An edge is a crease when the normals of its two polygons are nearly perpendicular
// (|dot| below the threshold); a border edge (one polygon) always is a feature edge.
class SharpFeatures {
public:
    // The mesh needs its edge index and midpoint normals.
    void setStorage(PolygonStorage* s) { storage = s; }

    // Fills featureEdges and chains them into featureLines (consuming featureEdges); lines of
    // fewer than three vertices are dropped.
    void detect(float threshold);

    const VertexIDListList& getFeatureLines() const { return featureLines; }

    EdgeEntryMap featureEdges;
    VertexIDListList featureLines;

private:
    struct Step {
        int vertex;        // the far end of the edge taken
        EdgeEntryData polygons;
        EdgeEntryMap::iterator entry;
    };

    void buildLines();
    // The first feature edge in key order at vertex v that continues an edge with the polygons p:
    // along a border another border edge of a different polygon, elsewhere an edge sharing
    // neither polygon. False when there is none.
    bool nextEdge(int v, const EdgeEntryData& p, Step& step);

    PolygonStorage* storage = nullptr;  // not owned
    // Keys of the feature edges at each vertex, in key order (entries may have been consumed).
    std::vector<std::vector<EdgeEntryKey>> edgesAtVertex;
};

}  // namespace voxquad
