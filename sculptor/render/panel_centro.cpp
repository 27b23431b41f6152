// PanelCentro: widget life cycle, state changes, frame scheduling, the text
// pass and the project / unproject services.
#include "render/panel_centro.h"

#include <GL/gl.h>
#include <GL/glext.h>

#include <QCoreApplication>
#include <QFont>
#include <QPainter>
#include <QSurfaceFormat>
#include <algorithm>
#include <cmath>

#include "model/messages.h"
#include "render/element_buffers.h"

void SetDefaultSurfaceFormat() {
  QSurfaceFormat format;
  format.setRenderableType(QSurfaceFormat::OpenGL);
  // 2.1 compatibility: Mesa answers with its newest compatibility context; a
  // 3.x request would give a core profile without the fixed-function pipeline.
  format.setVersion(2, 1);
  format.setProfile(QSurfaceFormat::CompatibilityProfile);
  format.setSwapBehavior(QSurfaceFormat::DoubleBuffer);
  format.setRedBufferSize(8);
  format.setGreenBufferSize(8);
  format.setBlueBufferSize(8);
  format.setAlphaBufferSize(8);
  format.setDepthBufferSize(32);
  format.setSamples(0);  // depth and colour read-backs fail on multisampled buffers
  QSurfaceFormat::setDefaultFormat(format);
}

PanelCentro::PanelCentro(TScene& scene, QWidget* parent) : QOpenGLWidget(parent), scene_(scene) {
  setObjectName("PanelCentro");
  // The framebuffer keeps its content between paints, so a frame drawn
  // outside a paint event is shown as it is.
  setUpdateBehavior(QOpenGLWidget::PartialUpdate);
  if (QCoreApplication::instance() != nullptr) {
    programDir_ = QCoreApplication::applicationDirPath();
  }
  RebuildCursorCircles();
  fpsClock_.start();
}

PanelCentro::~PanelCentro() {
  // The scene may already be gone: only the viewport's own objects are freed.
  if (glReady_) {
    makeCurrent();
    ReleaseGl();
    doneCurrent();
  }
}

void PanelCentro::SetProgramDirectory(const QString& dir) { programDir_ = dir; }

void PanelCentro::initializeGL() {
  ResetForeignState();
  SetupMaterial();
  SetupLight();
  LoadTextures();
  CreateShadowTarget();
  CreateOverlayFramebuffer(framebufferWidth(), framebufferHeight());
  glClearColor(0.15f, 0.15f, 0.15f, 1.0f);  // opaque: the widget is composited with its alpha
  glClearDepth(1.0);
  glDisable(GL_DITHER);
  glEnable(GL_DEPTH_TEST);
  glEnable(GL_LIGHTING);
  glEnable(GL_LIGHT0);
  glEnable(GL_CULL_FACE);
  glShadeModel(GL_SMOOTH);
  state_.viewHalfWidth =
      ViewHalfWidthFor(state_.viewHalfHeight, framebufferWidth(), framebufferHeight());
  // Elements loaded before the context existed get their buffers now.
  for (int i = 0; i < scene_.elementCount(); ++i) buffers_.UploadElementBuffers(scene_, i);
  glReady_ = true;
  if (startupError_) emit fatalStartupError(*startupError_);
}

void PanelCentro::resizeGL(int, int) {
  frameFresh_ = false;  // the framebuffer was made anew
  const int w = framebufferWidth(), h = framebufferHeight();
  state_.viewHalfWidth = ViewHalfWidthFor(state_.viewHalfHeight, w, h);
  CreateOverlayFramebuffer(w, h);
  RebuildCursorCircles();  // the brush's size on screen follows the panel height
}

void PanelCentro::paintGL() {
  if (frameFresh_) {  // drawn by RenderScene since the last paint
    frameFresh_ = false;
    return;
  }
  inPaint_ = true;
  IdleFrame();
  inPaint_ = false;
}

void PanelCentro::IdleFrame() {
  RenderFrame(framebufferWidth(), framebufferHeight());
  DrawOverlayTexts();
  ++framesDrawn_;
  ++fpsFrames_;
  const qint64 now = fpsClock_.elapsed();
  if (now - fpsWindowStart_ > 999) {
    emit fpsTextChanged(QStringLiteral("FPS : %1").arg(fpsFrames_));
    // After an idle spell the next second starts now rather than in the past.
    fpsWindowStart_ = now - fpsWindowStart_ > 1999 ? now : fpsWindowStart_ + 1000;
    fpsFrames_ = 0;
  }
}

void PanelCentro::requestRedraw() { update(); }

void PanelCentro::RenderScene(int width, int height) {
  if (!glReady_) return;
  if (state_.projectionOnly) {
    makeCurrent();
    SetupCamera3D(state_.mirrorCamera, width, height);
    return;
  }
  if (inPaint_) {
    RenderFrame(width, height);
    return;
  }
  // Outside a paint event: draw into the widget's framebuffer now, so the
  // depth buffer and the matrices are those of the new frame when this
  // returns; the next paint event only shows it.
  makeCurrent();
  IdleFrame();
  frameFresh_ = true;
  update();
}

