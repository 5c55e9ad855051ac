#include "controls/Lmdobj.h"

#include <array>

namespace {

bool IsFrameStyle(TLMDBevelStyle style)
{
    return style == TLMDBevelStyle::bvFrameLowered || style == TLMDBevelStyle::bvFrameRaised;
}

// Pixels one side of a plain (not bvShadow) bevel takes.
int SideExtent(TLMDBevelStyle style, TBevelWidth width)
{
    if (IsFrameStyle(style))
        return 2;
    if (style == TLMDBevelStyle::bvNone)
        return 0;
    return width;
}

} // namespace

void TLMDBevel::SetStyleInner(TLMDBevelStyle style)
{
    if (style == styleInner_)
        return;
    if (styleInner_ == TLMDBevelStyle::bvShadow)
        styleOuter_ = TLMDBevelStyle::bvNone;
    styleInner_ = style;
    if (IsFrameStyle(style)) {
        if (widthInner_ > 1)
            widthInner_ = 1;
    } else if (style == TLMDBevelStyle::bvShadow) {
        styleOuter_ = TLMDBevelStyle::bvShadow;
    }
    Change();
}

void TLMDBevel::SetStyleOuter(TLMDBevelStyle style)
{
    if (style == styleOuter_)
        return;
    if (styleOuter_ == TLMDBevelStyle::bvShadow)
        styleInner_ = TLMDBevelStyle::bvNone;
    styleOuter_ = style;
    if (IsFrameStyle(style)) {
        if (widthOuter_ > 1)
            widthOuter_ = 1;
    } else if (style == TLMDBevelStyle::bvShadow) {
        styleInner_ = TLMDBevelStyle::bvShadow;
    }
    Change();
}

void TLMDBevel::SetWidthInner(TBevelWidth width)
{
    if (width == widthInner_ || (IsFrameStyle(styleInner_) && width > 1))
        return;
    widthInner_ = width;
    Change();
}

void TLMDBevel::SetWidthOuter(TBevelWidth width)
{
    if (width == widthOuter_ || (IsFrameStyle(styleOuter_) && width > 1))
        return;
    widthOuter_ = width;
    Change();
}

void TLMDBevel::SetBorderColor(TColor color)
{
    if (color == borderColor_)
        return;
    borderColor_ = color;
    Change();
}

void TLMDBevel::SetBorderInnerWidth(TBorderWidth width)
{
    if (width == borderInnerWidth_)
        return;
    borderInnerWidth_ = width;
    Change();
}

void TLMDBevel::SetBorderWidth(TBorderWidth width)
{
    if (width == borderWidth_)
        return;
    borderWidth_ = width;
    Change();
}

void TLMDBevel::SetLightColor(TColor color)
{
    if (color == lightColor_)
        return;
    lightColor_ = color;
    Change();
}

void TLMDBevel::SetShadowColor(TColor color)
{
    if (color == shadowColor_)
        return;
    shadowColor_ = color;
    Change();
}

void TLMDBevel::Assign(const TPersistent& source)
{
    if (&source == this)
        return;
    auto* bevel = dynamic_cast<const TLMDBevel*>(&source);
    if (!bevel) {
        TLMDObject::Assign(source);
        return;
    }
    SetStyleInner(bevel->styleInner_);
    SetStyleOuter(bevel->styleOuter_);
    SetWidthInner(bevel->widthInner_);
    SetWidthOuter(bevel->widthOuter_);
    SetBorderInnerWidth(bevel->borderInnerWidth_);
    SetBorderWidth(bevel->borderWidth_);
    SetBorderColor(bevel->borderColor_);
    SetLightColor(bevel->lightColor_);
    SetShadowColor(bevel->shadowColor_);
    Change();
}

int TLMDBevel::BevelExtent() const
{
    if (styleInner_ == TLMDBevelStyle::bvShadow)
        return widthOuter_ / 2 + widthInner_ + 1 + borderInnerWidth_;
    return SideExtent(styleInner_, widthInner_) + SideExtent(styleOuter_, widthOuter_) + borderWidth_ +
        borderInnerWidth_;
}

void TLMDBevel::FrameBevel(TCanvas& canvas, TRect& r, TLMDBevelStyle style) const
{
    const bool raised = style == TLMDBevelStyle::bvFrameRaised;
    canvas.Brush.Color = raised ? shadowColor_ : lightColor_;
    canvas.FrameRect({r.Left + 1, r.Top + 1, r.Right, r.Bottom});
    canvas.Brush.Color = raised ? lightColor_ : shadowColor_;
    canvas.FrameRect({r.Left, r.Top, r.Right - 1, r.Bottom - 1});
    r = r.Shrink(2);
}

TRect TLMDBevel::PaintBevel(TCanvas& canvas, TRect r, bool transparent) const
{
    const bool fillBorders = !(transparent && borderColor_ == clBtnFace);
    canvas.Pen.Style = TPenStyle::psSolid;
    canvas.Pen.Width = 1;
    canvas.Brush.Style = TBrushStyle::bsSolid;

    auto side = [&](TLMDBevelStyle style, TBevelWidth width) {
        switch (style) {
        case TLMDBevelStyle::bvLowered: Frame3D(canvas, r, shadowColor_, lightColor_, width); break;
        case TLMDBevelStyle::bvRaised: Frame3D(canvas, r, lightColor_, shadowColor_, width); break;
        case TLMDBevelStyle::bvNormal: Frame3D(canvas, r, clBlack, clBlack, width); break;
        case TLMDBevelStyle::bvFrameLowered:
        case TLMDBevelStyle::bvFrameRaised: FrameBevel(canvas, r, style); break;
        case TLMDBevelStyle::bvNone:
        case TLMDBevelStyle::bvShadow: break;
        }
    };
    auto rings = [&](TBorderWidth count) {
        canvas.Brush.Color = borderColor_;
        for (TBorderWidth i = 0; i < count; ++i) {
            if (fillBorders)
                canvas.FrameRect(r);
            r = r.Shrink(1);
        }
    };

    // The shadow box keeps r whole; its inset is taken when the box is drawn.
    int half = 0;
    int inset = 0;
    if (styleOuter_ == TLMDBevelStyle::bvShadow) {
        if (!transparent) {
            canvas.Brush.Color = borderColor_;
            canvas.FillRect(r);
        }
        canvas.Brush.Color = shadowColor_;
        canvas.FillRect({r.Left + widthOuter_, r.Top + widthOuter_, r.Right, r.Bottom});
        half = widthInner_ / 2;
        inset = widthOuter_ + half;
    } else {
        side(styleOuter_, widthOuter_);
        rings(borderWidth_);
    }

    if (styleInner_ == TLMDBevelStyle::bvShadow) {
        canvas.Brush.Color = borderColor_;
        canvas.Pen.Color = lightColor_;
        canvas.Pen.Width = widthInner_;
        r = {r.Left + half, r.Top + half, r.Right - inset, r.Bottom - inset};
        canvas.Rectangle(r);
        r = r.Shrink(half + 1);
        canvas.Pen.Width = 1;
    } else {
        side(styleInner_, widthInner_);
    }

    rings(borderInnerWidth_);
    return r;
}
