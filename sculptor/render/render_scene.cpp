// One frame of the viewport: overlay set-up and brush cursor, the lit 3-D
// pass of every visible element, the point, grid and wireframe overlays, the
// picture overlays and the two shadow passes.
#include <GL/gl.h>
#include <GL/glext.h>
#include <GL/glu.h>

#include <algorithm>
#include <cmath>

#include "model/topology.h"
#include "render/element_buffers.h"
#include "render/panel_centro.h"

namespace {

constexpr int kShadowMapSize = 2048;
constexpr GLfloat kShadowSlopeBias = 4.0f, kShadowConstantBias = 8.0f;
constexpr std::array<GLenum, 4> kTexGenCoords{GL_S, GL_T, GL_R, GL_Q};
constexpr std::array<GLenum, 4> kTexGenEnables{GL_TEXTURE_GEN_S, GL_TEXTURE_GEN_T,
                                               GL_TEXTURE_GEN_R, GL_TEXTURE_GEN_Q};

// Overlay coordinates are the viewport's pixels; a frame drawn at `scale`
// times the pixels shows them at the same places and sizes.
void SetupOverlayMatrices(int width, int height, int scale) {
  glViewport(0, 0, width, height);
  glMatrixMode(GL_PROJECTION);
  glLoadIdentity();
  glOrtho(0, static_cast<double>(width) / scale, 0, static_cast<double>(height) / scale, -100, 1000);
  glMatrixMode(GL_MODELVIEW);
  glLoadIdentity();
  gluLookAt(0, 0, 1, 0, 0, 0, 0, 1, 0);
}

// Translation, X rotation and Y rotation of an element (rotation is stored X, Z, Y).
void ApplyPlacement(const TGeosphera& e, bool withZ) {
  glTranslatef(e.position.x, e.position.y, e.position.z);
  glRotatef(e.rotation.x, 1, 0, 0);
  glRotatef(-e.rotation.z, 0, 1, 0);
  if (withZ) glRotatef(e.rotation.y, 0, 0, 1);
}

bool DrawableElement(const TGeosphera& e, const TElementGpuSlot& slot) {
  return e.indexCount > 0 && static_cast<size_t>(e.indexCount) <= e.faces.size() &&
         slot.buffers[0] != 0 && slot.vertexBytes >= int64_t{12} * e.vertexCount &&
         e.normals.size() >= static_cast<size_t>(e.vertexCount);
}

void DrawTexturedQuad(float width, float height) {
  glBegin(GL_QUADS);
  glTexCoord2f(0, 0);
  glVertex2f(0, 0);
  glTexCoord2f(1, 0);
  glVertex2f(width, 0);
  glTexCoord2f(1, 1);
  glVertex2f(width, height);
  glTexCoord2f(0, 1);
  glVertex2f(0, height);
  glEnd();
}

}  // namespace

void PanelCentro::ResetForeignState() {
  // The text painter of the last frame runs its own programs and arrays.
  glUseProgram(0);
  for (GLuint attribute = 0; attribute < 3; ++attribute) glDisableVertexAttribArray(attribute);
  glBindBuffer(GL_ARRAY_BUFFER, 0);
  glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, 0);
  glActiveTexture(GL_TEXTURE0);
  glBindTexture(GL_TEXTURE_2D, 0);
  glDisable(GL_SCISSOR_TEST);
  glDisable(GL_STENCIL_TEST);
  glDisable(GL_BLEND);
  glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
  glDepthMask(GL_TRUE);
  glDepthFunc(GL_LESS);
  glEnable(GL_DEPTH_TEST);
  glEnable(GL_CULL_FACE);
  glLineWidth(static_cast<float>(renderScale_));
  glBindFramebuffer(GL_FRAMEBUFFER, RenderTarget());
}

void PanelCentro::SetupMaterial() {
  glEnable(GL_COLOR_MATERIAL);
  glColorMaterial(GL_FRONT, GL_AMBIENT_AND_DIFFUSE);
  const GLfloat ambientDiffuse[4] = {0.1f, 0.5f, 0.8f, 1};
  glMaterialfv(GL_FRONT, GL_AMBIENT_AND_DIFFUSE, ambientDiffuse);
  const GLfloat specular[4] = {0.45f, 0.45f, 0.45f, 1};
  const GLfloat noSpecular[4] = {0, 0, 0, 1};
  glMaterialfv(GL_FRONT, GL_SPECULAR, state_.specularOn ? specular : noSpecular);
  glMaterialf(GL_FRONT, GL_SHININESS, state_.specularOn ? state_.shininess : 0);
}

