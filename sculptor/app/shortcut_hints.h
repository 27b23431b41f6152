// The shortcuts of the preferences, shown where the user looks for them:
// beside the menu items of the shortcut commands, and in the tooltips of the
// brush list and of the tool panel's buttons.
#pragma once

#include <QString>

struct TPreferences;
class TMainMenu;
class TPanelMenu;
class TPanelModeling;

// The keys of a shortcut as the key list names them, modifiers first
// ("Ctrl+D"); empty when neither is set.
QString ShortcutText(int firstKey, int secondKey);

// Shows the current shortcuts of `prefs`; again after they changed.
void ShowShortcutHints(const TPreferences& prefs, TMainMenu& menu, TPanelMenu& tools, TPanelModeling& brushes);
