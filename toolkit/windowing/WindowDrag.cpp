#include "toolkit/windowing/WindowDrag.h"

#include "toolkit/windowing/Form.h"

void TWindowDrag::MouseDown(TMouseButton button, int x, int y)
{
    if (button != TMouseButton::mbLeft)
        return;
    Dragging = true;
    DragX = x;
    DragY = y;
}

void TWindowDrag::MouseMove(TForm& window, int x, int y)
{
    if (!Dragging)
        return;
    // Both edges are read first.
    const int left = window.Left();
    const int top = window.Top();
    window.SetLeft(left + (x - DragX));
    window.SetTop(top + (y - DragY));
}
