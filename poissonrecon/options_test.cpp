#include "options.h"

#include <gtest/gtest.h>

namespace {

std::string Parse(std::vector<std::string> args, PoissonOptions& options) {
  options = {};
  return ParsePoissonOptions(args, options);
}

}  // namespace

TEST(PoissonOptions, ReadsTheSculptorsCommandLine) {
  PoissonOptions o;
  ASSERT_EQ(Parse({"--in", "/t m p/file.ply", "--out", "/t m p/file1.ply", "--depth", "10", "--pointWeight", "0",
                   "--color", "16"},
                  o),
            "");
  EXPECT_EQ(o.in, "/t m p/file.ply");
  EXPECT_EQ(o.out, "/t m p/file1.ply");
  EXPECT_EQ(o.depth, 10);
  EXPECT_TRUE(o.color);
}

TEST(PoissonOptions, DefaultsWithoutTheOptionalOnes) {
  PoissonOptions o;
  ASSERT_EQ(Parse({"--out", "b.ply", "--in", "a.ply"}, o), "");
  EXPECT_EQ(o.depth, 8);
  EXPECT_FALSE(o.color);
}

TEST(PoissonOptions, HelpWinsOverEverythingElse) {
  PoissonOptions o;
  EXPECT_EQ(Parse({"--bogus", "--help"}, o), "unknown option \"--bogus\"");
  EXPECT_EQ(Parse({"--depth", "3", "--help"}, o), "");
  EXPECT_TRUE(o.help);
}

TEST(PoissonOptions, RefusesWrongCommandLines) {
  const struct {
    std::vector<std::string> args;
    std::string error;
  } cases[] = {
      {{"--in", "a", "--out", "b", "--deep", "9"}, "unknown option \"--deep\""},
      {{"--in", "a", "--out", "b", "extra"}, "unexpected argument \"extra\""},
      {{"--in", "a", "--out"}, "--out needs a value"},
      {{"--out", "b"}, "--in FILE is required"},
      {{"--in", "a"}, "--out FILE is required"},
      {{"--in", "a", "--out", "b", "--depth", "0"}, "--depth needs a whole number from 1 to 16, not \"0\""},
      {{"--in", "a", "--out", "b", "--depth", "17"}, "--depth needs a whole number from 1 to 16, not \"17\""},
      {{"--in", "a", "--out", "b", "--depth", "8.5"}, "--depth needs a whole number from 1 to 16, not \"8.5\""},
      {{"--in", "a", "--out", "b", "--pointWeight", "-1"}, "--pointWeight must not be negative, not \"-1\""},
      {{"--in", "a", "--out", "b", "--pointWeight", "heavy"}, "--pointWeight needs a number, not \"heavy\""},
      {{"--in", "a", "--out", "b", "--color", "0"}, "--color needs a positive number, not \"0\""},
      {{"--in", "a", "--out", "b", "--color", "nan"}, "--color needs a number, not \"nan\""},
  };
  for (const auto& c : cases) {
    PoissonOptions o;
    EXPECT_EQ(Parse(c.args, o), c.error);
  }
}
