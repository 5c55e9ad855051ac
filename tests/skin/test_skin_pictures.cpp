#include "SkinAssets.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>

namespace {

constexpr TPixel Olive = 0x007F7F; // red 0x7F, green 0x7F, blue 0

int Brightness(TPixel p)
{
    return GetRValue(p) + GetGValue(p) + GetBValue(p);
}

long TotalBrightness(const TBitmap& bitmap)
{
    long sum = 0;
    for (int y = 0; y < bitmap.Height(); ++y)
        for (int x = 0; x < bitmap.Width(); ++x)
            sum += Brightness(bitmap.Pixmap().At(x, y));
    return sum;
}

// Columns of row y that are not black, as [first, last + 1); empty when
// the row is all black.
std::pair<int, int> LitSpan(const TBitmap& bitmap, int y)
{
    int first = bitmap.Width();
    int last = -1;
    for (int x = 0; x < bitmap.Width(); ++x)
        if (bitmap.Pixmap().At(x, y) != 0) {
            first = std::min(first, x);
            last = x;
        }
    return {first, last + 1};
}

// The black pixels of each row of a glyph, counted.
std::vector<int> BlackPerRow(const TBitmap& bitmap)
{
    std::vector<int> counts;
    for (int y = 0; y < bitmap.Height(); ++y) {
        int n = 0;
        for (int x = 0; x < bitmap.Width(); ++x)
            n += bitmap.Pixmap().At(x, y) == 0;
        counts.push_back(n);
    }
    return counts;
}

class SkinPicture : public testing::TestWithParam<TSkinAsset> { };

} // namespace

TEST_P(SkinPicture, ExistsWithItsSizeAndDepth)
{
    const TSkinAsset& asset = GetParam();
    std::unique_ptr<TBitmap> bitmap;
    ASSERT_NO_THROW(bitmap = LoadAsset(asset.Name)) << asset.Name;
    EXPECT_EQ(bitmap->Width(), asset.Width);
    EXPECT_EQ(bitmap->Height(), asset.Height);
    EXPECT_EQ(bitmap->PixelFormat(), asset.Format);
}

INSTANTIATE_TEST_SUITE_P(
    Assets, SkinPicture, testing::ValuesIn(SkinAssets()), [](const testing::TestParamInfo<TSkinAsset>& info) {
        std::string name = info.param.Name.substr(0, info.param.Name.find('.'));
        return name;
    });

TEST(SkinGlyphs, SpinGlyphsAreBlackTrianglesOnTransparentOlive)
{
    for (const char* name : {"spin_up.bmp", "spin_down.bmp"}) {
        auto glyph = LoadAsset(name);
        EXPECT_EQ(glyph->TransparentColor(), static_cast<TColor>(Olive)) << name;
        EXPECT_EQ(glyph->Pixmap().At(0, glyph->Height() - 1), Olive) << name;
    }
    for (const char* name : {"SpinUp.bmp", "SpinDown.bmp"}) {
        auto glyph = LoadAsset(name);
        EXPECT_NE(glyph->TransparentColor(), clBlack) << name << ": black would hide the arrow";
    }
    for (const char* name : {"spin_up.bmp", "SpinUp.bmp"}) {
        std::vector<int> rows = BlackPerRow(*LoadAsset(name));
        EXPECT_EQ(rows, (std::vector<int>{0, 1, 3, 5, 7, 0})) << name << " points up";
    }
    for (const char* name : {"spin_down.bmp", "SpinDown.bmp"}) {
        std::vector<int> rows = BlackPerRow(*LoadAsset(name));
        EXPECT_EQ(rows, (std::vector<int>{0, 7, 5, 3, 1, 0})) << name << " points down";
    }
}

TEST(SkinGlyphs, WindowButtonGlyphsAreBlackOnTransparentWhite)
{
    for (const char* name : {"minimize.bmp", "close.bmp"}) {
        auto glyph = LoadAsset(name);
        EXPECT_EQ(glyph->TransparentColor(), clWhite) << name;
        std::set<TPixel> colours(glyph->Pixmap().Data(), glyph->Pixmap().Data() + 49);
        EXPECT_EQ(colours, (std::set<TPixel>{0x000000, 0xFFFFFF})) << name << " has only black and white";
    }
    std::vector<int> rows = BlackPerRow(*LoadAsset("minimize.bmp"));
    EXPECT_TRUE(std::is_sorted(rows.begin() + 2, rows.begin() + 6, std::greater<>()))
        << "the minimise triangle narrows downwards";
    EXPECT_GT(rows[2], rows[5]);
}

