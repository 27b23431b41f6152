// The viewport under a real X server (Xvfb) and Mesa: frames are read back
// and checked pixel by pixel.
#include "render/panel_centro.h"

#include <GL/gl.h>
#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QImage>
#include <QOpenGLContext>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <algorithm>
#include <cmath>
#include <memory>

#include "mesh_shapes.h"
#include "model/messages.h"
#include "model/test_meshes.h"
#include "model/topology.h"
#include "render/element_buffers.h"
#include "render/texture_upload.h"

namespace {

constexpr float kBallRadius = 2.5f;
constexpr int kWidth = 640, kHeight = 480;

QApplication& App() {
  static int argc = 1;
  static char name[] = "render_tests";
  static char* argv[] = {name, nullptr};
  static QApplication* app = [] {
    SetDefaultSurfaceFormat();
    return new QApplication(argc, argv);
  }();
  return *app;
}

// A folder laid out like the installation, with the six environment faces.
void WriteEnvironmentImages(const QString& dir, int skip = -1) {
  QDir().mkpath(dir + "/images");
  const char* faces[] = {"xpos.jpg", "xneg.jpg", "ypos.jpg", "yneg.jpg", "zpos.jpg", "zneg.jpg"};
  for (int k = 0; k < 6; ++k) {
    if (k == skip) continue;
    QImage face(16, 16, QImage::Format_RGB32);
    face.fill(QColor(20 * k, 200, 255 - 40 * k));  // every face far greener than red
    ASSERT_TRUE(face.save(dir + "/images/" + faces[k]));
  }
}

// A red cursor pixel within one pixel of (x, y).
bool RedNear(const QImage& frame, int x, int y) {
  for (int dx = -1; dx <= 1; ++dx) {
    const QRgb p = frame.pixel(x + dx, y);
    if (qRed(p) > 200 && qGreen(p) < 50) return true;
  }
  return false;
}

TGeosphera MakeBall() {
  TGeosphera ball = MakeGeodesicSphere(5, kBallRadius);  // 20480 triangles
  ball.name = "Principal";
  EXPECT_TRUE(BuildAdjacency(ball, ComputeValence(ball)));
  EXPECT_TRUE(RecomputeAllNormals(ball));
  return ball;
}

// Appends `e` as the scene's next element, with a fresh uid as AppendElement gives.
void Push(TScene& scene, const TGeosphera& e) {
  const int index = AppendElement(scene);
  const uint32_t uid = scene.elements[static_cast<size_t>(index)].uid;
  scene.elements[static_cast<size_t>(index)] = e;
  scene.elements[static_cast<size_t>(index)].uid = uid;
}

class PanelCentroTest : public ::testing::Test {
 protected:
  void SetUp() override {
    App();
    ASSERT_TRUE(dir_.isValid());
    WriteEnvironmentImages(dir_.path());
    Push(scene_, MakeBall());
    panel_ = std::make_unique<PanelCentro>(scene_, nullptr);
    scene_.gpu = &panel_->buffers();
    panel_->SetProgramDirectory(dir_.path());
    panel_->resize(kWidth, kHeight);
    panel_->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(panel_.get()));
  }

  // Appends an element with its buffers.
  void AddElement(const TGeosphera& e) {
    Push(scene_, e);
    UploadElementBuffers(scene_, scene_.elementCount() - 1);
  }

  QImage Frame() { return panel_->grabFramebuffer().convertToFormat(QImage::Format_RGB32); }

  static bool IsBackground(QRgb p) {
    return std::abs(qRed(p) - 38) <= 1 && std::abs(qGreen(p) - 38) <= 1 &&
           std::abs(qBlue(p) - 38) <= 1;
  }

  // Pixels of the label band at the top centre that are brighter than the background.
  int LabelPixels(const QImage& frame) {
    int count = 0;
    for (int y = 0; y < 24; ++y) {
      for (int x = kWidth / 2 - 30; x < kWidth / 2 + 130; ++x) {
        if (qRed(frame.pixel(x, y)) > 70) ++count;
      }
    }
    return count;
  }

  QTemporaryDir dir_;
  TScene scene_;
  std::unique_ptr<PanelCentro> panel_;
};

