#include "tools/skinpainter/Lettering.h"

#include "tools/skinpainter/SkinColors.h"

#include <cmath>

namespace skin {

void UseFont(TCanvas& canvas, int pixels, bool bold)
{
    TFont& font = canvas.Font();
    font.SetName(FaceName);
    font.SetHeight(-pixels);
    font.SetStyle(bold ? fsBold : 0);
    font.SetEscapement(0);
    canvas.Brush.Style = TBrushStyle::bsClear;
}

int CellTopForCentre(const TCanvas& canvas, double centreY)
{
    TTextMetric m = canvas.TextMetrics();
    // Capitals reach from about the internal leading to the baseline.
    return static_cast<int>(std::lround(centreY - (m.InternalLeading + m.Ascent) / 2.0));
}

void ShadowedText(TCanvas& canvas, int x, int y, std::string_view text, TPixel colour, TPixel shadow)
{
    canvas.Font().SetColor(AsColor(shadow));
    canvas.WriteText(x + 1, y + 1, text);
    canvas.Font().SetColor(AsColor(colour));
    canvas.WriteText(x, y, text);
}

int FittingSize(TCanvas& canvas, std::string_view text, int width, int largest, int smallest, bool bold)
{
    for (int size = largest; size > smallest; --size) {
        UseFont(canvas, size, bold);
        if (canvas.TextWidth(text) <= width)
            return size;
    }
    UseFont(canvas, smallest, bold);
    return smallest;
}

std::string Shortened(const TCanvas& canvas, std::string text, int width)
{
    if (canvas.TextWidth(text) <= width)
        return text;
    while (!text.empty() && canvas.TextWidth(text + "...") > width) {
        // Drop a whole UTF-8 character: its continuation bytes, then its lead.
        while (text.size() > 1 && (static_cast<unsigned char>(text.back()) & 0xC0) == 0x80)
            text.pop_back();
        text.pop_back();
    }
    while (!text.empty() && text.back() == ' ')
        text.pop_back();
    return text + "...";
}

} // namespace skin
