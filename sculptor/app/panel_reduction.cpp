#include "app/panel_reduction.h"

#include <QLabel>
#include <QScrollBar>
#include <QToolButton>
#include <QVBoxLayout>
#include <new>

#include "app/document.h"
#include "app/widget_factory.h"
#include "io/undo_snapshot_file.h"
#include "model/messages.h"
#include "processing/meshify_simplify_quadric_element.h"
#include "sculpt/subdivision.h"

namespace {

constexpr int kDefaultRatio = 40;

QString PercentText(int position) { return QString::number(position) + " %"; }

}  // namespace

TPanelReduction::TPanelReduction(TDocument& doc, QWidget* parent)
    : FloatingPanel("PanelReduction", "Mesh Reduction", parent), doc_(doc) {
  body()->addWidget(new QLabel("Mesh Reduction Ratio: ", this));
  ScrollReduction = Named(new QScrollBar(Qt::Horizontal, this), "ScrollReduction");
  ScrollReduction->setRange(0, 100);
  ScrollReduction->setValue(kDefaultRatio);
  body()->addWidget(ScrollReduction);
  LabPosition = Named(new QLabel(PercentText(kDefaultRatio), this), "LabPosition");
  body()->addWidget(LabPosition);
  LabRed = Named(new QLabel(this), "LabRed");
  body()->addWidget(LabRed);
  SpeedProcessRed = PanelButton("SpeedProcessRed", "Process", this);
  SpeedCloseReduction = PanelButton("SpeedCloseReduction", "Close", this);
  body()->addWidget(SpeedProcessRed);
  body()->addWidget(SpeedCloseReduction);
  connect(ScrollReduction, &QScrollBar::valueChanged, this, &TPanelReduction::ScrollReductionChange);
  connect(SpeedProcessRed, &QToolButton::clicked, this, &TPanelReduction::SpeedProcessRedClick);
  connect(SpeedCloseReduction, &QToolButton::clicked, this, &TPanelReduction::SpeedCloseReductionClick);
  adjustSize();
  hide();
}

void TPanelReduction::SpeedReductionClick() {
  if (doc_.RefusedInTextureMode()) return;
  show();
  raise();
  LabRed->setText("   ");
  ScrollReduction->setMaximum(100);
  LabPosition->setText(PercentText(kDefaultRatio));
  doc_.undo().TakeSnapshot(doc_.scene().current(), UndoChannel::Geometry, kSnapshotFull);
  doc_.Redraw();
}

void TPanelReduction::ScrollReductionChange() { LabPosition->setText(PercentText(ScrollReduction->value())); }

// Each press reduces the current (perhaps already reduced) mesh again; no
// snapshot is taken here, the one of the opening stays the way back.
void TPanelReduction::SpeedProcessRedClick() {
  TScene& scene = doc_.scene();
  int adjacencyWidth = 0;
  try {
    adjacencyWidth = ReduceElement(scene.current(), ScrollReduction->value());
  } catch (const std::bad_alloc&) {
    ShowError(kNotEnoughMemory);
    return;
  }
  if (adjacencyWidth > 0) scene.adjacencyWidth = adjacencyWidth;
  doc_.ShowSubdivisionLevel(0);
  UploadElementBuffers(scene, scene.currentElement);
  scene.host->RebuildScreenGrids(scene);
  doc_.Redraw();
}

void TPanelReduction::SpeedCloseReductionClick() {
  hide();
  doc_.Redraw();
}
