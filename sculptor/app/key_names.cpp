#include "app/key_names.h"

#include <QGuiApplication>
#include <string_view>

#include "io/preferences.h"

int QtKeyOfKeyListItem(int item) {
  if (item <= 0 || item >= kKeyListSize) return 0;
  const std::string_view name = KeyList()[item];
  if (name.size() == 1) return name[0];  // Qt's keys for letters and digits are their upper-case codes
  if (name.size() >= 2 && name[0] == 'F' && name[1] >= '0' && name[1] <= '9') {
    return Qt::Key_F1 + std::stoi(std::string(name.substr(1))) - 1;
  }
  struct Named {
    std::string_view name;
    int key;
  };
  static const Named kNamed[] = {{"Ctrl", Qt::Key_Control}, {"Alt", Qt::Key_Alt},     {"PgUp", Qt::Key_Up},
                                 {"PgDn", Qt::Key_Down},    {"PrtScr", Qt::Key_Print}, {"Insert", Qt::Key_Insert},
                                 {"Delete", Qt::Key_Delete}, {"Space", Qt::Key_Space}, {"Shift", Qt::Key_Shift},
                                 {"Tab", Qt::Key_Tab},      {"Home", Qt::Key_Home},    {"End", Qt::Key_End}};
  for (const Named& n : kNamed) {
    if (n.name == name) return n.key;
  }
  return 0;
}

bool KeyStates::IsDown(int qtKey) const {
  const Qt::KeyboardModifiers mods = QGuiApplication::queryKeyboardModifiers();
  switch (qtKey) {
    case Qt::Key_Control: return mods.testFlag(Qt::ControlModifier) || down_.count(qtKey);
    case Qt::Key_Shift: return mods.testFlag(Qt::ShiftModifier) || down_.count(qtKey);
    case Qt::Key_Alt: return mods.testFlag(Qt::AltModifier) || down_.count(qtKey);
    default: return down_.count(qtKey) > 0;
  }
}
