#include "ButtonsTestSupport.h"

#include "controls/Autobtn.h"
#include "toolkit/windowing/Image.h"

#include <array>
#include <string>
#include <vector>

namespace {

constexpr TMouseButton kLeft = TMouseButton::mbLeft;
constexpr TMouseButton kRight = TMouseButton::mbRight;

// A 40 by 20 button at (20, 30) on the panel, so at (30, 40) in the window,
// with its own picture in every slot but the alternative and the mask.
class AutoButtonTest : public THeadlessWindowTest {
protected:
    static constexpr TPoint kOrigin{30, 40};

    void SetUp() override
    {
        THeadlessWindowTest::SetUp();
        for (int i = 0; i < 7; ++i)
            pictures[static_cast<std::size_t>(i)] = PatternPicture(40, 20, i + 1);
        button = TComponent::Create<TautoButton>(form);
        button->SetParent(panel);
        button->SetLeft(20);
        button->SetTop(30);
        button->SetBitMapUp(Picture(1));
        button->SetBitMapDown(Picture(2));
        button->SetBitMapLocking(Picture(5));
        button->SetBitMapLocked(Picture(6));
        button->SetBitMapSpare(Picture(7));
        button->onClick = [this](TObject* sender) { Record(sender, "click"); };
        button->onLocked = [this](TObject* sender) { Record(sender, "locked"); };
        button->onUnLocked = [this](TObject* sender) { Record(sender, "unlocked"); };
        button->onMouseDown = [this](TObject* sender, TMouseButton, TShiftState, int, int) { Record(sender, "down"); };
        button->onMouseUp = [this](TObject* sender, TMouseButton, TShiftState, int, int) { Record(sender, "up"); };
        form->Update();
    }

    // Picture n (1..7) of the table of display states.
    const TBitmap& Picture(int n) const { return *pictures[static_cast<std::size_t>(n - 1)]; }

    void Record(TObject* sender, const std::string& what)
    {
        EXPECT_EQ(sender, button);
        log.push_back(what);
    }

    // Positions in the button's coordinates.
    void Press(int x, int y, TMouseButton which = kLeft)
    {
        form->DispatchMouseDown(which, 0, kOrigin.X + x, kOrigin.Y + y);
    }
    void Move(int x, int y) { form->DispatchMouseMove(ssLeft, kOrigin.X + x, kOrigin.Y + y); }
    void Release(int x, int y, TMouseButton which = kLeft)
    {
        form->DispatchMouseUp(which, 0, kOrigin.X + x, kOrigin.Y + y);
    }

    std::array<std::unique_ptr<TBitmap>, 7> pictures;
    TautoButton* button = nullptr;
    std::vector<std::string> log;
};

using Log = std::vector<std::string>;

} // namespace

TEST_F(AutoButtonTest, StartsAtRestWithDefaults)
{
    auto fresh = std::make_unique<TautoButton>(nullptr);
    EXPECT_EQ(fresh->Width(), 70);
    EXPECT_EQ(fresh->Height(), 45);
    EXPECT_EQ(fresh->DisplayState(), 1);
    EXPECT_TRUE(fresh->AutoSize());
    EXPECT_FALSE(fresh->DisplayAlt());
    EXPECT_FALSE(fresh->LockMode());
    EXPECT_FALSE(fresh->Locked());
    EXPECT_FALSE(fresh->Pressed());
    EXPECT_TRUE(fresh->BitMapUp().Empty());
    EXPECT_STREQ(fresh->ClassName(), "TautoButton");

    EXPECT_EQ(button->Width(), 40);
    EXPECT_EQ(button->Height(), 20);
    EXPECT_TRUE(Shows(*button, Picture(1)));
    EXPECT_EQ(button->BitMapSpare().Pixmap(), Picture(7).Pixmap());
}

TEST_F(AutoButtonTest, AboutHoldsEightCreditLinesAndIgnoresAssignment)
{
    ASSERT_EQ(button->About().Count(), 8);
    Log before = button->About().Items();
    TStringList other;
    other.Add("something else");
    button->SetAbout(other);
    EXPECT_EQ(button->About().Items(), before);
}

