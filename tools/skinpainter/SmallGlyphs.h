#pragma once

// The small pictures: the two window-button glyphs, the spin arrows and the
// frames of the twinkling star.

#include "toolkit/graphics/Bitmap.h"

#include <memory>

namespace skin {

// 7 by 7 at 4 bits, black on white (white is drawn transparent): a triangle
// pointing down, and a cross.
std::unique_ptr<TBitmap> PaintMinimizeGlyph();
std::unique_ptr<TBitmap> PaintCloseGlyph();

// 9 by 6: a black triangle pointing up or down on a background colour that
// the spin button draws transparent, at the given depth.
std::unique_ptr<TBitmap> PaintSpinGlyph(bool up, TPixel background, TPixelFormat format);

// Frame n (0..7) of the star, 9 by 9 at 4 bits: frame 0 all black, then a
// four-pointed sparkle that grows larger and brighter up to frame 7.
std::unique_ptr<TBitmap> PaintStar(int frame);

} // namespace skin
