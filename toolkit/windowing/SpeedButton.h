#pragma once

#include "toolkit/graphics/Bitmap.h"
#include "toolkit/windowing/Control.h"

enum class TButtonState : std::uint8_t { bsUp, bsDisabled, bsDown, bsExclusive };

// A flat push button showing a glyph. The glyph's bottom-left pixel colour
// is drawn transparent. A left press shows it pressed while the pointer is
// over it; the release over it clicks.
class TSpeedButton : public TGraphicControl {
public:
    explicit TSpeedButton(TComponent* owner);
    const char* ClassName() const override { return "TSpeedButton"; }

    const TBitmap& Glyph() const { return glyph_; }
    void SetGlyph(const TBitmap& glyph);
    // Images side by side in the glyph: up, disabled, down, exclusive (1..4).
    int NumGlyphs() const { return numGlyphs_; }
    void SetNumGlyphs(int count);
    bool Flat() const { return flat_; }
    void SetFlat(bool flat);

    TButtonState State() const { return state_; }
    void Click() override;
    void Paint() override;

protected:
    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
    void MouseMove(TShiftState shift, int x, int y) override;
    void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;
    void EnabledChanged() override;

    bool Dragging() const { return dragging_; }
    void SetState(TButtonState state);
    // Inside for the button: the bottom row counts as inside, as classically.
    bool IsInside(int x, int y) const { return x >= 0 && x < Width() && y >= 0 && y <= Height(); }
    void PaintFace(TCanvas& canvas);

private:
    TBitmap glyph_;
    int numGlyphs_ = 1;
    bool flat_ = false;
    TButtonState state_ = TButtonState::bsUp;
    bool dragging_ = false;
};
