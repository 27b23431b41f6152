#include "app/panel_skech.h"

#include <QCheckBox>
#include <QLabel>
#include <QScrollBar>
#include <QToolButton>
#include <QVBoxLayout>
#include <exception>

#include "app/document.h"
#include "app/widget_factory.h"
#include "model/messages.h"
#include "processing/sketch_spheres.h"

namespace {

constexpr const char* kSelectSketchStart = "Select \"Skech Sphere\" in \"Start Mesh\" to sculpt your base form.";
constexpr const char* kClearQuestion =
    "New mesh will be created, please save your mesh before deleting balls.\n"
    "Confirms the exclusion of the spheres?";
constexpr const char* kClearError = "Error in clear skech. Error 2376";
constexpr int kAutoConvertResolution = kSketchMinResolution;

}  // namespace

TPanelSkech::TPanelSkech(TDocument& doc, QWidget* parent)
    : FloatingPanel("PanelSkech", "Skech Control", parent), doc_(doc) {
  move(180, 40);
  hide();
  // The bar starts at the resolution a conversion uses.
  const int start = static_cast<int>(sketchResolution_);
  ScrollBarSkech = Named(new QScrollBar(Qt::Horizontal, this), "ScrollBarSkech");
  ScrollBarSkech->setRange(kSketchMinResolution, kSketchMaxResolution);
  ScrollBarSkech->setPageStep(1);
  ScrollBarSkech->setValue(start);
  Labfator = Named(new QLabel(QString::number(start), this), "Labfator");
  CheckAuto = CheckBox("CheckAuto", "Automatic Convert", this);
  SpeedSkechConvert = PanelButton("SpeedSkechConvert", "Convert Skech", this);
  SpeedClearSkech = PanelButton("SpeedClearSkech", "Clear Skech Spheres", this);
  SpeedButton8 = PanelButton("SpeedButton8", "Close", this);
  auto* resolution = new QHBoxLayout;
  resolution->addWidget(new QLabel("Resolution:", this));
  resolution->addWidget(Labfator);
  body()->addLayout(resolution);
  for (QWidget* w :
       std::initializer_list<QWidget*>{ScrollBarSkech, CheckAuto, SpeedSkechConvert, SpeedClearSkech, SpeedButton8}) {
    body()->addWidget(w);
  }
  adjustSize();

  connect(ScrollBarSkech, &QScrollBar::valueChanged, this, &TPanelSkech::ScrollBarSkechChange);
  connect(CheckAuto, &QCheckBox::clicked, this, &TPanelSkech::CheckAutoClick);
  connect(SpeedSkechConvert, &QToolButton::clicked, this, &TPanelSkech::SpeedSkechConvertClick);
  connect(SpeedClearSkech, &QToolButton::clicked, this, &TPanelSkech::SpeedClearSkechClick);
  connect(SpeedButton8, &QToolButton::clicked, this, &TPanelSkech::SpeedButton8Click);
  connect(&doc_, &TDocument::sketchStrokeEnded, this, &TPanelSkech::SketchStrokeEnded);
}

void TPanelSkech::SpeedSkechClick() {
  if (!doc_.RefusedInTextureMode()) {
    if (doc_.scene().elements[0].sketchBase == 1) {
      StartSketch();
    } else {
      ShowWarning(kSelectSketchStart);
    }
  }
  doc_.Redraw();
}

void TPanelSkech::StartSketch() {
  show();
  raise();
  doc_.modes().sketch = true;
}

void TPanelSkech::ScrollBarSkechChange(int position) {
  if (autoConvert_) {
    ScrollBarSkech->setValue(kAutoConvertResolution);
    return;
  }
  sketchResolution_ = static_cast<float>(position);
  Labfator->setText(QString::number(position));
  doc_.Redraw();
}

void TPanelSkech::CheckAutoClick(bool checked) {
  autoConvert_ = checked;
  if (!checked) return;
  sketchResolution_ = kAutoConvertResolution;
  ScrollBarSkech->setValue(kAutoConvertResolution);
  Labfator->setText(QString::number(kAutoConvertResolution));
}

void TPanelSkech::SpeedSkechConvertClick() {
  // The spheres of the strokes are gone with their groups, or stay as they were.
  if (ConvertSketch(doc_.scene(), sketchResolution_)) doc_.stroke().sketchGroups().Clear();
  doc_.Redraw();
}

void TPanelSkech::SketchStrokeEnded(bool beganOverModel) {
  if (autoConvert_ && beganOverModel) SpeedSkechConvertClick();
}

void TPanelSkech::SpeedClearSkechClick() {
  if (AskConfirmation(kClearQuestion, MessageButtons::YesNo) != MessageAnswer::Yes) return;
  try {
    RemoveSpheres();
  } catch (const std::exception&) {
    ShowError(kClearError);
  }
  doc_.Redraw();
}

// Each element leaves through the delete step, so its buffers and its undo
// rings go with it.
void TPanelSkech::RemoveSpheres() {
  TScene& scene = doc_.scene();
  while (scene.elementCount() > 1) {
    scene.currentElement = scene.elementCount() - 1;
    DeleteElement(scene);
  }
  scene.currentElement = 0;
  doc_.stroke().sketchGroups().Clear();
}

void TPanelSkech::SpeedButton8Click() {
  hide();
  doc_.modes().sketch = false;
  doc_.Redraw();
}
