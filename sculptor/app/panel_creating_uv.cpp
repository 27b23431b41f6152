#include "app/panel_creating_uv.h"

#include <QCoreApplication>
#include <QLabel>
#include <QProgressBar>
#include <QVBoxLayout>

namespace {

constexpr const char* kFirstText = "Creating UV Coordinates... ";
constexpr qint64 kRepaintMs = 100;

}  // namespace

TPanelCreatingUV::TPanelCreatingUV(QWidget* parent) : FloatingPanel("PanelCreatingUV", "Creating UV", parent) {
  move(180, 40);
  hide();
  LabelUV = new QLabel(kFirstText, this);
  LabelUV->setObjectName("LabelUV");
  LabelUV->setMinimumWidth(240);
  ProgressBarUV = new QProgressBar(this);
  ProgressBarUV->setObjectName("ProgressBarUV");
  body()->addWidget(LabelUV);
  body()->addWidget(ProgressBarUV);
  adjustSize();
}

void TPanelCreatingUV::Start() {
  LabelUV->setText(kFirstText);
  ProgressBarUV->setRange(0, 1);
  ProgressBarUV->setValue(0);
  show();
  raise();
  QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
  lastPaint_.start();
}

void TPanelCreatingUV::ShowProgress(const std::string& label, int done, int total) {
  const QString text = QString::fromStdString(label);
  const bool newStage = LabelUV->text() != text;
  LabelUV->setText(text);
  if (total > 0) {
    ProgressBarUV->setRange(0, total);
    ProgressBarUV->setValue(done);
  }
  if (newStage || lastPaint_.elapsed() >= kRepaintMs) {
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    lastPaint_.restart();
  }
}