void PanelCentro::SetupLight() {
  const GLfloat black[4] = {0, 0, 0, 1};
  const GLfloat white[4] = {1, 1, 1, 1};
  const GLfloat specular[4] = {1, 1, 1, 0.2f};
  glLightModelfv(GL_LIGHT_MODEL_AMBIENT, black);
  glLightModeli(GL_LIGHT_MODEL_LOCAL_VIEWER, GL_FALSE);
  glEnable(GL_LIGHTING);
  glEnable(GL_LIGHT0);
  glLightfv(GL_LIGHT0, GL_POSITION,
            state_.sceneLightOn ? state_.lightPosition.data() : state_.cameraLightPosition.data());
  glLightfv(GL_LIGHT0, GL_AMBIENT, black);
  glLightfv(GL_LIGHT0, GL_DIFFUSE, white);
  glLightfv(GL_LIGHT0, GL_SPECULAR, specular);
}

void PanelCentro::SetupCamera3D(const TCamera& camera, int width, int height) {
  glViewport(0, 0, width, height);
  glMatrixMode(GL_PROJECTION);
  glLoadIdentity();
  const double halfW = state_.viewHalfWidth * state_.zoom;
  const double halfH = state_.viewHalfHeight * state_.zoom;
  glOrtho(camera.panX - halfW, camera.panX + halfW, camera.panY - halfH, camera.panY + halfH,
          state_.nearPlane, state_.farPlane);
  glMatrixMode(GL_MODELVIEW);
  glLoadIdentity();
  // The camera light stays fixed to the viewer, the scene light to the model.
  if (!state_.sceneLightOn) SetupLight();
  const auto& eye = state_.eyeSetup;
  gluLookAt(eye[0], eye[1], eye[2], eye[3], eye[4], eye[5], eye[6], eye[7], eye[8]);
  glRotatef(static_cast<float>(camera.pitch), 1, 0, 0);
  glRotatef(static_cast<float>(-camera.yaw), 0, 1, 0);
  if (state_.sceneLightOn) SetupLight();
  glGetDoublev(GL_MODELVIEW_MATRIX, modelview_.data());
  glGetDoublev(GL_PROJECTION_MATRIX, projection_.data());
  viewport_ = {0, 0, width, height};
}

void PanelCentro::RenderFrame(int width, int height) {
  ResetForeignState();
  if (inputs_.texturePanelVisible) inputs_.texturePaintMode = true;
  glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);

  // The overlays' size: the viewport's, however many pixels the frame has.
  const int overlayWidth = width / renderScale_, overlayHeight = height / renderScale_;
  SetupOverlayMatrices(width, height, renderScale_);
  glDisable(GL_LIGHTING);
  glDisable(GL_TEXTURE_2D);
  DrawBrushCursor(overlayHeight);
  glEnable(GL_LIGHTING);
  QueueViewLabel(overlayWidth, overlayHeight);
  QueueHelpTexts(overlayWidth, overlayHeight);

  const bool depthMode = state_.depthRenderOn;
  state_.nearPlane = depthMode ? kDepthRenderNear : kNearPlane;
  state_.farPlane = depthMode ? kDepthRenderFar : kFarPlane;
  SetupCamera3D(state_.mainCamera, width, height);

  if (inputs_.detailMode && inputs_.toolMode == 3 && scene_.elementCount() > 0) {
    std::fill(scene_.current().vertexState.begin(), scene_.current().vertexState.end(),
              kVertexFree);
  }
  glMatrixMode(GL_TEXTURE);
  glPushMatrix();
  glLoadIdentity();
  glMatrixMode(GL_MODELVIEW);
  glDisable(GL_TEXTURE_2D);

  if ((state_.pointsOn && !inputs_.texturePaintMode) || inputs_.modes.freeze || inputs_.detailMode) {
    DrawPointView();
  }
  if (state_.wireframeOn) {
    glEnable(GL_POLYGON_OFFSET_FILL);
    glPolygonOffset(0.5f, 0.8f);
  }
  if (state_.textureViewOn) glEnable(GL_TEXTURE_2D);
  DrawSceneMeshes(width, height);
  glDisable(GL_POLYGON_OFFSET_FILL);
  glMatrixMode(GL_TEXTURE);
  glPopMatrix();
  glMatrixMode(GL_MODELVIEW);

  if (state_.gridOn) DrawGrid();
  if (state_.wireframeOn) DrawWireframeOverlay();

  glMatrixMode(GL_PROJECTION);
  glPushMatrix();
  glMatrixMode(GL_MODELVIEW);
  glPushMatrix();
  SetupOverlayMatrices(width, height, renderScale_);
  if (inputs_.screenSaveFrameShown) DrawScreenSaveFrame(overlayWidth, overlayHeight);
  if (depthMode) DrawDepthView(overlayWidth, overlayHeight);
  DrawStencilOverlays(width, height);
  glMatrixMode(GL_PROJECTION);
  glPopMatrix();
  glMatrixMode(GL_MODELVIEW);
  glPopMatrix();

  if (state_.shadowsOn && shadowFbo_ != 0) {
    glBindTexture(GL_TEXTURE_2D, shadowTexture_);
    glPolygonOffset(2, 2);
    ShadowDepthPass(width, height);
    ShadowLitPass(width, height);
  }
}

