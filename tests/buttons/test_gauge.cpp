#include "ButtonsTestSupport.h"

#include "controls/Gauges.h"
#include "toolkit/graphics/Exceptions.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

namespace {

constexpr TColor kSongFore = 1886207; // red 255, green 199, blue 28

// The song-position gauge as the main window has it: a vertical bar 9 by
// 105 at (2, 2) in a 13 by 109 black panel with a raised outer and a
// lowered inner bevel.
class SongGaugeTest : public THeadlessWindowTest {
protected:
    void SetUp() override
    {
        THeadlessWindowTest::SetUp();
        panGauge = TComponent::Create<TPanel>(form);
        panGauge->SetParent(panel);
        panGauge->SetBounds(200, 20, 13, 109);
        panGauge->SetColor(clBlack);
        panGauge->SetBevelOuter(TPanelBevel::bvRaised);
        panGauge->SetBevelInner(TPanelBevel::bvLowered);
        gauge = TComponent::Create<TGauge>(form);
        gauge->SetParent(panGauge);
        gauge->SetBounds(2, 2, 9, 105);
        gauge->SetKind(TGaugeKind::gkVerticalBar);
        gauge->SetShowText(false);
        gauge->SetForeColor(kSongFore);
        gauge->SetBackColor(clNavy);
        gauge->SetProgress(0);
        form->Update();
    }

    // Checks every pixel of the gauge, row by row, against a black ring
    // around filledRows of ForeColor at the bottom and navy above them.
    ::testing::AssertionResult ShowsBar(int filledRows)
    {
        TPoint origin = gauge->WindowOrigin();
        for (int y = 0; y < 105; ++y) {
            for (int x = 0; x < 9; ++x) {
                TPixel want;
                if (x == 0 || x == 8 || y == 0 || y == 104)
                    want = 0;
                else
                    want = y >= 104 - filledRows ? static_cast<TPixel>(kSongFore) : static_cast<TPixel>(clNavy);
                TPixel got = WindowPixel(origin.X + x, origin.Y + y);
                if (got != want)
                    return ::testing::AssertionFailure()
                        << "row " << y << ", column " << x << " is " << std::hex << got << ", not " << want;
            }
        }
        return ::testing::AssertionSuccess();
    }

    TPanel* panGauge = nullptr;
    TGauge* gauge = nullptr;
};

} // namespace

TEST_F(SongGaugeTest, DefaultsOfANewGauge)
{
    auto fresh = std::make_unique<TGauge>(nullptr);
    EXPECT_EQ(fresh->Width(), 100);
    EXPECT_EQ(fresh->Height(), 100);
    EXPECT_EQ(fresh->MinValue(), 0);
    EXPECT_EQ(fresh->MaxValue(), 100);
    EXPECT_EQ(fresh->Progress(), 0);
    EXPECT_EQ(fresh->Kind(), TGaugeKind::gkHorizontalBar);
    EXPECT_TRUE(fresh->ShowText());
    EXPECT_EQ(fresh->BorderStyle(), TGaugeBorderStyle::bsSingle);
    EXPECT_EQ(fresh->ForeColor(), clBlack);
    EXPECT_EQ(fresh->BackColor(), clWhite);
    EXPECT_EQ(fresh->Color(), clWindow);
    EXPECT_TRUE(fresh->ParentColor());
    EXPECT_TRUE(fresh->ControlStyle() & csOpaque);
}

TEST_F(SongGaugeTest, ShowsTheProgramsBarAtZeroHalfAndFull)
{
    EXPECT_TRUE(ShowsBar(0));

    // As a new song sets it: progress first, then the last order index.
    gauge->SetProgress(0);
    gauge->SetMaxValue(20);
    gauge->SetProgress(10);
    EXPECT_EQ(gauge->Percentage(), 50);
    EXPECT_TRUE(ShowsBar(52)); // drawn at once, without a paint of the window

    gauge->SetProgress(20);
    EXPECT_EQ(gauge->Percentage(), 100);
    EXPECT_TRUE(ShowsBar(103));

    form->Update();
    EXPECT_TRUE(ShowsBar(103));
    gauge->SetProgress(0);
    EXPECT_TRUE(ShowsBar(0));
}

TEST_F(SongGaugeTest, EveryPercentageFillsItsShareOfTheInnerRows)
{
    for (int p = 0; p <= 100; ++p) {
        gauge->SetProgress(p);
        ASSERT_TRUE(ShowsBar(std::min(104 * p / 100, 103))) << p << " %";
    }
}

