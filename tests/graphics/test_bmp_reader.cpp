// BMP files of the kinds our own writer never makes, built byte by byte.

#include "toolkit/graphics/BmpFile.h"
#include "toolkit/graphics/Exceptions.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

namespace {

using Bytes = std::vector<unsigned char>;

// Little-endian fields of size bytes each.
Bytes Fields(std::initializer_list<std::uint32_t> values, int size = 4)
{
    Bytes out;
    for (std::uint32_t value : values)
        for (int i = 0; i < size; ++i)
            out.push_back(static_cast<unsigned char>(value >> (8 * i)));
    return out;
}

// A file of an information header of headerSize bytes (masks right after its
// first 40), then the palette and the pixels.
Bytes File(std::uint32_t headerSize, int width, int height, int bits, std::uint32_t compression, const Bytes& palette,
    const Bytes& pixels, std::uint32_t colours = 0, std::initializer_list<std::uint32_t> masks = {})
{
    Bytes header = Fields({headerSize, static_cast<std::uint32_t>(width), static_cast<std::uint32_t>(height)});
    for (const Bytes& part :
        {Fields({1, static_cast<std::uint32_t>(bits)}, 2), Fields({compression, 0, 0, 0, colours, 0}), Fields(masks)})
        header.insert(header.end(), part.begin(), part.end());
    header.resize(headerSize);
    const auto offset = static_cast<std::uint32_t>(14 + header.size() + palette.size());
    Bytes out = {'B', 'M'};
    for (const Bytes& part :
        {Fields({offset + static_cast<std::uint32_t>(pixels.size()), 0, offset}), header, palette, pixels})
        out.insert(out.end(), part.begin(), part.end());
    return out;
}

const std::vector<TPixel> colours = {MakeColor(10, 20, 30), MakeColor(200, 0, 0), MakeColor(0, 200, 0), MakeColor(0, 0, 200)};
const Bytes palette = {30, 20, 10, 0, 0, 0, 200, 0, 0, 200, 0, 0, 200, 0, 0, 0}; // blue, green, red, unused

// The pixels top row first, as letters of their palette entries ('#' black).
std::vector<std::string> Letters(const TBmpImage& image, const std::vector<TPixel>& palette = colours)
{
    std::vector<std::string> rows(image.Pixels.Height());
    for (int y = 0; y < image.Pixels.Height(); ++y) {
        for (int x = 0; x < image.Pixels.Width(); ++x) {
            const auto found = std::find(palette.begin(), palette.end(), image.Pixels.At(x, y));
            rows[y] += found != palette.end() ? static_cast<char>('a' + (found - palette.begin()))
                : image.Pixels.At(x, y) == 0  ? '#'
                                              : '?';
        }
    }
    return rows;
}

std::string Failure(const Bytes& bytes)
{
    try {
        ReadBmp(bytes, "odd.bmp");
        return "loaded";
    } catch (const EPlatformError& error) {
        return error.what();
    }
}

} // namespace

TEST(BmpReader, RunLengthsWithEveryEscape)
{
    const Bytes runs = {
        2, 1,             // two of entry 1
        0, 3, 2, 9, 3, 0, // stored one by one and padded: entry 2, past the palette, entry 3
        0, 0,             // end of line
        0, 2, 1, 1,       // one right, one row on: the middle row keeps entry 0
        9, 2,             // cut at the row's end
        0, 1,             // end of bitmap
    };
    const std::vector<std::string> bottomUp = {"acccc", "aaaaa", "bbc#d"};
    const TBmpImage image = ReadBmp(File(40, 5, 3, 8, 1, palette, runs, 4), "rle8.bmp");
    EXPECT_EQ(image.Format, TPixelFormat::pf8bit);
    EXPECT_EQ(image.Palette, colours);
    EXPECT_EQ(Letters(image), bottomUp);
    EXPECT_EQ(Letters(ReadBmp(File(40, 5, -3, 8, 1, palette, runs, 4), "rle8.bmp")),
        std::vector<std::string>(bottomUp.rbegin(), bottomUp.rend()));
    EXPECT_NE(
        Failure(File(40, 5, 3, 8, 1, palette, Bytes(runs.begin(), runs.begin() + 5), 4)).find("the pixels are cut off"),
        std::string::npos);

    // Four bits: five stored take three bytes and a pad; a run alternates its two nibbles.
    const Bytes fourBitRuns = {0, 5, 0x30, 0x12, 0x30, 0x00, 0, 0, 5, 0x12, 0, 1};
    EXPECT_EQ(Letters(ReadBmp(File(40, 5, 2, 4, 2, palette, fourBitRuns, 4), "rle4.bmp")),
        (std::vector<std::string>{"bcbcb", "dabcd"}));
}

