#pragma once

#include "toolkit/graphics/Canvas.h"
#include "toolkit/graphics/Color.h"
#include "toolkit/graphics/Object.h"

#include <cstdint>

// The streamable sub-objects of the effect label tell their owning control
// of every change through OnChange. The owner sets it to its own reaction
// and clears it before it frees the sub-object.
class TLMDObject : public TPersistent {
public:
    TLMDObject() = default;
    const char* ClassName() const override { return "TLMDObject"; }

    TNotifyEvent OnChange;

    // Tells the owner; every setter calls it after storing a changed value.
    void Change()
    {
        if (OnChange)
            OnChange(this);
    }
};

// Styles of one side of the bevel. bvShadow is always worn by both sides
// together.
enum class TLMDBevelStyle : std::uint8_t {
    bvNone,
    bvLowered,      // top and left shaded, bottom and right lit
    bvRaised,       // top and left lit, bottom and right shaded
    bvFrameLowered, // two-pixel etched frame
    bvFrameRaised,  // two-pixel embossed frame
    bvNormal,       // black on every side
    bvShadow,       // a box with a drop shadow to the lower right
};

using TBevelWidth = std::int32_t;  // pixels, 1 and up
using TBorderWidth = std::int32_t; // one-pixel rings, 0 and up (0 or less draws none)

// The frame of the effect label, from the outside in: the outer bevel, a
// border of solid rings, the inner bevel and an inner border of rings.
//
// The setters keep two rules: StyleInner is bvShadow exactly when
// StyleOuter is, and a side in a frame style is at most 1 wide (a frame is
// drawn two pixels wide whatever its width says).
class TLMDBevel : public TLMDObject {
public:
    TLMDBevel() = default;
    const char* ClassName() const override { return "TLMDBevel"; }

    TLMDBevelStyle StyleInner() const { return styleInner_; }
    void SetStyleInner(TLMDBevelStyle style);
    TLMDBevelStyle StyleOuter() const { return styleOuter_; }
    void SetStyleOuter(TLMDBevelStyle style);
    // A width that a frame style does not allow is ignored without a word.
    TBevelWidth WidthInner() const { return widthInner_; }
    void SetWidthInner(TBevelWidth width);
    TBevelWidth WidthOuter() const { return widthOuter_; }
    void SetWidthOuter(TBevelWidth width);
    TColor BorderColor() const { return borderColor_; }
    void SetBorderColor(TColor color);
    TBorderWidth BorderInnerWidth() const { return borderInnerWidth_; }
    void SetBorderInnerWidth(TBorderWidth width);
    TBorderWidth BorderWidth() const { return borderWidth_; }
    void SetBorderWidth(TBorderWidth width);
    TColor LightColor() const { return lightColor_; }
    void SetLightColor(TColor color);
    TColor ShadowColor() const { return shadowColor_; }
    void SetShadowColor(TColor color);

    // Copies another bevel through the setters, then notifies once more.
    // Anything else raises the assignment error and changes nothing.
    void Assign(const TPersistent& source) override;

    // Pixels the bevel takes from each side of a rectangle.
    int BevelExtent() const;

    // Draws the frame into r and returns the rectangle left inside it.
    // With transparent on, a bvShadow box is not backed by BorderColor, and
    // border rings in clBtnFace are left out (they still take their room).
    // Leaves the canvas with a solid one-pixel pen and a solid brush of
    // BorderColor.
    virtual TRect PaintBevel(TCanvas& canvas, TRect r, bool transparent) const;

private:
    void FrameBevel(TCanvas& canvas, TRect& r, TLMDBevelStyle style) const;

    TLMDBevelStyle styleInner_ = TLMDBevelStyle::bvNone;
    TLMDBevelStyle styleOuter_ = TLMDBevelStyle::bvNone;
    TBevelWidth widthInner_ = 1;
    TBevelWidth widthOuter_ = 1;
    TColor borderColor_ = clBtnFace;
    TBorderWidth borderInnerWidth_ = 0;
    TBorderWidth borderWidth_ = 0;
    TColor lightColor_ = clBtnHighlight;
    TColor shadowColor_ = clBtnShadow;
};
