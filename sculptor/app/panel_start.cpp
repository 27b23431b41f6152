#include "app/panel_start.h"

#include <QEvent>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPixmap>
#include <QToolButton>
#include <QVBoxLayout>

#include "app/document.h"

TPanelStart::TPanelStart(TDocument& doc, QWidget* parent)
    : FloatingPanel("PanelStart", "Start Mesh", parent), doc_(doc) {
  auto* grid = new QGridLayout;
  for (size_t i = 0; i < kStartMeshChoices.size(); ++i) {
    const TStartMeshChoice& c = kStartMeshChoices[i];
    auto* button = new QToolButton(this);
    button->setObjectName(QString("SpeedStart%1").arg(c.choice));
    button->setText(c.caption);
    button->setMinimumWidth(110);
    button->setSizePolicy(QSizePolicy::Minimum, QSizePolicy::Fixed);  // never narrower than its caption
    // Choices whose base model is not installed cannot be started.
    button->setEnabled(c.model == nullptr || QFileInfo::exists(doc_.ProgramFile(c.model)));
    button->installEventFilter(this);
    connect(button, &QToolButton::clicked, this, [this, choice = c.choice] { StartMeshButtonClick(choice); });
    grid->addWidget(button, static_cast<int>(i / 3), static_cast<int>(i % 3));
    startMeshButtons[i] = button;
  }
  auto* row = new QHBoxLayout;
  row->addLayout(grid);
  body()->addLayout(row);
  ImagePreview = new QLabel(this);
  ImagePreview->setObjectName("ImagePreview");
  ImagePreview->setFixedSize(150, 150);
  ImagePreview->setAlignment(Qt::AlignCenter);
  row->addWidget(ImagePreview, 0, Qt::AlignTop);
  StartMeshButtonHover(1);
  SpeedCloseStart = new QToolButton(this);
  SpeedCloseStart->setObjectName("SpeedCloseStart");
  SpeedCloseStart->setText("Close");
  SetCloseButton(SpeedCloseStart);
  connect(SpeedCloseStart, &QToolButton::clicked, this, &TPanelStart::CloseStartClick);
  body()->addWidget(SpeedCloseStart, 0, Qt::AlignRight);
  hide();
}

bool TPanelStart::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::Enter) {
    for (size_t i = 0; i < startMeshButtons.size(); ++i) {
      if (watched == startMeshButtons[i]) StartMeshButtonHover(static_cast<int>(i) + 1);
    }
  }
  return FloatingPanel::eventFilter(watched, event);
}

void TPanelStart::CentreIn(int width, int height) {
  adjustSize();
  move(width / 2 - this->width() / 2, (height - 25) / 2 - this->height() / 2);
}

void TPanelStart::StartMesh1Click() {
  show();
  raise();
  doc_.Redraw();
}

void TPanelStart::StartMeshButtonHover(int choice) {
  const TStartMeshChoice& c = kStartMeshChoices[static_cast<size_t>(choice - 1)];
  if (c.preview == nullptr) return;
  QPixmap picture(doc_.ProgramFile(c.preview));
  if (!picture.isNull()) ImagePreview->setPixmap(picture.scaled(ImagePreview->size(), Qt::KeepAspectRatio));
}

void TPanelStart::StartMeshButtonClick(int choice) {
  hide();
  if (choice == kLoadMeshChoice) {
    emit loadMeshChosen();
    return;
  }
  emit meshChosen(choice);
}

void TPanelStart::CloseStartClick() {
  hide();
  // The stroke tools take the click at (200, 200) that ends the start panel.
  doc_.Redraw();
}