TEST_F(PanelCentroTest, FrameShowsLitBallOnBackground) {
  const QImage frame = Frame();
  ASSERT_EQ(frame.size(), QSize(kWidth, kHeight));
  EXPECT_TRUE(IsBackground(frame.pixel(2, 2))) << std::hex << frame.pixel(2, 2);
  EXPECT_TRUE(IsBackground(frame.pixel(kWidth - 3, kHeight - 3)));
  const QRgb centre = frame.pixel(kWidth / 2, kHeight / 2);
  // The camera light shines from in front: the centre of the grey ball is lit.
  EXPECT_GT(qRed(centre), 60);
  EXPECT_GT(qBlue(centre), 60);
  EXPECT_FALSE(IsBackground(centre));
  // 12.6 units of height at the start zoom: the ball of radius 2.5 spans
  // about 40% of the panel height (95 pixels of radius).
  EXPECT_FALSE(IsBackground(frame.pixel(kWidth / 2, kHeight / 2 - 90)));
  EXPECT_TRUE(IsBackground(frame.pixel(kWidth / 2, kHeight / 2 - 100)));
  EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
}

TEST_F(PanelCentroTest, HiddenElementLeavesBackground) {
  scene_.elements[0].visible = 0;
  EXPECT_TRUE(IsBackground(Frame().pixel(kWidth / 2, kHeight / 2)));
}

TEST_F(PanelCentroTest, UnprojectCentreHitsBallAndProjectsBack) {
  Frame();
  const int w = panel_->framebufferWidth(), h = panel_->framebufferHeight();
  const TUnprojected hit = panel_->UnprojectCursor(w / 2, h / 2, h);
  ASSERT_TRUE(hit.ok);
  const TGLCoord& p = hit.point;
  EXPECT_NEAR(std::sqrt(p.x * p.x + p.y * p.y + p.z * p.z), kBallRadius, 0.01);
  // The front view looks at the ball's -x side.
  EXPECT_NEAR(p.x, -kBallRadius, 0.05);
  const TWindowPoint back = panel_->ProjectPoint(p);
  EXPECT_NEAR(back.x, w / 2.0, 1.0);
  EXPECT_NEAR(back.y, h / 2.0 + 1, 1.0);  // GL row h - y - 1, counted from the top
  // Over the background the depth is the far plane: the point lies far behind.
  const TUnprojected miss = panel_->UnprojectCursor(3, 3, h);
  ASSERT_TRUE(miss.ok);
  EXPECT_GT(miss.point.x, 100);
}

TEST_F(PanelCentroTest, GlMatricesMatchTheCameraArithmetic) {
  panel_->state().mainCamera.pitch = 20;
  panel_->state().mainCamera.yaw = 300;
  panel_->state().mainCamera.panX = 0.5f;
  Frame();
  const TRenderState& s = panel_->state();
  const TMatrix4 mv = CameraModelview(s.mainCamera, s.eyeSetup);
  const TMatrix4 pr = CameraProjection(s.mainCamera, s.viewHalfWidth, s.viewHalfHeight, s.zoom,
                                       s.nearPlane, s.farPlane);
  for (int i = 0; i < 16; ++i) {
    EXPECT_NEAR(panel_->modelviewMatrix()[i], mv[i], 1e-5) << i;
    EXPECT_NEAR(panel_->projectionMatrix()[i], pr[i], 1e-5) << i;
  }
}

TEST_F(PanelCentroTest, ViewLabelAtStartAndGoneAfterSmallRotation) {
  EXPECT_EQ(panel_->ViewLabel(), "Front Position");
  EXPECT_GT(LabelPixels(Frame()), 30);
  panel_->state().mainCamera.yaw += 1.0 / 3;  // one pixel of a right drag
  EXPECT_EQ(panel_->ViewLabel(), "");
  EXPECT_EQ(LabelPixels(Frame()), 0);
}

TEST_F(PanelCentroTest, PresetsSetYawsAndLabel) {
  panel_->state().mainCamera.pitch = 33;
  panel_->ApplyPreset(ViewPreset::Left);
  EXPECT_EQ(panel_->state().mainCamera.yaw, 180);
  EXPECT_EQ(panel_->state().mirrorCamera.yaw, 360);
  EXPECT_EQ(panel_->state().mainCamera.pitch, 0);
  EXPECT_EQ(panel_->ViewLabel(), "Left Position");
  panel_->ApplyPreset(ViewPreset::Right);
  EXPECT_EQ(panel_->state().mirrorCamera.yaw, 180);
  EXPECT_EQ(panel_->ViewLabel(), "Right Position");
}

