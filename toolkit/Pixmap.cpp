#include "toolkit/Pixmap.h"

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
