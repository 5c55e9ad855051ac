// The timer's period: a tick served late doesn't put off the ones after it,
// on the headless clock and in the real message loop.

#include "toolkit/windowing/Application.h"
#include "toolkit/windowing/Form.h"
#include "toolkit/windowing/Timer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <vector>

namespace {

constexpr unsigned Period = 250; // ms, the main window's update timer

class TimerTest : public ::testing::Test {
protected:
    void Start(bool realLoop)
    {
        if (realLoop)
            Application().Initialize(1);
        else
            Application().InitializeHeadless();
        Application().CreateForm(form);
        timer = TComponent::Create<TTimer>(form);
        timer->SetInterval(Period);
        timer->OnTimer = [this](TObject*) { ticks.push_back(Application().Now()); };
        start = Application().Now();
    }
    void TearDown() override { Application().DestroyForms(); }

    // Lets the clock pass the timer's due time by lateMs before the loop
    // looks, as a wake-up that comes late does.
    void ServeLate(std::uint64_t lateMs)
    {
        Application().Platform().AdvanceClock(timer->DueAt() + lateMs);
        Application().ProcessMessages();
    }

    TForm* form = nullptr;
    TTimer* timer = nullptr;
    std::uint64_t start = 0;
    std::vector<std::uint64_t> ticks;
};

} // namespace

TEST_F(TimerTest, ALateTickDoesNotPutOffTheNext)
{
    Start(false);
    for (int i = 0; i < 40; ++i)
        ServeLate(i % 4 == 0 ? 30 : 1);
    ASSERT_EQ(ticks.size(), 40u);
    for (std::size_t k = 0; k < ticks.size(); ++k) {
        const std::uint64_t due = start + Period * (k + 1);
        EXPECT_EQ(ticks[k], due + (k % 4 == 0 ? 30 : 1))
            << "tick " << k + 1 << " is counted from when the last was due";
    }
    EXPECT_EQ(timer->DueAt(), start + Period * 41);
}

TEST_F(TimerTest, TicksMissedAltogetherAreSkippedInStep)
{
    Start(false);
    // A machine asleep for a second and a bit: one tick, not five at once,
    // and the next keeps the old step.
    ServeLate(1100);
    EXPECT_EQ(ticks.size(), 1u);
    EXPECT_EQ(timer->DueAt(), start + Period * 6);
    Application().AdvanceTime(Period * 6);
    EXPECT_EQ(ticks.size(), 7u);
    EXPECT_EQ(ticks.back(), start + Period * 11);
}

// The real message loop waits a little past each due time, and the system
// may wake it later still: the ticks must keep their step all the same,
// which is what makes a pass of the info script take its time.
TEST_F(TimerTest, TheRealLoopKeepsTheStepOverFortyTicks)
{
    Start(true);
    while (ticks.size() < 40)
        Application().HandleMessage();
    std::uint64_t leastLate = UINT64_MAX;
    for (std::size_t k = ticks.size() - 8; k < ticks.size(); ++k)
        leastLate = std::min(leastLate, ticks[k] - (start + Period * (k + 1)));
    std::printf("40 ticks in %llu ms: %.2f ms a tick\n", static_cast<unsigned long long>(ticks.back() - start),
        static_cast<double>(ticks.back() - start) / 40);
    EXPECT_LT(leastLate, 15u) << "each of the last eight ticks came that much after its due time";
}