TEST_F(AutoButtonTest, PressMoveAndReleaseInsideShowEachPictureAtOnce)
{
    // The window's back buffer is read without painting: every change of
    // state must have been drawn the moment it happened.
    Press(5, 5);
    EXPECT_EQ(button->DisplayState(), 2);
    EXPECT_TRUE(button->Pressed());
    EXPECT_TRUE(Shows(*button, Picture(2)));
    EXPECT_EQ(form->CaptureControl(), button);

    Move(60, 5);
    EXPECT_EQ(button->DisplayState(), 1);
    EXPECT_TRUE(Shows(*button, Picture(1)));

    Move(39, 19);
    EXPECT_EQ(button->DisplayState(), 2);
    EXPECT_TRUE(Shows(*button, Picture(2)));

    Release(39, 19);
    EXPECT_EQ(button->DisplayState(), 1);
    EXPECT_FALSE(button->Pressed());
    EXPECT_TRUE(Shows(*button, Picture(1)));
    EXPECT_EQ(form->CaptureControl(), nullptr);
    EXPECT_EQ(log, (Log{"down", "click", "up"}));
}

TEST_F(AutoButtonTest, EdgesOfTheRectangleAreInsideOnlyAtTheLeftAndTop)
{
    EXPECT_TRUE(button->HitTest(0, 0));
    EXPECT_TRUE(button->HitTest(39, 19));
    EXPECT_FALSE(button->HitTest(40, 5));
    EXPECT_FALSE(button->HitTest(5, 20));
    EXPECT_FALSE(button->HitTest(-1, 5));

    Press(5, 5);
    Release(5, 20); // the row below, reached through the capture
    EXPECT_EQ(log, (Log{"down", "up"}));
}

TEST_F(AutoButtonTest, ReleaseOutsideRaisesNoClickAndLeavesThePictureOfTheLastMove)
{
    Press(5, 5);
    Release(100, 100);
    EXPECT_EQ(log, (Log{"down", "up"}));
    EXPECT_FALSE(button->Pressed());
    // No move came between: the pressed picture stays.
    EXPECT_EQ(button->DisplayState(), 2);
    EXPECT_TRUE(Shows(*button, Picture(2)));

    log.clear();
    Press(5, 5);
    Move(100, 100);
    Release(100, 100);
    EXPECT_EQ(log, (Log{"down", "up"}));
    EXPECT_EQ(button->DisplayState(), 1);
    EXPECT_TRUE(Shows(*button, Picture(1)));
}

TEST_F(AutoButtonTest, ReleaseInsideClicksEvenWithoutAPressOnTheButton)
{
    Release(10, 10);
    EXPECT_EQ(log, (Log{"click", "up"}));
    EXPECT_EQ(button->DisplayState(), 1);
    EXPECT_TRUE(Shows(*button, Picture(1)));
}

TEST_F(AutoButtonTest, RightReleaseClearsThePressedMarkButALaterLeftReleaseStillClicks)
{
    Press(5, 5);
    Press(5, 5, kRight);
    Release(5, 5, kRight);
    EXPECT_FALSE(button->Pressed());
    EXPECT_EQ(button->DisplayState(), 2);

    int paints = button->PaintCount();
    Move(100, 100);
    EXPECT_EQ(button->DisplayState(), 2);
    EXPECT_EQ(button->PaintCount(), paints);
    EXPECT_TRUE(Shows(*button, Picture(2)));

    Release(5, 5);
    EXPECT_EQ(log, (Log{"down", "down", "up", "click", "up"}));
    EXPECT_EQ(button->DisplayState(), 1);
}

TEST_F(AutoButtonTest, EveryMoveWhilePressedRepaintsAndRaisesOnMouseMove)
{
    std::vector<TPoint> moves;
    button->onMouseMove = [&](TObject*, TShiftState, int x, int y) { moves.push_back({x, y}); };
    int paints = button->PaintCount();
    Move(3, 4);
    EXPECT_EQ(button->PaintCount(), paints);

    Press(5, 5);
    paints = button->PaintCount();
    Move(6, 5);
    Move(7, 5);
    Move(7, 5);
    EXPECT_EQ(button->PaintCount(), paints + 3);
    EXPECT_EQ(moves, (std::vector<TPoint>{{3, 4}, {6, 5}, {7, 5}, {7, 5}}));
}

