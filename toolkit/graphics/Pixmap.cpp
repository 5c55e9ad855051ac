#include "toolkit/graphics/Pixmap.h"

#include <algorithm>
#include <unordered_map>

void TPixmap::Resize(int width, int height, TPixel fill)
{
    width = std::max(width, 0);
    height = std::max(height, 0);
    if (width == width_ && height == height_)
        return;
    if (IsCompact())
        Expand();
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
    if (IsCompact())
        Expand();
    std::fill(pixels_.begin(), pixels_.end(), value);
}

void TPixmap::Compact(const std::vector<TPixel>& palette)
{
    if (IsCompact() || palette.empty() || palette.size() > 256 || IsEmpty())
        return;
    std::unordered_map<TPixel, std::uint8_t> indexOf;
    for (std::size_t i = palette.size(); i-- > 0;)
        indexOf[palette[i]] = static_cast<std::uint8_t>(i);
    std::vector<std::uint8_t> indices(pixels_.size());
    for (std::size_t i = 0; i < pixels_.size(); ++i) {
        const auto found = indexOf.find(pixels_[i]);
        if (found == indexOf.end())
            return;
        indices[i] = found->second;
    }
    indices_ = std::move(indices);
    palette_ = palette;
    pixels_ = {};
}

void TPixmap::Expand() const
{
    pixels_.resize(indices_.size());
    for (std::size_t i = 0; i < indices_.size(); ++i)
        pixels_[i] = palette_[indices_[i]];
    indices_ = {};
    palette_ = {};
}

bool operator==(const TPixmap& a, const TPixmap& b)
{
    if (a.width_ != b.width_ || a.height_ != b.height_)
        return false;
    for (int y = 0; y < a.height_; ++y) {
        if (!std::equal(a.Row(y), a.Row(y) + a.width_, b.Row(y)))
            return false;
    }
    return true;
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