void PanelCentro::DrawCircleAt(const std::vector<std::array<float, 3>>& circle, double cx,
                               double cy) {
  glBegin(GL_LINE_LOOP);
  for (const auto& p : circle) glVertex3f(static_cast<float>(cx + p[0]), static_cast<float>(cy + p[1]), p[2]);
  glEnd();
}

void PanelCentro::DrawBrushCursor(int height) {
  if (inputs_.viewDragActive || inputs_.stencil.shown || inputs_.modes.rotate) return;
  if (inputs_.cursorRebuildRequest) {
    RebuildCursorCircles();
    return;
  }
  if (scene_.elementCount() == 0 || inputs_.modes.dimension) return;
  const int32_t vertexCount = scene_.current().vertexCount;
  if (inputs_.hoveredVertex < 0 || inputs_.hoveredVertex >= vertexCount) return;
  if (inputs_.texturePaintMode) {
    glColor3ub(0, 0, 255);
  } else if (inputs_.mirrorDragActive) {
    glColor3ub(255, 255, 0);
  } else if (inputs_.modes.colorCapture) {
    glColor3ub(0, 255, 0);
  } else {
    glColor3ub(255, 0, 0);
  }
  DrawCircleAt(cursorCircle_, inputs_.cursorScreen.x, height - inputs_.cursorScreen.y);
  if (inputs_.brush.symmetry && inputs_.mirrorVertex >= 0 && inputs_.toolMode != 3 &&
      !inputs_.strokeActive && !inputs_.viewDragActive) {
    if (inputs_.texturePaintMode) {
      glColor3ub(0, 0, 255);
    } else if (inputs_.mirrorDragActive) {
      glColor3ub(255, 255, 0);
    } else {
      glColor3ub(255, 0, 0);
    }
    DrawCircleAt(symmetryCursorCircle_, inputs_.mirrorCursorScreen.x,
                 height - inputs_.mirrorCursorScreen.y);
  }
}

void PanelCentro::QueueViewLabel(int width, int height) {
  const std::string label = ViewLabel();
  if (label.empty()) return;
  const float ratio = static_cast<float>(devicePixelRatioF());
  QueueText(QString::fromStdString(label), std::nearbyint(width / 2.0f) - 28 * ratio,
            height - 20 * ratio, 0.5f, 0.5f, 0.5f);
}

void PanelCentro::QueueHelpTexts(int width, int height) {
  static const std::array<const char*, 7> kStencilHelp{
      "Move Stencil:",  "'A' + Middle Button", "Rotate Stencil:", "'A' + Right Button",
      "Scale Stencil:", "'A' + Left Button",   "Hide Stencil: 'X'"};
  static const std::array<const char*, 7> kImageHelp{
      "Move Image:",  "'A' + Middle Button", "Rotate Image:", "'A' + Right Button",
      "Scale Image:", "'A' + Left Button",   "Hide Image: 'Z'"};
  static const std::array<int, 7> kRows{20, 40, 60, 80, 100, 120, 160};
  const std::array<const char*, 7>* lines = nullptr;
  if (inputs_.stencil.shown) {
    lines = &kStencilHelp;
  } else if (inputs_.referenceImage.shown) {
    lines = &kImageHelp;
  }
  if (lines == nullptr) return;
  const float ratio = static_cast<float>(devicePixelRatioF());
  for (size_t i = 0; i < kRows.size(); ++i) {
    // Titles (even rows) light grey, key lines grey; the last line is a title.
    const bool title = i % 2 == 0;
    const float grey = title ? 0.8f : 0.5f;
    QueueText(QString::fromUtf8((*lines)[i]), width - (150 + 28) * ratio, height - kRows[i] * ratio,
              grey, grey, grey);
  }
}

void PanelCentro::DrawPointView() {
  if (scene_.elementCount() == 0) return;
  TGeosphera& e = scene_.current();
  const auto count = std::min({static_cast<size_t>(std::max(e.vertexCount, 0)), e.vertices.size(),
                               e.vertexState.size()});
  const bool keepMarks = inputs_.modes.freeze || inputs_.detailMode;
  glPushMatrix();
  ApplyPlacement(e, false);
  glDisable(GL_LIGHTING);
  glHint(GL_POINT_SMOOTH_HINT, GL_FASTEST);
  glPointSize(3.0f * static_cast<float>(renderScale_));
  glBegin(GL_POINTS);
  for (size_t i = 0; i < count; ++i) {
    uint8_t& mark = e.vertexState[i];
    if (mark == kVertexTouched) {
      glColor3f(1, 0, 0);
    } else if (mark == kVertexFrozen) {
      glColor3f(1, 0, 1);
    } else {
      glColor3f(0, 0.5f, 0);
    }
    glVertex3f(e.vertices[i].x, e.vertices[i].y, e.vertices[i].z);
    if (!keepMarks && mark != kVertexFrozen) mark = kVertexFree;
  }
  glEnd();
  glEnable(GL_LIGHTING);
  glPopMatrix();
}

