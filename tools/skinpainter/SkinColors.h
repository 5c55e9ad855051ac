#pragma once

// The colours the whole skin is painted in, and the palettes its paletted
// pictures are stored with.

#include "toolkit/graphics/Color.h"
#include "toolkit/graphics/Pixmap.h"

#include <span>
#include <vector>

namespace skin {

// The accent of the disc: the info caption, the gauge bar, the rims.
inline constexpr TPixel Gold = MakeColor(255, 199, 28);
inline constexpr TPixel SkyBlue = MakeColor(0, 176, 255);
inline constexpr TPixel Navy = MakeColor(0, 0, 128);
inline constexpr TPixel Black = MakeColor(0, 0, 0);
inline constexpr TPixel White = MakeColor(255, 255, 255);
// Gold at its darkest and at its palest, the ends of the gold ramp.
inline constexpr TPixel Bronze = MakeColor(110, 76, 8);
inline constexpr TPixel Cream = MakeColor(255, 246, 214);
// The blue-grey of the plates, at full light.
inline constexpr TPixel Slate = MakeColor(84, 92, 120);
// The warm plate of a song that plays, at full light.
inline constexpr TPixel Amber = MakeColor(176, 124, 22);

// a at t = 0, b at t = 1 (t is clamped), each channel rounded.
TPixel Mix(TPixel a, TPixel b, double t);
// a scaled towards black: 0 gives black, 1 gives a.
TPixel Shade(TPixel a, double light);
constexpr TColor AsColor(TPixel p)
{
    return static_cast<TColor>(p);
}

// The 256 colours of every 8-bit picture of the skin: smooth ramps from
// black through the plate, amber, gold and sky colours, a grey ramp, and
// then, in the entries left, the colours of the given pictures that the
// ramps match worst (counting how often each occurs). The same pictures
// always give the same palette.
std::vector<TPixel> EightBitPalette(std::span<const TPixmap* const> pictures);

} // namespace skin