TEST_F(PanelCentroTest, WheelZoomsByTheStep) {
  panel_->state().zoomStep = 0.05f;
  panel_->WheelZoom(true);
  EXPECT_FLOAT_EQ(panel_->state().zoom, 19.0f);
  panel_->WheelZoom(false);
  EXPECT_FLOAT_EQ(panel_->state().zoom, 19.0f * 1.05f);
  // Zooming in makes the ball cover pixels that were background.
  for (int i = 0; i < 8; ++i) panel_->WheelZoom(true);
  EXPECT_FALSE(IsBackground(Frame().pixel(kWidth / 2, kHeight / 2 - 110)));
}

TEST_F(PanelCentroTest, MaskModeWhitensCoveredPixels) {
  panel_->state().maskRenderOn = true;
  const QImage frame = Frame();
  EXPECT_EQ(frame.pixel(kWidth / 2, kHeight / 2) & 0xFFFFFF, 0xFFFFFFu);
  EXPECT_TRUE(IsBackground(frame.pixel(2, 2)));
}

TEST_F(PanelCentroTest, EveryRenderModeDrawsWithoutGlErrors) {
  using Switch = bool TRenderState::*;
  const Switch modes[] = {&TRenderState::shadowsOn,    &TRenderState::reflectionOn,
                          &TRenderState::wireframeOn,  &TRenderState::gridOn,
                          &TRenderState::pointsOn,     &TRenderState::depthRenderOn,
                          &TRenderState::textureViewOn, &TRenderState::uploadGeometry};
  for (Switch mode : modes) {
    panel_->state().*mode = true;
    if (mode == &TRenderState::shadowsOn) panel_->state().sceneLightOn = true;
    const QImage frame = Frame();
    panel_->makeCurrent();
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR)) << "mode " << (&mode - modes);
    EXPECT_FALSE(IsBackground(frame.pixel(kWidth / 2, kHeight / 2)));
    panel_->state().*mode = false;
  }
}

TEST_F(PanelCentroTest, ShadowPassesDarkenWhatAnOccluderHides) {
  // A small ball between the light and the big one casts a spot on it.
  TGeosphera occluder = MakeBall();
  for (TGLCoord& v : occluder.vertices) v = {v.x * 0.24f, v.y * 0.24f, v.z * 0.24f};
  occluder.position = {-3.43f, 2.06f, 0};  // 4 units from the centre towards the light
  AddElement(occluder);
  panel_->SetLightPosition(-5, 3, 0);
  panel_->SetSceneLight(true);
  const QImage lit = Frame();
  panel_->ToggleShadows();
  ASSERT_TRUE(panel_->state().shadowsOn && panel_->state().sceneLightOn);
  const QImage shadowed = Frame();
  const int x = kWidth / 2, spot = kHeight / 2 - 35, open = kHeight / 2 + 40;
  // Shadowed texels keep a fifth of their light.
  EXPECT_LT(qRed(shadowed.pixel(x, spot)), qRed(lit.pixel(x, spot)) * 0.35);
  EXPECT_GT(qRed(shadowed.pixel(x, spot)), 0);
  EXPECT_NEAR(qRed(shadowed.pixel(x, open)), qRed(lit.pixel(x, open)), 12);
  // "Off" brings the light back to the camera but keeps the shadow passes.
  panel_->SetSceneLight(false);
  EXPECT_TRUE(panel_->state().shadowsOn);
}

// A lone ball casts nothing on its own lit side: no saw-tooth of self-shadow (acne).
TEST_F(PanelCentroTest, ShadowsLeaveTheLitSideOfALoneBallClean) {
  panel_->SetSceneLight(true);
  const QImage lit = Frame();
  panel_->ToggleShadows();
  const QImage shadowed = Frame();
  int litPixels = 0, darkened = 0;
  for (int y = 0; y < kHeight; ++y) {
    for (int x = 0; x < kWidth; ++x) {
      const QRgb p = lit.pixel(x, y);
      if (IsBackground(p) || qRed(p) < 100) continue;
      ++litPixels;
      if (qRed(shadowed.pixel(x, y)) < qRed(p) - 12) ++darkened;
    }
  }
  ASSERT_GT(litPixels, 1000);
  EXPECT_LT(darkened, litPixels / 50) << darkened << " of " << litPixels;
}

