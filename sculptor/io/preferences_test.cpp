#include "io/preferences.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>

namespace {

TPreferences SampleSettings() {
  TPreferences p = DefaultPreferences();
  p.brushKeys[12] = KeyListIndex("Home");
  p.brushDefaultIntensity[3] = 42;
  p.commandKeys[8] = {KeyListIndex("Alt"), KeyListIndex("F12")};
  p.zoomStep = 0.05;
  p.panelMenuLeft = 17;
  p.panelMenuTop = -3;
  p.panelModelingLeft = 300;
  p.panelModelingTop = 640;
  p.secondBrush = 13;
  p.grabSensitivity = 58;
  return p;
}

TEST(KeyList, HoldsTheSixtyNamesInItemOrder) {
  EXPECT_EQ(KeyList()[0], "None");
  EXPECT_EQ(KeyListIndex("F12"), 16);
  EXPECT_EQ(KeyListIndex("End"), 24);
  EXPECT_EQ(KeyListIndex("A"), 25);
  EXPECT_EQ(KeyListIndex("Z"), 49);  // no "Y" before it
  EXPECT_EQ(KeyListIndex("Y"), -1);
  EXPECT_EQ(KeyListIndex("9"), kKeyListSize - 1);
}

TEST(Preferences, FormatThenParseRestoresEverySetting) {
  TPreferences p = SampleSettings();
  std::string line = FormatPreferences(p);
  EXPECT_EQ(line.find('\n'), std::string::npos);
  EXPECT_NE(line.back(), ' ');
  std::optional<TPreferences> back = ParsePreferences(line);
  ASSERT_TRUE(back);
  EXPECT_EQ(*back, p);
}

TEST(Preferences, LayoutIsBrushPairsThenFirstKeysThenSecondKeys) {
  TPreferences p;
  for (int i = 0; i < kPreferenceBrushCount; ++i) {
    p.brushKeys[i] = i;
    p.brushDefaultIntensity[i] = 100 + i;
  }
  for (int j = 0; j < kShortcutCommandCount; ++j) p.commandKeys[j] = {20 + j, 40 + j};
  std::string line = FormatPreferences(p);
  EXPECT_EQ(line.rfind("0 100 1 101 2 102 ", 0), 0u) << line;
  EXPECT_NE(line.find(" 112 20 21 22 23 24 25 26 27 28 40 41 "), std::string::npos) << line;
  EXPECT_NE(line.find(" 48 8e-02 5 10 162 611 6 45"), std::string::npos) << line;
}

TEST(Preferences, ZoomStepIsRoundedToTwoDecimals) {
  TPreferences p;
  p.zoomStep = 0.0749;
  std::optional<TPreferences> back = ParsePreferences(FormatPreferences(p));
  ASSERT_TRUE(back);
  EXPECT_DOUBLE_EQ(back->zoomStep, 0.07);
}

TEST(Preferences, TrailingLineBreaksAndBlanksAreAccepted) {
  std::string line = FormatPreferences(SampleSettings());
  for (const char* tail : {"\n", "\r\n", " \n\n", "\t "}) {
    EXPECT_TRUE(ParsePreferences(line + tail)) << "tail " << testing::PrintToString(tail);
  }
  std::string broken = line;
  for (char& c : broken) {
    if (c == ' ') c = '\n';
  }
  EXPECT_EQ(ParsePreferences(broken), SampleSettings());
}

TEST(Preferences, BadFilesAreRefused) {
  std::string line = FormatPreferences(SampleSettings());
  std::string firstValueBad = "x" + line.substr(line.find(' '));
  std::string lastValueMissing = line.substr(0, line.rfind(' '));
  std::string keyOutOfRange = "60" + line.substr(line.find(' '));
  std::string commaZoom = line;
  commaZoom.replace(commaZoom.find("5e-02"), 5, "0,05");
  std::string nanZoom = line, infiniteZoom = line;
  nanZoom.replace(nanZoom.find("5e-02"), 5, "nan");
  infiniteZoom.replace(infiniteZoom.find("5e-02"), 5, "-inf");
  for (const std::string& text :
       {std::string(), std::string("\n"), firstValueBad, lastValueMissing, keyOutOfRange, commaZoom, nanZoom,
        infiniteZoom, line + " 7", line + " junk"}) {
    EXPECT_FALSE(ParsePreferences(text)) << text;
  }
}

TEST(Preferences, ASecondCompleteSetOverridesTheFirst) {
  TPreferences second = SampleSettings();
  second.grabSensitivity = 11;
  auto back = ParsePreferences(FormatPreferences(SampleSettings()) + "\n" + FormatPreferences(second));
  ASSERT_TRUE(back);
  EXPECT_EQ(back->grabSensitivity, 11);
}

TEST(Preferences, FileRoundTripAndMissingFile) {
  std::filesystem::path dir = std::filesystem::temp_directory_path() / "plasmora_prefs_test";
  std::filesystem::create_directories(dir);
  std::string path = (dir / "prefer1.txt").string();
  ASSERT_TRUE(WritePreferencesFile(path, SampleSettings()));
  EXPECT_EQ(ReadPreferencesFile(path), SampleSettings());
  std::filesystem::remove_all(dir);
  EXPECT_FALSE(ReadPreferencesFile(path));
  EXPECT_FALSE(WritePreferencesFile(path, SampleSettings()));
}

TEST(Preferences, AWriteThatFailsKeepsTheOldFile) {
  std::filesystem::path dir = std::filesystem::temp_directory_path() / "plasmora_prefs_keep_test";
  std::filesystem::create_directories(dir);
  const std::string path = (dir / "prefer1.txt").string();
  ASSERT_TRUE(WritePreferencesFile(path, DefaultPreferences()));
  std::filesystem::create_directory(path + ".part");  // the new copy cannot be written
  EXPECT_FALSE(WritePreferencesFile(path, SampleSettings()));
  EXPECT_EQ(ReadPreferencesFile(path), DefaultPreferences());
  std::filesystem::remove_all(dir);
}

}  // namespace
