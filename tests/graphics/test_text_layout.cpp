#include "test_text_support.h"

#include <gtest/gtest.h>

namespace {

// What WriteText draws at (x, y) on a fresh surface of the same size and font.
TPixmap TextOutAt(int width, int height, int x, int y, std::string_view text)
{
    TTextSurface s(width, height);
    s.Canvas.WriteText(x, y, text);
    return s.Pixels;
}

TRect Measure(TCanvas& canvas, std::string_view text, unsigned format, TRect r = {5, 7, 5, 7})
{
    canvas.DrawText(text, r, format | DT_CALCRECT);
    return r;
}

} // namespace

TEST(DrawTextMeasure, OneLineMeasuresItsTextExtent)
{
    TTextSurface s(10, 10);
    TSize extent = s.Canvas.TextExtent("Mixrate:");
    TRect r{5, 7, 5, 7};
    EXPECT_EQ(s.Canvas.DrawText("Mixrate:", r, DT_CALCRECT), extent.Height);
    EXPECT_EQ(r, TRect::FromBounds(5, 7, extent.Width, extent.Height));
    EXPECT_EQ(Measure(s.Canvas, "Mixrate:", DT_SINGLELINE | DT_EXPANDTABS), r);
    EXPECT_EQ(s.Pixels, TPixmap(10, 10, MakeColor(255, 255, 255))) << "measuring draws nothing";
}

TEST(DrawTextMeasure, EmptyTextMeasuresNothing)
{
    TTextSurface s(10, 10);
    TRect r{3, 4, 50, 60};
    EXPECT_EQ(s.Canvas.DrawText("", r, DT_CALCRECT | DT_WORDBREAK), 0);
    EXPECT_EQ(r, (TRect{3, 4, 3, 4}));
    EXPECT_EQ(Measure(s.Canvas, " ", 0).Height(), s.Canvas.TextHeight(" ")) << "a space is one line";
}

TEST(DrawTextMeasure, LineBreaksStartLinesUnlessSingleLine)
{
    TTextSurface s(10, 10);
    int line = s.Canvas.TextHeight("x");
    int widest = s.Canvas.TextWidth("Mixrate:");
    EXPECT_EQ(Measure(s.Canvas, "Mixrate:\n22050", 0), TRect::FromBounds(5, 7, widest, 2 * line));
    EXPECT_EQ(Measure(s.Canvas, "Mixrate:\r\n22050", 0), TRect::FromBounds(5, 7, widest, 2 * line));
    EXPECT_EQ(Measure(s.Canvas, "Mixrate:\r22050", 0).Height(), 2 * line);
    EXPECT_EQ(Measure(s.Canvas, "a\n", 0).Height(), 2 * line);
    EXPECT_EQ(Measure(s.Canvas, "a\n\nb", 0).Height(), 3 * line);
    EXPECT_EQ(Measure(s.Canvas, "Mixrate:\r\n22050", DT_SINGLELINE),
        TRect::FromBounds(5, 7, s.Canvas.TextWidth("Mixrate:22050"), line))
        << "single line: the breaks draw nothing";
}

TEST(DrawTextMeasure, WordBreakWrapsAtSpacesToTheWidth)
{
    TTextSurface s(10, 10);
    int line = s.Canvas.TextHeight("x");
    int twoWords = s.Canvas.TextWidth("Thanks for");
    TRect box = TRect::FromBounds(0, 0, twoWords, 100);
    EXPECT_EQ(Measure(s.Canvas, "Thanks for listening", DT_WORDBREAK, box),
        TRect::FromBounds(0, 0, std::max(twoWords, s.Canvas.TextWidth("listening")), 2 * line));
    TRect oneLess = TRect::FromBounds(0, 0, twoWords - 1, 100);
    EXPECT_EQ(Measure(s.Canvas, "Thanks for listening", DT_WORDBREAK, oneLess).Height(), 3 * line);
    EXPECT_EQ(Measure(s.Canvas, "Thanks for listening", 0, oneLess).Height(), line)
        << "no wrapping without DT_WORDBREAK";
    EXPECT_EQ(Measure(s.Canvas, "Thanks for listening", DT_WORDBREAK | DT_SINGLELINE, oneLess).Height(), line);
}

