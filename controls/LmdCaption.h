#pragma once

#include "controls/Lmdobj.h"

#include <cstdint>

// Which copies of the text are drawn, and where (D is Depth3D):
enum class TLMDThreeDStyle : std::uint8_t {
    tdNone,         // the text alone
    tdSunken,       // light copy D right of and below the text
    tdRaised,       // light copy at the origin, text D right of and below it
    tdSunkenShadow, // shadow at 0, light at 2D, text at D
    tdRaisedShadow, // shadow at 2D, light at 0, text at D
    tdPColorSunken, // as tdSunkenShadow, the text in the control's colour
    tdPColorRaised, // as tdRaisedShadow, the text in the control's colour
};

// Degrees, counter-clockwise; 0..360 by intent, any value is taken.
using TLMDAngle = std::uint16_t;

// The three-dimensional text effect: how far apart and in which colours
// the copies of the text are drawn.
class TLMD3DCaption : public TLMDObject {
public:
    TLMD3DCaption() = default;
    const char* ClassName() const override { return "TLMD3DCaption"; }

    // Pixels between the copies, 0..255.
    std::uint8_t Depth3D() const { return depth3D_; }
    void SetDepth3D(std::uint8_t depth);
    TColor LightColor() const { return lightColor_; }
    void SetLightColor(TColor color);
    TColor ShadowColor() const { return shadowColor_; }
    void SetShadowColor(TColor color);
    TLMDThreeDStyle Style() const { return style_; }
    void SetStyle(TLMDThreeDStyle style);

    // Copies Depth3D, LightColor, ShadowColor and Style of another effect
    // through the setters, then notifies once more. Anything else raises
    // the assignment error and changes nothing.
    void Assign(const TPersistent& source) override;

private:
    std::uint8_t depth3D_ = 1;
    TColor lightColor_ = clBtnHighlight;
    TColor shadowColor_ = clBtnShadow;
    TLMDThreeDStyle style_ = TLMDThreeDStyle::tdNone;
};

// The effect with rotation and the text's position. For rotated text PosX
// and PosY place the first character cell in the control; for horizontal
// text they move it from the corner of the inner rectangle.
class TLMDFxCaption : public TLMD3DCaption {
public:
    TLMDFxCaption() = default;
    const char* ClassName() const override { return "TLMDFxCaption"; }

    TLMDAngle Angle() const { return angle_; }
    void SetAngle(TLMDAngle angle);
    // Pixels.
    std::uint16_t PosX() const { return posX_; }
    void SetPosX(std::uint16_t x);
    std::uint16_t PosY() const { return posY_; }
    void SetPosY(std::uint16_t y);

    // From another TLMDFxCaption also PosX, PosY and Angle, in this order,
    // before the closing notification; from a plain TLMD3DCaption only what
    // that one has.
    void Assign(const TPersistent& source) override;

private:
    TLMDAngle angle_ = 0;
    std::uint16_t posX_ = 0;
    std::uint16_t posY_ = 0;
};
