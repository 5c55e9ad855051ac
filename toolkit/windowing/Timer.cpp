#include "toolkit/windowing/Timer.h"

#include "toolkit/windowing/Application.h"

TTimer::TTimer(TComponent* owner) : TComponent(owner)
{
    Application().AddTimer(this);
    Restart();
}

TTimer::~TTimer()
{
    Application().RemoveTimer(this);
}

void TTimer::SetEnabled(bool enabled)
{
    if (enabled == enabled_)
        return;
    enabled_ = enabled;
    Restart();
}

void TTimer::SetInterval(unsigned milliseconds)
{
    if (milliseconds == interval_)
        return;
    interval_ = milliseconds;
    Restart();
}

void TTimer::Restart()
{
    dueAt_ = Application().Now() + interval_;
}

void TTimer::Tick(std::uint64_t now)
{
    // The next tick is counted from when this one was due, not from when
    // the loop got to it, so a late wake-up doesn't stretch the period.
    // Ticks missed altogether (a machine asleep, a long handler) are
    // skipped rather than fired in a burst, keeping the old step.
    dueAt_ += interval_;
    if (dueAt_ <= now)
        dueAt_ += (now - dueAt_) / interval_ * interval_ + interval_;
    if (OnTimer)
        OnTimer(this);
}
