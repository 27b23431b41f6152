// voxquad's VOLUME files: an accepted volume holds exactly the file's records
// (34 header bytes, 17 per voxel, the 3-byte end tag).
#include "fuzz_target.h"
#include "volume_storage.h"
#include "volume_storage_io.h"

FUZZ_TARGET(volume)(const uint8_t* data, size_t size) {
  voxquad::VolumeStorageDF volume;
  voxquad::VolumeStorageDF_IO io;
  io.setVolume(&volume);
  io.setFileName("fuzz.vol");
  if (!io.readBytes(AsText(data, size))) return 0;
  const size_t voxels = static_cast<size_t>(volume.getXSize()) * static_cast<size_t>(volume.getYSize()) *
                        static_cast<size_t>(volume.getZSize());
  FUZZ_CHECK(34 + voxels * 17 + 3 == size);
  return 0;
}
