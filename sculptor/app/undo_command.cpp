// "Undo" (Edit menu and its shortcut command): the newest geometry snapshot of
// the current element comes back.
#include "app/form_main.h"

void TFormMain::Undo1Click() {
  // Snapshots hold placed positions: an element still following the pointer
  // (its vertices held about its centre) is put down first.
  if (!scene_.elements.empty() && scene_.current().placeState != kPlaced) PutDownPlacedElement();
  // The restore rebuilds the adjacency, uploads the buffers and shows the
  // level; the picking grids follow the restored positions.
  if (undo_.RestoreSnapshot(scene_, UndoChannel::Geometry)) scene_.host->RebuildScreenGrids(scene_);
  Redraw();
}
