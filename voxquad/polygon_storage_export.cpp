#include "polygon_storage_export.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "polygon_storage.h"
#include "text_numbers.h"

namespace voxquad {

namespace {

constexpr const char* lineEnd = "\r\n";

// Buffered text output to a file; reports a failure to create or write it once, on standard error.
class TextFile {
public:
    explicit TextFile(const char* fileName) : fileName_(fileName), file_(std::fopen(fileName, "wb"))
    {
        if (!file_)
            failed();
        buffer_.reserve(chunkSize + 1024);
    }
    ~TextFile()
    {
        if (file_)
            std::fclose(file_);
    }

    std::string& buffer() { return buffer_; }
    void endLine()
    {
        buffer_ += lineEnd;
        if (buffer_.size() >= chunkSize)
            flush();
    }
    void line(const char* text)
    {
        buffer_ += text;
        endLine();
    }
    // Writes what is left and closes the file; false when anything failed.
    bool close()
    {
        flush();
        if (file_) {
            bool closed = std::fclose(file_) == 0;
            file_ = nullptr;
            if (!closed)
                failed();
        }
        return ok_;
    }

private:
    static constexpr std::size_t chunkSize = 1 << 20;

    void flush()
    {
        if (file_ && ok_ && !buffer_.empty() && std::fwrite(buffer_.data(), 1, buffer_.size(), file_) != buffer_.size())
            failed();
        buffer_.clear();
    }
    void failed()
    {
        if (ok_)
            std::fprintf(stderr, "Cannot write the output file %s: %s\n", fileName_, std::strerror(errno));
        ok_ = false;
    }

    const char* fileName_;
    std::FILE* file_;
    std::string buffer_;
    bool ok_ = true;
};

vec3 worldPosition(const PolygonStorage& storage, const Vertex& v)
{
    return v.position * storage.scale + storage.offset;
}

void appendFixedTriple(std::string& out, const vec3& p)
{
    appendFixed(out, p.x);
    out += ' ';
    appendFixed(out, p.y);
    out += ' ';
    appendFixed(out, p.z);
}

// Numbers, from 0, the vertices that the polygons a writer writes use, in vertex order; -1 for the
// others (merged away or only in polygons that are left out), which are not written.
struct UsedVertices {
    std::vector<std::int32_t> number;
    std::int32_t count = 0;
};

template <typename Written>
UsedVertices usedVertices(const PolygonStorage& storage, Written written)
{
    UsedVertices used;
    used.number.assign(storage.Vertices.size(), -1);
    for (const VertexIDList& polygon : storage.Polygons)
        if (written(polygon))
            for (int id : polygon)
                used.number[id] = 0;
    for (std::int32_t& n : used.number)
        if (n == 0)
            n = used.count++;
    return used;
}

// Calls visit(vertex) for each vertex that has a number, in order.
template <typename Visit>
void forEachUsedVertex(const PolygonStorage& storage, const UsedVertices& used, Visit visit)
{
    for (std::size_t v = 0; v < storage.Vertices.size(); ++v)
        if (used.number[v] >= 0)
            visit(storage.Vertices[v]);
}

bool anyPolygon(const VertexIDList&) { return true; }
bool atLeastTriangle(const VertexIDList& polygon) { return polygon.size() >= 3; }
bool triangleOrQuad(const VertexIDList& polygon) { return polygon.size() == 3 || polygon.size() == 4; }

}  // namespace

bool PolygonStorageExportPLY::write(const char* fileName, PolygonStorage& storage)
{
    TextFile out(fileName);
    std::string& b = out.buffer();
    out.line("ply");
    out.line("format ascii 1.0");
    const UsedVertices used = usedVertices(storage, anyPolygon);
    b += "element vertex ";
    appendInt(b, used.count);
    out.endLine();
    out.line("property float32 x");
    out.line("property float32 y");
    out.line("property float32 z");
    b += "element face ";
    appendInt(b, static_cast<long long>(storage.Polygons.size()));
    out.endLine();
    out.line("property list uint8 int32 vertex_indices");
    out.line("end_header");
    forEachUsedVertex(storage, used, [&](const Vertex& v) {
        appendFixedTriple(b, worldPosition(storage, v));
        out.endLine();
    });
    for (const VertexIDList& polygon : storage.Polygons) {
        appendInt(b, static_cast<long long>(polygon.size()));
        for (int id : polygon) {
            b += ' ';
            appendInt(b, used.number[id]);
        }
        out.endLine();
    }
    return out.close();
}

bool PolygonStorageExportOBJ::write(const char* fileName, PolygonStorage& storage)
{
    TextFile out(fileName);
    std::string& b = out.buffer();
    out.line("g obj1");
    const UsedVertices used = usedVertices(storage, atLeastTriangle);
    forEachUsedVertex(storage, used, [&](const Vertex& v) {
        b += "v ";
        appendFixedTriple(b, worldPosition(storage, v));
        out.endLine();
    });
    for (const VertexIDList& polygon : storage.Polygons) {
        if (!atLeastTriangle(polygon))
            continue;
        b += 'f';
        for (int id : polygon) {
            b += ' ';
            appendInt(b, static_cast<long long>(used.number[id]) + 1);
        }
        out.endLine();
    }
    return out.close();
}

bool PolygonStorageExportPC::write(const char* fileName, PolygonStorage& storage)
{
    constexpr int material = 13011;
    TextFile out(fileName);
    std::string& b = out.buffer();
    out.line("MATER /    13011     101 7.850000000E-09       0       0");
    out.line("               0       0       0       0       0       0      1.");
    out.line(std::string(49, ' ').c_str());
    out.line("        0.        0.        0.       1.2       0.0       0.0       0.0       0.0");
    for (int i = 0; i < 5; ++i)
        out.endLine();

    const UsedVertices used = usedVertices(storage, triangleOrQuad);
    long long node = 0;
    forEachUsedVertex(storage, used, [&](const Vertex& v) {
        vec3 p = worldPosition(storage, v);
        b += "NODE  /";
        appendInt(b, ++node, 9);
        for (int a = 0; a < 3; ++a) {
            b += ' ';
            appendGeneral(b, p[a], 15);
        }
        b += ' ';
        appendInt(b, 0, 7);
        out.endLine();
    });
    out.line("$");

    long long shell = 0;
    for (const VertexIDList& polygon : storage.Polygons) {
        if (!triangleOrQuad(polygon))
            continue;
        b += "SHELL /";
        appendInt(b, ++shell, 9);
        appendInt(b, material, 8);
        for (int id : polygon)
            appendInt(b, static_cast<long long>(used.number[id]) + 1, 8);
        if (polygon.size() == 3)
            appendInt(b, 0, 8);
        b += "       3     0.0";
        out.endLine();
    }
    return out.close();
}

}  // namespace voxquad
