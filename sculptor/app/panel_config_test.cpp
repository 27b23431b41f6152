// The configuration panel in the real window: the editors, the settings that
// act at once, "Save Preferences" read back by a new window, a save that
// cannot write, and how the command shortcuts resolve.
#include <QCheckBox>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QLabel>
#include <QListWidget>
#include <QRadioButton>
#include <QScrollBar>
#include <QSlider>
#include <QSpinBox>
#include <QToolButton>

#include "app/window_test_support.h"

namespace {

constexpr int kUndoCommand = 3;

class PanelConfigTest : public WindowTest {
 protected:
  void SetUp() override {
    WindowTest::SetUp();
    form_->PanelConfig->Preferences1Click();
  }
  void TearDown() override { QFile::remove(UserPreferencesPath()); }

  QToolButton* Button(const char* name) { return form_->findChild<QToolButton*>(name); }

  void SetBrushPreference(int brush, const char* key, int intensity) {
    form_->PanelConfig->ListBoxPreference->setCurrentRow(brush);
    form_->PanelConfig->ComboFirst->setCurrentIndex(KeyListIndex(key));
    form_->PanelConfig->EditDefaultInt->setValue(intensity);
    Button("ButtBrushPreferenceOk")->click();
  }

  void SetCommandKeys(int command, const char* first, const char* second) {
    form_->PanelConfig->ComboBox1->setCurrentIndex(command);
    form_->PanelConfig->ComboBox3->setCurrentIndex(KeyListIndex(first));
    form_->PanelConfig->ComboBox5->setCurrentIndex(KeyListIndex(second));
    Button("ButtControlsPreferenceOk")->click();
  }
};

TEST_F(PanelConfigTest, EditorsShowTheStoredShortcuts) {
  EXPECT_TRUE(form_->PanelConfig->isVisible());
  ASSERT_EQ(form_->PanelConfig->ListBoxPreference->count(), 13);
  EXPECT_EQ(form_->PanelConfig->ListBoxPreference->item(12)->text(), "Unpinch");
  EXPECT_EQ(form_->PanelConfig->ComboFirst->currentText(), "1");  // the shipped key of "Add"
  form_->PanelConfig->ListBoxPreference->setCurrentRow(2);
  EXPECT_EQ(form_->PanelConfig->ComboFirst->currentText(), "3");
  EXPECT_EQ(form_->PanelConfig->EditDefaultInt->value(), 15);
  form_->PanelConfig->ComboBox1->setCurrentIndex(kUndoCommand);
  EXPECT_EQ(form_->PanelConfig->ComboBox1->currentText(), "Undo");
  EXPECT_EQ(form_->PanelConfig->ComboBox3->currentText(), "Ctrl");
  EXPECT_EQ(form_->PanelConfig->ComboBox5->currentText(), "Z");
  EXPECT_EQ(form_->PanelConfig->ComboBox3->count(), kKeyListSize);
  EXPECT_EQ(form_->PanelConfig->ComboSecBrush->currentText(), "Smooth");
}

TEST_F(PanelConfigTest, CloseHidesThePanel) {
  QToolButton* close = Button("SpeedConfigClose");
  ASSERT_NE(close, nullptr);
  EXPECT_TRUE(close->isVisible());
  EXPECT_EQ(close->text(), "Close");
  close->click();
  EXPECT_FALSE(form_->PanelConfig->isVisible());
}

// Menu items and buttons name their shortcuts, and follow when they are set.
TEST_F(PanelConfigTest, MenuItemsAndButtonsNameTheirShortcuts) {
  TMainMenu& menu = *form_->MainMenu;
  EXPECT_EQ(menu.Subdivide1->text(), "Subdivide\tCtrl+D");
  EXPECT_EQ(menu.UnSubdivide1->text(), "UnSubdivide\tShift+D");
  EXPECT_EQ(menu.Save1->shortcut(), QKeySequence(QKeySequence::Save));
  EXPECT_EQ(form_->PanelMenu->SpeedSubdivide->toolTip(), "Subdivide (Ctrl+D)");
  EXPECT_EQ(form_->PanelMenu->SpeedFreeze->toolTip(), "Freeze");

  SetCommandKeys(kUndoCommand, "U", "Alt");
  EXPECT_EQ(menu.Undo1->text(), "Undo\tAlt+U");
  SetCommandKeys(kUndoCommand, "None", "None");
  EXPECT_EQ(menu.Undo1->text(), "Undo");

  QRadioButton* brush = form_->PanelModeling->RadioModel[static_cast<size_t>(BrushOfPreferenceSlot(0))];
  SetBrushPreference(0, "Q", 20);
  EXPECT_EQ(brush->toolTip(), brush->text() + " (Q)");
  SetBrushPreference(0, "None", 20);
  EXPECT_EQ(brush->toolTip(), brush->text());
}

TEST_F(PanelConfigTest, LiveSettingsTakeEffectAtOnce) {
  form_->PanelConfig->FloatSpinZoomPref->setValue(0.05);
  EXPECT_FLOAT_EQ(form_->viewport().state().zoomStep, 0.05f);
  form_->PanelConfig->SpinGrabbSensibility->setValue(22);
  EXPECT_EQ(form_->document().brush().grabSensitivity, 22);
  form_->PanelConfig->ComboSecBrush->setCurrentIndex(3);
  EXPECT_EQ(form_->preferences().secondBrush, 3);
  form_->PanelConfig->SpinRemesh->setValue(8);
  EXPECT_EQ(form_->PanelConfig->remeshDepth(), 8);

  form_->PanelConfig->ScrollBarWacom->setValue(30);
  EXPECT_EQ(form_->PanelConfig->LabPen->text(), "30");
  EXPECT_EQ(form_->PanelConfig->penSensibility(), 30);
  form_->PanelConfig->CheckActiveTablet->click();
  EXPECT_TRUE(form_->PanelConfig->tabletActive());
  EXPECT_TRUE(form_->PanelMenu->ScrollIntensity->isVisible());  // no pen under Xvfb
  form_->PanelConfig->CheckActiveTablet->click();
  EXPECT_FALSE(form_->PanelConfig->tabletActive());

  form_->PanelConfig->TrackBarx->setValue(7);
  form_->PanelConfig->TrackBarz->setValue(-20);
  const auto& light = form_->viewport().state().lightPosition;
  EXPECT_EQ(light[0], 7);
  EXPECT_EQ(light[1], 3);
  EXPECT_EQ(light[2], -20);
  form_->PanelConfig->TrackBarSpec->setValue(21);
  EXPECT_EQ(form_->viewport().state().shininess, 21);
  EXPECT_TRUE(messages_.entries.empty());
}

// Moving the light's sliders shows at once: a side of the ball turns from lit to dark.
TEST_F(PanelConfigTest, LightSlidersVisiblyMoveTheLight) {
  PanelCentro& view = form_->viewport();
  const QPoint side(view.width() / 2 + 60, view.height() / 2);
  const auto brightness = [&view, side] {
    const QImage frame = view.grabFramebuffer();
    return qGray(frame.pixel(side * frame.devicePixelRatio()));
  };
  form_->PanelConfig->TrackBarx->setValue(-20);
  const int before = brightness();
  form_->PanelConfig->TrackBarx->setValue(20);  // the light goes over to the other side
  EXPECT_GT(std::abs(brightness() - before), 40);
}

TEST_F(PanelConfigTest, SavedPreferencesComeBackInANewWindow) {
  SetBrushPreference(4, "K", 33);
  SetCommandKeys(kUndoCommand, "Alt", "U");
  form_->PanelConfig->FloatSpinZoomPref->setValue(0.05);
  form_->PanelConfig->SpinGrabbSensibility->setValue(22);
  form_->PanelConfig->ComboSecBrush->setCurrentIndex(3);
  form_->PanelMenu->move(40, 50);
  form_->PanelModeling->move(300, 400);
  Button("SpeedSavePreference")->click();
  ASSERT_TRUE(QFile::exists(UserPreferencesPath()));
  const TPreferences saved = form_->preferences();
  EXPECT_EQ(saved.brushKeys[4], KeyListIndex("K"));
  EXPECT_EQ(saved.brushDefaultIntensity[4], 33);

  form_.reset();
  OpenWindow();
  EXPECT_EQ(form_->preferences(), saved);
  EXPECT_EQ(form_->preferences().zoomStep, 0.05);
  EXPECT_FLOAT_EQ(form_->viewport().state().zoomStep, 0.05f);
  EXPECT_EQ(form_->PanelConfig->FloatSpinZoomPref->value(), 0.05);
  EXPECT_EQ(form_->PanelConfig->SpinGrabbSensibility->value(), 22);
  EXPECT_EQ(form_->document().brush().grabSensitivity, 22);
  EXPECT_EQ(form_->PanelConfig->ComboSecBrush->currentIndex(), 3);
  EXPECT_EQ(form_->PanelMenu->pos(), QPoint(40, 50));
  EXPECT_EQ(form_->PanelModeling->pos(), QPoint(300, 400));
  EXPECT_TRUE(messages_.entries.empty()) << messages_.Texts().front();
}

TEST_F(PanelConfigTest, ASaveThatCannotWriteKeepsTheWindow) {
  ASSERT_TRUE(QDir().mkpath(UserPreferencesPath()));  // a folder where the file should go
  form_->PanelConfig->SpeedSavePreferenceClick();
  QDir(UserPreferencesPath()).removeRecursively();
  EXPECT_EQ(messages_.Texts(),
            std::vector<std::string>{"Please reinstaller Plasmora. Failed to load preference in directory."});
  EXPECT_TRUE(form_->isVisible());
  EXPECT_FALSE(form_->destroyed());
  EXPECT_EQ(form_->scene().elements[0].vertexCount, kBallVertices);
}

struct ShortcutCase {
  const char* name;
  const char* first;
  const char* second;
  Qt::KeyboardModifiers held;  // with the K key
  bool fires;
};

TEST_F(PanelConfigTest, CommandShortcutsFireOnTheirFirstSecondOrBothKeys) {
  const ShortcutCase cases[] = {
      {"second key alone", "None", "K", Qt::NoModifier, true},
      {"first key alone", "K", "None", Qt::NoModifier, true},
      {"both keys, only one down", "Alt", "K", Qt::NoModifier, false},
      {"both keys down", "Alt", "K", Qt::AltModifier, true},
      {"neither key set", "None", "None", Qt::NoModifier, false},
  };
  TGeosphera& e = form_->scene().current();
  for (const ShortcutCase& c : cases) {
    SCOPED_TRACE(c.name);
    SetCommandKeys(kUndoCommand, c.first, c.second);
    const Tvertices before = e.vertices;
    form_->document().undo().MarkPendingChange(0);
    form_->document().undo().TakeSnapshot(e, UndoChannel::Geometry, kSnapshotPositions);
    e.vertices[0].x += 1;
    QTest::keyClick(form_.get(), Qt::Key_K, c.held);
    EXPECT_EQ(e.vertices == before, c.fires);
    form_->document().undo().ResetChannel(UndoChannel::Geometry);
    e.vertices = before;
  }
}

}  // namespace
