#include "tools/skinpainter/SmallGlyphs.h"

#include "tools/skinpainter/SkinColors.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace skin {

namespace {

std::unique_ptr<TBitmap> Blank(int width, int height, TPixelFormat format, TPixel background)
{
    auto bitmap = std::make_unique<TBitmap>(width, height, format);
    TCanvas& canvas = bitmap->Canvas();
    canvas.Brush = {AsColor(background), TBrushStyle::bsSolid};
    canvas.FillRect({0, 0, width, height});
    return bitmap;
}

// One-pixel rows of a triangle, widest first, centred on column centre;
// rows run downwards from top when pointing down, upwards otherwise.
void Triangle(TCanvas& canvas, int centre, int top, int rows, bool down)
{
    canvas.Brush = {clBlack, TBrushStyle::bsSolid};
    for (int i = 0; i < rows; ++i) {
        int half = down ? rows - 1 - i : i;
        canvas.FillRect({centre - half, top + i, centre + half + 1, top + i + 1});
    }
}

// The star's colours: black and fifteen steps up through gold to white.
std::vector<TPixel> StarPalette()
{
    std::vector<TPixel> palette{Black};
    for (int i = 1; i < 16; ++i) {
        double t = i / 15.0;
        palette.push_back(t < 0.6 ? Mix(MakeColor(40, 26, 0), Gold, t / 0.6) : Mix(Gold, White, (t - 0.6) / 0.4));
    }
    return palette;
}

} // namespace

std::unique_ptr<TBitmap> PaintMinimizeGlyph()
{
    auto bitmap = Blank(7, 7, TPixelFormat::pf4bit, White);
    Triangle(bitmap->Canvas(), 3, 2, 4, true);
    return bitmap;
}

std::unique_ptr<TBitmap> PaintCloseGlyph()
{
    auto bitmap = Blank(7, 7, TPixelFormat::pf4bit, White);
    TCanvas& canvas = bitmap->Canvas();
    // Two diagonals, thickened where they leave the centre; the outer ring
    // stays white, its bottom-left pixel being the colour the glyph button
    // leaves out.
    canvas.Pen = {clBlack, 1, TPenStyle::psSolid};
    const TPoint strokes[][2] = {
        {{1, 1}, {6, 6}},
        {{5, 1}, {0, 6}},
        {{2, 1}, {4, 3}},
        {{4, 1}, {2, 3}},
        {{2, 5}, {4, 3}},
        {{4, 5}, {2, 3}},
    };
    for (const auto& stroke : strokes)
        canvas.Polyline(stroke);
    return bitmap;
}

std::unique_ptr<TBitmap> PaintSpinGlyph(bool up, TPixel background, TPixelFormat format)
{
    auto bitmap = Blank(9, 6, format, background);
    Triangle(bitmap->Canvas(), 4, 1, 4, !up);
    return bitmap;
}

std::unique_ptr<TBitmap> PaintStar(int frame)
{
    auto bitmap = std::make_unique<TBitmap>(9, 9, TPixelFormat::pf4bit);
    const std::vector<TPixel> palette = StarPalette();
    bitmap->SetPalette(palette);
    TCanvas& canvas = bitmap->Canvas();
    canvas.Brush = {clBlack, TBrushStyle::bsSolid};
    canvas.FillRect({0, 0, 9, 9});

    // The four long rays reach further and the short diagonal ones appear
    // as the star grows; light falls off along each ray.
    const double growth = frame / 7.0;
    const double ray = 0.6 + 4.0 * growth;
    const double diagonal = frame >= 3 ? 0.4 + 1.6 * (frame - 3) / 4.0 : 0;
    for (int y = 0; y < 9; ++y)
        for (int x = 0; x < 9; ++x) {
            int dx = std::abs(x - 4);
            int dy = std::abs(y - 4);
            double light = 0;
            if (dx == 0 || dy == 0)
                light = 1.0 - (dx + dy) / (ray + 0.5);
            else if (dx == dy)
                light = 0.55 * (1.0 - dx / (diagonal + 0.5));
            light *= 0.35 + 0.65 * growth;
            int step = static_cast<int>(std::lround(std::clamp(light, 0.0, 1.0) * 15));
            if (frame > 0 && step > 0)
                canvas.SetPixel(x, y, AsColor(palette[step]));
        }
    return bitmap;
}

} // namespace skin
