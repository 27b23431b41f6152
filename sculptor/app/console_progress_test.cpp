#include "app/console_progress.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

struct Event {
  int number;
  std::string title;
  int percent;
  bool operator==(const Event&) const = default;
};

std::vector<Event> EventsOf(const std::string& output, size_t pieceSize) {
  std::vector<Event> events;
  ConsoleProgress progress([&events](const ConsoleStage& s) { events.push_back({s.number, s.title, s.percent}); });
  for (size_t at = 0; at < output.size(); at += pieceSize) progress.Feed(std::string_view(output).substr(at, pieceSize));
  return events;
}

// The events of `ticks` asterisks: 4, 8, ... up to 100; later ones change nothing.
void AddTicks(std::vector<Event>& events, int number, const std::string& title, int ticks) {
  for (int t = 1; t <= ticks && t <= 25; ++t) events.push_back({number, title, 4 * t});
}

}  // namespace

// voxquad's console: titles, rulers, bars (one of 27 asterisks), messages between.
TEST(ConsoleProgress, FollowsTheStagesWhateverTheOutputIsCutInto) {
  const std::string ruler = "[0% ----------------- 100%]\n";
  const std::string output = "Importing...\n" + ruler + "[" + std::string(25, '*') + "]\n" +
                             "Volume Size 181 x 181 x 181\n" + "Voxelization...\r\n" + ruler + "[" +
                             std::string(10, '*') + "\nerror: out of memory\n" + "Marching...\n" + ruler + "[" +
                             std::string(27, '*') + "]\n" + "Detailed cases statistics\n";
  std::vector<Event> expected = {{1, "Importing", 0}};
  AddTicks(expected, 1, "Importing", 25);
  expected.push_back({2, "Voxelization", 0});
  AddTicks(expected, 2, "Voxelization", 10);  // a message broke the bar off
  expected.push_back({3, "Marching", 0});
  AddTicks(expected, 3, "Marching", 27);  // more than 25 asterisks stay at 100
  for (size_t pieceSize : {size_t{1}, size_t{7}, output.size()}) {
    SCOPED_TRACE(pieceSize);
    EXPECT_EQ(EventsOf(output, pieceSize), expected);
  }
}

TEST(ConsoleProgress, ABarClosedEarlyJumpsToOneHundred) {
  const std::vector<Event> events = EventsOf("Writing mesh...\n[0% ----------------- 100%]\n[**]\n", 3);
  const std::vector<Event> expected = {{1, "Writing mesh", 0}, {1, "Writing mesh", 4}, {1, "Writing mesh", 8},
                                       {1, "Writing mesh", 100}};
  EXPECT_EQ(events, expected);
}

// Brackets and asterisks outside a bar under a ruler, and a bare "...", are plain text.
TEST(ConsoleProgress, IgnoresLookalikesOutsideABar) {
  EXPECT_TRUE(EventsOf("...\n[***]\nnote: [**] done\n", 4).empty());
}
