#pragma once

#include "toolkit/graphics/Bitmap.h"

#include <memory>

namespace skin {

// The ornament under the info caption, 58 by 53 at 4 bits: a music disc
// with a golden label, its grooves catching a sky-blue sheen and a glint
// on the rim.
std::unique_ptr<TBitmap> PaintOrnament();

} // namespace skin
