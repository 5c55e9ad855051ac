#include "toolkit/graphics/BmpFile.h"

#include "toolkit/graphics/Exceptions.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstdint>
#include <stdexcept>
#include <string>

// The reading half of BMP files: the old 12-byte core header and the
// 40-byte information header with its longer versions; uncompressed pixels,
// run lengths of 8 and 4 bits, and colour bit fields. Every count and offset
// in a header is checked against the file before it is used.

namespace {

using Bytes = std::span<const unsigned char>;

constexpr std::size_t fileHeaderSize = 14;
constexpr std::size_t coreHeaderSize = 12;
constexpr std::size_t infoHeaderSize = 40;
// A skin picture is a few hundred pixels wide; these bounds (4 Mpixels are
// 16 MB as a TPixmap) are far above any of them and keep a picture of one
// pixel by millions of rows from taking seconds.
constexpr std::int64_t maxSide = 16384;
constexpr std::int64_t maxPixels = std::int64_t{1} << 22;

enum class Compression : std::uint32_t {
    None = 0,
    Rle8 = 1,
    Rle4 = 2,
    BitFields = 3,
    Jpeg = 4,
    Png = 5,
    AlphaBitFields = 6,
};

// Why the bytes can't be read; ReadBmp adds the file's name.
class BmpProblem : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

std::uint32_t LittleEndian(const unsigned char* bytes, int count)
{
    std::uint32_t value = 0;
    for (int i = count - 1; i >= 0; --i)
        value = value << 8 | bytes[i];
    return value;
}

std::uint32_t ReadLE(Bytes bytes, std::size_t offset, int count)
{
    return LittleEndian(&bytes[offset], count);
}

struct BmpHeader {
    std::size_t InfoSize = 0;
    std::uint32_t DataOffset = 0;
    std::int64_t Width = 0;
    std::int64_t Height = 0; // always positive; TopDown says which row comes first
    bool TopDown = false;
    int Bits = 0;
    Compression Kind = Compression::None;
    std::uint32_t ColoursUsed = 0;
    std::array<std::uint32_t, 3> Masks{}; // red, green, blue; only with bit fields
};

bool IsKnownInfoSize(std::size_t size)
{
    // The information header of 40 bytes and its later versions: with the
    // colour masks (52), with alpha (56), with colour spaces (108, 124).
    return size == 40 || size == 52 || size == 56 || size == 108 || size == 124;
}

BmpHeader ReadHeader(Bytes bytes)
{
    if (bytes.size() < fileHeaderSize + 4 || bytes[0] != 'B' || bytes[1] != 'M')
        throw BmpProblem("not a BMP file");
    BmpHeader header;
    header.DataOffset = ReadLE(bytes, 10, 4);
    header.InfoSize = ReadLE(bytes, 14, 4);
    if (header.InfoSize != coreHeaderSize && !IsKnownInfoSize(header.InfoSize))
        throw BmpProblem("a header of " + std::to_string(header.InfoSize) + " bytes is not supported");
    if (bytes.size() < fileHeaderSize + header.InfoSize)
        throw BmpProblem("the header is cut off");

    if (header.InfoSize == coreHeaderSize) { // 16-bit sizes, no compression, no colour count
        header.Width = ReadLE(bytes, 18, 2);
        header.Height = ReadLE(bytes, 20, 2);
        header.Bits = static_cast<int>(ReadLE(bytes, 24, 2));
        return header;
    }
    header.Width = static_cast<std::int32_t>(ReadLE(bytes, 18, 4));
    header.Height = static_cast<std::int32_t>(ReadLE(bytes, 22, 4));
    if (header.Height < 0) {
        header.Height = -header.Height;
        header.TopDown = true;
    }
    header.Bits = static_cast<int>(ReadLE(bytes, 28, 2));
    header.Kind = static_cast<Compression>(ReadLE(bytes, 30, 4));
    header.ColoursUsed = ReadLE(bytes, 46, 4);

    if (header.Kind == Compression::BitFields || header.Kind == Compression::AlphaBitFields) {
        // The longer headers hold the masks; after the 40-byte one they
        // follow it (the alpha mask too, which a picture here has no use for).
        std::size_t masksAt = fileHeaderSize + infoHeaderSize;
        if (header.InfoSize == infoHeaderSize && bytes.size() < masksAt + 12)
            throw BmpProblem("the colour masks are cut off");
        for (std::size_t i = 0; i < 3; ++i)
            header.Masks[i] = ReadLE(bytes, masksAt + 4 * i, 4);
    }
    return header;
}

void CheckFormat(const BmpHeader& header)
{
    const Compression kind = header.Kind;
    if (kind == Compression::Jpeg || kind == Compression::Png)
        throw BmpProblem("a JPEG or PNG inside a BMP is not supported");
    if (kind > Compression::AlphaBitFields)
        throw BmpProblem("unsupported compression " + std::to_string(static_cast<std::uint32_t>(kind)));
    const int bits = header.Bits;
    if (bits != 1 && bits != 4 && bits != 8 && bits != 16 && bits != 24 && bits != 32)
        throw BmpProblem("a depth of " + std::to_string(bits) + " bits is not supported");
    if (kind == Compression::Rle8 && bits != 8)
        throw BmpProblem("8-bit run lengths need 8 bits per pixel");
    if (kind == Compression::Rle4 && bits != 4)
        throw BmpProblem("4-bit run lengths need 4 bits per pixel");
    if (kind == Compression::BitFields || kind == Compression::AlphaBitFields) {
        if (bits != 16 && bits != 32)
            throw BmpProblem("colour bit fields need 16 or 32 bits per pixel");
        for (std::uint32_t mask : header.Masks) {
            // One unbroken run of bits each, so that a field reads as a number.
            std::uint64_t field = mask == 0 ? 0 : mask >> std::countr_zero(mask);
            if (!std::has_single_bit(field + 1))
                throw BmpProblem("a colour mask is not one run of bits");
        }
    }
}

TPixelFormat FormatOf(int bits)
{
    switch (bits) {
    case 1: return TPixelFormat::pf1bit;
    case 4: return TPixelFormat::pf4bit;
    case 8: return TPixelFormat::pf8bit;
    default: return TPixelFormat::pf24bit;
    }
}

// As many entries as the colour count says, at most as many as the depth
// can index; with no count, all of those.
std::vector<TPixel> ReadPalette(Bytes bytes, const BmpHeader& header)
{
    if (header.Bits > 8)
        return {};
    std::size_t count = std::size_t{1} << header.Bits;
    if (header.ColoursUsed != 0)
        count = std::min<std::size_t>(count, header.ColoursUsed);
    const std::size_t entrySize = header.InfoSize == coreHeaderSize ? 3 : 4; // blue, green, red (, unused)
    const std::size_t offset = fileHeaderSize + header.InfoSize;
    if (bytes.size() < offset + count * entrySize)
        throw BmpProblem("the palette is cut off");
    std::vector<TPixel> palette(count);
    for (std::size_t i = 0; i < count; ++i) {
        const unsigned char* entry = &bytes[offset + i * entrySize];
        palette[i] = MakeColor(entry[2], entry[1], entry[0]);
    }
    return palette;
}

// Pixel indexes past the palette's end draw black, as nothing says otherwise.
TPixel PaletteColour(const std::vector<TPixel>& palette, unsigned index)
{
    return index < palette.size() ? palette[index] : MakeColor(0, 0, 0);
}

// One colour field of a 16- or 32-bit pixel, scaled from its width to 0..255.
class ColourField {
public:
    explicit ColourField(std::uint32_t mask)
        : mask_(mask), shift_(mask == 0 ? 0 : std::countr_zero(mask)), largest_(mask >> shift_)
    {
    }

