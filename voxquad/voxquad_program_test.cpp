// Runs the built voxquad program and compares its console output as exact text.
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "test_files.h"

namespace voxquad {

namespace {

struct ProgramRun {
    int status = -1;
    std::string out, err;
};

ProgramRun runVoxquad(const TestFolder& folder, const std::vector<std::string>& args)
{
    std::string command = "'" PLASMORA_BIN_DIR "/voxquad'";
    for (const std::string& a : args)
        command += " '" + a + "'";
    command += " > '" + folder.path("stdout.txt") + "' 2> '" + folder.path("stderr.txt") + "'";
    int raw = std::system(command.c_str());
    ProgramRun r;
    r.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    r.out = readFile(folder.path("stdout.txt"));
    r.err = readFile(folder.path("stderr.txt"));
    return r;
}

// A closed box from (0, 0, 0) to size, two triangles per side, as the sculptor writes it.
std::string boxPly(float sx, float sy, float sz)
{
    std::ostringstream ply;
    ply << "ply\r\nformat ascii 1.0\r\ncomment box\r\nelement vertex 8\r\nproperty float x\r\nproperty float y\r\n"
           "property float z\r\nelement face 12\r\nproperty list uchar int vertex_indices\r\nend_header\r\n";
    for (int i = 0; i < 8; ++i)
        ply << (i & 1 ? sx : 0) << ' ' << ((i >> 1) & 1 ? sy : 0) << ' ' << ((i >> 2) & 1 ? sz : 0) << "\r\n";
    const int quads[6][4] = {{0, 2, 3, 1}, {4, 5, 7, 6}, {0, 1, 5, 4}, {2, 6, 7, 3}, {0, 4, 6, 2}, {1, 3, 7, 5}};
    for (const auto& q : quads)
        ply << "3 " << q[0] << ' ' << q[1] << ' ' << q[2] << "\r\n3 " << q[0] << ' ' << q[2] << ' ' << q[3] << "\r\n";
    return ply.str();
}

const std::string importBar = "Importing...\n[0% ----------------- 100%]\n[*************************]\n";
// The console of a full run: the import bar, the grid, then every stage up to the dual surface and
// the statistics of the result (their counts depend on the grid).
std::string successPrefix(const char* volumeSize)
{
    return importBar + "Volume Size " + volumeSize + "\n" + "Voxelization...\n";
}

void expectSuccessOutput(const std::string& out, const std::string& before, const char* volumeSize)
{
    EXPECT_EQ(out.rfind(before + successPrefix(volumeSize), 0), 0u) << out;
    for (const char* stage : {"\nMarching...\n", "\nDetailed cases statistics\n", "\nConstructing Dual Surface...\n",
                              "\n------ Polygon Storage Statistics -------- begin\n"})
        EXPECT_NE(out.find(stage), std::string::npos) << stage;
    const std::string end = "------ Polygon Storage Statistics -------- end\n";
    EXPECT_TRUE(out.size() >= end.size() && out.compare(out.size() - end.size(), end.size(), end) == 0) << out;
}

}  // namespace

TEST(VoxquadProgram, FewerThanTwoArgumentsPrintTheUsage)
{
    TestFolder folder;
    std::string in = folder.write("in.ply", boxPly(2, 1, 1));
    for (const std::vector<std::string>& args : {std::vector<std::string>{}, std::vector<std::string>{in}}) {
        ProgramRun r = runVoxquad(folder, args);
        EXPECT_NE(r.status, 0);
        EXPECT_EQ(r.out, "");
        EXPECT_EQ(r.err, "usage: voxquad <input.ply> <output.ply|.obj|.pc> [<targetVoxelCount>]\n");
    }
}

TEST(VoxquadProgram, ConvertsTheBoxInWorldUnits)
{
    TestFolder folder;
    std::string in = folder.write("in.ply", boxPly(2, 1, 1));
    ProgramRun r = runVoxquad(folder, {in, folder.path("out.obj")});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.err, "");
    expectSuccessOutput(r.out, "", "288 x 144 x 144");

    // The dual surface of the box, back in world units: inside the box, reaching its far side.
    std::istringstream obj(readFile(folder.path("out.obj")));
    std::string line;
    std::getline(obj, line);
    EXPECT_EQ(line, "g obj1\r");
    float maxX = 0;
    int vertices = 0;
    for (char tag = 0; obj >> tag && tag == 'v'; ++vertices) {
        float x, y, z;
        obj >> x >> y >> z;
        const float cell = 2.0f / 280;
        EXPECT_TRUE(x > -cell && x < 2 + cell && y > -cell && y < 1 + cell && z > -cell && z < 1 + cell)
            << x << " " << y << " " << z;
        maxX = std::max(maxX, x);
    }
    EXPECT_GT(vertices, 1000);
    EXPECT_GT(maxX, 1.99f);
}

