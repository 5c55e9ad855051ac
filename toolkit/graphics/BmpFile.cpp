#include "toolkit/graphics/BmpFile.h"

#include "toolkit/graphics/Exceptions.h"

#include <SDL.h>

#include <algorithm>
#include <cstdint>
#include <memory>
#include <optional>
#include <unordered_map>

// SDL reads every BMP variant but keeps no record of 1- and 4-bit depths
// (it widens them to 8) and writes only 8 bits and up, so the depth comes
// from the header and writing is done here.

namespace {

constexpr std::size_t fileHeaderSize = 14;
constexpr std::size_t infoHeaderSize = 40;
// A skin picture is a few hundred pixels wide; these bounds (4 Mpixels are
// 16 MB as a TPixmap) are far above any of them and keep a picture of one
// pixel by millions of rows from taking seconds.
constexpr std::int64_t maxSide = 16384;
constexpr std::int64_t maxPixels = std::int64_t { 1 } << 22;

std::uint32_t ReadLE(std::span<const unsigned char> bytes, std::size_t offset, int count)
{
    std::uint32_t value = 0;
    for (int i = count - 1; i >= 0; --i)
        value = value << 8 | bytes[offset + i];
    return value;
}

void WriteLE(std::vector<unsigned char>& out, std::uint32_t value, int count)
{
    for (int i = 0; i < count; ++i)
        out.push_back(static_cast<unsigned char>(value >> (8 * i)));
}

int BitsOf(TPixelFormat format)
{
    switch (format) {
    case TPixelFormat::pf1bit:
        return 1;
    case TPixelFormat::pf4bit:
        return 4;
    case TPixelFormat::pf8bit:
        return 8;
    case TPixelFormat::pf24bit:
        break;
    }
    return 24;
}

TPixelFormat FormatOf(int bits)
{
    switch (bits) {
    case 1:
        return TPixelFormat::pf1bit;
    case 4:
        return TPixelFormat::pf4bit;
    case 8:
        return TPixelFormat::pf8bit;
    default:
        return TPixelFormat::pf24bit;
    }
}

// What the header says, read before SDL sees the bytes.
struct BmpHeader {
    std::uint32_t DataOffset = 0;
    std::uint32_t InfoSize = 0;
    int Width = 0;
    int Height = 0; // negative: top row first
    int Bits = 0;
    std::uint32_t Compression = 0; // 0 none, 1 and 2 run lengths, 3 and 6 bit fields
    std::uint32_t ColoursUsed = 0;
};

std::optional<BmpHeader> PeekHeader(std::span<const unsigned char> bytes)
{
    if (bytes.size() < fileHeaderSize + 12 || bytes[0] != 'B' || bytes[1] != 'M')
        return std::nullopt;
    BmpHeader header;
    header.DataOffset = ReadLE(bytes, 10, 4);
    header.InfoSize = ReadLE(bytes, 14, 4);
    if (header.InfoSize == 12) { // the old core header: 16-bit sizes, no colour count
        header.Width = static_cast<std::int16_t>(ReadLE(bytes, 18, 2));
        header.Height = static_cast<std::int16_t>(ReadLE(bytes, 20, 2));
        header.Bits = static_cast<int>(ReadLE(bytes, 24, 2));
        return header;
    }
    if (header.InfoSize < infoHeaderSize || bytes.size() < fileHeaderSize + infoHeaderSize)
        return std::nullopt;
    header.Width = static_cast<std::int32_t>(ReadLE(bytes, 18, 4));
    header.Height = static_cast<std::int32_t>(ReadLE(bytes, 22, 4));
    header.Bits = static_cast<int>(ReadLE(bytes, 28, 2));
    header.Compression = ReadLE(bytes, 30, 4);
    header.ColoursUsed = ReadLE(bytes, 46, 4);
    return header;
}

// SDL makes the whole surface before it reads a pixel, so a few bytes that
// claim a huge picture would take gigabytes: the size is checked first, and
// pixels stored one by one must all be in the file.
const char* SizeProblem(std::span<const unsigned char> bytes, const BmpHeader& header)
{
    const std::int64_t width = header.Width;
    const std::int64_t height = header.Height < 0 ? -std::int64_t { header.Height } : header.Height;
    if (width < 0 || width > maxSide || height > maxSide || width * height > maxPixels)
        return "the picture is too large";
    const bool runLengths = header.Compression == 1 || header.Compression == 2;
    const std::int64_t rowBytes = (width * header.Bits + 31) / 32 * 4;
    const std::int64_t available = static_cast<std::int64_t>(bytes.size()) - header.DataOffset;
    if (!runLengths && rowBytes * height > available)
        return "the pixels are cut off";
    return nullptr;
}

// SDL sizes the palette of a widened 1- or 4-bit file for 8 bits; only the
// entries the file's own depth can index belong to it.
std::size_t PaletteSize(const BmpHeader& header)
{
    std::size_t size = std::size_t{1} << header.Bits;
    if (header.ColoursUsed != 0)
        size = std::min<std::size_t>(size, header.ColoursUsed);
    return size;
}

// A picture without pixels, which SDL refuses; only its depth and palette.
TBmpImage ReadEmpty(std::span<const unsigned char> bytes, const BmpHeader& header)
{
    TBmpImage image;
    image.Format = FormatOf(header.Bits);
    if (image.Format == TPixelFormat::pf24bit)
        return image;
    std::size_t entrySize = header.InfoSize == 12 ? 3 : 4;
    std::size_t offset = fileHeaderSize + header.InfoSize;
    for (std::size_t i = 0; i < PaletteSize(header) && offset + entrySize <= bytes.size(); ++i, offset += entrySize)
        image.Palette.push_back(RGB(bytes[offset + 2], bytes[offset + 1], bytes[offset]));
    return image;
}

struct SurfaceDeleter {
    void operator()(SDL_Surface* surface) const { SDL_FreeSurface(surface); }
};
using SurfacePtr = std::unique_ptr<SDL_Surface, SurfaceDeleter>;

} // namespace