void PanelCentro::DrawGrid() {
  glDisable(GL_LIGHTING);
  glDisable(GL_TEXTURE_2D);
  glColor3ub(75, 75, 75);
  const float upper[4][2] = {{-5.2f, 5.2f}, {5.2f, 5.2f}, {5.2f, 0}, {-5.2f, 0}};
  const float lower[4][2] = {{-5.2f, 0}, {5.2f, 0}, {5.2f, -5.2f}, {-5.2f, -5.2f}};
  for (const auto* rect : {upper, lower}) {
    glBegin(GL_LINE_LOOP);
    for (int k = 0; k < 4; ++k) glVertex3f(rect[k][0], rect[k][1], 0);
    glEnd();
  }
  glEnable(GL_LIGHTING);
}

void PanelCentro::DrawWireframeOverlay() {
  const TElementGpuSlot* found = buffers_.FindSlot(scene_, scene_.currentElement);
  if (found == nullptr) return;
  const TGeosphera& e = scene_.current();
  const TElementGpuSlot& slot = *found;
  if (!DrawableElement(e, slot)) return;
  glDisable(GL_TEXTURE_2D);
  glDisable(GL_BLEND);
  glDisable(GL_LIGHTING);
  glDisableClientState(GL_COLOR_ARRAY);
  glDisableClientState(GL_TEXTURE_COORD_ARRAY);
  glColor3ub(75, 75, 75);
  glPolygonMode(GL_FRONT, GL_LINE);
  glBindBuffer(GL_ARRAY_BUFFER, slot.buffers[0]);
  glBufferSubData(GL_ARRAY_BUFFER, 0, int64_t{12} * e.vertexCount, e.vertices.data());
  glEnableClientState(GL_VERTEX_ARRAY);
  glVertexPointer(3, GL_FLOAT, 12, nullptr);
  glBindBuffer(GL_ARRAY_BUFFER, 0);
  glPushMatrix();
  ApplyPlacement(e, false);
  glDrawElements(GL_TRIANGLES, e.indexCount, GL_UNSIGNED_INT, e.faces.data());
  glPopMatrix();
  glPolygonMode(GL_FRONT, GL_FILL);
  glEnableClientState(GL_COLOR_ARRAY);
}

void PanelCentro::DrawScreenSaveFrame(int width, int height) {
  glDisable(GL_LIGHTING);
  glDisable(GL_TEXTURE_2D);
  glColor3f(1, 0, 0);
  glBegin(GL_LINE_LOOP);
  glVertex2f(200, 40);
  glVertex2f(width - 200.0f, 40);
  glVertex2f(width - 200.0f, height - 40.0f);
  glVertex2f(200, height - 40.0f);
  glEnd();
}

void PanelCentro::DrawDepthView(int width, int height) {
  glDisable(GL_LIGHTING);
  glEnable(GL_TEXTURE_2D);
  glBindTexture(GL_TEXTURE_2D, depthViewTexture_);
  glEnable(GL_COLOR_LOGIC_OP);
  glLogicOp(GL_COPY_INVERTED);
  // The frame's alpha stays 1: the widget is composited with it.
  glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_FALSE);
  glColor4f(1, 1, 1, 1);
  glNormal3f(0, 0, 1);
  glPushMatrix();
  glTranslatef(200, 40, 0);
  DrawTexturedQuad(width - 400.0f, height - 80.0f);
  glPopMatrix();
  glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
  glDisable(GL_COLOR_LOGIC_OP);
  glDisable(GL_TEXTURE_2D);
}

void PanelCentro::DrawImageOverlay(const TImageOverlay& overlay, int width, int height) {
  const auto placeQuad = [&overlay] {
    glPushMatrix();
    glTranslatef(overlay.x, overlay.y, 0);
    glTranslatef(overlay.width / 2, overlay.height / 2, 0);
    glRotatef(overlay.angle, 0, 0, 1);
    glTranslatef(-overlay.width / 2, -overlay.height / 2, 0);
    glScalef(overlay.scaleX, overlay.scaleY, 1);
    DrawTexturedQuad(overlay.width, overlay.height);
    glPopMatrix();
  };
  glDisable(GL_LIGHTING);
  glEnable(GL_TEXTURE_2D);
  glBindTexture(GL_TEXTURE_2D, overlay.texture);
  glEnable(GL_BLEND);
  glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
  glColor4f(1, 1, 1, overlay.alpha);
  // Over the model, leaving its depth alone: picking under the picture must
  // still find the surface.
  glDisable(GL_DEPTH_TEST);
  glDepthMask(GL_FALSE);
  placeQuad();
  glDepthMask(GL_TRUE);
  glEnable(GL_DEPTH_TEST);
  glDisable(GL_BLEND);
  // The stroke code samples the picture from the overlay framebuffer, which
  // has the viewport's size: an offscreen frame leaves it alone.
  if (overlayFbo_ != 0 && offscreenTarget_ == 0) {
    glBindFramebuffer(GL_FRAMEBUFFER, overlayFbo_);
    glViewport(0, 0, width, height);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glEnable(GL_DEPTH_TEST);
    glColor4f(1, 1, 1, 1);
    placeQuad();
    glBindFramebuffer(GL_FRAMEBUFFER, RenderTarget());
  }
  glDisable(GL_TEXTURE_2D);
  glEnable(GL_LIGHTING);
}

