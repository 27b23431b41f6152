// Texture mode in the real window: entering it creates texture coordinates
// and a texture image, vertex paint goes into the texture and back, "Close"
// returns to the sculptable mesh, "Recreate UVs" starts over, pictures load
// into the texture and "Save Image" writes it.
#include <QCheckBox>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QImage>
#include <QLabel>
#include <QToolButton>
#include <algorithm>
#include <cstdlib>

#include "app/panel_create_uvw.h"
#include "app/panel_creating_uv.h"
#include "app/panel_image_tex.h"
#include "app/panel_texture.h"
#include "app/texture_mode.h"
#include "app/window_test_support.h"
#include "io/image_test_files.h"

namespace {

constexpr const char* kRefusal = "Disable texture mode to return sculpting.";
constexpr const char* kCloseWarning = "Attention! Any change in the mesh will require new creation of UV coordinates.";

// A colour that changes smoothly over the model, different at every vertex.
TRGBA PaintAt(const TGLCoord& p) {
  const auto byte = [](float t) { return static_cast<uint8_t>(std::clamp(128.0f + 45.0f * t, 0.0f, 255.0f)); };
  return {byte(p.x), byte(p.y), byte(p.z), 255};
}

void WriteFile(const QString& path, const Bytes& bytes) {
  QFile file(path);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  file.write(reinterpret_cast<const char*>(bytes.data()), static_cast<qint64>(bytes.size()));
}

class TextureModeTest : public ViewportWindowTest {
 protected:
  TGeosphera& Current() { return form_->scene().current(); }
  TPanelTexture& Texture() { return *form_->PanelTexture; }
  const AByte& Image() { return Texture().image(); }

  void PaintByPosition() {
    TGeosphera& e = Current();
    for (size_t v = 0; v < e.colors.size(); ++v) e.colors[v] = PaintAt(e.vertices[v]);
    UploadElementBuffers(form_->scene(), form_->scene().currentElement);
  }

  // "Texture Edit", "Create UVs", the size, "Ok".
  void CreateUVs(const char* size) {
    form_->PanelMenu->SpeedTextureEdit->click();
    ASSERT_TRUE(form_->PanelCreateUVW->isVisible());
    form_->PanelCreateUVW->SpeedCreateMap->click();
    ASSERT_TRUE(form_->PanelImageTex->isVisible());
    form_->PanelImageTex->ComboBoxSizeImage->setCurrentText(size);
    form_->PanelImageTex->SpeedCreateImage->click();
  }

  // Largest difference of any colour channel of the first `count` vertices.
  int LargestColourError(const TCores& expected, size_t count) {
    int largest = 0;
    for (size_t v = 0; v < count; ++v) {
      const TRGBA& a = expected[v];
      const TRGBA& b = Current().colors[v];
      largest = std::max({largest, std::abs(a.r - b.r), std::abs(a.g - b.g), std::abs(a.b - b.b)});
    }
    return largest;
  }

