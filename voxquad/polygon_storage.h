#pragma once
#include <cstdint>
#include <list>
#include <vector>

// GCC 12 takes boost's copy of a small vector's inline elements, when they move into another, for
// a read beyond them (-Wstringop-overread), a known false alarm of its. Clang has no such warning
// and refuses to silence one it does not know.
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wstringop-overread"
#endif
#include <boost/container/small_vector.hpp>
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic pop
#endif

#include "edge_index.h"
#include "vec_math.h"
#include "vertex.h"
#include "vertex_id_set.h"

namespace voxquad {

class StatusOutput;

// Corners of one polygon in cyclic order (vertex ids). A growable array that keeps up to six
// corners in itself: polygons are short, read by position far more often than they are edited,
// and a mesh of them is built without an allocation per polygon.
using VertexIDList = boost::container::small_vector<std::int32_t, 6>;
using VertexIDListList = std::list<VertexIDList>;
// The polygons of a mesh.
using PolygonArray = std::vector<VertexIDList, LargeArrayAllocator<VertexIDList>>;

// True when a polygon (of at least one corner) has no area: its vector area is at most 1e-4 of its
// longest side squared (the rounding of float positions a few hundred cells from the origin), as
// when its corners lie at one position or on one line.
bool polygonWithoutArea(const VertexIDList& polygon, const VertexArray& vertices);

// General polygons over a shared vertex list, with the polygons of each vertex (VIndex), the
// polygons of each edge (EdgeIndex), a midpoint record per polygon, angle-weighted vertex normals,
// a bounding box and the grid-to-world transform position * scale + offset.
class PolygonStorage {
public:
    PolygonArray Polygons;  // empty entries are removed polygons
    VertexArray Vertices;
    std::vector<VertexIDSet, LargeArrayAllocator<VertexIDSet>> VIndex;  // one per vertex after buildVIndex()
    VertexArray Midpoints;  // one per polygon after computeMidpoints()
    EdgeEntryTable EdgeIndex;
    vec3 bboxMax, bboxMin;
    StatusOutput* status = nullptr;      // not owned
    float scale = 1;
    vec3 offset;

    // Empties polygons, vertices, VIndex and midpoints; scale 1, offset (0, 0, 0).
    void clear();
    // Appends a vertex and returns its id.
    int addVertex(const Vertex& v);
    // Appends the polygon (a, b, c) and returns its id; -1 (nothing added) when two ids are equal.
    int addTriangle(int a, int b, int c);

    // Rebuilds VIndex from all polygons, then the edge index.
    void buildVIndex();
    // Rebuilds EdgeIndex; a third polygon on an edge is not recorded.
    void buildEdgeIndex();
    // Resizes Midpoints to the polygon count and computes every record; polygons with one or two
    // corners are emptied.
    void computeMidpoints();
    // The midpoint record of polygon i alone (Midpoints must hold it); one or two corners empty it.
    void computeMidpoint(int i);
    // Angle-weighted average of the polygon normals around each vertex; needs VIndex and Midpoints.
    // The input mesh keeps them for its pseudo-normals; the marching and dual meshes do not, as
    // nothing of the result reads them, and a vertex that needs one asks vertexNormal.
    void computeVertexNormals();
    // The normal of vertex v alone, from its VIndex set and the midpoint records.
    vec3 vertexNormal(int v) const;
    void computeBoundingBox();
    // Maps the mesh into a grid of nx x ny x nz cells with a low margin of 1.5 cells, keeping
    // position * scale + offset in world units. Needs the bounding box.
    void normalize(int nx, int ny, int nz);

    // The polygon across edge key from polygon p, or -1.
    int otherPolygon(int p, const EdgeEntryKey& key) const;
    // The corner after v (forward) or before v in polygon p, cyclically; -1 when v is no corner.
    int neighbour(int p, int v, bool forward) const;

    // Vertex valence and polygon size histograms through the status output.
    void printStatistics();
    // Replaces this storage with the dual of source (indexes and midpoints computed):
    // one vertex per source polygon, one face per source vertex with three or more polygons.
    void constructDual(const PolygonStorage& source);
    // The same, dropping source's EdgeIndex as soon as the walks around its vertices are done,
    // which lowers the peak memory of a run; source keeps everything else.
    void constructDualReleasingEdges(PolygonStorage& source);

    // Polygon-by-polygon editing; each keeps VIndex and Midpoints current (EdgeIndex is rebuilt by
    // the stages that edit). Defined in polygon_storage_edit.cpp.

    // Computes polygon i's midpoint record and enters i into the VIndex set of each of its corners.
    void registerPolygon(int i);
    // Erases i from the VIndex set of each of its corners.
    void unregisterPolygon(int i);
    // Unregisters polygon i and leaves it in the list without corners.
    void removePolygon(int i);
    // Splits polygon i along the diagonal between corner positions a < b: the corners a .. b become
    // a new polygon appended to the list, polygon i keeps b .. n-1, 0 .. a (and its first corner).
    void splitAtCorners(int i, int a, int b);
    // Splits polygon i into polygons of g corners (g >= 3) around a new vertex made from center:
    // runs of g - 1 consecutive corners from position start, each closed by the new vertex, are
    // appended; polygon i keeps its first corner, the new vertex and the corners left over.
    void splitIntoFan(int i, int g, int start, Vertex center);
    // Replaces vertex a by c in every polygon that uses a (first occurrence); a is left unused.
    void replaceVertex(int a, int c);
    // Moves vertex c, recomputing the midpoint records of its polygons.
    void moveVertex(int c, const vec3& position);

    // The "Reducing polygon degree" stage: every polygon with more than four corners is split into
    // quads and at most one triangle. Defined in polygon_storage_reduce_degree.cpp.
    void reducePolygonDegree();
    // The "Removing rhombus polygons" stage: collapses the thin quads of valences 3, >4, 3, >4 that
    // the dual of marching cubes produces. Defined in polygon_storage_rhombus.cpp.
    void removeRhombusPolygons();

    void setStatusOutput(StatusOutput* s) { status = s; }

private:
    // buildEdgeIndex for a VIndex just built from the polygons.
    void buildEdgeIndexFromVIndex();
    void message(const char* text) const;
    // constructDual, clearing *sourceEdges (source's EdgeIndex) once it is no longer read.
    void buildDual(const PolygonStorage& source, EdgeEntryTable* sourceEdges);
    // Whether cutting the triangle of corners 0, 1, 2 off an odd polygon leaves a part without area.
    bool cutLeavesNoArea(const VertexIDList& corners) const;
    // Appends a polygon with a placeholder midpoint record, not yet registered; returns its id.
    int appendPolygon(VertexIDList corners);
};

}  // namespace voxquad
