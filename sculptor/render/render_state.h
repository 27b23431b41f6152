// What the viewport draws and how: the renderer's own switches, and the state
// of the tools (stroke, stencil, editing) that decides the overlays. The
// window and the tools write these; RenderScene only reads them.
#pragma once

#include <array>
#include <cstdint>

#include "render/view_math.h"
#include "sculpt/tool_state.h"

// The renderer's display switches and camera state.
struct TRenderState {
  TCamera mainCamera;
  TCamera mirrorCamera{0, 0, 270, 0, 0};
  float zoom = kStartZoom;
  float zoomStep = kDefaultZoomStep;
  double viewHalfHeight = StartViewHalfHeight();
  double viewHalfWidth = StartViewHalfHeight();
  float nearPlane = kNearPlane, farPlane = kFarPlane;
  std::array<float, 9> eyeSetup{0, 0, 15, 0, 0, 0, 0, 1, 0};
  std::array<float, 4> lightPosition{-5, 3, 0, 0};
  std::array<float, 4> cameraLightPosition{0, 3, 7, 0};

  bool sceneLightOn = false;
  bool shadowsOn = false;
  bool reflectionOn = false;
  bool specularOn = true;
  float shininess = 13;
  bool wireframeOn = false;
  bool gridOn = false;
  bool pointsOn = false;
  bool textureViewOn = false;
  bool depthRenderOn = false;
  bool maskRenderOn = false;
  // Raised only by the screen-grid builder around its mirror-camera set-up.
  bool projectionOnly = false;
  // While set, every frame re-uploads positions, normals and colours.
  bool uploadGeometry = false;
  int textureSize = 4096;  // edge of the element texture images
};

// A picture drawn over the viewport (projection stencil, reference image).
struct TImageOverlay {
  bool shown = false;
  uint32_t texture = 0;  // GL texture name
  float alpha = 1;
  float x = 0, y = 0;            // lower-left corner, overlay pixels (y up)
  float width = 0, height = 0;   // size in pixels
  float angle = 0;               // degrees, about the centre
  float scaleX = 1, scaleY = 1;
};

// Tool state that the overlays and the mesh pass depend on.
struct TViewportInputs {
  // The brush and the editing modes, kept here once for the stroke, the
  // commands and the overlays.
  TBrushSettings brush;
  TToolModes modes;
  // Hovered vertex of the current element (-1 = none) and its mirror partner.
  int32_t hoveredVertex = -1;
  int32_t mirrorVertex = -1;
  // Window positions (x, y from the top, depth) of the cursor point and its mirror.
  TWindowPoint cursorScreen, mirrorCursorScreen;
  // Last mouse position in framebuffer pixels (x, y from the top).
  int mouseX = 0, mouseY = 0;
  bool viewDragActive = false;   // a rotate or pan drag of the view
  bool strokeActive = false;     // a left-button stroke is in progress
  bool mirrorDragActive = false;
  bool texturePaintMode = false;
  bool detailMode = false;
  bool addPlacementActive = false;  // an added element follows the pointer
  int toolMode = 0;                 // 3 = the mode without mirror circle
  bool cursorRebuildRequest = false;
  bool screenSaveFrameShown = false;
  bool texturePanelVisible = false;
  // Held overlay manipulation key: the stencil shows during a stroke only then.
  bool overlayKeyHeld = false;
  TImageOverlay stencil;
  TImageOverlay referenceImage;
};
