#pragma once

// What a headless window has put on screen, against what it should show.

#include "toolkit/windowing/Form.h"
#include "toolkit/windowing/HeadlessPlatform.h"

#include <gtest/gtest.h>

// Whether the screen shows over area (client pixels) exactly what painting
// the whole window afresh gives there. Painting afresh doesn't present, so
// the check leaves the screen as it was.
inline ::testing::AssertionResult ScreenShowsPainted(TForm& form, const TRect& area)
{
    THeadlessWindow* window = HeadlessWindowOf(form);
    if (!window)
        return ::testing::AssertionFailure() << "the window was never shown";
    const TPixmap& screen = window->Screen();
    if (screen.Width() != form.Width() || screen.Height() != form.Height())
        return ::testing::AssertionFailure() << "nothing of the window's size was presented";
    TPixmap painted = form.Snapshot();
    for (int y = area.Top; y < area.Bottom; ++y) {
        for (int x = area.Left; x < area.Right; ++x) {
            TPixel shown = screen.At(x, y) & 0xFFFFFF;
            TPixel want = painted.At(x, y) & 0xFFFFFF;
            if (shown != want)
                return ::testing::AssertionFailure() << "the screen shows " << std::hex << shown << " at (" << std::dec
                                                     << x << ", " << y << "), not " << std::hex << want;
        }
    }
    return ::testing::AssertionSuccess();
}

// The control's rectangle in its window's client coordinates.
inline TRect WindowRectOf(const TControl& control)
{
    return TRect::FromBounds(0, 0, control.Width(), control.Height()).Offset(control.WindowOrigin());
}
