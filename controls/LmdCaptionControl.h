#pragma once

#include "controls/LmdCaption.h"
#include "controls/LmdGraphicControl.h"

#include <memory>

// A framed control with a text effect: it owns the FontFx settings and
// answers changes of them and of its Font in one place, FontChanged.
class TLMDCaptionControl : public TLMDGraphicControl {
public:
    explicit TLMDCaptionControl(TComponent* owner);
    ~TLMDCaptionControl() override;
    const char* ClassName() const override { return "TLMDCaptionControl"; }

    TLMDFxCaption& FontFx() { return *fontFx_; }
    const TLMDFxCaption& FontFx() const { return *fontFx_; }
    // Copies the values in; the control keeps its own settings.
    void SetFontFx(const TLMDFxCaption& fontFx) { fontFx_->Assign(fontFx); }

protected:
    // Font or FontFx changed (the argument is not used). The control stops
    // following its parent's font; a face that can't be drawn rotated turns
    // the text horizontal (Angle 0, through its setter, which comes back
    // here); otherwise BevelChanged.
    virtual void FontChanged(int unused);
    void FontChanged() override { FontChanged(0); }
    void TextChanged() override { Invalidate(); }

private:
    std::unique_ptr<TLMDFxCaption> fontFx_;
};
