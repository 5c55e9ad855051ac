#pragma once

#include "toolkit/graphics/Geometry.h"
#include "toolkit/windowing/Input.h"

#include <cstdint>
#include <optional>

class TForm;

// Moving a borderless window with the left button held on one of its
// surfaces: each handler of a drag surface is one call (the press handler
// registered with TForm::RegisterDragHandler). The pressed control keeps
// the mouse, and as the control moves with the window, the point under the
// pointer stays the one that was pressed, to the screen pixel at every
// scale. Where the desktop moves windows itself, the press on a drag
// surface goes to the desktop instead, and none of this runs.
struct TWindowDrag {
    bool Dragging = false;
    // Where the left button went down, in the pressed control's coordinates.
    std::int32_t DragX = 0;
    std::int32_t DragY = 0;

    // Only the left button starts a drag.
    void MouseDown(TMouseButton button, int x, int y);
    // Moves window by the pointer's way since the press: its left edge
    // first, then its top edge, as two changes.
    void MouseMove(TForm& window, int x, int y);
    // Any button ends the drag.
    void MouseUp() { Dragging = false; }

private:
    // Screen pixels from the window's corner to the pressed point, when the
    // platform told where the pointer was.
    std::optional<TPoint> grab_;
};
