// The table of plasmora-cli's commands: a new command is its source file and
// one row here.
#include "cli.h"

using Arguments = std::vector<std::string>;

int RunInfo(const Arguments& arguments);
int RunConvert(const Arguments& arguments);
int RunSubdivide(const Arguments& arguments);
int RunUnsubdivide(const Arguments& arguments);
int RunAo(const Arguments& arguments);
int RunUv(const Arguments& arguments);
int RunRemeshCompact(const Arguments& arguments);
int RunRemesh(const Arguments& arguments);
int RunReduce(const Arguments& arguments);

namespace {

constexpr TCliCommand kCommands[] = {
    {"info", 1, 1,
     "  info FILE          list the elements of a model file: name, vertex and\n"
     "                     triangle counts, subdivision level, bounding box\n",
     RunInfo},
    {"convert", 2, 2,
     "  convert IN OUT     read a model file and write it in the format that OUT's\n"
     "                     extension names (.met, .obj, .ply, .stl, .off); a PLY,\n"
     "                     STL or OFF file holds one mesh: the elements of the file\n"
     "                     read are merged into it\n",
     RunConvert},
    {"subdivide", 2, 3,
     "  subdivide FILE OUT [LEVELS]\n"
     "                     split every triangle of the principal (first) element\n"
     "                     into four, LEVELS times (1 when not given), with Loop\n"
     "                     smoothing, and write the scene to OUT\n",
     RunSubdivide},
    {"unsubdivide", 2, 3,
     "  unsubdivide FILE OUT [LEVELS]\n"
     "                     merge the principal element back LEVELS levels (1 when\n"
     "                     not given) and write the scene to OUT; the element must\n"
     "                     carry its subdivision level (a .met file does)\n",
     RunUnsubdivide},
    {"ao", 2, 3,
     "  ao IN OUT [STRENGTH]\n"
     "                     bake ambient occlusion into the vertex colours of every\n"
     "                     element (STRENGTH 0 to 50, 4 when not given) and write\n"
     "                     the scene to OUT\n",
     RunAo},
    {"uv", 2, 3,
     "  uv IN OUT.obj [PARTITION]\n"
     "                     give every element texture coordinates as Create UVs\n"
     "                     does (charts of similar normals, laid out in rows, seam\n"
     "                     vertices split; PARTITION 0.1 to 1.0, the higher the more\n"
     "                     charts, 0.8 when not given) and write the model as OBJ\n",
     RunUv},
    {"remesh-compact", 2, 3,
     "  remesh-compact IN OUT [VOXELS]\n"
     "                     remesh the principal (first) element into quads (stored\n"
     "                     as triangle pairs) through voxquad with a budget of\n"
     "                     VOXELS (2000000 when not given), and write it alone to OUT\n",
     RunRemeshCompact},
    {"remesh", 2, 3,
     "  remesh IN OUT [DEPTH]\n"
     "                     rebuild the principal element as the closed surface\n"
     "                     through its vertices (screened Poisson, through\n"
     "                     poissonrecon) at octree DEPTH 6 to 12 (10 when not given),\n"
     "                     keeping its paint, and write the scene to OUT\n",
     RunRemesh},
    {"reduce", 3, 3,
     "  reduce IN OUT PERCENT\n"
     "                     reduce the principal element to PERCENT % (0 to 100) of\n"
     "                     its triangles by quadric edge collapses, as Mesh\n"
     "                     Reduction does, and write the scene to OUT\n",
     RunReduce},
};

}  // namespace

std::span<const TCliCommand> CliCommands() { return kCommands; }
