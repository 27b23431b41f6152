// One gathering pass of disc-based ambient occlusion over the discs of one
// element: every disc receives the shadow of every other disc it can see, as a
// point-to-disc form factor (M. Bunnell, "Dynamic Ambient Occlusion and
// Indirect Lighting", GPU Gems 2, chapter 14, 2005), without ray casting.
//
// For receiver j and emitter e (e != j, normal(e) not exactly zero), with
// v = position(j) - position(e) and d2 = v.v, all in 32-bit floats:
//   e is in reach when area(e) x 100 >= d2 (closer than ten times the square
//   root of its area) and d2 > 0 (a zero distance has no direction, so
//   coincident discs never shadow each other, even when the emitter's area is
//   zero and the form factor would be 0 / 0);
//   u = v / |v|, cosE = u.normal(e), cosR = u.normal(j);
//   if cosE >= 0: sum(j) += cosE x -cosR x area(e) x accessibility(e) x strength
//                           / (area(e) + pi d2),
// the terms added in increasing emitter index. Then occlusion(j) becomes the
// visibility exp(-sum(j)) clamped to [0, 1] (1 when the sum is not a number),
// and at the end of the pass every accessibility takes its disc's visibility.
#pragma once

#include <cstdint>
#include <functional>

#include "model/geosphera.h"

// Progress of a pass: called every kAoTickEvery emitters with the number of
// emitters finished; returning false stops the pass.
using AoTick = std::function<bool(int64_t emittersDone)>;
inline constexpr int64_t kAoTickEvery = 24;

// The pass as defined above, visiting only the emitters in reach of each
// receiver: emitters run in index order and scatter into the receivers that a
// uniform grid over the disc positions puts within their reach, so every
// receiver's terms are still added in emitter index order and the result is,
// bit for bit, that of GatherOcclusionQuadratic. Returns false when `tick`
// stopped it; the discs' `occlusion` is then unspecified.
bool GatherOcclusion(TElements& discs, float strength, const AoTick& tick = {});

// The same pass by the definition: every receiver visits every emitter
// (quadratic in the disc count), ticking every kAoTickEvery receivers. The
// reference the grid pass is measured and tested against.
bool GatherOcclusionQuadratic(TElements& discs, float strength, const AoTick& tick = {});
