#include "controls/LmdCaptionControl.h"

#include "controls/LmdDrawing.h"

TLMDCaptionControl::TLMDCaptionControl(TComponent* owner)
    : TLMDGraphicControl(owner), fontFx_(std::make_unique<TLMDFxCaption>())
{
    fontFx_->OnChange = [this](TObject*) { FontChanged(0); };
    SetFontChangeHandler([this](TObject*) { FontChanged(0); });
}

TLMDCaptionControl::~TLMDCaptionControl()
{
    SetFontChangeHandler(nullptr);
    fontFx_->OnChange = nullptr;
    fontFx_.reset();
}

void TLMDCaptionControl::FontChanged(int)
{
    SetParentFont(false);
    if (fontFx_->Angle() == 0 || IsTrueTypeFont(Font().Name()))
        BevelChanged();
    else
        fontFx_->SetAngle(0);
}
