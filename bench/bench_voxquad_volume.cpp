// Volume and surface stages of voxquad (voxelization, marching cubes 33, dual surface) against
// OpenVDB's meshToLevelSet (band of 5 voxels, same voxel size) and volumeToMesh, on a closed
// mesh of about 100000 triangles at the default 6000000 voxels; then the peak memory of ours at a
// budget of 50000000 voxels. Each side runs in its own child process so that its peak memory can
// be told apart.
#include <openvdb/openvdb.h>
#include <openvdb/tools/MeshToVolume.h>
#include <openvdb/tools/VolumeToMesh.h>

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <map>
#include <tuple>
#include <vector>

#include "bench_util.h"
#include "marching_cubes33.h"
#include "polygon_storage.h"
#include "status_output.h"
#include "volume_storage.h"
#include "voxelizer.h"

namespace {

using namespace voxquad;

constexpr int targetVoxelCount = 6000000;
constexpr int largeVoxelCount = 50000000;
constexpr int cubeDivisions = 91;  // 6 * 91 * 91 * 2 = 99372 triangles
constexpr int rounds = 3;

class SilentStatus : public StatusOutput {
public:
    void printMessage(const char*) override {}
    void setProgress(int) override {}
    void beginStage(const char*) override {}
    void endStage() override {}
};

// A closed, bumpy cube-sphere: each cube face split into n x n quads (two triangles each),
// pushed onto a sphere with ripples.
void buildTestMesh(PolygonStorage& mesh)
{
    const int n = cubeDivisions;
    std::map<std::tuple<int, int, int>, int> ids;
    auto vertexAt = [&](int a, int b, int c) {
        const auto key = std::make_tuple(a, b, c);
        const auto found = ids.find(key);
        if (found != ids.end()) return found->second;
        vec3 p(2.0f * a / n - 1, 2.0f * b / n - 1, 2.0f * c / n - 1);
        p.normalize();
        const float ripple = 1 + 0.08f * std::sin(7 * p.x) * std::sin(5 * p.y + 1) * std::cos(6 * p.z);
        const int id = mesh.addVertex(Vertex(p * (50 * ripple)));
        ids.emplace(key, id);
        return id;
    };
    // Face axis, then the two in-face axes in an order that keeps the normals outwards.
    for (int axis = 0; axis < 3; ++axis)
        for (int side = 0; side <= 1; ++side)
            for (int s = 0; s < n; ++s)
                for (int t = 0; t < n; ++t) {
                    auto corner = [&](int ds, int dt) {
                        int c[3];
                        const int u = (axis + 1) % 3, v = (axis + 2) % 3;
                        c[axis] = side * n;
                        c[u] = side ? s + ds : s + dt;
                        c[v] = side ? t + dt : t + ds;
                        return vertexAt(c[0], c[1], c[2]);
                    };
                    const int a = corner(0, 0), b = corner(1, 0), c = corner(1, 1), d = corner(0, 1);
                    mesh.addTriangle(a, b, c);
                    mesh.addTriangle(a, c, d);
                }
}

// Normalises the mesh into the grid the remesher would choose and prepares its indexes.
void prepareInput(PolygonStorage& mesh, int voxels, int& nx, int& ny, int& nz)
{
    mesh.computeBoundingBox();
    const vec3 size = mesh.bboxMax - mesh.bboxMin;
    const double f = std::pow(voxels / (static_cast<double>(size.x) * size.y * size.z), 1.0 / 3.0);
    nx = static_cast<int>(size.x * f);
    ny = static_cast<int>(size.y * f);
    nz = static_cast<int>(size.z * f);
    mesh.normalize(nx, ny, nz);
    mesh.buildVIndex();
    mesh.computeMidpoints();
    mesh.computeVertexNormals();
}

double millisecondsSince(std::chrono::steady_clock::time_point start)
{
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
}

struct Timings {
    double stages[3] = {};  // voxelize / level set, marching / meshing, dual
    double total = 0;
    long long polygons = 0;
};

// The stages as the remesher runs them: the band-only volume, marching cubes with the far field's
// sign, the samples released before the dual surface.
Timings runOurs(PolygonStorage& input, int nx, int ny, int nz)
{
    SilentStatus silent;
    VolumeStorageBandDF volume;
    PolygonStorageVoxelizerDual voxelizer;
    voxelizer.setVolume(&volume);
    voxelizer.setStorage(&input);
    voxelizer.setStatusOutput(&silent);
    PolygonStorage marching, dual;
    marching.setStatusOutput(&silent);
    dual.setStatusOutput(&silent);
    MarchingCubes33 mc;
    mc.setVolume(&volume);
    mc.setOutput(&marching);
    mc.setStatusOutput(&silent);

    Timings t;
    auto start = std::chrono::steady_clock::now();
    volume.setSize(nx, ny, nz);
    voxelizer.voxelize();
    t.stages[0] = millisecondsSince(start);
    auto stage = std::chrono::steady_clock::now();
    mc.reset();
    mc.setFarField(voxelizer.farField());
    mc.init();
    mc.run();
    mc.reset();
    voxelizer.releaseFarField();
    volume.clear();
    t.stages[1] = millisecondsSince(stage);
    stage = std::chrono::steady_clock::now();
    dual.constructDualReleasingEdges(marching);
    t.stages[2] = millisecondsSince(stage);
    t.total = millisecondsSince(start);
    t.polygons = static_cast<long long>(dual.Polygons.size());
    return t;
}

Timings runOpenVDB(const PolygonStorage& input)
{
    openvdb::initialize();
    std::vector<openvdb::Vec3s> points;
    std::vector<openvdb::Vec3I> triangles;
    for (const Vertex& v : input.Vertices) points.emplace_back(v.position.x, v.position.y, v.position.z);
    for (const VertexIDList& p : input.Polygons)
        triangles.emplace_back(static_cast<unsigned>(p[0]), static_cast<unsigned>(p[1]), static_cast<unsigned>(p[2]));

    Timings t;
    auto start = std::chrono::steady_clock::now();
    const openvdb::math::Transform::Ptr xform = openvdb::math::Transform::createLinearTransform(1.0);
    openvdb::FloatGrid::Ptr grid = openvdb::tools::meshToLevelSet<openvdb::FloatGrid>(*xform, points, triangles, 5.0f);
    t.stages[0] = millisecondsSince(start);
    auto stage = std::chrono::steady_clock::now();
    std::vector<openvdb::Vec3s> outPoints;
    std::vector<openvdb::Vec4I> quads;
    openvdb::tools::volumeToMesh(*grid, outPoints, quads, 0.0);
    t.stages[1] = millisecondsSince(stage);
    t.total = millisecondsSince(start);
    t.polygons = static_cast<long long>(quads.size());
    return t;
}

long residentKilobytes()
{
    long pages = 0, resident = 0;
    std::ifstream("/proc/self/statm") >> pages >> resident;
    return resident * (sysconf(_SC_PAGESIZE) / 1024);
}

double milliseconds(const timeval& t) { return t.tv_sec * 1000.0 + t.tv_usec / 1000.0; }

// Runs work in a child process; returns its timings, the peak memory it added, in MB, and the
// processor time of all its threads.
template <class Work>
bool inChild(Work work, Timings& timings, double& peakMegabytes, double& processorMs)
{
    int channel[2];
    if (pipe(channel) != 0) return false;
    const long baseline = residentKilobytes();
    const pid_t child = fork();
    if (child < 0) return false;
    if (child == 0) {
        close(channel[0]);
        const Timings t = work();
        const bool sent = write(channel[1], &t, sizeof t) == static_cast<ssize_t>(sizeof t);
        _exit(sent ? 0 : 1);
    }
    close(channel[1]);
    const bool received = read(channel[0], &timings, sizeof timings) == static_cast<ssize_t>(sizeof timings);
    close(channel[0]);
    int status = 0;
    rusage usage{};
    if (wait4(child, &status, 0, &usage) != child || !received) return false;
    peakMegabytes = static_cast<double>(usage.ru_maxrss - baseline) / 1024.0;
    processorMs = milliseconds(usage.ru_utime) + milliseconds(usage.ru_stime);
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

}  // namespace

int main()
{
    PolygonStorage input;
    buildTestMesh(input);
    int nx, ny, nz;
    prepareInput(input, targetVoxelCount, nx, ny, nz);
    std::printf("mesh: %zu vertices, %zu triangles; grid %d x %d x %d\n", input.Vertices.size(),
                input.Polygons.size(), nx, ny, nz);

    // Alternating rounds on a shared machine; each side keeps its fastest round.
    Timings ours, peer;
    double oursMB = 0, peerMB = 0, oursCpu = 0, peerCpu = 0;
    for (int round = 0; round < rounds; ++round) {
        Timings o, p;
        double oMB = 0, pMB = 0, oCpu = 0, pCpu = 0;
        if (!inChild([&] { return runOurs(input, nx, ny, nz); }, o, oMB, oCpu) ||
            !inChild([&] { return runOpenVDB(input); }, p, pMB, pCpu)) {
            std::fprintf(stderr, "benchmark child failed\n");
            return 1;
        }
        if (round == 0 || o.total < ours.total) ours = o, oursCpu = oCpu;
        if (round == 0 || p.total < peer.total) peer = p, peerCpu = pCpu;
        oursMB = std::max(oursMB, oMB);
        peerMB = std::max(peerMB, pMB);
    }
    bench::ReportComparison("voxquad_volume_surface", ours.total, peer.total);
    bench::ReportComparison("voxquad_volume_voxelize", ours.stages[0], peer.stages[0]);
    bench::ReportComparison("voxquad_volume_marching_and_dual", ours.stages[1] + ours.stages[2], peer.stages[1]);
    bench::ReportComparison("voxquad_volume_processor_time", oursCpu, peerCpu);
    bench::Report("voxquad_volume_marching", ours.stages[1], "ms");
    bench::Report("voxquad_volume_dual", ours.stages[2], "ms");
    bench::Report("voxquad_volume_peak_memory_ours", oursMB, "MB");
    bench::Report("voxquad_volume_peak_memory_peer", peerMB, "MB");
    bench::Report("voxquad_volume_output_polygons_ours", static_cast<double>(ours.polygons), "polygons");
    bench::Report("voxquad_volume_output_polygons_peer", static_cast<double>(peer.polygons), "quads");

    input = PolygonStorage();  // the large run's baseline holds its own mesh only
    PolygonStorage large;
    buildTestMesh(large);
    prepareInput(large, largeVoxelCount, nx, ny, nz);
    Timings big;
    double bigMB = 0, bigCpu = 0;
    if (!inChild([&] { return runOurs(large, nx, ny, nz); }, big, bigMB, bigCpu)) {
        std::fprintf(stderr, "benchmark child failed\n");
        return 1;
    }
    std::printf("grid at %d voxels: %d x %d x %d\n", largeVoxelCount, nx, ny, nz);
    bench::Report("voxquad_volume_50M_total", big.total, "ms");
    bench::Report("voxquad_volume_50M_peak_memory_ours", bigMB, "MB");
    return 0;
}