// Frozen (selected) vertices darken the shaded model by a tint that keeps its shading.
TEST_F(PanelCentroTest, FrozenVerticesShowAsADarkerTintThatKeepsTheShading) {
  const QImage plain = Frame();
  TGeosphera& ball = scene_.elements[0];
  for (size_t v = 0; v < ball.vertices.size(); ++v) ball.vertexState[v] = ball.vertices[v].y > 0 ? kVertexFrozen : 0;
  const QImage tinted = Frame();
  const int x = kWidth / 2;
  const auto ratio = [&](int y) { return qGray(tinted.pixel(x, y)) / double(qGray(plain.pixel(x, y))); };
  const int inner = kHeight / 2 - 30, outer = kHeight / 2 - 85, below = kHeight / 2 + 60;
  ASSERT_GT(qGray(plain.pixel(x, inner)), qGray(plain.pixel(x, outer)) + 10);  // shaded differently
  EXPECT_LT(ratio(inner), 0.75);
  EXPECT_NEAR(ratio(outer), ratio(inner), 0.08);  // the same tint over both: the shading shows through
  EXPECT_NEAR(ratio(below), 1, 0.02);             // the free half as it was
}

TEST_F(PanelCentroTest, ReflectionTintsTheBallWithTheEnvironment) {
  const QRgb grey = Frame().pixel(kWidth / 2, kHeight / 2);
  EXPECT_NEAR(qRed(grey), qGreen(grey), 3);
  panel_->ToggleReflection();
  const QRgb tinted = Frame().pixel(kWidth / 2, kHeight / 2);
  // Every face of the test environment is far greener than it is red.
  EXPECT_GT(qGreen(tinted), qRed(tinted) + 20);
}

TEST_F(PanelCentroTest, DepthModeShowsInvertedDepthInTheFrame) {
  panel_->state().depthRenderOn = true;
  const QImage frame = Frame();
  EXPECT_EQ(panel_->state().nearPlane, -1);
  EXPECT_EQ(panel_->state().farPlane, 24);
  // The nearest point of the ball is 12.5 units from the eye: depth 13.5 / 25.
  EXPECT_NEAR(qRed(frame.pixel(kWidth / 2, kHeight / 2)), 255 * (1 - 13.5 / 25), 2);
  EXPECT_EQ(frame.pixel(210, 50) & 0xFFFFFF, 0u);         // far plane inside the frame
  EXPECT_TRUE(IsBackground(frame.pixel(100, kHeight / 2)));  // outside it
}

TEST_F(PanelCentroTest, StencilOverlayIsCopiedIntoTheOverlayFramebuffer) {
  ASSERT_NE(panel_->overlayFramebuffer(), 0u);
  panel_->makeCurrent();
  GLuint white = 0;
  glGenTextures(1, &white);
  glBindTexture(GL_TEXTURE_2D, white);
  const uint8_t texel[4] = {255, 255, 255, 255};
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
  glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, 1, 1, 0, GL_RGBA, GL_UNSIGNED_BYTE, texel);
  TImageOverlay& stencil = panel_->inputs().stencil;
  stencil = {true, white, 0.5f, 100, 100, 50, 40, 0, 1, 1};
  Frame();
  EXPECT_EQ(panel_->ViewLabel(), "");  // help texts replace the label
  const QImage frame = Frame();
  int help = 0;
  for (int y = 0; y < 170; ++y) {
    for (int x = kWidth - 178; x < kWidth; ++x) help += qRed(frame.pixel(x, y)) > 70;
  }
  EXPECT_GT(help, 100);
  EXPECT_EQ(LabelPixels(frame), 0);
  EXPECT_EQ(panel_->ReadOverlayPixel(120, 120), (std::array<uint8_t, 3>{255, 255, 255}));
  EXPECT_EQ(panel_->ReadOverlayPixel(90, 90), (std::array<uint8_t, 3>{38, 38, 38}));  // cleared
  panel_->makeCurrent();
  glDeleteTextures(1, &white);
}

