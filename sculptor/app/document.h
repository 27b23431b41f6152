// The document the window's panels work on, and the one way they reach it:
// the scene, the undo engine, the preferences, the viewport with the stroke
// and the element tools on it, the dialogs, and the steps the commands share.
// It is the scene's user-interface host: what the scene operations show
// (the level, the element list, the element's name) leaves it as signals,
// which the panels that show them connect to.
#pragma once

#include <QColor>
#include <QCursor>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QUrl>
#include <functional>
#include <map>
#include <optional>

#include "app/element_tools.h"
#include "app/recovery_keeper.h"
#include "io/preferences.h"
#include "io/undo_scene_host.h"
#include "io/undo_snapshots.h"
#include "model/scene.h"
#include "sculpt/stroke.h"

class PanelCentro;
struct RecoveredScene;

// A file dialog request and its answer; tests replace the dialogs by a chooser.
struct TFileRequest {
  bool save = false;
  QString caption;
  QStringList filters;  // "Name (*.a *.b)"
};
struct TFileChoice {
  QString fileName;  // empty: cancelled
  int filterIndex = 0;
};
using FileChooser = std::function<TFileChoice(const TFileRequest&)>;
// The colour dialog; an invalid colour means cancelled. Tests replace it.
using ColorChooser = std::function<QColor(const QColor& initial)>;
// Opens a web or file address in the desktop's program for it; tests replace it.
using UrlOpener = std::function<bool(const QUrl&)>;

class TDocument : public QObject, public SceneHost {
  Q_OBJECT

 public:
  // The installation in `programDir` holds models/, images/ and prefer1.txt.
  explicit TDocument(const QString& programDir);
  ~TDocument() override;
  TDocument(const TDocument&) = delete;
  TDocument& operator=(const TDocument&) = delete;

  // The window's viewport: the scene's GPU side, and what the stroke and the
  // element tools work through. Call once, before any of them is used.
  void AttachViewport(PanelCentro& viewport);

  TScene& scene() { return scene_; }
  UndoSnapshots& undo() { return undo_; }
  TPreferences& preferences() { return prefs_; }
  PanelCentro& viewport() { return *viewport_; }
  TStroke& stroke() { return *stroke_; }
  TElementTools& elementTools() { return *elementTools_; }
  // The brush and the editing modes, kept once with the viewport's inputs.
  TBrushSettings& brush();
  TToolModes& modes();

  // A file of the installation.
  QString ProgramFile(const char* relative) const;
  const QString& programDir() const { return programDir_; }

  void SetFileChooser(FileChooser chooser) { fileChooser_ = std::move(chooser); }
  void SetColorChooser(ColorChooser chooser) { colorChooser_ = std::move(chooser); }
  void SetUrlOpener(UrlOpener opener) { urlOpener_ = std::move(opener); }
  // The file dialog (or the tests' chooser).
  TFileChoice ChooseFile(const TFileRequest& request);
  // The colour dialog (or the tests' chooser); an invalid colour when cancelled.
  QColor ChooseColor(const QColor& initial, const QString& title = {});
  // The desktop's program for `url` (or the tests' opener); false when none opened it.
  bool OpenUrl(const QUrl& url);
  // The pointer shapes "ROTATE", "SCALE", "MOVE" and "DROPPER"; nullptr before
  // they are made or for another name.
  void LoadCustomCursors();
  const QCursor* customCursor(const QString& name) const;

  // The editing commands refuse while the texture view is on; true (after
  // the warning) when they must.
  bool RefusedInTextureMode();
  // Valence and adjacency of the current element.
  void RebuildCurrentAdjacency();
  // Reads a model file into a scene of its own and, when that worked, makes
  // it the scene; the old scene stays when anything fails.
  bool ReplaceSceneWith(const QString& fileName, int kind, float scale);
  // After a new scene: every element's buffers and placement, the level, the
  // current element's adjacency and grids, a redraw.
  void RefreshAfterSceneChange();

