#pragma once
#include <string_view>

namespace voxquad {

class PolygonStorage;
class StatusOutput;

// Reader of ASCII PLY triangle meshes. The header's element counts are used; properties are not
// interpreted: a vertex line's first three numbers are x, y, z, a face line is a count and indices.
// Problems are reported as errors through the status output (standard error without one).
class PolygonStorageImportPLY {
public:
    void setStatusOutput(StatusOutput* s) { status = s; }
    // Replaces the contents of storage with the file's mesh and builds its indexes, midpoints and
    // normals. Returns false (with a message) when the file cannot be opened or holds no usable
    // mesh; the storage is then left empty or, when the file could not be opened, unchanged.
    bool import(const char* fileName, PolygonStorage& storage);
    // The same on the text of a whole file held in memory; name stands for the file in messages.
    bool importText(const char* name, std::string_view text, PolygonStorage& storage);

private:
    bool readText(const char* name, std::string_view text, PolygonStorage& storage);

    StatusOutput* status = nullptr;  // not owned
};

}  // namespace voxquad
