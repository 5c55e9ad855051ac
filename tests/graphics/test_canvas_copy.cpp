#include "toolkit/graphics/Bitmap.h"
#include "toolkit/graphics/Canvas.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

// Paints one row of colours into a bitmap, left to right, one row per call.
void PaintRow(TBitmap& picture, int y, const std::vector<TColor>& colours)
{
    for (std::size_t x = 0; x < colours.size(); ++x)
        picture.Canvas().SetPixel(static_cast<int>(x), y, colours[x]);
}

std::vector<TColor> ReadRow(const TCanvas& canvas, int y, int width)
{
    std::vector<TColor> row;
    for (int x = 0; x < width; ++x)
        row.push_back(canvas.Pixel(x, y));
    return row;
}

struct RasterCase {
    TCopyMode Mode;
    TColor Expected;
};

} // namespace

TEST(CanvasCopy, PlainCopyMovesARectangle)
{
    TBitmap source(4, 1);
    PaintRow(source, 0, {clRed, clLime, clBlue, clWhite});
    TPixmap surface(5, 2);
    TCanvas canvas(surface);
    canvas.CopyRect({2, 1, 5, 2}, source.Canvas(), {1, 0, 4, 1});
    EXPECT_EQ(ReadRow(canvas, 0, 5), (std::vector<TColor>{0, 0, 0, 0, 0}));
    EXPECT_EQ(ReadRow(canvas, 1, 5), (std::vector<TColor>{0, 0, clLime, clBlue, clWhite}));
}

TEST(CanvasCopy, RasterOperationsOnTwentyFourBits)
{
    const TColor source = 0x33CCF0;
    const TColor destination = 0xAA553C;
    const RasterCase cases[] = {
        {TCopyMode::cmSrcCopy, source},
        {TCopyMode::cmSrcAnd, source & destination},
        {TCopyMode::cmSrcPaint, source | destination},
        {TCopyMode::cmNotSrcCopy, ~source & 0xFFFFFF},
        {TCopyMode::cmSrcInvert, source ^ destination},
    };
    for (const RasterCase& c : cases) {
        TBitmap from(2, 2);
        from.Canvas().Brush.Color = source;
        from.Canvas().FillRect({0, 0, 2, 2});
        TBitmap to(2, 2);
        to.Canvas().Brush.Color = destination;
        to.Canvas().FillRect({0, 0, 2, 2});
        to.Canvas().CopyMode = c.Mode;
        to.Canvas().CopyRect({0, 0, 2, 2}, from.Canvas(), {0, 0, 2, 2});
        EXPECT_EQ(to.Canvas().Pixel(1, 1), c.Expected) << static_cast<int>(c.Mode);
    }
}

TEST(CanvasCopy, RasterOperationsOnEightBitsSnapToThePalette)
{
    const RasterCase cases[] = {
        {TCopyMode::cmSrcAnd, clRed},
        {TCopyMode::cmSrcPaint, clWhite},
        {TCopyMode::cmNotSrcCopy, clAqua},
        {TCopyMode::cmSrcInvert, clAqua},
    };
    for (const RasterCase& c : cases) {
        TBitmap from(1, 1, TPixelFormat::pf8bit);
        from.Canvas().SetPixel(0, 0, clRed);
        TBitmap to(1, 1, TPixelFormat::pf8bit);
        to.Canvas().SetPixel(0, 0, clWhite);
        to.Canvas().CopyMode = c.Mode;
        to.Canvas().CopyRect({0, 0, 1, 1}, from.Canvas(), {0, 0, 1, 1});
        EXPECT_EQ(to.Canvas().Pixel(0, 0), c.Expected) << static_cast<int>(c.Mode);
    }

    // Maroon OR blue is (128, 0, 255), which the standard palette lacks; its
    // nearest entry is the cube's (153, 0, 255).
    TBitmap from(1, 1, TPixelFormat::pf8bit);
    from.Canvas().SetPixel(0, 0, clBlue);
    TBitmap to(1, 1, TPixelFormat::pf8bit);
    to.Canvas().SetPixel(0, 0, clMaroon);
    to.Canvas().CopyMode = TCopyMode::cmSrcPaint;
    to.Canvas().Draw(0, 0, from);
    EXPECT_EQ(to.Canvas().Pixel(0, 0), static_cast<TColor>(MakeColor(153, 0, 255)));

    // NOT maroon is (127, 255, 255): the cube's (102, 255, 255) is nearest.
    to.Canvas().SetPixel(0, 0, clMaroon);
    to.Canvas().CopyMode = TCopyMode::cmNotSrcCopy;
    to.Canvas().CopyRect({0, 0, 1, 1}, to.Canvas(), {0, 0, 1, 1});
    EXPECT_EQ(to.Canvas().Pixel(0, 0), static_cast<TColor>(MakeColor(102, 255, 255)));
}

