// PanelStart ("Start Mesh"): one button per base mesh with a preview on hover.
#pragma once

#include <array>

#include "app/floating_panel.h"
#include "app/start_mesh.h"

class QLabel;
class QToolButton;
class TDocument;

class TPanelStart : public FloatingPanel {
  Q_OBJECT

 public:
  TPanelStart(TDocument& doc, QWidget* parent);

  std::array<QToolButton*, kStartMeshChoices.size()> startMeshButtons{};
  QLabel* ImagePreview = nullptr;
  QToolButton* SpeedCloseStart = nullptr;

  // Handlers ("Start Mesh" of the File menu shows the panel).
  void StartMesh1Click();
  void StartMeshButtonClick(int choice);
  void StartMeshButtonHover(int choice);
  void CloseStartClick();

  // Centred in a viewport of `width` x `height` (the status bar's 25 pixels kept free).
  void CentreIn(int width, int height);

 signals:
  // A base mesh was chosen (1 .. 17): where it goes is asked next.
  void meshChosen(int choice);
  // "Load Mesh": the Open command.
  void loadMeshChosen();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  TDocument& doc_;
};