  // Whether the scene changed since it was opened or saved, and the Met file
  // it was opened from or last saved to (empty: none of the user's).
  bool modified() const { return modified_; }
  const QString& sceneFile() const { return sceneFile_; }
  // The one notice of a change to the scene (snapshots taken or restored,
  // elements added, removed or edited, a new scene): it marks the scene
  // modified and the crash-recovery record stale.
  void SceneChanged();
  // The scene now is what `file` holds (empty: a scene of no file of the user's).
  void MarkSaved(const QString& file);

  // Element `uid` was added from element `sourceUid` (Detach, Mirror): a change,
  // and one Undo takes back once the new element has no snapshot to step back to.
  void ElementAdded(uint32_t uid, uint32_t sourceUid);
  // Undo's first step: when the current element is such an addition with no
  // snapshot left and its source still exists, removes it and selects the
  // source again; true when it did.
  bool UndoElementAddition();

  // The crash-recovery record of this run, kept from the end of the start-up
  // (`strokeRunning` holds the writes back) until before the undo folder goes.
  void StartRecoveryRecord(std::function<bool()> strokeRunning);
  void StopRecoveryRecord() { recovery_.reset(); }  // its last write ends first
  TRecoveryKeeper* recovery() { return recovery_ ? &*recovery_ : nullptr; }
  // The start-up offer of the scenes of earlier runs that died (the program
  // entry calls it once the window shows); true when one was loaded.
  bool OfferCrashRecovery();

  // SceneHost: the user-interface side of the scene operations.
  void Redraw() override;
  void RebuildScreenGrids(TScene& scene) override;
  void ClearFootprints() override;
  void ClearTransformDrag() override;
  void ShowSubdivisionLevel(int level) override;
  void RefreshElementList(TScene& scene) override;
  void ShowElementName(const std::string& name) override;
  bool SketchToolActive() const override;
  // Undo while the sketch tool is active and no mouse operation runs: the
  // spheres of the last sketch stroke go, from the last to the first.
  bool UndoSketchStroke(TScene& scene) override;

 signals:
  void subdivisionLevelShown(int level);
  void elementListChanged();
  void elementNameShown(const QString& name);
  // ReplaceSceneWith made a new scene.
  void sceneReplaced();
  // The mesh or the view changed (the screen grids went stale).
  void meshOrViewChanged();
  // modified() or sceneFile() changed.
  void savedStateChanged();
  // A left stroke in sketch mode ended; `beganOverModel` when its press picked a vertex.
  void sketchStrokeEnded(bool beganOverModel);

 private:
  // The stroke's buffer writes, snapshots and redraws.
  class WindowStrokeSink : public StrokeSink {
   public:
    explicit WindowStrokeSink(TDocument& doc) : doc_(doc) {}
    void SnapshotAtPress(int32_t pickedVertex) override;
    void SnapshotAtRelease() override;
    void FootprintsChanged(const TBrushFrame& frame, bool colors) override;
    void NormalChanged(int32_t vertex, const TGLCoord& normal) override;
    void GeometryChanged() override;
    void Redraw() override { doc_.Redraw(); }
    bool AddSketchSphere(const TGLCoord& position, float size) override;
    void SketchStrokeEnded(bool beganOverModel) override { emit doc_.sketchStrokeEnded(beganOverModel); }

   private:
    TDocument& doc_;
  };

  void InstallRecoveredScene(RecoveredScene&& recovered);

  QString programDir_;
  // Declared before the scene and its hosts, so it outlives them.
  UndoSnapshots undo_;
  TScene scene_;
  UndoSceneHost undoHost_{undo_, this};  // the scene's host: undo, then this
  TPreferences prefs_;
  FileChooser fileChooser_;
  ColorChooser colorChooser_;
  UrlOpener urlOpener_;
  std::map<QString, QCursor> cursors_;
  bool modified_ = false;
  QString sceneFile_;
  PanelCentro* viewport_ = nullptr;
  WindowStrokeSink strokeSink_{*this};
  std::optional<TStroke> stroke_;
  std::optional<TElementTools> elementTools_;
  std::optional<TRecoveryKeeper> recovery_;
  std::map<uint32_t, uint32_t> addedElements_;  // added element's uid -> its source's
};
