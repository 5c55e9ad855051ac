#include "test_text_support.h"

#include "toolkit/graphics/Bitmap.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numbers>

namespace {

constexpr TPixel white = MakeColor(255, 255, 255);

int CountPixels(const TPixmap& pixels, TPixel value)
{
    return static_cast<int>(std::count(pixels.Data(), pixels.Data() + pixels.Width() * pixels.Height(), value));
}

} // namespace

TEST(WriteText, UprightTextSitsOnTheBaselineInsideItsCell)
{
    TTextSurface s(120, 40);
    TTextMetric m = s.Canvas.TextMetrics();
    int width = s.Canvas.TextWidth("Hello");
    s.Canvas.WriteText(10, 10, "Hello");
    TRect ink = s.Ink();
    EXPECT_GE(ink.Left, 10);
    EXPECT_LE(ink.Right, 10 + width);
    EXPECT_GE(ink.Top, 10 + m.InternalLeading - 1);
    EXPECT_EQ(ink.Bottom, 10 + m.Ascent) << "no descenders: the ink ends on the baseline";
    EXPECT_GT(ink.Width(), width * 3 / 4);
}

TEST(WriteText, DrawsInTheFontColourWithSmoothEdges)
{
    TTextSurface s(120, 40);
    s.Canvas.Font().SetColor(clNavy);
    s.Canvas.WriteText(4, 4, "Wave");
    EXPECT_GT(CountPixels(s.Pixels, ColorToRGB(clNavy)), 20) << "fully covered pixels take the font colour";
    int blended = 0;
    for (int y = 0; y < s.Pixels.Height(); ++y)
        for (int x = 0; x < s.Pixels.Width(); ++x) {
            TPixel p = s.Pixels.At(x, y);
            if (p != white && p != ColorToRGB(clNavy)) {
                ++blended;
                // Navy over white: red and green fall together, blue half as fast.
                EXPECT_EQ(GetRValue(p), GetGValue(p));
                EXPECT_NEAR(GetBValue(p), 255 - 127 * (255 - GetRValue(p)) / 255.0, 1.0);
            }
        }
    EXPECT_GT(blended, 10);
}

TEST(WriteText, SolidBrushFillsExactlyTheCells)
{
    TTextSurface s(120, 40);
    s.Canvas.Brush.Style = TBrushStyle::bsSolid;
    s.Canvas.Brush.Color = clYellow;
    TSize extent = s.Canvas.TextExtent("Hello");
    s.Canvas.WriteText(7, 5, "Hello");
    EXPECT_EQ(s.Ink(), TRect::FromBounds(7, 5, extent.Width, extent.Height));
    EXPECT_EQ(s.Pixels.At(7, 5), ColorToRGB(clYellow)) << "the internal leading above the caps";
    EXPECT_EQ(s.Pixels.At(7 + extent.Width - 1, 5 + extent.Height - 1), ColorToRGB(clYellow));
}

TEST(WriteText, ClearBrushLetsALaterPassOverlayAnEarlierOne)
{
    TTextSurface s(60, 40);
    s.Canvas.Font().SetColor(clRed);
    s.Canvas.WriteText(10, 8, "A");
    TPixmap first = s.Pixels;
    s.Canvas.Font().SetColor(clBlue);
    s.Canvas.WriteText(13, 11, "A");
    EXPECT_GT(CountPixels(s.Pixels, ColorToRGB(clRed)), 5) << "red shows where the blue A doesn't cover it";
    EXPECT_GT(CountPixels(s.Pixels, ColorToRGB(clBlue)), 5);
    TTextSurface alone(60, 40);
    alone.Canvas.Font().SetColor(clBlue);
    alone.Canvas.WriteText(13, 11, "A");
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 60; ++x)
            if (alone.Pixels.At(x, y) == white) {
                ASSERT_EQ(s.Pixels.At(x, y), first.At(x, y))
                    << "nothing but glyph pixels changed, at " << x << "," << y;
            }
}

TEST(WriteText, StaysInsideTheClipAndFollowsTheOrigin)
{
    TTextSurface s(120, 40);
    s.Canvas.SetClipRect({0, 0, 30, 40});
    s.Canvas.WriteText(10, 10, "Hello World");
    TRect ink = s.Ink();
    EXPECT_FALSE(ink.IsEmpty());
    EXPECT_LE(ink.Right, 30);

    TTextSurface plain(120, 40);
    plain.Canvas.WriteText(25, 7, "Hello");
    TTextSurface shifted(120, 40);
    shifted.Canvas.Attach(&shifted.Pixels, {20, 5});
    shifted.Canvas.WriteText(5, 2, "Hello");
    EXPECT_EQ(shifted.Pixels, plain.Pixels);
}

