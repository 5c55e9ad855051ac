#pragma once

#include "toolkit/windowing/SpeedButton.h"

class TTimer;

// One half of a spin button: a glyph button whose press, held down over it,
// keeps clicking. The first repeat comes 400 ms after the press, the next
// ones every 100 ms; a repeat clicks only while the button is shown down and
// holds the mouse capture, so moving off the button pauses the clicks.
class TTimerSpeedButton : public TSpeedButton {
public:
    static constexpr unsigned InitialRepeatDelay = 400; // ms from the press to the first repeat
    static constexpr unsigned RepeatInterval = 100;     // ms between further repeats

    explicit TTimerSpeedButton(TComponent* owner);
    ~TTimerSpeedButton() override;
    const char* ClassName() const override { return "TTimerSpeedButton"; }

    // Whether a press starts the repeat timer.
    bool AllowRepeat() const { return allowRepeat_; }
    void SetAllowRepeat(bool allow) { allowRepeat_ = allow; }
    // Whether a dotted focus rectangle is painted over the face. The owner
    // marks the button for repainting when it changes this.
    bool ShowFocusRect() const { return showFocusRect_; }
    void SetShowFocusRect(bool show) { showFocusRect_ = show; }

    // Null until the first press; kept from then on.
    TTimer* RepeatTimer() const { return repeatTimer_; }

    void Paint() override;

protected:
    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
    void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;

private:
    void RepeatTick(TObject* sender);

    TTimer* repeatTimer_ = nullptr; // owned as one of this button's components
    bool allowRepeat_ = false;
    bool showFocusRect_ = false;
};