TBmpImage ReadBmp(std::span<const unsigned char> bytes, const std::string& name)
{
    auto fail = [&](const std::string& reason) {
        throw EPlatformError("Cannot read the bitmap " + name + ": " + reason);
    };
    std::optional<BmpHeader> header = PeekHeader(bytes);
    if (!header)
        fail("not a BMP file");
    if (header->Width == 0 || header->Height == 0)
        return ReadEmpty(bytes, *header);
    if (const char* problem = SizeProblem(bytes, *header))
        fail(problem);

    SDL_RWops* stream = SDL_RWFromConstMem(bytes.data(), static_cast<int>(bytes.size()));
    if (!stream)
        fail(SDL_GetError());
    SurfacePtr surface(SDL_LoadBMP_RW(stream, 1));
    if (!surface)
        fail(SDL_GetError());

    TBmpImage image;
    image.Format = FormatOf(header->Bits);
    if (image.Format != TPixelFormat::pf24bit) {
        if (const SDL_Palette* palette = surface->format->palette) {
            std::size_t count = std::min<std::size_t>(PaletteSize(*header), palette->ncolors);
            for (std::size_t i = 0; i < count; ++i)
                image.Palette.push_back(RGB(palette->colors[i].r, palette->colors[i].g, palette->colors[i].b));
        }
        if (image.Palette.empty())
            image.Palette = StandardPalette(image.Format);
    }

    // BGR888 stores 0x00BBGGRR in a 32-bit word, the layout of a TPixel.
    SurfacePtr converted(SDL_ConvertSurfaceFormat(surface.get(), SDL_PIXELFORMAT_BGR888, 0));
    if (!converted)
        fail(SDL_GetError());
    image.Pixels.Resize(converted->w, converted->h);
    for (int y = 0; y < converted->h; ++y) {
        const auto* row = reinterpret_cast<const std::uint32_t*>(static_cast<const unsigned char*>(converted->pixels) +
                                                                 static_cast<std::size_t>(y) * converted->pitch);
        std::transform(row, row + converted->w, image.Pixels.Row(y), [](std::uint32_t p) { return p & 0xFFFFFF; });
    }
    return image;
}

