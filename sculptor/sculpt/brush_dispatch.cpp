#include "sculpt/brush_dispatch.h"

void ApplyBrush(TGeosphera& e, const TBrushFrame& frame, const TBrushTool& tool) {
  if (frame.direct.entries.empty()) return;
  switch (tool.target) {
    case TBrushTarget::Shape:
      if (const TBrushInfo* brush = FindBrushByMode(tool.sculptMode)) brush->apply(e, frame, tool.stamp);
      break;
    case TBrushTarget::Freeze:
    case TBrushTarget::Selection: ApplyMaskPainting(e, frame); break;
    case TBrushTarget::Paint: ApplyVertexPainting(e, frame, tool.paint); break;
  }
}
