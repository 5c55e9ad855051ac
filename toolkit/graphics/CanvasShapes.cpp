#include "toolkit/graphics/Canvas.h"

#include <algorithm>
#include <cmath>
#include <numbers>

// Lines, frames, rectangles, ellipses and pie wedges, rasterised in software.

namespace {

struct Span {
    int X0 = 0;
    int X1 = 0; // exclusive
    bool IsEmpty() const { return X1 <= X0; }
};

Span Intersect(Span a, Span b)
{
    return {std::max(a.X0, b.X0), std::min(a.X1, b.X1)};
}

// Right- and bottom-exclusive rectangles may come with swapped sides.
TRect Normalized(TRect r)
{
    if (r.Right < r.Left)
        std::swap(r.Left, r.Right);
    if (r.Bottom < r.Top)
        std::swap(r.Top, r.Bottom);
    return r;
}

// The pixels of row y whose centres lie inside the ellipse inscribed in box.
// The pixel-centre test alone would leave the top row of a tall, thin
// ellipse (or the end columns of a flat one) empty, so the rows at the
// ends keep their middle pixels and the middle rows reach both sides.
Span EllipseRow(const TRect& box, int y)
{
    if (box.IsEmpty() || y < box.Top || y >= box.Bottom)
        return {};
    int doubledRow = 2 * y + 1 - (box.Top + box.Bottom); // twice the offset from the centre
    if (std::abs(doubledRow) <= 1)
        return {box.Left, box.Right};
    double a = box.Width() / 2.0;
    double b = box.Height() / 2.0;
    double dy = doubledRow / 2.0 / b;
    double half = a * std::sqrt(std::max(0.0, 1.0 - dy * dy));
    double cx = (box.Left + box.Right) / 2.0;
    int x0 = static_cast<int>(std::ceil(cx - half - 0.5));
    int middle = (box.Left + box.Right - 1) / 2;
    x0 = std::clamp(x0, box.Left, middle);
    return {x0, box.Left + box.Right - x0};
}

// The pixels of row y of the ellipse that have all four neighbours inside it.
Span EllipseInsideRow(const TRect& box, int y)
{
    Span row = EllipseRow(box, y);
    if (row.IsEmpty())
        return {};
    Span inside{row.X0 + 1, row.X1 - 1};
    inside = Intersect(inside, EllipseRow(box, y - 1));
    return Intersect(inside, EllipseRow(box, y + 1));
}

// The angle of a direction on the screen, counter-clockwise from three
// o'clock, in 0..2 pi.
double ScreenAngle(double dx, double dy)
{
    double angle = std::atan2(-dy, dx);
    return angle < 0 ? angle + 2 * std::numbers::pi : angle;
}

struct Sweep {
    double Start = 0; // radians
    double Extent = 2 * std::numbers::pi;

    bool Contains(double angle) const
    {
        double offset = angle - Start;
        if (offset < 0)
            offset += 2 * std::numbers::pi;
        return offset <= Extent;
    }
};

// Walks the pixels from one point to another; the end point is visited
// only when withEnd is set.
template <typename Plot>
void WalkLine(TPoint from, TPoint to, bool withEnd, Plot plot)
{
    int dx = std::abs(to.X - from.X);
    int dy = -std::abs(to.Y - from.Y);
    int sx = from.X < to.X ? 1 : -1;
    int sy = from.Y < to.Y ? 1 : -1;
    int error = dx + dy;
    TPoint p = from;
    while (p != to) {
        plot(p);
        int doubled = 2 * error;
        if (doubled >= dy) {
            error += dy;
            p.X += sx;
        }
        if (doubled <= dx) {
            error += dx;
            p.Y += sy;
        }
    }
    if (withEnd)
        plot(p);
}

bool PatternIsOn(TPenStyle style, int phase)
{
    switch (style) {
    case TPenStyle::psDash: return phase % 24 < 18;
    case TPenStyle::psDot: return phase % 6 < 3;
    case TPenStyle::psClear: return false;
    case TPenStyle::psSolid: break;
    }
    return true;
}

} // namespace

void TCanvas::PenDot(int x, int y, TPixel pixel)
{
    if (Pen.Width <= 1) {
        PutPixel(x, y, pixel);
        return;
    }
    int left = x - Pen.Width / 2 + origin_.X;
    int top = y - Pen.Width / 2 + origin_.Y;
    for (int row = top; row < top + Pen.Width; ++row)
        FillDeviceSpan(row, left, left + Pen.Width, pixel);
}

