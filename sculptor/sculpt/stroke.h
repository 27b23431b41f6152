// A stroke of the brush over the viewport, headless: the state kept between
// mouse events, the footprint gathering around the cursor point through the
// two screen grids, the brush step on both footprints, the Grab drag, the
// mirror across z = 0, and the undo snapshots asked for at the press and the
// release, and the sketch spheres dropped in sketch mode. The viewport supplies the projection (StrokeProjection); the
// window takes the buffer writes, the snapshots and the redraws (StrokeSink).
//
// One left stroke, with (x, y) framebuffer pixels from the top:
//   Hover(x, y) ... Press(x, y), Drag(x, y) ..., Release(true)
// and CountMove() on every mouse move, whatever the button.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "model/scene.h"
#include "sculpt/brush_dispatch.h"
#include "sculpt/screen_grid.h"
#include "sculpt/sketch_strokes.h"
#include "sculpt/stroke_projection.h"
#include "sculpt/tool_state.h"

// What follows the stroke's changes of the mesh outside it.
class StrokeSink {
 public:
  virtual ~StrokeSink() = default;
  // Undo snapshots of the current element: at the press (before the stroke
  // changes anything; `pickedVertex` marks the pending change) and at the release.
  virtual void SnapshotAtPress(int32_t /*pickedVertex*/) {}
  virtual void SnapshotAtRelease() {}
  // The footprints' positions (or, with `colors`, their colours) changed.
  virtual void FootprintsChanged(const TBrushFrame& /*frame*/, bool /*colors*/) {}
  virtual void NormalChanged(int32_t /*vertex*/, const TGLCoord& /*normal*/) {}
  // Grab moved the footprints kept from the press: every position changed.
  virtual void GeometryChanged() {}
  virtual void Redraw() {}
  // Sketch mode: appends a sketch sphere of diameter `size` at `position`;
  // false when it could not be added.
  virtual bool AddSketchSphere(const TGLCoord& /*position*/, float /*size*/) { return false; }
  // A left stroke in sketch mode ended; `beganOverModel` when its press
  // picked a vertex.
  virtual void SketchStrokeEnded(bool /*beganOverModel*/) {}
};

struct TStrokeState {
  TBrushFrame frame;  // both footprints and the settings of the last application
  int32_t sculptMode = kSculptAdd;
  int32_t brushSign = +1;
  TPaintState paint;
  float brushWindow = 0;  // half side of the candidate window, pixels
  int32_t pickedVertex = -1, mirrorPickedVertex = -1;
  TGLCoord cursorPoint, mirrorCursorPoint;
  TScreenPoint cursorScreen, mirrorCursorScreen;
  int32_t grabVertex = -1, grabMirrorVertex = -1;
  TGLCoord grabStart, grabCurrent;
  int moveCounter = 0;
  bool strokeOnSurface = false;
  int normalTriangles = 0;  // of the last footprint normal update

  // Sketch mode: the left stroke under way, the coordinate its spheres keep
  // (from the vertex picked at the press), and whether it added spheres.
  bool sketchStroke = false;
  TSketchAxis sketchAxis = TSketchAxis::None;
  float sketchDepth = 0;
  bool sketchAdded = false;
  bool sketchFailed = false;  // a sphere could not be added: no more this stroke

  TScreenGrid grid, mirrorGrid;
  bool gridsStale = true;  // rebuilt before the next lookup
  std::vector<int32_t> directCandidates, mirrorCandidates;
};

class TStroke {
 public:
  // The stroke works on the current element of `scene` with the brush and
  // modes as they are at each call.
  TStroke(TScene& scene, const TBrushSettings& brush, const TToolModes& modes, StrokeProjection& view,
          StrokeSink& sink);

  TStrokeState& state() { return state_; }
  const TStrokeState& state() const { return state_; }
  // The element counts before each sketch stroke that added spheres.
  TSketchGroups& sketchGroups() { return sketchGroups_; }

  void CountMove() { ++state_.moveCounter; }

  // A move without a button: picks the vertex under the cursor (the rotate
  // handle's grid in rotate mode) and, when `markPicked`, marks it touched
  // unless it is frozen or mask painting is on. Returns the picked vertex.
  int32_t Hover(int x, int y, bool markPicked);

  // The left press: the stroke starts on the surface when the last hover
  // picked a vertex, which asks for a snapshot; brushes that act at the press
  // (and a colour capture, which only picks) run once there.
  void Press(int x, int y);

  // A left drag: the brush once at the cursor point, or the Grab drag; the
  // touched normals, a redraw every third move. In sketch mode the drag picks
  // only and drops a pair of spheres at the cursor point instead.
  void Drag(int x, int y);

  // The release of any button: after a left or right drag (`afterDrag`) the
  // adjacency and the grids are rebuilt; outside paint mode a snapshot is
  // asked for, except after a sketch stroke that added spheres.
  void Release(bool afterDrag);

  // Both screen grids from a fresh frame, or marked stale while there is none.
  void RebuildScreenGrids();
  // The candidate window after the radius or the zoom changed.
  void UpdateBrushWindow();

  // The tool a left drag applies now: the brush, mask or vertex painting.
  TBrushTool CurrentTool() const;

 private:
  bool ReadCursorPoint(int x, int y);
  int32_t ApplyBrushAt(bool hoverOnly);
  void GatherCandidates();
  void ActAtPress(int x, int y);
  bool GrabBrushActive() const;
  bool GrabDragActive() const;
  void DragGrab(int x, int y);
  void TrackGrab();
  void UpdateStrokeNormals();
  bool InCurrentElement(int32_t vertex) const;
  void StartSketchStroke();
  void DropSketchSpheres();

  TScene& scene_;
  const TBrushSettings& brush_;
  const TToolModes& modes_;
  StrokeProjection& view_;
  StrokeSink& sink_;
  TStrokeState state_;
  TSketchGroups sketchGroups_;
};
