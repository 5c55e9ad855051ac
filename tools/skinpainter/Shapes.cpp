#include "tools/skinpainter/Shapes.h"

#include "tools/skinpainter/SkinColors.h"

#include <algorithm>
#include <cmath>

namespace skin {

namespace {

// Where the light comes from: up and to the left.
constexpr Point2 Light{-0.6, -0.8};

double Clamp01(double v)
{
    return std::clamp(v, 0.0, 1.0);
}

TPixel RimColour(const Shape& shape, const Material& material, double x, double y)
{
    const double e = 0.5;
    double nx = shape(x + e, y) - shape(x - e, y);
    double ny = shape(x, y + e) - shape(x, y - e);
    double length = std::hypot(nx, ny);
    double facing = length > 0 ? (nx * Light.X + ny * Light.Y) / length : 0;
    return Mix(material.RimShade, material.RimLit, Clamp01(0.5 + 0.75 * facing));
}

// The colour at depth (pixels inside the edge), before blending the edge.
TPixel ColourAt(const Shape& shape, const Material& material, double x, double y, double depth, TPixel face)
{
    if (material.Rim <= 0 && material.GrooveWidth <= 0)
        return face;
    TPixel c = material.Rim > 0 ? RimColour(shape, material, x, y) : material.Groove;
    if (material.GrooveWidth > 0 && material.Rim > 0)
        c = Mix(c, material.Groove, Clamp01(depth - material.Rim + 0.5));
    return Mix(c, face, Clamp01(depth - material.Rim - material.GrooveWidth + 0.5));
}

} // namespace

Shape ConvexPolygon(std::vector<Point2> corners)
{
    struct Edge {
        Point2 From;
        Point2 Normal; // outward, unit length
    };
    std::vector<Edge> edges;
    for (std::size_t i = 0; i < corners.size(); ++i) {
        Point2 a = corners[i];
        Point2 b = corners[(i + 1) % corners.size()];
        double dx = b.X - a.X;
        double dy = b.Y - a.Y;
        double length = std::hypot(dx, dy);
        if (length > 0)
            edges.push_back({a, {dy / length, -dx / length}});
    }
    return [edges](double x, double y) {
        double d = -1e9;
        for (const Edge& edge : edges)
            d = std::max(d, (x - edge.From.X) * edge.Normal.X + (y - edge.From.Y) * edge.Normal.Y);
        return d;
    };
}

Shape RoundedRect(double left, double top, double right, double bottom, double radius)
{
    const double cx = (left + right) / 2;
    const double cy = (top + bottom) / 2;
    const double hx = (right - left) / 2 - radius;
    const double hy = (bottom - top) / 2 - radius;
    return [=](double x, double y) {
        double qx = std::abs(x - cx) - hx;
        double qy = std::abs(y - cy) - hy;
        double outside = std::hypot(std::max(qx, 0.0), std::max(qy, 0.0));
        return outside + std::min(std::max(qx, qy), 0.0) - radius;
    };
}

Shape Circle(double centreX, double centreY, double radius)
{
    return [=](double x, double y) { return std::hypot(x - centreX, y - centreY) - radius; };
}

Material Flat(std::function<TPixel(double y)> face)
{
    Material m;
    m.Face = std::move(face);
    return m;
}

Material Flat(TPixel colour)
{
    return Flat([colour](double) { return colour; });
}

void PaintShape(TCanvas& canvas, const TRect& bounds, const Shape& shape, const Material& material)
{
    const double solid = material.Rim + material.GrooveWidth + 0.5;
    const TBrush savedBrush = canvas.Brush;
    for (int y = bounds.Top; y < bounds.Bottom; ++y) {
        const double cy = y + 0.5;
        const TPixel face = material.Face(cy);
        int first = bounds.Right;
        int last = bounds.Left - 1;
        for (int x = bounds.Left; x < bounds.Right; ++x)
            if (-shape(x + 0.5, cy) >= solid) {
                first = std::min(first, x);
                last = x;
            }
        if (first <= last) {
            canvas.Brush = {AsColor(face), TBrushStyle::bsSolid};
            canvas.FillRect({first, y, last + 1, y + 1});
        }
        for (int x = bounds.Left; x < bounds.Right; ++x) {
            if (x >= first && x <= last)
                continue;
            const double cx = x + 0.5;
            const double depth = -shape(cx, cy);
            const double coverage = Clamp01(depth + 0.5);
            if (coverage <= 0)
                continue;
            TPixel colour = ColourAt(shape, material, cx, cy, depth, face);
            if (coverage < 1) {
                TColor under = canvas.Pixel(x, y);
                if (under < 0)
                    continue;
                colour = Mix(static_cast<TPixel>(under), colour, coverage);
            }
            canvas.SetPixel(x, y, AsColor(colour));
        }
    }
    canvas.Brush = savedBrush;
}

void PaintGlow(TCanvas& canvas, const TRect& bounds, Point2 centre, double radius, TPixel colour, const Shape& within,
    double inset)
{
    for (int y = bounds.Top; y < bounds.Bottom; ++y)
        for (int x = bounds.Left; x < bounds.Right; ++x) {
            const double cx = x + 0.5;
            const double cy = y + 0.5;
            const double fade = 1.0 - std::hypot(cx - centre.X, cy - centre.Y) / radius;
            if (fade <= 0 || -within(cx, cy) < inset)
                continue;
            TColor under = canvas.Pixel(x, y);
            if (under >= 0)
                canvas.SetPixel(x, y, AsColor(Mix(static_cast<TPixel>(under), colour, std::pow(fade, 1.5))));
        }
}

} // namespace skin