void PanelCentro::RenderSceneOffscreen(uint32_t framebuffer, int scale) {
  if (!glReady_ || framebuffer == 0 || scale < 1) return;
  makeCurrent();
  const CameraSetup onScreen = cameraSetup();
  offscreenTarget_ = framebuffer;
  renderScale_ = scale;
  RenderFrame(framebufferWidth() * scale, framebufferHeight() * scale);
  overlayTexts_.clear();
  offscreenTarget_ = 0;
  renderScale_ = 1;
  RestoreCameraSetup(onScreen);
  glBindFramebuffer(GL_FRAMEBUFFER, defaultFramebufferObject());
}

uint32_t PanelCentro::RenderTarget() const {
  return offscreenTarget_ != 0 ? offscreenTarget_ : defaultFramebufferObject();
}

int PanelCentro::framebufferWidth() const {
  return static_cast<int>(std::lround(width() * devicePixelRatioF()));
}

int PanelCentro::framebufferHeight() const {
  return static_cast<int>(std::lround(height() * devicePixelRatioF()));
}

QPointF PanelCentro::ToFramebuffer(const QPointF& widgetPos) const {
  return widgetPos * devicePixelRatioF();
}

TUnprojected PanelCentro::UnprojectCursor(int x, int y, int height) {
  if (!glReady_) return {};
  makeCurrent();
  glBindFramebuffer(GL_FRAMEBUFFER, defaultFramebufferObject());
  float depth = 1;
  const int glY = height - y - 1;  // window y counts from the top, GL's from the bottom
  glReadPixels(x, glY, 1, 1, GL_DEPTH_COMPONENT, GL_FLOAT, &depth);
  return UnprojectGl(x, glY, depth);
}

TUnprojected PanelCentro::UnprojectAtDepth(double x, double y, double depth) const {
  return UnprojectGl(x, viewport_[3] - y, depth);
}

TUnprojected PanelCentro::UnprojectGl(double x, double glY, double depth) const {
  const auto p = UnprojectWithMatrices({x, glY, depth}, modelview_, projection_, viewport_);
  if (!p) return {};
  return {TGLCoord{static_cast<float>((*p)[0]), static_cast<float>((*p)[1]),
                   static_cast<float>((*p)[2])},
          true};
}

TWindowPoint PanelCentro::ProjectPoint(const TGLCoord& point) const {
  const auto w = ProjectWithMatrices({point.x, point.y, point.z}, modelview_, projection_,
                                     viewport_);
  if (!w) return {};
  return {w->x, viewport_[3] - w->y, w->depth};
}

std::string PanelCentro::ViewLabel() const {
  if (inputs_.stencil.shown || inputs_.referenceImage.shown) return {};
  return ViewLabelFor(state_.mainCamera);
}

void PanelCentro::ApplyPreset(ViewPreset preset) {
  ApplyViewPreset(preset, state_.mainCamera, state_.mirrorCamera);
  requestRedraw();
}

void PanelCentro::WheelZoom(bool notchUp) {
  state_.zoom = ::WheelZoom(state_.zoom, state_.zoomStep, notchUp);
  RebuildCursorCircles();
  requestRedraw();
}

void PanelCentro::RebuildCursorCircles() {
  const auto pixels = static_cast<float>(devicePixelRatioF());
  cursorCircle_ = BuildCursorCircle(40, static_cast<float>(inputs_.brush.radius * PixelsPerModelUnit()));
  symmetryCursorCircle_ = BuildCursorCircle(40, 2 * pixels);
}

double PanelCentro::PixelsPerModelUnit() const {
  return framebufferHeight() / (2 * state_.viewHalfHeight * state_.zoom);
}

void PanelCentro::RestoreCameraSetup(const CameraSetup& setup) {
  modelview_ = setup.modelview;
  projection_ = setup.projection;
  viewport_ = setup.viewport;
}

std::optional<TGLCoord> PanelCentro::PointUnderCursor(int x, int y) {
  const TUnprojected hit = UnprojectCursor(x, y, framebufferHeight());
  return hit.ok ? std::optional<TGLCoord>(hit.point) : std::nullopt;
}

std::optional<TGLCoord> PanelCentro::PointAtDepthZero(double x, double y) const {
  const TUnprojected hit = UnprojectAtDepth(x, y, 0);
  return hit.ok ? std::optional<TGLCoord>(hit.point) : std::nullopt;
}

TScreenPoint PanelCentro::Project(const TGLCoord& point) const {
  const TWindowPoint p = ProjectPoint(point);
  return {p.x, p.y, p.depth};
}

