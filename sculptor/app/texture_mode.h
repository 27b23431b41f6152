// Texture mode: painting an element into a texture image. "Texture Edit"
// enters it (creating texture coordinates first when there are none),
// "Close" leaves it back to the sculptable mesh with its vertex colours, and
// "Recreate UVs" starts over. The mesh is kept in the undo engine's paint
// channel while texture mode is on and in its duplicate channel while it is
// off, so the textured mesh comes back on the next entry.
#pragma once

#include <QObject>

class TDocument;
class TPanelCreateUVW;
class TPanelCreatingUV;
class TPanelImageTex;
class TPanelPaintColor;
class TPanelTexture;

class TTextureMode : public QObject {
  Q_OBJECT

 public:
  // Wires the buttons of the four texture panels to the commands below.
  TTextureMode(TDocument& doc, TPanelTexture& texture, TPanelCreateUVW& createUvw, TPanelImageTex& imageTex,
               TPanelCreatingUV& creating, TPanelPaintColor& paintColor);

  bool uvsCreated() const { return uvsCreated_; }

  // "Texture Edit".
  void SpeedEditTexClick();
  // "Close" of the texture panel.
  void SpeedButCloseClick();
  // "Recreate UVs".
  void SpeedRecreateClick();
  // "Create UVs" of PanelCreateUVW: on to the image-size panel.
  void SpeedCreateMapClick();
  // "Ok" of the image-size panel: CreateUVs.
  void SpeedCreateImageClick();
  // "Cancel" of the image-size panel.
  void SpeedCancelCreateClick();
  // "Cancel" of PanelCreateUVW.
  void SpeedCancelCreateUVClick();
  // A new scene has no texture coordinates of ours.
  void SceneReplaced();

 private:
  void ShowTexturePanel();
  // Hides the texture panel; texture view and texture painting end with it.
  void HideTexturePanel();
  // Restores the mesh of the paint channel, keeping the texture coordinates
  // and (with `keepColors`) the colours.
  void RestorePaintSnapshot(bool keepColors);
  // Buffers, adjacency and picking grids after the mesh changed; a change of the scene.
  void RefreshMesh(bool allElements);

  TDocument& doc_;
  TPanelTexture& texture_;
  TPanelCreateUVW& createUvw_;
  TPanelImageTex& imageTex_;
  TPanelCreatingUV& creating_;
  TPanelPaintColor& paintColor_;
  bool uvsCreated_ = false;
  bool cornersSplit_ = false;  // the per-corner split runs once a run
};
