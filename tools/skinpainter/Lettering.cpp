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
    canvas.TextOut(x + 1, y + 1, text);
    canvas.Font().SetColor(AsColor(colour));
    canvas.TextOut(x, y, text);
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

} // namespace skin
