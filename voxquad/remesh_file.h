#pragma once
#include <cstdint>

namespace voxquad {

class StatusOutput;

// One whole run of the remesher on files, as the voxquad program does it: both names are
// classified by their extension (a name that matches none is reported; an output name of unknown
// type ends the run there, as nothing could be written), inputFile is read as ASCII PLY, remeshed
// on a grid of about targetVoxelCount voxels, the statistics of the result are printed and the
// result is written in the format of outputFile's extension. Progress, messages and errors go to
// status. Returns false, after a message, when a step fails.
bool RemeshFile(const char* inputFile, const char* outputFile, std::int32_t targetVoxelCount, StatusOutput& status);

}  // namespace voxquad
