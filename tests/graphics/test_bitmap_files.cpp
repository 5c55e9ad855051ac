#include "toolkit/graphics/Bitmap.h"
#include "toolkit/graphics/Exceptions.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

namespace {

std::uint32_t ReadLE(const std::vector<unsigned char>& bytes, std::size_t offset, int count)
{
    std::uint32_t value = 0;
    for (int i = count - 1; i >= 0; --i)
        value = value << 8 | bytes[offset + i];
    return value;
}

// Every pixel a different palette entry, so a wrong index or nibble order shows.
void PaintPicture(TBitmap& picture, std::vector<TPixel> palette)
{
    TPixelFormat format = picture.PixelFormat();
    if (!palette.empty())
        picture.SetPalette(palette);
    for (int y = 0; y < picture.Height(); ++y) {
        for (int x = 0; x < picture.Width(); ++x) {
            TPixel colour = format == TPixelFormat::pf24bit
                ? MakeColor(x * 19, y * 51, (x * y * 7) & 0xFF)
                : picture.Palette()[(x * 3 + y * 5) % picture.Palette().size()];
            picture.Canvas().SetPixel(x, y, static_cast<TColor>(colour));
        }
    }
}

void ExpectSame(const TBitmap& loaded, const TBitmap& original)
{
    EXPECT_EQ(loaded.Width(), original.Width());
    EXPECT_EQ(loaded.Height(), original.Height());
    EXPECT_EQ(loaded.PixelFormat(), original.PixelFormat());
    EXPECT_EQ(loaded.Palette(), original.Palette());
    EXPECT_EQ(loaded.Pixmap(), original.Pixmap());
}

std::vector<TPixel> Ramp(int count)
{
    std::vector<TPixel> palette;
    for (int i = 0; i < count; ++i)
        palette.push_back(MakeColor(i * 13, 255 - i * 11, (i * 37) & 0xFF));
    return palette;
}

struct DepthCase {
    TPixelFormat Format;
    std::vector<TPixel> Palette;
    int Bits;
    std::size_t FileSize;
};

} // namespace

TEST(BitmapFiles, RoundTripAtEveryDepth)
{
    // Rows are padded to 4 bytes: 13 pixels take 4, 8, 16 and 40 bytes.
    const DepthCase cases[] = {
        {TPixelFormat::pf1bit, {MakeColor(0, 0, 128), MakeColor(255, 255, 0)}, 1, 14 + 40 + 2 * 4 + 5 * 4},
        {TPixelFormat::pf4bit, Ramp(16), 4, 14 + 40 + 16 * 4 + 5 * 8},
        {TPixelFormat::pf8bit, Ramp(20), 8, 14 + 40 + 20 * 4 + 5 * 16},
        {TPixelFormat::pf24bit, {}, 24, 14 + 40 + 5 * 40},
    };
    for (const DepthCase& c : cases) {
        SCOPED_TRACE(c.Bits);
        TBitmap original(13, 5, c.Format);
        PaintPicture(original, c.Palette);
        std::vector<unsigned char> bytes = original.SaveToMemory();
        ASSERT_EQ(bytes.size(), c.FileSize);
        EXPECT_EQ(ReadLE(bytes, 2, 4), c.FileSize);
        EXPECT_EQ(ReadLE(bytes, 28, 2), static_cast<std::uint32_t>(c.Bits));
        EXPECT_EQ(ReadLE(bytes, 46, 4), c.Palette.size());

        TBitmap loaded;
        int changes = 0;
        loaded.OnChange = [&](TObject*) { ++changes; };
        loaded.LoadFromMemory(bytes);
        EXPECT_EQ(changes, 1);
        ExpectSame(loaded, original);

        std::string path = testing::TempDir() + "velmora_round_trip_" + std::to_string(c.Bits) + ".bmp";
        original.SaveToFile(path);
        TBitmap fromFile;
        fromFile.LoadFromFile(path);
        ExpectSame(fromFile, original);
        std::remove(path.c_str());
    }
}

TEST(BitmapFiles, StandardPaletteRoundTrip)
{
    TBitmap original(13, 5, TPixelFormat::pf8bit);
    PaintPicture(original, {});
    TBitmap loaded;
    loaded.LoadFromMemory(original.SaveToMemory());
    ExpectSame(loaded, original);
    EXPECT_EQ(loaded.Palette().size(), 256u);
}

