// The brushes of the "Modelling" list, one row each: the item's text, its
// operator and operator code, the strength divisors and sign, the brush an
// Alt-stroke turns it into, its place in the preferences and what it does at
// the press. The modelling panel, the window's per-brush arrays, the
// preferences and the dispatch of ApplyBrush all follow this table, so a new
// brush is its operator and one row here.
//
// Rows are only ever appended: the item index is stored in the preferences
// (the second brush), and the brushes with a preference slot are stored in
// table order.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>

#include "sculpt/brush_operators.h"

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

// What a stroke of the brush does at the left press, before the first move.
enum class TBrushPress {
  None,   // acts from the first move on
  Apply,  // applies once at the press
  Grab,   // applies at the press and moves those footprints by the drag alone
};

// A shape operator; only Stamp reads the stamp sampler.
using TShapeOperator = void (*)(TGeosphera& e, const TBrushFrame& frame, const TStampSampler* stamp);

// The shape operator of an operator that needs no stamp.
template <void (*Operator)(TGeosphera&, const TBrushFrame&)>
void Shape(TGeosphera& e, const TBrushFrame& frame, const TStampSampler*) {
  Operator(e, frame);
}

struct TBrushInfo {
  const char* name;                // the list item's text
  int32_t sculptMode;              // operator code, one per row
  TShapeOperator apply;
  int32_t selectionDivisor;        // strength = intensity / this on selection
  int32_t intensityDivisor;        // and on an intensity change; 0 = the strength stays
  int32_t sign = +1;               // BrushSign
  // The brush an Alt-stroke uses instead (nullptr: this one, with the sign it
  // has), with `inverseSign` (0: the inverse's own sign).
  const char* inverse = nullptr;
  int32_t inverseSign = 0;
  // Its key in the shipped preferences; nullptr: no place in the preferences
  // file (neither a shortcut nor a default intensity; the intensity starts at 0).
  const char* defaultKey = nullptr;
  TBrushPress press = TBrushPress::None;
  float secondBrushStrength = 0;   // as the second brush of a Shift-stroke (0: its own)
};

inline constexpr TBrushInfo kBrushTable[] = {
    {.name = "Add", .sculptMode = kSculptAdd, .apply = Shape<ApplyAdd>, .selectionDivisor = 1400,
     .intensityDivisor = 1400, .inverse = "Subtract", .defaultKey = "1"},
    {.name = "Subtract", .sculptMode = kSculptSubtract, .apply = Shape<ApplyAdd>, .selectionDivisor = 1400,
     .intensityDivisor = 1400, .sign = -1, .defaultKey = "2"},
    {.name = "Grab", .sculptMode = kSculptGrab, .apply = Shape<ApplyGrab>, .selectionDivisor = 7500,
     .intensityDivisor = 1500, .defaultKey = "3", .press = TBrushPress::Grab},
    {.name = "Pinch", .sculptMode = kSculptPinch, .apply = Shape<ApplyPinch>, .selectionDivisor = 5000,
     .intensityDivisor = 7500, .inverse = "Unpinch", .defaultKey = "4", .press = TBrushPress::Apply},
    {.name = "Crease", .sculptMode = kSculptCrease, .apply = Shape<ApplyCrease>, .selectionDivisor = 2000,
     .intensityDivisor = 5000, .inverse = "Groove", .defaultKey = "5"},
    {.name = "Scar", .sculptMode = kSculptScar, .apply = Shape<ApplyScar>, .selectionDivisor = 1500,
     .intensityDivisor = 1500, .defaultKey = "6"},
    {.name = "Smooth", .sculptMode = kSculptSmooth, .apply = Shape<ApplySmooth>, .selectionDivisor = 75,
     .intensityDivisor = 75, .defaultKey = "7", .secondBrushStrength = 0.3f},
    {.name = "Wax", .sculptMode = kSculptWax, .apply = Shape<ApplyWax>, .selectionDivisor = 50,
     .intensityDivisor = 100, .inverse = "Wax", .inverseSign = -1, .defaultKey = "8"},
    {.name = "Inflate", .sculptMode = kSculptInflate, .apply = Shape<ApplyInflate>, .selectionDivisor = 1400,
     .intensityDivisor = 1400, .inverse = "Deflate", .defaultKey = "9"},
    {.name = "Deflate", .sculptMode = kSculptDeflate, .apply = Shape<ApplyDeflate>, .selectionDivisor = 1000,
     .intensityDivisor = 400, .defaultKey = "0"},
    {.name = "Flatten", .sculptMode = kSculptFlatten, .apply = Shape<ApplyFlatten>, .selectionDivisor = 1000,
     .intensityDivisor = 1400, .defaultKey = "F"},
    {.name = "Groove", .sculptMode = kSculptGroove, .apply = Shape<ApplyGroove>, .selectionDivisor = 2000,
     .intensityDivisor = 5000, .defaultKey = "G"},
    {.name = "Unpinch", .sculptMode = kSculptUnpinch, .apply = Shape<ApplyUnpinch>, .selectionDivisor = 5000,
     .intensityDivisor = 5000, .defaultKey = "U"},
    {.name = "Stamp", .sculptMode = kSculptStamp, .apply = ApplyStamp, .selectionDivisor = 10000000,
     .intensityDivisor = 0},
};

inline constexpr int kBrushCount = static_cast<int>(sizeof kBrushTable / sizeof kBrushTable[0]);

// The item of the brush named `name`, or -1.
constexpr int BrushItem(std::string_view name) {
  for (int i = 0; i < kBrushCount; ++i) {
    if (name == kBrushTable[i].name) return i;
  }
  return -1;
}

// The brush that is the second brush when the preferences name none other.
inline constexpr int kSmoothItem = BrushItem("Smooth");

// The brushes with a place in the preferences file, in table order: slot k
// holds the k-th of them.
constexpr int CountPreferenceBrushes() {
  int count = 0;
  for (const TBrushInfo& brush : kBrushTable) count += brush.defaultKey != nullptr ? 1 : 0;
  return count;
}
inline constexpr int kPreferenceBrushCount = CountPreferenceBrushes();

// The item of preference slot `slot`, or -1.
constexpr int BrushOfPreferenceSlot(int slot) {
  for (int i = 0; i < kBrushCount; ++i) {
    if (kBrushTable[i].defaultKey != nullptr && slot-- == 0) return i;
  }
  return -1;
}

// The row of item `item` (0 .. kBrushCount - 1, list order); nullptr outside.
const TBrushInfo* FindBrush(int item);

// The row whose operator code is `sculptMode`; nullptr for codes no row has.
const TBrushInfo* FindBrushByMode(int32_t sculptMode);

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
