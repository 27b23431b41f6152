// voxquad <input> <output> [<targetVoxelCount>]
// Remeshes an ASCII PLY triangle mesh into a quad-dominant mesh and writes it as PLY, OBJ or a
// shell deck, chosen by the output's extension. Exit status 0 on success, 1 on any failure.
#include <cstdint>
#include <cstdio>
#include <limits>
#include <new>

#include "file_type.h"
#include "polygon_storage_export.h"
#include "polygon_storage_import_ply.h"
#include "quad_dominant_remesher.h"
#include "status_output.h"
#include "text_numbers.h"

namespace {

// The voxel budget as atol reads it (blanks and a sign, up to the first non-digit; 0 when
// nothing parses); false when it lies outside the 32-bit range.
bool parseTargetVoxelCount(const char* text, std::int32_t& count)
{
    long long value = 0;
    if (parseLong(text, value) == ParseResult::OutOfRange || value < std::numeric_limits<std::int32_t>::min() ||
        value > std::numeric_limits<std::int32_t>::max()) {
        std::fprintf(stderr, "The target voxel count %s is out of range.\n", text);
        return false;
    }
    count = static_cast<std::int32_t>(value);
    return true;
}

bool writeResult(FileType type, const char* fileName, PolygonStorage& mesh)
{
    switch (type) {
    case FileTypePC:
        return PolygonStorageExportPC().write(fileName, mesh);
    case FileTypePLY:
        return PolygonStorageExportPLY().write(fileName, mesh);
    case FileTypeOBJ:
        return PolygonStorageExportOBJ().write(fileName, mesh);
    case FileTypeUnknown:
    case FileTypeVolume:
        break;
    }
    return true;
}

}  // namespace

int main(int argc, char** argv)
{
    QuadDominantRemesher remesher;
    consoleStatusOutput console;
    PolygonStorageImportPLY importer;
    remesher.setStatusOutput(&console);
    importer.setStatusOutput(&console);
    remesher.setUseSharpFeatures(true);

    if (argc < 3)
        return 0;
    fileTypeOf(argv[1]);  // the input is read as PLY whatever its name; only the message matters
    FileType outputType = fileTypeOf(argv[2]);
    if (argc == 4) {
        std::int32_t count = 0;
        if (!parseTargetVoxelCount(argv[3], count))
            return 1;
        remesher.setTargetVoxelCount(count);
    }

    if (!importer.import(argv[1], remesher.getInputMesh()))
        return 1;
    try {
        if (!remesher.buildVolume())
            return 1;
        remesher.extractSurface();
    } catch (const std::bad_alloc&) {
        std::fputs("Not enough memory for the voxel grid; try a smaller target voxel count.\n", stderr);
        return 1;
    }
    remesher.getDualMesh().printStatistics();
    return writeResult(outputType, argv[2], remesher.getDualMesh()) ? 0 : 1;
}