  // The texel at (x, y from the bottom) of the current image.
  std::array<uint8_t, 3> Texel(int x, int y) {
    const size_t at =
        (static_cast<size_t>(y) * static_cast<size_t>(Texture().textureSize()) + static_cast<size_t>(x)) * 3;
    return {Image()[at], Image()[at + 1], Image()[at + 2]};
  }
};

// On a painted sphere and a painted cube, texture coordinates are created,
// the paint goes into the texture and comes back to every vertex within 8
// levels a channel.
TEST_F(TextureModeTest, VertexPaintRoundTripsThroughTheTexture) {
  for (const char* model : {"models/ball6.met", "models/basecubesphere.met"}) {
    SCOPED_TRACE(model);
    OpenWindow();
    form_->PanelStart->CloseStartClick();
    ASSERT_TRUE(form_->document().ReplaceSceneWith(install_.file(model), kModelMet, 1));
    form_->document().RefreshAfterSceneChange();
    PaintByPosition();
    const int32_t before = Current().vertexCount;

    CreateUVs("1024");
    EXPECT_TRUE(form_->PanelTexture->isVisible());
    EXPECT_FALSE(form_->PanelCreateUVW->isVisible());
    EXPECT_FALSE(form_->PanelImageTex->isVisible());
    EXPECT_FALSE(form_->PanelCreatingUV->isVisible());
    EXPECT_TRUE(form_->document().textureMode());
    EXPECT_TRUE(form_->viewport().inputs().texturePaintMode);
    EXPECT_EQ(Current().uvReady, 1);
    EXPECT_GT(Current().vertexCount, before);  // seams split
    EXPECT_EQ(Current().uvs.size(), static_cast<size_t>(Current().vertexCount));
    EXPECT_EQ(Texture().textureSize(), 1024);
    ASSERT_EQ(Image().size(), size_t{1024} * 1024 * 3);
    EXPECT_FALSE(Texture().ImageText->pixmap().isNull());

    const TCores painted = Current().colors;
    for (TRGBA& c : Current().colors) c = {0, 0, 0, 255};
    Texture().SpeedTexToVertex->click();
    EXPECT_LE(LargestColourError(painted, painted.size()), 8);
    EXPECT_TRUE(messages_.entries.empty());
  }
}

// Painting in texture mode changes the vertex colours; "Vertex To Texture"
// carries them into the texture, and the texture view shows it on the model.
TEST_F(TextureModeTest, PaintReachesTheTextureAndTheTextureView) {
  CreateUVs("256");
  const AByte before = Image();
  form_->document().SetColorChooser([](const QColor&) { return QColor(200, 10, 20); });
  form_->PanelPaintColor->PaintTool1Click();
  const QPoint centre{form_->viewport().width() / 2, form_->viewport().height() / 2};
  QWidget& view = form_->viewport();
  QMouseEvent hover(QEvent::MouseMove, QPointF(centre), view.mapToGlobal(QPointF(centre)), Qt::NoButton, Qt::NoButton,
                    Qt::NoModifier);
  QApplication::sendEvent(&view, &hover);
  QTest::mousePress(&view, Qt::LeftButton, {}, centre);
  QTest::mouseMove(&view, centre + QPoint(2, 0));
  QTest::mouseRelease(&view, Qt::LeftButton, {}, centre + QPoint(2, 0));
  const int32_t picked = form_->document().stroke().state().pickedVertex;
  ASSERT_GE(picked, 0);
  EXPECT_EQ(Current().colors[static_cast<size_t>(picked)], (TRGBA{200, 10, 20, 255}));

  Texture().SpeedVertexColor->click();
  EXPECT_NE(Image(), before);
  // The paint comes back from the texture.
  Current().colors[static_cast<size_t>(picked)] = {0, 0, 0, 255};
  Texture().SpeedTexToVertex->click();
  const TRGBA back = Current().colors[static_cast<size_t>(picked)];
  EXPECT_NEAR(back.r, 200, 8);
  EXPECT_NEAR(back.g, 10, 8);
  EXPECT_NEAR(back.b, 20, 8);

  Texture().CheckTexture->click();
  EXPECT_TRUE(form_->viewport().state().textureViewOn);
  const QImage frame = form_->viewport().grabFramebuffer();
  const QRgb middle = frame.pixel(frame.width() / 2, frame.height() / 2);
  EXPECT_GT(qRed(middle), qBlue(middle) + 40);  // the red paint shows through the texture
}

// In texture mode the editing commands refuse; "Close" warns, returns to the
// mesh as it was (its own vertices, the paint kept) and lets sculpting go on.
// "Texture Edit" brings the textured mesh back without creating anew.
TEST_F(TextureModeTest, CloseReturnsToTheSculptableMeshAndEditBringsTheTextureBack) {
  PaintByPosition();
  const int32_t sculptable = Current().vertexCount;
  const TCores painted = Current().colors;
  CreateUVs("256");
  const int32_t textured = Current().vertexCount;
  form_->PanelMenu->SpeedSubdivide->click();
  EXPECT_EQ(messages_.Texts(), std::vector<std::string>{kRefusal});
  EXPECT_EQ(Current().vertexCount, textured);

  messages_.entries.clear();
  Texture().SpeedButClose->click();
  EXPECT_EQ(messages_.Texts(), std::vector<std::string>{kCloseWarning});
  EXPECT_FALSE(form_->PanelTexture->isVisible());
  EXPECT_FALSE(form_->document().textureMode());
  EXPECT_FALSE(form_->viewport().inputs().texturePaintMode);
  EXPECT_EQ(Current().vertexCount, sculptable);
  EXPECT_EQ(LargestColourError(painted, static_cast<size_t>(sculptable)), 0);
  EXPECT_EQ(Current().uvs.size(), static_cast<size_t>(textured));

  messages_.entries.clear();
  form_->PanelMenu->SpeedTextureEdit->click();
  EXPECT_TRUE(messages_.entries.empty());
  EXPECT_TRUE(form_->PanelTexture->isVisible());
  EXPECT_FALSE(form_->PanelCreateUVW->isVisible());
  EXPECT_EQ(Current().vertexCount, textured);
  EXPECT_TRUE(form_->document().textureMode());
}

// "Recreate UVs" puts the mesh back as it was before texture mode and offers
// the creation again; the new creation gives the same layout.
TEST_F(TextureModeTest, RecreateUVsStartsOver) {
  const int32_t sculptable = Current().vertexCount;
  CreateUVs("256");
  const Tuv first = Current().uvs;
  Texture().SpeedRecreate->click();
  EXPECT_FALSE(form_->PanelTexture->isVisible());
  EXPECT_TRUE(form_->PanelCreateUVW->isVisible());
  EXPECT_EQ(Current().vertexCount, sculptable);
  EXPECT_FALSE(form_->TextureMode->uvsCreated());
  form_->PanelCreateUVW->SpeedCreateMap->click();
  form_->PanelImageTex->SpeedCreateImage->click();
  EXPECT_TRUE(form_->PanelTexture->isVisible());
  EXPECT_EQ(Current().uvs, first);
}

// Both "Cancel" buttons leave texture mode; the first leaves paint mode too.
TEST_F(TextureModeTest, CancelLeavesTextureMode) {
  form_->document().SetColorChooser([](const QColor&) { return QColor(); });
  form_->PanelPaintColor->PaintTool1Click();
  form_->PanelMenu->SpeedTextureEdit->click();
  EXPECT_EQ(form_->PanelCreateUVW->LabelsUVW[0]->text(), "This mesh does not have any texture coordinates. ");
  EXPECT_FALSE(form_->PanelPaintColor->isVisible());
  form_->PanelCreateUVW->SpeedCancelCreateUV->click();
  EXPECT_FALSE(form_->PanelCreateUVW->isVisible());
  EXPECT_FALSE(form_->document().textureMode());
  EXPECT_FALSE(form_->document().modes().paint);

  form_->PanelMenu->SpeedTextureEdit->click();
  form_->PanelCreateUVW->SpeedCreateMap->click();
  EXPECT_EQ(form_->PanelImageTex->FloatSpinControl->value(), 0.8);
  form_->PanelImageTex->SpeedCancelCreate->click();
  EXPECT_FALSE(form_->PanelImageTex->isVisible());
  EXPECT_FALSE(form_->document().textureMode());
  EXPECT_TRUE(Current().uvs.empty());
}

// A mesh the segmentation cannot take gives the creation's error and leaves
// the scene and the panels as they were.
TEST_F(TextureModeTest, FailedCreationShowsItsError) {
  Current().faces[4] = 1u << 30;
  const Tvertices vertices = Current().vertices;
  CreateUVs("256");
  EXPECT_EQ(messages_.Texts(), std::vector<std::string>{"Error in create textures UV. Error 2525."});
  EXPECT_FALSE(form_->PanelTexture->isVisible());
  EXPECT_FALSE(form_->PanelCreatingUV->isVisible());
  EXPECT_EQ(Current().vertices, vertices);
  EXPECT_FALSE(form_->TextureMode->uvsCreated());
}

// "Load Texture" reads BMP, TGA and PNG pictures into the texture the right
// way up; a square picture sets the texture size. A refused file says why
// and leaves the texture alone.
TEST_F(TextureModeTest, LoadTextureReadsEveryFormat) {
  CreateUVs("256");
  QImage png(8, 8, QImage::Format_RGB888);
  for (int y = 0; y < 8; ++y) {
    for (int x = 0; x < 8; ++x) png.setPixel(x, 7 - y, qRgb(Channel(x, y, 0), Channel(x, y, 1), Channel(x, y, 2)));
  }
  ASSERT_TRUE(png.save(install_.file("picture.png")));
  WriteFile(install_.file("picture.bmp"), MakeBmp(8, 8));
  Bytes tga = TgaHeader(2, 24, 8, 8);
  for (int y = 0; y < 8; ++y) {
    for (int x = 0; x < 8; ++x) PutTgaPixel(tga, x, y, 3);
  }
  WriteFile(install_.file("picture.TGA"), tga);
  for (const char* name : {"picture.png", "picture.bmp", "picture.TGA"}) {
    SCOPED_TRACE(name);
    Choose(install_.file(name));
    Texture().ButTexture->click();
    EXPECT_EQ(lastRequest_.filters.front(), "All (*.jpg *.jpeg *.bmp *.tga *.png *.gif)");
    ASSERT_EQ(Texture().textureSize(), 8);
    ASSERT_EQ(Image().size(), size_t{8} * 8 * 3);
    for (int y : {0, 7}) {
      for (int x : {0, 7}) {
        EXPECT_EQ(Texel(x, y), (std::array<uint8_t, 3>{Channel(x, y, 0), Channel(x, y, 1), Channel(x, y, 2)}))
            << x << "," << y;
      }
    }
    EXPECT_EQ(Current().hasTextureImage, 1);
  }

  const AByte loaded = Image();
  WriteFile(install_.file("grey.tga"), TgaHeader(3, 8, 2, 2));
  Choose(install_.file("grey.tga"));
  Texture().ButTexture->click();
  ASSERT_EQ(messages_.entries.size(), 1u);
  EXPECT_EQ(messages_.entries[0].text,
            "Couldn't load \"" + install_.file("grey.tga").toStdString() + "\". Only 24 and 32bit TGA supported.");
  EXPECT_EQ(messages_.entries[0].caption, "TGA File Error");
  EXPECT_EQ(Image(), loaded);
}

// "Save Image" writes the texture top-down in the chosen format; the
// extension is added only when the name lacks it; a failed write is reported.
TEST_F(TextureModeTest, SaveImageWritesAReadablePicture) {
  PaintByPosition();
  CreateUVs("256");
  struct Case {
    const char* chosen;
    int filter;
    const char* written;
    const char* format;
  };
  for (const Case& c : {Case{"tex", 0, "tex.png", "png"}, Case{"tex.png", 0, "tex.png", "png"},
                        Case{"tex", 3, "tex.bmp", "bmp"}, Case{"tex", 2, "tex.jpeg", "jpeg"}}) {
    SCOPED_TRACE(c.chosen);
    QFile::remove(install_.file(c.written));
    Choose(install_.file(c.chosen), c.filter);
    Texture().SpeedSave->click();
    const QImage saved(install_.file(c.written), c.format);
    ASSERT_FALSE(saved.isNull());
    EXPECT_EQ(saved.size(), QSize(256, 256));
    if (QString(c.format) == "jpeg") continue;
    for (int y : {3, 128, 250}) {
      const auto texel = Texel(y, y);
      EXPECT_EQ(saved.pixel(y, 255 - y), qRgb(texel[0], texel[1], texel[2])) << y;
    }
  }
  EXPECT_FALSE(QFile::exists(install_.file("tex.png.png")));
  EXPECT_TRUE(messages_.entries.empty());

  Choose(install_.file("missing/folder/tex"), 0);
  Texture().SpeedSave->click();
  EXPECT_EQ(messages_.Texts(), std::vector<std::string>{"Error in screen image save. Error 4376"});
}

// Exporting a painted model as OBJ writes its texture as PNG and the
// material library naming it beside the OBJ.
TEST_F(TextureModeTest, ObjExportWritesTheTextureBeside) {
  PaintByPosition();
  CreateUVs("256");
  Choose(install_.file("painted"), 0);
  form_->MainMenu->Export1Click();
  ASSERT_TRUE(QFile::exists(install_.file("painted.obj")));
  const QImage texture(install_.file("painted_0.png"), "png");
  ASSERT_EQ(texture.size(), QSize(256, 256));
  const auto texel = Texel(100, 40);
  EXPECT_EQ(texture.pixel(100, 255 - 40), qRgb(texel[0], texel[1], texel[2]));
  QFile library(install_.file("painted.mtl"));
  ASSERT_TRUE(library.open(QIODevice::ReadOnly));
  EXPECT_TRUE(library.readAll().contains("map_Kd painted_0.png"));
  EXPECT_TRUE(messages_.entries.empty());
}

}  // namespace
