// PanelTexture ("Texture"): the texture image of the current element and the
// commands on it: paint into the texture and back, load a picture into it,
// save it, and show it on the model ("Texture View"). The image is drawn and
// read back on the texture panel's own GL context; the viewport shows it from
// the element's image.
#pragma once

#include <QString>

#include "app/floating_panel.h"
#include "io/image_pixels.h"
#include "render/panel_centro_tex.h"

class QCheckBox;
class QLabel;
class QToolButton;
class TDocument;

class TPanelTexture : public FloatingPanel {
  Q_OBJECT

 public:
  TPanelTexture(TDocument& doc, QWidget* parent);

  QLabel* ImageText = nullptr;
  QToolButton* SpeedVertexColor = nullptr;  // "Vertex To Texture"
  QToolButton* SpeedTexToVertex = nullptr;  // "Texture to Vertex"
  QToolButton* ButTexture = nullptr;        // "Load Texture"
  QToolButton* SpeedSave = nullptr;         // "Save Image"
  QToolButton* SpeedRecreate = nullptr;     // "Recreate UVs"
  QToolButton* SpeedButClose = nullptr;     // "Close"
  QCheckBox* CheckTexture = nullptr;        // "Texture View"

  // VertexToTexture: every element's vertex colours rasterised through its
  // texture coordinates over the current element's image.
  void SpeedVertexColorClick();
  // TextureToVertex: every element's vertex colours sampled from the current
  // element's image.
  void SpeedTexToVertexClick();
  // LoadTexture: a picture becomes the current element's image.
  void ButTextureClick();
  // Save Image: the current element's image as PNG, JPEG or BMP.
  void SpeedSaveClick();
  void CheckTextureClick(bool checked);

  // The current element's image for texture mode: with `keepSaved` an image
  // it already has is kept and its size becomes the texture size (when it
  // is a square); otherwise a white image of the texture size.
  void PrepareImage(bool keepSaved);
  // A white image of `size` texels a side for the current element; the
  // texture size becomes `size`.
  void NewImage(int size);
  // The texture panel view: the current element's image (or `picture`, drawn
  // over the whole panel) read back into the image and shown.
  void RefreshView(const TImagePixels* picture = nullptr);

  // The current element's image: textureSize x textureSize RGB, rows bottom-up.
  AByte& image();
  int textureSize() const;

 private:
  void ShowImage();
  // The canvas with the current element's image (or `picture`) drawn over it;
  // false (after the message) when the canvas cannot be had.
  bool BeginWithImage(const TImagePixels* picture);
  // Reads the canvas into the current element's image and gives the
  // viewport's context back.
  void EndIntoImage();

  TDocument& doc_;
  PanelCentroTex canvas_;
};
