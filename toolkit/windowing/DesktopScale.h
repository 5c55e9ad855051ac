#pragma once

#include "toolkit/graphics/Geometry.h"

#include <optional>

// Whole-number scaling for high-density screens. Windows, controls and the
// pointer all work in logical pixels; the screen shows each logical pixel
// as a square block of Factor by Factor screen pixels, and the desktop's
// origin is the same in both.
struct TDesktopScale {
    static constexpr int MaxFactor = 4;
    static constexpr bool Allows(int factor) { return factor >= 1 && factor <= MaxFactor; }

    int Factor = 1; // 1..MaxFactor

    constexpr TPoint ToScreen(TPoint p) const { return {p.X * Factor, p.Y * Factor}; }
    constexpr TRect ToScreen(const TRect& r) const
    {
        return {r.Left * Factor, r.Top * Factor, r.Right * Factor, r.Bottom * Factor};
    }
    // The logical pixel holding a screen pixel, also left of and above the
    // origin (where plain division would round towards it).
    constexpr TPoint FromScreen(TPoint p) const { return {FloorDivide(p.X), FloorDivide(p.Y)}; }
    // Where inside its logical pixel a screen pixel lies: 0..Factor-1 each
    // way, from the pixel's top left.
    constexpr TPoint WithinPixel(TPoint p) const { return p - ToScreen(FromScreen(p)); }

    friend constexpr bool operator==(TDesktopScale, TDesktopScale) = default;

private:
    constexpr int FloorDivide(int value) const
    {
        return value >= 0 ? value / Factor : -((-value + Factor - 1) / Factor);
    }
};

// The factor for a screen: the one asked for when it lies in 1..4, else
// one per whole 96 dots per inch of the screen (2 at 192 dpi), within 1..4.
TDesktopScale ScaleFor(std::optional<int> requested, int dotsPerInch);

// The largest factor from 1 to factor at which a window of size (logical
// pixels) fits within area (screen pixels); 1 when none does.
int LargestFittingFactor(int factor, TSize size, TSize area);