TEST(WriteText, UnderlineAndStrikeOutRunAlongTheWholeText)
{
    TTextSurface plain(120, 40);
    TTextMetric m = plain.Canvas.TextMetrics();
    int width = plain.Canvas.TextWidth("Hello");
    plain.Canvas.WriteText(10, 10, "Hello");

    TTextSurface underlined(120, 40, "Arial", -16, fsUnderline);
    underlined.Canvas.WriteText(10, 10, "Hello");
    int below = 10 + m.Ascent;
    bool found = false;
    for (int y = below; y < 10 + m.Height; ++y) {
        EXPECT_FALSE(plain.RowHasInk(y, 0, 120));
        bool solid = true;
        for (int x = 11; x < 10 + width - 1; ++x)
            solid = solid && underlined.Pixels.At(x, y) != white;
        found = found || solid;
    }
    EXPECT_TRUE(found) << "a row below the baseline is inked from end to end";

    TTextSurface struck(120, 40, "Arial", -16, fsStrikeOut);
    struck.Canvas.WriteText(10, 10, "Hello");
    bool crossed = false;
    for (int y = 10; y < below; ++y) {
        bool solid = true;
        for (int x = 11; x < 10 + width - 1; ++x)
            solid = solid && struck.Pixels.At(x, y) != white;
        crossed = crossed || solid;
    }
    EXPECT_TRUE(crossed) << "a row above the baseline is inked from end to end";
}

TEST(TextRect, SolidBrushFillsTheRectangleAndTextStaysInside)
{
    TTextSurface s(120, 40);
    s.Canvas.Brush.Style = TBrushStyle::bsSolid;
    s.Canvas.Brush.Color = clYellow;
    TRect clip{5, 5, 40, 25};
    s.Canvas.TextRect(clip, 8, 6, "Hello World");
    EXPECT_EQ(s.Ink(), clip);
    EXPECT_EQ(s.Pixels.At(5, 5), ColorToRGB(clYellow));
    EXPECT_GT(CountPixels(s.Pixels, ColorToRGB(clBlack)), 10);
}

TEST(TextRect, ClearBrushClipsTheTextOnly)
{
    TTextSurface s(120, 40);
    s.Canvas.TextRect({20, 0, 50, 40}, 10, 10, "Hello World");
    TRect ink = s.Ink();
    EXPECT_GE(ink.Left, 20);
    EXPECT_LE(ink.Right, 50);
    EXPECT_GT(ink.Width(), 20);
}

// Turned text: the cell's top-left corner stays at (x, y) and the line runs
// counter-clockwise from it, the cell lying on the right of its direction.
class RotatedText : public ::testing::Test {
protected:
    TRect InkAt(int angleDegrees, int x, int y)
    {
        s.Canvas.Font().SetEscapement(angleDegrees * 10);
        s.Canvas.WriteText(x, y, "Hello");
        return s.Ink();
    }

    TTextSurface s{140, 140};
    TTextMetric m = s.Canvas.TextMetrics();
    int width = s.Canvas.TextWidth("Hello");
};

TEST_F(RotatedText, At90DegreesTheTextRunsUpwardFromItsCorner)
{
    TRect ink = InkAt(90, 20, 100);
    EXPECT_GE(ink.Left, 20);
    EXPECT_LE(ink.Right, 20 + m.Height);
    EXPECT_NEAR(ink.Right, 20 + m.Ascent, 1) << "the baseline lies the ascent to the right of the corner";
    EXPECT_GE(ink.Top, 100 - width - 1);
    EXPECT_LE(ink.Bottom, 101);
    EXPECT_GT(ink.Height(), width * 3 / 4);
}

TEST_F(RotatedText, At180DegreesTheTextHangsUpsideDownLeftOfItsCorner)
{
    TRect ink = InkAt(180, 100, 60);
    EXPECT_GE(ink.Left, 100 - width - 1);
    EXPECT_LE(ink.Right, 101);
    EXPECT_GE(ink.Top, 60 - m.Height);
    EXPECT_NEAR(ink.Top, 60 - m.Ascent, 1);
    EXPECT_LE(ink.Bottom, 61);
}

