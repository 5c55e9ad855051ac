#pragma once

#include "toolkit/graphics/Color.h"
#include "toolkit/graphics/Geometry.h"

#include <cstdint>
#include <vector>

// A plain block of pixels, 0x00BBGGRR each, rows top to bottom. The surface
// every canvas draws on: a bitmap's picture or a window's back buffer.
//
// A picture of few colours that is only ever copied from may hold its
// pixels as indices of its palette instead, a quarter of the memory: the
// skin's pictures spend the whole run that way. Whatever asks for the
// pixels themselves (Row, At, Data) turns them back into pixels first.
class TPixmap {
public:
    TPixmap() = default;
    TPixmap(int width, int height, TPixel fill = 0) { Resize(width, height, fill); }

    int Width() const { return width_; }
    int Height() const { return height_; }
    TRect Bounds() const { return {0, 0, width_, height_}; }
    bool IsEmpty() const { return width_ == 0 || height_ == 0; }

    // Keeps the pixels that still fit; new ones take the fill colour.
    void Resize(int width, int height, TPixel fill = 0);
    void Fill(TPixel value);

    TPixel* Row(int y) { return Pixels() + static_cast<std::size_t>(y) * width_; }
    const TPixel* Row(int y) const { return Pixels() + static_cast<std::size_t>(y) * width_; }
    TPixel& At(int x, int y) { return Row(y)[x]; }
    TPixel At(int x, int y) const { return Row(y)[x]; }
    TPixel* Data() { return Pixels(); }
    const TPixel* Data() const { return Pixels(); }

    // Holds the pixels as indices of palette (at most 256 entries), when
    // every one of them is an entry of it.
    void Compact(const std::vector<TPixel>& palette);
    bool IsCompact() const { return !indices_.empty(); }
    const std::uint8_t* IndexRow(int y) const { return indices_.data() + static_cast<std::size_t>(y) * width_; }
    const std::vector<TPixel>& CompactPalette() const { return palette_; }

    friend bool operator==(const TPixmap& a, const TPixmap& b);

private:
    TPixel* Pixels() const
    {
        if (IsCompact())
            Expand();
        return pixels_.data();
    }
    void Expand() const;

    int width_ = 0;
    int height_ = 0;
    // Exactly one of the two holds the pixels (none for an empty pixmap).
    mutable std::vector<TPixel> pixels_;
    mutable std::vector<std::uint8_t> indices_;
    mutable std::vector<TPixel> palette_;
};

// The area of source (clipped to it), each pixel grown to a square block of
// factor by factor pixels.
TPixmap ScaledUp(const TPixmap& source, const TRect& area, int factor);
