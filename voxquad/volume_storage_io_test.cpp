#include "volume_storage_io.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "volume_storage.h"
#include "volume_storage_test_support.h"

namespace voxquad {

namespace {

namespace fs = std::filesystem;

class VolumeFile : public ::testing::Test {
protected:
    void SetUp() override
    {
        path = fs::temp_directory_path() /
               ("voxquad_volume_" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()) +
                ".vol");
        io.setFileName(path.string());
        io.setStatusOutput(&status);
    }
    void TearDown() override { fs::remove(path); }

    std::string fileBytes() const
    {
        std::ifstream in(path, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }
    void writeBytes(const std::string& bytes) const
    {
        std::ofstream(path, std::ios::binary).write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    }

    fs::path path;
    StageRecorder status;
    VolumeStorageDF_IO io;
};

void fillVolume(VolumeStorageDF& volume)
{
    volume.setSize(2, 2, 2);
    volume.setScale(0.5f);
    volume.setOffset(vec3(1, -2, 3.25f));
    for (int x = 0; x < 2; ++x)
        for (int y = 0; y < 2; ++y)
            for (int z = 0; z < 2; ++z) {
                VoxelData v;
                v.distance = static_cast<float>(x * 100 + y * 10 + z) - 50.5f;
                v.flags = static_cast<std::uint8_t>(x + 2 * z);
                v.featureOffset = vec3(0.1f * x, 0.2f * y, -0.3f * z);
                volume.setVoxel(x, y, z, v);
            }
}

TEST_F(VolumeFile, TwoByTwoByTwoVolumeIs173BytesAndRoundTrips)
{
    VolumeStorageDF original;
    fillVolume(original);
    io.setVolume(&original);
    ASSERT_TRUE(io.write());
    const std::string bytes = fileBytes();
    ASSERT_EQ(bytes.size(), 173u);
    EXPECT_EQ(bytes.substr(0, 6), "VOLUME");
    EXPECT_EQ(bytes.substr(170), "END");
    // Second record is voxel (0, 0, 1): z runs innermost in the file.
    float secondDistance;
    std::memcpy(&secondDistance, bytes.data() + 34 + 17, 4);
    EXPECT_EQ(secondDistance, 1 - 50.5f);

    VolumeStorageDF copy;
    io.setVolume(&copy);
    ASSERT_TRUE(io.read());
    EXPECT_EQ(copy.getXSize(), 2);
    EXPECT_EQ(copy.getZSize(), 2);
    EXPECT_EQ(copy.getScale(), 0.5f);
    EXPECT_EQ(copy.getOffset(), vec3(1, -2, 3.25f));
    for (int n = 0; n < 8; ++n) {
        const VoxelData& a = original.records()[n];
        const VoxelData& b = copy.records()[n];
        EXPECT_EQ(a.distance, b.distance);
        EXPECT_EQ(a.flags, b.flags);
        EXPECT_EQ(a.featureOffset, b.featureOffset);
    }
    EXPECT_TRUE(status.errors.empty());
}

TEST_F(VolumeFile, EmptyVolumeRoundTrips)
{
    VolumeStorageDF empty, copy;
    copy.setSize(1, 1, 1);
    io.setVolume(&empty);
    ASSERT_TRUE(io.write());
    io.setVolume(&copy);
    ASSERT_TRUE(io.read());
    EXPECT_EQ(copy.getXSize() + copy.getYSize() + copy.getZSize(), 0);
}

TEST_F(VolumeFile, DamagedFilesAreRefusedWithAMessageAndLeaveTheVolumeAlone)
{
    VolumeStorageDF original;
    fillVolume(original);
    io.setVolume(&original);
    ASSERT_TRUE(io.write());
    const std::string good = fileBytes();
    auto withSize = [&](int axisOffset, std::int32_t value) {
        std::string bytes = good;
        std::memcpy(bytes.data() + axisOffset, &value, 4);
        return bytes;
    };
    // A file without records whose sizes multiply to 0 with a huge one among them.
    auto noRecords = [&](std::int32_t x, std::int32_t y, std::int32_t z) {
        std::string bytes = good.substr(0, 22);
        for (std::int32_t size : {x, y, z})
            bytes.append(reinterpret_cast<const char*>(&size), 4);
        return bytes + "END";
    };
    const struct {
        const char* what;
        std::string bytes;
    } damaged[] = {
        {"empty", ""},
        {"shorter than a header", good.substr(0, 20)},
        {"truncated records", good.substr(0, 100) + "END"},
        {"wrong header", "VOLUMX" + good.substr(6)},
        {"wrong end tag", good.substr(0, 170) + "EN!"},
        {"negative size", withSize(22, -2)},
        {"sizes larger than the file", withSize(30, 3)},
        {"huge sizes", withSize(22, 0x7fffffff)},
        {"zero beside a huge size", noRecords(1, 0x7fffffff, 0)},
        {"huge beside a zero size", noRecords(0x7fffffff, 0, 5)},
    };
    for (const auto& d : damaged) {
        writeBytes(d.bytes);
        VolumeStorageDF target;
        target.setSize(1, 1, 1);
        io.setVolume(&target);
        status.errors.clear();
        EXPECT_FALSE(io.read()) << d.what;
        EXPECT_EQ(status.errors.size(), 1u) << d.what;
        EXPECT_EQ(target.getXSize(), 1) << d.what;
        EXPECT_EQ(target.getScale(), 1) << d.what;
    }
}

TEST_F(VolumeFile, MissingFileOrSettingsAreRefused)
{
    VolumeStorageDF volume;
    EXPECT_FALSE(io.read());  // no volume set
    io.setVolume(&volume);
    EXPECT_FALSE(io.read());  // no such file
    io.setFileName("");
    EXPECT_FALSE(io.write());
    EXPECT_EQ(status.errors.size(), 3u);
}

}  // namespace

}  // namespace voxquad
