// "Undo" (Edit menu and its shortcut command) and "Redo" (Edit menu,
// Ctrl+Shift+Z and Ctrl+Y): the current element steps back or forth through
// its geometry snapshots.
#include "app/form_main.h"

void TFormMain::Undo1Click() { StepThroughSnapshots(&UndoSnapshots::Undo); }

void TFormMain::Redo1Click() { StepThroughSnapshots(&UndoSnapshots::Redo); }

void TFormMain::StepThroughSnapshots(bool (UndoSnapshots::*step)(TScene&, UndoChannel)) {
  // Snapshots hold placed positions: an element still following the pointer
  // (its vertices held about its centre) is put down first.
  if (!scene_.elements.empty() && scene_.current().placeState != kPlaced) PutDownPlacedElement();
  // The restore rebuilds the adjacency, uploads the buffers and shows the
  // level; the picking grids follow the restored positions.
  if ((undo_.*step)(scene_, UndoChannel::Geometry)) scene_.host->RebuildScreenGrids(scene_);
  Redraw();
}
