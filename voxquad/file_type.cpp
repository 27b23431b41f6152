#include "file_type.h"

#include <cstdio>
#include <cstring>

namespace voxquad {

namespace {

bool endsWith(const char* name, std::size_t length, const char* suffix)
{
    std::size_t n = std::strlen(suffix);
    return length >= n && std::strcmp(name + length - n, suffix) == 0;
}

}  // namespace

FileType fileTypeOf(const char* name)
{
    std::size_t length = std::strlen(name);
    if (endsWith(name, length, ".pc") || endsWith(name, length, ".PC"))
        return FileTypePC;
    if (endsWith(name, length, ".ply") || endsWith(name, length, ".PLY"))
        return FileTypePLY;
    if (endsWith(name, length, ".vol") || endsWith(name, length, ".VOL"))
        return FileTypeVolume;
    if (endsWith(name, length, ".obj") || endsWith(name, length, ".OBJ"))
        return FileTypeOBJ;
    std::printf("Unrecognized file format for %s\n", name);
    std::fflush(stdout);
    return FileTypeUnknown;
}

}  // namespace voxquad
