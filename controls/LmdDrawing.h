#pragma once

#include "controls/LmdCaption.h"
#include "toolkit/graphics/Canvas.h"
#include "toolkit/graphics/Font.h"

#include <string>
#include <string_view>

// The drawing and measuring routines of the effect label.

// Captions are drawn and measured with their first 255 bytes only.
inline constexpr std::size_t MaxCaptionLength = 255;
std::string_view CaptionPart(std::string_view caption);

// Draws text in the passes of fx's Style, each pass moving the origin d
// pixels right and d down before it draws. With Angle 0 each pass lays the
// text out with DrawText and the DT_ options in the moved origin rectangle;
// otherwise the canvas font turns by Angle and each pass draws one line,
// its first character cell's top-left corner at the origin's corner,
// clipped to clip. The text's own pass is drawn in textColor.
void DrawFx(std::string_view text, TCanvas& canvas, const TLMDFxCaption& fx, TColor textColor, unsigned options,
    const TRect& clip, TRect origin);

// The size a caption needs: r keeps its top-left corner (0, 0 in use) and
// gets its extent, with room for the effect and the frame. Horizontal text
// is measured as DrawText lays it out (wrapped at r's width when
// multiLine) and PosX/PosY become 0; rotated text is measured as one line
// and PosX/PosY are set so that it turns about the middle of its box. Both
// go through fx's setters.
void CalcCaptionRect(TRect& r, std::string_view text, TLMDFxCaption& fx, const TFont& font, bool multiLine,
    bool showAccelChar, int bevelExtent);

// Grows r's right and bottom by the room the copies of the text and a frame
// of bevelExtent pixels take.
void AddFxExtent(TRect& r, const TLMD3DCaption& fx, int bevelExtent);

// The bounding box of r turned angle degrees about its centre, moved to the
// origin; angle 0 leaves r as it is.
void RotateRect(TRect& r, int angle);

// Empty or spaces only; a tab is not blank.
bool IsBlank(std::string_view s);

// Whether the face can be drawn rotated.
bool IsTrueTypeFont(const std::string& faceName);