TEST_F(AutoButtonTest, TheToolkitsGenericClickIsSwitchedOff)
{
    int genericClicks = 0;
    button->OnClick = [&](TObject*) { ++genericClicks; };
    Press(5, 5);
    Release(5, 5);
    EXPECT_EQ(genericClicks, 0);
    EXPECT_EQ(log, (Log{"down", "click", "up"}));
}

TEST_F(AutoButtonTest, LockModeLocksThenUnlocksWithItsEventsBeforeTheClick)
{
    std::vector<int> statesSeen;
    button->onLocked = [&](TObject*) {
        log.push_back("locked");
        statesSeen.push_back(button->DisplayState());
        EXPECT_TRUE(Shows(*button, Picture(6)));
    };
    button->SetLockMode(true);

    Press(5, 5);
    EXPECT_EQ(button->DisplayState(), 5);
    EXPECT_TRUE(Shows(*button, Picture(5)));
    Release(5, 5);
    EXPECT_TRUE(button->Locked());
    EXPECT_EQ(button->DisplayState(), 6);
    EXPECT_TRUE(Shows(*button, Picture(6)));
    EXPECT_EQ(log, (Log{"down", "locked", "click", "up"}));
    EXPECT_EQ(statesSeen, (std::vector<int>{6}));

    log.clear();
    Press(5, 5);
    EXPECT_EQ(button->DisplayState(), 5);
    Move(100, 5);
    EXPECT_EQ(button->DisplayState(), 6);
    EXPECT_TRUE(Shows(*button, Picture(6)));
    Move(5, 5);
    EXPECT_EQ(button->DisplayState(), 5);
    Release(5, 5);
    EXPECT_FALSE(button->Locked());
    EXPECT_EQ(button->DisplayState(), 1);
    EXPECT_TRUE(Shows(*button, Picture(1)));
    EXPECT_EQ(log, (Log{"down", "unlocked", "click", "up"}));
}

TEST_F(AutoButtonTest, LockModeMoveOutsideWhenUnlockedShowsTheRestPicture)
{
    button->SetLockMode(true);
    Press(5, 5);
    Move(100, 5);
    EXPECT_EQ(button->DisplayState(), 1);
    Release(100, 5);
    EXPECT_FALSE(button->Locked());
    EXPECT_EQ(log, (Log{"down", "up"}));
}

TEST_F(AutoButtonTest, LockAndUnlockShowTheirPicturesAtOnce)
{
    button->Lock();
    EXPECT_TRUE(button->Locked());
    EXPECT_EQ(button->DisplayState(), 6);
    EXPECT_TRUE(Shows(*button, Picture(6)));
    button->Unlock();
    EXPECT_FALSE(button->Locked());
    EXPECT_EQ(button->DisplayState(), 1);
    EXPECT_TRUE(Shows(*button, Picture(1)));
    EXPECT_TRUE(log.empty());
}

TEST_F(AutoButtonTest, WithoutLockModeALockedButtonShowsTheReleasedPictureBeforeItsClick)
{
    button->onClick = [&](TObject*) {
        log.push_back("click");
        EXPECT_EQ(button->DisplayState(), 1);
        EXPECT_TRUE(Shows(*button, Picture(1)));
        button->Lock();
    };
    button->Lock();
    Press(5, 5);
    EXPECT_EQ(button->DisplayState(), 2);
    Move(100, 5);
    EXPECT_EQ(button->DisplayState(), 1); // the locked mark is not consulted
    Move(5, 5);
    Release(5, 5);
    EXPECT_EQ(log, (Log{"down", "click", "up"}));
    EXPECT_TRUE(button->Locked());
    EXPECT_EQ(button->DisplayState(), 6);
    EXPECT_TRUE(Shows(*button, Picture(6)));
}