std::vector<unsigned char> WriteBmp(const TPixmap& pixels, TPixelFormat format, const std::vector<TPixel>& palette)
{
    int bits = BitsOf(format);
    std::vector<TPixel> colours;
    if (bits < 24) {
        colours = palette.empty() ? StandardPalette(format) : palette;
        colours.resize(std::min<std::size_t>(colours.size(), std::size_t{1} << bits));
    }
    std::size_t stride = ((static_cast<std::size_t>(pixels.Width()) * bits + 31) / 32) * 4;
    std::size_t dataOffset = fileHeaderSize + infoHeaderSize + 4 * colours.size();
    std::size_t imageSize = stride * pixels.Height();

    std::vector<unsigned char> out;
    out.reserve(dataOffset + imageSize);
    out.push_back('B');
    out.push_back('M');
    WriteLE(out, static_cast<std::uint32_t>(dataOffset + imageSize), 4);
    WriteLE(out, 0, 4); // reserved
    WriteLE(out, static_cast<std::uint32_t>(dataOffset), 4);
    WriteLE(out, infoHeaderSize, 4);
    WriteLE(out, static_cast<std::uint32_t>(pixels.Width()), 4);
    WriteLE(out, static_cast<std::uint32_t>(pixels.Height()), 4); // positive: bottom row first
    WriteLE(out, 1, 2);                                           // planes
    WriteLE(out, static_cast<std::uint32_t>(bits), 2);
    WriteLE(out, 0, 4); // uncompressed
    WriteLE(out, static_cast<std::uint32_t>(imageSize), 4);
    WriteLE(out, 3780, 4); // 96 pixels per inch, as pixels per metre
    WriteLE(out, 3780, 4);
    WriteLE(out, static_cast<std::uint32_t>(colours.size()), 4);
    WriteLE(out, 0, 4); // all colours important
    for (TPixel colour : colours) {
        out.push_back(static_cast<unsigned char>(GetBValue(colour)));
        out.push_back(static_cast<unsigned char>(GetGValue(colour)));
        out.push_back(static_cast<unsigned char>(GetRValue(colour)));
        out.push_back(0);
    }

    std::unordered_map<TPixel, unsigned> indexOf;
    for (std::size_t i = colours.size(); i-- > 0;)
        indexOf[colours[i]] = static_cast<unsigned>(i); // the first of equal entries wins
    auto index = [&](TPixel pixel) {
        auto found = indexOf.find(pixel);
        if (found != indexOf.end())
            return found->second;
        TPixel nearest = NearestPaletteColor(pixel, colours);
        return indexOf[pixel] = indexOf.at(nearest);
    };

    std::vector<unsigned char> row(stride);
    for (int y = pixels.Height() - 1; y >= 0; --y) {
        std::fill(row.begin(), row.end(), 0);
        const TPixel* in = pixels.Row(y);
        for (int x = 0; x < pixels.Width(); ++x) {
            switch (bits) {
            case 1:
                row[x / 8] |= static_cast<unsigned char>(index(in[x]) << (7 - x % 8));
                break;
            case 4:
                row[x / 2] |= static_cast<unsigned char>(index(in[x]) << (x % 2 == 0 ? 4 : 0));
                break;
            case 8:
                row[x] = static_cast<unsigned char>(index(in[x]));
                break;
            default:
                row[3 * x] = static_cast<unsigned char>(GetBValue(in[x]));
                row[3 * x + 1] = static_cast<unsigned char>(GetGValue(in[x]));
                row[3 * x + 2] = static_cast<unsigned char>(GetRValue(in[x]));
                break;
            }
        }
        out.insert(out.end(), row.begin(), row.end());
    }
    return out;
}