void TCanvas::PenLine(TPoint from, TPoint to, bool withEnd, int& phase)
{
    if (Pen.Style == TPenStyle::psClear)
        return;
    TPixel pixel = ColorToRGB(Pen.Color);
    bool patterned = Pen.Width <= 1 && Pen.Style != TPenStyle::psSolid;
    WalkLine(from, to, withEnd, [&](TPoint p) {
        if (!patterned || PatternIsOn(Pen.Style, phase))
            PenDot(p.X, p.Y, pixel);
        ++phase;
    });
}

void TCanvas::LineTo(int x, int y)
{
    int phase = 0;
    PenLine(penPos_, {x, y}, false, phase);
    penPos_ = {x, y};
}

void TCanvas::Polyline(std::span<const TPoint> points)
{
    int phase = 0;
    for (std::size_t i = 1; i < points.size(); ++i)
        PenLine(points[i - 1], points[i], false, phase);
}

void TCanvas::FrameRect(const TRect& r)
{
    if (Brush.Style == TBrushStyle::bsClear || r.IsEmpty())
        return;
    TPixel pixel = ColorToRGB(Brush.Color);
    TRect device = r.Offset(origin_);
    FillDeviceSpan(device.Top, device.Left, device.Right, pixel);
    FillDeviceSpan(device.Bottom - 1, device.Left, device.Right, pixel);
    for (int y = device.Top + 1; y < device.Bottom - 1; ++y) {
        FillDeviceSpan(y, device.Left, device.Left + 1, pixel);
        FillDeviceSpan(y, device.Right - 1, device.Right, pixel);
    }
}

void TCanvas::Rectangle(const TRect& r)
{
    TRect box = Normalized(r).Offset(origin_);
    int width = std::max(Pen.Width, 1);
    bool outlined = Pen.Style != TPenStyle::psClear;
    TRect outer = outlined ? box.Shrink(-(width / 2)) : box;
    TRect inside = outlined ? box.Shrink((width + 1) / 2) : box;
    if (inside.IsEmpty())
        inside = {};
    if (Brush.Style != TBrushStyle::bsClear) {
        TPixel fill = ColorToRGB(Brush.Color);
        for (int y = inside.Top; y < inside.Bottom; ++y)
            FillDeviceSpan(y, inside.Left, inside.Right, fill);
    }
    if (!outlined || outer.IsEmpty())
        return;
    TPixel pen = ColorToRGB(Pen.Color);
    for (int y = outer.Top; y < outer.Bottom; ++y) {
        if (y < inside.Top || y >= inside.Bottom) {
            FillDeviceSpan(y, outer.Left, outer.Right, pen);
        } else {
            FillDeviceSpan(y, outer.Left, inside.Left, pen);
            FillDeviceSpan(y, inside.Right, outer.Right, pen);
        }
    }
}

void TCanvas::Ellipse(const TRect& bounds)
{
    EllipticShape(bounds, nullptr, nullptr);
}

void TCanvas::Pie(const TRect& bounds, TPoint start, TPoint end)
{
    EllipticShape(bounds, &start, &end);
}

