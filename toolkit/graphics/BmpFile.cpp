#include "toolkit/graphics/BmpFile.h"

#include <algorithm>
#include <cstdint>
#include <unordered_map>

// The writing half of BMP files (BmpReader.cpp reads them): the 40-byte
// information header, bottom-up rows, no compression.

namespace {

constexpr std::size_t fileHeaderSize = 14;
constexpr std::size_t infoHeaderSize = 40;

void WriteLE(std::vector<unsigned char>& out, std::uint32_t value, int count)
{
    for (int i = 0; i < count; ++i)
        out.push_back(static_cast<unsigned char>(value >> (8 * i)));
}

int BitsOf(TPixelFormat format)
{
    switch (format) {
    case TPixelFormat::pf1bit: return 1;
    case TPixelFormat::pf4bit: return 4;
    case TPixelFormat::pf8bit: return 8;
    case TPixelFormat::pf24bit: break;
    }
    return 24;
}

} // namespace

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
            case 1: row[x / 8] |= static_cast<unsigned char>(index(in[x]) << (7 - x % 8)); break;
            case 4: row[x / 2] |= static_cast<unsigned char>(index(in[x]) << (x % 2 == 0 ? 4 : 0)); break;
            case 8: row[x] = static_cast<unsigned char>(index(in[x])); break;
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
