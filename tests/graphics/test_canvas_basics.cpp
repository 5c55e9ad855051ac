#include "toolkit/graphics/Canvas.h"

#include <gtest/gtest.h>

TEST(CanvasBasics, FillRectIsRightAndBottomExclusiveAndClipped)
{
    TPixmap surface(6, 4);
    TCanvas canvas(surface);
    canvas.Brush.Color = clRed;
    canvas.FillRect({1, 1, 3, 2});
    EXPECT_EQ(canvas.Pixel(0, 1), clBlack);
    EXPECT_EQ(canvas.Pixel(1, 1), clRed);
    EXPECT_EQ(canvas.Pixel(2, 1), clRed);
    EXPECT_EQ(canvas.Pixel(3, 1), clBlack);
    EXPECT_EQ(canvas.Pixel(1, 2), clBlack);

    canvas.Attach(&surface, {2, 1}, TRect{2, 1, 5, 4});
    canvas.Brush.Color = clBlue;
    canvas.FillRect({-5, -5, 50, 50});
    EXPECT_EQ(canvas.Pixel(-1, 0), -1) << "outside the attached bounds reads -1";
    EXPECT_EQ(surface.At(1, 1), static_cast<TPixel>(clRed));
    EXPECT_EQ(surface.At(2, 1), static_cast<TPixel>(clBlue));
    EXPECT_EQ(surface.At(4, 3), static_cast<TPixel>(clBlue));
    EXPECT_EQ(surface.At(5, 3), static_cast<TPixel>(clBlack));
}
