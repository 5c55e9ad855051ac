#include "tools/skinpainter/ControlButtons.h"

#include "tools/skinpainter/Lettering.h"
#include "tools/skinpainter/Shapes.h"
#include "tools/skinpainter/SkinColors.h"

#include <algorithm>
#include <cmath>

namespace skin {

namespace {

constexpr double CornerRadius = 6;

struct Look {
    Material Plate;
    TPixel Mark;      // the glyph or the lettering
    TPixel MarkLight; // the top of a glyph's gradient
    int Shift;        // pixels the content moves right and down
};

Look LookOf(ButtonLook look, int height)
{
    Look l{};
    l.Plate = PlateMaterial(look, height);
    if (look == ButtonLook::Down) {
        l.Mark = MakeColor(255, 226, 110);
        l.MarkLight = Cream;
        l.Shift = 1;
    } else {
        l.Mark = Gold;
        l.MarkLight = MakeColor(255, 236, 150);
    }
    return l;
}

std::unique_ptr<TBitmap> PaintPlate(int width, int height, const Look& look)
{
    auto bitmap = std::make_unique<TBitmap>(width, height);
    TCanvas& canvas = bitmap->Canvas();
    canvas.Brush = {clBlack, TBrushStyle::bsSolid};
    canvas.FillRect({0, 0, width, height});
    PaintShape(canvas, {0, 0, width, height}, RoundedRect(0, 0, width, height, CornerRadius), look.Plate);
    return bitmap;
}

// A glyph part with a shadow under it and a light-to-gold gradient.
void PaintMarkShape(TCanvas& canvas, const Shape& shape, double top, double bottom, const Look& look)
{
    const TRect all{0, 0, 30, 30};
    Shape shadow = [shape](double x, double y) { return shape(x - 1, y - 1); };
    PaintShape(canvas, all, shadow, Flat(Black));
    PaintShape(
        canvas, all, shape, Flat([=](double y) { return Mix(look.MarkLight, look.Mark, (y - top) / (bottom - top)); }));
}

// Two triangles nose to tail; pointing left for rewind.
void PaintDoubleArrow(TCanvas& canvas, bool left, const Look& look)
{
    const double cy = 15 + look.Shift;
    const double s = look.Shift;
    for (double base : {6.5, 14.5}) {
        double x0 = base + s;
        Shape arrow = left ? ConvexPolygon({{x0 + 9, cy - 6}, {x0 + 9, cy + 6}, {x0, cy}})
                           : ConvexPolygon({{x0, cy - 6}, {x0 + 9, cy}, {x0, cy + 6}});
        PaintMarkShape(canvas, arrow, cy - 6, cy + 6, look);
    }
}

} // namespace

std::unique_ptr<TBitmap> PaintTransportButton(Transport kind, ButtonLook look)
{
    const Look l = LookOf(look, 30);
    auto bitmap = PaintPlate(30, 30, l);
    TCanvas& canvas = bitmap->Canvas();
    const double s = l.Shift;
    switch (kind) {
    case Transport::Rewind: PaintDoubleArrow(canvas, true, l); break;
    case Transport::FastForward: PaintDoubleArrow(canvas, false, l); break;
    case Transport::Stop:
        PaintMarkShape(canvas, RoundedRect(9.5 + s, 9.5 + s, 20.5 + s, 20.5 + s, 1.0), 9.5 + s, 20.5 + s, l);
        break;
    }
    return bitmap;
}

std::unique_ptr<TBitmap> PaintOptionsButton(ButtonLook look)
{
    const Look l = LookOf(look, 30);
    auto bitmap = PaintPlate(85, 30, l);
    TCanvas& canvas = bitmap->Canvas();
    const char* word = "Options";
    UseFont(canvas, 15);
    const int x = static_cast<int>(std::lround((85 - canvas.TextWidth(word)) / 2.0)) + l.Shift;
    ShadowedText(canvas, x, CellTopForCentre(canvas, 15) + l.Shift, word, l.Mark, Black);
    return bitmap;
}

} // namespace skin
