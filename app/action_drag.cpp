#include "app/action_drag.h"

#include "profile/action_tiles.h"
#include "profile/profile_state.h"
#include "profile/wheel_controls.h"

DragState Drag;

namespace {

// A label dropped this low lies on the bottom bar and is thrown away.
constexpr int kBottomBarTop = 464;
constexpr float kFullAlpha = 1.0f;

void EmptyControl(int control) {
  ControlActions[control] = kNoAction;
  PlaceLabel(control, kNoAction);
}

}  // namespace

bool StartDrag(int x, int y) {
  int action = FindPaletteTileAt(x, y);
  const bool fromPalette = action != kNoAction;
  int source = kNoControl;
  if (!fromPalette) {
    source = FindLabelAt(x, y);
    if (source == kNoControl) return false;
    action = ControlActions[source];
  }
  const ActionTile* tile = FindActionTile(action);
  if (tile == nullptr) return false;
  Drag.fromPalette = fromPalette;
  Drag.sourceControl = source;
  Drag.action = action;
  Drag.floatingTile = UIImage(tile->sprite, ALIGN_HCENTER | ALIGN_VCENTER);
  Drag.floatingTile.alpha = kFullAlpha;
  Drag.floatingTile.Resize(tile->w, tile->h);
  Drag.floatingTile.Place(x, y);
  Drag.active = true;
  return true;
}

void MoveDrag(int x, int y) {
  Drag.floatingTile.Place(x, y);
}

void DropDrag(int x, int y) {
  if (!Drag.active) return;
  Drag.active = false;
  const int target = FindControlAt(x, y);
  if (target != kNoControl) {
    int dropped = Drag.action;
    if (!Drag.fromPalette) {
      dropped = ControlActions[Drag.sourceControl];
      EmptyControl(Drag.sourceControl);
    }
    ControlActions[target] = dropped;
    PlaceLabel(target, dropped);
  } else if (y >= kBottomBarTop && !Drag.fromPalette) {
    EmptyControl(Drag.sourceControl);
  }
}

void CancelDrag() {
  Drag.active = false;
}

void DrawDraggedTile() {
  if (Drag.active) Drag.floatingTile.Draw(kFullAlpha);
}
