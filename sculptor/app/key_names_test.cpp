#include "app/key_names.h"

#include <gtest/gtest.h>

#include <Qt>

#include "io/preferences.h"

TEST(KeyNames, KeyListItemsMapToQtKeys) {
  const std::pair<const char*, int> cases[] = {
      {"None", 0},           {"Ctrl", Qt::Key_Control}, {"PgUp", Qt::Key_Up},      {"PgDn", Qt::Key_Down},
      {"F1", Qt::Key_F1},    {"F12", Qt::Key_F12},      {"PrtScr", Qt::Key_Print}, {"Space", Qt::Key_Space},
      {"Shift", Qt::Key_Shift}, {"Delete", Qt::Key_Delete}, {"A", Qt::Key_A},      {"Z", Qt::Key_Z},
      {"0", Qt::Key_0},      {"9", Qt::Key_9},
  };
  for (const auto& [name, key] : cases) EXPECT_EQ(QtKeyOfKeyListItem(KeyListIndex(name)), key) << name;
  EXPECT_EQ(QtKeyOfKeyListItem(-1), 0);
  EXPECT_EQ(QtKeyOfKeyListItem(kKeyListSize), 0);
}
