#pragma once

#include "toolkit/graphics/Bitmap.h"
#include "tools/skinpainter/Plates.h"

#include <memory>

namespace skin {

enum class Transport { Rewind, Stop, FastForward };

// A 30 by 30 transport button at 24 bits: a bevelled plate like the song
// buttons' with a golden rewind, stop or fast-forward mark.
std::unique_ptr<TBitmap> PaintTransportButton(Transport kind, ButtonLook look);

// The 85 by 30 options button at 24 bits, lettered "Options".
std::unique_ptr<TBitmap> PaintOptionsButton(ButtonLook look);

} // namespace skin
