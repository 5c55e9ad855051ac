#pragma once

#include "toolkit/graphics/Geometry.h"

#include <optional>

// The part of the screen that windows may take, in screen pixels: what the
// window manager leaves free of panels and docks (its _NET_WORKAREA for the
// current desktop), else the whole screen; none without an X display.
std::optional<TRect> ScreenWorkArea();

// The largest factor from 1 to factor at which a window of size (logical
// pixels) fits within area (screen pixels); 1 when none does.
int LargestFittingFactor(int factor, TSize size, TSize area);