TEST_F(PanelCentroTest, BrushCursorCircleHasTheBrushSizeOnScreen) {
  TViewportInputs& in = panel_->inputs();
  in.hoveredVertex = 0;
  in.cursorScreen = {200, 240, 0};
  in.brush.symmetry = false;
  // The view is 2 tan(17.5 deg) x zoom = 12.6 units high at any panel height,
  // so the circle of radius 0.4 grows with the panel.
  for (const int height : {600, 1200}) {
    panel_->resize(kWidth, height);
    QTRY_COMPARE(panel_->framebufferHeight(), height);
    const double radius = 0.4 * height / (2 * StartViewHalfHeight() * 20);
    EXPECT_NEAR(panel_->PixelsPerModelUnit() * 0.4, radius, 1e-4);
    const QImage frame = Frame();
    const int r = static_cast<int>(std::lround(radius));
    EXPECT_TRUE(RedNear(frame, 200 + r, 240)) << height;
    EXPECT_TRUE(RedNear(frame, 200 - r, 240)) << height;
    EXPECT_FALSE(RedNear(frame, 200, 240)) << height;
    EXPECT_FALSE(RedNear(frame, 200 + r * 3 / 4, 240)) << height;
    EXPECT_FALSE(RedNear(frame, 200 + r + 4, 240)) << height;
  }
}

TEST_F(PanelCentroTest, FramesAreDrawnOnlyOnRequest) {
  Frame();
  QTest::qWait(50);
  const int before = panel_->framesDrawn();
  QTest::qWait(300);
  EXPECT_EQ(panel_->framesDrawn(), before);
  panel_->requestRedraw();
  QTRY_VERIFY(panel_->framesDrawn() > before);
}

TEST_F(PanelCentroTest, RenderSceneOutsidePaintDrawsAtOnce) {
  Frame();
  const int before = panel_->framesDrawn();
  panel_->state().mainCamera.pitch = 90;  // from above: the ball still fills the centre
  panel_->RenderScene(panel_->framebufferWidth(), panel_->framebufferHeight());
  EXPECT_EQ(panel_->framesDrawn(), before + 1);
  // The new frame's matrices: pitch 90 maps model y onto the view axis.
  EXPECT_NEAR(std::fabs(panel_->modelviewMatrix()[6]), 1, 1e-6);
  // Shown as drawn, label and all, by the next paint.
  const QImage shown = panel_->grabFramebuffer().convertToFormat(QImage::Format_RGB32);
  EXPECT_EQ(panel_->framesDrawn(), before + 1);
  EXPECT_FALSE(IsBackground(shown.pixel(kWidth / 2, kHeight / 2)));
  EXPECT_EQ(LabelPixels(shown), 0);  // pitch 90 has no label
  panel_->ApplyPreset(ViewPreset::Back);
  panel_->RenderScene(panel_->framebufferWidth(), panel_->framebufferHeight());
  EXPECT_GT(LabelPixels(panel_->grabFramebuffer().convertToFormat(QImage::Format_RGB32)), 30);
}

TEST_F(PanelCentroTest, ProjectionOnlySetsMirrorMatricesWithoutDrawing) {
  Frame();
  const int before = panel_->framesDrawn();
  panel_->state().mirrorCamera.yaw = 90;  // seen from the other side
  panel_->state().projectionOnly = true;
  panel_->RenderScene(panel_->framebufferWidth(), panel_->framebufferHeight());
  panel_->state().projectionOnly = false;
  EXPECT_EQ(panel_->framesDrawn(), before);
  // Yaw 90 turns the view about y by half a turn against yaw 270: model +z
  // now lies on the left.
  const TWindowPoint p = panel_->ProjectPoint({0, 0, 1});
  EXPECT_LT(p.x, panel_->framebufferWidth() / 2.0 - 10);
}

