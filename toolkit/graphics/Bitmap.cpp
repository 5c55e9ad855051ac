#include "toolkit/graphics/Bitmap.h"

#include "toolkit/graphics/BmpFile.h"
#include "toolkit/graphics/Exceptions.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>

namespace {

std::size_t MaxColours(TPixelFormat format)
{
    switch (format) {
    case TPixelFormat::pf1bit: return 2;
    case TPixelFormat::pf4bit: return 16;
    case TPixelFormat::pf8bit: return 256;
    case TPixelFormat::pf24bit: break;
    }
    return 0;
}

bool IsPaletted(TPixelFormat format)
{
    return format != TPixelFormat::pf24bit;
}

} // namespace

std::vector<TPixel> StandardPalette(TPixelFormat format)
{
    switch (format) {
    case TPixelFormat::pf1bit: return {MakeColor(0, 0, 0), MakeColor(255, 255, 255)};
    case TPixelFormat::pf4bit:
    case TPixelFormat::pf8bit: {
        std::vector<TPixel> palette = {
            MakeColor(0, 0, 0),
            MakeColor(128, 0, 0),
            MakeColor(0, 128, 0),
            MakeColor(128, 128, 0),
            MakeColor(0, 0, 128),
            MakeColor(128, 0, 128),
            MakeColor(0, 128, 128),
            MakeColor(192, 192, 192),
            MakeColor(128, 128, 128),
            MakeColor(255, 0, 0),
            MakeColor(0, 255, 0),
            MakeColor(255, 255, 0),
            MakeColor(0, 0, 255),
            MakeColor(255, 0, 255),
            MakeColor(0, 255, 255),
            MakeColor(255, 255, 255),
        };
        if (format == TPixelFormat::pf4bit)
            return palette;
        for (int r = 0; r < 6; ++r)
            for (int g = 0; g < 6; ++g)
                for (int b = 0; b < 6; ++b)
                    palette.push_back(MakeColor(51 * r, 51 * g, 51 * b));
        // 24 greys strictly between black and white fill the rest.
        for (int i = 1; i <= 24; ++i) {
            int level = (i * 255 + 12) / 25;
            palette.push_back(MakeColor(level, level, level));
        }
        return palette;
    }
    case TPixelFormat::pf24bit: break;
    }
    return {};
}

TBitmap::TBitmap()
{
    AttachCanvas();
}

TBitmap::TBitmap(int width, int height, TPixelFormat format) : pixmap_(width, height), format_(format)
{
    if (IsPaletted(format_))
        palette_ = StandardPalette(format_);
    AttachCanvas();
}

void TBitmap::AttachCanvas()
{
    // Attach resets a clip rectangle, so it runs only when the canvas is new.
    if (canvas_.Target() != &pixmap_)
        canvas_.Attach(&pixmap_);
    canvas_.palette_ = IsPaletted(format_) ? &palette_ : nullptr;
}

void TBitmap::Changed()
{
    if (OnChange)
        OnChange(this);
}

void TBitmap::SnapToPalette()
{
    if (!IsPaletted(format_) || palette_.empty())
        return;
    TPaletteSnapper snap(palette_);
    for (int y = 0; y < pixmap_.Height(); ++y) {
        TPixel* row = pixmap_.Row(y);
        std::transform(row, row + pixmap_.Width(), row, [&](TPixel pixel) { return snap(pixel); });
    }
}

void TBitmap::SetSize(int width, int height)
{
    width = std::max(width, 0);
    height = std::max(height, 0);
    if (width == Width() && height == Height())
        return;
    pixmap_.Resize(width, height, 0);
    // A palette without black gives the new pixels its darkest match.
    SnapToPalette();
    Changed();
}

void TBitmap::SetPixelFormat(TPixelFormat format)
{
    if (format == format_)
        return;
    format_ = format;
    if (!IsPaletted(format_))
        palette_.clear();
    else if (palette_.empty() || palette_.size() > MaxColours(format_))
        palette_ = StandardPalette(format_);
    SnapToPalette();
    AttachCanvas();
    Changed();
}

void TBitmap::SetPalette(std::vector<TPixel> palette)
{
    if (!IsPaletted(format_))
        throw EInvalidOperation("A 24-bit bitmap has no palette");
    if (palette.size() > MaxColours(format_))
        throw EInvalidOperation(
            FormatText("A palette of %d colours is too large for this bitmap", static_cast<int>(palette.size())));
    for (TPixel& entry : palette)
        entry &= 0xFFFFFF;
    palette_ = palette.empty() ? StandardPalette(format_) : std::move(palette);
    SnapToPalette();
    AttachCanvas();
    Changed();
}

TColor TBitmap::TransparentColor() const
{
    if (Empty())
        return clWhite;
    return static_cast<TColor>(pixmap_.At(0, Height() - 1));
}

void TBitmap::Assign(const TPersistent& source)
{
    const auto* other = dynamic_cast<const TBitmap*>(&source);
    if (!other) {
        TPersistent::Assign(source);
        return;
    }
    if (other != this) {
        pixmap_ = other->pixmap_;
        format_ = other->format_;
        palette_ = other->palette_;
        AttachCanvas();
    }
    Changed();
}

void TBitmap::Load(std::span<const unsigned char> bytes, const std::string& name)
{
    TBmpImage image = ReadBmp(bytes, name);
    pixmap_ = std::move(image.Pixels);
    format_ = image.Format;
    palette_ = std::move(image.Palette);
    // Until something draws on it, a picture of few colours keeps them as
    // indices of its palette.
    if (format_ != TPixelFormat::pf24bit)
        pixmap_.Compact(palette_);
    AttachCanvas();
    Changed();
}

void TBitmap::LoadFromMemory(std::span<const unsigned char> bytes)
{
    Load(bytes, "in memory");
}

void TBitmap::LoadFromFile(const std::string& path)
{
    std::ifstream file(path, std::ios::binary);
    if (!file)
        throw EPlatformError("Cannot open the bitmap " + path + ": " + std::strerror(errno));
    std::vector<unsigned char> bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    if (file.bad())
        throw EPlatformError("Cannot read the bitmap " + path + ": " + std::strerror(errno));
    Load(bytes, path);
}

std::vector<unsigned char> TBitmap::SaveToMemory() const
{
    return WriteBmp(pixmap_, format_, palette_);
}

void TBitmap::SaveToFile(const std::string& path) const
{
    std::vector<unsigned char> bytes = SaveToMemory();
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (!file)
        throw EPlatformError("Cannot write the bitmap " + path + ": " + std::strerror(errno));
    bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    int writeError = errno;
    if (std::fclose(file) != 0 && written) {
        written = false;
        writeError = errno;
    }
    if (!written)
        throw EPlatformError("Cannot write the bitmap " + path + ": " + std::strerror(writeError));
}