TEST(GaugeFillSize, ComputesInExtendedPrecisionAsTheGaugeAlwaysHas)
{
    // 0.01 in 80 bits lies just below 0.01: ten percent of ten is none.
    EXPECT_EQ(TGauge::FillSize(10, 10), 0);
    EXPECT_EQ(TGauge::FillSize(50, 10), 5);
    EXPECT_EQ(TGauge::FillSize(0, 10), 0);
    for (int p = 0; p <= 100; ++p)
        EXPECT_EQ(TGauge::FillSize(p, 104), 104 * p / 100) << p;
}

TEST_F(SongGaugeTest, ABarTenPixelsHighShowsNoRowAtTenPercent)
{
    gauge->SetHeight(11); // H = 10 inside the frame
    gauge->SetProgress(10);
    form->Update();
    TPoint origin = gauge->WindowOrigin();
    for (int y = 1; y < 10; ++y)
        EXPECT_EQ(WindowPixel(origin.X + 4, origin.Y + y), static_cast<TPixel>(clNavy)) << y;
    gauge->SetProgress(11);
    EXPECT_EQ(WindowPixel(origin.X + 4, origin.Y + 9), static_cast<TPixel>(kSongFore));
    EXPECT_EQ(WindowPixel(origin.X + 4, origin.Y + 8), static_cast<TPixel>(clNavy));
}

TEST_F(SongGaugeTest, WithoutTheFrameTheTopRowNeverFills)
{
    gauge->SetBorderStyle(TGaugeBorderStyle::bsNone);
    gauge->SetProgress(100);
    TPoint origin = gauge->WindowOrigin();
    for (int x = 0; x < 9; ++x) {
        EXPECT_EQ(WindowPixel(origin.X + x, origin.Y), static_cast<TPixel>(clNavy)) << x;
        for (int y = 1; y < 105; ++y)
            ASSERT_EQ(WindowPixel(origin.X + x, origin.Y + y), static_cast<TPixel>(kSongFore)) << x << ", " << y;
    }
}

TEST_F(SongGaugeTest, ProgressRepaintsOnlyWhenTheWholePercentageChanges)
{
    gauge->SetMaxValue(200);
    int paints = gauge->PaintCount();
    gauge->SetProgress(1);
    EXPECT_EQ(gauge->Progress(), 1);
    EXPECT_EQ(gauge->Percentage(), 0);
    EXPECT_EQ(gauge->PaintCount(), paints);
    gauge->SetProgress(2);
    EXPECT_EQ(gauge->Percentage(), 1);
    EXPECT_EQ(gauge->PaintCount(), paints + 1);
    gauge->SetProgress(2);
    EXPECT_EQ(gauge->PaintCount(), paints + 1);
}

TEST_F(SongGaugeTest, OtherSettersRepaintOnEveryChangeAndNeverOnTheSameValue)
{
    int paints = gauge->PaintCount();
    gauge->SetKind(TGaugeKind::gkVerticalBar);
    gauge->SetShowText(false);
    gauge->SetBorderStyle(TGaugeBorderStyle::bsSingle);
    gauge->SetForeColor(kSongFore);
    gauge->SetBackColor(clNavy);
    gauge->SetMinValue(0);
    gauge->SetMaxValue(100);
    EXPECT_EQ(gauge->PaintCount(), paints);

    gauge->SetKind(TGaugeKind::gkHorizontalBar);
    gauge->SetShowText(true);
    gauge->SetBorderStyle(TGaugeBorderStyle::bsNone);
    gauge->SetForeColor(clRed);
    gauge->SetBackColor(clWhite);
    gauge->SetMinValue(-5);
    gauge->SetMaxValue(50);
    EXPECT_EQ(gauge->PaintCount(), paints + 7);
}

TEST_F(SongGaugeTest, RangeErrorsNameTheBoundsAndChangeNothing)
{
    try {
        gauge->SetMaxValue(-1);
        FAIL() << "no error";
    } catch (const EInvalidOperation& error) {
        EXPECT_STREQ(error.what(), "Wert muß zwischen 1 und 2147483647 liegen");
    }
    EXPECT_EQ(gauge->MaxValue(), 100);

    try {
        gauge->SetMinValue(101);
        FAIL() << "no error";
    } catch (const EInvalidOperation& error) {
        EXPECT_STREQ(error.what(), "Wert muß zwischen -2147483647 und 99 liegen");
    }
    EXPECT_EQ(gauge->MinValue(), 0);
    EXPECT_EQ(gauge->Progress(), 0);

    gauge->SetMinValue(10);
    EXPECT_THROW(gauge->SetMaxValue(9), EInvalidOperation);
    EXPECT_EQ(gauge->MaxValue(), 100);
}

