#include "toolkit/windowing/WindowDrag.h"

#include "toolkit/windowing/Application.h"
#include "toolkit/windowing/Form.h"

void TWindowDrag::MouseDown(TMouseButton button, int x, int y)
{
    if (button != TMouseButton::mbLeft)
        return;
    Dragging = true;
    DragX = x;
    DragY = y;
    const std::optional<TScreenPointer> pointer = Application().Platform().Pointer();
    grab_ = pointer ? std::optional<TPoint>(pointer->InWindow) : std::nullopt;
}

void TWindowDrag::MouseMove(TForm& window, int x, int y)
{
    if (!Dragging)
        return;
    // Both edges are read first.
    const int left = window.Left();
    const int top = window.Top();
    TPoint corner{left + (x - DragX), top + (y - DragY)};
    // Above scale 1 the logical pixels under the pointer are blocks of
    // screen pixels, and following them would leave up to a block's error
    // on every drag: the window goes where the pointer is, less the screen
    // pixels from its corner to where it was pressed.
    const std::optional<TScreenPointer> pointer = Application().Platform().Pointer();
    if (grab_ && pointer && window.PlatformWindow())
        corner = window.PlatformWindow()->PlaceCorner(pointer->OnScreen - *grab_);
    window.SetLeft(corner.X);
    window.SetTop(corner.Y);
}
