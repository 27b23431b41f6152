#include "status_output.h"

namespace voxquad {

void StatusOutput::printError(const char* text) { std::fprintf(stderr, "%s\n", text); }

void reportError(StatusOutput* status, const char* text)
{
    if (status)
        status->printError(text);
    else
        std::fprintf(stderr, "%s\n", text);
}

void consoleStatusOutput::printMessage(const char* text)
{
    if (active)
        return;
    std::fputs(text, out_);
    std::fputc('\n', out_);
    std::fflush(out_);
}

void consoleStatusOutput::setProgress(int percent)
{
    if (percent == lastPercent)
        return;
    int ticks = percent / 4;
    if (ticks == printedTicks)
        return;
    for (int i = printedTicks; i < ticks; ++i) {
        std::fputc('*', out_);
        lineOpen_ = true;
    }
    printedTicks = ticks;
    lastPercent = percent;
    if (percent == 100) {
        std::fputs("]\n", out_);
        lineOpen_ = false;
        active = false;
    }
    std::fflush(out_);
}

void consoleStatusOutput::beginStage(const char* title)
{
    std::fprintf(out_, "%s...\n", title);
    lastPercent = 0;
    printedTicks = 0;
    std::fputs("[0% ----------------- 100%]\n[", out_);
    std::fflush(out_);
    lineOpen_ = true;
    active = true;
}

void consoleStatusOutput::printError(const char* text)
{
    if (lineOpen_) {
        std::fputc('\n', out_);
        lineOpen_ = false;
    }
    std::fflush(out_);
    std::fprintf(err_, "%s\n", text);
    std::fflush(err_);
}

void consoleStatusOutput::endStage()
{
    setProgress(100);
    active = false;
}

}  // namespace voxquad