TEST(VoxquadProgram, ArgumentRules)
{
    struct Case {
        const char* name;
        std::vector<std::string> tail;  // arguments after the input
        std::string before;             // console lines before the import
        const char* volumeSize;
        const char* written;            // output file expected, or nullptr
    };
    TestFolder folder;
    std::string in = folder.write("in.ply", boxPly(2, 1, 1));
    const std::string dir = folder.path("");
    const std::vector<Case> cases = {
        {"third argument sets the voxel count", {dir + "a.ply", "1000000"}, "", "158 x 79 x 79", "a.ply"},
        {"atol reads blanks, a sign and digits", {dir + "b.pc", " +1000000x"}, "", "158 x 79 x 79", "b.pc"},
        {"a fourth argument drops the third", {dir + "c.obj", "0", "extra"}, "", "288 x 144 x 144", "c.obj"},
        {"volume output is recognised and not written", {dir + "f.vol"}, "", "288 x 144 x 144", nullptr},
    };
    for (const Case& c : cases) {
        std::vector<std::string> args = {in};
        args.insert(args.end(), c.tail.begin(), c.tail.end());
        ProgramRun r = runVoxquad(folder, args);
        EXPECT_EQ(r.status, 0) << c.name;
        EXPECT_EQ(r.err, "") << c.name;
        expectSuccessOutput(r.out, c.before, c.volumeSize);
        EXPECT_EQ(std::filesystem::exists(c.tail[0]), c.written != nullptr) << c.name;
    }
}

TEST(VoxquadProgram, OutputOfUnknownTypeIsRefusedBeforeAnyWork)
{
    TestFolder folder;
    std::string in = folder.write("in.ply", boxPly(2, 1, 1));
    for (const char* name : {"out.stl", "out.Ply", "out"}) {
        const std::string out = folder.path(name);
        ProgramRun r = runVoxquad(folder, {in, out});
        EXPECT_NE(r.status, 0) << name;
        EXPECT_EQ(r.out, "Unrecognized file format for " + out + "\n") << name;
        EXPECT_EQ(r.err, "") << name;
        EXPECT_FALSE(std::filesystem::exists(out)) << name;
    }
}

TEST(VoxquadProgram, InputNameIsClassifiedButReadAsPly)
{
    TestFolder folder;
    std::string in = folder.write("mesh.txt", boxPly(2, 1, 1));
    ProgramRun r = runVoxquad(folder, {in, folder.path("out.ply")});
    EXPECT_EQ(r.status, 0);
    expectSuccessOutput(r.out, "Unrecognized file format for " + in + "\n", "288 x 144 x 144");
}

TEST(VoxquadProgram, FailuresEndWithAMessageAndNonZeroStatus)
{
    struct Case {
        const char* name;
        std::string input;  // PLY text; empty for a missing file
        std::vector<std::string> tail;
        std::string error;  // standard error, "%in" standing for the input's name
    };
    const std::vector<Case> cases = {
        {"missing input", "", {"out.obj"}, "Cannot open the input file %in\n"},
        {"zero voxels", boxPly(2, 1, 1), {"out.obj", "0"}, "The target voxel count must be positive, not 0.\n"},
        {"negative voxels", boxPly(2, 1, 1), {"out.obj", "-5"}, "The target voxel count must be positive, not -5.\n"},
        {"voxel count beyond 32 bits", boxPly(2, 1, 1), {"out.obj", "4294967296"},
         "The target voxel count 4294967296 is out of range.\n"},
        {"flat box", boxPly(2, 1, 0), {"out.obj"},
         "The mesh is too flat for a voxel grid: its bounding box gives fewer than 5 cells along an axis.\n"},
        {"budget too small for a nearly flat box", boxPly(1000, 1000, 1), {"out.obj", "1000000"},
         "The target voxel count 1000000 is too small for this mesh: a grid needs at least 5 cells along each axis, "
         "which takes about 125000076 voxels.\n"},
        {"a hundred voxels", boxPly(1, 1, 1), {"out.obj", "100"},
         "The target voxel count 100 is too small for this mesh: a grid needs at least 5 cells along each axis, "
         "which takes about 126 voxels.\n"},
        {"binary PLY", "ply\nformat binary_little_endian 1.0\nelement vertex 3\nelement face 1\nend_header\n",
         {"out.obj"}, "%in: binary PLY (format binary_little_endian): only ASCII PLY input is read\n"},
        {"bad face index", "ply\nelement vertex 3\nelement face 1\nend_header\n0 0 0\n1 0 0\n0 1 0\n3 0 1 5\n",
         {"out.obj"}, "%in, line 8: vertex index 5 is outside 0 .. 2\n"},
        {"output folder missing", boxPly(2, 1, 1), {"missing/out.obj"},
         "Cannot write the output file %dir/missing/out.obj: No such file or directory\n"},
    };
    for (const Case& c : cases) {
        TestFolder folder;
        std::string in = c.input.empty() ? folder.path("none.ply") : folder.write("in.ply", c.input);
        std::vector<std::string> args = {in};
        for (const std::string& t : c.tail)
            args.push_back(&t == &c.tail[0] ? folder.path(t) : t);
        ProgramRun r = runVoxquad(folder, args);
        std::string error = c.error;
        if (auto p = error.find("%in"); p != std::string::npos)
            error.replace(p, 3, in);
        if (auto p = error.find("%dir/"); p != std::string::npos)
            error.replace(p, 5, folder.path(""));
        EXPECT_NE(r.status, 0) << c.name;
        EXPECT_EQ(r.err, error) << c.name;
        EXPECT_FALSE(std::filesystem::exists(args[1])) << c.name;
        // An error never continues an unfinished progress bar: the console's last line is ended.
        EXPECT_TRUE(r.out.empty() || r.out.back() == '\n') << c.name << ": " << r.out;
    }
}

}  // namespace voxquad
