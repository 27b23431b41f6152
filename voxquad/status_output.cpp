#include "status_output.h"

namespace voxquad {

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
    for (int i = printedTicks; i < ticks; ++i)
        std::fputc('*', out_);
    printedTicks = ticks;
    lastPercent = percent;
    if (percent == 100) {
        std::fputs("]\n", out_);
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
    active = true;
}

void consoleStatusOutput::endStage()
{
    setProgress(100);
    active = false;
}

}  // namespace voxquad
