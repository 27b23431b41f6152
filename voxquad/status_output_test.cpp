#include "status_output.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

namespace voxquad {

namespace {

// Runs one console status output over a temporary file and returns what it wrote.
template <typename Script>
std::string consoleText(Script script)
{
    std::FILE* file = std::tmpfile();
    consoleStatusOutput console(file);
    script(console);
    std::string text;
    std::rewind(file);
    for (int c; (c = std::fgetc(file)) != EOF;)
        text += static_cast<char>(c);
    std::fclose(file);
    return text;
}

const std::string ruler = "[0% ----------------- 100%]\n";

std::string stageText(const char* title, int asterisks)
{
    return std::string(title) + "...\n" + ruler + "[" + std::string(asterisks, '*') + "]\n";
}

}  // namespace

TEST(ConsoleStatusOutput, StageWithoutProgressShowsFullBar)
{
    std::string text = consoleText([](StatusOutput& s) {
        s.beginStage("Sharp features");
        s.endStage();
    });
    EXPECT_EQ(text, stageText("Sharp features", 25));
}

TEST(ConsoleStatusOutput, MessagesAreDroppedWhileBarIsOpen)
{
    std::string text = consoleText([](StatusOutput& s) {
        s.printMessage("before");
        s.beginStage("Importing");
        s.printMessage("Mesh Size (1|1|1)");
        s.setProgress(50);
        s.printMessage("still open");
        s.endStage();
        s.printMessage("after");
    });
    EXPECT_EQ(text, "before\n" + stageText("Importing", 25) + "after\n");
}

TEST(ConsoleStatusOutput, BarArithmetic)
{
    struct Case {
        const char* name;
        std::vector<int> values;
        std::string bar;  // after "[" up to the end
    };
    std::vector<int> marching;  // a 181-slice marching run: restarts at 0 after the first pass
    for (int k = 0; k < 181; ++k)
        marching.push_back(k * 10 / 181);
    for (int k = 0; k < 180; ++k)
        marching.push_back(k * 80 / 181);
    for (int v : {91, 93, 97, 98, 100})
        marching.push_back(v);
    const std::vector<Case> cases = {
        {"rising to 100 closes the bar", {10, 50, 100}, std::string(25, '*') + "]\n"},
        {"values within one tick change nothing", {1, 2, 3}, ""},
        {"falling values print nothing and restart the count", {40, 8, 12}, std::string(11, '*')},
        {"values past 100 continue after the closed bar", {100, 104, 108}, std::string(25, '*') + "]\n**"},
        {"falling marching values print 27 asterisks", marching, std::string(27, '*') + "]\n"},
    };
    for (const Case& c : cases) {
        std::string text = consoleText([&](StatusOutput& s) {
            s.beginStage("T");
            for (int v : c.values)
                s.setProgress(v);
        });
        EXPECT_EQ(text, "T...\n" + ruler + "[" + c.bar) << c.name;
    }
}

TEST(ConsoleStatusOutput, EndStageAfterClosedBarAddsNothing)
{
    std::string text = consoleText([](StatusOutput& s) {
        s.beginStage("Voxelization");
        s.setProgress(100);
        s.endStage();
        s.printMessage(" 0 Polygons skipped");
    });
    EXPECT_EQ(text, stageText("Voxelization", 25) + " 0 Polygons skipped\n");
}

}  // namespace voxquad
