// Whole-element editing on the scene: the freeze / selection mask, detaching
// the selected region (or a mirrored copy) into a new element, merging all
// elements into the principal one, and the element's paint colour.
#pragma once

#include "model/scene.h"

// Every vertex of `e` free (mask 0).
void ClearMask(TGeosphera& e);
// Every vertex of every element free.
void ClearAllMasks(TScene& scene);
// Every vertex of `e` frozen / selected (mask 2).
void MaskWholeElement(TGeosphera& e);

// Copies the vertices of the current element whose mask is 2, and the
// triangles whose three vertices all are, into a new current element named
// "Detach N" (or "Mirror N", mirrored across z = 0 with reversed corners so it
// still faces outwards). The copy is 0.1% larger so it shows over its source.
// The source element is left unchanged; the masks of all elements are cleared.
// Returns the new element's index.
int DetachSelection(TScene& scene, int counter, bool mirror);

// Appends the vertices and triangles of elements 1.. to element 0 (without
// their placement) and deletes them; element 0 becomes current. Does nothing
// with a single element.
void UnifyElements(TScene& scene);

// Paints every vertex of the current element in `color` (opaque) and makes it
// the display colour.
void PaintElementColor(TScene& scene, uint8_t r, uint8_t g, uint8_t b);
