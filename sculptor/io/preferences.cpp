#include "io/preferences.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <iterator>

namespace {

// The shipped shortcut of each preference slot, taken from the brush table
// while compiling (the preferences need no more of the brushes than that).
consteval std::array<const char*, kPreferenceBrushCount> DefaultBrushKeys() {
  std::array<const char*, kPreferenceBrushCount> keys{};
  for (int slot = 0; slot < kPreferenceBrushCount; ++slot) keys[slot] = kBrushTable[BrushOfPreferenceSlot(slot)].defaultKey;
  return keys;
}

std::array<std::string_view, kKeyListSize> MakeKeyList() {
  static const char* const kNamed[] = {"None", "Ctrl", "Alt", "PgUp", "PgDn", "F1", "F2", "F3", "F4", "F5",
                                       "F6", "F7", "F8", "F9", "F10", "F11", "F12", "PrtScr", "Insert",
                                       "Delete", "Space", "Shift", "Tab", "Home", "End"};
  static const char* const kLetters = "ABCDEFGHIJKLMNOPQRSTUVWXZ";
  static const char* const kDigits = "0123456789";
  std::array<std::string_view, kKeyListSize> list{};
  size_t i = 0;
  for (const char* name : kNamed) list[i++] = name;
  for (const char* c = kLetters; *c; ++c) list[i++] = std::string_view(c, 1);
  for (const char* c = kDigits; *c; ++c) list[i++] = std::string_view(c, 1);
  return list;
}

bool IsSeparator(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

// Splits the text at blanks and line breaks and hands out the tokens in order.
class TokenReader {
 public:
  explicit TokenReader(std::string_view text) : text_(text) {}

  bool AtEnd() {
    SkipSeparators();
    return pos_ >= text_.size();
  }

  std::string_view Next() {
    SkipSeparators();
    size_t start = pos_;
    while (pos_ < text_.size() && !IsSeparator(text_[pos_])) ++pos_;
    return text_.substr(start, pos_ - start);
  }

 private:
  void SkipSeparators() {
    while (pos_ < text_.size() && IsSeparator(text_[pos_])) ++pos_;
  }
  std::string_view text_;
  size_t pos_ = 0;
};

std::string_view WithoutPlus(std::string_view token) {
  if (token.size() > 1 && token[0] == '+') token.remove_prefix(1);
  return token;
}

bool ParseInt(std::string_view token, int& out) {
  token = WithoutPlus(token);
  auto [end, ec] = std::from_chars(token.data(), token.data() + token.size(), out);
  return ec == std::errc() && end == token.data() + token.size() && !token.empty();
}

bool ParseReal(std::string_view token, double& out) {
  token = WithoutPlus(token);
  auto [end, ec] = std::from_chars(token.data(), token.data() + token.size(), out);
  return ec == std::errc() && end == token.data() + token.size() && !token.empty();
}

// The zoom step is shown with two decimals and kept as shown.
double RoundToTwoDecimals(double value) {
  char buffer[64];
  auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, 2);
  if (ec != std::errc()) return value;
  double rounded = value;
  std::from_chars(buffer, end, rounded);
  return rounded;
}

bool ReadKey(TokenReader& in, int& key) {
  return ParseInt(in.Next(), key) && key >= 0 && key < kKeyListSize;
}

bool ReadOneSet(TokenReader& in, TPreferences& p) {
  for (int i = 0; i < kPreferenceBrushCount; ++i) {
    if (!ReadKey(in, p.brushKeys[i]) || !ParseInt(in.Next(), p.brushDefaultIntensity[i])) return false;
  }
  for (int slot = 0; slot < 2; ++slot) {
    for (auto& keys : p.commandKeys) {
      if (!ReadKey(in, keys[slot])) return false;
    }
  }
  if (!ParseReal(in.Next(), p.zoomStep) || !std::isfinite(p.zoomStep)) return false;
  p.zoomStep = RoundToTwoDecimals(p.zoomStep);
  for (int* value : {&p.panelMenuLeft, &p.panelMenuTop, &p.panelModelingLeft, &p.panelModelingTop,
                     &p.secondBrush, &p.grabSensitivity}) {
    if (!ParseInt(in.Next(), *value)) return false;
  }
  return p.secondBrush >= 0 && p.secondBrush < kBrushCount;
}

void AppendInt(std::string& out, int value) {
  char buffer[16];
  auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, value);
  if (!out.empty()) out += ' ';
  out.append(buffer, end);
}

}  // namespace

