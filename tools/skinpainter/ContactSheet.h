#pragma once

#include "tools/skinpainter/SkinPainter.h"

namespace skin {

// Every picture on a mid-grey sheet with its file name under it: the song
// buttons at their own size, the smaller buttons and the ornament at twice
// theirs, the glyphs and stars at four times, each pixel a sharp square.
std::unique_ptr<TBitmap> ContactSheet(const std::vector<Picture>& pictures);

// The main window put together from the pictures, for looking at the skin
// as a whole: the black panel with its bevels, the five song buttons (song
// lockedSong 1..5 locked, 0 for none), transport and options buttons, the
// ornament, the gauge with some progress, the window buttons and a star.
std::unique_ptr<TBitmap> WindowPreview(const std::vector<Picture>& pictures, int lockedSong);

} // namespace skin
