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
    // An error or warning for the user, shown whether or not a bar is open: on standard error,
    // after ending an unfinished bar line where both go to one console.
    virtual void printError(const char* text);
    virtual ~StatusOutput() = default;
};

// status->printError(text), or the text on standard error when there is no channel.
void reportError(StatusOutput* status, const char* text);

// Draws a text progress bar: the stage title, the ruler "[0% ----------------- 100%]" and one
// asterisk per 4 percent. Messages are dropped while a bar is open, so they cannot break it;
// errors go to err, each on a line of its own.
class consoleStatusOutput : public StatusOutput {
public:
    explicit consoleStatusOutput(std::FILE* out = stdout, std::FILE* err = stderr) : out_(out), err_(err) {}

    void printMessage(const char* text) override;
    void setProgress(int percent) override;
    void beginStage(const char* title) override;
    void endStage() override;
    void printError(const char* text) override;

    int lastPercent = 0;   // last percentage that changed the bar
    int printedTicks = 0;  // asterisks accounted for, one per 4 percent
    bool active = false;   // a bar is open

private:
    std::FILE* out_;
    std::FILE* err_;
    bool lineOpen_ = false;  // out_ holds the start of a line (a bar) without its end
};

}  // namespace voxquad
