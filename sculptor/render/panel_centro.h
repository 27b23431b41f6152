// The 3-D viewport: a QOpenGLWidget drawing the scene with the fixed-function
// pipeline (compatibility context), its cameras, lights, overlays, shadow and
// special render modes, and the project / unproject services of picking.
//
// Use from the window:
//  - main() calls SetDefaultSurfaceFormat() before creating the QApplication;
//  - the window sets scene.gpu to buffers(), so the scene's buffer steps run
//    in this widget's context;
//  - the stroke (sculpt/stroke.h) projects, unprojects and bins through the
//    StrokeProjection this widget implements;
//  - fatalStartupError (missing environment images) becomes the message box
//    and the end of the program; fpsTextChanged feeds status panel 4;
//  - mouse positions go through ToFramebuffer() before they meet GL, and
//    every GL-facing size is framebufferWidth() x framebufferHeight();
//  - requestRedraw() after any change of what is seen; RenderScene() when the
//    new frame's depth buffer and matrices are needed at once (picking).
#pragma once

#include <QElapsedTimer>
#include <QOpenGLWidget>
#include <QString>
#include <array>
#include <optional>
#include <string>
#include <vector>

#include "model/scene.h"
#include "render/element_buffers.h"
#include "render/render_state.h"
#include "render/view_math.h"
#include "sculpt/stencil_painting.h"
#include "sculpt/stroke_projection.h"

// Default surface format of every GL widget: OpenGL 2.1 compatibility, double
// buffered, RGBA 8, depth 32 requested (24 accepted), no multisampling.
// Call before the QApplication is created.
void SetDefaultSurfaceFormat();

inline constexpr const char* kEnvironmentImagesMissing =
    "Please reinstaller Plasmora. Failed to load images in directory.";
inline constexpr const char* kFramebufferIncomplete = "Framebuffer is not complete.";

// True when the six environment images under programDir/images can be read,
// so the window can refuse to start before it is first shown.
bool EnvironmentImagesReadable(const QString& programDir);

// Result of reading the point under a window position.
struct TUnprojected {
  TGLCoord point;
  bool ok = false;
};

class PanelCentro : public QOpenGLWidget, public StrokeProjection, public StencilPicture {
  Q_OBJECT

 public:
  PanelCentro(TScene& scene, QWidget* parent);
  ~PanelCentro() override;

  // Folder that holds images/ (default: the executable's folder). Set before
  // the widget is first shown.
  void SetProgramDirectory(const QString& dir);

  TRenderState& state() { return state_; }
  const TRenderState& state() const { return state_; }
  TViewportInputs& inputs() { return inputs_; }
  // The GPU side of the scene this widget draws.
  ElementBuffers& buffers() { return buffers_; }

  // Schedules one frame; frames are drawn only when something asked for one.
  void requestRedraw();
  // Draws one frame now (width and height in framebuffer pixels). With
  // projectionOnly raised it only sets up the mirror camera's matrices, for
  // ProjectPoint, and leaves the picture alone.
  void RenderScene(int width, int height);
  // Draws one frame of the same view into `framebuffer` (of at least `scale`
  // times the viewport's framebuffer size) at `scale` times the pixels: the
  // overlays keep their places and sizes, the frame's texts are left out,
  // and picking keeps the matrices of the last on-screen frame.
  void RenderSceneOffscreen(uint32_t framebuffer, int scale);
  void DrawSceneMeshes(int width, int height);
  void SetupMaterial();
  void SetupLight();

  // Framebuffer pixels of a widget position (device pixel ratio applied).
  QPointF ToFramebuffer(const QPointF& widgetPos) const;
  int framebufferWidth() const;
  int framebufferHeight() const;