bool PanelCentro::CameraSetups(TProjectionSetup& main, TProjectionSetup& mirror) {
  if (!isValid() || !glReady_) return false;
  const int w = framebufferWidth(), h = framebufferHeight();
  // A fresh frame gives the main camera's matrices (and the depth the cursor
  // reads); the mirror camera's set-up follows and is put back afterwards.
  RenderScene(w, h);
  const CameraSetup mainSetup = cameraSetup();
  state_.projectionOnly = true;
  RenderScene(w, h);
  state_.projectionOnly = false;
  const CameraSetup mirrorSetup = cameraSetup();
  RestoreCameraSetup(mainSetup);
  main = {mainSetup.modelview, mainSetup.projection, mainSetup.viewport};
  mirror = {mirrorSetup.modelview, mirrorSetup.projection, mirrorSetup.viewport};
  return true;
}

float PanelCentro::BrushWindow(float radius) const {
  const auto onScreen = static_cast<float>(radius * PixelsPerModelUnit() + 1);
  return std::max(radius * 1200.0f / state_.zoom, onScreen);
}

void PanelCentro::SetWireframe(bool on) {
  state_.wireframeOn = on;
  requestRedraw();
}

void PanelCentro::SetGrid(bool on) {
  state_.gridOn = on;
  requestRedraw();
}

void PanelCentro::SetPoints(bool on) {
  state_.pointsOn = on;
  requestRedraw();
}

void PanelCentro::ToggleReflection() {
  state_.reflectionOn = !state_.reflectionOn;
  requestRedraw();
}

void PanelCentro::ToggleShadows() {
  state_.shadowsOn = !state_.shadowsOn;
  state_.sceneLightOn = state_.shadowsOn;
  requestRedraw();
}

void PanelCentro::SetSceneLight(bool on) {
  state_.sceneLightOn = on;
  requestRedraw();
}

QString PanelCentro::ToggleSpecular() {
  state_.specularOn = !state_.specularOn;
  if (glReady_) {
    makeCurrent();
    SetupMaterial();
  }
  requestRedraw();
  return SpecularCaption();
}

QString PanelCentro::SpecularCaption() const {
  return state_.specularOn ? QStringLiteral("Specular On") : QStringLiteral("Specular Off");
}

void PanelCentro::SetShininess(float shininess) {
  state_.shininess = shininess;
  if (glReady_) {
    makeCurrent();
    SetupMaterial();
  }
  requestRedraw();
}

void PanelCentro::SetLightPosition(float x, float y, float z) {
  state_.lightPosition = {x, y, z, 0};
  requestRedraw();
}

uint32_t PanelCentro::brushTexture(int index) const {
  return index >= 0 && index < static_cast<int>(brushTextures_.size()) ? brushTextures_[index] : 0;
}

std::array<uint8_t, 3> PanelCentro::ReadOverlayPixel(int x, int y) {
  std::array<uint8_t, 3> rgb{0, 0, 0};
  if (!glReady_ || overlayFbo_ == 0) return rgb;
  makeCurrent();
  glBindFramebuffer(GL_FRAMEBUFFER, overlayFbo_);
  glPixelStorei(GL_PACK_ALIGNMENT, 1);
  glReadPixels(x, y, 1, 1, GL_RGB, GL_UNSIGNED_BYTE, rgb.data());
  glBindFramebuffer(GL_FRAMEBUFFER, defaultFramebufferObject());
  return rgb;
}

void PanelCentro::QueueText(const QString& text, float x, float y, float r, float g, float b) {
  overlayTexts_.push_back({text, x, y, r, g, b});
}

void PanelCentro::DrawOverlayTexts() {
  if (overlayTexts_.empty()) return;
  // QPainter loses its text when depth testing is left on, and leaves its own
  // glyph texture bound: the next frame rebinds everything it uses.
  glDisable(GL_DEPTH_TEST);
  glDisable(GL_LIGHTING);
  glDisable(GL_TEXTURE_2D);
  glDisable(GL_CULL_FACE);
  glBindBuffer(GL_ARRAY_BUFFER, 0);
  glDisableClientState(GL_VERTEX_ARRAY);
  glDisableClientState(GL_NORMAL_ARRAY);
  glDisableClientState(GL_COLOR_ARRAY);
  glDisableClientState(GL_TEXTURE_COORD_ARRAY);
  const double ratio = devicePixelRatioF();
  const double fbHeight = framebufferHeight();
  QPainter painter(this);
  QFont font(QStringLiteral("Arial"));
  font.setPixelSize(17);
  painter.setFont(font);
  for (const OverlayText& t : overlayTexts_) {
    painter.setPen(QColor::fromRgbF(t.r, t.g, t.b));
    painter.drawText(QPointF(t.x / ratio, (fbHeight - t.y) / ratio), t.text);
  }
  painter.end();
  overlayTexts_.clear();
  glEnable(GL_DEPTH_TEST);
  glEnable(GL_CULL_FACE);
}
