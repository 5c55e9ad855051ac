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
    dueAt_ = now + interval_;
    if (OnTimer)
        OnTimer(this);
}