  // Model point under window position (x, y from the top, framebuffer pixels),
  // through the depth buffer and the matrices of the last frame.
  TUnprojected UnprojectCursor(int x, int y, int height);
  // Model point of a window position (y from the top) at a given window depth.
  TUnprojected UnprojectAtDepth(double x, double y, double depth) const;
  // Window position (x, y from the top, depth) of a model point under the
  // matrices of the last 3-D set-up.
  TWindowPoint ProjectPoint(const TGLCoord& point) const;
  const TMatrix4& modelviewMatrix() const { return modelview_; }
  const TMatrix4& projectionMatrix() const { return projection_; }

  // The view label of the current camera ("" when none is drawn).
  std::string ViewLabel() const;
  // Camera presets of the view-position box; draws.
  void ApplyPreset(ViewPreset preset);
  // One wheel notch on the zoom; draws.
  void WheelZoom(bool notchUp);
  // Rebuilds the brush circles: the brush circle at the brush radius as the
  // current view shows it (PixelsPerModelUnit), the symmetry mark at 2 pixels.
  void RebuildCursorCircles();
  // Framebuffer pixels per model unit of the orthographic view.
  double PixelsPerModelUnit() const;
  // The matrices and viewport that ProjectPoint and the unprojects use; the
  // screen grids read them after a RenderScene and put them back after the
  // mirror camera's set-up.
  struct CameraSetup {
    TMatrix4 modelview, projection;
    TViewport viewport;
  };
  CameraSetup cameraSetup() const { return {modelview_, projection_, viewport_}; }
  void RestoreCameraSetup(const CameraSetup& setup);

  // StrokeProjection, in framebuffer pixels.
  std::optional<TGLCoord> PointUnderCursor(int x, int y) override;
  std::optional<TGLCoord> PointAtDepthZero(double x, double y) const override;
  TScreenPoint Project(const TGLCoord& point) const override;
  // A frame with the main camera, the mirror camera's set-up after it, and
  // the main camera's matrices put back; false before the GL start-up.
  bool CameraSetups(TProjectionSetup& main, TProjectionSetup& mirror) override;
  // At least the brush's radius on screen plus a pixel, so the footprint is
  // never cut to a square inside the brush in a tall panel or at a high
  // device pixel ratio.
  float BrushWindow(float radius) const override;
  TViewAngles MainCameraAngles() const override { return {state_.mainCamera.pitch, state_.mainCamera.yaw}; }

  // Display switches; each draws.
  void SetWireframe(bool on);
  void SetGrid(bool on);
  void SetPoints(bool on);
  void ToggleReflection();
  // "Shadows": toggles the shadow passes and sets the scene light alike.
  void ToggleShadows();
  // "On" / "Off" of the scene light.
  void SetSceneLight(bool on);
  // The specular button; returns its new caption.
  QString ToggleSpecular();
  QString SpecularCaption() const;
  void SetShininess(float shininess);
  void SetLightPosition(float x, float y, float z);

  // GL names of the loaded resources (0 = not loaded).
  uint32_t brushTexture(int index) const;
  uint32_t environmentCubeMap() const { return cubeMap_; }
  uint32_t overlayFramebuffer() const { return overlayFbo_; }
  uint32_t depthViewTexture() const { return depthViewTexture_; }
  // RGB of the overlay framebuffer at (x, y from the bottom).
  std::array<uint8_t, 3> ReadOverlayPixel(int x, int y);
  // StencilPicture: the overlay framebuffer, as the last frame drew the stencil.
  int StencilHeight() const override { return framebufferHeight(); }
  std::optional<TRGBA> StencilPixel(int column, int row) override;
  // The picture in `fileName` as an overlay texture with linear filters, into
  // `texture` (a new name when 0); false, after the decoder's message, with
  // `texture` unchanged when the file does not decode.
  bool LoadOverlayTexture(const QString& fileName, uint32_t& texture);
  // Deletes an overlay texture and sets the name to 0.
  void DeleteOverlayTexture(uint32_t& texture);

  // Set when the environment images failed to load at GL start-up.
  const std::optional<QString>& startupError() const { return startupError_; }

  int framesDrawn() const { return framesDrawn_; }