TEST_F(AutoButtonTest, DisplayAltNeedsAnAlternativePicture)
{
    button->SetDisplayAlt(true);
    EXPECT_FALSE(button->DisplayAlt());
    EXPECT_EQ(button->DisplayState(), 1);

    button->SetBitMapAlt(Picture(3));
    button->SetDisplayAlt(true);
    EXPECT_TRUE(button->DisplayAlt());
    EXPECT_EQ(button->DisplayState(), 3);
    EXPECT_TRUE(Shows(*button, Picture(3)));

    Press(5, 5);
    EXPECT_EQ(button->DisplayState(), 2);
    Move(100, 5);
    EXPECT_EQ(button->DisplayState(), 3);
    Move(5, 5);
    Release(5, 5);
    EXPECT_EQ(button->DisplayState(), 3);
    EXPECT_TRUE(Shows(*button, Picture(3)));

    button->SetDisplayAlt(false);
    EXPECT_EQ(button->DisplayState(), 1);
    EXPECT_TRUE(Shows(*button, Picture(1)));
}

TEST_F(AutoButtonTest, EmptyingTheAlternativePictureShowsTheReleasedOne)
{
    button->SetBitMapAlt(Picture(3));
    button->SetDisplayAlt(true);
    button->SetBitMapAlt(TBitmap());
    EXPECT_FALSE(button->DisplayAlt());
    EXPECT_EQ(button->DisplayState(), 1);
    EXPECT_TRUE(Shows(*button, Picture(1)));

    // Emptied in place, through the picture itself.
    button->SetBitMapAlt(Picture(3));
    button->SetDisplayAlt(true);
    button->BitMapAlt().SetSize(0, 0);
    EXPECT_FALSE(button->DisplayAlt());
    EXPECT_EQ(button->DisplayState(), 1);
}

TEST_F(AutoButtonTest, DisplayAltShowsOverTheLockedPictureAndUnlockIgnoresIt)
{
    button->SetBitMapAlt(Picture(3));
    button->Lock();
    button->SetDisplayAlt(true);
    EXPECT_EQ(button->DisplayState(), 3);
    EXPECT_TRUE(button->Locked());
    button->Unlock();
    EXPECT_EQ(button->DisplayState(), 1);
    EXPECT_TRUE(Shows(*button, Picture(1)));
    EXPECT_TRUE(button->DisplayAlt());
}

TEST_F(AutoButtonTest, SizeFollowsTheReleasedPictureOnlyWithAutoSize)
{
    auto song = SolidPicture(209, 40, clNavy, TPixelFormat::pf8bit);
    button->SetBitMapUp(*song);
    EXPECT_EQ(button->Width(), 209);
    EXPECT_EQ(button->Height(), 40);

    button->SetAutoSize(false);
    button->SetBitMapUp(*SolidPicture(30, 30, clRed));
    EXPECT_EQ(button->Width(), 209);
    EXPECT_EQ(button->Height(), 40);
    button->SetAutoSize(true);
    EXPECT_EQ(button->Width(), 30);
    EXPECT_EQ(button->Height(), 30);
}

TEST_F(AutoButtonTest, EmptyReleasedPictureGivesTheDefaultSizeEvenWithoutAutoSize)
{
    button->SetAutoSize(false);
    button->SetBounds(button->Left(), button->Top(), 100, 60);
    button->SetBitMapUp(TBitmap());
    EXPECT_EQ(button->Width(), 70);
    EXPECT_EQ(button->Height(), 45);
}

TEST_F(AutoButtonTest, PicturesAreCopiedInNeverShared)
{
    auto source = SolidPicture(40, 20, clNavy, TPixelFormat::pf8bit);
    button->SetBitMapDown(*source);
    source->Canvas().Brush.Color = clRed;
    source->Canvas().FillRect({0, 0, 40, 20});
    EXPECT_EQ(button->BitMapDown().Pixmap().At(3, 3), static_cast<TPixel>(clNavy));
    EXPECT_EQ(button->BitMapDown().PixelFormat(), TPixelFormat::pf8bit);
    EXPECT_NE(&button->BitMapDown(), source.get());
}

// A mask black on its left half, white on its right half, with one grey
// column at x = 30; under the button's left quarter an earlier control.
class MaskedButtonTest : public AutoButtonTest {
protected:
    static constexpr TColor kUnderColor = 0x00FF00;
    static constexpr TPixel kGrey = 0x808080;

