// Drawing in texture space on the texture panel (its context current, its
// projection one unit per texel): vertex paint rasterised through the texture
// coordinates, and texture images laid over the whole panel.
#pragma once

#include <GL/gl.h>

#include "model/scene.h"

// Draws every element's triangles at their texture coordinates
// (size x u, size x v) in the colours of their corners' vertices: first as
// wide anti-aliased outlines, which bleed each chart's colours a few texels
// past its border (so sampling at a chart's edge never meets the background),
// with squares of the same width at the corners (so neither does sampling at
// a sharp corner), then filled. Texture coordinates are found through `uvFaces`, or through
// `faces` when an element has none; triangles naming a missing vertex or
// coordinate are skipped.
void DrawSceneInTextureSpace(const TScene& scene, int size);

// One quad over (0, 0) - (size, size) showing `texture` whole, blended by
// its alpha.
void DrawTextureOverPanel(GLuint texture, int size);

// The same with an RGB image of `side` x `side` texels (rows bottom-up)
// through a texture of its own for the call.
void DrawImageOverPanel(const uint8_t* rgb, int side, int size);
