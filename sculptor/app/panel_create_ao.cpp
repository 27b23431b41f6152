#include "app/panel_create_ao.h"

#include <QCoreApplication>
#include <QLabel>
#include <QProgressBar>
#include <QToolButton>
#include <QVBoxLayout>
#include <climits>
#include <cstring>

#include "app/document.h"
#include "app/input_only_to.h"
#include "app/widget_factory.h"
#include "io/undo_snapshot_file.h"
#include "model/messages.h"

namespace {

constexpr const char* kSlowQuestion = "It is a very slow process. Do you want to continue?";
constexpr const char* kInitialCaption = "Creating Ambient Occlusion... ";
// The bake reports far more often than a person can see: the window's events
// run at most this often, and at the start of every step.
constexpr qint64 kEventsEveryMs = 30;

}  // namespace

TPanelCreateAO::TPanelCreateAO(TDocument& doc, QWidget* parent)
    : FloatingPanel("PanelCreateAO", "Ambient Occlusion", parent), doc_(doc) {
  move(180, 40);
  hide();
  LabelAO = Named(new QLabel(kInitialCaption, this), "LabelAO");
  LabelAO->setMinimumWidth(260);
  body()->addWidget(LabelAO);
  ProgressBarAO = Named(new QProgressBar(this), "ProgressBarAO");
  ProgressBarAO->setValue(0);
  body()->addWidget(ProgressBarAO);
  SpeedCancel = SmallButton("SpeedCancel", "Cancel", this);
  body()->addWidget(SpeedCancel, 0, Qt::AlignRight);
  adjustSize();
  connect(SpeedCancel, &QToolButton::clicked, this, &TPanelCreateAO::SpeedCancelClick);
}

void TPanelCreateAO::SpeedAmbientOcclusionClick() {
  if (running_ || doc_.RefusedInTextureMode()) return;
  aoCancel = false;
  if (AskConfirmation(kSlowQuestion, MessageButtons::YesNo) != MessageAnswer::Yes) return;
  TScene& scene = doc_.scene();
  LabelAO->setText(kAoStatusStart);
  shownStatus_ = nullptr;  // the first report lets the events run
  show();
  raise();
  // The progress bar counts in int: a scene of more work counts in larger units.
  const int64_t total = AmbientOcclusionWork(scene.elements);
  unit_ = total / INT_MAX + 1;
  ProgressBarAO->setRange(0, static_cast<int>(total / unit_));
  ProgressBarAO->setValue(0);
  repaint();

  running_ = true;
  coloursChanging_ = false;
  clock_.start();
  lastEvents_ = 0;
  {
    const TInputOnlyTo inputOnlyHere(*this, [this] {
      closeAfterRun_ = true;
      aoCancel = true;
    });
    BakeSceneAmbientOcclusion(scene.elements, aoStrength, [this](const AoProgress& p) { return Progress(p); });
  }
  running_ = false;
  Finish();
  if (closeAfterRun_) {
    closeAfterRun_ = false;
    QWidget* mainWindow = window();
    QMetaObject::invokeMethod(
        mainWindow, [mainWindow] { mainWindow->close(); }, Qt::QueuedConnection);
  }
}

bool TPanelCreateAO::Progress(const AoProgress& progress) {
  const bool newStep = progress.status != shownStatus_;
  if (newStep) {
    shownStatus_ = progress.status;
    LabelAO->setText(progress.status);
  }
  if (newStep || clock_.elapsed() - lastEvents_ >= kEventsEveryMs) {
    ProgressBarAO->setValue(static_cast<int>(progress.done / unit_));
    QCoreApplication::processEvents();
    lastEvents_ = clock_.elapsed();
  }
  if (aoCancel) return false;
  // The colours change from the first finishing step on. Colours live in full
  // snapshots only: Undo gives back the current element's colours from before
  // the bake. A run cancelled earlier changed nothing and leaves no undo step.
  if (!coloursChanging_ && std::strcmp(progress.status, kAoStatusFinish) == 0) {
    coloursChanging_ = true;
    doc_.undo().TakeSnapshot(doc_.scene().current(), UndoChannel::Geometry, kSnapshotFull);
  }
  return true;
}

void TPanelCreateAO::Finish() {
  hide();
  ProgressBarAO->setValue(0);
  TScene& scene = doc_.scene();
  // Every element shows its new colours at once, not only the current one.
  for (int i = 0; i < scene.elementCount(); ++i) UploadElementBuffers(scene, i);
  doc_.RebuildCurrentAdjacency();
  scene.host->RebuildScreenGrids(scene);
  if (coloursChanging_) doc_.SceneChanged();
  doc_.Redraw();
}
