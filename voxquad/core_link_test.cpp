// One program with the sculptor's io library and voxquad linked in whole: a name defined by both
// would break the link (or, inline, the one-definition rule). The remesh commands work this way:
// the sculptor's files go to voxquad and its result comes back through the sculptor's OBJ reader.
#include <gtest/gtest.h>

#include "io/mapped_file.h"
#include "io/obj_reader.h"
#include "mapped_file.h"
#include "recording_status_output.h"
#include "remesh_file.h"
#include "test_files.h"

namespace {

const char* const boxPly =
    "ply\r\nformat ascii 1.0\r\nelement vertex 8\r\nproperty float x\r\nproperty float y\r\nproperty float z\r\n"
    "element face 12\r\nproperty list uchar int vertex_indices\r\nend_header\r\n"
    "0 0 0\r\n1 0 0\r\n0 1 0\r\n1 1 0\r\n0 0 1\r\n1 0 1\r\n0 1 1\r\n1 1 1\r\n"
    "3 0 2 3\r\n3 0 3 1\r\n3 4 5 7\r\n3 4 7 6\r\n3 0 1 5\r\n3 0 5 4\r\n"
    "3 2 6 7\r\n3 2 7 3\r\n3 0 4 6\r\n3 0 6 2\r\n3 1 3 7\r\n3 1 7 5\r\n";

}  // namespace

TEST(CoreLink, SculptorIoAndVoxquadShareOneProgram)
{
    voxquad::TestFolder folder;
    const std::string input = folder.write("box.ply", boxPly);

    ::MappedFile sculptorView;
    voxquad::MappedFile remesherView;
    ASSERT_TRUE(sculptorView.Open(input));
    ASSERT_TRUE(remesherView.open(input.c_str()));
    EXPECT_EQ(sculptorView.text(), remesherView.text());

    voxquad::RecordingStatusOutput status;
    const std::string output = folder.path("box.obj");
    ASSERT_TRUE(voxquad::RemeshFile(input.c_str(), output.c_str(), 20000, status));
    TOBJModel model;
    ASSERT_EQ(ReadObj(model, output), TReadStatus::Ok);
    ASSERT_EQ(model.groups.size(), 1u);
    EXPECT_GT(model.groups[0].faceRecords.size(), 100u);
}
