#include "controls/Gauges.h"

#include "toolkit/graphics/Exceptions.h"
#include "toolkit/windowing/ClassRegistry.h"

#include <cmath>
#include <cstdint>
#include <limits>

// The fill size depends on the rounding of 80-bit extended products.
static_assert(std::numeric_limits<long double>::digits == 64, "the gauge needs 80-bit extended long double");

namespace {

constexpr const char* kRangeError = "Wert muß zwischen %d und %d liegen";

// The 32-bit result of a bound computed one beyond the stored value.
int Wrapped(std::int64_t value)
{
    return static_cast<int>(static_cast<std::uint32_t>(value));
}

} // namespace

TGauge::TGauge(TComponent* owner) : TGraphicControl(owner)
{
    SetControlStyle(ControlStyle() | csOpaque);
    SetBounds(0, 0, 100, 100);
    SetColor(clWindow);
    SetParentColor(true);
}

int TGauge::Percentage() const
{
    // Differences taken in 64 bits, so the widest range still gives 0..100.
    std::int64_t x = std::int64_t{progress_} - minValue_;
    std::int64_t z = std::int64_t{maxValue_} - minValue_;
    if (z == 0)
        return 0;
    return static_cast<int>(std::trunc(static_cast<double>(x) * 100.0 / static_cast<double>(z)));
}

int TGauge::FillSize(int percentage, int length)
{
    // Each product rounds to 64 mantissa bits; 0.01L lies just below 0.01,
    // which is why 10 % of 10 pixels fills none.
    long double share = static_cast<long double>(percentage) * 0.01L;
    long double pixels = share * static_cast<long double>(length);
    return static_cast<int>(pixels);
}

void TGauge::SetMinValue(int value)
{
    if (value == minValue_)
        return;
    if (value > maxValue_)
        throw EInvalidOperation(FormatText(kRangeError, -2147483647, Wrapped(std::int64_t{maxValue_} - 1)));
    minValue_ = value;
    if (progress_ < value)
        progress_ = value;
    Refresh();
}

void TGauge::SetMaxValue(int value)
{
    if (value == maxValue_)
        return;
    if (value < minValue_)
        throw EInvalidOperation(FormatText(kRangeError, Wrapped(std::int64_t{minValue_} + 1), 2147483647));
    maxValue_ = value;
    if (progress_ > value)
        progress_ = value;
    Refresh();
}

void TGauge::SetProgress(int value)
{
    int before = Percentage();
    if (value < minValue_)
        value = minValue_;
    else if (value > maxValue_)
        value = maxValue_;
    if (value == progress_)
        return;
    progress_ = value;
    // A timer may set it often; only a new whole percentage is drawn.
    if (Percentage() != before)
        Refresh();
}

void TGauge::SetKind(TGaugeKind kind)
{
    if (kind == kind_)
        return;
    kind_ = kind;
    Refresh();
}

void TGauge::SetShowText(bool showText)
{
    if (showText == showText_)
        return;
    showText_ = showText;
    Refresh();
}

void TGauge::SetBorderStyle(TGaugeBorderStyle style)
{
    if (style == borderStyle_)
        return;
    borderStyle_ = style;
    Refresh();
}

void TGauge::SetForeColor(TColor color)
{
    if (color == foreColor_)
        return;
    foreColor_ = color;
    Refresh();
}

void TGauge::SetBackColor(TColor color)
{
    if (color == backColor_)
        return;
    backColor_ = color;
    Refresh();
}

void RegisterGauges()
{
    // Several callers may ask; the class is declared once.
    if (TClassRegistry::Find("TGauge"))
        return;
    TClassBuilder<TGauge>("TGauge", "TGraphicControl")
        .Enum("Align", &TControl::SetAlign,
            {{"alNone", TAlign::alNone}, {"alTop", TAlign::alTop}, {"alBottom", TAlign::alBottom},
                {"alLeft", TAlign::alLeft}, {"alRight", TAlign::alRight}, {"alClient", TAlign::alClient}})
        .Color("Color", &TControl::SetColor)
        .Boolean("Enabled", &TControl::SetEnabled)
        .Enum("Kind", &TGauge::SetKind,
            {{"gkText", TGaugeKind::gkText}, {"gkHorizontalBar", TGaugeKind::gkHorizontalBar},
                {"gkVerticalBar", TGaugeKind::gkVerticalBar}, {"gkPie", TGaugeKind::gkPie},
                {"gkNeedle", TGaugeKind::gkNeedle}})
        .Boolean("ShowText", &TGauge::SetShowText)
        .Object("Font", static_cast<TFont& (TControl::*)()>(&TControl::Font))
        .Enum("BorderStyle", &TGauge::SetBorderStyle,
            {{"bsNone", TGaugeBorderStyle::bsNone}, {"bsSingle", TGaugeBorderStyle::bsSingle}})
        .Color("ForeColor", &TGauge::SetForeColor)
        .Color("BackColor", &TGauge::SetBackColor)
        .Integer("MinValue", &TGauge::SetMinValue)
        .Integer("MaxValue", &TGauge::SetMaxValue)
        .Boolean("ParentColor", &TControl::SetParentColor)
        .Boolean("ParentFont", &TControl::SetParentFont)
        .Boolean("ParentShowHint", &TControl::SetParentShowHint)
        .Ignored("PopupMenu")
        .Integer("Progress", &TGauge::SetProgress)
        .Boolean("ShowHint", &TControl::SetShowHint)
        .Boolean("Visible", &TControl::SetVisible);
}
