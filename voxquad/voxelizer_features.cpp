#include <algorithm>
#include <cmath>

#include "sharp_features.h"
#include "status_output.h"
#include "volume_storage.h"
#include "voxelizer.h"

namespace voxquad {

namespace {

constexpr std::uint8_t edgeFeature = 1;
constexpr std::uint8_t cornerFeature = 2;

vec3 cellCentre(int x, int y, int z)
{
    return vec3(static_cast<float>(x) + 0.5f, static_cast<float>(y) + 0.5f, static_cast<float>(z) + 0.5f);
}

bool isFinite(const vec3& p) { return std::isfinite(p.x) && std::isfinite(p.y) && std::isfinite(p.z); }

// The cell holding p; false when p lies outside the grid (or is not a number), where no cell
// could hold it and the conversion to int would not be defined.
bool cellOf(const GenericVolumeStorage& volume, const vec3& p, int (&cell)[3])
{
    const int size[3] = {volume.getXSize(), volume.getYSize(), volume.getZSize()};
    for (int a = 0; a < 3; ++a) {
        const float c = std::floor(p[a]);
        if (!(c >= 0 && c < static_cast<float>(size[a]))) return false;
        cell[a] = static_cast<int>(c);
    }
    return true;
}

// Nearest point of the segment t * d (t in [0, 1]) to q within a box of +-0.7 around q, by a coarse
// scan of 100 samples refined once around the best (single precision, as the steps below decide the
// sample positions). Returns the squared distance, 10 when no sample lies in the box.
float nearestOnSegment(const vec3& q, const vec3& d, vec3& bestVector)
{
    float best = 10, step = 0.01f, lo = 0, hi = 1, bestT = 0;
    bool improved = true;
    while (step > 0.0001f && improved) {
        improved = false;
        for (float t = lo; t < hi; t += step) {
            const vec3 v = q - d * t;
            if (std::fabs(v.x) <= 0.7f && std::fabs(v.y) <= 0.7f && std::fabs(v.z) <= 0.7f && dot(v, v) < best) {
                best = dot(v, v);
                bestVector = v;
                bestT = t;
                improved = true;
            }
        }
        if (improved) {
            lo = std::max(bestT - step, 0.0f);
            hi = std::min(bestT + step, 1.0f);
            step *= 0.1f;
        }
    }
    return best;
}

}  // namespace

void PolygonStorageVoxelizerDual::rasterizeFeatures()
{
    if (status) status->beginStage("Sharp features");
    sharpFeatures->detect(featureThreshold);
    for (const VertexIDList& line : sharpFeatures->getFeatureLines()) {
        markCorner(line.front());
        for (std::size_t k = 0; k + 1 < line.size(); ++k) markSegment(line[k], line[k + 1]);
        markCorner(line.back());
    }
    if (status) status->endStage();
}

void PolygonStorageVoxelizerDual::markCorner(int v)
{
    const vec3 p = storage->Vertices[v].position;
    int cell[3];
    if (!cellOf(*volume, p, cell)) return;
    const int x = cell[0], y = cell[1], z = cell[2];
    VoxelData voxel;
    volume->getVoxel(x, y, z, voxel);
    if (voxel.flags & cornerFeature) return;
    voxel.featureOffset = cellCentre(x, y, z) - p;
    voxel.flags = cornerFeature;
    volume->setVoxel(x, y, z, voxel);
}

void PolygonStorageVoxelizerDual::markSegment(int a, int b)
{
    const vec3 p1 = storage->Vertices[a].position, p2 = storage->Vertices[b].position;
    if (!isFinite(p1) || !isFinite(p2)) return;  // as the voxelizer skips such triangles
    const vec3 d = p2 - p1;
    int lo[3], hi[3];
    const int sizes[3] = {volume->getXSize(), volume->getYSize(), volume->getZSize()};
    for (int axis = 0; axis < 3; ++axis) boxAlongAxis(p1[axis], p2[axis], p2[axis], sizes[axis], lo[axis], hi[axis]);

    for (int x = lo[0]; x <= hi[0]; ++x)
        for (int y = lo[1]; y <= hi[1]; ++y)
            for (int z = lo[2]; z <= hi[2]; ++z) {
                vec3 bestVector;
                const float best = nearestOnSegment(cellCentre(x, y, z) - p1, d, bestVector);
                if (best >= 10) continue;
                VoxelData voxel;
                volume->getVoxel(x, y, z, voxel);
                if (voxel.flags == 0) {
                    voxel.featureOffset = bestVector;
                    voxel.flags = edgeFeature;
                } else if ((voxel.flags & edgeFeature) && best < dot(voxel.featureOffset, voxel.featureOffset)) {
                    voxel.featureOffset = bestVector;
                } else {
                    continue;
                }
                volume->setVoxel(x, y, z, voxel);
            }
}

}  // namespace voxquad