TEST(CanvasCopy, MaskedSpriteShowsPictureWhereTheMaskIsWhite)
{
    for (TPixelFormat format : {TPixelFormat::pf8bit, TPixelFormat::pf24bit}) {
        const int width = 6;
        TBitmap picture(width, 1, format);
        PaintRow(picture, 0, {clRed, clLime, clBlue, clYellow, clNavy, clWhite});
        TBitmap mask(width, 1, format);
        PaintRow(mask, 0, {clWhite, clBlack, clWhite, clBlack, clWhite, clBlack});
        TBitmap background(width, 1, format);
        PaintRow(background, 0, {clTeal, clTeal, clGray, clGray, clPurple, clPurple});

        TRect client{0, 0, width, 1};
        TBitmap first(width, 1, format);
        TBitmap second(width, 1, format);
        first.Canvas().CopyRect(client, picture.Canvas(), client);
        first.Canvas().CopyMode = TCopyMode::cmSrcAnd;
        first.Canvas().CopyRect(client, mask.Canvas(), client);
        second.Canvas().CopyMode = TCopyMode::cmNotSrcCopy;
        second.Canvas().CopyRect(client, mask.Canvas(), client);
        second.Canvas().CopyMode = TCopyMode::cmSrcAnd;
        second.Canvas().CopyRect(client, background.Canvas(), client);
        first.Canvas().CopyMode = TCopyMode::cmSrcPaint;
        first.Canvas().CopyRect(client, second.Canvas(), client);

        EXPECT_EQ(
            ReadRow(first.Canvas(), 0, width), (std::vector<TColor>{clRed, clTeal, clBlue, clGray, clNavy, clPurple}))
            << static_cast<int>(format);
    }
}

TEST(CanvasCopy, XorOntoBlackGivesTheOverlay)
{
    TBitmap image(3, 1);
    TBitmap overlay(3, 1);
    PaintRow(overlay, 0, {clNavy, clBlack, 0x1CC7FF});
    image.Canvas().CopyMode = TCopyMode::cmSrcInvert;
    image.Canvas().Draw(0, 0, overlay);
    EXPECT_EQ(image.Pixmap(), overlay.Pixmap());
    image.Canvas().Draw(0, 0, overlay);
    EXPECT_EQ(ReadRow(image.Canvas(), 0, 3), (std::vector<TColor>{0, 0, 0})) << "a second XOR takes it away";
}

TEST(CanvasCopy, StretchesWithTheNearestPixel)
{
    TBitmap source(2, 2);
    PaintRow(source, 0, {clRed, clLime});
    PaintRow(source, 1, {clBlue, clWhite});
    TPixmap surface(4, 4);
    TCanvas canvas(surface);
    canvas.CopyRect({0, 0, 4, 4}, source.Canvas(), {0, 0, 2, 2});
    EXPECT_EQ(ReadRow(canvas, 0, 4), (std::vector<TColor>{clRed, clRed, clLime, clLime}));
    EXPECT_EQ(ReadRow(canvas, 1, 4), (std::vector<TColor>{clRed, clRed, clLime, clLime}));
    EXPECT_EQ(ReadRow(canvas, 3, 4), (std::vector<TColor>{clBlue, clBlue, clWhite, clWhite}));

    TBitmap wide(4, 1);
    PaintRow(wide, 0, {clRed, clLime, clBlue, clWhite});
    TPixmap narrow(2, 1);
    TCanvas shrink(narrow);
    shrink.CopyRect({0, 0, 2, 1}, wide.Canvas(), {0, 0, 4, 1});
    EXPECT_EQ(ReadRow(shrink, 0, 2), (std::vector<TColor>{clLime, clWhite}));
}

TEST(CanvasCopy, SourcePixelsOutsideTheSourceAreSkipped)
{
    TBitmap source(2, 2);
    source.Canvas().Brush.Color = clRed;
    source.Canvas().FillRect({0, 0, 2, 2});
    TPixmap surface(4, 4, static_cast<TPixel>(clBlue));
    TCanvas canvas(surface);
    canvas.CopyRect({0, 0, 4, 4}, source.Canvas(), {-1, -1, 3, 3});
    EXPECT_EQ(ReadRow(canvas, 0, 4), (std::vector<TColor>{clBlue, clBlue, clBlue, clBlue}));
    EXPECT_EQ(ReadRow(canvas, 1, 4), (std::vector<TColor>{clBlue, clRed, clRed, clBlue}));
    EXPECT_EQ(ReadRow(canvas, 2, 4), (std::vector<TColor>{clBlue, clRed, clRed, clBlue}));
    EXPECT_EQ(ReadRow(canvas, 3, 4), (std::vector<TColor>{clBlue, clBlue, clBlue, clBlue}));
}

