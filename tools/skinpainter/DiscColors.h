#pragma once

// The colours of the disc in the ornament, which the program's icon paints
// again at its own sizes.

#include "toolkit/graphics/Color.h"

namespace skin::disc_colors {

inline constexpr TPixel Body = MakeColor(18, 20, 26);
inline constexpr TPixel Groove = MakeColor(42, 46, 58);
inline constexpr TPixel Rim = MakeColor(112, 118, 136);
inline constexpr TPixel RimShadow = MakeColor(60, 64, 78);
inline constexpr TPixel SheenDark = MakeColor(22, 54, 88);
inline constexpr TPixel Sheen = MakeColor(36, 92, 140);
inline constexpr TPixel SheenBright = MakeColor(62, 132, 188);
inline constexpr TPixel GoldDark = MakeColor(196, 138, 14);
inline constexpr TPixel GoldLight = MakeColor(255, 226, 120);
inline constexpr TPixel LabelRing = MakeColor(150, 100, 8);
inline constexpr TPixel SkyLight = MakeColor(150, 218, 255);

} // namespace skin::disc_colors
