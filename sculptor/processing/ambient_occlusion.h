// Ambient occlusion baked into vertex colours. Every vertex becomes a small
// oriented disc (TDisco: its position, its normal and a third of the area of
// each of its triangles); the shadow the other discs of the same element cast
// on it (ambient_occlusion_gather.h) gives its visibility t, and its colour
// bytes R, G, B become round(c / 255 x t x 0.9 x 255); alpha and everything
// else of the element stay as they were. Running it again darkens again.
//
// The bake knows no window: its steps report their status text and progress
// through a callback, which also cancels. A window caller shows both and lets
// its events run from the callback.
#pragma once

#include <cstdint>
#include <functional>

#include "model/geosphera.h"
#include "processing/ambient_occlusion_gather.h"

// The strength of the shadows (aoStrength): 0 only multiplies the colours by 0.9.
inline constexpr int kAoStrengthMin = 0;
inline constexpr int kAoStrengthMax = 50;
inline constexpr int kAoStrengthDefault = 4;

// Gathering passes per element.
inline constexpr int aoPasses = 1;

// Status texts of the run, in their order: the start of the whole run, then
// the four steps of each element.
inline constexpr const char* kAoStatusStart = "Creating octree structure...";
inline constexpr const char* kAoStatusDiscs = "Creating structure to Ambient Occlusion...";
inline constexpr const char* kAoStatusAreas = "Calculating area of each element...";
inline constexpr const char* kAoStatusOcclusion = "Calculating occlusion of each vertex...";
inline constexpr const char* kAoStatusFinish = "Finishing the process...";

struct AoProgress {
  const char* status;  // the running step's text (one of the kAoStatus texts)
  int64_t done;  // units of work finished in the whole run, 0 .. total
  int64_t total;  // AmbientOcclusionWork of what the run covers
};

// Called when a step starts and then after every 24 vertices, triangles or
// emitters of it; returning false cancels the run at that point. Calls come
// often (a few hundred thousand for a million vertices): a window caller should
// repaint and let its events run only when some milliseconds have passed.
using AoCallback = std::function<bool(const AoProgress&)>;

// Units of work of a bake: triangles + 3 x vertices (one unit per disc, per
// triangle area, per gathered vertex and per finished colour).
int64_t AmbientOcclusionWork(const TGeosphera& element);
int64_t AmbientOcclusionWork(const ATGeosphera& elements);

// A gathering pass (ambient_occlusion_gather.h): GatherOcclusion, or the
// quadratic reference for tests and benchmarks.
using AoGatherPass = bool (*)(TElements& discs, float strength, const AoTick& tick);

// Bakes occlusion into the element's `colors` from its `vertices`, `normals`
// (as they are; a zero normal neither casts nor receives shadow) and `faces`.
// `aoStrength` is clamped to kAoStrengthMin..kAoStrengthMax. The discs live in
// `aoDiscs` while it runs and are released at the end, also when cancelled.
// Returns false when cancelled: colours are then untouched, except the vertices
// already finished by the last step (a prefix in index order), which stay
// darkened.
bool BakeAmbientOcclusion(TGeosphera& element, int aoStrength, const AoCallback& progress = {},
                          AoGatherPass gather = GatherOcclusion);

// Bakes every element in index order (the "Ambient Occlusion" command), with
// the progress over all of them; reports kAoStatusStart first. A cancel stops
// the run: later elements keep their colours. Returns false when cancelled.
bool BakeSceneAmbientOcclusion(ATGeosphera& elements, int aoStrength, const AoCallback& progress = {});
