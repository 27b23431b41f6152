#pragma once
// Test helper: records every call to a status output as text lines.
#include <string>
#include <vector>

#include "status_output.h"

namespace voxquad {

class RecordingStatusOutput : public StatusOutput {
public:
    std::vector<std::string> messages;
    std::vector<std::string> stages;  // titles of beginStage
    int openStages = 0;

    void printMessage(const char* text) override { messages.emplace_back(text); }
    void setProgress(int) override {}
    void beginStage(const char* title) override
    {
        stages.emplace_back(title);
        ++openStages;
    }
    void endStage() override { --openStages; }
};

}  // namespace voxquad