    void SetUp() override
    {
        AutoButtonTest::SetUp();
        under = TComponent::Create<TImage>(form);
        under->SetParent(panel);
        under->SetBounds(20, 30, 10, 20);
        under->SetPicture(*SolidPicture(10, 20, kUnderColor));
        // The image was created after the button; the button must come last.
        button->SetParent(nullptr);
        button->SetParent(panel);

        mask = std::make_unique<TBitmap>(40, 20);
        for (int y = 0; y < 20; ++y)
            for (int x = 0; x < 40; ++x)
                mask->Pixmap().At(x, y) = x < 20 ? 0 : (x == 30 ? kGrey : 0xFFFFFF);
        button->SetBitMapMask(*mask);
        form->Update();
    }

    // What the window must show at (x, y) of the button with picture n.
    TPixel Composed(int n, int x, int y) const
    {
        TPixel m = mask->Pixmap().At(x, y);
        TPixel background = x < 10 ? static_cast<TPixel>(kUnderColor) : static_cast<TPixel>(kPanelColor);
        return (Picture(n).Pixmap().At(x, y) & m) | (background & ~m & 0xFFFFFF);
    }

    ::testing::AssertionResult ShowsComposed(int n)
    {
        for (int y = 0; y < 20; ++y) {
            for (int x = 0; x < 40; ++x) {
                TPixel got = WindowPixel(kOrigin.X + x, kOrigin.Y + y);
                if (got != Composed(n, x, y))
                    return ::testing::AssertionFailure()
                        << "pixel (" << x << ", " << y << ") is " << std::hex << got << ", not " << Composed(n, x, y);
            }
        }
        return ::testing::AssertionSuccess();
    }

    TImage* under = nullptr;
    std::unique_ptr<TBitmap> mask;
};

TEST_F(MaskedButtonTest, ComposesPictureAndWindowBackgroundBitwise)
{
    EXPECT_TRUE(ShowsComposed(1));
    // A spot check of the three kinds of mask pixel.
    EXPECT_EQ(WindowPixel(kOrigin.X + 2, kOrigin.Y + 2), static_cast<TPixel>(kUnderColor));
    EXPECT_EQ(WindowPixel(kOrigin.X + 15, kOrigin.Y + 2), static_cast<TPixel>(kPanelColor));
    EXPECT_EQ(WindowPixel(kOrigin.X + 25, kOrigin.Y + 2), Picture(1).Pixmap().At(25, 2));

    Press(25, 5);
    EXPECT_EQ(button->DisplayState(), 2);
    EXPECT_TRUE(ShowsComposed(2));
    Release(25, 5);
    EXPECT_TRUE(ShowsComposed(1));
    // Repainting over what the last paint left changes nothing.
    button->Repaint();
    EXPECT_TRUE(ShowsComposed(1));
}

TEST_F(MaskedButtonTest, BlackMaskPixelsTakeNoClickButStillRaiseMouseEvents)
{
    EXPECT_FALSE(button->HitTest(5, 5));
    EXPECT_TRUE(button->HitTest(25, 5));
    EXPECT_TRUE(button->HitTest(30, 5)); // grey is not black

    int paints = button->PaintCount();
    Press(5, 5);
    EXPECT_FALSE(button->Pressed());
    Release(5, 5);
    EXPECT_EQ(log, (Log{"down", "up"}));
    EXPECT_EQ(button->DisplayState(), 1);
    EXPECT_EQ(button->PaintCount(), paints);

    Press(25, 5);
    Release(25, 5);
    EXPECT_EQ(log, (Log{"down", "up", "down", "click", "up"}));
}

TEST_F(MaskedButtonTest, PointsBeyondASmallerMaskAreOutside)
{
    auto small = SolidPicture(30, 10, clWhite);
    button->SetBitMapMask(*small);
    EXPECT_TRUE(button->HitTest(29, 9));
    EXPECT_FALSE(button->HitTest(30, 5));
    EXPECT_FALSE(button->HitTest(5, 10));
}

TEST_F(MaskedButtonTest, SettingAMaskAsksForARepaintAndEmptyingItRepaintsAtOnce)
{
    form->Update();
    button->SetBitMapMask(*mask);
    EXPECT_TRUE(form->HasPendingPaint());

    form->Update();
    int paints = button->PaintCount();
    button->SetBitMapMask(TBitmap());
    EXPECT_EQ(button->PaintCount(), paints + 1);
    EXPECT_TRUE(Shows(*button, Picture(1)));
}
