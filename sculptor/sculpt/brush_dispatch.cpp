#include "sculpt/brush_dispatch.h"

namespace {

void ApplyShape(TGeosphera& e, const TBrushFrame& frame, int32_t sculptMode, const TStampSampler* stamp) {
  switch (sculptMode) {
    case kSculptAdd:
    case kSculptSubtract: ApplyAdd(e, frame); break;
    case kSculptGrab: ApplyGrab(e, frame); break;
    case kSculptPinch: ApplyPinch(e, frame); break;
    case kSculptCrease: ApplyCrease(e, frame); break;
    case kSculptScar: ApplyScar(e, frame); break;
    case kSculptSmooth: ApplySmooth(e, frame); break;
    case kSculptWax: ApplyWax(e, frame); break;
    case kSculptInflate: ApplyInflate(e, frame); break;
    case kSculptFlatten: ApplyFlatten(e, frame); break;
    case kSculptDeflate: ApplyDeflate(e, frame); break;
    case kSculptGroove: ApplyGroove(e, frame); break;
    case kSculptUnpinch: ApplyUnpinch(e, frame); break;
    case kSculptStamp: ApplyStamp(e, frame, stamp); break;
    default: break;
  }
}

}  // namespace

void ApplyBrush(TGeosphera& e, const TBrushFrame& frame, const TBrushTool& tool) {
  if (frame.direct.entries.empty()) return;
  switch (tool.target) {
    case TBrushTarget::Shape: ApplyShape(e, frame, tool.sculptMode, tool.stamp); break;
    case TBrushTarget::Freeze:
    case TBrushTarget::Selection: ApplyMaskPainting(e, frame); break;
    case TBrushTarget::Paint: ApplyVertexPainting(e, frame, tool.paint); break;
  }
}