  // Deletes the scene's element buffers and the viewport's own GPU objects
  // (the window's destroy step; the scene must still exist).
  void ReleaseGpuObjects();

 signals:
  // "FPS : " + frames drawn in the last second, for status panel 4.
  void fpsTextChanged(const QString& text);
  // GL start-up could not load an installation file: the window shows the
  // message and ends the program.
  void fatalStartupError(const QString& message);

 protected:
  void initializeGL() override;
  void resizeGL(int w, int h) override;
  void paintGL() override;

 private:
  struct OverlayText {
    QString text;
    float x, y;  // overlay pixels, y up
    float r, g, b;
  };

  void IdleFrame();
  // The framebuffer the frame is drawn into: the widget's own, or the
  // offscreen one of RenderSceneOffscreen.
  uint32_t RenderTarget() const;
  TUnprojected UnprojectGl(double x, double glY, double depth) const;
  void RenderFrame(int width, int height);
  void ResetForeignState();
  void SetupCamera3D(const TCamera& camera, int width, int height);
  void DrawBrushCursor(int height);
  void DrawCircleAt(const std::vector<std::array<float, 3>>& circle, double cx, double cy);
  void QueueViewLabel(int width, int height);
  void QueueHelpTexts(int width, int height);
  void DrawPointView();
  void DrawGrid();
  void DrawWireframeOverlay();
  void DrawScreenSaveFrame(int width, int height);
  void DrawDepthView(int width, int height);
  void DrawImageOverlay(const TImageOverlay& overlay, int width, int height);
  void ShadowDepthPass(int width, int height);
  void ShadowLitPass(int width, int height);
  void BeginShadowAmbient();
  void EndShadowAmbient();
  void PlaceCurrentElement();
  void DrawElement(int index, int width, int height, bool blended);
  // The triangles at frozen (selected) vertices darkened over the drawn element.
  void DrawMaskTint(const TGeosphera& e);
  void DrawGizmo();
  void DrawOverlayTexts();
  void LoadTextures();
  void CreateShadowTarget();
  void CreateOverlayFramebuffer(int width, int height);
  void ReleaseGl();
  void QueueText(const QString& text, float x, float y, float r, float g, float b);
  void DrawStencilOverlays(int width, int height);

  TScene& scene_;
  ElementBuffers buffers_{*this};
  TRenderState state_;
  TViewportInputs inputs_;
  QString programDir_;
  std::optional<QString> startupError_;

  std::vector<std::array<float, 3>> cursorCircle_, symmetryCursorCircle_;
  std::vector<OverlayText> overlayTexts_;
  TMatrix4 modelview_{}, projection_{};
  TViewport viewport_{0, 0, 1, 1};

  uint32_t shadowTexture_ = 0, shadowFbo_ = 0;
  uint32_t whiteTexture_ = 0;  // 1 x 1, completes the second combiner stage
  uint32_t cubeMap_ = 0;
  std::array<uint32_t, 8> brushTextures_{};
  uint32_t depthViewTexture_ = 0;
  uint32_t overlayFbo_ = 0, overlayColor_ = 0, overlayDepth_ = 0;
  std::array<uint32_t, 3> gizmoBuffers_{};
  std::vector<uint32_t> elementTextures_;  // per slot, for the texture view
  std::vector<uint32_t> maskTintCorners_;  // DrawMaskTint's triangles, kept between frames
  bool glReady_ = false;
  bool inPaint_ = false;
  bool frameFresh_ = false;
  bool shadowPassActive_ = false;
  uint32_t offscreenTarget_ = 0;  // while RenderSceneOffscreen draws
  int renderScale_ = 1;           // framebuffer pixels per overlay pixel
  std::array<double, 16> lightProjection_{}, lightView_{};

  QElapsedTimer fpsClock_;
  qint64 fpsWindowStart_ = 0;
  int fpsFrames_ = 0;
  int framesDrawn_ = 0;
};
