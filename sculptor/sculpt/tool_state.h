// The state of the sculpting tools that the stroke, the element tools, the
// commands and the viewport's overlays all read: the brush as its controls set
// it, and the modes that change what a left drag does. Each value is kept
// here once; the viewport holds them (TViewportInputs) and the window writes them.
#pragma once

// The brush as its controls set it.
struct TBrushSettings {
  float radius = 0.4f;       // model units: ScrollRadius / 100
  bool symmetry = true;      // CheckSym: every stroke mirrored across z = 0
  float strength = 0;        // the selected brush's intensity / its divisor
  int grabSensitivity = 45;  // pixels the grabbed vertex may lag behind the cursor
};

// Modes of the commands that change what a left drag or the wheel does. At
// most one of freeze, selection and paint is on, and at most one of position,
// rotate and dimension.
struct TToolModes {
  bool freeze = false;        // strokes paint the mask value 2; the point view shows the mask
  bool selection = false;     // strokes paint the mask value 2 as a selection
  bool paint = false;         // strokes paint the vertex colours (the paint panel)
  bool colorCapture = false;  // the next left press reads the colour under the cursor
  bool position = false;      // the current element follows the pointer until placed
  bool rotate = false;        // drags on the rotation handle turn the element
  bool dimension = false;     // vertical drags and the wheel scale the element
  bool sketch = false;        // left drags drop sketch spheres ("Skech Control" open)
};
