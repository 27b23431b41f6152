#include "sculpt/brush_table.h"

namespace {

// Every operator code once, every inverse a brush of the table.
constexpr bool TableIsConsistent() {
  for (int i = 0; i < kBrushCount; ++i) {
    const TBrushInfo& brush = kBrushTable[i];
    if (brush.selectionDivisor == 0) return false;
    if (brush.inverse != nullptr && BrushItem(brush.inverse) < 0) return false;
    for (int j = 0; j < i; ++j) {
      if (kBrushTable[j].sculptMode == brush.sculptMode) return false;
    }
  }
  return kSmoothItem >= 0;
}
static_assert(TableIsConsistent(), "a brush row names an operator code twice or an inverse that is no brush");

}  // namespace

const TBrushInfo* FindBrush(int item) { return item >= 0 && item < kBrushCount ? &kBrushTable[item] : nullptr; }

const TBrushInfo* FindBrushByMode(int32_t sculptMode) {
  for (const TBrushInfo& brush : kBrushTable) {
    if (brush.sculptMode == sculptMode) return &brush;
  }
  return nullptr;
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
  const TBrushInfo* brush = FindBrush(item);
  if (brush == nullptr || brush->inverse == nullptr) return {item, currentSign};
  const int inverse = BrushItem(brush->inverse);
  return {inverse, brush->inverseSign != 0 ? brush->inverseSign : kBrushTable[inverse].sign};
}
