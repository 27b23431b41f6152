#include "remesh_file.h"

#include <new>

#include "file_type.h"
#include "polygon_storage_export.h"
#include "polygon_storage_import_ply.h"
#include "quad_dominant_remesher.h"
#include "status_output.h"

namespace voxquad {

namespace {

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

bool RemeshFile(const char* inputFile, const char* outputFile, std::int32_t targetVoxelCount, StatusOutput& status)
{
    fileTypeOf(inputFile);  // the input is read as PLY whatever its name; only the message matters
    const FileType outputType = fileTypeOf(outputFile);
    if (outputType == FileTypeUnknown)
        return false;  // nothing could be written: refused before any work

    QuadDominantRemesher remesher;
    PolygonStorageImportPLY importer;
    remesher.setStatusOutput(&status);
    importer.setStatusOutput(&status);
    remesher.setUseSharpFeatures(true);
    remesher.setTargetVoxelCount(targetVoxelCount);

    if (!importer.import(inputFile, remesher.getInputMesh()))
        return false;
    try {
        if (!remesher.buildVolume())
            return false;
        remesher.extractSurface();
    } catch (const std::bad_alloc&) {
        status.printError("Not enough memory for the voxel grid; try a smaller target voxel count.");
        return false;
    }
    remesher.getDualMesh().printStatistics();
    return writeResult(outputType, outputFile, remesher.getDualMesh());
}

}  // namespace voxquad
