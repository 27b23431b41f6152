#include "volume_storage_io.h"

#include <bit>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <limits>
#include <memory>
#include <vector>

#include "status_output.h"
#include "volume_storage.h"

namespace voxquad {

static_assert(std::endian::native == std::endian::little, "VOLUME files are little-endian");

namespace {

constexpr std::size_t headerBytes = 6 + 4 + 12 + 12;
constexpr std::size_t recordBytes = 17;
constexpr std::size_t endTagBytes = 3;

struct FileCloser {
    void operator()(std::FILE* f) const { std::fclose(f); }
};
using File = std::unique_ptr<std::FILE, FileCloser>;

template <class T>
char* put(char* out, const T& value)
{
    std::memcpy(out, &value, sizeof(T));
    return out + sizeof(T);
}

template <class T>
const char* take(const char* in, T& value)
{
    std::memcpy(&value, in, sizeof(T));
    return in + sizeof(T);
}

char* putRecord(char* out, const VoxelData& v)
{
    out = put(out, v.distance);
    out = put(out, v.featureOffset.x);
    out = put(out, v.featureOffset.y);
    out = put(out, v.featureOffset.z);
    return put(out, v.flags);
}

const char* takeRecord(const char* in, VoxelData& v)
{
    in = take(in, v.distance);
    in = take(in, v.featureOffset.x);
    in = take(in, v.featureOffset.y);
    in = take(in, v.featureOffset.z);
    return take(in, v.flags);
}

// The sizes are acceptable when none is negative, XSize * YSize fits the volume's 32-bit slice
// arithmetic and their product is the number of records the file holds. A volume without voxels
// has all three sizes 0: a zero size beside a large one would only spin the loops over nothing.
bool sizesMatchFile(std::int32_t x, std::int32_t y, std::int32_t z, std::size_t fileBytes)
{
    if (x < 0 || y < 0 || z < 0) return false;
    const std::size_t available = fileBytes - headerBytes - endTagBytes;
    if (available % recordBytes != 0) return false;
    const unsigned long long records = available / recordBytes;
    if (x == 0 || y == 0 || z == 0) return x == 0 && y == 0 && z == 0 && records == 0;
    const unsigned long long slice = static_cast<unsigned long long>(x) * static_cast<unsigned long long>(y);
    if (slice > static_cast<unsigned long long>(std::numeric_limits<std::int32_t>::max())) return false;
    return records % slice == 0 && records / slice == static_cast<unsigned long long>(z);
}

}  // namespace

bool VolumeStorageDF_IO::fail(const char* what) const
{
    char text[1200];
    std::snprintf(text, sizeof text, "VOLUME file %s: %s", FileName.c_str(), what);
    reportError(status, text);
    return false;
}

bool VolumeStorageDF_IO::write()
{
    if (FileName.empty()) return fail("no file name given");
    if (!Volume) return fail("no volume given");
    File file(std::fopen(FileName.c_str(), "wb"));
    if (!file) return fail("cannot be created");

    const int xs = Volume->getXSize(), ys = Volume->getYSize(), zs = Volume->getZSize();
    char header[headerBytes];
    char* out = header;
    std::memcpy(out, "VOLUME", 6);
    out = put(out + 6, Volume->getScale());
    out = put(out, Volume->getOffset().x);
    out = put(out, Volume->getOffset().y);
    out = put(out, Volume->getOffset().z);
    out = put(out, static_cast<std::int32_t>(xs));
    out = put(out, static_cast<std::int32_t>(ys));
    put(out, static_cast<std::int32_t>(zs));
    if (std::fwrite(header, sizeof header, 1, file.get()) != 1) return fail("write failed");

    // One x-slab at a time: the file runs z innermost, the array x innermost.
    std::vector<char> slab(static_cast<std::size_t>(ys) * static_cast<std::size_t>(zs) * recordBytes);
    for (int x = 0; x < xs; ++x) {
        char* rec = slab.data();
        VoxelData voxel;
        for (int y = 0; y < ys; ++y)
            for (int z = 0; z < zs; ++z) {
                Volume->getVoxel(x, y, z, voxel);
                rec = putRecord(rec, voxel);
            }
        if (!slab.empty() && std::fwrite(slab.data(), slab.size(), 1, file.get()) != 1) return fail("write failed");
    }
    if (std::fwrite("END", endTagBytes, 1, file.get()) != 1) return fail("write failed");
    if (std::fclose(file.release()) != 0) return fail("write failed");
    return true;
}

bool VolumeStorageDF_IO::read()
{
    if (FileName.empty()) return fail("no file name given");
    if (!Volume) return fail("no volume given");
    File file(std::fopen(FileName.c_str(), "rb"));
    if (!file) return fail("cannot be opened");

    std::vector<char> bytes;
    char chunk[65536];
    for (std::size_t got; (got = std::fread(chunk, 1, sizeof chunk, file.get())) > 0;)
        bytes.insert(bytes.end(), chunk, chunk + got);
    if (std::ferror(file.get())) return fail("read failed");
    return readBytes(std::string_view(bytes.data(), bytes.size()));
}

bool VolumeStorageDF_IO::readBytes(std::string_view bytes)
{
    if (!Volume) return fail("no volume given");
    if (bytes.size() < headerBytes + endTagBytes) return fail("is too short");
    if (std::memcmp(bytes.data(), "VOLUME", 6) != 0) return fail("has no VOLUME header");
    if (std::memcmp(bytes.data() + bytes.size() - endTagBytes, "END", endTagBytes) != 0)
        return fail("has no END tag");

    float scale;
    vec3 offset;
    std::int32_t xs, ys, zs;
    const char* in = take(bytes.data() + 6, scale);
    in = take(in, offset.x);
    in = take(in, offset.y);
    in = take(in, offset.z);
    in = take(in, xs);
    in = take(in, ys);
    in = take(in, zs);
    if (!sizesMatchFile(xs, ys, zs, bytes.size())) return fail("sizes do not match the file length");

    Volume->setScale(scale);
    Volume->setOffset(offset);
    Volume->setSize(xs, ys, zs);
    VoxelData voxel;
    for (int x = 0; x < xs; ++x)
        for (int y = 0; y < ys; ++y)
            for (int z = 0; z < zs; ++z) {
                in = takeRecord(in, voxel);
                Volume->setVoxel(x, y, z, voxel);
            }
    return true;
}

}  // namespace voxquad
