#include "tools/skinpainter/SongButton.h"

#include "tools/skinpainter/Lettering.h"
#include "tools/skinpainter/Shapes.h"
#include "tools/skinpainter/SkinColors.h"

#include <algorithm>
#include <cmath>

namespace skin {

namespace {

// The staircase step: 30 pixels left for every 40 down.
constexpr double Slant = 30.0 / 40.0;
// Where the plate's left edge meets the top row. Twelve pixels of black
// stay at its bottom-left, so that the ornament beside the fourth button and
// the info caption beside the third keep clear of the band.
constexpr double PlateLeft = 42;
constexpr double PlateRight = SongButtonWidth;
// The number tab, as offsets from the plate's left edge along each row.
constexpr double TabInset = 5;
constexpr double TabWidth = 24;
constexpr int TabTop = 4;
constexpr int TabBottom = 36;
constexpr double MidRow = SongButtonHeight / 2.0;

double LeftEdge(double y)
{
    return PlateLeft - Slant * y;
}

double RightEdge(double y)
{
    return PlateRight - Slant * y;
}

// The play mark sits near the right end, its glow kept off the rim.
constexpr double MarkerCentre = PlateRight - Slant * MidRow - 11;
constexpr double MarkerGlow = 10;
// The title starts clear of the tab at the top of its capitals and ends
// clear of the glow.
constexpr double TitleLeft = PlateLeft - Slant * (MidRow - 7) + TabInset + TabWidth + 5;
constexpr double TitleRight = MarkerCentre - MarkerGlow - 2;

// What differs between the three looks.
struct Look {
    Material Tile;
    Material Plate;
    Material Tab;
    TPixel Number;
    TPixel NumberEdge;
    TPixel Title;
    TPixel TitleShadow;
    TPixel Marker;
    bool Glow;
    int Shift; // pixels the content moves right and down
};

std::function<TPixel(double)> Ramp(TPixel top, TPixel middle, TPixel bottom, double from, double to)
{
    return [=](double y) {
        double t = std::clamp((y - from) / (to - from), 0.0, 1.0);
        return t < 0.5 ? Mix(top, middle, t / 0.5) : Mix(middle, bottom, (t - 0.5) / 0.5);
    };
}

// The tile the plate lies on: a dark slate with a bevel of its own, so that
// the corners beside the slant read as part of the button; it is pressed in
// with the plate. It has no gold: the plate's golden rim keeps the band's
// outline on it.
Material TileMaterial(ButtonLook look)
{
    Material m;
    m.Rim = 1.0;
    const TPixel lit = MakeColor(70, 78, 104);
    const TPixel shade = MakeColor(12, 13, 19);
    if (look == ButtonLook::Down) {
        m.RimLit = shade;
        m.RimShade = lit;
        m.Face = Ramp(MakeColor(7, 8, 11), MakeColor(12, 13, 19), MakeColor(19, 21, 29), 0, SongButtonHeight);
    } else {
        m.RimLit = lit;
        m.RimShade = shade;
        m.Face = Ramp(MakeColor(30, 33, 46), MakeColor(19, 21, 30), MakeColor(11, 12, 17), 0, SongButtonHeight);
    }
    return m;
}

// What other controls of the main window lie over each button: the info
// caption over the third's top left corner, the ornament over the
// fourth's. Those parts stay black like the panel, the same whatever the
// button shows.
TRect CoveredCorner(int n)
{
    switch (n) {
    case 3: return {0, 0, 6, 8};
    case 4: return {0, 0, 26, 21};
    default: return {};
    }
}

Look LookOf(ButtonLook look)
{
    Look l{};
    l.Tile = TileMaterial(look);
    l.Plate = PlateMaterial(look, SongButtonHeight);
    l.Tab.Rim = 1.0;
    switch (look) {
    case ButtonLook::Up:
        l.Tab.RimLit = Cream;
        l.Tab.RimShade = MakeColor(150, 100, 8);
        l.Tab.Face = Ramp(MakeColor(255, 230, 130), Gold, MakeColor(200, 140, 10), TabTop, TabBottom);
        l.Number = MakeColor(52, 32, 0);
        l.NumberEdge = MakeColor(255, 236, 160);
        l.Title = MakeColor(255, 212, 96);
        l.TitleShadow = Black;
        l.Marker = MakeColor(110, 80, 14);
        break;
    case ButtonLook::Down:
        l.Tab.RimLit = MakeColor(120, 80, 6);
        l.Tab.RimShade = MakeColor(240, 200, 90);
        l.Tab.Face = Ramp(MakeColor(170, 118, 8), MakeColor(214, 160, 22), MakeColor(236, 186, 56), TabTop, TabBottom);
        l.Number = MakeColor(40, 24, 0);
        l.NumberEdge = MakeColor(250, 220, 130);
        l.Title = MakeColor(222, 178, 66);
        l.TitleShadow = Black;
        l.Marker = MakeColor(96, 70, 12);
        l.Shift = 1;
        break;
    case ButtonLook::Locked:
        l.Tab.RimLit = White;
        l.Tab.RimShade = MakeColor(200, 140, 14);
        l.Tab.Face = Ramp(MakeColor(255, 252, 232), MakeColor(255, 226, 110), MakeColor(255, 186, 28), TabTop, TabBottom);
        l.Number = MakeColor(70, 36, 0);
        l.NumberEdge = MakeColor(255, 250, 225);
        l.Title = MakeColor(255, 250, 228);
        l.TitleShadow = MakeColor(40, 24, 0);
        l.Marker = MakeColor(255, 252, 236);
        l.Glow = true;
        break;
    }
    return l;
}

Shape PlateShape()
{
    return ConvexPolygon({{LeftEdge(0), 0}, {RightEdge(0), 0}, {RightEdge(SongButtonHeight), SongButtonHeight},
        {LeftEdge(SongButtonHeight), SongButtonHeight}});
}

void PaintTab(TCanvas& canvas, int n, const Look& look)
{
    const double s = look.Shift;
    auto at = [&](double offset, double y) { return Point2{LeftEdge(y) + offset + s, y + s}; };
    Shape tab = ConvexPolygon({at(TabInset, TabTop), at(TabInset + TabWidth, TabTop),
        at(TabInset + TabWidth, TabBottom), at(TabInset, TabBottom)});
    PaintShape(canvas, {0, 0, SongButtonWidth, SongButtonHeight}, tab, look.Tab);

    const std::string digit = std::to_string(n);
    UseFont(canvas, 26);
    const double centreX = LeftEdge(MidRow) + TabInset + TabWidth / 2 + s;
    const int x = static_cast<int>(std::lround(centreX - canvas.TextWidth(digit) / 2.0));
    ShadowedText(canvas, x, CellTopForCentre(canvas, MidRow + s), digit, look.Number, look.NumberEdge);
}

// A small play mark near the right end: dim at rest, glowing while the
// song plays.
void PaintMarker(TCanvas& canvas, const Look& look)
{
    const double cx = MarkerCentre + look.Shift;
    const double cy = MidRow + look.Shift;
    if (look.Glow)
        PaintGlow(canvas, {0, 0, SongButtonWidth, SongButtonHeight}, {cx - 1, cy}, MarkerGlow, MakeColor(255, 236, 150),
            PlateShape(), 2.2);
    Shape mark = ConvexPolygon({{cx - 4, cy - 5}, {cx + 4.5, cy}, {cx - 4, cy + 5}});
    PaintShape(canvas, {0, 0, SongButtonWidth, SongButtonHeight}, mark, Flat(look.Marker));
}

void PaintTitle(TCanvas& canvas, const std::string& title, int pixels, const Look& look)
{
    UseFont(canvas, pixels);
    const std::string shown = Shortened(canvas, title, static_cast<int>(TitleRight - TitleLeft));
    const int x = static_cast<int>(std::lround(TitleLeft)) + look.Shift;
    ShadowedText(canvas, x, CellTopForCentre(canvas, MidRow) + look.Shift, shown, look.Title, look.TitleShadow);
}

} // namespace

int TitlePixels(const std::vector<std::string>& titles)
{
    TBitmap scratch(1, 1);
    int pixels = 15;
    for (const std::string& title : titles)
        pixels =
            std::min(pixels, FittingSize(scratch.Canvas(), title, static_cast<int>(TitleRight - TitleLeft), 15, 10));
    return pixels;
}

std::unique_ptr<TBitmap> PaintSongButton(int n, const std::string& title, int titlePixels, ButtonLook look)
{
    auto bitmap = std::make_unique<TBitmap>(SongButtonWidth, SongButtonHeight);
    TCanvas& canvas = bitmap->Canvas();
    canvas.Brush = {clBlack, TBrushStyle::bsSolid};
    canvas.FillRect({0, 0, SongButtonWidth, SongButtonHeight});

    const Look l = LookOf(look);
    const TRect whole{0, 0, SongButtonWidth, SongButtonHeight};
    PaintShape(canvas, whole,
        ConvexPolygon({{0, 0}, {SongButtonWidth, 0}, {SongButtonWidth, SongButtonHeight}, {0, SongButtonHeight}}),
        l.Tile);
    canvas.FillRect(CoveredCorner(n));
    PaintShape(canvas, whole, PlateShape(), l.Plate);
    PaintMarker(canvas, l);
    PaintTab(canvas, n, l);
    PaintTitle(canvas, title, titlePixels, l);
    return bitmap;
}

} // namespace skin
