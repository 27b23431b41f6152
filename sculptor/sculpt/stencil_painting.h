// Projection-stencil painting: the vertices under the brush take the colour
// of the stencil picture where they show on screen. The renderer draws the
// picture, as placed over the viewport, into an offscreen buffer of the
// viewport's size; the operator reads one pixel of it per vertex.
#pragma once

#include <optional>

#include "sculpt/brush_frame.h"
#include "sculpt/stroke_projection.h"

// The offscreen stencil buffer.
class StencilPicture {
 public:
  virtual ~StencilPicture() = default;
  // Rows of the buffer (the viewport's height in framebuffer pixels).
  virtual int StencilHeight() const = 0;
  // The RGBA pixel at `column`, `row` counted from the bottom; nullopt
  // outside the buffer or while there is none.
  virtual std::optional<TRGBA> StencilPixel(int column, int row) = 0;
};

// For every entry of the direct footprint (and, with symmetry, of the mirrored
// one) within the radius and not frozen: the vertex's colour becomes the pixel
// at column round(x), row height - round(y) - 1 of its window position (x, y
// from the top). Entries that project outside the buffer keep their colour;
// the mask is left alone.
void ApplyStencilPainting(TGeosphera& e, const TBrushFrame& frame, const StrokeProjection& view,
                          StencilPicture& picture);
