#pragma once

#include "toolkit/windowing/WinControl.h"

enum class TPanelBevel : std::uint8_t { bvNone, bvLowered, bvRaised, bvSpace };

// A windowed surface in its colour, framed by an outer and an inner
// one-pixel-per-step bevel, with an optional centred caption.
class TPanel : public TWinControl {
public:
    explicit TPanel(TComponent* owner);
    const char* ClassName() const override { return "TPanel"; }

    TPanelBevel BevelOuter() const { return bevelOuter_; }
    void SetBevelOuter(TPanelBevel bevel);
    TPanelBevel BevelInner() const { return bevelInner_; }
    void SetBevelInner(TPanelBevel bevel);
    // Pixels per bevel, 1 and up.
    int BevelWidth() const { return bevelWidth_; }
    void SetBevelWidth(int width);
    // Pixels between the outer and the inner bevel, 0 and up.
    int BorderWidth() const { return borderWidth_; }
    void SetBorderWidth(int width);

    void Paint() override;

private:
    TPanelBevel bevelOuter_ = TPanelBevel::bvRaised;
    TPanelBevel bevelInner_ = TPanelBevel::bvNone;
    int bevelWidth_ = 1;
    int borderWidth_ = 0;
};