const std::array<std::string_view, kKeyListSize>& KeyList() {
  static const std::array<std::string_view, kKeyListSize> list = MakeKeyList();
  return list;
}

int KeyListIndex(std::string_view name) {
  const auto& list = KeyList();
  for (int i = 0; i < kKeyListSize; ++i) {
    if (list[i] == name) return i;
  }
  return -1;
}

std::optional<TPreferences> ParsePreferences(std::string_view text) {
  TokenReader in(text);
  if (in.AtEnd()) return std::nullopt;
  TPreferences prefs;
  while (!in.AtEnd()) {
    if (!ReadOneSet(in, prefs)) return std::nullopt;
  }
  return prefs;
}

std::string FormatPreferences(const TPreferences& p) {
  std::string out;
  for (int i = 0; i < kPreferenceBrushCount; ++i) {
    AppendInt(out, p.brushKeys[i]);
    AppendInt(out, p.brushDefaultIntensity[i]);
  }
  for (int slot = 0; slot < 2; ++slot) {
    for (const auto& keys : p.commandKeys) AppendInt(out, keys[slot]);
  }
  char buffer[64];
  auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, p.zoomStep, std::chars_format::scientific);
  out += ' ';
  out.append(buffer, ec == std::errc() ? end : buffer);
  for (int value : {p.panelMenuLeft, p.panelMenuTop, p.panelModelingLeft, p.panelModelingTop, p.secondBrush,
                    p.grabSensitivity}) {
    AppendInt(out, value);
  }
  return out;
}

std::optional<TPreferences> ReadPreferencesFile(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  if (!file) return std::nullopt;
  std::string text((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
  if (file.bad()) return std::nullopt;
  return ParsePreferences(text);
}

// The values go to a file beside the target that replaces it only when
// complete: a save cut short (a full disk) must not leave a copy that the
// next start-up cannot read.
bool WritePreferencesFile(const std::string& path, const TPreferences& prefs) {
  const std::string partial = path + ".part";
  std::ofstream file(partial, std::ios::binary | std::ios::trunc);
  if (!file) return false;
  file << FormatPreferences(prefs);
  file.close();
  if (file.fail() || std::rename(partial.c_str(), path.c_str()) != 0) {
    std::remove(partial.c_str());
    return false;
  }
  return true;
}

TPreferences DefaultPreferences() {
  TPreferences p;
  p.panelModelingLeft = 250;  // clear of the tool panel's right edge
  // The brush table's keys; "A" stays free for the stencil handles, "X" and "Z" for hiding the overlays.
  static constexpr std::array<const char*, kPreferenceBrushCount> kBrushKeys = DefaultBrushKeys();
  for (int i = 0; i < kPreferenceBrushCount; ++i) {
    p.brushKeys[i] = KeyListIndex(kBrushKeys[i]);
    p.brushDefaultIntensity[i] = 15;
  }
  static const char* const kCommandKeys[kShortcutCommandCount][2] = {
      {"Ctrl", "R"},   // Radius and Zoom
      {"Ctrl", "D"},   // Subdivide
      {"Shift", "D"},  // Unsubdivide
      {"Ctrl", "Z"},   // Undo
      {"None", "X"},   // Hide Stencil
      {"None", "A"},   // Move Stencil
      {"None", "A"},   // Rotate Stencil
      {"None", "A"},   // Scale Stencil
      {"None", "Z"},   // Hide Image Reference
  };
  for (int j = 0; j < kShortcutCommandCount; ++j) {
    p.commandKeys[j] = {KeyListIndex(kCommandKeys[j][0]), KeyListIndex(kCommandKeys[j][1])};
  }
  return p;
}
