#include "toolkit/graphics/Bitmap.h"
#include "toolkit/graphics/Exceptions.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

bool InPalette(const TBitmap& bitmap)
{
    const TPixmap& pixels = bitmap.Pixmap();
    for (int y = 0; y < pixels.Height(); ++y)
        for (int x = 0; x < pixels.Width(); ++x)
            if (std::find(bitmap.Palette().begin(), bitmap.Palette().end(), pixels.At(x, y)) == bitmap.Palette().end())
                return false;
    return true;
}

} // namespace

TEST(Bitmap, NewBitmapsAreBlackWithTheirCanvasOnThePixels)
{
    TBitmap empty;
    EXPECT_TRUE(empty.Empty());
    EXPECT_EQ(empty.PixelFormat(), TPixelFormat::pf24bit);
    EXPECT_EQ(empty.Canvas().Pixel(0, 0), -1);

    TBitmap picture(5, 3);
    EXPECT_EQ(picture.Width(), 5);
    EXPECT_EQ(picture.Height(), 3);
    EXPECT_TRUE(picture.Palette().empty());
    EXPECT_EQ(picture.Canvas().Pixel(4, 2), clBlack);
    EXPECT_EQ(picture.Canvas().Pixel(5, 2), -1);
    picture.Canvas().SetPixel(1, 1, clRed);
    EXPECT_EQ(picture.Pixmap().At(1, 1), static_cast<TPixel>(clRed));
}

TEST(Bitmap, PalettedFormatsStartWithTheStandardPalette)
{
    EXPECT_EQ(TBitmap(1, 1, TPixelFormat::pf1bit).Palette(), (std::vector<TPixel>{0x000000, 0xFFFFFF}));
    TBitmap sixteen(1, 1, TPixelFormat::pf4bit);
    ASSERT_EQ(sixteen.Palette().size(), 16u);
    EXPECT_EQ(sixteen.Palette()[4], static_cast<TPixel>(clNavy));
    EXPECT_EQ(sixteen.Palette()[7], static_cast<TPixel>(clSilver));
    EXPECT_EQ(sixteen.Palette()[15], static_cast<TPixel>(clWhite));
    std::vector<TPixel> full = StandardPalette(TPixelFormat::pf8bit);
    ASSERT_EQ(full.size(), 256u);
    EXPECT_TRUE(std::equal(sixteen.Palette().begin(), sixteen.Palette().end(), full.begin()));
    EXPECT_NE(std::find(full.begin(), full.end(), MakeColor(153, 0, 255)), full.end());
    EXPECT_TRUE(StandardPalette(TPixelFormat::pf24bit).empty());
}

TEST(Bitmap, ResizingKeepsPixelsAndTheCanvas)
{
    TBitmap picture(2, 2);
    int changes = 0;
    picture.OnChange = [&](TObject* sender) {
        EXPECT_EQ(sender, &picture);
        ++changes;
    };
    picture.Canvas().SetPixel(1, 1, clRed);
    picture.SetSize(4, 3);
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(picture.Canvas().Pixel(1, 1), clRed);
    EXPECT_EQ(picture.Canvas().Pixel(3, 2), clBlack);
    picture.Canvas().SetPixel(3, 2, clLime);
    EXPECT_EQ(picture.Pixmap().At(3, 2), static_cast<TPixel>(clLime));
    picture.SetSize(4, 3);
    EXPECT_EQ(changes, 1) << "the same size changes nothing";
    picture.SetHeight(1);
    picture.SetWidth(0);
    EXPECT_TRUE(picture.Empty());
    EXPECT_EQ(changes, 3);
}

