#include "app/texture_mode.h"

#include <QCheckBox>
#include <QToolButton>

#include "app/document.h"
#include "app/panel_create_uvw.h"
#include "app/panel_creating_uv.h"
#include "app/panel_image_tex.h"
#include "app/panel_paint_color.h"
#include "app/panel_texture.h"
#include "model/messages.h"
#include "processing/uv_create.h"
#include "render/panel_centro.h"

namespace {

constexpr const char* kCloseWarning = "Attention! Any change in the mesh will require new creation of UV coordinates.";

}  // namespace

TTextureMode::TTextureMode(TDocument& doc, TPanelTexture& texture, TPanelCreateUVW& createUvw, TPanelImageTex& imageTex,
                           TPanelCreatingUV& creating, TPanelPaintColor& paintColor)
    : QObject(&texture),
      doc_(doc),
      texture_(texture),
      createUvw_(createUvw),
      imageTex_(imageTex),
      creating_(creating),
      paintColor_(paintColor) {
  connect(texture.SpeedButClose, &QToolButton::clicked, this, &TTextureMode::SpeedButCloseClick);
  connect(texture.SpeedRecreate, &QToolButton::clicked, this, &TTextureMode::SpeedRecreateClick);
  connect(createUvw.SpeedCreateMap, &QToolButton::clicked, this, &TTextureMode::SpeedCreateMapClick);
  connect(createUvw.SpeedCancelCreateUV, &QToolButton::clicked, this, &TTextureMode::SpeedCancelCreateUVClick);
  connect(imageTex.SpeedCreateImage, &QToolButton::clicked, this, &TTextureMode::SpeedCreateImageClick);
  connect(imageTex.SpeedCancelCreate, &QToolButton::clicked, this, &TTextureMode::SpeedCancelCreateClick);
  connect(&imageTex, &TPanelImageTex::textureSizeChosen, &texture, &TPanelTexture::NewImage);
}

void TTextureMode::SpeedEditTexClick() {
  TScene& scene = doc_.scene();
  UndoSnapshots& undo = doc_.undo();
  if (!doc_.textureMode()) {
    undo.TakeSnapshot(scene.current(), UndoChannel::Paint, 2);
    doc_.SetTextureMode(true);
  }
  if (!uvsCreated_) {
    createUvw_.show();
    createUvw_.raise();
    paintColor_.hide();
    return doc_.Redraw();
  }
  // The textured mesh kept when texture mode was closed comes back, unless
  // the mesh was subdivided meanwhile: then its texture coordinates are made anew.
  if (undo.Counter(scene.current().uid, UndoChannel::Duplicate) > UndoSnapshots::kFirstNumber) {
    const int32_t level = scene.current().subdivLevel;
    undo.RestoreSnapshot(scene, UndoChannel::Duplicate);
    RefreshMesh(false);
    if (scene.current().subdivLevel != level) return SpeedRecreateClick();
  }
  if (!cornersSplit_) {
    for (TGeosphera& e : scene.elements) SplitElementByTextureCorner(e);
    cornersSplit_ = true;
    RefreshMesh(true);
  }
  doc_.viewport().inputs().texturePaintMode = true;
  ShowTexturePanel();
  texture_.PrepareImage(scene.current().uvReady != 0);
  texture_.RefreshView();
  if (!texture_.CheckTexture->isChecked()) texture_.SpeedVertexColorClick();
  doc_.Redraw();
}

void TTextureMode::SpeedButCloseClick() {
  HideTexturePanel();
  if (doc_.textureMode()) {
    ShowWarning(kCloseWarning);
    doc_.undo().TakeSnapshot(doc_.scene().current(), UndoChannel::Duplicate, 2);
    RestorePaintSnapshot(true);
    doc_.SetTextureMode(false);
  }
  doc_.Redraw();
}

void TTextureMode::SpeedRecreateClick() {
  if (doc_.textureMode()) {
    RestorePaintSnapshot(false);
    doc_.SetTextureMode(false);
  }
  HideTexturePanel();
  uvsCreated_ = false;
  SpeedEditTexClick();
  doc_.Redraw();
}

void TTextureMode::SpeedCreateMapClick() {
  createUvw_.hide();
  imageTex_.show();
  imageTex_.raise();
  doc_.Redraw();
}

void TTextureMode::SpeedCreateImageClick() {
  TScene& scene = doc_.scene();
  // A sketch base is textured alone: its spheres leave the scene.
  if (scene.elements[0].sketchBase) {
    while (scene.elementCount() > 1) RemoveLastElement(scene, 0);
  }
  const int size = imageTex_.textureSize();
  imageTex_.hide();
  creating_.Start();
  texture_.NewImage(size);
  const auto progress = [this](const std::string& label, int done, int total) {
    creating_.ShowProgress(label, done, total);
  };
  if (!CreateSceneUVs(scene, imageTex_.partitionControl(), size, progress)) {
    creating_.hide();
    createUvw_.hide();
    HideTexturePanel();
    return doc_.Redraw();
  }
  RefreshMesh(true);
  uvsCreated_ = true;
  SpeedEditTexClick();
  createUvw_.hide();
  creating_.hide();
  scene.current().uvReady = 1;
}

void TTextureMode::SpeedCancelCreateClick() {
  doc_.SetTextureMode(false);
  imageTex_.hide();
  doc_.Redraw();
}

void TTextureMode::SpeedCancelCreateUVClick() {
  doc_.SetTextureMode(false);
  paintColor_.SpeedPaintColorCloseClick();
  createUvw_.hide();
  doc_.Redraw();
}

void TTextureMode::SceneReplaced() {
  uvsCreated_ = false;
  cornersSplit_ = false;
}

void TTextureMode::ShowTexturePanel() {
  texture_.show();
  texture_.raise();
  doc_.viewport().inputs().texturePanelVisible = true;
}

void TTextureMode::HideTexturePanel() {
  texture_.CheckTexture->setChecked(false);
  doc_.viewport().state().textureViewOn = false;
  doc_.viewport().inputs().texturePaintMode = false;
  doc_.viewport().inputs().texturePanelVisible = false;
  texture_.hide();
}

void TTextureMode::RestorePaintSnapshot(bool keepColors) {
  TGeosphera& e = doc_.scene().current();
  const int32_t uvCount = e.uvCount;
  Tuv uvs = e.uvs;
  Tfaces uvFaces = e.uvFaces;
  TCores colors = e.colors;
  if (!doc_.undo().RestoreSnapshot(doc_.scene(), UndoChannel::Paint)) return;
  TGeosphera& restored = doc_.scene().current();
  restored.uvCount = uvCount;
  restored.uvs = std::move(uvs);
  restored.uvFaces = std::move(uvFaces);
  if (keepColors) restored.colors = std::move(colors);
  RefreshMesh(false);
}

void TTextureMode::RefreshMesh(bool allElements) {
  TScene& scene = doc_.scene();
  for (int i = 0; i < scene.elementCount(); ++i) {
    if (allElements || i == scene.currentElement) UploadElementBuffers(scene, i);
  }
  doc_.RebuildCurrentAdjacency();
  scene.host->RebuildScreenGrids(scene);
  doc_.SceneChanged();
  doc_.Redraw();
}
