// Every input kept for a fuzz target (its seeds and the inputs that once made
// it fail) runs through the target in the ordinary builds: a trap, a sanitizer
// report or a hang fails this test.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <string>
#include <vector>

#include "fuzz_target.h"

namespace fs = std::filesystem;

namespace {

std::map<std::string, FuzzFunction>& Targets() {
  static std::map<std::string, FuzzFunction> targets;
  return targets;
}

std::vector<std::string> TargetNames() {
  std::vector<std::string> names;
  for (const auto& [name, function] : Targets()) names.push_back(name);
  return names;
}

class FuzzCorpus : public testing::TestWithParam<std::string> {};

}  // namespace

bool RegisterFuzzTarget(const char* name, FuzzFunction function) {
  Targets()[name] = function;
  return true;
}

TEST_P(FuzzCorpus, EveryKeptInputPasses) {
  const fs::path folder = fs::path(FUZZ_CORPUS_DIR) / GetParam();
  ASSERT_TRUE(fs::is_directory(folder)) << "every target has a seed corpus: " << folder;
  int inputs = 0;
  for (const fs::directory_entry& entry : fs::directory_iterator(folder)) {
    SCOPED_TRACE(entry.path().filename().string());
    std::ifstream in(entry.path(), std::ios::binary);
    const std::vector<uint8_t> bytes{std::istreambuf_iterator<char>(in), {}};
    EXPECT_EQ(Targets()[GetParam()](bytes.data(), bytes.size()), 0);
    ++inputs;
  }
  EXPECT_GT(inputs, 0);
}

INSTANTIATE_TEST_SUITE_P(Targets, FuzzCorpus, testing::ValuesIn(TargetNames()),
                         [](const testing::TestParamInfo<std::string>& info) { return info.param; });