void TCanvas::EllipticShape(const TRect& bounds, const TPoint* start, const TPoint* end)
{
    TRect box = Normalized(bounds);
    if (box.IsEmpty())
        return;
    int width = std::max(Pen.Width, 1);
    bool outlined = Pen.Style != TPenStyle::psClear;
    TRect outer = outlined ? box.Shrink(-(width / 2)) : box;
    TRect ring = box.Shrink((width + 1) / 2 - 1);
    double cx = (box.Left + box.Right) / 2.0;
    double cy = (box.Top + box.Bottom) / 2.0;

    Sweep sweep;
    bool wedge = start && end;
    if (wedge) {
        sweep.Start = ScreenAngle(start->X - cx, start->Y - cy);
        double stop = ScreenAngle(end->X - cx, end->Y - cy);
        double extent = stop - sweep.Start;
        if (extent < 0)
            extent += 2 * std::numbers::pi;
        if (extent > 0)
            sweep.Extent = extent;
    }
    auto inWedge = [&](int x, int y) { return !wedge || sweep.Contains(ScreenAngle(x + 0.5 - cx, y + 0.5 - cy)); };

    // Logical pixels go through PutPixel and FillDeviceSpan, which clip and snap.
    auto paintRow = [&](int y, Span span, TPixel pixel) {
        if (span.IsEmpty())
            return;
        if (!wedge) {
            FillDeviceSpan(y + origin_.Y, span.X0 + origin_.X, span.X1 + origin_.X, pixel);
            return;
        }
        for (int x = span.X0; x < span.X1; ++x)
            if (inWedge(x, y))
                PutPixel(x, y, pixel);
    };

    bool filled = Brush.Style != TBrushStyle::bsClear;
    TPixel brush = ColorToRGB(Brush.Color);
    TPixel pen = ColorToRGB(Pen.Color);
    for (int y = outer.Top; y < outer.Bottom; ++y) {
        Span inside = outlined ? EllipseInsideRow(ring, y) : EllipseRow(box, y);
        if (filled)
            paintRow(y, inside, brush);
        if (!outlined)
            continue;
        Span all = EllipseRow(outer, y);
        if (inside.IsEmpty()) {
            paintRow(y, all, pen);
        } else {
            paintRow(y, {all.X0, inside.X0}, pen);
            paintRow(y, {inside.X1, all.X1}, pen);
        }
    }
    if (!wedge || !outlined || sweep.Extent >= 2 * std::numbers::pi)
        return;

    // The two radii run from the centre pixel to the pixel where each radial
    // leaves the ellipse.
    TPoint centre{static_cast<int>(std::floor(cx)), static_cast<int>(std::floor(cy))};
    centre.X = std::min(centre.X, box.Right - 1);
    centre.Y = std::min(centre.Y, box.Bottom - 1);
    auto rimPoint = [&](TPoint through) {
        double dx = through.X - cx;
        double dy = through.Y - cy;
        double a = box.Width() / 2.0;
        double b = box.Height() / 2.0;
        double scale = std::hypot(dx / a, dy / b);
        if (scale == 0)
            return centre;
        int y = std::clamp(static_cast<int>(std::floor(cy + dy / scale)), box.Top, box.Bottom - 1);
        Span row = EllipseRow(box, y);
        int x = std::clamp(static_cast<int>(std::floor(cx + dx / scale)), row.X0, row.X1 - 1);
        return TPoint{x, y};
    };
    TPen saved = Pen;
    Pen.Style = TPenStyle::psSolid;
    int phase = 0;
    PenLine(centre, rimPoint(*start), true, phase);
    PenLine(centre, rimPoint(*end), true, phase);
    Pen = saved;
}

void TCanvas::DrawFocusRect(const TRect& r)
{
    TRect box = Normalized(r);
    if (box.IsEmpty())
        return;
    TRect clip = DeviceClip();
    auto invert = [&](int x, int y) {
        if ((x - box.Left + y - box.Top) % 2 != 0)
            return;
        TPoint p{x + origin_.X, y + origin_.Y};
        if (!clip.Contains(p))
            return;
        TPixel pixel = target_->At(p.X, p.Y) ^ 0xFFFFFF;
        target_->At(p.X, p.Y) = palette_ ? NearestPaletteColor(pixel, *palette_) : pixel;
    };
    for (int x = box.Left; x < box.Right; ++x) {
        invert(x, box.Top);
        if (box.Bottom - 1 > box.Top)
            invert(x, box.Bottom - 1);
    }
    for (int y = box.Top + 1; y < box.Bottom - 1; ++y) {
        invert(box.Left, y);
        if (box.Right - 1 > box.Left)
            invert(box.Right - 1, y);
    }
}

void Frame3D(TCanvas& canvas, TRect& r, TColor topLeft, TColor bottomRight, int width)
{
    TCanvasSaver saver(canvas);
    canvas.Pen.Width = 1;
    canvas.Pen.Style = TPenStyle::psSolid;
    for (int ring = 0; ring < width; ++ring) {
        int x1 = r.Left;
        int y1 = r.Top;
        int x2 = r.Right - 1;
        int y2 = r.Bottom - 1;
        canvas.Pen.Color = topLeft;
        TPoint upper[] = {{x1, y2}, {x1, y1}, {x2, y1}};
        canvas.Polyline(upper);
        canvas.Pen.Color = bottomRight;
        TPoint lower[] = {{x2, y1}, {x2, y2}, {x1 - 1, y2}};
        canvas.Polyline(lower);
        r = r.Shrink(1);
    }
}
