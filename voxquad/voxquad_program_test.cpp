// Runs the built voxquad program and compares its console output as exact text.
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "test_files.h"

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
const std::string absentStages = "Voxelization, sharp features, marching cubes and clean-up are not part of this build:"
                                 " the imported mesh is written unchanged.\n";

// The statistics block of the box: six vertices in four triangles, two in six, twelve triangles.
std::string boxStatistics()
{
    std::string s = "------ Polygon Storage Statistics -------- begin\nVertex grad statistics\n";
    const int grad[10] = {0, 0, 0, 0, 6, 0, 2, 0, 0, 0};
    for (int g = 0; g < 9; ++g)
        s += " " + std::to_string(grad[g]) + " grad " + std::to_string(g) + "\n";
    s += " 0 grad >=9\nTotal vertices: 8\nPolygon edge statistics\n";
    for (int e = 0; e < 9; ++e)
        s += " " + std::string(e == 3 ? "12" : "0") + " with " + std::to_string(e) + " edges\n";
    return s + " 0 with >=9 edges\nTotal : 12\n------ Polygon Storage Statistics -------- end\n";
}

std::string successOutput(const char* volumeSize)
{
    return importBar + "Volume Size " + volumeSize + "\n" + absentStages + boxStatistics();
}

}  // namespace

TEST(VoxquadProgram, FewerThanTwoArgumentsDoNothing)
{
    TestFolder folder;
    std::string in = folder.write("in.ply", boxPly(2, 1, 1));
    for (const std::vector<std::string>& args : {std::vector<std::string>{}, std::vector<std::string>{in}}) {
        ProgramRun r = runVoxquad(folder, args);
        EXPECT_EQ(r.status, 0);
        EXPECT_EQ(r.out, "");
        EXPECT_EQ(r.err, "");
    }
}

TEST(VoxquadProgram, ConvertsTheBoxInWorldUnits)
{
    TestFolder folder;
    std::string in = folder.write("in.ply", boxPly(2, 1, 1));
    ProgramRun r = runVoxquad(folder, {in, folder.path("out.obj")});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.err, "");
    EXPECT_EQ(r.out, successOutput("288 x 144 x 144"));

    std::istringstream obj(readFile(folder.path("out.obj")));
    std::string line;
    std::getline(obj, line);
    EXPECT_EQ(line, "g obj1\r");
    for (int i = 0; i < 8; ++i) {
        char tag = 0;
        float x, y, z;
        obj >> tag >> x >> y >> z;
        EXPECT_EQ(tag, 'v');
        EXPECT_NEAR(x, i & 1 ? 2 : 0, 1e-5);
        EXPECT_NEAR(y, (i >> 1) & 1 ? 1 : 0, 1e-5);
        EXPECT_NEAR(z, (i >> 2) & 1 ? 1 : 0, 1e-5);
    }
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
        {"mixed case is unknown", {dir + "d.Ply"}, "Unrecognized file format for " + dir + "d.Ply\n",
         "288 x 144 x 144", nullptr},
        {"unknown extension", {dir + "e.stl"}, "Unrecognized file format for " + dir + "e.stl\n", "288 x 144 x 144",
         nullptr},
        {"volume output is recognised and not written", {dir + "f.vol"}, "", "288 x 144 x 144", nullptr},
    };
    for (const Case& c : cases) {
        std::vector<std::string> args = {in};
        args.insert(args.end(), c.tail.begin(), c.tail.end());
        ProgramRun r = runVoxquad(folder, args);
        EXPECT_EQ(r.status, 0) << c.name;
        EXPECT_EQ(r.err, "") << c.name;
        EXPECT_EQ(r.out, c.before + successOutput(c.volumeSize)) << c.name;
        EXPECT_EQ(std::filesystem::exists(c.tail[0]), c.written != nullptr) << c.name;
    }
}

TEST(VoxquadProgram, InputNameIsClassifiedButReadAsPly)
{
    TestFolder folder;
    std::string in = folder.write("mesh.txt", boxPly(2, 1, 1));
    ProgramRun r = runVoxquad(folder, {in, folder.path("out.ply")});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, "Unrecognized file format for " + in + "\n" + successOutput("288 x 144 x 144"));
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
        {"nearly flat box", boxPly(1000, 1000, 1), {"out.obj", "1000000"},
         "The mesh is too flat for a voxel grid: its bounding box gives fewer than 5 cells along an axis.\n"},
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
    }
}
