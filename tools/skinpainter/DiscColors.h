#pragma once

// The colours of the disc in the ornament, which the program's icon paints
// again at its own sizes.

#include "toolkit/graphics/Color.h"

namespace skin::disc_colors {

inline constexpr TPixel Body = RGB(18, 20, 26);
inline constexpr TPixel Groove = RGB(42, 46, 58);
inline constexpr TPixel Rim = RGB(112, 118, 136);
inline constexpr TPixel RimShadow = RGB(60, 64, 78);
inline constexpr TPixel SheenDark = RGB(22, 54, 88);
inline constexpr TPixel Sheen = RGB(36, 92, 140);
inline constexpr TPixel SheenBright = RGB(62, 132, 188);
inline constexpr TPixel GoldDark = RGB(196, 138, 14);
inline constexpr TPixel GoldLight = RGB(255, 226, 120);
inline constexpr TPixel LabelRing = RGB(150, 100, 8);
inline constexpr TPixel SkyLight = RGB(150, 218, 255);

} // namespace skin::disc_colors
