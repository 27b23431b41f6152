// "Image Render" in the real window: the six maps of the framed rectangle,
// the colours given back, the thumbnails and the saves in every format, the
// saves at twice the size and the depth map in 16 bits, and a viewport too
// small to frame anything.
#include <QComboBox>
#include <QImageReader>
#include <QLabel>
#include <QTemporaryDir>
#include <QToolButton>
#include <set>

#include "app/panel_save_screen.h"
#include "app/window_test_support.h"

namespace {

class ImageRenderWindowTest : public WindowTest {
 protected:
  void SetUp() override {
    WindowTest::SetUp();
    form_->PanelStart->CloseStartClick();
    for (TRGBA& c : form_->scene().current().colors) c = {255, 0, 0, 77};
    UploadElementBuffers(form_->scene(), form_->scene().currentElement);
  }

  TPanelSaveScreen& Panel() { return *form_->PanelSaveScreen; }
  QSize CaptureSize() {
    const TCaptureRect rect =
        ScreenCaptureRect(form_->viewport().framebufferWidth(), form_->viewport().framebufferHeight());
    return {rect.width, rect.height};
  }
  static QColor Centre(const QImage& image) { return image.pixelColor(image.width() / 2, image.height() / 2); }
  QImage Read(const char* name) { return QImageReader(folder_.filePath(name)).read(); }
  static bool Grey(const QColor& c) { return c.red() == c.green() && c.green() == c.blue(); }

  void RenderAndSelectShaded() {
    form_->MainMenu->ImageRender1->trigger();
    ASSERT_TRUE(Panel().captureOk());
    QTest::mouseClick(Panel().ImageShaded, Qt::LeftButton);
  }

