#include "toolkit/graphics/Canvas.h"
#include "toolkit/graphics/FontEngine.h"
#include "toolkit/graphics/TextLayout.h"

#include <algorithm>
#include <cmath>
#include <numbers>

// Text on the canvas: glyph coverage from the font engine, blended in the
// font colour over the pixels already there.

namespace {

// What a line of text is drawn onto: the surface, where the logical origin
// lies on it, the palette its colours snap to, and the device rectangle
// drawing is held to.
struct TTextSurface {
    TPixmap* Pixels;
    TPoint Origin;
    const std::vector<TPixel>* Palette;
    TRect Clip;
};

// Tenths of a degree in 0..3599; bitmap faces can't turn and stay upright.
int DrawnAngle(const TFontFace& face, const TFont& font)
{
    if (!face.IsScalable())
        return 0;
    return ((font.Escapement() % 3600) + 3600) % 3600;
}

TPixel Mix(TPixel under, TPixel over, int coverage)
{
    auto channel = [&](int shift) {
        int a = static_cast<int>((under >> shift) & 0xFF);
        int b = static_cast<int>((over >> shift) & 0xFF);
        return static_cast<TPixel>((b * coverage + a * (255 - coverage) + 127) / 255) << shift;
    };
    return channel(0) | channel(8) | channel(16);
}

void Blend(const TTextSurface& surface, const TGlyphImage& image, int penX, int penY, TPixel color)
{
    int left = penX + image.Left;
    int top = penY - image.Top;
    TRect box = TRect::FromBounds(left, top, image.Width, image.Height).Intersect(surface.Clip);
    for (int y = box.Top; y < box.Bottom; ++y) {
        TPixel* row = surface.Pixels->Row(y);
        const std::uint8_t* coverage = image.Coverage.data() + static_cast<std::size_t>(y - top) * image.Width;
        for (int x = box.Left; x < box.Right; ++x) {
            int a = coverage[x - left];
            if (a == 0)
                continue;
            TPixel pixel = a == 255 ? color : Mix(row[x], color, a);
            row[x] = surface.Palette ? NearestPaletteColor(pixel, *surface.Palette) : pixel;
        }
    }
}

// A point on the surface split into its whole pixel and the quarter pixels
// past it, as glyph pictures are cached.
struct TPenPosition {
    int X, Y, PhaseX, PhaseY;
};

TPenPosition Quantize(double x, double y)
{
    auto split = [](double v, int& whole, int& phase) {
        whole = static_cast<int>(std::floor(v));
        phase = static_cast<int>(std::lround((v - whole) * 4));
        if (phase == 4) {
            ++whole;
            phase = 0;
        }
    };
    TPenPosition pen{};
    split(x, pen.X, pen.PhaseX);
    split(y, pen.Y, pen.PhaseY);
    return pen;
}

// Draws a line with the top-left corner of its first cell at cell
// (logical). A turned line turns about that corner: its baseline starts
// the ascent away from it, square to the direction of the text.
void PaintLine(const TTextSurface& surface, TFontFace& face, const TFont& font, const TTextLine& line, TPoint cell)
{
    if (!surface.Pixels || surface.Clip.IsEmpty())
        return;
    const TPixel color = ColorToRGB(font.Color());
    const int angle = DrawnAngle(face, font);
    const double radians = angle * std::numbers::pi / 1800.0;
    const double c = angle == 0 ? 1.0 : std::cos(radians);
    const double s = angle == 0 ? 0.0 : std::sin(radians);
    const int ascent = face.Metrics().Ascent;
    const double originX = cell.X + surface.Origin.X + ascent * s;
    const double originY = cell.Y + surface.Origin.Y + ascent * c;
    auto along = [&](int x) { return Quantize(originX + x * c, originY - x * s); };

    for (const TTextItem& item : line.Items) {
        if (item.Glyph == TFontFace::NoGlyph)
            continue;
        TPenPosition pen = along(item.X);
        Blend(surface, face.Glyph(item.Glyph, angle, pen.PhaseX, pen.PhaseY), pen.X, pen.Y, color);
    }

    const TPenPosition start = along(0);
    auto bar = [&](int x0, int x1, int top, int thickness) {
        TGlyphImage image = face.Bar(x0, x1, top, top + thickness, angle, start.PhaseX, start.PhaseY);
        Blend(surface, image, start.X, start.Y, color);
    };
    const int underline = face.UnderlineOffset();
    for (const TTextItem& item : line.Items)
        if (item.Underlined)
            bar(item.X, item.X + item.Advance, underline, face.UnderlineThickness());
    if (font.Style() & fsUnderline)
        bar(0, line.Width, underline, face.UnderlineThickness());
    if (font.Style() & fsStrikeOut)
        bar(0, line.Width, -face.StrikeOutOffset(), face.StrikeOutThickness());
}

} // namespace

