// voxquad: import of a 1M-triangle ASCII PLY, and the index, midpoint, normal and dual-surface
// passes on a 1M-polygon storage. Prints time and peak resident memory of each phase.
#include <chrono>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <time.h>

#include "bench_util.h"
#include "polygon_storage.h"
#include "polygon_storage_import_ply.h"
#include "text_numbers.h"

namespace {

using namespace voxquad;

// A torus of rings x segments quad cells around the z axis.
vec3 torusPoint(int ring, int segment, int rings, int segments)
{
    const float twoPi = 6.2831853f;
    float u = twoPi * float(ring) / float(rings), v = twoPi * float(segment) / float(segments);
    float r = 3 + std::cos(v);
    return vec3(r * std::cos(u), r * std::sin(u), std::sin(v));
}

int torusIndex(int ring, int segment, int rings, int segments)
{
    return (ring % rings) * segments + (segment % segments);
}

// An ASCII PLY of the torus split into triangles, as the sculptor writes it.
void writeTorusPly(const std::string& fileName, int rings, int segments)
{
    std::string text = "ply\r\nformat ascii 1.0\r\ncomment torus\r\nelement vertex ";
    appendInt(text, static_cast<long long>(rings) * segments);
    text += "\r\nproperty float x\r\nproperty float y\r\nproperty float z\r\nelement face ";
    appendInt(text, 2LL * rings * segments);
    text += "\r\nproperty list uchar int vertex_indices\r\nend_header\r\n";
    for (int i = 0; i < rings; ++i)
        for (int j = 0; j < segments; ++j) {
            vec3 p = torusPoint(i, j, rings, segments);
            appendFixed(text, p.x);
            text += ' ';
            appendFixed(text, p.y);
            text += ' ';
            appendFixed(text, p.z);
            text += "\r\n";
        }
    for (int i = 0; i < rings; ++i)
        for (int j = 0; j < segments; ++j) {
            int a = torusIndex(i, j, rings, segments), b = torusIndex(i + 1, j, rings, segments);
            int c = torusIndex(i + 1, j + 1, rings, segments), d = torusIndex(i, j + 1, rings, segments);
            const int triangles[2][3] = {{a, b, c}, {a, c, d}};
            for (const int* t : triangles) {
                text += '3';
                for (int k = 0; k < 3; ++k) {
                    text += ' ';
                    appendInt(text, t[k]);
                }
                text += "\r\n";
            }
        }
    std::ofstream(fileName, std::ios::binary) << text;
}

PolygonStorage torusQuads(int rings, int segments)
{
    PolygonStorage s;
    for (int i = 0; i < rings; ++i)
        for (int j = 0; j < segments; ++j)
            s.addVertex(Vertex(torusPoint(i, j, rings, segments)));
    for (int i = 0; i < rings; ++i)
        for (int j = 0; j < segments; ++j)
            s.Polygons.push_back({torusIndex(i, j, rings, segments), torusIndex(i + 1, j, rings, segments),
                                  torusIndex(i + 1, j + 1, rings, segments), torusIndex(i, j + 1, rings, segments)});
    return s;
}

// Lets VmHWM measure one phase: the peak falls back to the present resident size (Linux).
void resetPeakMemory() { std::ofstream("/proc/self/clear_refs") << "5"; }

double processCpuMs()
{
    timespec t;
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return double(t.tv_sec) * 1e3 + double(t.tv_nsec) * 1e-6;
}

// Runs one phase and prints its wall time, its processor time (steadier on a shared machine) and
// its peak memory.
void measure(const char* name, const std::function<void()>& phase)
{
    resetPeakMemory();
    auto start = std::chrono::steady_clock::now();
    double cpuStart = processCpuMs();
    phase();
    double ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
    double cpuMs = processCpuMs() - cpuStart;
    bench::Report(name, ms, "ms");
    bench::Report(std::string(name) + "_cpu", cpuMs, "ms");
    bench::Report(std::string(name) + "_peak_rss", bench::PeakMemoryMiB(), "MiB");
}

}  // namespace

int main()
{
    const std::string file = (std::filesystem::temp_directory_path() / "bench_voxquad_torus.ply").string();
    writeTorusPly(file, 1000, 500);  // 500000 vertices, 1000000 triangles

    {
        PolygonStorage imported;
        PolygonStorageImportPLY importer;
        bool ok = true;
        measure("voxquad_import_ply_1M_triangles", [&] { ok = importer.import(file.c_str(), imported); });
        std::filesystem::remove(file);
        if (!ok || imported.Polygons.size() != 1000000)
            return 1;
    }

    PolygonStorage source = torusQuads(1000, 1000);  // 1000000 quads
    PolygonStorage dual;
    measure("voxquad_build_vindex_1M_polygons", [&] { source.buildVIndex(); });
    measure("voxquad_compute_midpoints_1M_polygons", [&] { source.computeMidpoints(); });
    measure("voxquad_compute_vertex_normals_1M_polygons", [&] { source.computeVertexNormals(); });
    measure("voxquad_construct_dual_1M_polygons", [&] { dual.constructDual(source); });
    return dual.Polygons.size() == 1000000 ? 0 : 1;
}
