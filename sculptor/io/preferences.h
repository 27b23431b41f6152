// "prefer1.txt": the user's shortcuts and a few settings, one line of numbers
// separated by blanks. Key values are item indices into the key list of the
// shortcut combo boxes (see KeyListSize).
#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>

#include "sculpt/brush_table.h"

inline constexpr int kShortcutCommandCount = 9;   // "Radius and Zoom" .. "Hide Image Reference"

// The key list offered by the shortcut combo boxes, in item order: "None",
// "Ctrl", "Alt", "PgUp", "PgDn", "F1".."F12", "PrtScr", "Insert", "Delete",
// "Space", "Shift", "Tab", "Home", "End", "A".."Z" without "Y", "0".."9".
inline constexpr int kKeyListSize = 60;
const std::array<std::string_view, kKeyListSize>& KeyList();
// Item index of a key name, or -1.
int KeyListIndex(std::string_view name);

struct TPreferences {
  // Per preference slot of the brush table ("Add" .. "Unpinch"): the
  // shortcut key and the default intensity.
  std::array<int, kPreferenceBrushCount> brushKeys{};
  std::array<int, kPreferenceBrushCount> brushDefaultIntensity{};
  // Per shortcut command its first and second key.
  std::array<std::array<int, 2>, kShortcutCommandCount> commandKeys{};
  double zoomStep = 0.08;
  int panelMenuLeft = 5, panelMenuTop = 10;
  int panelModelingLeft = 162, panelModelingTop = 611;
  int secondBrush = kSmoothItem;  // a brush item
  int grabSensitivity = 45;

  friend bool operator==(const TPreferences&, const TPreferences&) = default;
};

// Reads one or more complete value sets (the last one wins); blanks and line
// breaks separate values and may also trail the last one. Anything else (a
// missing or malformed value, a zoom step that is not a finite number, a key
// index outside the key list, a second brush outside the brush list) fails. The zoom step comes back rounded to two decimals.
std::optional<TPreferences> ParsePreferences(std::string_view text);

// The file's one line, no line break at the end.
std::string FormatPreferences(const TPreferences& prefs);

// Whole-file helpers; false when the file cannot be opened, read or written.
// A failed write leaves the file as it was.
std::optional<TPreferences> ReadPreferencesFile(const std::string& path);
bool WritePreferencesFile(const std::string& path, const TPreferences& prefs);

// The values shipped in the installed "prefer1.txt".
TPreferences DefaultPreferences();
