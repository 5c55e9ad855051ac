#include "controls/Lmdlabel.h"
#include "toolkit/windowing/ClassRegistry.h"

namespace {

template <typename T>
TClassBuilder<T>& BevelStyle(TClassBuilder<T>& builder, const std::string& name, void (T::*setter)(TLMDBevelStyle))
{
    using enum TLMDBevelStyle;
    return builder.Enum(name, setter,
        {{"bvNone", bvNone}, {"bvLowered", bvLowered}, {"bvRaised", bvRaised}, {"bvFrameLowered", bvFrameLowered},
            {"bvFrameRaised", bvFrameRaised}, {"bvNormal", bvNormal}, {"bvShadow", bvShadow}});
}

void RegisterSubObjects()
{
    TClassBuilder<TLMDObject>("TLMDObject", "TPersistent", false);

    TClassBuilder<TLMDBevel> bevel("TLMDBevel", "TLMDObject", false);
    BevelStyle(bevel, "StyleInner", &TLMDBevel::SetStyleInner);
    BevelStyle(bevel, "StyleOuter", &TLMDBevel::SetStyleOuter);
    bevel.Integer("WidthInner", &TLMDBevel::SetWidthInner)
        .Integer("WidthOuter", &TLMDBevel::SetWidthOuter)
        .Color("BorderColor", &TLMDBevel::SetBorderColor)
        .Integer("BorderWidth", &TLMDBevel::SetBorderWidth)
        .Integer("BorderInnerWidth", &TLMDBevel::SetBorderInnerWidth)
        .Color("LightColor", &TLMDBevel::SetLightColor)
        .Color("ShadowColor", &TLMDBevel::SetShadowColor);

    {
        using enum TLMDThreeDStyle;
        TClassBuilder<TLMD3DCaption>("TLMD3DCaption", "TLMDObject", false)
            .Integer("Depth3D", &TLMD3DCaption::SetDepth3D)
            .Color("LightColor", &TLMD3DCaption::SetLightColor)
            .Color("ShadowColor", &TLMD3DCaption::SetShadowColor)
            .Enum("Style", &TLMD3DCaption::SetStyle,
                {{"tdNone", tdNone}, {"tdSunken", tdSunken}, {"tdRaised", tdRaised}, {"tdSunkenShadow", tdSunkenShadow},
                    {"tdRaisedShadow", tdRaisedShadow}, {"tdPColorSunken", tdPColorSunken},
                    {"tdPColorRaised", tdPColorRaised}});
    }

    TClassBuilder<TLMDFxCaption>("TLMDFxCaption", "TLMD3DCaption", false)
        .Integer("Angle", &TLMDFxCaption::SetAngle)
        .Integer("PosX", &TLMDFxCaption::SetPosX)
        .Integer("PosY", &TLMDFxCaption::SetPosY);
}

void RegisterLabel()
{
    TClassBuilder<TLMDGraphicControl>("TLMDGraphicControl", "TGraphicControl", false);
    TClassBuilder<TLMDCaptionControl>("TLMDCaptionControl", "TLMDGraphicControl", false);
    TClassBuilder<TLMDCustomLabel>("TLMDCustomLabel", "TLMDCaptionControl", false);

    using enum TLMDAlignment;
    // The published order; a layout stores them so, and the font must be in
    // place before FontFx.Angle is read.
    TClassBuilder<TLMDLabel>("TLMDLabel", "TLMDCustomLabel")
        .Ignored("About")
        .Enum("Align", &TControl::SetAlign,
            {{"alNone", TAlign::alNone}, {"alTop", TAlign::alTop}, {"alBottom", TAlign::alBottom},
                {"alLeft", TAlign::alLeft}, {"alRight", TAlign::alRight}, {"alClient", TAlign::alClient}})
        .Enum("Alignment", &TLMDCustomLabel::SetAlignment,
            {{"agTopLeft", agTopLeft}, {"agTopCenter", agTopCenter}, {"agTopRight", agTopRight},
                {"agCenterLeft", agCenterLeft}, {"agCenter", agCenter}, {"agCenterRight", agCenterRight},
                {"agBottomLeft", agBottomLeft}, {"agBottomCenter", agBottomCenter}, {"agBottomRight", agBottomRight}})
        .Object("Bevel", static_cast<TLMDBevel& (TLMDGraphicControl::*)()>(&TLMDGraphicControl::Bevel))
        .Boolean("AutoSize", &TLMDCustomLabel::SetAutoSize)
        .String("Caption", &TControl::SetCaption)
        .Color("Color", &TControl::SetColor)
        .Ignored("DragCursor")
        .Ignored("DragMode")
        .Boolean("Enabled", &TControl::SetEnabled)
        .Custom("FocusControl",
            [](TLMDLabel& label, const TLayoutValue& value, TLayoutContext& context) {
                auto* control = dynamic_cast<TWinControl*>(context.Root().FindComponent(value.text));
                if (!control)
                    context.Fail("no windowed control '" + value.text + "' before this label");
                label.SetFocusControl(control);
            })
        .Object("Font", static_cast<TFont& (TControl::*)()>(&TControl::Font))
        .Object("FontFx", static_cast<TLMDFxCaption& (TLMDCaptionControl::*)()>(&TLMDCaptionControl::FontFx))
        .Boolean("MultiLine", &TLMDCustomLabel::SetMultiLine)
        .Boolean("ParentColor", &TControl::SetParentColor)
        .Boolean("ParentFont", &TControl::SetParentFont)
        .Boolean("ParentShowHint", &TControl::SetParentShowHint)
        .Ignored("PopupMenu")
        .Boolean("ShowAccelChar", &TLMDCustomLabel::SetShowAccelChar)
        .Boolean("ShowHint", &TControl::SetShowHint)
        .Boolean("Transparent", &TLMDCustomLabel::SetTransparent)
        .Boolean("Visible", &TControl::SetVisible)
        .Event("OnClick", &TControl::OnClick)
        .Event("OnDblClick", &TControl::OnDblClick)
        .Ignored("OnDragDrop")
        .Ignored("OnDragOver")
        .Ignored("OnEndDrag")
        .Event("OnMouseDown", &TControl::OnMouseDown)
        .Event("OnMouseMove", &TControl::OnMouseMove)
        .Event("OnMouseUp", &TControl::OnMouseUp);
}

} // namespace

void RegisterLmdlabel()
{
    static bool registered = false;
    if (registered)
        return;
    registered = true;
    RegisterSubObjects();
    RegisterLabel();
}