TEST_F(SongGaugeTest, ProgressStaysInsideTheRange)
{
    gauge->SetProgress(500);
    EXPECT_EQ(gauge->Progress(), 100);
    gauge->SetProgress(-3);
    EXPECT_EQ(gauge->Progress(), 0);

    gauge->SetProgress(80);
    gauge->SetMaxValue(60);
    EXPECT_EQ(gauge->Progress(), 60);
    gauge->SetMinValue(20);
    EXPECT_EQ(gauge->Progress(), 60);
    gauge->SetProgress(20);
    gauge->SetMinValue(30);
    EXPECT_EQ(gauge->Progress(), 30);
}

TEST_F(SongGaugeTest, AnEmptyRangeIsZeroPercentAndAnEmptyBar)
{
    gauge->SetProgress(40);
    gauge->SetMaxValue(0);
    EXPECT_EQ(gauge->MinValue(), gauge->MaxValue());
    EXPECT_EQ(gauge->Percentage(), 0);
    EXPECT_TRUE(ShowsBar(0));
}

TEST_F(SongGaugeTest, PercentageTruncatesTowardZero)
{
    gauge->SetMaxValue(3);
    gauge->SetProgress(2);
    EXPECT_EQ(gauge->Percentage(), 66);
    gauge->SetMinValue(-50);
    gauge->SetMaxValue(50);
    gauge->SetProgress(-49);
    EXPECT_EQ(gauge->Percentage(), 1);
    gauge->SetMinValue(-2147483647 - 1);
    gauge->SetMaxValue(2147483647);
    gauge->SetProgress(0);
    EXPECT_EQ(gauge->Percentage(), 50);
}

TEST_F(SongGaugeTest, HorizontalBarUsesTheFillAsItsRightEdge)
{
    gauge->SetKind(TGaugeKind::gkHorizontalBar);
    gauge->SetProgress(100);
    // W = 8: the fill reaches column 7, the last inner one.
    TPoint origin = gauge->WindowOrigin();
    for (int x = 1; x < 8; ++x)
        EXPECT_EQ(WindowPixel(origin.X + x, origin.Y + 50), static_cast<TPixel>(kSongFore)) << x;

    gauge->SetMaxValue(1000);
    gauge->SetProgress(370); // 37 % of W = 8 is 2: only column 1 lies left of it
    EXPECT_EQ(WindowPixel(origin.X + 1, origin.Y + 50), static_cast<TPixel>(kSongFore));
    EXPECT_EQ(WindowPixel(origin.X + 2, origin.Y + 50), static_cast<TPixel>(clNavy));
    EXPECT_EQ(WindowPixel(origin.X + 0, origin.Y + 50), 0u);
}

TEST_F(SongGaugeTest, TextInvertsWhatLiesBeneathIt)
{
    panGauge->SetBounds(0, 0, 120, 60);
    gauge->SetBounds(2, 2, 100, 40);
    gauge->SetKind(TGaugeKind::gkText);
    gauge->SetShowText(true);
    gauge->SetProgress(42);
    form->Update();
    // White text XORed over navy: every pixel is navy with some grey
    // (the text's coverage) XORed in; the text's strokes mostly invert it.
    TPoint origin = gauge->WindowOrigin();
    int inverted = 0;
    for (int y = 1; y < 39; ++y) {
        for (int x = 1; x < 99; ++x) {
            TPixel grey = WindowPixel(origin.X + x, origin.Y + y) ^ static_cast<TPixel>(clNavy);
            ASSERT_TRUE(GetRValue(grey) == GetGValue(grey) && GetGValue(grey) == GetBValue(grey)) << x << ", " << y;
            inverted += GetRValue(grey) >= 0x80;
        }
    }
    EXPECT_GT(inverted, 20);
    // Centred on the gauge: nothing of the text in the outer columns.
    for (int y = 1; y < 39; ++y) {
        EXPECT_EQ(WindowPixel(origin.X + 10, origin.Y + y), static_cast<TPixel>(clNavy));
        EXPECT_EQ(WindowPixel(origin.X + 89, origin.Y + y), static_cast<TPixel>(clNavy));
    }
}

