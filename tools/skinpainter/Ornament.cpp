#include "tools/skinpainter/Ornament.h"

#include "tools/skinpainter/DiscColors.h"
#include "tools/skinpainter/SkinColors.h"

#include <cmath>
#include <numbers>

namespace skin {

namespace {

constexpr int Width = 58;
constexpr int Height = 53;

using namespace disc_colors;

// The sixteen colours of the ornament.
std::vector<TPixel> OrnamentPalette()
{
    return {Black, Body, Groove, Rim, SheenDark, Sheen, SheenBright, SkyBlue, GoldDark, Gold, GoldLight, Cream, White,
        SkyLight, LabelRing, RimShadow};
}

// A point of the ellipse in bounds at angle degrees, counter-clockwise from
// the right as seen on the screen.
TPoint OnEllipse(const TRect& bounds, double degrees)
{
    const double a = degrees * std::numbers::pi / 180;
    const double cx = (bounds.Left + bounds.Right) / 2.0;
    const double cy = (bounds.Top + bounds.Bottom) / 2.0;
    return {static_cast<int>(std::lround(cx + bounds.Width() / 2.0 * std::cos(a))),
        static_cast<int>(std::lround(cy - bounds.Height() / 2.0 * std::sin(a)))};
}

void Wedge(TCanvas& canvas, const TRect& bounds, double from, double to, TPixel colour)
{
    canvas.Pen.Style = TPenStyle::psClear;
    canvas.Brush = {AsColor(colour), TBrushStyle::bsSolid};
    canvas.Pie(bounds, OnEllipse(bounds, from), OnEllipse(bounds, to));
}

void Ring(TCanvas& canvas, const TRect& bounds, TPixel colour)
{
    canvas.Pen = {AsColor(colour), 1, TPenStyle::psSolid};
    canvas.Brush.Style = TBrushStyle::bsClear;
    canvas.Ellipse(bounds);
}

// The label: a golden gradient, drawn one row at a time through the clip.
void Label(TCanvas& canvas, const TRect& bounds)
{
    canvas.Pen.Style = TPenStyle::psClear;
    for (int y = bounds.Top; y < bounds.Bottom; ++y) {
        double t = (y - bounds.Top + 0.5) / bounds.Height();
        TPixel colour = t < 0.3 ? GoldLight : t < 0.7 ? Gold : GoldDark;
        canvas.SetClipRect({bounds.Left, y, bounds.Right, y + 1});
        canvas.Brush = {AsColor(colour), TBrushStyle::bsSolid};
        canvas.Ellipse(bounds);
    }
    canvas.ResetClip();
    Ring(canvas, bounds, LabelRing);
    Ring(canvas, bounds.Shrink(6), LabelRing);
}

void Glint(TCanvas& canvas, TPoint centre)
{
    canvas.SetPixel(centre.X, centre.Y, AsColor(White));
    for (auto [dx, dy] : {std::pair{1, 0}, {-1, 0}, {0, 1}, {0, -1}})
        canvas.SetPixel(centre.X + dx, centre.Y + dy, AsColor(SkyLight));
    for (auto [dx, dy] : {std::pair{2, 0}, {-2, 0}, {0, 2}, {0, -2}})
        canvas.SetPixel(centre.X + dx, centre.Y + dy, AsColor(Sheen));
}

} // namespace

std::unique_ptr<TBitmap> PaintOrnament()
{
    auto bitmap = std::make_unique<TBitmap>(Width, Height, TPixelFormat::pf4bit);
    bitmap->SetPalette(OrnamentPalette());
    TCanvas& canvas = bitmap->Canvas();
    canvas.Brush = {clBlack, TBrushStyle::bsSolid};
    canvas.FillRect({0, 0, Width, Height});

    const TRect disc{5, 2, 54, 51};
    canvas.Pen = {AsColor(Rim), 1, TPenStyle::psSolid};
    canvas.Brush = {AsColor(Body), TBrushStyle::bsSolid};
    canvas.Ellipse(disc);
    // The lower right of the rim lies in shadow.
    Wedge(canvas, disc, 250, 20, RimShadow);
    canvas.Brush = {AsColor(Body), TBrushStyle::bsSolid};
    canvas.Pen.Style = TPenStyle::psClear;
    canvas.Ellipse(disc.Shrink(1));

    // Light caught by the grooves, across from each other.
    for (double turn : {0.0, 180.0}) {
        Wedge(canvas, disc.Shrink(1), 100 + turn, 150 + turn, SheenDark);
        Wedge(canvas, disc.Shrink(1), 112 + turn, 136 + turn, Sheen);
        Wedge(canvas, disc.Shrink(1), 120 + turn, 128 + turn, SheenBright);
    }
    for (int inset = 4; inset <= 13; inset += 3)
        Ring(canvas, disc.Shrink(inset), Groove);

    Label(canvas, disc.Shrink(15));
    canvas.Pen.Style = TPenStyle::psClear;
    canvas.Brush = {clBlack, TBrushStyle::bsSolid};
    canvas.Ellipse(disc.Shrink(22));

    Glint(canvas, {14, 10});
    return bitmap;
}

} // namespace skin
