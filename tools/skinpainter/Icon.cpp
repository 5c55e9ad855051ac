#include "tools/skinpainter/Icon.h"

#include "toolkit/graphics/Bitmap.h"
#include "tools/skinpainter/DiscColors.h"
#include "tools/skinpainter/SkinColors.h"

#include <cmath>
#include <numbers>

namespace skin {

namespace {

constexpr int Supersampling = 4;

// The ground, never a colour of the disc: what shows it is clear.
constexpr TPixel Clear = MakeColor(255, 0, 255);

using namespace disc_colors;

// The disc's rings and wedges as shares of its radius, so that every size
// is the same drawing.
TRect Inset(const TRect& disc, double share)
{
    const int inset = static_cast<int>(std::lround(disc.Width() / 2.0 * share));
    return disc.Shrink(inset);
}

TPoint OnCircle(const TRect& bounds, double degrees)
{
    const double a = degrees * std::numbers::pi / 180;
    const double cx = (bounds.Left + bounds.Right) / 2.0;
    const double cy = (bounds.Top + bounds.Bottom) / 2.0;
    return {static_cast<int>(std::lround(cx + bounds.Width() / 2.0 * std::cos(a))),
        static_cast<int>(std::lround(cy - bounds.Height() / 2.0 * std::sin(a)))};
}

void Disc(TCanvas& canvas, const TRect& bounds, TPixel colour)
{
    canvas.Pen.Style = TPenStyle::psClear;
    canvas.Brush = {AsColor(colour), TBrushStyle::bsSolid};
    canvas.Ellipse(bounds);
}

void Wedge(TCanvas& canvas, const TRect& bounds, double from, double to, TPixel colour)
{
    canvas.Pen.Style = TPenStyle::psClear;
    canvas.Brush = {AsColor(colour), TBrushStyle::bsSolid};
    canvas.Pie(bounds, OnCircle(bounds, from), OnCircle(bounds, to));
}

// A ring as wide as share of the radius, inside bounds.
void Ring(TCanvas& canvas, const TRect& bounds, double width, TPixel colour, TPixel inside)
{
    Disc(canvas, bounds, colour);
    Disc(canvas, Inset(bounds, width), inside);
}

void PaintDisc(TCanvas& canvas, int size)
{
    canvas.Brush = {AsColor(Clear), TBrushStyle::bsSolid};
    canvas.FillRect({0, 0, size, size});
    const TRect disc = TRect{0, 0, size, size}.Shrink(size / 32);

    Disc(canvas, disc, Rim);
    Wedge(canvas, disc, 250, 20, RimShadow); // the lower right of the rim in shadow
    const TRect grooved = Inset(disc, 0.035);
    Disc(canvas, grooved, Body);
    for (double turn : {0.0, 180.0}) {
        Wedge(canvas, grooved, 100 + turn, 150 + turn, SheenDark);
        Wedge(canvas, grooved, 112 + turn, 136 + turn, Sheen);
        Wedge(canvas, grooved, 120 + turn, 128 + turn, SheenBright);
    }
    // Grooves: thin rings that let the sheen show between them.
    canvas.Brush.Style = TBrushStyle::bsClear;
    for (double share : {0.16, 0.27, 0.38, 0.49}) {
        canvas.Pen = {AsColor(Groove), std::max(size / 160, 1), TPenStyle::psSolid};
        canvas.Ellipse(Inset(disc, share));
    }

    // The golden label, lighter towards the top, with a ring round it.
    const TRect label = Inset(disc, 0.6);
    Ring(canvas, label, 0.08, LabelRing, GoldDark);
    const TRect face = Inset(label, 0.08);
    canvas.Pen.Style = TPenStyle::psClear;
    for (int y = face.Top; y < face.Bottom; ++y) {
        const double t = (y - face.Top + 0.5) / face.Height();
        canvas.SetClipRect({face.Left, y, face.Right, y + 1});
        canvas.Brush = {AsColor(t < 0.3 ? GoldLight : t < 0.7 ? Gold : GoldDark), TBrushStyle::bsSolid};
        canvas.Ellipse(face);
    }
    canvas.ResetClip();
    Ring(canvas, Inset(label, 0.42), 0.2, LabelRing, Gold);
    Disc(canvas, Inset(label, 0.72), Clear); // the spindle hole

    // A glint on the rim at the upper left.
    const TPoint glint = OnCircle(Inset(disc, 0.12), 128);
    const int arm = size / 14;
    canvas.Brush = {AsColor(SkyLight), TBrushStyle::bsSolid};
    canvas.Pen.Style = TPenStyle::psClear;
    canvas.Ellipse({glint.X - arm / 6, glint.Y - arm, glint.X + arm / 6, glint.Y + arm});
    canvas.Ellipse({glint.X - arm, glint.Y - arm / 6, glint.X + arm, glint.Y + arm / 6});
    canvas.Brush.Color = AsColor(White);
    canvas.Ellipse({glint.X - arm / 4, glint.Y - arm / 4, glint.X + arm / 4, glint.Y + arm / 4});
}

} // namespace

IconPicture PaintIcon(int size)
{
    const int large = size * Supersampling;
    TBitmap painting(large, large, TPixelFormat::pf24bit);
    PaintDisc(painting.Canvas(), large);

    IconPicture icon{TPixmap(size, size), std::vector<std::uint8_t>(static_cast<std::size_t>(size) * size)};
    const TPixmap& fine = painting.Pixmap();
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            int covered = 0;
            int red = 0;
            int green = 0;
            int blue = 0;
            for (int dy = 0; dy < Supersampling; ++dy) {
                for (int dx = 0; dx < Supersampling; ++dx) {
                    const TPixel p = fine.At(x * Supersampling + dx, y * Supersampling + dy) & 0xFFFFFF;
                    if (p == Clear)
                        continue;
                    ++covered;
                    red += GetRValue(p);
                    green += GetGValue(p);
                    blue += GetBValue(p);
                }
            }
            constexpr int samples = Supersampling * Supersampling;
            icon.Coverage[static_cast<std::size_t>(y) * size + x] =
                static_cast<std::uint8_t>((covered * 255 + samples / 2) / samples);
            if (covered > 0)
                icon.Colour.At(x, y) =
                    MakeColor((red + covered / 2) / covered, (green + covered / 2) / covered, (blue + covered / 2) / covered);
        }
    }
    return icon;
}

} // namespace skin