TEST_F(PanelCentroTest, TextureViewShowsTheElementImage) {
  TGeosphera& ball = scene_.elements[0];
  ball.textureId = 7;
  ball.colorR = ball.colorG = ball.colorB = 255;
  ball.uvs.assign(ball.vertices.size(), TGLUV{0.5f, 0.5f});
  panel_->state().textureViewOn = true;
  panel_->state().textureSize = 4;
  AByte& image = panel_->buffers().slot(scene_, 0)->textureImage;
  image.assign(4 * 4 * 3, 0);
  for (size_t i = 0; i < image.size(); i += 3) image[i] = 255;  // red
  const QRgb centre = Frame().pixel(kWidth / 2, kHeight / 2);
  EXPECT_GT(qRed(centre), 100);
  EXPECT_LT(qGreen(centre), 60);  // only the highlight adds green and blue
}

TEST_F(PanelCentroTest, PointViewResetsTouchedMarksButKeepsFrozen) {
  TGeosphera& ball = scene_.elements[0];
  ball.vertexState[0] = kVertexTouched;
  ball.vertexState[1] = kVertexFrozen;
  panel_->SetPoints(true);
  Frame();
  EXPECT_EQ(ball.vertexState[0], kVertexFree);
  EXPECT_EQ(ball.vertexState[1], kVertexFrozen);
  ball.vertexState[0] = kVertexTouched;
  panel_->inputs().modes.freeze = true;  // freeze mode shows the marks and keeps them
  Frame();
  EXPECT_EQ(ball.vertexState[0], kVertexTouched);
}

TEST_F(PanelCentroTest, RotationHandleIsDrawnOverEverything) {
  // A green handle hidden inside the ball still shows while the tool is on.
  TGeosphera& gizmo = scene_.rotateGizmo;
  gizmo = MakeBall();
  for (TGLCoord& v : gizmo.vertices) v = {v.x * 0.3f, v.y * 0.3f, v.z * 0.3f};
  gizmo.colors.assign(gizmo.vertices.size(), TRGBA{0, 255, 0, 255});
  const QRgb without = Frame().pixel(kWidth / 2, kHeight / 2);
  EXPECT_NEAR(qGreen(without), qRed(without), 3);
  panel_->inputs().modes.rotate = true;
  const QRgb with = Frame().pixel(kWidth / 2, kHeight / 2);
  EXPECT_GT(qGreen(with), qRed(with) + 60);
}

TEST_F(PanelCentroTest, AddedElementFollowsThePointerOnTheSymmetryPlane) {
  TGeosphera added = MakeBall();
  added.placeState = kPlaceFollowPick;
  AddElement(added);
  scene_.currentElement = 1;
  panel_->state().mainCamera.yaw = 200;
  TViewportInputs& in = panel_->inputs();
  in.addPlacementActive = true;
  in.mouseX = kWidth / 2 + 76;  // two units right of the centre at 38 pixels per unit
  in.mouseY = kHeight / 2;
  Frame();
  EXPECT_EQ(panel_->state().mainCamera.yaw, 270);  // placing resets the view to the front
  Frame();
  const TGLCoord& p = scene_.elements[1].position;
  EXPECT_EQ(p.x, 0);
  EXPECT_NEAR(p.y, 0, 0.05);
  EXPECT_NEAR(p.z, 2, 0.05);
}

TEST_F(PanelCentroTest, FpsTextCountsFramesOfTheLastSecond) {
  QSignalSpy spy(panel_.get(), &PanelCentro::fpsTextChanged);
  QElapsedTimer clock;
  clock.start();
  while (clock.elapsed() < 1300 && spy.isEmpty()) Frame();
  ASSERT_FALSE(spy.isEmpty());
  const QString text = spy.at(0).at(0).toString();
  EXPECT_TRUE(text.startsWith("FPS : ")) << text.toStdString();
  EXPECT_GT(text.mid(6).toInt(), 0);
}

