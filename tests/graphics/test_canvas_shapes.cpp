#include "toolkit/graphics/Bitmap.h"
#include "toolkit/graphics/Canvas.h"

#include <gtest/gtest.h>

#include <array>
#include <map>
#include <string>

namespace {

// One character per pixel, rows separated by '|': '.' is black, the legend
// names the other colours, anything else shows as '?'.
std::string Picture(const TPixmap& pixels, const std::map<TColor, char>& legend)
{
    std::string text;
    for (int y = 0; y < pixels.Height(); ++y) {
        if (y > 0)
            text += '|';
        for (int x = 0; x < pixels.Width(); ++x) {
            auto colour = static_cast<TColor>(pixels.At(x, y));
            auto found = legend.find(colour);
            text += colour == clBlack ? '.' : found != legend.end() ? found->second : '?';
        }
    }
    return text;
}

const std::map<TColor, char> legend = {{clRed, 'r'}, {clBlue, 'b'}, {clWhite, 'w'}, {clLime, 'g'}};

} // namespace

TEST(CanvasLines, LeaveOutTheirEndPointAndMoveThePen)
{
    TPixmap surface(6, 6);
    TCanvas canvas(surface);
    canvas.Pen.Color = clRed;
    canvas.MoveTo(0, 0);
    canvas.LineTo(4, 0);
    EXPECT_EQ(canvas.PenPos(), (TPoint{4, 0}));
    canvas.MoveTo(5, 5);
    canvas.LineTo(5, 1); // upward
    canvas.MoveTo(0, 1);
    canvas.LineTo(4, 5); // diagonal
    EXPECT_EQ(Picture(surface, legend), "rrrr..|r.....|.r...r|..r..r|...r.r|.....r");
}

TEST(CanvasLines, ZeroLengthDrawsNothing)
{
    TPixmap surface(3, 3);
    TCanvas canvas(surface);
    canvas.Pen.Color = clRed;
    canvas.MoveTo(1, 1);
    canvas.LineTo(1, 1);
    EXPECT_EQ(Picture(surface, legend), "...|...|...");
}

TEST(CanvasLines, ShallowLineStepsEvenly)
{
    TPixmap surface(9, 3);
    TCanvas canvas(surface);
    canvas.Pen.Color = clRed;
    canvas.MoveTo(0, 0);
    canvas.LineTo(8, 2);
    EXPECT_EQ(Picture(surface, legend), "rr.......|..rrrr...|......rr.");
}

TEST(CanvasLines, ThreeDimensionalFrameCorners)
{
    // Two rings of a lowered frame on (0, 0, 10, 10): red is the shaded top
    // and left, white the lit bottom and right, which own the corners.
    TPixmap surface(10, 10);
    TCanvas canvas(surface);
    int x1 = 0, y1 = 0, x2 = 9, y2 = 9;
    for (int ring = 0; ring < 2; ++ring) {
        canvas.Pen.Color = clRed;
        std::array<TPoint, 3> top = {TPoint{x1, y2}, TPoint{x1, y1}, TPoint{x2, y1}};
        canvas.Polyline(top);
        canvas.Pen.Color = clWhite;
        std::array<TPoint, 3> bottom = {TPoint{x2, y1}, TPoint{x2, y2}, TPoint{x1 - 1, y2}};
        canvas.Polyline(bottom);
        ++x1, ++y1, --x2, --y2;
    }
    EXPECT_EQ(Picture(surface, legend),
        "rrrrrrrrrw|"
        "rrrrrrrrww|"
        "rr......ww|"
        "rr......ww|"
        "rr......ww|"
        "rr......ww|"
        "rr......ww|"
        "rr......ww|"
        "rwwwwwwwww|"
        "wwwwwwwwww");
    EXPECT_EQ(canvas.PenPos(), (TPoint{}));
}