void PanelCentro::DrawStencilOverlays(int width, int height) {
  const TImageOverlay& stencil = inputs_.stencil;
  // A picture is drawn once one was loaded.
  if (stencil.shown && stencil.texture != 0 && !inputs_.referenceImage.shown &&
      (!inputs_.strokeActive || inputs_.overlayKeyHeld)) {
    DrawImageOverlay(stencil, width, height);
  }
  const TImageOverlay& reference = inputs_.referenceImage;
  if (reference.shown && reference.texture != 0) DrawImageOverlay(reference, width, height);
}

void PanelCentro::ShadowDepthPass(int width, int height) {
  glBindFramebuffer(GL_FRAMEBUFFER, shadowFbo_);
  glViewport(0, 0, kShadowMapSize, kShadowMapSize);
  glClear(GL_DEPTH_BUFFER_BIT);
  glMatrixMode(GL_PROJECTION);
  glLoadIdentity();
  glOrtho(-10, 50, -10, 50, state_.nearPlane, state_.farPlane);
  glGetDoublev(GL_PROJECTION_MATRIX, lightProjection_.data());
  glMatrixMode(GL_MODELVIEW);
  glLoadIdentity();
  const auto& light = state_.lightPosition;
  gluLookAt(light[0], light[1], light[2], 0, 0, 0, 0, 1, 0);
  glGetDoublev(GL_MODELVIEW_MATRIX, lightView_.data());
  glDisable(GL_LIGHTING);
  glDisable(GL_TEXTURE_2D);
  for (GLenum gen : kTexGenEnables) glDisable(gen);
  glColorMask(GL_FALSE, GL_FALSE, GL_FALSE, GL_FALSE);
  // Depths pushed back by a slope-scaled bias, so a lit surface does not
  // shadow itself in a saw-tooth pattern (shadow acne) when compared with
  // its own map depth.
  glEnable(GL_POLYGON_OFFSET_FILL);
  glPolygonOffset(kShadowSlopeBias, kShadowConstantBias);
  glCullFace(GL_BACK);
  shadowPassActive_ = true;
  DrawSceneMeshes(width, height);
  shadowPassActive_ = false;
  glDisable(GL_POLYGON_OFFSET_FILL);
  glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
  glBindFramebuffer(GL_FRAMEBUFFER, RenderTarget());
}

void PanelCentro::ShadowLitPass(int width, int height) {
  glViewport(0, 0, width, height);
  glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
  glMatrixMode(GL_PROJECTION);
  glLoadMatrixd(projection_.data());
  glMatrixMode(GL_MODELVIEW);
  glLoadMatrixd(modelview_.data());
  glEnable(GL_TEXTURE_2D);
  glBindTexture(GL_TEXTURE_2D, shadowTexture_);
  // Eye planes given under the camera's view yield world coordinates, which
  // the texture matrix carries into the light's depth-map space.
  for (size_t k = 0; k < kTexGenCoords.size(); ++k) {
    GLfloat plane[4] = {0, 0, 0, 0};
    plane[k] = 1;
    glTexGeni(kTexGenCoords[k], GL_TEXTURE_GEN_MODE, GL_EYE_LINEAR);
    glTexGenfv(kTexGenCoords[k], GL_EYE_PLANE, plane);
    glEnable(kTexGenEnables[k]);
  }
  glMatrixMode(GL_TEXTURE);
  glLoadIdentity();
  glTranslatef(0.5f, 0.5f, 0.5f);
  glScalef(0.5f, 0.5f, 0.5f);
  glMultMatrixd(lightProjection_.data());
  glMultMatrixd(lightView_.data());
  glMatrixMode(GL_MODELVIEW);
  glEnable(GL_LIGHTING);
  BeginShadowAmbient();
  shadowPassActive_ = true;
  DrawSceneMeshes(width, height);
  shadowPassActive_ = false;
  EndShadowAmbient();
  for (GLenum gen : kTexGenEnables) glDisable(gen);
  glMatrixMode(GL_TEXTURE);
  glLoadIdentity();
  glMatrixMode(GL_MODELVIEW);
  glDisable(GL_TEXTURE_2D);
  glDisable(GL_LIGHTING);
}