TEST_F(PanelCentroTest, ElementsLoadedBeforeTheContextGetBuffersAtStartUp) {
  TScene scene;
  Push(scene, MakeBall());
  PanelCentro later(scene, nullptr);
  later.SetProgramDirectory(dir_.path());
  scene.gpu = &later.buffers();
  UploadElementBuffers(scene, 0);  // no context yet: sizes recorded, no buffers
  ASSERT_NE(later.buffers().FindSlot(scene, 0), nullptr);
  EXPECT_EQ(later.buffers().FindSlot(scene, 0)->buffers[0], 0u);
  EXPECT_EQ(later.buffers().FindSlot(scene, 0)->vertexBytes, int64_t{12} * scene.elements[0].vertexCount);
  later.resize(200, 150);
  later.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&later));
  EXPECT_NE(later.buffers().FindSlot(scene, 0)->buffers[0], 0u);
  EXPECT_FALSE(IsBackground(later.grabFramebuffer().pixel(100, 75)));
}

TEST_F(PanelCentroTest, UploadsKeepBufferNamesAndDeleteReleasesThem) {
  AddElement(MakeBall());
  ElementBuffers& buffers = panel_->buffers();
  const auto names = buffers.FindSlot(scene_, 1)->buffers;
  for (uint32_t name : names) EXPECT_NE(name, 0u);
  UploadElementBuffers(scene_, 1);
  EXPECT_EQ(buffers.FindSlot(scene_, 1)->buffers, names);
  EXPECT_EQ(buffers.FindSlot(scene_, 1)->vertexBytes, int64_t{12} * scene_.elements[1].vertexCount);
  CapturingMessageSink messages;
  scene_.currentElement = 1;
  DeleteElement(scene_);
  ASSERT_EQ(scene_.elementCount(), 1);
  panel_->makeCurrent();
  for (uint32_t name : names) EXPECT_FALSE(glIsBuffer(name));
  EXPECT_FALSE(IsBackground(Frame().pixel(kWidth / 2, kHeight / 2)));
}

// The buffers follow their elements through the scene operations: an upload
// records the byte sizes of what the arrays hold, a delete leaves the later
// elements their buffers, a reset leaves the new element none.
TEST_F(PanelCentroTest, BuffersFollowTheirElements) {
  ElementBuffers& buffers = panel_->buffers();
  TGeosphera octahedron = MakeOctahedron();
  octahedron.uvs.resize(2);
  AddElement(octahedron);
  EXPECT_EQ(buffers.FindSlot(scene_, 1)->vertexBytes, 0);  // no normals yet: nothing to upload
  ASSERT_TRUE(RefreshElement(scene_.elements[1]));
  UploadElementBuffers(scene_, 1);
  const TElementGpuSlot& sizes = *buffers.FindSlot(scene_, 1);
  EXPECT_EQ(sizes.vertexBytes, 72);
  EXPECT_EQ(sizes.colorBytes, 24);
  EXPECT_EQ(sizes.uvBytes, 16);

  AddElement(MakeBall());
  const auto later = buffers.FindSlot(scene_, 2)->buffers;
  CapturingMessageSink messages;
  scene_.currentElement = 1;
  DeleteElement(scene_);
  ASSERT_EQ(scene_.elementCount(), 2);
  EXPECT_EQ(buffers.FindSlot(scene_, 1)->buffers, later);  // its buffers came along

  const auto first = buffers.FindSlot(scene_, 0)->buffers;
  ResetScene(scene_);
  ASSERT_EQ(scene_.elementCount(), 1);
  EXPECT_EQ(buffers.FindSlot(scene_, 0), nullptr);
  panel_->makeCurrent();
  for (uint32_t name : first) EXPECT_FALSE(glIsBuffer(name));
  for (uint32_t name : later) EXPECT_FALSE(glIsBuffer(name));
}

