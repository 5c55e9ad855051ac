#include "SpinTestSupport.h"

#include "tests/support/ScreenTest.h"

#include "toolkit/windowing/Application.h"
#include "toolkit/windowing/Timer.h"

#include <stdexcept>

using Clicks = std::vector<TSpinClick>;

TEST_F(SpinTest, QuickPressClicksOnceOnRelease)
{
    TPoint p = CentreOf(*spin->UpButton());
    Press(p);
    EXPECT_EQ(spin->UpButton()->State(), TButtonState::bsDown);
    EXPECT_TRUE(ScreenShowsPainted(*window, WindowRectOf(*spin))) << "the pressed half is on screen at once";
    Wait(399);
    EXPECT_TRUE(clicks.empty());
    Release(p);
    EXPECT_EQ(clicks, (Clicks{{"up", 399}}));
    EXPECT_EQ(spin->UpButton()->State(), TButtonState::bsUp);
    EXPECT_TRUE(ScreenShowsPainted(*window, WindowRectOf(*spin))) << "and so is the released one";

    Wait(1000);
    EXPECT_EQ(clicks.size(), 1u) << "the release stopped the repeat";
    ASSERT_NE(spin->UpButton()->RepeatTimer(), nullptr);
    EXPECT_FALSE(spin->UpButton()->RepeatTimer()->Enabled());
}

TEST_F(SpinTest, HeldHalfRepeatsAfter400MsThenEvery100Ms)
{
    TPoint p = CentreOf(*spin->UpButton());
    Press(p);
    Wait(650);
    EXPECT_EQ(clicks, (Clicks{{"up", 400}, {"up", 500}, {"up", 600}}));
    Release(p);
    EXPECT_EQ(clicks.size(), 4u);
    EXPECT_EQ(clicks.back(), (TSpinClick{"up", 650}));
}

TEST_F(SpinTest, HeldForOneSecondClicksSevenTimesAndOnceMoreOnRelease)
{
    TPoint p = CentreOf(*spin->DownButton());
    Press(p);
    Wait(1000);
    Release(p);
    EXPECT_EQ(clicks,
        (Clicks{{"down", 400}, {"down", 500}, {"down", 600}, {"down", 700}, {"down", 800}, {"down", 900},
            {"down", 1000}, {"down", 1000}}));
}

TEST_F(SpinTest, EachPressStartsTheRepeatAfresh)
{
    TPoint p = CentreOf(*spin->UpButton());
    Press(p);
    Wait(550);
    Release(p);
    clicks.clear();
    start = Application().Now();

    Press(p);
    Wait(399);
    EXPECT_TRUE(clicks.empty()) << "the first repeat waits the full 400 ms again";
    Wait(1);
    EXPECT_EQ(clicks, (Clicks{{"up", 400}}));
    Release(p);
}

TEST_F(SpinTest, MovingOffThePressedHalfPausesTheRepeatAndReleasingOutsideClicksNothing)
{
    TTimerSpeedButton& up = *spin->UpButton();
    Press(CentreOf(up));
    Wait(450);
    EXPECT_EQ(clicks.size(), 1u);

    TPoint outside = At(up, up.Width() + 20, up.Height() / 2);
    MoveTo(outside);
    EXPECT_EQ(up.State(), TButtonState::bsUp);
    Wait(300);
    EXPECT_EQ(clicks.size(), 1u) << "no repeat while the pointer is off the half";
    EXPECT_TRUE(up.RepeatTimer()->Enabled()) << "the timer keeps ticking meanwhile";

    MoveTo(CentreOf(up));
    EXPECT_EQ(up.State(), TButtonState::bsDown);
    Wait(100);
    EXPECT_EQ(clicks, (Clicks{{"up", 400}, {"up", 800}})) << "clicking resumes on the way back";

    MoveTo(outside);
    Wait(200);
    Release(outside);
    EXPECT_EQ(clicks.size(), 2u) << "a release off the half is no click";
    EXPECT_FALSE(up.RepeatTimer()->Enabled());
    Wait(500);
    EXPECT_EQ(clicks.size(), 2u);
}

