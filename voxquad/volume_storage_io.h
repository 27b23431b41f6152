#pragma once
#include <string>
#include <string_view>

namespace voxquad {

class GenericVolumeStorage;
class StatusOutput;

// Reader and writer of binary VOLUME files (little-endian, no padding):
//   "VOLUME", scale (f32), offset (3 x f32), XSize, YSize, ZSize (i32),
//   per voxel with x outermost and z innermost: distance, featureOffset x, y, z (f32), flags (u8),
//   "END".
// A file that is short, carries a wrong header or end tag, or whose sizes are negative, zero beside
// a non-zero one, or do not match its length is refused with a message and leaves the volume
// untouched.
class VolumeStorageDF_IO {
public:
    void setFileName(const std::string& name) { FileName = name; }
    void setVolume(GenericVolumeStorage* volume) { Volume = volume; }
    void setStatusOutput(StatusOutput* s) { status = s; }

    // Both return false after reporting the failure as an error through the status output
    // (standard error when none is set).
    virtual bool write();
    virtual bool read();
    // read() on the bytes of a whole file held in memory (FileName names it in messages).
    bool readBytes(std::string_view bytes);
    virtual ~VolumeStorageDF_IO() = default;

protected:
    std::string FileName;
    GenericVolumeStorage* Volume = nullptr;  // not owned
    StatusOutput* status = nullptr;          // not owned

private:
    bool fail(const char* what) const;
};

}  // namespace voxquad