TEST_F(RotatedText, At57DegreesTheInkIsTheUprightInkTurnedAboutTheCorner)
{
    const int x = 30;
    const int y = 100;
    TTextSurface upright(140, 140);
    upright.Canvas.WriteText(x, y, "HHHH");
    const TRect flat = upright.Ink();
    s.Canvas.Font().SetEscapement(570);
    s.Canvas.WriteText(x, y, "HHHH");
    const TRect ink = s.Ink();

    // A point along and across the text from the corner lands at
    // corner + along * (cos, -sin) + across * (sin, cos).
    const double a = 57 * std::numbers::pi / 180;
    auto turnedBox = [&](TRect r) {
        double xs[4];
        double ys[4];
        int i = 0;
        for (int px : {r.Left, r.Right})
            for (int py : {r.Top, r.Bottom}) {
                double along = px - x;
                double across = py - y;
                xs[i] = x + along * std::cos(a) + across * std::sin(a);
                ys[i++] = y - along * std::sin(a) + across * std::cos(a);
            }
        return TRect{static_cast<int>(std::lround(*std::min_element(xs, xs + 4))),
            static_cast<int>(std::lround(*std::min_element(ys, ys + 4))),
            static_cast<int>(std::lround(*std::max_element(xs, xs + 4))),
            static_cast<int>(std::lround(*std::max_element(ys, ys + 4)))};
    };
    TRect cell = turnedBox(TRect::FromBounds(x, y, s.Canvas.TextWidth("HHHH"), m.Height)).Shrink(-1);
    EXPECT_EQ(ink.Intersect(cell), ink) << "ink outside the turned cell box";
    TRect expected = turnedBox(flat);
    EXPECT_NEAR(ink.Left, expected.Left, 1);
    EXPECT_NEAR(ink.Top, expected.Top, 1);
    EXPECT_NEAR(ink.Right, expected.Right, 1);
    EXPECT_NEAR(ink.Bottom, expected.Bottom, 1);
}

TEST_F(RotatedText, TurnedTextKeepsToTheClip)
{
    s.Canvas.SetClipRect({0, 0, 70, 92});
    TRect ink = InkAt(57, 1, 73);
    EXPECT_FALSE(ink.IsEmpty());
    EXPECT_LE(ink.Right, 70);
    EXPECT_LE(ink.Bottom, 92);
}

TEST(TextRect, SunkenRotatedCaptionDrawsBothPassesInsideTheLabel)
{
    // A 70 by 92 black label at (10, 10) of a larger surface, bold Arial -16
    // turned 57 degrees: the light copy 4 pixels down and right, then the text.
    TPixmap surface(120, 130, MakeColor(0, 0, 0));
    TCanvas canvas;
    canvas.Attach(&surface, {10, 10}, TRect{10, 10, 80, 102});
    canvas.Font().SetName("Arial");
    canvas.Font().SetHeight(-16);
    canvas.Font().SetStyle(fsBold);
    canvas.Font().SetEscapement(570);
    canvas.Brush.Style = TBrushStyle::bsClear;
    canvas.Font().SetColor(0x606060);
    canvas.TextRect({0, 0, 70, 92}, 5, 77, "Welcome!");
    canvas.Font().SetColor(clWhite);
    canvas.TextRect({0, 0, 70, 92}, 1, 73, "Welcome!");

    TRect ink = TTextSurface::InkOf(surface, MakeColor(0, 0, 0));
    EXPECT_EQ(ink.Intersect({10, 10, 80, 102}), ink);
    EXPECT_GT(CountPixels(surface, 0x606060), 5) << "the light copy shows below and right of the text";
    EXPECT_GT(CountPixels(surface, 0xFFFFFF), 20);
}

TEST(WriteText, SmoothEdgesSnapToTheBitmapPalette)
{
    TBitmap picture(60, 30, TPixelFormat::pf4bit);
    picture.Canvas().Brush.Color = clWhite;
    picture.Canvas().FillRect({0, 0, 60, 30});
    picture.Canvas().Brush.Style = TBrushStyle::bsClear;
    picture.Canvas().Font().SetName("Arial");
    picture.Canvas().Font().SetHeight(-16);
    picture.Canvas().Font().SetColor(clRed);
    picture.Canvas().WriteText(4, 4, "Wave");
    const auto& palette = picture.Palette();
    int red = 0;
    for (int y = 0; y < 30; ++y)
        for (int x = 0; x < 60; ++x) {
            TPixel p = picture.Pixmap().At(x, y);
            red += p == ColorToRGB(clRed);
            ASSERT_NE(std::find(palette.begin(), palette.end(), p), palette.end()) << "at " << x << "," << y;
        }
    EXPECT_GT(red, 20);
}
