#include "app/shortcut_hints.h"

#include <QAction>
#include <QRadioButton>
#include <QStringList>
#include <QToolButton>

#include "app/form_input.h"
#include "app/main_menu.h"
#include "app/panel_menu.h"
#include "app/panel_modeling.h"
#include "io/preferences.h"

namespace {

bool IsModifier(const QString& key) { return key == "Ctrl" || key == "Alt" || key == "Shift"; }

// "Caption (keys)", or the caption alone.
QString WithKeys(const QString& caption, const QString& keys) {
  return keys.isEmpty() ? caption : caption + " (" + keys + ")";
}

// The keys go right of the caption after a tab. They are the window's own key
// handling, not the item's shortcut, so a key press still runs the command once.
void ShowKeysOf(QAction* item, const QString& keys) {
  const QString caption = item->text().section('\t', 0, 0);
  item->setText(keys.isEmpty() ? caption : caption + '\t' + keys);
}

}  // namespace

QString ShortcutText(int firstKey, int secondKey) {
  QStringList keys;
  for (int key : {firstKey, secondKey}) {
    if (key <= 0 || key >= kKeyListSize) continue;
    const std::string_view name = KeyList()[static_cast<size_t>(key)];
    keys << QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size()));
  }
  if (keys.size() == 2 && IsModifier(keys[1]) && !IsModifier(keys[0])) keys.swapItemsAt(0, 1);
  return keys.join('+');
}

void ShowShortcutHints(const TPreferences& prefs, TMainMenu& menu, TPanelMenu& tools, TPanelModeling& brushes) {
  const auto commandKeys = [&prefs](int command) {
    const auto [first, second] = prefs.commandKeys[static_cast<size_t>(command)];
    return ShortcutText(first, second);
  };
  ShowKeysOf(menu.Subdivide1, commandKeys(kShortcutSubdivide));
  ShowKeysOf(menu.UnSubdivide1, commandKeys(kShortcutUnsubdivide));
  ShowKeysOf(menu.Undo1, commandKeys(kShortcutUndo));

  for (QToolButton* button : tools.findChildren<QToolButton*>()) button->setToolTip(button->text());
  tools.SpeedSubdivide->setToolTip(WithKeys(tools.SpeedSubdivide->text(), commandKeys(kShortcutSubdivide)));
  tools.SpeedUnSubdivide->setToolTip(WithKeys(tools.SpeedUnSubdivide->text(), commandKeys(kShortcutUnsubdivide)));

  for (QRadioButton* brush : brushes.RadioModel) brush->setToolTip(brush->text());
  for (int slot = 0; slot < kPreferenceBrushCount; ++slot) {
    QRadioButton* brush = brushes.RadioModel[static_cast<size_t>(BrushOfPreferenceSlot(slot))];
    brush->setToolTip(WithKeys(brush->text(), ShortcutText(prefs.brushKeys[static_cast<size_t>(slot)], 0)));
  }
}
