#include "sculpt/brush_table.h"

#include <array>

namespace {

constexpr std::array<TBrushInfo, kBrushCount> kBrushes{{
    {"Add", kSculptAdd, 1400, 1400, +1},
    {"Subtract", kSculptSubtract, 1400, 1400, -1},
    {"Grab", kSculptGrab, 7500, 1500, +1},
    {"Pinch", kSculptPinch, 5000, 7500, +1},
    {"Crease", kSculptCrease, 2000, 5000, +1},
    {"Scar", kSculptScar, 1500, 1500, +1},
    {"Smooth", kSculptSmooth, 75, 75, +1},
    {"Wax", kSculptWax, 50, 100, +1},
    {"Inflate", kSculptInflate, 1400, 1400, +1},
    {"Deflate", kSculptDeflate, 1000, 400, +1},
    {"Flatten", kSculptFlatten, 1000, 1400, +1},
    {"Groove", kSculptGroove, 2000, 5000, +1},
    {"Unpinch", kSculptUnpinch, 5000, 5000, +1},
    {"Stamp", kSculptStamp, 10000000, 0, +1},
}};

constexpr int kItemAdd = 0, kItemSubtract = 1, kItemPinch = 3, kItemCrease = 4, kItemWax = 7, kItemInflate = 8,
              kItemDeflate = 9, kItemGroove = 11, kItemUnpinch = 12;

}  // namespace

const TBrushInfo* FindBrush(int item) {
  return item >= 0 && item < kBrushCount ? &kBrushes[static_cast<size_t>(item)] : nullptr;
}

float StrengthOnSelection(int item, int intensity) {
  const TBrushInfo* brush = FindBrush(item);
  return brush ? static_cast<float>(intensity) / static_cast<float>(brush->selectionDivisor) : 0.0f;
}

std::optional<float> StrengthOnIntensityChange(int item, int intensity) {
  const TBrushInfo* brush = FindBrush(item);
  if (!brush || brush->intensityDivisor == 0) return std::nullopt;
  return static_cast<float>(intensity) / static_cast<float>(brush->intensityDivisor);
}

TInverseBrush InverseBrush(int item, int32_t currentSign) {
  int inverse = item;
  switch (item) {
    case kItemAdd: inverse = kItemSubtract; break;
    case kItemPinch: inverse = kItemUnpinch; break;
    case kItemCrease: inverse = kItemGroove; break;
    case kItemInflate: inverse = kItemDeflate; break;
    case kItemWax: return {kItemWax, -1};
    default: return {item, currentSign};
  }
  return {inverse, kBrushes[static_cast<size_t>(inverse)].sign};
}
