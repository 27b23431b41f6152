// Shaded pictures of a mesh in the look of the start-mesh previews: a grey
// model under one light on a dark ground, drawn by a small z-buffer
// rasteriser with per-pixel normals and supersampling.
#pragma once

#include "assets/raster.h"
#include "model/geosphera.h"

// Where the picture is taken from, in degrees. At 0, 0 it looks along +x as
// the sculptor's start camera does (model z to the right, y up); yaw turns
// the view about y towards the model's +z side, pitch raises it.
struct PreviewView {
  double yaw = 0;
  double pitch = 0;
};

// A size x size picture with the model filling about 85 % of it.
Raster RenderPreview(const TGeosphera& mesh, PreviewView view, int size);
