#pragma once
// Test helpers shared by the volume, voxelizer and marching-cubes tests.
#include <string>
#include <vector>

#include "status_output.h"

namespace voxquad {

// Records everything a stage reports; messages are kept whether or not a bar is open.
class StageRecorder : public StatusOutput {
public:
    void printMessage(const char* text) override { messages.emplace_back(text); }
    void setProgress(int percent) override { progress.push_back(percent); }
    void beginStage(const char* title) override { stages.emplace_back(title); }
    void endStage() override { ++endedStages; }
    void printError(const char* text) override { errors.emplace_back(text); }

    std::vector<std::string> messages;
    std::vector<std::string> errors;
    std::vector<int> progress;
    std::vector<std::string> stages;
    int endedStages = 0;
};

}  // namespace voxquad