TEST(DrawTextMeasure, AWordWiderThanTheBoxKeepsItsLine)
{
    TTextSurface s(10, 10);
    int line = s.Canvas.TextHeight("x");
    TRect narrow = TRect::FromBounds(0, 0, 10, 100);
    TRect r = Measure(s.Canvas, "Extraordinary go", DT_WORDBREAK, narrow);
    EXPECT_EQ(r.Height(), 2 * line);
    EXPECT_EQ(r.Width(), s.Canvas.TextWidth("Extraordinary"));
}

TEST(DrawTextMeasure, TabsExpandToEightAverageCharacterStops)
{
    TTextSurface s(10, 10);
    int stop = 8 * s.Canvas.TextMetrics().AveCharWidth;
    EXPECT_EQ(Measure(s.Canvas, "a\tb", DT_EXPANDTABS).Width(), stop + s.Canvas.TextWidth("b"));
    EXPECT_EQ(Measure(s.Canvas, "a\t\tb", DT_EXPANDTABS).Width(), 2 * stop + s.Canvas.TextWidth("b"));
    EXPECT_EQ(Measure(s.Canvas, "a\tb", 0).Width(), s.Canvas.TextWidth("ab")) << "an unexpanded tab draws nothing";
}

TEST(DrawTextPrefix, AmpersandUnderlinesTheNextCharacter)
{
    TTextSurface s(120, 40);
    TTextMetric m = s.Canvas.TextMetrics();
    EXPECT_EQ(Measure(s.Canvas, "&File", 0).Width(), s.Canvas.TextWidth("File"));
    TRect r{10, 10, 110, 40};
    s.Canvas.DrawText("&File", r, 0);

    int fWidth = s.Canvas.TextWidth("F");
    bool underlined = false;
    for (int y = 10 + m.Ascent; y < 10 + m.Height; ++y) {
        if (s.RowHasInk(y, 10, 10 + fWidth)) {
            underlined = true;
            EXPECT_FALSE(s.RowHasInk(y, 10 + fWidth + 1, 120)) << "only the F is underlined";
        }
    }
    EXPECT_TRUE(underlined);

    TPixmap rest = TextOutAt(120, 40, 10, 10, "File");
    for (int y = 0; y < 10 + m.Ascent; ++y)
        for (int x = 0; x < 120; ++x)
            ASSERT_EQ(s.Pixels.At(x, y), rest.At(x, y)) << "above the baseline it is the plain text";
}

TEST(DrawTextPrefix, NoPrefixDrawsTheAmpersand)
{
    TTextSurface s(120, 40);
    EXPECT_EQ(Measure(s.Canvas, "&File", DT_NOPREFIX).Width(), s.Canvas.TextWidth("&File"));
    TRect r{10, 10, 110, 40};
    s.Canvas.DrawText("&File", r, DT_NOPREFIX);
    EXPECT_EQ(s.Pixels, TextOutAt(120, 40, 10, 10, "&File"));
}

TEST(DrawTextPrefix, DoubleAmpersandIsOneAndATrailingOneIsDropped)
{
    TTextSurface doubled(120, 40);
    TRect r{10, 10, 110, 40};
    doubled.Canvas.DrawText("Rock && Roll", r, 0);
    EXPECT_EQ(doubled.Pixels, TextOutAt(120, 40, 10, 10, "Rock & Roll"));

    TTextSurface trailing(120, 40);
    trailing.Canvas.DrawText("Roll&", r, 0);
    EXPECT_EQ(trailing.Pixels, TextOutAt(120, 40, 10, 10, "Roll"));
}