    int operator()(std::uint32_t pixel) const
    {
        if (largest_ == 0)
            return 0;
        const std::uint64_t value = (pixel & mask_) >> shift_;
        return static_cast<int>((value * 255 + largest_ / 2) / largest_);
    }

private:
    std::uint32_t mask_;
    int shift_;
    std::uint64_t largest_;
};

// Rows stored one after the other, each padded to 4 bytes.
void ReadStoredRows(Bytes pixelBytes, const BmpHeader& header, const std::vector<TPixel>& palette, TPixmap& pixels)
{
    const int width = static_cast<int>(header.Width);
    const int height = static_cast<int>(header.Height);
    const std::size_t rowBytes = (static_cast<std::size_t>(width) * header.Bits + 31) / 32 * 4;

    std::array<std::uint32_t, 3> masks = header.Masks;
    if (header.Kind == Compression::None)
        masks = header.Bits == 16 ? std::array<std::uint32_t, 3>{0x7C00, 0x03E0, 0x001F}
                                  : std::array<std::uint32_t, 3>{0xFF0000, 0x00FF00, 0x0000FF};
    const ColourField red(masks[0]), green(masks[1]), blue(masks[2]);

    for (int stored = 0; stored < height; ++stored) {
        const unsigned char* row = pixelBytes.data() + static_cast<std::size_t>(stored) * rowBytes;
        TPixel* out = pixels.Row(header.TopDown ? stored : height - 1 - stored);
        for (int x = 0; x < width; ++x) {
            switch (header.Bits) {
            case 1: out[x] = PaletteColour(palette, row[x / 8] >> (7 - x % 8) & 1); break;
            case 4: out[x] = PaletteColour(palette, row[x / 2] >> (x % 2 == 0 ? 4 : 0) & 0xF); break;
            case 8: out[x] = PaletteColour(palette, row[x]); break;
            case 24: out[x] = MakeColor(row[3 * x + 2], row[3 * x + 1], row[3 * x]); break;
            default: {
                const int size = header.Bits / 8;
                const std::uint32_t pixel = LittleEndian(row + size * x, size);
                out[x] = MakeColor(red(pixel), green(pixel), blue(pixel));
                break;
            }
            }
        }
    }
}

// Pairs of a count and a colour index (two, alternating, for 4 bits), or a
// zero and an escape: end of line, end of bitmap, a jump ahead, or a run of
// indexes stored one by one. Pixels the runs never reach keep index 0; runs
// past the end of a row are cut there.
void ReadRunLengths(Bytes data, const BmpHeader& header, const std::vector<TPixel>& palette, TPixmap& pixels)
{
    const int width = static_cast<int>(header.Width);
    const int height = static_cast<int>(header.Height);
    const bool fourBits = header.Kind == Compression::Rle4;
    pixels.Fill(PaletteColour(palette, 0));

    int x = 0;
    int row = 0; // in the order stored
    std::size_t at = 0;
    auto take = [&](std::size_t count) {
        if (data.size() - at < count)
            throw BmpProblem("the pixels are cut off");
        Bytes taken = data.subspan(at, count);
        at += count;
        return taken;
    };
    auto put = [&](unsigned index) {
        pixels.At(x, header.TopDown ? row : height - 1 - row) = PaletteColour(palette, index);
        ++x;
    };

    while (row < height) {
        Bytes pair = take(2);
        if (pair[0] != 0) {
            for (unsigned i = 0; i < pair[0] && x < width; ++i)
                put(fourBits ? (i % 2 == 0 ? pair[1] >> 4 : pair[1] & 0xF) : pair[1]);
            continue;
        }
        switch (pair[1]) {
        case 0: // end of line
            x = 0;
            ++row;
            break;
        case 1: // end of bitmap
            return;
        case 2: { // jump ahead: right, and rows on
            Bytes delta = take(2);
            x = std::min(x + delta[0], width);
            row += delta[1];
            break;
        }
        default: { // stored one by one, padded to 16 bits
            const unsigned count = pair[1];
            std::size_t size = fourBits ? (count + 1) / 2 : count;
            Bytes stored = take(size + size % 2);
            for (unsigned i = 0; i < count && x < width; ++i)
                put(fourBits ? (i % 2 == 0 ? stored[i / 2] >> 4 : stored[i / 2] & 0xF) : stored[i]);
            break;
        }
        }
    }
}

TBmpImage ReadImage(Bytes bytes)
{
    const BmpHeader header = ReadHeader(bytes);
    CheckFormat(header);

    TBmpImage image;
    image.Format = FormatOf(header.Bits);
    image.Palette = ReadPalette(bytes, header);
    if (header.Width == 0 || header.Height == 0)
        return image;
    if (header.Width < 0 || header.Width > maxSide || header.Height > maxSide ||
        header.Width * header.Height > maxPixels)
        throw BmpProblem("the picture is too large");

    // Pixels stored one by one must all be in the file before anything is
    // made for them.
    const bool runLengths = header.Kind == Compression::Rle8 || header.Kind == Compression::Rle4;
    const std::int64_t rowBytes = (header.Width * header.Bits + 31) / 32 * 4;
    const std::int64_t available = static_cast<std::int64_t>(bytes.size()) - header.DataOffset;
    if (available < 0 || (!runLengths && rowBytes * header.Height > available))
        throw BmpProblem("the pixels are cut off");

    image.Pixels.Resize(static_cast<int>(header.Width), static_cast<int>(header.Height));
    if (runLengths)
        ReadRunLengths(bytes.subspan(header.DataOffset), header, image.Palette, image.Pixels);
    else
        ReadStoredRows(bytes.subspan(header.DataOffset), header, image.Palette, image.Pixels);
    return image;
}

} // namespace

TBmpImage ReadBmp(std::span<const unsigned char> bytes, const std::string& name)
{
    try {
        return ReadImage(bytes);
    } catch (const BmpProblem& problem) {
        throw EPlatformError("Cannot read the bitmap " + name + ": " + problem.what());
    }
}
