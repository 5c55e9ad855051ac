#include "toolkit/windowing/ClassRegistry.h"
#include "toolkit/windowing/Image.h"
#include "toolkit/windowing/Panel.h"
#include "toolkit/windowing/SpeedButton.h"
#include "toolkit/windowing/Timer.h"

// The toolkit's classes as window layouts know them.
void RegisterStandardClasses()
{
    TClassBuilder<TPersistent>("TPersistent", "", false);
    TClassBuilder<TComponent>("TComponent", "TPersistent", false);

    TClassBuilder<TFont>("TFont", "TPersistent", false)
        .String("Name", &TFont::SetName)
        .Integer("Height", &TFont::SetHeight)
        .Integer("Size", &TFont::SetSize)
        .Color("Color", &TFont::SetColor)
        .Set("Style", &TFont::SetStyle,
            {{"fsBold", fsBold}, {"fsItalic", fsItalic}, {"fsUnderline", fsUnderline}, {"fsStrikeOut", fsStrikeOut}})
        .Ignored("Charset");

    TClassBuilder<TControl>("TControl", "TComponent", false)
        .Integer("Left", &TControl::SetLeft)
        .Integer("Top", &TControl::SetTop)
        .Integer("Width", &TControl::SetWidth)
        .Integer("Height", &TControl::SetHeight)
        .Boolean("Visible", &TControl::SetVisible)
        .Boolean("Enabled", &TControl::SetEnabled)
        .String("Caption", &TControl::SetCaption)
        .Color("Color", &TControl::SetColor)
        .Boolean("ParentColor", &TControl::SetParentColor)
        .Object("Font", static_cast<TFont& (TControl::*)()>(&TControl::Font))
        .Boolean("ParentFont", &TControl::SetParentFont)
        .Boolean("ShowHint", &TControl::SetShowHint)
        .Boolean("ParentShowHint", &TControl::SetParentShowHint)
        .Enum("Align", &TControl::SetAlign,
            {{"alNone", TAlign::alNone}, {"alTop", TAlign::alTop}, {"alBottom", TAlign::alBottom},
                {"alLeft", TAlign::alLeft}, {"alRight", TAlign::alRight}, {"alClient", TAlign::alClient}})
        .Event("OnClick", &TControl::OnClick)
        .Event("OnDblClick", &TControl::OnDblClick)
        .Event("OnMouseDown", &TControl::OnMouseDown)
        .Event("OnMouseMove", &TControl::OnMouseMove)
        .Event("OnMouseUp", &TControl::OnMouseUp);

    TClassBuilder<TGraphicControl>("TGraphicControl", "TControl", false);

    TClassBuilder<TWinControl>("TWinControl", "TControl", false)
        .Integer("TabOrder", &TWinControl::SetTabOrder)
        .Boolean("TabStop", &TWinControl::SetTabStop)
        .Boolean("Ctl3D", &TWinControl::SetCtl3D)
        .Boolean("ParentCtl3D", &TWinControl::SetParentCtl3D)
        .Event("OnEnter", &TWinControl::OnEnter)
        .Event("OnExit", &TWinControl::OnExit)
        .Event("OnKeyDown", &TWinControl::OnKeyDown)
        .Event("OnKeyUp", &TWinControl::OnKeyUp);

    TClassBuilder<TForm>("TForm", "TWinControl", false)
        .Integer("ClientWidth", &TForm::SetClientWidth)
        .Integer("ClientHeight", &TForm::SetClientHeight)
        .Enum("BorderStyle", &TForm::SetBorderStyle,
            {{"bsNone", TFormBorderStyle::bsNone}, {"bsSingle", TFormBorderStyle::bsSingle},
                {"bsSizeable", TFormBorderStyle::bsSizeable}, {"bsDialog", TFormBorderStyle::bsDialog}})
        .Enum("Position", &TForm::SetPosition,
            {{"poDesigned", TPosition::poDesigned}, {"poDefault", TPosition::poDefault},
                {"poScreenCenter", TPosition::poScreenCenter}, {"poMainFormCenter", TPosition::poMainFormCenter}})
        .Ignored("PixelsPerInch")
        .Event("OnCreate", &TForm::OnCreate)
        .Event("OnDestroy", &TForm::OnDestroy)
        .Event("OnShow", &TForm::OnShow)
        .Event("OnClose", &TForm::OnClose);

    TClassBuilder<TPanel>("TPanel", "TWinControl")
        .Enum("BevelOuter", &TPanel::SetBevelOuter,
            {{"bvNone", TPanelBevel::bvNone}, {"bvLowered", TPanelBevel::bvLowered},
                {"bvRaised", TPanelBevel::bvRaised}, {"bvSpace", TPanelBevel::bvSpace}})
        .Enum("BevelInner", &TPanel::SetBevelInner,
            {{"bvNone", TPanelBevel::bvNone}, {"bvLowered", TPanelBevel::bvLowered},
                {"bvRaised", TPanelBevel::bvRaised}, {"bvSpace", TPanelBevel::bvSpace}})
        .Integer("BevelWidth", &TPanel::SetBevelWidth)
        .Integer("BorderWidth", &TPanel::SetBorderWidth);

    TClassBuilder<TImage>("TImage", "TGraphicControl").Bitmap("Picture", &TImage::SetPicture);

    TClassBuilder<TLabel>("TLabel", "TGraphicControl")
        .Boolean("AutoSize", &TLabel::SetAutoSize)
        .Boolean("Transparent", &TLabel::SetTransparent)
        .Boolean("ShowAccelChar", &TLabel::SetShowAccelChar);

    TClassBuilder<TSpeedButton>("TSpeedButton", "TGraphicControl")
        .Bitmap("Glyph", &TSpeedButton::SetGlyph)
        .Integer("NumGlyphs", &TSpeedButton::SetNumGlyphs)
        .Boolean("Flat", &TSpeedButton::SetFlat);

    TClassBuilder<TTimer>("TTimer", "TComponent")
        .Boolean("Enabled", &TTimer::SetEnabled)
        .Integer("Interval", &TTimer::SetInterval)
        .Event("OnTimer", &TTimer::OnTimer);
}