namespace {

// A 24-bit picture of a part of the window.
std::unique_ptr<TBitmap> Crop(const TPixmap& window, const TRect& r)
{
    auto picture = std::make_unique<TBitmap>(r.Width(), r.Height());
    for (int y = 0; y < r.Height(); ++y)
        for (int x = 0; x < r.Width(); ++x)
            picture->Pixmap().At(x, y) = window.At(r.Left + x, r.Top + y) & 0xFFFFFF;
    return picture;
}

// Compares with tests/buttons/golden/<name>. Run the tests once with
// VELMORA_WRITE_GOLDEN=1 in the environment to write the pictures instead,
// then look at them before committing.
void ExpectGolden(const TBitmap& picture, const std::string& name)
{
    std::filesystem::path path = std::filesystem::path(VELMORA_BUTTONS_GOLDEN_DIR) / name;
    if (std::getenv("VELMORA_WRITE_GOLDEN")) {
        picture.SaveToFile(path.string());
        std::printf("wrote %s\n", path.string().c_str());
        return;
    }
    TBitmap golden;
    golden.LoadFromFile(path.string());
    ASSERT_EQ(golden.Width(), picture.Width());
    ASSERT_EQ(golden.Height(), picture.Height());
    for (int y = 0; y < golden.Height(); ++y)
        for (int x = 0; x < golden.Width(); ++x)
            ASSERT_EQ(golden.Pixmap().At(x, y) & 0xFFFFFF, picture.Pixmap().At(x, y))
                << name << " at " << x << ", " << y;
}

class GaugeKindsTest : public THeadlessWindowTest {
protected:
    TGauge* Make(TGaugeKind kind, int width, int height, int percentage)
    {
        auto* gauge = TComponent::Create<TGauge>(form);
        gauge->SetParent(panel);
        gauge->SetBounds(10, 10, width, height);
        gauge->SetKind(kind);
        gauge->SetShowText(false);
        gauge->SetColor(clSilver);
        gauge->SetForeColor(0x0080FF);
        gauge->SetBackColor(clWhite);
        gauge->SetProgress(percentage);
        return gauge;
    }

    TPixel At(const TGauge& gauge, int x, int y)
    {
        return WindowPixel(gauge.WindowOrigin().X + x, gauge.WindowOrigin().Y + y);
    }
};

} // namespace

TEST_F(GaugeKindsTest, PieGrowsClockwiseFromTwelveOClock)
{
    TGauge* gauge = Make(TGaugeKind::gkPie, 61, 61, 25);
    form->Update();
    EXPECT_EQ(At(*gauge, 30 + 12, 30 - 12), 0x0080FFu); // upper right: filled
    EXPECT_EQ(At(*gauge, 30 - 12, 30 - 12), 0xFFFFFFu); // upper left: not yet
    EXPECT_EQ(At(*gauge, 30 + 12, 30 + 12), 0xFFFFFFu);
    EXPECT_EQ(At(*gauge, 1, 1), static_cast<TPixel>(clSilver)); // outside the ellipse
    EXPECT_EQ(At(*gauge, 0, 0), 0u);                            // the frame
    gauge->SetProgress(0);
    EXPECT_EQ(At(*gauge, 30 + 12, 30 - 12), 0xFFFFFFu);
    gauge->SetProgress(100);
    EXPECT_EQ(At(*gauge, 30 - 12, 30 + 12), 0x0080FFu);
}

TEST_F(GaugeKindsTest, PieMatchesItsGoldenPicture)
{
    TGauge* gauge = Make(TGaugeKind::gkPie, 61, 61, 37);
    ExpectGolden(*Crop(form->Snapshot(), gauge->BoundsRect().Offset(panel->WindowOrigin())), "gauge_pie_37.bmp");
}

TEST_F(GaugeKindsTest, NeedlePointsUpAtHalf)
{
    TGauge* gauge = Make(TGaugeKind::gkNeedle, 81, 51, 50);
    form->Update();
    // The needle runs from (40, 49) straight up to row 0.
    EXPECT_EQ(At(*gauge, 40, 20), 0x0080FFu);
    EXPECT_EQ(At(*gauge, 30, 20), 0xFFFFFFu);
}

TEST_F(GaugeKindsTest, NeedleMatchesItsGoldenPicture)
{
    TGauge* gauge = Make(TGaugeKind::gkNeedle, 81, 51, 30);
    ExpectGolden(*Crop(form->Snapshot(), gauge->BoundsRect().Offset(panel->WindowOrigin())), "gauge_needle_30.bmp");
}
