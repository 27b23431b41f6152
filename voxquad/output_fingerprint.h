#pragma once
// Test helper: a 64-bit FNV-1a hash of everything a remesher run hands out (the OBJ, PLY and shell
// files of its result, and its messages), so that work on the speed of the stages can show that
// not one output byte changed.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "polygon_storage.h"
#include "polygon_storage_export.h"
#include "test_files.h"

namespace voxquad {

inline std::uint64_t fnv1a(std::string_view bytes, std::uint64_t hash = 14695981039346656037ull)
{
    for (unsigned char c : bytes) hash = (hash ^ c) * 1099511628211ull;
    return hash;
}

inline std::uint64_t outputFingerprint(PolygonStorage& result, const std::vector<std::string>& messages)
{
    const TestFolder folder;
    const std::string obj = folder.path("out.obj"), ply = folder.path("out.ply"), pc = folder.path("out.pc");
    EXPECT_TRUE(PolygonStorageExportOBJ().write(obj.c_str(), result));
    EXPECT_TRUE(PolygonStorageExportPLY().write(ply.c_str(), result));
    EXPECT_TRUE(PolygonStorageExportPC().write(pc.c_str(), result));
    std::uint64_t hash = fnv1a(readFile(obj));
    hash = fnv1a(readFile(ply), hash);
    hash = fnv1a(readFile(pc), hash);
    for (const std::string& m : messages) hash = fnv1a(m + '\n', hash);
    return hash;
}

}  // namespace voxquad