// Texels whose depth comparison fails keep a fifth of their light. Mesa has
// no compare fail value (ARB_shadow_ambient), so two combiner stages build
// it: unit 0 turns the comparison s into s + 0.2 (1 - s), unit 1 multiplies
// that with the lit colour.
void PanelCentro::BeginShadowAmbient() {
  const GLfloat ambient[4] = {0.2f, 0.2f, 0.2f, 1};
  glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_COMBINE);
  glTexEnvi(GL_TEXTURE_ENV, GL_COMBINE_RGB, GL_INTERPOLATE);
  glTexEnvi(GL_TEXTURE_ENV, GL_SRC0_RGB, GL_TEXTURE);
  glTexEnvi(GL_TEXTURE_ENV, GL_OPERAND0_RGB, GL_SRC_ALPHA);  // 1 in luminance mode
  glTexEnvi(GL_TEXTURE_ENV, GL_SRC1_RGB, GL_CONSTANT);
  glTexEnvi(GL_TEXTURE_ENV, GL_OPERAND1_RGB, GL_SRC_COLOR);
  glTexEnvi(GL_TEXTURE_ENV, GL_SRC2_RGB, GL_TEXTURE);
  glTexEnvi(GL_TEXTURE_ENV, GL_OPERAND2_RGB, GL_SRC_COLOR);
  glTexEnvi(GL_TEXTURE_ENV, GL_COMBINE_ALPHA, GL_REPLACE);
  glTexEnvi(GL_TEXTURE_ENV, GL_SRC0_ALPHA, GL_PRIMARY_COLOR);
  glTexEnvi(GL_TEXTURE_ENV, GL_OPERAND0_ALPHA, GL_SRC_ALPHA);
  glTexEnvfv(GL_TEXTURE_ENV, GL_TEXTURE_ENV_COLOR, ambient);
  glActiveTexture(GL_TEXTURE1);
  glEnable(GL_TEXTURE_2D);
  glBindTexture(GL_TEXTURE_2D, whiteTexture_);
  glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_COMBINE);
  glTexEnvi(GL_TEXTURE_ENV, GL_COMBINE_RGB, GL_MODULATE);
  glTexEnvi(GL_TEXTURE_ENV, GL_SRC0_RGB, GL_PREVIOUS);
  glTexEnvi(GL_TEXTURE_ENV, GL_OPERAND0_RGB, GL_SRC_COLOR);
  glTexEnvi(GL_TEXTURE_ENV, GL_SRC1_RGB, GL_PRIMARY_COLOR);
  glTexEnvi(GL_TEXTURE_ENV, GL_OPERAND1_RGB, GL_SRC_COLOR);
  glTexEnvi(GL_TEXTURE_ENV, GL_COMBINE_ALPHA, GL_REPLACE);
  glTexEnvi(GL_TEXTURE_ENV, GL_SRC0_ALPHA, GL_PREVIOUS);
  glTexEnvi(GL_TEXTURE_ENV, GL_OPERAND0_ALPHA, GL_SRC_ALPHA);
  glActiveTexture(GL_TEXTURE0);
}

void PanelCentro::EndShadowAmbient() {
  glActiveTexture(GL_TEXTURE1);
  glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
  glBindTexture(GL_TEXTURE_2D, 0);
  glDisable(GL_TEXTURE_2D);
  glActiveTexture(GL_TEXTURE0);
  glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
}

void PanelCentro::PlaceCurrentElement() {
  if (inputs_.modes.rotate || inputs_.modes.dimension) return;
  TGeosphera& e = scene_.current();
  if (e.placeState != kPlaceFollowPick && e.placeState != kPlaceFollowXY) return;
  const TUnprojected picked = UnprojectCursor(inputs_.mouseX, inputs_.mouseY, viewport_[3]);
  if (!picked.ok) return;
  if (e.placeState == kPlaceFollowPick) {
    // The element stays on the symmetry plane while it follows the pointer.
    e.position = {0, picked.point.y, picked.point.z};
    e.center = picked.point;
  } else {
    e.position.x = picked.point.x;
    e.position.y = picked.point.y;
    e.center = ElementCenter(e);
  }
}

void PanelCentro::DrawSceneMeshes(int width, int height) {
  glPolygonMode(GL_FRONT, GL_FILL);
  const bool hasGeometry = std::any_of(scene_.elements.begin(), scene_.elements.end(),
                                       [](const TGeosphera& e) { return e.indexCount > 0; });
  if (!hasGeometry) return;
  if (!shadowPassActive_ && offscreenTarget_ == 0) PlaceCurrentElement();
  const bool blended = inputs_.addPlacementActive;
  if (blended) {
    glDisableClientState(GL_COLOR_ARRAY);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    if (scene_.current().placeState == kPlaceFollowPick) {
      for (TCamera* camera : {&state_.mainCamera, &state_.mirrorCamera}) {
        camera->pitch = camera->roll = 0;
        camera->yaw = 270;
      }
    }
  } else {
    glEnableClientState(GL_COLOR_ARRAY);
    glDisable(GL_BLEND);
  }
  glEnableClientState(GL_VERTEX_ARRAY);
  glEnableClientState(GL_NORMAL_ARRAY);
  glDisableClientState(GL_TEXTURE_COORD_ARRAY);
  for (int i = scene_.elementCount() - 1; i >= 0; --i) {
    if (scene_.elements[i].visible) DrawElement(i, width, height, blended);
  }
  glBindBuffer(GL_ARRAY_BUFFER, 0);
  if (inputs_.modes.rotate || inputs_.modes.dimension) DrawGizmo();
}