TEST(Bitmap, PixelFormatChangesSnapThePixels)
{
    TBitmap picture(2, 1);
    picture.Canvas().SetPixel(0, 0, MakeColor(200, 30, 20));
    picture.Canvas().SetPixel(1, 0, MakeColor(90, 90, 90));
    picture.SetPixelFormat(TPixelFormat::pf4bit);
    EXPECT_EQ(picture.Palette().size(), 16u);
    EXPECT_EQ(picture.Canvas().Pixel(0, 0), clRed);
    EXPECT_EQ(picture.Canvas().Pixel(1, 0), clGray);
    picture.SetPixelFormat(TPixelFormat::pf1bit);
    EXPECT_EQ(picture.Palette().size(), 2u) << "16 entries are too many for one bit";
    EXPECT_EQ(picture.Canvas().Pixel(0, 0), clBlack);
    EXPECT_EQ(picture.Canvas().Pixel(1, 0), clWhite) << "grey 128 lies nearer white";
    picture.SetPixelFormat(TPixelFormat::pf24bit);
    EXPECT_TRUE(picture.Palette().empty());
    picture.Canvas().SetPixel(0, 0, MakeColor(1, 2, 3));
    EXPECT_EQ(picture.Canvas().Pixel(0, 0), static_cast<TColor>(MakeColor(1, 2, 3)));
}

TEST(Bitmap, OwnPaletteSnapsPixelsAndDrawing)
{
    TBitmap picture(3, 1, TPixelFormat::pf8bit);
    picture.Canvas().SetPixel(0, 0, clWhite);
    picture.Canvas().SetPixel(1, 0, clLime);
    picture.SetPalette({MakeColor(10, 10, 10), MakeColor(250, 250, 250), MakeColor(0, 128, 0)});
    EXPECT_EQ(picture.Canvas().Pixel(0, 0), static_cast<TColor>(MakeColor(250, 250, 250)));
    EXPECT_EQ(picture.Canvas().Pixel(1, 0), static_cast<TColor>(MakeColor(0, 128, 0)));
    EXPECT_EQ(picture.Canvas().Pixel(2, 0), static_cast<TColor>(MakeColor(10, 10, 10)));
    picture.Canvas().Brush.Color = clSilver;
    picture.Canvas().FillRect({0, 0, 3, 1});
    EXPECT_EQ(picture.Canvas().Pixel(2, 0), static_cast<TColor>(MakeColor(250, 250, 250)));
    picture.SetSize(4, 1);
    EXPECT_EQ(picture.Canvas().Pixel(3, 0), static_cast<TColor>(MakeColor(10, 10, 10))) << "new pixels snap too";
    EXPECT_TRUE(InPalette(picture));

    EXPECT_THROW(picture.SetPalette(std::vector<TPixel>(257)), EInvalidOperation);
    TBitmap deep(1, 1);
    EXPECT_THROW(deep.SetPalette({0}), EInvalidOperation);
}

TEST(Bitmap, TransparentColorIsTheBottomLeftPixel)
{
    TBitmap picture(3, 2);
    picture.Canvas().SetPixel(0, 1, clFuchsia);
    EXPECT_EQ(picture.TransparentColor(), clFuchsia);
    EXPECT_EQ(TBitmap().TransparentColor(), clWhite);
}

TEST(Bitmap, AssignCopiesEverythingAndNotifiesOnce)
{
    TBitmap source(3, 2, TPixelFormat::pf4bit);
    source.Canvas().SetPixel(2, 1, clYellow);
    TBitmap copy(9, 9);
    int changes = 0;
    copy.OnChange = [&](TObject*) { ++changes; };
    copy.Assign(source);
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(copy.Width(), 3);
    EXPECT_EQ(copy.Height(), 2);
    EXPECT_EQ(copy.PixelFormat(), TPixelFormat::pf4bit);
    EXPECT_EQ(copy.Palette(), source.Palette());
    EXPECT_EQ(copy.Pixmap(), source.Pixmap());

    copy.Canvas().SetPixel(0, 0, MakeColor(250, 250, 250));
    EXPECT_EQ(copy.Canvas().Pixel(0, 0), clWhite) << "the copy draws through its own palette";
    EXPECT_EQ(source.Canvas().Pixel(0, 0), clBlack) << "the source is not shared";

    copy.Assign(TBitmap());
    EXPECT_TRUE(copy.Empty());
    EXPECT_EQ(copy.PixelFormat(), TPixelFormat::pf24bit);
    EXPECT_EQ(changes, 2);
}

TEST(Bitmap, AssignFromAnotherClassRaises)
{
    TBitmap picture(1, 1);
    TFont font;
    EXPECT_THROW(picture.Assign(font), EConvertError);
}
