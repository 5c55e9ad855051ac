#include "SpinTestSupport.h"

#include "toolkit/windowing/Panel.h"

class SpinFocusTest : public SpinTest {
protected:
    void Key(std::uint16_t key) { window->DispatchKeyDown(key, 0); }
    void ClickHalf(TControl& half)
    {
        Press(CentreOf(half));
        Release(CentreOf(half));
    }
};

TEST_F(SpinFocusTest, SpaceClicksTheUpperHalfUntilTheFocusedHalfChanges)
{
    spin->SetTabStop(true);
    spin->SetFocus();
    ASSERT_TRUE(spin->Focused());
    Key(vkSpace);
    Key(vkSpace);
    EXPECT_EQ(Halves(), (std::vector<std::string>{"up", "up"}));

    Key(vkDown);
    EXPECT_EQ(spin->FocusedButton(), spin->DownButton());
    Key(vkSpace);
    Key(vkUp);
    EXPECT_EQ(spin->FocusedButton(), spin->UpButton());
    Key(vkSpace);
    EXPECT_EQ(Halves(), (std::vector<std::string>{"up", "up", "down", "down", "up", "up"}));
    EXPECT_TRUE(spin->WantsArrows());
}

TEST_F(SpinFocusTest, KeysDoNothingWithoutTheFocus)
{
    spin->SetTabStop(true);
    Key(vkSpace);
    Key(vkUp);
    Key(vkDown);
    EXPECT_TRUE(clicks.empty());
}

TEST_F(SpinFocusTest, ArrowKeysClickButLeaveTheFocusedHalfWithoutTabStop)
{
    // Focused from code although it is no tab stop: the arrows click their
    // halves, but the focused half only moves for a tab stop.
    spin->SetFocus();
    Key(vkDown);
    EXPECT_EQ(spin->FocusedButton(), spin->UpButton());
    Key(vkSpace);
    EXPECT_EQ(Halves(), (std::vector<std::string>{"down", "up"}));
}

TEST_F(SpinFocusTest, PressingAHalfOfATabStopTakesTheFocusAndFocusesThatHalf)
{
    spin->SetTabStop(true);
    ClickHalf(*spin->DownButton());
    EXPECT_TRUE(spin->Focused());
    EXPECT_EQ(spin->FocusedButton(), spin->DownButton());
    EXPECT_TRUE(spin->DownButton()->ShowFocusRect());
    EXPECT_FALSE(spin->UpButton()->ShowFocusRect());
    Key(vkSpace);
    EXPECT_EQ(Halves(), (std::vector<std::string>{"down", "down"}));

    ClickHalf(*spin->UpButton());
    EXPECT_EQ(spin->FocusedButton(), spin->UpButton());
    EXPECT_TRUE(spin->UpButton()->ShowFocusRect());
    EXPECT_FALSE(spin->DownButton()->ShowFocusRect());
}

TEST_F(SpinFocusTest, WithoutTabStopPressingTakesNoFocus)
{
    ClickHalf(*spin->DownButton());
    EXPECT_FALSE(spin->Focused());
    EXPECT_EQ(spin->FocusedButton(), spin->UpButton());
    EXPECT_FALSE(spin->DownButton()->ShowFocusRect());
}

TEST_F(SpinFocusTest, RightPressTakesNoFocus)
{
    spin->SetTabStop(true);
    Press(CentreOf(*spin->DownButton()), TMouseButton::mbRight);
    Release(CentreOf(*spin->DownButton()), TMouseButton::mbRight);
    EXPECT_FALSE(spin->Focused());
    EXPECT_EQ(spin->FocusedButton(), spin->UpButton());
}

TEST_F(SpinFocusTest, FocusControlTakesTheFocusInsteadWhenItIsATabStop)
{
    auto* target = TComponent::Create<TPanel>(window);
    target->SetParent(window);
    target->SetBounds(70, 10, 20, 20);
    spin->SetTabStop(true);
    spin->SetFocusControl(target);

    ClickHalf(*spin->DownButton());
    EXPECT_FALSE(target->Focused()) << "the focus control is no tab stop";
    EXPECT_TRUE(spin->Focused());

    target->SetTabStop(true);
    ClickHalf(*spin->UpButton());
    EXPECT_TRUE(target->Focused());
    EXPECT_FALSE(spin->Focused());
    EXPECT_FALSE(spin->UpButton()->ShowFocusRect()) << "the focus left the spin button";
    EXPECT_EQ(Halves(), (std::vector<std::string>{"down", "up"}));
}

TEST_F(SpinFocusTest, FocusSetsAndClearsTheFocusedHalfsRectangle)
{
    int entered = 0;
    int left = 0;
    spin->OnEnter = [&](TObject*) { ++entered; };
    spin->OnExit = [&](TObject*) { ++left; };
    window->Snapshot();
    spin->SetFocus();
    EXPECT_TRUE(spin->UpButton()->ShowFocusRect());
    EXPECT_FALSE(spin->DownButton()->ShowFocusRect());
    EXPECT_TRUE(window->HasPendingPaint());
    window->SetActiveControl(nullptr);
    EXPECT_FALSE(spin->UpButton()->ShowFocusRect());
    EXPECT_EQ(entered, 1);
    EXPECT_EQ(left, 1);
}

namespace {

// Pixels of the window that differ between two pictures, in coordinates of
// the control whose origin is given.
std::vector<TPoint> Differences(const TPixmap& before, const TPixmap& after, TPoint origin, TSize size)
{
    std::vector<TPoint> points;
    for (int y = 0; y < size.Height; ++y) {
        for (int x = 0; x < size.Width; ++x) {
            if (before.At(origin.X + x, origin.Y + y) != after.At(origin.X + x, origin.Y + y))
                points.push_back({x, y});
        }
    }
    return points;
}

// The dotted frame of r: every other pixel, starting at its top-left corner.
std::vector<TPoint> DottedFrame(TRect r)
{
    std::vector<TPoint> points;
    for (int y = r.Top; y < r.Bottom; ++y) {
        for (int x = r.Left; x < r.Right; ++x) {
            bool edge = x == r.Left || x == r.Right - 1 || y == r.Top || y == r.Bottom - 1;
            if (edge && (x - r.Left + y - r.Top) % 2 == 0)
                points.push_back({x, y});
        }
    }
    return points;
}

} // namespace

TEST_F(SpinFocusTest, FocusRectangleIsDottedAndThreePixelsIn)
{
    TTimerSpeedButton& down = *spin->DownButton();
    TSize size{down.Width(), down.Height()};
    TPixmap plain = window->Snapshot();
    down.SetShowFocusRect(true);
    TPixmap focused = window->Snapshot();
    EXPECT_EQ(Differences(plain, focused, down.WindowOrigin(), size), DottedFrame({3, 3, 12, 11}));
    for (TPoint p : DottedFrame({3, 3, 12, 11})) {
        TPoint w = down.WindowOrigin() + p;
        EXPECT_EQ(focused.At(w.X, w.Y), plain.At(w.X, w.Y) ^ 0xFFFFFF) << "inverted at " << p.X << "," << p.Y;
    }
}

TEST_F(SpinFocusTest, FocusRectangleMovesWithThePressedFace)
{
    TTimerSpeedButton& up = *spin->UpButton();
    TSize size{up.Width(), up.Height()};
    Press(CentreOf(up));
    TPixmap plain = window->Snapshot();
    up.SetShowFocusRect(true);
    TPixmap focused = window->Snapshot();
    EXPECT_EQ(Differences(plain, focused, up.WindowOrigin(), size), DottedFrame({4, 4, 13, 10}));
    Release(CentreOf(up));
}