void PanelCentro::DrawElement(int index, int width, int height, bool blended) {
  TElementGpuSlot* found = buffers_.slot(scene_, index);
  if (found == nullptr) return;
  TGeosphera& e = scene_.elements[index];
  TElementGpuSlot& slot = *found;
  if (!DrawableElement(e, slot)) return;
  if (state_.uploadGeometry) buffers_.UpdateGeometry(scene_, index);
  const int current = scene_.currentElement;
  const bool textureView = state_.textureViewOn && scene_.current().textureId > 6;
  // The depth view's rectangle: 200 pixels in from each side and 40 from the
  // top and the bottom of the viewport, in the frame's pixels.
  const int depthX = 200 * renderScale_, depthY = 40 * renderScale_;
  const int depthW = width - 2 * depthX, depthH = height - 2 * depthY;
  const bool depthMode = state_.depthRenderOn && depthW > 0 && depthH > 0;

  glPushMatrix();
  if (textureView) {
    glColor4ub(e.colorR, e.colorG, e.colorB, e.colorA);
    if (elementTextures_.size() <= static_cast<size_t>(current)) elementTextures_.resize(current + 1, 0);
    uint32_t& texture = elementTextures_[current];
    if (texture == 0) {
      glGenTextures(1, &texture);
      glBindTexture(GL_TEXTURE_2D, texture);
      glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
      glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    }
    glBindTexture(GL_TEXTURE_2D, texture);
    const AByte& image = buffers_.slot(scene_, current)->textureImage;
    const size_t side = static_cast<size_t>(state_.textureSize);
    if (image.size() >= side * side * 3) {
      // Every frame, so that painting shows at once.
      glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
      glTexImage2D(GL_TEXTURE_2D, 0, GL_RGB, state_.textureSize, state_.textureSize, 0, GL_RGB,
                   GL_UNSIGNED_BYTE, image.data());
    }
  } else if (blended) {
    glColor4f(0.6f, 0.5f, 0.5f, 0.5f);
  } else {
    glColor4ub(e.colorR, e.colorG, e.colorB, e.colorA);
  }
  if (depthMode) {
    glBindTexture(GL_TEXTURE_2D, depthViewTexture_);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP);
    glTexParameteri(GL_TEXTURE_2D, GL_DEPTH_TEXTURE_MODE, GL_LUMINANCE);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_DEPTH_COMPONENT, depthW, depthH, 0, GL_DEPTH_COMPONENT,
                 GL_FLOAT, nullptr);
    glDisable(GL_LIGHTING);
  }
  if (state_.reflectionOn) {
    for (size_t k = 0; k < 3; ++k) {
      glTexGeni(kTexGenCoords[k], GL_TEXTURE_GEN_MODE, GL_REFLECTION_MAP);
      glEnable(kTexGenEnables[k]);
    }
    glBindTexture(GL_TEXTURE_CUBE_MAP, cubeMap_);
    glEnable(GL_TEXTURE_CUBE_MAP);
  }
  if (state_.maskRenderOn) {
    glDisable(GL_LIGHTING);
    glEnable(GL_COLOR_LOGIC_OP);
    glLogicOp(GL_SET);  // every covered pixel becomes white
  }

  glBindBuffer(GL_ARRAY_BUFFER, slot.buffers[1]);
  glNormalPointer(GL_FLOAT, 12, nullptr);
  glBindBuffer(GL_ARRAY_BUFFER, slot.buffers[0]);
  glVertexPointer(3, GL_FLOAT, 12, nullptr);
  const bool withUvs = textureView && e.uvs.size() >= static_cast<size_t>(e.vertexCount);
  if (withUvs) {
    glBindBuffer(GL_ARRAY_BUFFER, slot.buffers[3]);
    glBufferData(GL_ARRAY_BUFFER, static_cast<GLsizeiptr>(e.uvs.size() * sizeof(TGLUV)),
                 e.uvs.data(), GL_DYNAMIC_DRAW);
    slot.uvBytes = static_cast<int64_t>(e.uvs.size()) * 8;
    glEnableClientState(GL_TEXTURE_COORD_ARRAY);
    glTexCoordPointer(2, GL_FLOAT, 8, nullptr);
    glDisableClientState(GL_COLOR_ARRAY);
  } else if (!blended) {
    const bool colorsComplete = slot.colorBytes >= int64_t{4} * e.vertexCount;
    if (colorsComplete) {
      glBindBuffer(GL_ARRAY_BUFFER, slot.buffers[2]);
      glColorPointer(4, GL_UNSIGNED_BYTE, 0, nullptr);
      glEnableClientState(GL_COLOR_ARRAY);
    } else {
      glDisableClientState(GL_COLOR_ARRAY);
    }
  }
  glBindBuffer(GL_ARRAY_BUFFER, 0);

  ApplyPlacement(e, true);
  glDrawElements(GL_TRIANGLES, e.indexCount, GL_UNSIGNED_INT, e.faces.data());
  if (!state_.maskRenderOn && !shadowPassActive_ && !textureView && !blended && !depthMode) DrawMaskTint(e);

  if (withUvs) {
    glDisableClientState(GL_TEXTURE_COORD_ARRAY);
    if (!blended) glEnableClientState(GL_COLOR_ARRAY);
  }
  if (state_.maskRenderOn) {
    glEnable(GL_LIGHTING);
    glDisable(GL_COLOR_LOGIC_OP);
  }
  if (state_.reflectionOn) {
    for (size_t k = 0; k < 3; ++k) {
      glTexGeni(kTexGenCoords[k], GL_TEXTURE_GEN_MODE, GL_EYE_LINEAR);
      glDisable(kTexGenEnables[k]);
    }
    glDisable(GL_TEXTURE_CUBE_MAP);
    glBindTexture(GL_TEXTURE_CUBE_MAP, 0);
  }
  if (depthMode) {
    glCopyTexSubImage2D(GL_TEXTURE_2D, 0, 0, 0, depthX, depthY, depthW, depthH);
  }
  glPopMatrix();
}

