#include "controls/TimerSpeedButton.h"

#include "toolkit/windowing/Timer.h"

TTimerSpeedButton::TTimerSpeedButton(TComponent* owner) : TSpeedButton(owner)
{
}

TTimerSpeedButton::~TTimerSpeedButton()
{
    // The timer would go with the other owned components anyway; freeing it
    // first keeps a tick from ever reaching a half-destroyed button.
    if (repeatTimer_) {
        repeatTimer_->Free();
        repeatTimer_ = nullptr;
    }
}

void TTimerSpeedButton::MouseDown(TMouseButton button, TShiftState shift, int x, int y)
{
    TSpeedButton::MouseDown(button, shift, x, y);
    // Any button starts the timer; only a left press shows the button down,
    // and without that the ticks click nothing.
    if (!allowRepeat_)
        return;
    if (!repeatTimer_)
        repeatTimer_ = TComponent::Create<TTimer>(this);
    repeatTimer_->OnTimer = [this](TObject* sender) { RepeatTick(sender); };
    repeatTimer_->SetInterval(InitialRepeatDelay);
    repeatTimer_->SetEnabled(true);
}

void TTimerSpeedButton::MouseUp(TMouseButton button, TShiftState shift, int x, int y)
{
    TSpeedButton::MouseUp(button, shift, x, y);
    if (repeatTimer_)
        repeatTimer_->SetEnabled(false);
}

void TTimerSpeedButton::RepeatTick(TObject*)
{
    repeatTimer_->SetInterval(RepeatInterval);
    if (State() != TButtonState::bsDown || !MouseCapture())
        return;
    try {
        Click();
    } catch (...) {
        // A failing handler would otherwise fail again every 100 ms.
        repeatTimer_->SetEnabled(false);
        throw;
    }
}

void TTimerSpeedButton::Paint()
{
    TSpeedButton::Paint();
    if (!showFocusRect_)
        return;
    TRect r = ClientRect().Shrink(3);
    if (State() == TButtonState::bsDown)
        r = r.Offset(1, 1);
    Canvas().DrawFocusRect(r);
}
