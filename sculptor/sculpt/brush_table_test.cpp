#include "sculpt/brush_table.h"

#include <gtest/gtest.h>

#include <string>

TEST(BrushTable, ItemsInListOrder) {
  const char* names[] = {"Add",     "Subtract", "Grab",    "Pinch",   "Crease", "Scar",    "Smooth",
                         "Wax",     "Inflate",  "Deflate", "Flatten", "Groove", "Unpinch", "Stamp"};
  const int32_t modes[] = {0, 1, 3, 4, 5, 6, 7, 8, 9, 11, 10, 13, 14, 15};
  for (int i = 0; i < kBrushCount; ++i) {
    ASSERT_NE(FindBrush(i), nullptr);
    EXPECT_EQ(std::string(FindBrush(i)->name), names[i]);
    EXPECT_EQ(FindBrush(i)->sculptMode, modes[i]) << names[i];
    EXPECT_EQ(FindBrush(i)->sign, i == 1 ? -1 : +1) << names[i];
  }
  EXPECT_EQ(FindBrush(-1), nullptr);
  EXPECT_EQ(FindBrush(kBrushCount), nullptr);
}

TEST(BrushTable, StrengthUsesTheDivisorOfTheEvent) {
  EXPECT_FLOAT_EQ(StrengthOnSelection(2, 15), 15.0f / 7500);  // Grab
  EXPECT_FLOAT_EQ(*StrengthOnIntensityChange(2, 15), 15.0f / 1500);
  EXPECT_FLOAT_EQ(StrengthOnSelection(7, 20), 20.0f / 50);  // Wax
  EXPECT_FLOAT_EQ(*StrengthOnIntensityChange(7, 20), 20.0f / 100);
  EXPECT_FLOAT_EQ(StrengthOnSelection(13, 15), 15.0f / 10000000);  // Stamp
  EXPECT_FALSE(StrengthOnIntensityChange(13, 15).has_value());
  EXPECT_FALSE(StrengthOnIntensityChange(14, 15).has_value());
  EXPECT_EQ(StrengthOnSelection(-1, 15), 0.0f);
}

TEST(BrushTable, InverseBrushes) {
  const struct {
    int item, sign, inverseItem, inverseSign;
  } cases[] = {
      {0, +1, 1, -1},  {3, +1, 12, +1}, {4, +1, 11, +1}, {8, +1, 9, +1},
      {7, +1, 7, -1},  {6, +1, 6, +1},  {1, -1, 1, -1},  {2, +1, 2, +1},
  };
  for (const auto& c : cases) {
    const TInverseBrush inverse = InverseBrush(c.item, c.sign);
    EXPECT_EQ(inverse.item, c.inverseItem) << c.item;
    EXPECT_EQ(inverse.sign, c.inverseSign) << c.item;
  }
}

// The preferences file stores the thirteen brushes "Add" .. "Unpinch" by item
// order; Stamp has no place there. Each operator code finds its own row.
TEST(BrushTable, PreferenceSlotsAndOperatorCodes) {
  EXPECT_EQ(kPreferenceBrushCount, 13);
  for (int slot = 0; slot < kPreferenceBrushCount; ++slot) EXPECT_EQ(BrushOfPreferenceSlot(slot), slot);
  EXPECT_EQ(BrushOfPreferenceSlot(kPreferenceBrushCount), -1);
  for (int item = 0; item < kBrushCount; ++item) EXPECT_EQ(FindBrushByMode(FindBrush(item)->sculptMode), FindBrush(item));
  EXPECT_EQ(FindBrushByMode(2), nullptr);
  EXPECT_EQ(FindBrushByMode(12), nullptr);
  EXPECT_EQ(kSmoothItem, 6);
}
