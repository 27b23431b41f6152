#pragma once
#include <cstdio>

namespace voxquad {

// Progress and message channel of the remesher's stages.
class StatusOutput {
public:
    virtual void printMessage(const char* text) = 0;
    virtual void setProgress(int percent) = 0;
    virtual void beginStage(const char* title) = 0;
    virtual void endStage() = 0;
    virtual ~StatusOutput() = default;
};

// Draws a text progress bar: the stage title, the ruler "[0% ----------------- 100%]" and one
// asterisk per 4 percent. Messages are dropped while a bar is open, so they cannot break it.
class consoleStatusOutput : public StatusOutput {
public:
    explicit consoleStatusOutput(std::FILE* out = stdout) : out_(out) {}

    void printMessage(const char* text) override;
    void setProgress(int percent) override;
    void beginStage(const char* title) override;
    void endStage() override;

    int lastPercent = 0;   // last percentage that changed the bar
    int printedTicks = 0;  // asterisks accounted for, one per 4 percent
    bool active = false;   // a bar is open

private:
    std::FILE* out_;
};

}  // namespace voxquad
