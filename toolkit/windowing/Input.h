#pragma once

#include "toolkit/graphics/Object.h"

#include <cstdint>
#include <functional>

enum class TMouseButton : std::uint8_t { mbLeft, mbRight, mbMiddle };

// Keys and mouse buttons held down while an event happened.
enum TShiftFlag : std::uint8_t {
    ssShift = 1 << 0,
    ssAlt = 1 << 1,
    ssCtrl = 1 << 2,
    ssLeft = 1 << 3,
    ssRight = 1 << 4,
    ssMiddle = 1 << 5,
};
using TShiftState = std::uint8_t;

// Mouse position X, Y in the coordinates of the control that raised the event.
using TMouseEvent = std::function<void(TObject* sender, TMouseButton button, TShiftState shift, int x, int y)>;
// A press handler that moves its window (TForm::RegisterDragHandler makes
// them), told apart from other press handlers by its type.
struct TWindowDragPress {
    TMouseEvent Press;
    void operator()(TObject* sender, TMouseButton button, TShiftState shift, int x, int y) const
    {
        Press(sender, button, shift, x, y);
    }
};
using TMouseMoveEvent = std::function<void(TObject* sender, TShiftState shift, int x, int y)>;
// key is a virtual key code; a handler that takes the key sets it to 0.
using TKeyEvent = std::function<void(TObject* sender, std::uint16_t& key, TShiftState shift)>;
// notches: turned away from the user (up) positive, towards the user negative.
using TMouseWheelEvent = std::function<void(TObject* sender, int notches, TShiftState shift)>;