TEST(CanvasLines, PenStylesAndWidths)
{
    TPixmap surface(12, 7);
    TCanvas canvas(surface);
    canvas.Pen.Color = clRed;
    canvas.Pen.Style = TPenStyle::psDot;
    canvas.MoveTo(0, 0);
    canvas.LineTo(12, 0);
    canvas.Pen.Style = TPenStyle::psClear;
    canvas.MoveTo(0, 1);
    canvas.LineTo(12, 1);
    EXPECT_EQ(canvas.PenPos(), (TPoint{12, 1})) << "a clear pen still moves";
    canvas.Pen.Style = TPenStyle::psSolid;
    canvas.Pen.Width = 3;
    canvas.MoveTo(1, 4);
    canvas.LineTo(5, 4);
    EXPECT_EQ(Picture(surface, legend),
        "rrr...rrr...|"
        "............|"
        "............|"
        "rrrrrr......|"
        "rrrrrr......|"
        "rrrrrr......|"
        "............");
}

TEST(CanvasLines, DashPatternRunsOnThroughAPolyline)
{
    TPixmap surface(30, 2);
    TCanvas canvas(surface);
    canvas.Pen.Color = clRed;
    canvas.Pen.Style = TPenStyle::psDash;
    std::array<TPoint, 3> points = {TPoint{0, 0}, TPoint{20, 0}, TPoint{30, 0}};
    canvas.Polyline(points);
    std::string row = Picture(surface, legend).substr(0, 30);
    EXPECT_EQ(row, std::string(18, 'r') + std::string(6, '.') + std::string(6, 'r'));
}

TEST(CanvasFrames, FrameRectUsesTheBrushAlongTheEdge)
{
    TPixmap surface(7, 5);
    TCanvas canvas(surface);
    canvas.Brush.Color = clBlue;
    canvas.Pen.Color = clRed;
    canvas.FrameRect({1, 1, 6, 5});
    EXPECT_EQ(Picture(surface, legend), ".......|.bbbbb.|.b...b.|.b...b.|.bbbbb.");
    canvas.Brush.Style = TBrushStyle::bsClear;
    canvas.Brush.Color = clWhite;
    canvas.FrameRect({0, 0, 7, 5});
    EXPECT_EQ(surface.At(0, 0), 0u) << "a clear brush frames nothing";
}

TEST(CanvasFrames, RectangleOutlinesWithThePenAndFillsWithTheBrush)
{
    TPixmap surface(7, 5);
    TCanvas canvas(surface);
    canvas.Pen.Color = clRed;
    canvas.Brush.Color = clBlue;
    canvas.Rectangle({1, 1, 6, 5});
    EXPECT_EQ(Picture(surface, legend), ".......|.rrrrr.|.rbbbr.|.rbbbr.|.rrrrr.");

    surface.Fill(0);
    canvas.Brush.Style = TBrushStyle::bsClear;
    canvas.Rectangle({1, 1, 6, 5});
    EXPECT_EQ(Picture(surface, legend), ".......|.rrrrr.|.r...r.|.r...r.|.rrrrr.");

    surface.Fill(0);
    canvas.Brush.Style = TBrushStyle::bsSolid;
    canvas.Pen.Style = TPenStyle::psClear;
    canvas.Rectangle({1, 1, 6, 5});
    EXPECT_EQ(Picture(surface, legend), ".......|.bbbbb.|.bbbbb.|.bbbbb.|.bbbbb.");
}

TEST(CanvasFrames, WidePenStraddlesTheEdges)
{
    TPixmap surface(37, 27);
    TCanvas canvas(surface);
    canvas.Pen.Color = clRed;
    canvas.Pen.Width = 2;
    canvas.Brush.Color = clBlue;
    canvas.Rectangle({1, 1, 35, 25});
    TRect outer{0, 0, 36, 26};
    TRect inner{2, 2, 34, 24};
    for (int y = 0; y < surface.Height(); ++y) {
        for (int x = 0; x < surface.Width(); ++x) {
            TColor expected = inner.Contains({x, y}) ? clBlue : outer.Contains({x, y}) ? clRed : clBlack;
            ASSERT_EQ(canvas.Pixel(x, y), expected) << "at " << x << ", " << y;
        }
    }
}

TEST(CanvasFrames, OddWidePenIsCentredOnTheEdge)
{
    TPixmap surface(10, 9);
    TCanvas canvas(surface);
    canvas.Pen.Color = clRed;
    canvas.Pen.Width = 3;
    canvas.Brush.Color = clBlue;
    canvas.Rectangle({2, 2, 8, 7});
    EXPECT_EQ(Picture(surface, legend),
        "..........|"
        ".rrrrrrrr.|"
        ".rrrrrrrr.|"
        ".rrrrrrrr.|"
        ".rrrbbrrr.|"
        ".rrrrrrrr.|"
        ".rrrrrrrr.|"
        ".rrrrrrrr.|"
        "..........");
}

