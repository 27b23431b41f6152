#include "app/console_progress.h"

#include <algorithm>

namespace {

constexpr std::string_view kRuler = "[0% ----------------- 100%]";
constexpr std::string_view kTitleEnd = "...";
constexpr int kPercentPerTick = 4;

}  // namespace

void ConsoleProgress::Feed(std::string_view output) {
  for (char c : output) {
    if (inBar_) {
      BarCharacter(c);
    } else if (c == '\n') {
      EndLine();
    } else if (c == '[' && line_.empty() && rulerSeen_) {
      rulerSeen_ = false;
      inBar_ = true;
      ticks_ = 0;
    } else {
      line_ += c;
    }
  }
}

void ConsoleProgress::EndLine() {
  std::string_view line = line_;
  if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
  rulerSeen_ = line == kRuler;
  if (line.size() > kTitleEnd.size() && line.ends_with(kTitleEnd)) {
    stage_.number += 1;
    stage_.title = line.substr(0, line.size() - kTitleEnd.size());
    stage_.percent = 0;
    onChange_(stage_);
  }
  line_.clear();
}

void ConsoleProgress::BarCharacter(char c) {
  int percent = stage_.percent;
  if (c == '*') {
    ++ticks_;  // a stage with falling percentages draws more than 25
    percent = std::min(100, ticks_ * kPercentPerTick);
  } else if (c == ']') {
    percent = 100;
    inBar_ = false;
  } else if (c == '\n') {
    inBar_ = false;  // a message broke the bar off
  }
  if (percent != stage_.percent) {
    stage_.percent = percent;
    onChange_(stage_);
  }
}
