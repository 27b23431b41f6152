#include "app/panel_create_uvw.h"

#include <QLabel>
#include <QToolButton>
#include <QVBoxLayout>

#include "app/widget_factory.h"

namespace {

constexpr const char* kTexts[3] = {
    "This mesh does not have any texture coordinates. ",
    "To transfer your paint to texture, you must add texture coordinates. ",
    "To automatically create, click in \"Create UVs\". ",
};

}  // namespace

TPanelCreateUVW::TPanelCreateUVW(QWidget* parent) : FloatingPanel("PanelCreateUVW", "Create UV", parent) {
  move(180, 40);
  hide();
  for (size_t i = 0; i < LabelsUVW.size(); ++i) {
    LabelsUVW[i] = new QLabel(kTexts[i], this);
    LabelsUVW[i]->setObjectName(QString("LabelUVW%1").arg(i + 1));
    body()->addWidget(LabelsUVW[i]);
  }
  SpeedCreateMap = PanelButton("SpeedCreateMap", "Create UVs", this);
  SpeedCancelCreateUV = PanelButton("SpeedCancelCreateUV", "Cancel", this);
  body()->addWidget(SpeedCreateMap);
  body()->addWidget(SpeedCancelCreateUV);
  adjustSize();
}
