#pragma once

#include "toolkit/graphics/Bitmap.h"
#include "tools/skinpainter/Plates.h"

#include <memory>
#include <string>
#include <vector>

namespace skin {

inline constexpr int SongButtonWidth = 209;
inline constexpr int SongButtonHeight = 40;

// The em height in pixels, 10..15, at which the titles are lettered: the
// largest at which every one of them fits its button.
int TitlePixels(const std::vector<std::string>& titles);

// One song button, 209 by 40 at 24 bits, for song n (1..5) with its title
// lettered titlePixels high.
//
// The five buttons stand as a staircase, each 40 pixels lower and 30 further
// left than the one before. Each paints a plate slanted by that same step,
// so the five plates join edge to edge into one diagonal band, and the
// golden number tabs at their left ends run down it as one stripe. The
// plate lies on a dark tile that fills the rest of the rectangle, since the
// whole rectangle is the button: the corners either side of the slant start
// the song too, and a drag from there moves nothing.
std::unique_ptr<TBitmap> PaintSongButton(int n, const std::string& title, int titlePixels, ButtonLook look);

} // namespace skin
