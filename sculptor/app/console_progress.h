// Follows the text progress bars that voxquad (and poissonrecon) draw on
// standard output, stage by stage:
//   Voxelization...
//   [0% ----------------- 100%]
//   [*************************]
// A stage begins with its title line ending in "..."; each asterisk of the bar
// under the ruler is 4 percent, and "]" closes it at 100.
#pragma once

#include <functional>
#include <string>
#include <string_view>

struct ConsoleStage {
  int number = 0;  // 1 for the first stage of the run
  std::string title;
  int percent = 0;  // 0 .. 100
};

class ConsoleProgress {
 public:
  explicit ConsoleProgress(std::function<void(const ConsoleStage&)> onChange) : onChange_(std::move(onChange)) {}

  // Feeds output as it arrives, in pieces of any size.
  void Feed(std::string_view output);

  const ConsoleStage& stage() const { return stage_; }

 private:
  void EndLine();
  void BarCharacter(char c);

  std::function<void(const ConsoleStage&)> onChange_;
  ConsoleStage stage_;
  std::string line_;
  bool rulerSeen_ = false;  // the next line opens a bar
  bool inBar_ = false;
  int ticks_ = 0;
};
