#pragma once

#include "toolkit/graphics/Canvas.h"
#include "toolkit/graphics/Object.h"
#include "toolkit/graphics/Pixmap.h"

#include <cstdint>
#include <span>
#include <string>
#include <vector>

enum class TPixelFormat : std::uint8_t { pf1bit, pf4bit, pf8bit, pf24bit };

// A picture with a canvas. Below 24 bits it has a palette: the pixels it
// holds are always entries of that palette, and colours drawn on it snap to
// the nearest entry. Reads and writes BMP files of 1, 4, 8 and 24 bits.
class TBitmap : public TPersistent {
public:
    TBitmap();
    TBitmap(int width, int height, TPixelFormat format = TPixelFormat::pf24bit);
    const char* ClassName() const override { return "TBitmap"; }

    int Width() const { return pixmap_.Width(); }
    int Height() const { return pixmap_.Height(); }
    void SetWidth(int width) { SetSize(width, Height()); }
    void SetHeight(int height) { SetSize(Width(), height); }
    // Keeps the pixels that still fit; new ones are black.
    void SetSize(int width, int height);
    bool Empty() const { return pixmap_.IsEmpty(); }

    TPixelFormat PixelFormat() const { return format_; }
    // Going below 24 bits without a palette (or with one too large for the
    // new depth) gives the standard palette of that depth; the pixels snap
    // to it. Going to 24 bits drops the palette.
    void SetPixelFormat(TPixelFormat format);
    const std::vector<TPixel>& Palette() const { return palette_; }
    // For paletted formats; the pixels snap to the new palette. An empty
    // palette gives the standard one. Raises EInvalidOperation on a 24-bit
    // bitmap or with more entries than the depth can index.
    void SetPalette(std::vector<TPixel> palette);

    TCanvas& Canvas() { return canvas_; }
    const TCanvas& Canvas() const { return canvas_; }
    TPixmap& Pixmap() { return pixmap_; }
    const TPixmap& Pixmap() const { return pixmap_; }

    // The colour of the bottom-left pixel: glyph buttons draw it transparent.
    // An empty picture answers clWhite, so that black, the commonest colour
    // of a picture, is not taken for the transparent one.
    TColor TransparentColor() const;

    // Throw EPlatformError with the reason when a file can't be read or written.
    void LoadFromFile(const std::string& path);
    void LoadFromMemory(std::span<const unsigned char> bytes);
    void SaveToFile(const std::string& path) const;
    std::vector<unsigned char> SaveToMemory() const;

    // A deep copy of another TBitmap (an empty one empties this); raises
    // OnChange once.
    void Assign(const TPersistent& source) override;

    // Raised after Assign, SetSize, SetPixelFormat, SetPalette and loading.
    TNotifyEvent OnChange;

private:
    void Changed();
    void SnapToPalette();
    // Points the canvas at the pixels and, below 24 bits, the palette.
    void AttachCanvas();
    // name goes into the error message.
    void Load(std::span<const unsigned char> bytes, const std::string& name);

    TPixmap pixmap_;
    TPixelFormat format_ = TPixelFormat::pf24bit;
    std::vector<TPixel> palette_;
    TCanvas canvas_;
};

// The standard palette of a depth: black and white; the 16 classic colours;
// those 16, a 6 by 6 by 6 colour cube and a grey ramp (256 in all).
std::vector<TPixel> StandardPalette(TPixelFormat format);