TEST(BitmapFiles, FourBitFileWithoutAColourCountKeepsSixteenColours)
{
    TBitmap original(13, 5, TPixelFormat::pf4bit);
    PaintPicture(original, Ramp(16));
    std::vector<unsigned char> bytes = original.SaveToMemory();
    for (int i = 0; i < 4; ++i)
        bytes[46 + i] = 0; // "as many colours as the depth allows"
    TBitmap loaded;
    loaded.LoadFromMemory(bytes);
    ExpectSame(loaded, original);
}

TEST(BitmapFiles, ThirtyTwoBitFilesLoadAsTwentyFourBits)
{
    std::vector<unsigned char> bytes = {'B', 'M', 62, 0, 0, 0, 0, 0, 0, 0, 54, 0, 0, 0, // file header
        40, 0, 0, 0, 2, 0, 0, 0, 1, 0, 0, 0, 1, 0, 32, 0, 0, 0, 0, 0, 8, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,
        0, 0, 0,
        // blue, green, red, unused
        0x30, 0x20, 0x10, 0, 0xFF, 0x00, 0x80, 0};
    TBitmap loaded;
    loaded.LoadFromMemory(bytes);
    EXPECT_EQ(loaded.PixelFormat(), TPixelFormat::pf24bit);
    EXPECT_EQ(loaded.Width(), 2);
    EXPECT_EQ(loaded.Height(), 1);
    EXPECT_EQ(loaded.Canvas().Pixel(0, 0), static_cast<TColor>(MakeColor(0x10, 0x20, 0x30)));
    EXPECT_EQ(loaded.Canvas().Pixel(1, 0), static_cast<TColor>(MakeColor(0x80, 0x00, 0xFF)));
}

TEST(BitmapFiles, EmptyPictureRoundTrip)
{
    TBitmap original(0, 0, TPixelFormat::pf4bit);
    TBitmap loaded(3, 3);
    loaded.LoadFromMemory(original.SaveToMemory());
    EXPECT_TRUE(loaded.Empty());
    EXPECT_EQ(loaded.PixelFormat(), TPixelFormat::pf4bit);
    EXPECT_EQ(loaded.Palette(), original.Palette());
}

TEST(BitmapFiles, BadBytesAndPathsRaiseWithTheReason)
{
    TBitmap picture(2, 2);
    std::vector<unsigned char> junk = {'h', 'e', 'l', 'l', 'o'};
    try {
        picture.LoadFromMemory(junk);
        FAIL() << "junk loaded";
    } catch (const EPlatformError& error) {
        EXPECT_NE(std::string(error.what()).find("not a BMP file"), std::string::npos) << error.what();
    }
    EXPECT_EQ(picture.Width(), 2) << "a failed load leaves the picture alone";

    TBitmap eightBits(13, 5, TPixelFormat::pf8bit);
    PaintPicture(eightBits, {});
    std::vector<unsigned char> bytes = eightBits.SaveToMemory();
    bytes.resize(bytes.size() - 30);
    EXPECT_THROW(picture.LoadFromMemory(bytes), EPlatformError);

    // A header that claims more than the file holds is refused before
    // anything is made for its pixels.
    const auto claim = [&](std::uint32_t width, std::uint32_t height) {
        for (int i = 0; i < 4; ++i) {
            bytes[18 + i] = static_cast<unsigned char>(width >> (8 * i));
            bytes[22 + i] = static_cast<unsigned char>(height >> (8 * i));
        }
        try {
            picture.LoadFromMemory(bytes);
            return std::string("loaded");
        } catch (const EPlatformError& error) {
            return std::string(error.what());
        }
    };
    EXPECT_NE(claim(2000, 2000).find("the pixels are cut off"), std::string::npos);
    EXPECT_NE(claim(30000, static_cast<std::uint32_t>(-30000)).find("the picture is too large"), std::string::npos);
    EXPECT_NE(claim(0x280000, 0xD100).find("the picture is too large"), std::string::npos);
    EXPECT_NE(claim(1, static_cast<std::uint32_t>(-16646144)).find("the picture is too large"), std::string::npos);

    const std::string missing = testing::TempDir() + "velmora_no_such_picture.bmp";
    try {
        picture.LoadFromFile(missing);
        FAIL() << "a missing file loaded";
    } catch (const EPlatformError& error) {
        std::string text = error.what();
        EXPECT_NE(text.find(missing), std::string::npos) << text;
        EXPECT_NE(text.find("No such file"), std::string::npos) << text;
    }

    const std::string unwritable = testing::TempDir() + "velmora_no_such_folder/picture.bmp";
    try {
        picture.SaveToFile(unwritable);
        FAIL() << "wrote into a missing folder";
    } catch (const EPlatformError& error) {
        EXPECT_NE(std::string(error.what()).find(unwritable), std::string::npos) << error.what();
    }
}