// The environment faces and the brush images come through the texture
// loader: its messages name a missing file, and each brush image it reads
// takes a fresh texture name from its counter.
TEST(PanelCentroStartup, StartupImagesComeThroughTheTextureLoader) {
  App();
  QTemporaryDir dir;
  WriteEnvironmentImages(dir.path(), 3);
  // round.tga: 2 x 2 pixels, uncompressed, 32 bits; the other brushes are missing.
  std::string tga(18, '\0');
  tga[2] = 2;
  tga[12] = tga[14] = 2;
  tga[16] = 32;
  tga.append(16, '\x7f');
  QFile round(dir.path() + "/images/round.tga");
  ASSERT_TRUE(round.open(QIODevice::WriteOnly));
  round.write(tga.data(), static_cast<qint64>(tga.size()));
  round.close();

  CapturingMessageSink messages;
  TScene scene;
  scene.elements.push_back(MakeBall());
  PanelCentro panel(scene, nullptr);
  panel.SetProgramDirectory(dir.path());
  panel.resize(200, 150);
  panel.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&panel));
  panel.makeCurrent();
  EXPECT_TRUE(glIsTexture(panel.brushTexture(0)));
  EXPECT_EQ(panel.brushTexture(1), 0u);
  EXPECT_EQ(textureNameCounter, 1);
  const std::string images = dir.path().toStdString() + "/images/";
  const std::vector<std::string> texts = messages.Texts();
  EXPECT_NE(std::find(texts.begin(), texts.end(), "Couldn't load JPG - \"" + images + "yneg.jpg\""), texts.end());
  EXPECT_NE(std::find(texts.begin(), texts.end(), "File not found  - " + images + "star.tga"), texts.end());
}

TEST(PanelCentroStartup, MissingEnvironmentImageIsReportedNotFatal) {
  App();
  QTemporaryDir dir;
  WriteEnvironmentImages(dir.path(), 3);
  TScene scene;
  scene.elements.push_back(MakeBall());
  PanelCentro panel(scene, nullptr);
  panel.SetProgramDirectory(dir.path());
  QSignalSpy spy(&panel, &PanelCentro::fatalStartupError);
  panel.resize(200, 150);
  panel.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&panel));
  ASSERT_EQ(spy.count(), 1);
  EXPECT_EQ(spy.at(0).at(0).toString(),
            "Please reinstaller Plasmora. Failed to load images in directory.");
  ASSERT_TRUE(panel.startupError());
  EXPECT_FALSE(EnvironmentImagesReadable(dir.path()));
  WriteEnvironmentImages(dir.path());
  EXPECT_TRUE(EnvironmentImagesReadable(dir.path()));
}

}  // namespace

namespace {

// Registered a second time with QT_SCALE_FACTOR=2; skipped at ratio 1.
TEST(PanelCentroHiDpi, PickingAndOverlaysUseFramebufferPixels) {
  App();
  QTemporaryDir dir;
  WriteEnvironmentImages(dir.path());
  TScene scene;
  scene.elements.push_back(MakeBall());
  PanelCentro panel(scene, nullptr);
  panel.SetProgramDirectory(dir.path());
  panel.resize(kWidth / 2, kHeight / 2);
  panel.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&panel));
  if (panel.devicePixelRatioF() != 2) GTEST_SKIP() << "needs QT_SCALE_FACTOR=2";
  ASSERT_EQ(panel.framebufferWidth(), kWidth);
  TViewportInputs& in = panel.inputs();
  in.hoveredVertex = 0;
  in.brush.symmetry = false;
  in.cursorScreen = {200, 240, 0};
  panel.RebuildCursorCircles();
  const QImage frame = panel.grabFramebuffer().convertToFormat(QImage::Format_RGB32);
  ASSERT_EQ(frame.size(), QSize(kWidth, kHeight));
  // The circle has the brush's size in framebuffer pixels: 0.4 units of a
  // view 12.6 units high on 480 framebuffer rows.
  const int r = static_cast<int>(std::lround(0.4 * kHeight / (2 * StartViewHalfHeight() * 20)));
  EXPECT_TRUE(RedNear(frame, 200 + r, 240));
  EXPECT_FALSE(RedNear(frame, 200 + r / 2, 240));
  EXPECT_FALSE(RedNear(frame, 200 + 2 * r, 240));
  // The label sits 20 logical pixels below the top edge.
  int label = 0;
  for (int y = 0; y < 48; ++y) {
    for (int x = kWidth / 2 - 60; x < kWidth / 2 + 260; ++x) label += qRed(frame.pixel(x, y)) > 70;
  }
  EXPECT_GT(label, 60);
  const QPointF centre = panel.ToFramebuffer(QPointF(kWidth / 4.0, kHeight / 4.0));
  const TUnprojected hit = panel.UnprojectCursor(static_cast<int>(centre.x()),
                                                 static_cast<int>(centre.y()), kHeight);
  ASSERT_TRUE(hit.ok);
  EXPECT_NEAR(hit.point.x, -kBallRadius, 0.05);
}

}  // namespace