// A solid brush fills the upright cells of the line; turned text is drawn
// without a background.
void TCanvas::WriteText(int x, int y, std::string_view text)
{
    TFontFace& face = TFontEngine::Instance().Face(font_);
    TTextLine line = LayoutLine(face, text);
    if (Brush.Style == TBrushStyle::bsSolid && DrawnAngle(face, font_) == 0)
        FillRect(TRect::FromBounds(x, y, line.Width, face.Metrics().Height));
    PaintLine({target_, origin_, palette_, DeviceClip()}, face, font_, line, {x, y});
}

void TCanvas::TextRect(const TRect& clip, int x, int y, std::string_view text)
{
    TFontFace& face = TFontEngine::Instance().Face(font_);
    TTextLine line = LayoutLine(face, text);
    FillRect(clip);
    TRect device = clip.Offset(origin_).Intersect(DeviceClip());
    PaintLine({target_, origin_, palette_, device}, face, font_, line, {x, y});
}

// Drawing is held to the canvas clip only, not to r: text that overflows
// the box shows as far as the clip allows. A solid brush fills each line's
// cells. A turned font turns each line about the top-left corner of its
// own first cell.
int TCanvas::DrawText(std::string_view text, TRect& r, unsigned format)
{
    TFontFace& face = TFontEngine::Instance().Face(font_);
    std::vector<TTextLine> lines = LayoutText(face, text, format, std::max(0, r.Width()));
    const int lineHeight = face.Metrics().Height;
    const int height = static_cast<int>(lines.size()) * lineHeight;
    if (format & DT_CALCRECT) {
        int width = 0;
        for (const TTextLine& line : lines)
            width = std::max(width, line.Width);
        r.Right = r.Left + width;
        r.Bottom = r.Top + height;
        return height;
    }

    int top = r.Top;
    if (format & DT_SINGLELINE) {
        if (format & DT_BOTTOM)
            top = r.Bottom - height;
        else if (format & DT_VCENTER)
            top = r.Top + (r.Height() - height) / 2;
    }
    const TTextSurface surface{target_, origin_, palette_, DeviceClip()};
    int y = top;
    for (const TTextLine& line : lines) {
        int left = r.Left;
        if (format & DT_CENTER)
            left += (r.Width() - line.Width) / 2;
        else if (format & DT_RIGHT)
            left = r.Right - line.Width;
        if (Brush.Style == TBrushStyle::bsSolid && DrawnAngle(face, font_) == 0)
            FillRect(TRect::FromBounds(left, y, line.Width, lineHeight));
        PaintLine(surface, face, font_, line, {left, y});
        y += lineHeight;
    }
    return top - r.Top + height;
}

// The width is the sum of the advances; the height is the cell's, also for
// the empty text.
TSize TCanvas::TextExtent(std::string_view text) const
{
    TFontFace& face = TFontEngine::Instance().Face(font_);
    return {LayoutLine(face, text).Width, face.Metrics().Height};
}

TTextMetric TCanvas::TextMetrics() const
{
    return TFontEngine::Instance().Face(font_).Metrics();
}
