// The Stamp brush's image wrapped around the element: the stamp coordinates
// of every vertex (a fixed spherical projection about an origin, tiled n
// times around and from pole to pole), and the height grid sampled from the
// stamp picture. ApplyStamp (brush_operators.h) reads both through a
// TStampSampler; the stroke asks a StampSource for one at every application.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "io/image_pixels.h"
#include "sculpt/brush_operators.h"

// Stamp coordinates (u, v), both in [0, 1), of point p for the projection about
// `origin` repeated `repeat` times. The origin's components enter crossed:
// a = x - O.z, b = -y - O.y, c = z + O.x; longitude atan2(c, a), latitude
// atan(b / sqrt(c^2 + a^2)) (+-pi/2 or 0 straight above or below the origin,
// where the quotient has no value); E = 1 - lon / 2pi, D = |0.5 - lat / pi|,
// each scaled by n after taking its fraction when n != 1.
TGLUV StampCoordinate(const TGLCoord& p, const TGLCoord& origin, int repeat);

// The stamp coordinates of the element's first `vertexCount` vertices.
void ComputeStampCoords(const TGeosphera& e, const TGLCoord& origin, int repeat, Tuv& coords);

// The (W + 1) x (H + 1) heights of a picture resampled to W x H, [column][row]
// at column * (H + 1) + row: the pixel at (trunc(w i / W), trunc(h j / H)),
// rows counted from the top, as R + 256 G + 65536 B divided by 10000 (white
// 1677, black 0); the last column and row (one past the picture) repeat its
// edge pixels. Empty for W or H below 1 or an empty picture.
std::vector<int32_t> SampleStampGrid(const TImagePixels& picture, int32_t width, int32_t height);

// The projection of the stamp coordinates: its origin and repeat count.
struct TStampProjection {
  TGLCoord origin;
  int repeat = 10;
};

// Coordinates for every vertex of `e`: recomputed with `projection` when they
// are fewer than the vertices (the element was subdivided or detailed since).
void CoverElement(TStampSampler& sampler, const TGeosphera& e, const TStampProjection& projection);

// Where the stroke gets the stamp for one application of the Stamp brush.
class StampSource {
 public:
  virtual ~StampSource() = default;
  // The sampler for `e` as it stands now (the picture read again), or nullptr
  // when there is none: the brush then moves nothing.
  virtual const TStampSampler* SamplerForApplication(const TGeosphera& e) = 0;
};

// The reader a stamp file's name calls for, by its extension compared exactly:
// ".tif"/".tiff" the generic picture reader, ".bmp"/".BMP" bitmap,
// ".jpg"/".jpeg" JPEG, ".png"/".PNG", ".gif"/".GIF"; any other (".JPG"
// included) none, and the file is not read.
enum class StampReader { None, Generic, Bitmap, Jpeg, Png, Gif };
StampReader StampReaderOfName(const std::string& fileName);
