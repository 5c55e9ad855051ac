#include "controls/Gauges.h"

#include "toolkit/graphics/Exceptions.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <string>

// The gauge's drawing: every kind goes onto a black overlay that is XORed
// into a black image, the percentage text likewise, and the image reaches
// the screen in one copy, so no intermediate state ever shows.

namespace {

void ClearToBlack(TBitmap& bitmap)
{
    TCanvas& canvas = bitmap.Canvas();
    canvas.Brush = {clBlack, TBrushStyle::bsSolid};
    canvas.FillRect({0, 0, bitmap.Width(), bitmap.Height()});
}

void XorInto(TBitmap& image, const TBitmap& overlay)
{
    image.Canvas().CopyMode = TCopyMode::cmSrcInvert;
    image.Canvas().Draw(0, 0, overlay);
    image.Canvas().CopyMode = TCopyMode::cmSrcCopy;
}

// Halves go to the even neighbour (the default rounding mode).
int Round(double value)
{
    return static_cast<int>(std::nearbyint(value));
}

} // namespace

void TBltBitmap::MakeLike(const TBitmap& pattern)
{
    SetPixelFormat(pattern.PixelFormat());
    if (pattern.PixelFormat() != TPixelFormat::pf24bit)
        SetPalette(pattern.Palette());
    SetSize(pattern.Width(), pattern.Height());
    Canvas().FillRect({0, 0, Width(), Height()});
}

void TGauge::Paint()
{
    TBitmap image;
    image.SetHeight(Height());
    image.SetWidth(Width());
    TRect r = ClientRect();
    // The frame this leaves stays black.
    if (borderStyle_ == TGaugeBorderStyle::bsSingle)
        r = r.Shrink(1);

    {
        TBltBitmap overlay;
        overlay.MakeLike(image);
        ClearToBlack(overlay);
        TCanvas& canvas = overlay.Canvas();
        switch (kind_) {
        case TGaugeKind::gkText: PaintBackground(canvas, r); break;
        case TGaugeKind::gkHorizontalBar: PaintAsBar(canvas, r, false); break;
        case TGaugeKind::gkVerticalBar: PaintAsBar(canvas, r, true); break;
        case TGaugeKind::gkPie: PaintAsPie(canvas, r); break;
        case TGaugeKind::gkNeedle: PaintAsNeedle(canvas, r); break;
        }
        XorInto(image, overlay);
    }
    if (showText_)
        PaintAsText(image, r);

    Canvas().CopyMode = TCopyMode::cmSrcCopy;
    Canvas().Draw(0, 0, image);
}

void TGauge::PaintBackground(TCanvas& canvas, const TRect& r) const
{
    canvas.Brush = {backColor_, TBrushStyle::bsSolid};
    canvas.FillRect(r);
}

void TGauge::PaintAsBar(TCanvas& canvas, const TRect& r, bool vertical) const
{
    // One more than the paint rectangle's extent: the bar's far edge.
    int w = r.Right - r.Left + 1;
    int h = r.Bottom - r.Top + 1;
    PaintBackground(canvas, r);
    canvas.Pen = {foreColor_, 1, TPenStyle::psSolid};
    canvas.Brush = {foreColor_, TBrushStyle::bsSolid};
    if (vertical) {
        // Grows upward from the bottom, at most h - 1 rows: without the
        // frame the top row never fills.
        int fill = FillSize(Percentage(), h);
        if (fill >= h)
            fill = h - 1;
        canvas.FillRect({r.Left, h - fill, w, h});
    } else {
        // The fill size is the right edge itself.
        int fill = std::min(FillSize(Percentage(), w), w);
        if (fill > 0)
            canvas.FillRect({r.Left, r.Top, fill, h});
    }
}

void TGauge::PaintAsPie(TCanvas& canvas, const TRect& r) const
{
    int w = r.Right - r.Left;
    int h = r.Bottom - r.Top;
    if (borderStyle_ == TGaugeBorderStyle::bsSingle) {
        ++w;
        ++h;
    }
    canvas.Brush = {Color(), TBrushStyle::bsSolid};
    canvas.FillRect(r);
    canvas.Brush = {backColor_, TBrushStyle::bsSolid};
    canvas.Pen = {foreColor_, 1, TPenStyle::psSolid};
    TRect bounds{r.Left, r.Top, w, h};
    canvas.Ellipse(bounds);
    int percentage = Percentage();
    if (percentage <= 0)
        return;
    canvas.Brush = {foreColor_, TBrushStyle::bsSolid};
    int mx = w / 2;
    int my = h / 2;
    // From twelve o'clock the wedge grows clockwise: it runs counter-
    // clockwise from the radial at the percentage back to the top.
    double angle = (percentage * 0.02 + 0.5) * std::numbers::pi;
    TPoint start{Round(mx * (1 - std::cos(angle))), Round(my * (1 - std::sin(angle)))};
    canvas.Pie(bounds, start, {mx, 0});
}

void TGauge::PaintAsNeedle(TCanvas& canvas, const TRect& r) const
{
    int x = r.Left;
    int y = r.Top;
    int w = r.Right - r.Left;
    int h = r.Bottom - r.Top;
    if (borderStyle_ == TGaugeBorderStyle::bsSingle) {
        ++w;
        ++h;
    }
    canvas.Brush = {Color(), TBrushStyle::bsSolid};
    canvas.FillRect(r);
    canvas.Brush = {backColor_, TBrushStyle::bsSolid};
    canvas.Pen = {foreColor_, 1, TPenStyle::psSolid};
    // The upper half of an ellipse twice as high, on a base line.
    canvas.Pie({x, y, w, 2 * h - 1}, {x + w, r.Bottom - 1}, {x, r.Bottom - 1});
    canvas.MoveTo(x, r.Bottom);
    canvas.LineTo(x + w, r.Bottom);
    int percentage = Percentage();
    if (percentage <= 0)
        return;
    canvas.Pen.Color = foreColor_;
    int mx = Width() / 2;
    double angle = percentage * 0.01 * std::numbers::pi;
    canvas.MoveTo(mx, r.Bottom - 1);
    canvas.LineTo(Round(mx * (1 - std::cos(angle))), Round((r.Bottom - 1) * (1 - std::sin(angle))));
}

void TGauge::PaintAsText(TBitmap& image, const TRect& r)
{
    TBltBitmap overlay;
    overlay.MakeLike(image);
    ClearToBlack(overlay);
    TCanvas& canvas = overlay.Canvas();
    std::string text = FormatText("%d%%", Percentage());
    canvas.Brush.Style = TBrushStyle::bsClear;
    canvas.Font().Assign(Font());
    canvas.Font().SetColor(clWhite);
    TSize extent = canvas.TextExtent(text);
    // Centred in the paint rectangle's extent but placed from the image's
    // corner, as the gauge always has.
    int x = (r.Right - r.Left + 1 - extent.Width) / 2;
    int y = (r.Bottom - r.Top + 1 - extent.Height) / 2;
    canvas.TextRect(r, x, y, text);
    // White text inverts whatever lies beneath it.
    XorInto(image, overlay);
}