TEST(SkinStars, FrameZeroIsAllBlackAndTheStarGrowsBrighter)
{
    auto black = LoadAsset("star0.bmp");
    EXPECT_EQ(TotalBrightness(*black), 0);

    long previous = 0;
    int previousLit = 0;
    for (int frame = 1; frame <= 7; ++frame) {
        auto star = LoadAsset("star" + std::to_string(frame) + ".bmp");
        long brightness = TotalBrightness(*star);
        int lit = static_cast<int>(9 * 9 - std::count(star->Pixmap().Data(), star->Pixmap().Data() + 81, 0u));
        EXPECT_GT(brightness, previous) << "frame " << frame;
        EXPECT_GE(lit, previousLit) << "frame " << frame;
        EXPECT_NE(star->Pixmap().At(4, 4), 0u) << "frame " << frame << " is lit at its centre";
        previous = brightness;
        previousLit = lit;
    }
    auto brightest = LoadAsset("star7.bmp");
    EXPECT_GT(previousLit, 12) << "the full star reaches out";
    EXPECT_EQ(brightest->Pixmap().At(4, 4), 0xFFFFFFu) << "the full star burns white at its centre";
}

TEST(SkinButtons, EachLookOfEachButtonIsItsOwnPicture)
{
    std::set<std::vector<TPixel>> seen;
    for (const TSkinAsset& asset : SkinAssets()) {
        if (asset.Format != TPixelFormat::pf8bit)
            continue;
        auto bitmap = LoadAsset(asset.Name);
        const TPixmap& p = bitmap->Pixmap();
        std::vector<TPixel> pixels(p.Data(), p.Data() + p.Width() * p.Height());
        EXPECT_TRUE(seen.insert(pixels).second) << asset.Name << " repeats another picture";
    }
}

TEST(SkinButtons, EightBitPicturesShareOnePaletteOf256Colours)
{
    const std::vector<TPixel> palette = LoadAsset("song1_up.bmp")->Palette();
    EXPECT_EQ(palette.size(), 256u);
    for (const TSkinAsset& asset : SkinAssets()) {
        if (asset.Format == TPixelFormat::pf8bit) {
            EXPECT_EQ(LoadAsset(asset.Name)->Palette(), palette) << asset.Name;
        }
    }
}

// Columns of row y where the song plate lies, as [first, last + 1): along
// its top and bottom rows the plate's rim is golden, the slate tile under it
// is not.
std::pair<int, int> PlateSpan(const TBitmap& bitmap, int y)
{
    auto golden = [](TPixel p) { return GetRValue(p) > GetBValue(p) + 24; };
    int first = bitmap.Width();
    int last = -1;
    for (int x = 0; x < bitmap.Width(); ++x)
        if (golden(bitmap.Pixmap().At(x, y))) {
            first = std::min(first, x);
            last = x;
        }
    return {first, last + 1};
}

// The buttons stand 40 pixels apart downwards and 30 leftwards: the plate's
// last row of one button must continue in the first row of the next, so
// that the five read as one band.
TEST(SkinButtons, SongPlatesJoinIntoOneBand)
{
    for (int n = 1; n < 5; ++n)
        for (const char* look : {"up", "down", "locked"}) {
            auto upper = LoadAsset("song" + std::to_string(n) + "_" + look + ".bmp");
            auto lower = LoadAsset("song" + std::to_string(n + 1) + "_up.bmp");
            auto [upperFirst, upperEnd] = PlateSpan(*upper, 39);
            auto [lowerFirst, lowerEnd] = PlateSpan(*lower, 0);
            ASSERT_LT(upperFirst, upperEnd) << "song " << n << " " << look << " has a plate along its bottom";
            ASSERT_LT(lowerFirst, lowerEnd);
            // In the panel's columns the lower button lies 30 pixels further left.
            EXPECT_NEAR(upperFirst, lowerFirst - 30, 1) << "song " << n << " " << look;
            EXPECT_NEAR(upperEnd, lowerEnd - 30, 1) << "song " << n << " " << look;
        }
}

// A song button has no mask: its whole rectangle starts the song, so the
// whole rectangle must look like the button, with no corner of black panel
// beside the slanted plate. Only what the info caption and the ornament
// cover stays black (below).
TEST(SkinButtons, SongButtonsFillTheirWholeRectangle)
{
    struct Covered {
        int width, height;
    };
    const Covered covered[] = {{0, 0}, {0, 0}, {6, 8}, {26, 21}, {0, 0}};
    for (int n = 1; n <= 5; ++n)
        for (const char* look : {"up", "down", "locked"}) {
            auto button = LoadAsset("song" + std::to_string(n) + "_" + look + ".bmp");
            const Covered corner = covered[n - 1];
            for (int y = 0; y < button->Height(); ++y) {
                const int from = y < corner.height ? corner.width : 0;
                EXPECT_EQ(LitSpan(*button, y), std::make_pair(from, button->Width()))
                    << "song " << n << " " << look << ", row " << y;
            }
        }
}

// The ornament beside the fourth button is drawn over it: the fourth
// button's plate must leave that corner black.
TEST(SkinButtons, OrnamentCornerOfTheFourthButtonStaysBlack)
{
    // The ornament covers panel columns 6..63, rows 96..148; the fourth
    // button starts at column 38, row 128.
    for (const char* look : {"up", "down", "locked"}) {
        auto button = LoadAsset(std::string("song4_") + look + ".bmp");
        for (int y = 0; y < 149 - 128; ++y)
            for (int x = 0; x < 64 - 38; ++x)
                ASSERT_EQ(button->Pixmap().At(x, y), 0u) << look << " at " << x << "," << y;
    }
}
