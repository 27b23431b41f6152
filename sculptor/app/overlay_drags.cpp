#include "app/overlay_drags.h"

#include "app/document.h"
#include "app/form_input.h"
#include "render/panel_centro.h"

namespace {

constexpr float kAngleStep = 0.8f;
constexpr float kScaleStep = 0.1f;

}  // namespace

TOverlayDrags::TOverlayDrags(TDocument& doc, std::function<bool(int)> keysDown)
    : doc_(doc), keysDown_(std::move(keysDown)) {}

TImageOverlay* TOverlayDrags::ActiveOverlay() {
  TViewportInputs& in = doc_.viewport().inputs();
  if (in.stencil.shown) return &in.stencil;
  if (in.referenceImage.shown) return &in.referenceImage;
  return nullptr;
}

bool TOverlayDrags::Held(int command) { return ActiveOverlay() != nullptr && keysDown_ && keysDown_(command); }

bool TOverlayDrags::Move(int lastX, int lastY, int x, int y) {
  if (!Held(kShortcutMoveStencil)) return false;
  TImageOverlay& overlay = *ActiveOverlay();
  overlay.x -= static_cast<float>(lastX - x);
  overlay.y += static_cast<float>(lastY - y);
  doc_.Redraw();
  return true;
}

bool TOverlayDrags::Rotate(int pressY, int y) {
  if (!Held(kShortcutRotateStencil)) return false;
  ActiveOverlay()->angle += y < pressY ? kAngleStep : -kAngleStep;
  doc_.Redraw();
  return true;
}

bool TOverlayDrags::Scale(int lastY, int y) {
  doc_.modes().overlayScaling = Held(kShortcutScaleStencil);
  if (!doc_.modes().overlayScaling) return false;
  TImageOverlay& overlay = *ActiveOverlay();
  const float step = y < lastY ? kScaleStep : -kScaleStep;
  overlay.scaleX += step;
  overlay.scaleY += step;
  doc_.Redraw();
  return true;
}

void TOverlayDrags::EndDrags() { doc_.modes().overlayScaling = false; }
