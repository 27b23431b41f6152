#include "io/number_text.h"

#include <gtest/gtest.h>

#include <bit>
#include <clocale>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>

namespace {

std::string Fixed10(float value) {
  char text[kFixed10MaxChars];
  return {text, FormatFixed10(text, value)};
}

std::string PrintfFixed10(float value) {
  char text[128];
  std::snprintf(text, sizeof text, "%.10f", static_cast<double>(value));
  return text;
}

bool Parse(const std::string& text, float& value) { return ParseFloat(text.data(), text.data() + text.size(), value); }

// Random floats of every magnitude a model may hold, including ties and tiny values.
std::vector<float> SampleFloats() {
  std::vector<float> values = {0.0f, -0.0f, 1.0f, -1.0f, 0.5f, 1e-11f, -4e-11f, 5e-11f, 16777215.0f, 16777216.0f,
                               3.0e38f, 1.17549435e-38f, 0.1f, 2.5f, 123456.789f};
  std::mt19937 random(7);
  std::uniform_int_distribution<uint32_t> bits(0, 0xFFFFFFFFu);
  std::uniform_real_distribution<float> ordinary(-1000.0f, 1000.0f);
  while (values.size() < 200000) {
    const float f = std::bit_cast<float>(bits(random));
    if (std::isfinite(f)) values.push_back(f);
    values.push_back(ordinary(random));
  }
  return values;
}

}  // namespace

TEST(NumberText, FixedTenDecimalsEqualsPrintfInTheCLocale) {
  ASSERT_STREQ(std::setlocale(LC_NUMERIC, nullptr), "C");
  for (float f : SampleFloats()) ASSERT_EQ(Fixed10(f), PrintfFixed10(f)) << std::hexfloat << f;
}

TEST(NumberText, ParsingIsCorrectlyRounded) {
  // The nearest float of the decimal text, whatever its form, as strtof gives it.
  for (float f : SampleFloats()) {
    const float tripled = std::isfinite(f * 3.0f) ? f * 3.0f : f;
    for (const std::string& text : {Fixed10(f), std::to_string(f), PrintfFixed10(tripled)}) {
      float parsed = 0;
      ASSERT_TRUE(Parse(text, parsed)) << text;
      ASSERT_EQ(std::bit_cast<uint32_t>(parsed), std::bit_cast<uint32_t>(std::strtof(text.c_str(), nullptr))) << text;
    }
  }
}

TEST(NumberText, AcceptedAndRefusedFloats) {
  const struct {
    const char* text;
    bool ok;
    float value;
  } cases[] = {
      {"1.5", true, 1.5f},     {"1,5", true, 1.5f},     {"-2", true, -2.0f},       {"+3.25", true, 3.25f},
      {"1e3", true, 1000.0f},  {"1,5E-1", true, 0.15f}, {".5", true, 0.5f},        {"5.", true, 5.0f},
      {"-0", true, -0.0f},     {"1e-50", true, 0.0f},   {"", false, 0},            {"-", false, 0},
      {".", false, 0},         {"1.2.3", false, 0},     {"1.5,3", false, 0},       {"inf", false, 0},
      {"nan", false, 0},       {"1e", false, 0},        {"1e+", false, 0},         {"0x10", false, 0},
      {"1e39", false, 0},      {"-1e39", false, 0},     {"1 ", false, 0},          {"1\t", false, 0},
      {"--1", false, 0},       {"1e5x", false, 0},      {"340282356779733661637539395458142568448", false, 0},
  };
  for (const auto& c : cases) {
    float value = 12345;
    EXPECT_EQ(Parse(c.text, value), c.ok) << c.text;
    if (c.ok) {
      EXPECT_EQ(value, c.value) << c.text;
    }
  }
}

TEST(NumberText, Int32) {
  const struct {
    const char* text;
    bool ok;
    int32_t value;
  } cases[] = {{"0", true, 0},          {"+7", true, 7},           {"-12", true, -12},  {"2147483647", true, 2147483647},
               {"-2147483648", true, INT32_MIN}, {"2147483648", false, 0}, {"", false, 0}, {"-", false, 0},
               {"1.0", false, 0},       {"12a", false, 0},         {"99999999999999999999", false, 0}};
  for (const auto& c : cases) {
    int32_t value = 99;
    const std::string text = c.text;
    EXPECT_EQ(ParseInt32(text.data(), text.data() + text.size(), value), c.ok) << c.text;
    if (c.ok) {
      EXPECT_EQ(value, c.value) << c.text;
    }
  }
}