// A multiplying tint over the same triangles keeps the shading underneath
// visible, so the frozen or selected part reads while sculpting; the mask
// render mode keeps its flat colours.
void PanelCentro::DrawMaskTint(const TGeosphera& e) {
  const auto frozen = [&e](uint32_t v) { return v < e.vertexState.size() && e.vertexState[v] == kVertexFrozen; };
  maskTintCorners_.clear();
  const size_t corners = std::min(static_cast<size_t>(std::max(e.indexCount, 0)), e.faces.size());
  for (size_t c = 0; c + 2 < corners; c += 3) {
    const uint32_t* t = &e.faces[c];
    if (frozen(t[0]) || frozen(t[1]) || frozen(t[2])) maskTintCorners_.insert(maskTintCorners_.end(), t, t + 3);
  }
  if (maskTintCorners_.empty()) return;
  glPushAttrib(GL_ENABLE_BIT | GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT | GL_CURRENT_BIT);
  glPushClientAttrib(GL_CLIENT_VERTEX_ARRAY_BIT);
  glDisable(GL_LIGHTING);
  glDisable(GL_TEXTURE_2D);
  glDisable(GL_TEXTURE_CUBE_MAP);
  for (GLenum gen : kTexGenEnables) glDisable(gen);
  glDisableClientState(GL_COLOR_ARRAY);
  glDisableClientState(GL_TEXTURE_COORD_ARRAY);
  glEnable(GL_BLEND);
  glBlendFunc(GL_ZERO, GL_SRC_COLOR);  // destination times the tint
  glDepthFunc(GL_LEQUAL);              // the same triangles again
  glDepthMask(GL_FALSE);
  glColor3f(0.5f, 0.5f, 0.62f);
  glDrawElements(GL_TRIANGLES, static_cast<GLsizei>(maskTintCorners_.size()), GL_UNSIGNED_INT,
                 maskTintCorners_.data());
  glPopClientAttrib();
  glPopAttrib();
}

void PanelCentro::DrawGizmo() {
  const TGeosphera& g = scene_.rotateGizmo;
  if (g.indexCount <= 0 || g.normals.size() < g.vertices.size() ||
      g.colors.size() < g.vertices.size() || static_cast<size_t>(g.indexCount) > g.faces.size()) {
    return;
  }
  glPushMatrix();
  glClear(GL_DEPTH_BUFFER_BIT);  // the handle shows over everything
  for (uint32_t& name : gizmoBuffers_) {
    if (name == 0) glGenBuffers(1, &name);
  }
  glEnableClientState(GL_COLOR_ARRAY);
  glBindBuffer(GL_ARRAY_BUFFER, gizmoBuffers_[1]);
  glBufferData(GL_ARRAY_BUFFER, static_cast<GLsizeiptr>(g.vertices.size() * 12), g.normals.data(),
               GL_DYNAMIC_DRAW);
  glNormalPointer(GL_FLOAT, 12, nullptr);
  glBindBuffer(GL_ARRAY_BUFFER, gizmoBuffers_[0]);
  glBufferData(GL_ARRAY_BUFFER, static_cast<GLsizeiptr>(g.vertices.size() * 12), g.vertices.data(),
               GL_DYNAMIC_DRAW);
  glVertexPointer(3, GL_FLOAT, 12, nullptr);
  glBindBuffer(GL_ARRAY_BUFFER, gizmoBuffers_[2]);
  glBufferData(GL_ARRAY_BUFFER, static_cast<GLsizeiptr>(g.vertices.size() * 4), g.colors.data(),
               GL_DYNAMIC_DRAW);
  glColorPointer(4, GL_UNSIGNED_BYTE, 0, nullptr);
  glBindBuffer(GL_ARRAY_BUFFER, 0);
  glDrawElements(GL_TRIANGLES, g.indexCount, GL_UNSIGNED_INT, g.faces.data());
  glPopMatrix();
}