TEST(CanvasCopy, ClippedAtTheDestination)
{
    TBitmap source(4, 4);
    source.Canvas().Brush.Color = clRed;
    source.Canvas().FillRect({0, 0, 4, 4});
    TPixmap surface(4, 4);
    TCanvas canvas(surface);
    canvas.SetClipRect({1, 1, 3, 3});
    canvas.CopyRect({-2, -2, 6, 6}, source.Canvas(), {0, 0, 4, 4});
    EXPECT_EQ(ReadRow(canvas, 1, 4), (std::vector<TColor>{-1, clRed, clRed, -1}));
    canvas.ResetClip();
    EXPECT_EQ(ReadRow(canvas, 0, 4), (std::vector<TColor>{0, 0, 0, 0}));
}

TEST(CanvasCopy, ReadsFromACanvasWithAnOrigin)
{
    // A control's canvas on a window surface: logical (0, 0) is at (2, 1).
    TPixmap window(6, 3);
    window.At(2, 1) = static_cast<TPixel>(clRed);
    window.At(3, 1) = static_cast<TPixel>(clLime);
    TCanvas control;
    control.Attach(&window, {2, 1}, TRect{2, 1, 4, 2});
    TBitmap copy(3, 1);
    copy.Canvas().CopyRect({0, 0, 3, 1}, control, {0, 0, 3, 1});
    EXPECT_EQ(ReadRow(copy.Canvas(), 0, 3), (std::vector<TColor>{clRed, clLime, clBlack}))
        << "pixels beyond the control's bounds are not read";
}

TEST(CanvasCopy, OverlappingCopyWithinOneSurface)
{
    TBitmap picture(4, 1);
    PaintRow(picture, 0, {clRed, clLime, clBlue, clWhite});
    picture.Canvas().CopyRect({1, 0, 4, 1}, picture.Canvas(), {0, 0, 3, 1});
    EXPECT_EQ(ReadRow(picture.Canvas(), 0, 4), (std::vector<TColor>{clRed, clRed, clLime, clBlue}));
}

TEST(CanvasCopy, DrawAndDrawTransparent)
{
    TBitmap glyph(3, 2);
    PaintRow(glyph, 0, {clRed, clWhite, clLime});
    PaintRow(glyph, 1, {clWhite, clBlue, clWhite});
    EXPECT_EQ(glyph.TransparentColor(), clWhite);

    TPixmap surface(5, 3, static_cast<TPixel>(clNavy));
    TCanvas canvas(surface);
    canvas.DrawTransparent(1, 1, glyph, glyph.TransparentColor());
    EXPECT_EQ(ReadRow(canvas, 1, 5), (std::vector<TColor>{clNavy, clRed, clNavy, clLime, clNavy}));
    EXPECT_EQ(ReadRow(canvas, 2, 5), (std::vector<TColor>{clNavy, clNavy, clBlue, clNavy, clNavy}));

    canvas.Draw(-1, 0, glyph);
    EXPECT_EQ(ReadRow(canvas, 0, 5), (std::vector<TColor>{clWhite, clLime, clNavy, clNavy, clNavy}));
    EXPECT_EQ(ReadRow(canvas, 1, 5), (std::vector<TColor>{clBlue, clWhite, clNavy, clLime, clNavy}));
}

TEST(PixmapScaling, ScaledUpPixelsAreSquareBlocksOfTheArea)
{
    TPixmap source(4, 3);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 4; ++x)
            source.At(x, y) = static_cast<TPixel>(y * 16 + x);
    const TPixmap grown = ScaledUp(source, {1, 1, 3, 3}, 3);
    ASSERT_EQ(grown.Width(), 6);
    ASSERT_EQ(grown.Height(), 6);
    for (int y = 0; y < 6; ++y)
        for (int x = 0; x < 6; ++x)
            EXPECT_EQ(grown.At(x, y), source.At(1 + x / 3, 1 + y / 3)) << x << ", " << y;
    EXPECT_EQ(ScaledUp(source, {3, 2, 9, 9}, 2).Width(), 2) << "held to the source";
    EXPECT_EQ(ScaledUp(source, source.Bounds(), 1), source);
}
