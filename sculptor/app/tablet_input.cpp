#include "app/tablet_input.h"

#include <QCheckBox>
#include <QSlider>
#include <QTabletEvent>
#include <cmath>
#include <cstring>

#include "app/document.h"
#include "app/panel_config.h"
#include "app/panel_menu.h"
#include "app/viewport_input.h"
#include "render/panel_centro.h"
#include "sculpt/stroke_projection.h"

namespace {

constexpr int kSecondBrushSensibility = 25;

}  // namespace

TTabletInput::TTabletInput(TDocument& doc, TViewportInput& input, TPanelConfig& config, TPanelMenu& tools)
    : QObject(&doc.viewport()), doc_(doc), input_(input), config_(config), tools_(tools) {
  doc.viewport().installEventFilter(this);
  // Its filter comes after this one, so it runs first: the packet sets the
  // intensity before the event reaches the stroke.
  Tablet1 = new TTablet(this, &doc.viewport());
  Tablet1->setObjectName("Tablet1");
  Tablet1->OnPacket = [this](QObject* s, uint32_t serial, const uint8_t* p, uintptr_t c) {
    TabletPacket(s, serial, p, c);
  };
  Tablet1->OnProximity = [this](QObject* s, uintptr_t c, bool entering) { TabletProximity(s, c, entering); };
  Tablet1->OnCursorChanged = [this](QObject* s, uint32_t serial, const uint8_t* p, uintptr_t c) {
    TabletCursorChanged(s, serial, p, c);
  };
  connect(config.CheckActiveTablet, &QCheckBox::clicked, this, [this](bool checked) {
    if (checked) {
      Activate();
    } else {
      SetTabletActive(false);  // the context stays open: pressure still sets the intensity
    }
  });
  connect(&input, &TViewportInput::penSecondBrushArming, this,
          [this] { strokeSensibility_ = kSecondBrushSensibility; });
  connect(&input, &TViewportInput::strokeEnding, this, [this] { strokeSensibility_.reset(); });
}

int TTabletInput::penSensibility() const {
  const int sensibility = strokeSensibility_.value_or(config_.penSensibility());
  return sensibility > 0 ? sensibility : 1;
}

void TTabletInput::TabletPacket(QObject*, uint32_t, const uint8_t* packet, uintptr_t) {
  TTabletPacket p;
  std::memcpy(&p, packet, sizeof p);
  const double intensity = std::nearbyint(static_cast<double>(p.normalPressure) / penSensibility());
  tools_.ScrollIntensity->setValue(static_cast<int>(intensity));  // the bar keeps it within 1 .. 50
}

void TTabletInput::Activate() {
  SetTabletActive(true);
  if (!Tablet1->available()) return;  // the intensity bar stays in the user's hand
  Tablet1->SetPacketBufferSize(32);
  Tablet1->Open(true);
}

void TTabletInput::SetTabletActive(bool on) { input_.SetTabletActive(on); }

void TTabletInput::RestoreTabletActive() { SetTabletActive(config_.CheckActiveTablet->isChecked()); }

bool TTabletInput::eventFilter(QObject* watched, QEvent* event) {
  const QEvent::Type type = event->type();
  if (type != QEvent::TabletPress && type != QEvent::TabletMove && type != QEvent::TabletRelease) {
    return QObject::eventFilter(watched, event);
  }
  auto* tablet = static_cast<QTabletEvent*>(event);
  tablet->accept();
  if (doc_.scene().elements.empty()) return true;
  const QPointF at = doc_.viewport().ToFramebuffer(tablet->position());
  const int x = ToPixel(at.x()), y = ToPixel(at.y());
  const bool pressure = tablet->pressure() > 0;
  if (type == QEvent::TabletPress) {
    pressPending_ = tablet->button() == Qt::LeftButton && !pressure;
    if (!pressPending_) input_.PanelCentroMouseDown(tablet->button(), x, y);
  } else if (type == QEvent::TabletMove) {
    if (pressPending_ && !pressure) return true;
    if (pressPending_) {
      pressPending_ = false;
      input_.PanelCentroMouseDown(Qt::LeftButton, x, y);
    }
    input_.PanelCentroMouseMove(tablet->modifiers(), x, y);
  } else if (pressPending_) {
    pressPending_ = false;  // lifted without ever pressing: no stroke
  } else {
    input_.PanelCentroMouseUp(x, y);
  }
  return true;
}
