// The shortcut keys of the preferences as Qt keys, and the live key state.
#pragma once

#include <set>

// Qt key of a key-list item index (see KeyList); 0 for "None" or a bad index.
// "PgUp" and "PgDn" are the Up and Down arrows.
int QtKeyOfKeyListItem(int item);

// Keys held down now, followed from press and release events; the modifier
// keys are taken from the live modifier state.
class KeyStates {
 public:
  void Press(int qtKey) { down_.insert(qtKey); }
  void Release(int qtKey) { down_.erase(qtKey); }
  void Clear() { down_.clear(); }
  bool IsDown(int qtKey) const;

 private:
  std::set<int> down_;
};
