// PanelStart ("Start Mesh"): one button per base mesh with a preview on hover.
#include <QEvent>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPixmap>
#include <QToolButton>

#include "app/floating_panel.h"
#include "app/form_main.h"
#include "render/panel_centro.h"
#include "app/start_mesh.h"

void TFormMain::BuildPanelStart() {
  PanelStart = new FloatingPanel("PanelStart", "Start Mesh", centro_);
  connect(PanelStart, &FloatingPanel::moved, this, &TFormMain::Redraw);
  auto* grid = new QGridLayout;
  for (size_t i = 0; i < kStartMeshChoices.size(); ++i) {
    const TStartMeshChoice& c = kStartMeshChoices[i];
    auto* button = new QToolButton(PanelStart);
    button->setObjectName(QString("SpeedStart%1").arg(c.choice));
    button->setText(c.caption);
    button->setMinimumWidth(110);
    // Choices whose base model is not installed cannot be started.
    button->setEnabled(c.model == nullptr || QFileInfo::exists(ProgramFile(c.model)));
    button->installEventFilter(this);
    connect(button, &QToolButton::clicked, this, [this, choice = c.choice] { StartMeshButtonClick(choice); });
    grid->addWidget(button, static_cast<int>(i / 3), static_cast<int>(i % 3));
    startMeshButtons[i] = button;
  }
  auto* row = new QHBoxLayout;
  row->addLayout(grid);
  PanelStart->body()->addLayout(row);
  ImagePreview = new QLabel(PanelStart);
  ImagePreview->setObjectName("ImagePreview");
  ImagePreview->setFixedSize(150, 150);
  ImagePreview->setAlignment(Qt::AlignCenter);
  row->addWidget(ImagePreview, 0, Qt::AlignTop);
  StartMeshButtonHover(1);
  auto* close = new QToolButton(PanelStart);
  close->setObjectName("SpeedCloseStart");
  close->setText("Close");
  connect(close, &QToolButton::clicked, this, &TFormMain::CloseStartClick);
  PanelStart->body()->addWidget(close, 0, Qt::AlignRight);
  PanelStart->hide();
}

void TFormMain::StartMesh1Click() {
  PanelStart->show();
  PanelStart->raise();
  Redraw();
}

void TFormMain::StartMeshButtonHover(int choice) {
  const TStartMeshChoice& c = kStartMeshChoices[static_cast<size_t>(choice - 1)];
  if (c.preview == nullptr) return;
  QPixmap picture(ProgramFile(c.preview));
  if (!picture.isNull()) ImagePreview->setPixmap(picture.scaled(ImagePreview->size(), Qt::KeepAspectRatio));
}

void TFormMain::StartMeshButtonClick(int choice) {
  if (choice == kLoadMeshChoice) {
    PanelStart->hide();
    Abrir1Click();
    return;
  }
  startMeshChoice_ = choice;
  PanelStart->hide();
  PanelLoadAdd->move(PanelStart->pos());
  PanelLoadAdd->show();
  PanelLoadAdd->raise();
  Redraw();
}

void TFormMain::CloseStartClick() {
  PanelStart->hide();
  // The stroke tools take the click at (200, 200) that ends the start panel.
  Redraw();
}
