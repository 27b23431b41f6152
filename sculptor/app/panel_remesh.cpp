#include "app/panel_remesh.h"

#include <QApplication>
#include <QLabel>
#include <QProgressBar>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>

#include "app/document.h"
#include "app/external_remesh.h"
#include "app/widget_factory.h"
#include "io/undo_snapshot_file.h"
#include "model/messages.h"

namespace {

constexpr const char* kPrincipalQuestion = "Remesh process only principal mesh. Do You Want To Continue?";
constexpr const char* kDiscardQuestion =
    "Remesh Compact keeps only the current mesh; the other meshes of the scene are discarded. "
    "Do You Want To Continue?";
constexpr const char* kIdle = "Initializing process...";
constexpr const char* kRemeshing = "Remeshing process...";
constexpr const char* kFinalizing = "Finalizing process...";

// The questions have OK and Cancel; true on OK.
bool AnsweredOk(const char* question) {
  return AskConfirmation(question, MessageButtons::OkCancel) == MessageAnswer::Ok;
}

// voxquad draws one bar for each of about this many stages; the progress
// bar crosses its band in as many equal steps.
constexpr int kHelperStages = 7;

// While a helper runs the event loop turns, so the window repaints and
// "Cancel" can be clicked; every other user input is swallowed, so nothing
// edits the scene the run is about to replace.
class InputOnlyTo : public QObject {
 public:
  explicit InputOnlyTo(QWidget& allowed) : allowed_(allowed) { qApp->installEventFilter(this); }
  ~InputOnlyTo() override { qApp->removeEventFilter(this); }
  InputOnlyTo(const InputOnlyTo&) = delete;
  InputOnlyTo& operator=(const InputOnlyTo&) = delete;

  bool eventFilter(QObject* watched, QEvent* event) override {
    switch (event->type()) {
      case QEvent::MouseButtonPress:
      case QEvent::MouseButtonRelease:
      case QEvent::MouseButtonDblClick:
      case QEvent::MouseMove:
      case QEvent::Wheel:
      case QEvent::KeyPress:
      case QEvent::KeyRelease:
      case QEvent::ShortcutOverride:
      case QEvent::TabletPress:
      case QEvent::TabletMove:
      case QEvent::TabletRelease:
      case QEvent::ContextMenu: {
        // The window system's events pass on to the widgets, which decide.
        auto* widget = qobject_cast<QWidget*>(watched);
        return widget != nullptr && widget != &allowed_ && !allowed_.isAncestorOf(widget);
      }
      case QEvent::Shortcut:  // the menu's and the window's key commands
        return true;
      default:
        return false;
    }
  }

 private:
  QWidget& allowed_;
};

}  // namespace

TPanelRemesh::TPanelRemesh(TDocument& doc, QWidget* parent) : FloatingPanel("PanelRemesh", "Remesh", parent), doc_(doc) {
  move(180, 40);
  hide();
  LabelStatusRem = new QLabel(kIdle, this);
  LabelStatusRem->setObjectName("LabelStatusRem");
  body()->addWidget(LabelStatusRem);
  ProgressBarRemesh = Named(new QProgressBar(this), "ProgressBarRemesh");
  ProgressBarRemesh->setRange(0, 100);
  ProgressBarRemesh->setValue(0);
  body()->addWidget(ProgressBarRemesh);
  ButCancelRemesh = SmallButton("ButCancelRemesh", "Cancel", this);
  body()->addWidget(ButCancelRemesh, 0, Qt::AlignRight);
  connect(ButCancelRemesh, &QToolButton::clicked, this, &TPanelRemesh::CancelRun);
}

RemeshSetup TPanelRemesh::Setup(int from, int to) {
  RemeshSetup setup;
  setup.exchangeFolder = doc_.undo().folder();
  setup.programFolder = doc_.programDir().toStdString();
  setup.onStage = [this, from, to](const ConsoleStage& stage) {
    const int done = std::min(stage.number - 1, kHelperStages - 1) * 100 + stage.percent;
    Progress(from + (to - from) * done / (kHelperStages * 100));
  };
  setup.onWork = [this] {
    QApplication::processEvents();
    return !cancelRequested_;
  };
  return setup;
}

void TPanelRemesh::Begin() {
  running_ = true;
  cancelRequested_ = false;
  show();
  raise();
  Progress(0);
}

void TPanelRemesh::End() {
  hide();
  LabelStatusRem->setText(kIdle);
  running_ = false;
  emit runEnded();
}

void TPanelRemesh::Progress(int percent) {
  ProgressBarRemesh->setValue(percent);
  ProgressBarRemesh->repaint();
}

void TPanelRemesh::ButRemeshCompactClick(int voxelBudget) {
  TScene& scene = doc_.scene();
  if (running_) return;
  if (scene.elementCount() > 1 && !AnsweredOk(kDiscardQuestion)) return;
  Begin();
  LabelStatusRem->setText(kRemeshing);
  Progress(10);
  RemeshResult result;
  const InputOnlyTo input(*this);
  const RemeshOutcome outcome = RunRemeshCompact(scene, scene.currentElement, voxelBudget, Setup(20, 70), result);
  Progress(70);
  LabelStatusRem->setText(kFinalizing);
  if (outcome == RemeshOutcome::Done && ApplyRemeshCompact(scene, result)) {
    Progress(100);
    emit doc_.sceneReplaced();
    emit remeshed();
  }
  End();
}

void TPanelRemesh::SpeedFixmeshClick(int depth) {
  TScene& scene = doc_.scene();
  if (running_) return;
  if (scene.currentElement != 0 && !AnsweredOk(kPrincipalQuestion)) return;
  Begin();
  LabelStatusRem->setText(kRemeshing);
  Progress(20);
  RemeshResult result;
  const InputOnlyTo input(*this);
  const RemeshOutcome outcome = RunRemesh(scene, depth, Setup(20, 65), result);
  Progress(65);
  LabelStatusRem->setText(kFinalizing);
  Progress(75);
  // The snapshot only once there is a result, so a failed or cancelled run
  // leaves no Undo step behind; Undo brings back the mesh before the remesh.
  if (outcome == RemeshOutcome::Done) doc_.undo().TakeSnapshot(scene.elements[0], UndoChannel::Geometry, kSnapshotFull);
  if (outcome == RemeshOutcome::Done && ApplyRemesh(scene, result)) {
    Progress(100);
    emit remeshed();
  }
  End();
}
