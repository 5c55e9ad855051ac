#pragma once

#include "toolkit/windowing/Component.h"

#include <cstdint>

// Raises OnTimer every Interval milliseconds while enabled, each tick due a
// whole number of intervals after the wait began. Ticks are served by the
// message loop, so a handler never interrupts another.
class TTimer : public TComponent {
public:
    explicit TTimer(TComponent* owner);
    ~TTimer() override;
    const char* ClassName() const override { return "TTimer"; }

    bool Enabled() const { return enabled_; }
    void SetEnabled(bool enabled);
    // Milliseconds; 0 stops the ticks. Setting it starts the wait afresh.
    unsigned Interval() const { return interval_; }
    void SetInterval(unsigned milliseconds);

    TNotifyEvent OnTimer;

    // Used by the message loop.
    std::uint64_t DueAt() const { return dueAt_; }
    bool Active() const { return enabled_ && interval_ > 0 && OnTimer != nullptr; }
    void Tick(std::uint64_t now);
    void Restart();

private:
    bool enabled_ = true;
    unsigned interval_ = 1000;
    std::uint64_t dueAt_ = 0;
};
