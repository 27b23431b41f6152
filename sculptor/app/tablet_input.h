// The sculptor's pen: the tablet component Tablet1 on the viewport, its three
// handlers (the pen's pressure sets the brush intensity), "Active Tablet"'s
// activation, and the pen's presses, moves and releases routed to the
// viewport's mouse handlers.
//
// A tablet event is taken here and accepted, so the platform does not also
// turn it into a mouse event; a mouse event that comes from the pen anyway is
// left alone by the viewport. A tip press whose pressure is still 0 waits for
// the first sample with pressure, so the stroke's first dab has the pen's
// strength rather than that of the last packet.
#pragma once

#include <QObject>
#include <QPoint>
#include <cstdint>
#include <optional>

#include "app/tablet.h"

class TDocument;
class TPanelConfig;
class TPanelMenu;
class TViewportInput;

class TTabletInput : public QObject {
  Q_OBJECT

 public:
  TTabletInput(TDocument& doc, TViewportInput& input, TPanelConfig& config, TPanelMenu& tools);

  TTablet* Tablet1 = nullptr;

  // Handlers of Tablet1.
  void TabletPacket(QObject* sender, uint32_t serial, const uint8_t* packet, uintptr_t context);
  void TabletProximity(QObject*, uintptr_t, bool) {}
  void TabletCursorChanged(QObject*, uint32_t, const uint8_t*, uintptr_t) {}  // the cursor's kind is not used

  // "Active Tablet" was checked: a context when Qt reports a pen.
  void Activate();
  // TabletActive off (the projection stencil) or back to "Active Tablet".
  void SetTabletActive(bool on);
  void RestoreTabletActive();

  // The pressure divisor now: the stroke's own while the pen's second brush
  // runs, else "Pen Sensibility"; 0 counts as 1.
  int penSensibility() const;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  TDocument& doc_;
  TViewportInput& input_;
  TPanelConfig& config_;
  TPanelMenu& tools_;
  std::optional<int> strokeSensibility_;  // 25 during a stroke of the pen's second brush
  bool pressPending_ = false;             // a tip press waiting for pressure
};
