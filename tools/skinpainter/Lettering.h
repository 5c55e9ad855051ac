#pragma once

// Text on the skin: the disc's one face, bold, with a drop shadow or an
// engraved edge, placed by the middle of its capitals.

#include "toolkit/graphics/Canvas.h"

#include <string>
#include <string_view>

namespace skin {

// The face every picture of the skin is lettered in.
inline constexpr const char* FaceName = "Arial";

// Sets the canvas font: the face at em height pixels, bold, and a clear
// brush so that text draws over the picture.
void UseFont(TCanvas& canvas, int pixels, bool bold = true);

// The top of the character cell that puts the middle of the capitals on
// row centreY.
int CellTopForCentre(const TCanvas& canvas, double centreY);

// Text with its shadow one pixel down and to the right; a light "shadow"
// under dark text makes it look cut into the surface.
void ShadowedText(TCanvas& canvas, int x, int y, std::string_view text, TPixel colour, TPixel shadow);

// The largest em height from largest down to smallest at which text fits in
// width pixels; smallest when none does.
int FittingSize(TCanvas& canvas, std::string_view text, int width, int largest, int smallest, bool bold = true);

// text as it is when it fits in width pixels in the canvas font; otherwise
// as much of its beginning as fits with "..." after it.
std::string Shortened(const TCanvas& canvas, std::string text, int width);

} // namespace skin
