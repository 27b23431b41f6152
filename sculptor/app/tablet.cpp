#include "app/tablet.h"

#include <QCoreApplication>
#include <QInputDevice>
#include <QPointingDevice>
#include <QTabletEvent>
#include <algorithm>
#include <cmath>
#include <cstring>

namespace {

bool IsStylus(const QInputDevice* device) {
  return device != nullptr && device->type() == QInputDevice::DeviceType::Stylus;
}

uint32_t CursorNumber(const QTabletEvent& event) {
  const QPointingDevice* device = event.pointingDevice();
  if (device == nullptr) return 1;
  switch (device->pointerType()) {
    case QPointingDevice::PointerType::Eraser: return 2;
    case QPointingDevice::PointerType::Cursor: return 0;
    default: return 1;
  }
}

uint32_t ButtonState(Qt::MouseButtons buttons) {
  return (buttons.testFlag(Qt::LeftButton) ? 1u : 0u) | (buttons.testFlag(Qt::RightButton) ? 2u : 0u) |
         (buttons.testFlag(Qt::MiddleButton) ? 4u : 0u);
}

}  // namespace

TTabletPacket PacketOfTabletEvent(const QTabletEvent& event) {
  TTabletPacket packet;
  packet.cursor = CursorNumber(event);
  packet.buttons = ButtonState(event.buttons());
  packet.x = static_cast<int32_t>(std::lrint(event.globalPosition().x()));
  packet.y = static_cast<int32_t>(std::lrint(event.globalPosition().y()));
  const double pressure = std::clamp(event.pressure(), 0.0, 1.0);  // NaN-safe below
  packet.normalPressure = pressure > 0 ? static_cast<uint32_t>(std::lrint(pressure * 1023)) : 0;
  return packet;
}

// --- TCustomTablet -----------------------------------------------------------

TCustomTablet::TCustomTablet(QObject* owner, QWidget* source) : QObject(owner), source_(source) {
  SetPacketBufferSize(32);
  if (source != nullptr) source->installEventFilter(this);
  QCoreApplication::instance()->installEventFilter(this);  // proximity reaches the application
}

TCustomTablet::~TCustomTablet() {
  if (QCoreApplication::instance() != nullptr) QCoreApplication::instance()->removeEventFilter(this);
}

bool TCustomTablet::available() const {
  if (stylusSeen_) return true;
  for (const QInputDevice* device : QInputDevice::devices()) {
    if (IsStylus(device)) return true;
  }
  return false;
}

void TCustomTablet::SetPacketBufferSize(uint8_t size) { packetBuffer_.assign(static_cast<size_t>(size) + 1, 0); }

bool TCustomTablet::eventFilter(QObject* watched, QEvent* event) {
  const QEvent::Type type = event->type();
  const bool fromSource = watched == source_ &&
                          (type == QEvent::TabletPress || type == QEvent::TabletMove || type == QEvent::TabletRelease);
  if (fromSource || type == QEvent::TabletEnterProximity || type == QEvent::TabletLeaveProximity) {
    const auto& tablet = *static_cast<QTabletEvent*>(event);
    if (IsStylus(tablet.pointingDevice())) stylusSeen_ = true;
    if (const uintptr_t context = PacketContext()) Dispatch(tablet, context);
  }
  return false;  // the widget's own handling goes on
}

void TCustomTablet::Dispatch(const QTabletEvent& event, uintptr_t context) {
  if (event.type() == QEvent::TabletEnterProximity || event.type() == QEvent::TabletLeaveProximity) {
    if (OnProximity) OnProximity(this, context, event.type() == QEvent::TabletEnterProximity);
    return;
  }
  const TTabletPacket packet = PacketOfTabletEvent(event);
  ++serial_;
  if (lastCursor_ != packet.cursor) {
    lastCursor_ = packet.cursor;
    Deliver(OnCursorChanged, packet, context);
  }
  Deliver(OnPacket, packet, context);
}

void TCustomTablet::Deliver(const PacketEvent& handler, const TTabletPacket& packet, uintptr_t context) {
  if (!handler || packetBuffer_.size() < sizeof packet) return;
  std::memcpy(packetBuffer_.data(), &packet, sizeof packet);
  handler(this, serial_, packetBuffer_.data(), context);
}

// --- TTablet -----------------------------------------------------------------

void TTablet::Open(bool enabled) {
  context_ = ++lastContext_;
  enabled_ = enabled;
}