TEST(CanvasEllipse, TouchesEveryEdgeOfItsBox)
{
    TPixmap surface(13, 10);
    TCanvas canvas(surface);
    canvas.Pen.Color = clRed;
    canvas.Brush.Color = clBlue;
    canvas.Ellipse({1, 1, 12, 9});
    EXPECT_EQ(Picture(surface, legend),
        ".............|"
        "....rrrrr....|"
        "..rrbbbbbrr..|"
        ".rbbbbbbbbbr.|"
        ".rbbbbbbbbbr.|"
        ".rbbbbbbbbbr.|"
        ".rbbbbbbbbbr.|"
        "..rrbbbbbrr..|"
        "....rrrrr....|"
        ".............");
}

TEST(CanvasEllipse, ThinBoxesStillReachTheirEnds)
{
    TPixmap surface(24, 24);
    TCanvas canvas(surface);
    canvas.Pen.Color = clRed;
    canvas.Ellipse({0, 0, 2, 24});
    canvas.Ellipse({4, 0, 24, 2});
    EXPECT_EQ(canvas.Pixel(0, 0) == clRed || canvas.Pixel(1, 0) == clRed, true);
    EXPECT_EQ(canvas.Pixel(0, 23) == clRed || canvas.Pixel(1, 23) == clRed, true);
    EXPECT_EQ(canvas.Pixel(4, 0), clRed);
    EXPECT_EQ(canvas.Pixel(23, 1), clRed);
}

TEST(CanvasEllipse, IsSymmetricInEveryBox)
{
    for (int w = 1; w <= 14; ++w) {
        for (int h = 1; h <= 14; ++h) {
            TPixmap surface(w, h);
            TCanvas canvas(surface);
            canvas.Pen.Color = clRed;
            canvas.Brush.Color = clBlue;
            canvas.Ellipse({0, 0, w, h});
            bool left = false, right = false, top = false, bottom = false;
            for (int y = 0; y < h; ++y) {
                for (int x = 0; x < w; ++x) {
                    ASSERT_EQ(surface.At(x, y), surface.At(w - 1 - x, y)) << w << "x" << h;
                    ASSERT_EQ(surface.At(x, y), surface.At(x, h - 1 - y)) << w << "x" << h;
                }
                left |= surface.At(0, y) == static_cast<TPixel>(clRed);
                right |= surface.At(w - 1, y) == static_cast<TPixel>(clRed);
            }
            for (int x = 0; x < w; ++x) {
                top |= surface.At(x, 0) == static_cast<TPixel>(clRed);
                bottom |= surface.At(x, h - 1) == static_cast<TPixel>(clRed);
            }
            EXPECT_TRUE(left && right && top && bottom) << w << "x" << h;
        }
    }
}

TEST(CanvasPie, QuarterFromThreeToTwelveOClock)
{
    TPixmap surface(20, 20);
    TCanvas canvas(surface);
    canvas.Pen.Color = clRed;
    canvas.Brush.Color = clBlue;
    canvas.Pie({0, 0, 20, 20}, {20, 10}, {10, 0});
    EXPECT_EQ(canvas.Pixel(14, 5), clBlue) << "upper right is filled";
    EXPECT_EQ(canvas.Pixel(5, 5), clBlack);
    EXPECT_EQ(canvas.Pixel(5, 14), clBlack);
    EXPECT_EQ(canvas.Pixel(14, 14), clBlack);
    EXPECT_EQ(canvas.Pixel(10, 0), clRed) << "arc meets the upward radius";
    EXPECT_EQ(canvas.Pixel(10, 4), clRed) << "upward radius";
    EXPECT_EQ(canvas.Pixel(15, 10), clRed) << "rightward radius";
    EXPECT_EQ(canvas.Pixel(19, 9), clRed) << "arc at three o'clock";
    EXPECT_EQ(canvas.Pixel(17, 3), clRed) << "arc between";
    EXPECT_EQ(canvas.Pixel(16, 3), clBlue);
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 20; ++x)
            if (x < 10 || y > 10) {
                ASSERT_EQ(canvas.Pixel(x, y), clBlack) << x << ", " << y;
            }
}

