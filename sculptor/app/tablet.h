// The pen tablet component. TCustomTablet turns the pen's reports into
// packets of a fixed layout and raises its events with them; TTablet adds the
// open context. The packets come from Qt's tablet events on the widget the
// context is opened on: x and y its global position, the normal pressure
// round(pressure x 1023), the button state and the cursor number from the
// event. The events run on the window thread, between the mouse events.
//
// Use: construct on the widget whose tablet events are the packets (after any
// other filter of them, so the packets come first), set the events, Open.
#pragma once

#include <QObject>
#include <QPointer>
#include <QWidget>
#include <cstdint>
#include <functional>
#include <vector>

class QTabletEvent;

// The packet layout the sculptor asks for (cursor, buttons, x, y, normal
// pressure), 20 bytes, little-endian.
struct TTabletPacket {
  uint32_t cursor = 0;          // 0 puck, 1 pen tip, 2 eraser
  uint32_t buttons = 0;         // bit 0 tip, bit 1 lower side button, bit 2 upper side button
  int32_t x = 0, y = 0;         // global position, pixels
  uint32_t normalPressure = 0;  // 0 .. 1023
};
static_assert(sizeof(TTabletPacket) == 20, "the packet layout is 20 bytes");

// The packet of one tablet event.
TTabletPacket PacketOfTabletEvent(const QTabletEvent& event);

class TCustomTablet : public QObject {
  Q_OBJECT

 public:
  using PacketEvent = std::function<void(QObject* sender, uint32_t serial, const uint8_t* packet, uintptr_t context)>;
  using ProximityEvent = std::function<void(QObject* sender, uintptr_t context, bool entering)>;

  // Follows the tablet events of `source` (and the proximity events of the
  // application) from now on.
  TCustomTablet(QObject* owner, QWidget* source);
  ~TCustomTablet() override;

  // Qt reports a stylus: a stylus among its input devices, or a tablet event
  // from one seen since.
  bool available() const;

  // The packet buffer holds `size` + 1 bytes; a packet is copied into it before
  // OnPacket or OnCursorChanged reads it.
  void SetPacketBufferSize(uint8_t size);

  PacketEvent OnPacket;
  ProximityEvent OnProximity;
  PacketEvent OnCursorChanged;

 protected:
  // The context whose packets are raised now; 0: none.
  virtual uintptr_t PacketContext() const = 0;

  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  // Raises the events of one tablet event: proximity on entering and leaving,
  // the cursor change when the cursor number changed, then the packet.
  void Dispatch(const QTabletEvent& event, uintptr_t context);
  void Deliver(const PacketEvent& handler, const TTabletPacket& packet, uintptr_t context);

  QPointer<QWidget> source_;
  std::vector<uint8_t> packetBuffer_;
  uint32_t serial_ = 0;
  int64_t lastCursor_ = -1;
  bool stylusSeen_ = false;
};

class TTablet : public TCustomTablet {
 public:
  using TCustomTablet::TCustomTablet;

  // Opens a context: the tablet events become packets. An open context is
  // closed first (one context at a time).
  void Open(bool enabled);
  void Close() { context_ = 0; }
  // Packets are raised only while enabled.
  void Enable(bool on) { enabled_ = on; }

  uintptr_t context() const { return context_; }
  bool enabled() const { return enabled_; }

 protected:
  uintptr_t PacketContext() const override { return enabled_ ? context_ : 0; }

 private:
  uintptr_t context_ = 0;  // 0: none open
  uintptr_t lastContext_ = 0;
  bool enabled_ = false;
};
