// The CPU side of moving paint between vertex colours and a texture image.
#pragma once

#include <span>

#include "model/geosphera.h"
#include "processing/uv_unfold.h"

// Texture image: `size` x `size` RGB texels, rows bottom-up, as read back from
// the texture panel.
struct TTextureView {
  std::span<const uint8_t> rgb;
  int size = 0;
};

// "Texture to Vertex" for one element: every triangle corner takes the texel
// under its texture coordinate (u, v) (column round(size u), row round(size v)
// from the bottom, less one) as the colour of its vertex, with alpha 255.
// Samples are kept inside the image, so u = 1 or v = 0 read the border
// texels. Texture coordinates are found through `uvFaces`, or through `faces`
// when `uvFaces` is empty; corners naming no coordinate or no vertex are
// skipped.
void SampleTextureIntoColors(const TTextureView& texture, std::span<const uint32_t> faces,
                             std::span<const uint32_t> uvFaces, std::span<const TGLUV> uvs, std::span<TRGBA> colors);

// One vertex per (vertex, texture coordinate) pair of the corners: the first
// pair met of a vertex keeps the vertex, every other pair gets a copy. The
// result's `uvs` is per vertex, so the triangles index positions and texture
// coordinates alike. Corners naming no texture coordinate keep (0, 0).
TUvUnfolded SplitVerticesByTextureCorner(std::span<const uint32_t> faces, std::span<const uint32_t> uvFaces,
                                         std::span<const TGLUV> uvs, size_t vertexCount);
