#include "toolkit/graphics/Pixmap.h"

#include <algorithm>

void TPixmap::Resize(int width, int height, TPixel fill)
{
    width = std::max(width, 0);
    height = std::max(height, 0);
    if (width == width_ && height == height_)
        return;
    std::vector<TPixel> pixels(static_cast<std::size_t>(width) * height, fill);
    int keepWidth = std::min(width, width_);
    int keepHeight = std::min(height, height_);
    for (int y = 0; y < keepHeight; ++y)
        std::copy_n(Row(y), keepWidth, pixels.data() + static_cast<std::size_t>(y) * width);
    pixels_ = std::move(pixels);
    width_ = width;
    height_ = height;
}

void TPixmap::Fill(TPixel value)
{
    std::fill(pixels_.begin(), pixels_.end(), value);
}

TPixmap ScaledUp(const TPixmap& source, const TRect& area, int factor)
{
    const TRect visible = area.Intersect(source.Bounds());
    TPixmap scaled(visible.Width() * factor, visible.Height() * factor);
    for (int y = 0; y < visible.Height(); ++y) {
        const TPixel* from = source.Row(visible.Top + y) + visible.Left;
        TPixel* row = scaled.Row(y * factor);
        for (int x = 0; x < visible.Width(); ++x)
            std::fill_n(row + x * factor, factor, from[x]);
        for (int copy = 1; copy < factor; ++copy)
            std::copy_n(row, scaled.Width(), scaled.Row(y * factor + copy));
    }
    return scaled;
}