  QTemporaryDir folder_;
};

TEST_F(ImageRenderWindowTest, SixMapsOfTheFramedViewAndTheColoursComeBack) {
  const TCores before = form_->scene().current().colors;
  form_->MainMenu->ImageRender1->trigger();
  EXPECT_TRUE(messages_.Texts().empty());
  ASSERT_TRUE(Panel().isVisible());
  ASSERT_TRUE(Panel().captureOk());
  EXPECT_TRUE(form_->viewport().inputs().screenSaveFrameShown);
  EXPECT_EQ(form_->scene().current().colors, before);  // R, G, B restored, alpha never touched

  const QColor background = Panel().map(TMapKind::Shaded).pixelColor(0, 0);
  for (int k = 0; k < kMapCount; ++k) {
    const QImage& map = Panel().map(static_cast<TMapKind>(k));
    ASSERT_EQ(map.size(), CaptureSize()) << k;
    // The red frame and the brush cursor stay out of the pictures.
    for (const QPoint corner : {QPoint(0, 0), QPoint(map.width() - 1, map.height() - 1)}) {
      EXPECT_NE(map.pixelColor(corner), QColor(255, 0, 0)) << k;
    }
  }
  const QColor shaded = Centre(Panel().map(TMapKind::Shaded));
  EXPECT_GT(shaded.red(), shaded.green() + 60);  // the vertex colours
  EXPECT_EQ(Centre(Panel().map(TMapKind::Mask)), QColor(255, 255, 255));
  EXPECT_EQ(Panel().map(TMapKind::Mask).pixelColor(0, 0), background);
  for (const TMapKind white : {TMapKind::Shadow, TMapKind::AmbientOcclusion}) {
    EXPECT_TRUE(Grey(Centre(Panel().map(white)))) << static_cast<int>(white);
    EXPECT_GT(Centre(Panel().map(white)).red(), 150) << static_cast<int>(white);
  }
  const QImage& depth = Panel().map(TMapKind::Depth);
  EXPECT_TRUE(Grey(Centre(depth)));
  EXPECT_NE(Centre(depth), depth.pixelColor(0, 0));
  const TRenderState& state = form_->viewport().state();
  EXPECT_FALSE(state.depthRenderOn || state.maskRenderOn || state.reflectionOn || state.shadowsOn);

  // A second "Image Render" while the panel is open does nothing; Reload renders again.
  const int frames = form_->viewport().framesDrawn();
  form_->MainMenu->ImageRender1->trigger();
  EXPECT_EQ(form_->viewport().framesDrawn(), frames);
  QTest::mouseClick(Panel().SpeedReload, Qt::LeftButton);
  EXPECT_GE(form_->viewport().framesDrawn(), frames + 2 * kMapCount);
  EXPECT_TRUE(Panel().captureOk());

  // Escape closes it as "Close" does.
  QTest::keyClick(form_.get(), Qt::Key_Escape);
  EXPECT_FALSE(Panel().isVisible());
  EXPECT_FALSE(form_->viewport().inputs().screenSaveFrameShown);
}

TEST_F(ImageRenderWindowTest, ImageSaveWritesTheSelectedMapInEachFormat) {
  RenderAndSelectShaded();
  EXPECT_EQ(Panel().selected(), Panel().map(TMapKind::Shaded));
  EXPECT_FALSE(Panel().ImageScreen->pixmap().isNull());

  struct Case {
    int filter;
    const char* chosen;
    const char* written;
    QByteArray format;
  };
  const Case cases[] = {
      {0, "shot", "shot.png", "png"},
      {1, "shot.jpg", "shot.jpg", "jpeg"},  // an extension the name has is not doubled
      {2, "photo", "photo.jpeg", "jpeg"},
      {3, "frame.BMP", "frame.BMP", "bmp"},
  };
  for (const Case& c : cases) {
    messages_.entries.clear();
    Choose(folder_.filePath(c.chosen), c.filter);
    QTest::mouseClick(Panel().SpeedScreenSave, Qt::LeftButton);
    EXPECT_EQ(messages_.Texts(), std::vector<std::string>{"Screen image saved successfully"}) << c.written;
    QImageReader reader(folder_.filePath(c.written));
    EXPECT_EQ(reader.format(), c.format) << c.written;
    EXPECT_EQ(reader.read().size(), CaptureSize()) << c.written;
  }
  EXPECT_EQ(lastRequest_.filters,
            (QStringList{"Portable Network Graphics (*.png)", "JPEG Image File (*.jpg)", "JPEG Image File (*.jpeg)",
                         "Bitmaps (*.bmp)", "16-bit Depth Map PNG (*.png)"}));
  EXPECT_FALSE(QFile::exists(folder_.filePath("shot.jpg.jpg")));

  messages_.entries.clear();
  Choose(folder_.filePath("missing/shot"), 0);
  QTest::mouseClick(Panel().SpeedScreenSave, Qt::LeftButton);
  EXPECT_EQ(messages_.Texts(), std::vector<std::string>{"Error in screen image save. Error 4376"});
}

TEST_F(ImageRenderWindowTest, AllSaveWritesTheSixBitmaps) {
  RenderAndSelectShaded();
  Choose("");
  QTest::mouseClick(Panel().SpeedAllSave, Qt::LeftButton);
  EXPECT_EQ(messages_.Texts(), std::vector<std::string>{"Images were not saved."});
  EXPECT_TRUE(lastRequest_.folder);
  EXPECT_EQ(lastRequest_.caption, "Select a directory");

  messages_.entries.clear();
  Choose(folder_.path());
  QTest::mouseClick(Panel().SpeedAllSave, Qt::LeftButton);
  EXPECT_EQ(messages_.Texts(), std::vector<std::string>{"All images have been successfully saved."});
  const char* names[kMapCount] = {"shaded.bmp", "depth.bmp", "reflect.bmp", "mask.bmp", "shadow.bmp", "ao.bmp"};
  for (int k = 0; k < kMapCount; ++k) {
    QImageReader reader(folder_.filePath(names[k]));
    EXPECT_EQ(reader.format(), "bmp") << names[k];
    const QImage image = reader.read();
    EXPECT_EQ(image.size(), CaptureSize()) << names[k];
    EXPECT_EQ(image.convertToFormat(QImage::Format_RGB32),
              Panel().map(static_cast<TMapKind>(k)).convertToFormat(QImage::Format_RGB32))
        << names[k];
  }
}

// At 2x both saves render the view anew with twice the pixels: the saved
// shaded map is the middle of what a viewport of twice the width and height
// shows of the same view, pixel for pixel (a scaled-up copy of the capture
// would blur or block its edges), and the thumbnails keep the captured size.
TEST_F(ImageRenderWindowTest, SavesAtTwiceTheSizeAreRenderedWithTwiceThePixels) {
  form_->resize(780, 560);
  QApplication::processEvents();
  PanelCentro& view = form_->viewport();
  const QSize small(view.framebufferWidth(), view.framebufferHeight());
  ASSERT_GT(small.width(), 400);
  ASSERT_GT(small.height(), 80);
  RenderAndSelectShaded();
  const TCores before = form_->scene().current().colors;
  const QSize capture = CaptureSize();

  Panel().ComboSaveSize->setCurrentIndex(1);
  Choose(folder_.filePath("shaded2x.png"), 0);
  QTest::mouseClick(Panel().SpeedScreenSave, Qt::LeftButton);
  Choose(folder_.path());
  QTest::mouseClick(Panel().SpeedAllSave, Qt::LeftButton);
  EXPECT_EQ(messages_.Texts(),
            (std::vector<std::string>{"Screen image saved successfully", "All images have been successfully saved."}));
  const QImage twice = Read("shaded2x.png").convertToFormat(QImage::Format_RGB32);
  ASSERT_EQ(twice.size(), capture * 2);
  for (const char* name : {"shaded.bmp", "depth.bmp", "reflect.bmp", "mask.bmp", "shadow.bmp", "ao.bmp"}) {
    EXPECT_EQ(Read(name).size(), capture * 2) << name;
  }
  EXPECT_EQ(Read("shaded.bmp").convertToFormat(QImage::Format_RGB32), twice);
  EXPECT_EQ(Panel().map(TMapKind::Shaded).size(), capture);
  EXPECT_EQ(form_->scene().current().colors, before);
  EXPECT_TRUE(form_->viewport().inputs().screenSaveFrameShown);

  // The same view in a viewport of twice the size: its capture holds the
  // rendered picture 200 pixels in from each side and 40 from top and bottom.
  form_->resize(form_->size() + view.size());
  QApplication::processEvents();
  ASSERT_EQ(QSize(view.framebufferWidth(), view.framebufferHeight()), small * 2);
  QTest::mouseClick(Panel().SpeedReload, Qt::LeftButton);
  ASSERT_TRUE(Panel().captureOk());
  const QImage large = Panel().map(TMapKind::Shaded).convertToFormat(QImage::Format_RGB32);
  EXPECT_EQ(large.copy(200, 40, large.width() - 400, large.height() - 80), twice);
  const QColor centre = Centre(twice);
  EXPECT_GT(centre.red(), centre.green() + 60);  // the model's vertex colours, not the background
}

// The depth map in 16 bits: near bright as in the 8-bit map (whose levels are
// its high bytes), with far more than 256 levels across the ball.
TEST_F(ImageRenderWindowTest, DepthMapSavesWith16BitLevels) {
  RenderAndSelectShaded();
  const QImage& depth8 = Panel().map(TMapKind::Depth);
  for (int size : {0, 2}) {
    Panel().ComboSaveSize->setCurrentIndex(size);
    const QString name = QString("depth%1x").arg(1 << size);
    Choose(folder_.filePath(name), 4);
    QTest::mouseClick(Panel().SpeedScreenSave, Qt::LeftButton);
    const QImage depth = QImageReader(folder_.filePath(name + ".png")).read();
    ASSERT_EQ(depth.format(), QImage::Format_Grayscale16) << size;
    ASSERT_EQ(depth.size(), CaptureSize() * (1 << size));
    std::set<uint16_t> levels;
    for (int y = 0; y < depth.height(); ++y) {
      const auto* line = reinterpret_cast<const uint16_t*>(depth.constScanLine(y));
      levels.insert(line, line + depth.width());
    }
    EXPECT_GT(levels.size(), 1000u) << size;
    const auto level16 = [&depth](int x, int y) {
      return reinterpret_cast<const uint16_t*>(depth.constScanLine(y))[x];
    };
    const int scale = 1 << size;
    for (const QPoint at : {QPoint(0, 0), QPoint(depth8.width() / 2, depth8.height() / 2)}) {
      EXPECT_NEAR(level16(at.x() * scale, at.y() * scale) / 257.0, depth8.pixelColor(at).red(), 1.5) << size;
    }
  }
  EXPECT_EQ(messages_.Texts(), std::vector<std::string>(2, "Screen image saved successfully"));
}

TEST_F(ImageRenderWindowTest, AViewportTooSmallToFrameCapturesNothing) {
  form_->resize(form_->width(), 110);
  QApplication::processEvents();
  ASSERT_LT(form_->viewport().framebufferHeight(), 80);
  const TCores before = form_->scene().current().colors;
  form_->MainMenu->ImageRender1->trigger();
  EXPECT_EQ(messages_.Texts(), std::vector<std::string>{"Error in create screen image. Error 2375"});
  EXPECT_FALSE(Panel().captureOk());
  EXPECT_EQ(form_->scene().current().colors, before);

  lastRequest_ = {};
  QTest::mouseClick(Panel().SpeedScreenSave, Qt::LeftButton);
  EXPECT_TRUE(lastRequest_.caption.isEmpty());  // no dialog without a capture
}

}  // namespace
