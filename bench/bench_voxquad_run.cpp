// voxquad: the whole run (PLY import, volume, sharp features, marching cubes, dual surface,
// clean-up, statistics, PLY export) on a creased 100k-triangle part at the default 6000000 voxels:
// total time, time of each stage and peak resident memory. Then the quality of the result on a
// cube, a sphere and a stepped bracket: share of quads, largest and mean distance of the output
// vertices to the input (grid cells), and the input feature edges that keep output vertices.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "bench_util.h"
#include "polygon_storage_export.h"
#include "quad_dominant_remesher.h"
#include "remesh_file.h"
#include "status_output.h"
#include "surface_distance.h"
#include "test_meshes.h"

namespace {

using namespace voxquad;
using Clock = std::chrono::steady_clock;

double msSince(Clock::time_point start)
{
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

// Silent status output that times every stage from beginStage to endStage and keeps the polygon
// count of the statistics.
class StageTimer : public StatusOutput {
public:
    std::vector<std::pair<std::string, double>> stages;
    long long totalPolygons = 0;

    void printMessage(const char* text) override { std::sscanf(text, "Total : %lld", &totalPolygons); }
    void setProgress(int) override {}
    void beginStage(const char* title) override
    {
        current = title;
        start = Clock::now();
    }
    void endStage() override { stages.emplace_back(current, msSince(start)); }

private:
    std::string current;
    Clock::time_point start;
};

void benchWholeRun(const std::filesystem::path& folder)
{
    const std::string input = (folder / "bracket.ply").string(), output = (folder / "result.ply").string();
    PolygonStorage part = test_meshes::bracket(48);
    PolygonStorageExportPLY().write(input.c_str(), part);
    bench::Report("voxquad run input triangles", double(part.Polygons.size()), "triangles");
    part.clear();

    StageTimer timer;
    const auto start = Clock::now();
    if (!RemeshFile(input.c_str(), output.c_str(), defaultTargetVoxelCount, timer))
        std::fputs("voxquad run failed\n", stderr);
    const double totalMs = msSince(start);

    double staged = 0;
    for (const auto& [title, ms] : timer.stages) {
        bench::Report("voxquad run stage " + title, ms, "ms");
        staged += ms;
    }
    bench::Report("voxquad run outside the stages (statistics, writing PLY)", totalMs - staged, "ms");
    bench::Report("voxquad run total", totalMs, "ms");
    bench::Report("voxquad run output polygons", double(timer.totalPolygons), "polygons");
    bench::Report("voxquad run peak memory", bench::PeakMemoryMiB(), "MiB");
}

void reportQuality(const char* name, const PolygonStorage& mesh)
{
    StageTimer silent;
    QuadDominantRemesher remesher;
    remesher.setStatusOutput(&silent);
    remesher.setUseSharpFeatures(true);
    remesher.getInputMesh() = mesh;
    remesher.buildVolume();
    remesher.extractSurface();
    const PolygonStorage& input = remesher.getInputMesh();
    const PolygonStorage& output = remesher.getDualMesh();

    std::size_t polygons = 0, quads = 0;
    for (const VertexIDList& p : output.Polygons) {
        polygons += !p.empty();
        quads += p.size() == 4;
    }
    std::vector<vec3> used;
    for (std::size_t v = 0; v < output.Vertices.size(); ++v)
        if (!output.VIndex[v].empty()) used.push_back(output.Vertices[v].position);
    double largest = 0, sum = 0;
    for (const vec3& p : used) {
        const double d = surface_distance::toMesh(p, input);
        largest = std::max(largest, d);
        sum += d;
    }
    // Feature edges of the input (the lines the remesher found) with an output vertex within a
    // tenth of a cell.
    std::size_t featureEdges = 0, kept = 0;
    for (const VertexIDList& line : remesher.getSharpFeatures().getFeatureLines())
        for (std::size_t k = 0; k + 1 < line.size(); ++k) {
            ++featureEdges;
            const vec3 a = input.Vertices[line[k]].position, b = input.Vertices[line[k + 1]].position;
            kept += std::any_of(used.begin(), used.end(),
                                [&](const vec3& p) { return surface_distance::toSegment(p, a, b) < 0.1f; });
        }
    const std::string prefix = std::string("voxquad quality ") + name;
    std::printf("BENCH %s quads: %.3f %% (%zu of %zu polygons)\n", prefix.c_str(),
                100.0 * double(quads) / double(std::max<std::size_t>(polygons, 1)), quads, polygons);
    std::printf("BENCH %s largest distance: %.5f cells\n", prefix.c_str(), largest);
    std::printf("BENCH %s mean distance: %.5f cells\n", prefix.c_str(),
                sum / double(std::max<std::size_t>(used.size(), 1)));
    std::printf("BENCH %s feature edges kept: %zu of %zu edges\n", prefix.c_str(), kept, featureEdges);
    std::fflush(stdout);
}

}  // namespace

int main()
{
    const std::filesystem::path folder = std::filesystem::temp_directory_path() / "bench_voxquad_run";
    std::filesystem::create_directories(folder);
    benchWholeRun(folder);
    std::filesystem::remove_all(folder);

    reportQuality("cube", test_meshes::cube(10));
    reportQuality("sphere", test_meshes::sphere(48, 24));
    reportQuality("bracket", test_meshes::bracket(4));
    reportQuality("capped cylinder", test_meshes::cutCylinder(48, 6, 0));
    return 0;
}