TEST(CanvasPie, TheOtherThreeQuartersRunOnCounterClockwise)
{
    TPixmap surface(20, 20);
    TCanvas canvas(surface);
    canvas.Pen.Color = clRed;
    canvas.Brush.Color = clBlue;
    canvas.Pie({0, 0, 20, 20}, {10, 0}, {20, 10});
    EXPECT_EQ(canvas.Pixel(14, 5), clBlack);
    EXPECT_EQ(canvas.Pixel(5, 5), clBlue);
    EXPECT_EQ(canvas.Pixel(5, 14), clBlue);
    EXPECT_EQ(canvas.Pixel(14, 14), clBlue);
}

TEST(CanvasPie, EqualRadialsGiveTheWholeEllipse)
{
    TPixmap pie(12, 9);
    TPixmap ellipse(12, 9);
    TCanvas a(pie);
    TCanvas b(ellipse);
    for (TCanvas* canvas : {&a, &b}) {
        canvas->Pen.Color = clRed;
        canvas->Brush.Color = clBlue;
    }
    a.Pie({0, 0, 12, 9}, {6, 0}, {6, 0});
    b.Ellipse({0, 0, 12, 9});
    EXPECT_EQ(pie, ellipse);
}

TEST(CanvasFocusRect, InvertsEveryOtherPixelAndUndoesItself)
{
    TPixmap surface(6, 4);
    TCanvas canvas(surface);
    canvas.DrawFocusRect({0, 0, 6, 4});
    EXPECT_EQ(Picture(surface, legend), "w.w.w.|.....w|w.....|.w.w.w");
    canvas.DrawFocusRect({0, 0, 6, 4});
    EXPECT_EQ(Picture(surface, legend), "......|......|......|......");
}

TEST(CanvasClip, DrawingStaysInsideTheClipRectangle)
{
    TPixmap surface(8, 6);
    TCanvas canvas(surface);
    canvas.Attach(&surface, {1, 1}, TRect{1, 1, 8, 6});
    canvas.SetClipRect({1, 1, 5, 4});
    canvas.Brush.Color = clBlue;
    canvas.Pen.Color = clRed;
    canvas.Rectangle({-3, -3, 20, 20});
    canvas.MoveTo(0, 2);
    canvas.LineTo(10, 2);
    canvas.Ellipse({0, 0, 7, 5});
    EXPECT_EQ(canvas.ClipRect(), (TRect{1, 1, 5, 4}));
    EXPECT_EQ(canvas.Pixel(0, 0), -1);
    EXPECT_EQ(canvas.Pixel(5, 2), -1);
    for (int y = 0; y < 6; ++y)
        for (int x = 0; x < 8; ++x)
            if (!TRect{2, 2, 6, 5}.Contains({x, y})) {
                ASSERT_EQ(surface.At(x, y), 0u) << x << ", " << y;
            }
    EXPECT_NE(surface.At(2, 2), 0u);
    canvas.ResetClip();
    EXPECT_EQ(canvas.Pixel(6, 4), clBlack);
    EXPECT_EQ(canvas.Pixel(7, 0), -1) << "beyond the attached bounds";
}

TEST(CanvasPalette, ShapesOnAPalettedBitmapSnapToItsEntries)
{
    TBitmap picture(4, 4, TPixelFormat::pf4bit);
    TCanvas& canvas = picture.Canvas();
    canvas.Brush.Color = MakeColor(250, 10, 5);
    canvas.FillRect({0, 0, 4, 2});
    canvas.Pen.Color = MakeColor(0, 0, 100);
    canvas.MoveTo(0, 3);
    canvas.LineTo(4, 3);
    canvas.SetPixel(0, 2, clBtnFace);
    EXPECT_EQ(canvas.Pixel(1, 1), clRed);
    EXPECT_EQ(canvas.Pixel(2, 3), clNavy);
    EXPECT_EQ(canvas.Pixel(0, 2), clSilver);
}