TEST(DrawTextAlign, LinesAreDrawnWhereTheOptionsPlaceThem)
{
    const TRect box{10, 10, 190, 90};
    TTextSurface probe(200, 100);
    TSize extent = probe.Canvas.TextExtent("Stereo");
    struct Case {
        unsigned format;
        int x;
        int y;
    };
    const Case cases[] = {
        {DT_LEFT, 10, 10},
        {DT_CENTER, 10 + (180 - extent.Width) / 2, 10},
        {DT_RIGHT, 190 - extent.Width, 10},
        {DT_VCENTER, 10, 10}, // vertical placement needs DT_SINGLELINE
        {DT_SINGLELINE | DT_VCENTER, 10, 10 + (80 - extent.Height) / 2},
        {DT_SINGLELINE | DT_BOTTOM, 10, 90 - extent.Height},
        {DT_SINGLELINE | DT_BOTTOM | DT_CENTER, 10 + (180 - extent.Width) / 2, 90 - extent.Height},
        {DT_SINGLELINE | DT_VCENTER | DT_RIGHT, 190 - extent.Width, 10 + (80 - extent.Height) / 2},
    };
    for (const Case& c : cases) {
        TTextSurface s(200, 100);
        TRect r = box;
        int height = s.Canvas.DrawText("Stereo", r, c.format);
        EXPECT_EQ(r, box) << "drawing leaves the rectangle as it was";
        EXPECT_EQ(height, c.y - box.Top + extent.Height) << "format " << c.format;
        EXPECT_EQ(s.Pixels, TextOutAt(200, 100, c.x, c.y, "Stereo")) << "format " << c.format;
    }
}

TEST(DrawTextAlign, InkLandsAtTheSidesAndMiddleOfTheBox)
{
    const TRect box{10, 10, 190, 90};
    auto inkOf = [&](unsigned format) {
        TTextSurface s(200, 100);
        TRect r = box;
        s.Canvas.DrawText("Mono", r, format);
        return s.Ink();
    };
    TRect right = inkOf(DT_RIGHT);
    EXPECT_LE(right.Right, 190);
    EXPECT_GE(right.Right, 187);
    TRect bottom = inkOf(DT_SINGLELINE | DT_BOTTOM);
    EXPECT_LE(bottom.Bottom, 90);
    EXPECT_GE(bottom.Bottom, 90 - 5) << "only the descent lies below the baseline";
    TRect centre = inkOf(DT_SINGLELINE | DT_CENTER | DT_VCENTER);
    EXPECT_NEAR(centre.Left + centre.Right, 10 + 190, 4);
    EXPECT_NEAR(centre.Top + centre.Bottom, 10 + 90, 6);
}

TEST(DrawTextAlign, EachWrappedLineIsCentredOnItsOwn)
{
    TTextSurface probe(200, 100);
    int line = probe.Canvas.TextHeight("x");
    const TRect box = TRect::FromBounds(10, 5, probe.Canvas.TextWidth("Thanks for"), 90);
    TTextSurface s(200, 100);
    TRect r = box;
    EXPECT_EQ(s.Canvas.DrawText("Thanks for listening", r, DT_WORDBREAK | DT_CENTER), 2 * line);

    TTextSurface expected(200, 100);
    expected.Canvas.WriteText(10, 5, "Thanks for");
    expected.Canvas.WriteText(10 + (box.Width() - probe.Canvas.TextWidth("listening")) / 2, 5 + line, "listening");
    EXPECT_EQ(s.Pixels, expected.Pixels);
}

TEST(DrawTextAlign, SolidBrushFillsTheCellsOfEachLine)
{
    TTextSurface s(200, 100);
    s.Canvas.Brush.Style = TBrushStyle::bsSolid;
    s.Canvas.Brush.Color = clYellow;
    TRect r{10, 10, 190, 90};
    s.Canvas.DrawText("Stereo", r, DT_RIGHT);
    TSize extent = s.Canvas.TextExtent("Stereo");
    EXPECT_EQ(s.Ink(), TRect::FromBounds(190 - extent.Width, 10, extent.Width, extent.Height));
}

TEST(DrawTextAlign, DrawingIsHeldToTheCanvasClipNotToTheBox)
{
    TTextSurface s(200, 60);
    TRect r{10, 10, 30, 40};
    s.Canvas.DrawText("Extraordinary", r, 0);
    EXPECT_GT(s.Ink().Right, 40) << "text runs past the box";
    TTextSurface clipped(200, 60);
    clipped.Canvas.SetClipRect({0, 0, 40, 60});
    r = {10, 10, 30, 40};
    clipped.Canvas.DrawText("Extraordinary", r, 0);
    EXPECT_LE(clipped.Ink().Right, 40);
}
