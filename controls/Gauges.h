#pragma once

#include "toolkit/graphics/Bitmap.h"
#include "toolkit/windowing/Control.h"

#include <cstdint>

enum class TGaugeKind : std::uint8_t { gkText, gkHorizontalBar, gkVerticalBar, gkPie, gkNeedle };

// bsSingle leaves a one-pixel black frame around the drawing.
enum class TGaugeBorderStyle : std::uint8_t { bsNone, bsSingle };

// A bitmap that can take the size of another and a solid colour in one step.
class TBltBitmap : public TBitmap {
public:
    const char* ClassName() const override { return "TBltBitmap"; }

    // The size and depth of pattern, filled with the canvas's brush colour.
    void MakeLike(const TBitmap& pattern);
};

// Shows where Progress lies between MinValue and MaxValue as a whole
// percentage (0..100): as text, a bar growing rightward or upward, a pie
// growing clockwise from twelve o'clock, or a needle sweeping from left to
// right. It paints off screen and copies the result out in one step; a new
// Progress repaints it only when the whole percentage changes.
class TGauge : public TGraphicControl {
public:
    explicit TGauge(TComponent* owner);
    const char* ClassName() const override { return "TGauge"; }
    void Paint() override;

    int MinValue() const { return minValue_; }
    // Raises EInvalidOperation, changing nothing, when above MaxValue.
    void SetMinValue(int value);
    int MaxValue() const { return maxValue_; }
    // Raises EInvalidOperation, changing nothing, when below MinValue.
    void SetMaxValue(int value);
    int Progress() const { return progress_; }
    // Clamped into MinValue..MaxValue.
    void SetProgress(int value);
    TGaugeKind Kind() const { return kind_; }
    void SetKind(TGaugeKind kind);
    bool ShowText() const { return showText_; }
    void SetShowText(bool showText);
    TGaugeBorderStyle BorderStyle() const { return borderStyle_; }
    void SetBorderStyle(TGaugeBorderStyle style);
    TColor ForeColor() const { return foreColor_; }
    void SetForeColor(TColor color);
    TColor BackColor() const { return backColor_; }
    void SetBackColor(TColor color);

    // (Progress - MinValue) * 100 / (MaxValue - MinValue), truncated; 0 for
    // an empty range.
    int Percentage() const;

    // Pixels that percentage filled out of length fills, computed as the
    // gauge always has: in 80-bit arithmetic, one short of the exact value
    // for some products that are multiples of 100.
    static int FillSize(int percentage, int length);

private:
    void PaintBackground(TCanvas& canvas, const TRect& r) const;
    void PaintAsBar(TCanvas& canvas, const TRect& r, bool vertical) const;
    void PaintAsPie(TCanvas& canvas, const TRect& r) const;
    void PaintAsNeedle(TCanvas& canvas, const TRect& r) const;
    void PaintAsText(TBitmap& image, const TRect& r);
    // Repaints at once.
    void Refresh() { Repaint(); }

    int minValue_ = 0;
    int maxValue_ = 100;
    int progress_ = 0;
    TGaugeKind kind_ = TGaugeKind::gkHorizontalBar;
    bool showText_ = true;
    TGaugeBorderStyle borderStyle_ = TGaugeBorderStyle::bsSingle;
    TColor foreColor_ = clBlack;
    TColor backColor_ = clWhite;
};

// Declares TGauge for window layouts.
void RegisterGauges();
