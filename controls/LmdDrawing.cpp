#include "controls/LmdDrawing.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <numbers>

namespace {

struct TFxPass {
    int Offset; // pixels right and down, added to the previous pass's
    TColor Color;
};

// The passes of a style; the text's own pass is always the last.
std::array<TFxPass, 3> Passes(const TLMD3DCaption& fx, TColor textColor, int& count)
{
    const int d = fx.Depth3D();
    switch (fx.Style()) {
    case TLMDThreeDStyle::tdSunken: count = 2; return {{{d, fx.LightColor()}, {-d, textColor}, {}}};
    case TLMDThreeDStyle::tdRaised: count = 2; return {{{0, fx.LightColor()}, {d, textColor}, {}}};
    case TLMDThreeDStyle::tdSunkenShadow:
    case TLMDThreeDStyle::tdPColorSunken:
        count = 3;
        return {{{0, fx.ShadowColor()}, {2 * d, fx.LightColor()}, {-d, textColor}}};
    case TLMDThreeDStyle::tdRaisedShadow:
    case TLMDThreeDStyle::tdPColorRaised:
        count = 3;
        return {{{2 * d, fx.ShadowColor()}, {-2 * d, fx.LightColor()}, {d, textColor}}};
    case TLMDThreeDStyle::tdNone: break;
    }
    count = 1;
    return {{{0, textColor}, {}, {}}};
}

// Nearest integer, halves to the even neighbour.
long long RoundEven(double value)
{
    return static_cast<long long>(std::nearbyint(value));
}

} // namespace

std::string_view CaptionPart(std::string_view caption)
{
    return caption.substr(0, std::min(caption.size(), MaxCaptionLength));
}

void DrawFx(std::string_view text, TCanvas& canvas, const TLMDFxCaption& fx, TColor textColor, unsigned options,
    const TRect& clip, TRect origin)
{
    text = CaptionPart(text);
    const bool rotated = fx.Angle() != 0;
    if (rotated)
        canvas.Font().SetEscapement(fx.Angle() * 10);

    int count = 0;
    const auto passes = Passes(fx, textColor, count);
    for (int i = 0; i < count; ++i) {
        canvas.Font().SetColor(passes[i].Color);
        origin = origin.Offset(passes[i].Offset, passes[i].Offset);
        if (rotated) {
            canvas.TextRect(clip, origin.Left, origin.Top, text);
        } else {
            // DrawText may move the rectangle it is given; every pass starts
            // from the origin itself.
            TRect box = origin;
            canvas.DrawText(text, box, options);
        }
    }
}

void AddFxExtent(TRect& r, const TLMD3DCaption& fx, int bevelExtent)
{
    const int d = fx.Depth3D();
    switch (fx.Style()) {
    case TLMDThreeDStyle::tdSunken:
    case TLMDThreeDStyle::tdRaised:
        r.Right += d;
        r.Bottom += d;
        break;
    case TLMDThreeDStyle::tdSunkenShadow:
    case TLMDThreeDStyle::tdRaisedShadow:
    case TLMDThreeDStyle::tdPColorSunken:
    case TLMDThreeDStyle::tdPColorRaised:
        r.Right += 2 * d;
        r.Bottom += 2 * d;
        break;
    case TLMDThreeDStyle::tdNone: break;
    }
    r.Right += 2 * (bevelExtent + 1);
    r.Bottom += 2 * (bevelExtent + 1);
}

void RotateRect(TRect& r, int angle)
{
    if (angle == 0)
        return;
    const int hw = (r.Right - r.Left) / 2;
    const int hh = (r.Bottom - r.Top) / 2;
    const int cx = r.Left + hw;
    const int cy = r.Top + hh;
    const double a = angle * std::numbers::pi / 180.0;
    const double s = std::sin(a);
    const double c = std::cos(a);
    const int p = static_cast<int>(RoundEven(c * hw - s * hh));
    const int q = static_cast<int>(RoundEven(c * hw + s * hh));
    const int u = static_cast<int>(RoundEven(s * hw - c * hh));
    const int v = static_cast<int>(RoundEven(s * hw + c * hh));
    const std::array<int, 4> xs{cx - p, cx - q, cx + q, cx + p};
    const std::array<int, 4> ys{cy + u, cy + v, cy - v, cy - u};
    const auto [left, right] = std::minmax_element(xs.begin(), xs.end());
    const auto [top, bottom] = std::minmax_element(ys.begin(), ys.end());
    r = TRect{0, 0, *right - *left, *bottom - *top};
}

void CalcCaptionRect(TRect& r, std::string_view text, TLMDFxCaption& fx, const TFont& font, bool multiLine,
    bool showAccelChar, int bevelExtent)
{
    text = CaptionPart(text);
    // Measuring needs only the font, never a surface.
    TCanvas measuring;
    measuring.SetFont(font);

    if (fx.Angle() == 0) {
        fx.SetPosX(0);
        fx.SetPosY(0);
        unsigned options = DT_CALCRECT | DT_EXPANDTABS;
        if (multiLine)
            options |= DT_WORDBREAK;
        // Such captions still measure one line high.
        std::string_view measured = text;
        if (text.empty() || (showAccelChar && text == "&"))
            measured = " ";
        if (!showAccelChar)
            options |= DT_NOPREFIX;
        measuring.DrawText(measured, r, options);
        AddFxExtent(r, fx, bevelExtent);
        return;
    }

    const TSize size = measuring.TextExtent(text);
    r = {0, 0, size.Width, size.Height};
    const int w2 = size.Width / 2;
    const int h2 = size.Height / 2;
    AddFxExtent(r, fx, bevelExtent);
    RotateRect(r, fx.Angle());
    const double a = fx.Angle() * std::numbers::pi / 180.0;
    const double s = std::sin(a);
    const double c = std::cos(a);
    const int d = std::max(fx.Depth3D() - 1, 0);
    const int cx = r.Left + (r.Right - r.Left) / 2;
    const int cy = r.Top + (r.Bottom - r.Top) / 2;
    // Positions are 16-bit: a text that would start left of or above the
    // control wraps around to a large position.
    fx.SetPosX(static_cast<std::uint16_t>(RoundEven(cx - c * w2 - s * h2) - d));
    fx.SetPosY(static_cast<std::uint16_t>(RoundEven(cy + s * w2 - c * h2) - d));
}

bool IsBlank(std::string_view s)
{
    return std::all_of(s.begin(), s.end(), [](char ch) { return ch == ' '; });
}

bool IsTrueTypeFont(const std::string& faceName)
{
    return IsOutlineFace(faceName);
}
