#pragma once
// Test and benchmark helper: meshes that nobody here made, from Debian packages when they are
// installed: the Cyberware horse of PETSc's examples (libpetsc3.18-dev-examples, big-endian binary
// PLY compressed with bzip2) and the candle stand of OpenSCAD's examples (openscad), rendered to
// STL once and kept beside the build.
#include <algorithm>
#include <array>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "polygon_storage.h"

namespace voxquad {

namespace real_meshes {

inline const char* const horsePath = "/usr/share/petsc/3.18/share/petsc/datafiles/meshes/horse.ply.bz2";
inline const char* const candleStandScad = "/usr/share/openscad/examples/Parametric/candleStand.scad";

inline std::string commandOutput(const std::string& command)
{
    std::string out;
    if (std::FILE* pipe = popen(command.c_str(), "r")) {
        char chunk[65536];
        for (std::size_t got; (got = std::fread(chunk, 1, sizeof chunk, pipe)) > 0;) out.append(chunk, got);
        pclose(pipe);
    }
    return out;
}

inline bool onPath(const char* program)
{
    return std::system((std::string("command -v ") + program + " > /dev/null 2>&1").c_str()) == 0;
}

// A binary big-endian PLY whose vertices start with float x, y, z and whose faces are lists of
// uint8 count and int32 indices (the horse's layout); false for anything else.
inline bool parseBigEndianPly(const std::string& bytes, PolygonStorage& mesh)
{
    const std::size_t end = bytes.find("end_header\n");
    if (bytes.rfind("ply\n", 0) != 0 || end == std::string::npos) return false;
    std::istringstream header(bytes.substr(0, end));
    std::string line, element;
    long vertices = 0, faces = 0;
    std::size_t vertexBytes = 0;
    const std::map<std::string, std::size_t> sizes = {{"float32", 4}, {"float", 4}, {"uint8", 1}, {"uchar", 1},
                                                      {"int32", 4}, {"int", 4}};
    while (std::getline(header, line)) {
        std::istringstream words(line);
        std::string word, type;
        words >> word;
        if (word == "format" && (words >> type, type != "binary_big_endian")) return false;
        if (word == "element") words >> element >> (element == "vertex" ? vertices : faces);
        if (word == "property" && element == "vertex" && (words >> type, sizes.count(type))) vertexBytes += sizes.at(type);
    }
    auto big = [&](std::size_t at, auto& value) {
        unsigned char raw[sizeof value];
        for (std::size_t b = 0; b < sizeof value; ++b) raw[b] = static_cast<unsigned char>(bytes[at + sizeof value - 1 - b]);
        std::memcpy(&value, raw, sizeof value);
    };
    std::size_t at = end + 11;
    if (bytes.size() < at + vertices * vertexBytes) return false;
    for (long v = 0; v < vertices; ++v, at += vertexBytes) {
        float p[3];
        for (int a = 0; a < 3; ++a) big(at + 4 * a, p[a]);
        mesh.addVertex(Vertex(vec3(p[0], p[1], p[2])));
    }
    for (long f = 0; f < faces; ++f) {
        if (at >= bytes.size()) return false;
        const int n = static_cast<unsigned char>(bytes[at++]);
        if (bytes.size() < at + 4 * static_cast<std::size_t>(n)) return false;
        VertexIDList& polygon = mesh.Polygons.emplace_back();
        for (int k = 0; k < n; ++k, at += 4) {
            std::int32_t id;
            big(at, id);
            polygon.push_back(id);
        }
    }
    return true;
}

// An ASCII STL, its corners welded where their positions are equal. OpenSCAD writes the same
// facets in a different order on every run: each facet starts at its smallest corner (its turn
// kept) and the facets are sorted, so that the mesh is the same for every rendering.
inline bool parseAsciiStl(const std::string& text, PolygonStorage& mesh)
{
    using Corner = std::tuple<float, float, float>;
    std::istringstream in(text);
    std::vector<std::array<Corner, 3>> facets;
    std::vector<Corner> corners;
    std::string word;
    while (in >> word) {
        if (word != "vertex") continue;
        float x, y, z;
        if (!(in >> x >> y >> z)) return false;
        corners.emplace_back(x, y, z);
        if (corners.size() < 3) continue;
        const auto first = std::min_element(corners.begin(), corners.end());
        std::rotate(corners.begin(), first, corners.end());
        facets.push_back({corners[0], corners[1], corners[2]});
        corners.clear();
    }
    std::sort(facets.begin(), facets.end());
    std::map<Corner, int> ids;
    for (const auto& facet : facets) {
        VertexIDList& polygon = mesh.Polygons.emplace_back();
        for (const Corner& corner : facet) {
            auto [it, added] = ids.try_emplace(corner, static_cast<int>(mesh.Vertices.size()));
            if (added) mesh.addVertex(Vertex(vec3(std::get<0>(corner), std::get<1>(corner), std::get<2>(corner))));
            polygon.push_back(it->second);
        }
    }
    return !mesh.Polygons.empty() && corners.empty();
}

inline void prepare(PolygonStorage& mesh)
{
    mesh.buildVIndex();
    mesh.computeMidpoints();
    mesh.computeVertexNormals();
}

// The horse, or false when its package is not installed.
inline bool horse(PolygonStorage& mesh)
{
    if (!std::filesystem::exists(horsePath) || !onPath("bzcat")) return false;
    if (!parseBigEndianPly(commandOutput(std::string("bzcat '") + horsePath + "'"), mesh)) return false;
    prepare(mesh);
    return true;
}

// The candle stand, rendered into cacheFolder the first time, or false when OpenSCAD is missing.
inline bool candleStand(PolygonStorage& mesh, const std::filesystem::path& cacheFolder)
{
    if (!std::filesystem::exists(candleStandScad) || !onPath("openscad")) return false;
    const std::filesystem::path stl = cacheFolder / "candleStand.stl";
    if (!std::filesystem::exists(stl)) {
        std::filesystem::create_directories(cacheFolder);
        const std::filesystem::path partial = cacheFolder / "candleStand.partial.stl";
        const std::string command = "openscad -o '" + partial.string() + "' '" + candleStandScad + "' > /dev/null 2>&1";
        if (std::system(command.c_str()) != 0) return false;
        std::filesystem::rename(partial, stl);
    }
    std::ifstream in(stl, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    if (!parseAsciiStl(text.str(), mesh)) return false;
    prepare(mesh);
    return true;
}

}  // namespace real_meshes

}  // namespace voxquad
