// The brushes of the "Modelling" list: names, operator codes, strength
// divisors and signs, and the brush an Alt-stroke turns each one into.
#pragma once

#include <cstdint>
#include <optional>

// Operator codes (`SculptMode`); 2 and 12 name no operator.
enum TSculptMode : int32_t {
  kSculptAdd = 0,
  kSculptSubtract = 1,
  kSculptGrab = 3,
  kSculptPinch = 4,
  kSculptCrease = 5,
  kSculptScar = 6,
  kSculptSmooth = 7,
  kSculptWax = 8,
  kSculptInflate = 9,
  kSculptFlatten = 10,
  kSculptDeflate = 11,
  kSculptGroove = 13,
  kSculptUnpinch = 14,
  kSculptStamp = 15,
};

struct TBrushInfo {
  const char* name;           // the list item's text
  int32_t sculptMode;         // operator code
  int32_t selectionDivisor;   // strength = intensity / this on selection
  int32_t intensityDivisor;   // and on an intensity change; 0 = the strength stays
  int32_t sign;               // BrushSign
};

inline constexpr int kBrushCount = 14;

// Items 0 .. 13 in list order ("Add" .. "Stamp"); nullptr outside.
const TBrushInfo* FindBrush(int item);

// Strength after selecting `item` with its stored intensity.
float StrengthOnSelection(int item, int intensity);

// Strength after the intensity bar moves to `intensity` with `item` selected;
// empty when the brush keeps its strength (Stamp) or `item` is no brush.
std::optional<float> StrengthOnIntensityChange(int item, int intensity);

// The brush an Alt-stroke uses instead of `item`: Add -> Subtract,
// Pinch -> Unpinch, Crease -> Groove, Inflate -> Deflate with their table
// signs, Wax stays Wax with sign -1; any other brush stays as it is.
struct TInverseBrush {
  int item;
  int32_t sign;
};
TInverseBrush InverseBrush(int item, int32_t currentSign);
