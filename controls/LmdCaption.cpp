#include "controls/LmdCaption.h"

void TLMD3DCaption::SetDepth3D(std::uint8_t depth)
{
    if (depth == depth3D_)
        return;
    depth3D_ = depth;
    Change();
}

void TLMD3DCaption::SetLightColor(TColor color)
{
    if (color == lightColor_)
        return;
    lightColor_ = color;
    Change();
}

void TLMD3DCaption::SetShadowColor(TColor color)
{
    if (color == shadowColor_)
        return;
    shadowColor_ = color;
    Change();
}

void TLMD3DCaption::SetStyle(TLMDThreeDStyle style)
{
    if (style == style_)
        return;
    style_ = style;
    Change();
}

void TLMD3DCaption::Assign(const TPersistent& source)
{
    auto* caption = dynamic_cast<const TLMD3DCaption*>(&source);
    if (!caption) {
        TLMDObject::Assign(source);
        return;
    }
    SetDepth3D(caption->depth3D_);
    SetLightColor(caption->lightColor_);
    SetShadowColor(caption->shadowColor_);
    SetStyle(caption->style_);
    Change();
}

void TLMDFxCaption::SetAngle(TLMDAngle angle)
{
    if (angle == angle_)
        return;
    angle_ = angle;
    Change();
}

void TLMDFxCaption::SetPosX(std::uint16_t x)
{
    if (x == posX_)
        return;
    posX_ = x;
    Change();
}

void TLMDFxCaption::SetPosY(std::uint16_t y)
{
    if (y == posY_)
        return;
    posY_ = y;
    Change();
}

void TLMDFxCaption::Assign(const TPersistent& source)
{
    auto* fx = dynamic_cast<const TLMDFxCaption*>(&source);
    if (!fx) {
        TLMD3DCaption::Assign(source);
        return;
    }
    SetDepth3D(fx->Depth3D());
    SetLightColor(fx->LightColor());
    SetShadowColor(fx->ShadowColor());
    SetStyle(fx->Style());
    SetPosX(fx->posX_);
    SetPosY(fx->posY_);
    SetAngle(fx->angle_);
    Change();
}
