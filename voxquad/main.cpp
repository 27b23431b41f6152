// voxquad <input> <output> [<targetVoxelCount>]
// Remeshes an ASCII PLY triangle mesh into a quad-dominant mesh and writes it as PLY, OBJ or a
// shell deck, chosen by the output's extension. Exit status 0 on success, 1 on any failure.
#include <cstdint>
#include <cstdio>
#include <limits>

#include "quad_dominant_remesher.h"
#include "remesh_file.h"
#include "status_output.h"
#include "text_numbers.h"

namespace {

// The voxel budget as atol reads it (blanks and a sign, up to the first non-digit; 0 when
// nothing parses); false when it lies outside the 32-bit range.
bool parseTargetVoxelCount(const char* text, std::int32_t& count)
{
    long long value = 0;
    if (voxquad::parseLong(text, value) == voxquad::ParseResult::OutOfRange ||
        value < std::numeric_limits<std::int32_t>::min() || value > std::numeric_limits<std::int32_t>::max()) {
        std::fprintf(stderr, "The target voxel count %s is out of range.\n", text);
        return false;
    }
    count = static_cast<std::int32_t>(value);
    return true;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc < 3) {
        std::fputs("usage: voxquad <input.ply> <output.ply|.obj|.pc> [<targetVoxelCount>]\n", stderr);
        return 1;
    }
    std::int32_t count = voxquad::defaultTargetVoxelCount;
    if (argc == 4 && !parseTargetVoxelCount(argv[3], count))
        return 1;
    voxquad::consoleStatusOutput console;
    return voxquad::RemeshFile(argv[1], argv[2], count, console) ? 0 : 1;
}
