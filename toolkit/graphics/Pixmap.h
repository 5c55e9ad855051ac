#pragma once

#include "toolkit/graphics/Color.h"
#include "toolkit/graphics/Geometry.h"

#include <vector>

// A plain block of pixels, 0x00BBGGRR each, rows top to bottom. The surface
// every canvas draws on: a bitmap's picture or a window's back buffer.
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

    TPixel* Row(int y) { return pixels_.data() + static_cast<std::size_t>(y) * width_; }
    const TPixel* Row(int y) const { return pixels_.data() + static_cast<std::size_t>(y) * width_; }
    TPixel& At(int x, int y) { return Row(y)[x]; }
    TPixel At(int x, int y) const { return Row(y)[x]; }
    TPixel* Data() { return pixels_.data(); }
    const TPixel* Data() const { return pixels_.data(); }

    friend bool operator==(const TPixmap&, const TPixmap&) = default;

private:
    int width_ = 0;
    int height_ = 0;
    std::vector<TPixel> pixels_;
};

// The area of source (clipped to it), each pixel grown to a square block of
// factor by factor pixels.
TPixmap ScaledUp(const TPixmap& source, const TRect& area, int factor);