TEST(BmpReader, ColourFieldsScaleToEightBits)
{
    // 16 bits uncompressed are 5-5-5: red 31 and blue 16 of 31.
    TBmpImage image = ReadBmp(File(40, 2, 1, 16, 0, {}, Fields({0x7FFF, 0x7C10}, 2)), "555.bmp");
    EXPECT_EQ(image.Format, TPixelFormat::pf24bit);
    EXPECT_TRUE(image.Palette.empty());
    EXPECT_EQ(image.Pixels.At(0, 0), MakeColor(255, 255, 255));
    EXPECT_EQ(image.Pixels.At(1, 0), MakeColor(255, 0, 132));

    // 5-6-5 with the masks after the 40-byte header: 1 of 31, 1 of 63, 1 of 31.
    image = ReadBmp(File(40, 2, 1, 16, 3, Fields({0xF800, 0x07E0, 0x001F}), Fields({0x07E0, 0x0821}, 2)), "565.bmp");
    EXPECT_EQ(image.Pixels.At(0, 0), MakeColor(0, 255, 0));
    EXPECT_EQ(image.Pixels.At(1, 0), MakeColor(8, 4, 8));

    // 10 bits a field in a 56-byte header, the top row first.
    image =
        ReadBmp(File(56, 1, -2, 32, 3, {}, Fields({0x3FF00000 | 512 << 10, 0x3FF}), 0, {0x3FF00000, 0xFFC00, 0x3FF, 0}),
            "10.bmp");
    EXPECT_EQ(image.Pixels.At(0, 0), MakeColor(255, 128, 0));
    EXPECT_EQ(image.Pixels.At(0, 1), MakeColor(0, 0, 255));

    // Four masks after the 40-byte header; alpha has no part in the picture.
    image =
        ReadBmp(File(40, 1, 1, 32, 6, Fields({0xFF, 0xFF00, 0xFF0000, 0xFF000000}), {0x11, 0x22, 0x33, 0x80}), "a.bmp");
    EXPECT_EQ(image.Pixels.At(0, 0), MakeColor(0x11, 0x22, 0x33));
}

TEST(BmpReader, CoreAndLongerHeadersPlaceThePalette)
{
    // The 12-byte header: 16-bit sizes, three bytes a palette entry.
    Bytes core = {'B', 'M', 0, 0, 0, 0, 0, 0, 0, 0, 32, 0, 0, 0};
    for (const Bytes& part : {Fields({12}), Fields({3, 2, 1, 1}, 2), Bytes{30, 20, 10, 0, 0, 200},
             Bytes{0b10100000, 0, 0, 0, 0b01100000, 0, 0, 0}})
        core.insert(core.end(), part.begin(), part.end());
    TBmpImage image = ReadBmp(core, "core.bmp");
    EXPECT_EQ(image.Format, TPixelFormat::pf1bit);
    EXPECT_EQ(image.Palette, (std::vector<TPixel>{colours[0], colours[1]}));
    EXPECT_EQ(Letters(image), (std::vector<std::string>{"abb", "bab"}));

    image = ReadBmp(File(124, 2, 1, 8, 0, palette, {3, 2, 0, 0}, 4, {1, 2, 3, 4}), "v5.bmp");
    EXPECT_EQ(Letters(image), (std::vector<std::string>{"dc"}));
}

TEST(BmpReader, RefusesWhatItCannotReadWithTheReason)
{
    const Bytes black = {0, 0, 0, 0};
    Bytes shortHeader = File(40, 1, 1, 24, 0, {}, black);
    shortHeader.resize(14 + 30);
    const std::pair<Bytes, const char*> cases[] = {
        {File(40, 1, 1, 24, 4, {}, {0xFF, 0xD8}), "a JPEG or PNG inside a BMP is not supported"},
        {File(40, 1, 1, 0, 5, {}, {0x89, 'P'}), "a JPEG or PNG inside a BMP is not supported"},
        {File(40, 1, 1, 24, 7, {}, black), "unsupported compression 7"},
        {File(40, 1, 1, 2, 0, {}, black), "a depth of 2 bits is not supported"},
        {File(64, 1, 1, 24, 0, {}, black), "a header of 64 bytes is not supported"},
        {shortHeader, "the header is cut off"},
        {File(40, 1, 1, 4, 1, palette, {0, 1}), "8-bit run lengths need 8 bits per pixel"},
        {File(52, 1, 1, 24, 3, {}, black, 0, {0xFF, 0xFF00, 0xFF0000}), "bit fields need 16 or 32 bits"},
        {File(52, 1, 1, 32, 3, {}, black, 0, {0xF0F, 0xF0, 0xF000}), "a colour mask is not one run of bits"},
        {File(40, 1, 1, 16, 3, {0xFF, 0, 0, 0}, {}), "the colour masks are cut off"},
        {File(40, 1, 1, 8, 0, {1, 2, 3, 0}, {}, 4), "the palette is cut off"},
    };
    for (const auto& [bytes, reason] : cases) {
        const std::string failure = Failure(bytes);
        EXPECT_EQ(failure.rfind("Cannot read the bitmap odd.bmp: ", 0), 0u) << failure;
        EXPECT_NE(failure.find(reason), std::string::npos) << failure;
    }
}