TEST_F(SpinTest, ReleaseOnTheRowBelowThePressedHalfStillClicksIt)
{
    // The speed button takes its bottom edge as inside: a release on the row
    // just below the upper half (the lower half's second row) still clicks it.
    TTimerSpeedButton& up = *spin->UpButton();
    Press(CentreOf(up));
    Release(At(up, 3, up.Height()));
    EXPECT_EQ(Halves(), (std::vector<std::string>{"up"}));
}

TEST_F(SpinTest, RightButtonStartsTheTimerButNeverClicks)
{
    TTimerSpeedButton& up = *spin->UpButton();
    Press(CentreOf(up), TMouseButton::mbRight);
    EXPECT_EQ(up.State(), TButtonState::bsUp);
    ASSERT_NE(up.RepeatTimer(), nullptr);
    EXPECT_TRUE(up.RepeatTimer()->Enabled());
    Wait(1000);
    EXPECT_EQ(up.RepeatTimer()->Interval(), TTimerSpeedButton::RepeatInterval) << "it did tick";
    Release(CentreOf(up), TMouseButton::mbRight);
    EXPECT_FALSE(up.RepeatTimer()->Enabled());
    EXPECT_TRUE(clicks.empty());
}

TEST_F(SpinTest, RepeatTimerIsCreatedOnTheFirstPress)
{
    EXPECT_EQ(spin->UpButton()->RepeatTimer(), nullptr);
    EXPECT_EQ(spin->DownButton()->RepeatTimer(), nullptr);
    Press(CentreOf(*spin->DownButton()));
    EXPECT_EQ(spin->UpButton()->RepeatTimer(), nullptr);
    ASSERT_NE(spin->DownButton()->RepeatTimer(), nullptr);
    EXPECT_EQ(spin->DownButton()->RepeatTimer()->Interval(), TTimerSpeedButton::InitialRepeatDelay);
    Release(CentreOf(*spin->DownButton()));
}

TEST_F(SpinTest, WithoutAllowRepeatAPressOnlyClicksOnRelease)
{
    TTimerSpeedButton& up = *spin->UpButton();
    up.SetAllowRepeat(false);
    Press(CentreOf(up));
    Wait(1000);
    Release(CentreOf(up));
    EXPECT_EQ(clicks, (Clicks{{"up", 1000}}));
    EXPECT_EQ(up.RepeatTimer(), nullptr);
}

TEST_F(SpinTest, FailingClickHandlerStopsTheRepeatAndTheErrorGoesOn)
{
    int calls = 0;
    spin->OnUpClick = [&](TObject*) {
        ++calls;
        if (calls == 2)
            throw std::runtime_error("refused");
    };
    TTimerSpeedButton& up = *spin->UpButton();
    Press(CentreOf(up));
    Wait(450);
    EXPECT_EQ(calls, 1);
    EXPECT_THROW(Wait(100), std::runtime_error);
    EXPECT_EQ(calls, 2);
    EXPECT_FALSE(up.RepeatTimer()->Enabled());
    Wait(1000);
    EXPECT_EQ(calls, 2) << "no repeat after the failure";
    EXPECT_EQ(up.State(), TButtonState::bsDown) << "the press itself goes on";

    Release(CentreOf(up));
    EXPECT_EQ(calls, 3) << "the release still clicks";

    Press(CentreOf(up));
    Wait(400);
    EXPECT_EQ(calls, 4) << "a new press repeats again";
    Release(CentreOf(up));
}

TEST_F(SpinTest, ClicksGoToTheHalfUnderThePointer)
{
    Press(CentreOf(*spin->DownButton()));
    Release(CentreOf(*spin->DownButton()));
    Press(CentreOf(*spin->UpButton()));
    Release(CentreOf(*spin->UpButton()));
    EXPECT_EQ(Halves(), (std::vector<std::string>{"down", "up"}));
}

TEST_F(SpinTest, ClickWithoutHandlersIsHarmless)
{
    spin->OnUpClick = nullptr;
    spin->OnDownClick = nullptr;
    Press(CentreOf(*spin->UpButton()));
    Wait(500);
    Release(CentreOf(*spin->UpButton()));
    EXPECT_TRUE(clicks.empty());
}
