#include "toolkit/graphics/Canvas.h"

#include <algorithm>

// Target, clipping and the pixel primitives every drawing operation builds on.

void TCanvas::Attach(TPixmap* target, TPoint origin, std::optional<TRect> bounds)
{
    target_ = target;
    origin_ = origin;
    bounds_ = bounds;
    clip_.reset();
}

void TCanvas::SetClipRect(const TRect& r)
{
    clip_ = r.Offset(origin_);
}

void TCanvas::ResetClip()
{
    clip_.reset();
}

TRect TCanvas::DeviceClip() const
{
    if (!target_)
        return {};
    TRect area = target_->Bounds();
    if (bounds_)
        area = area.Intersect(*bounds_);
    if (clip_)
        area = area.Intersect(*clip_);
    return area;
}

TRect TCanvas::ClipRect() const
{
    TRect device = DeviceClip();
    if (device.IsEmpty())
        return {};
    return device.Offset(-origin_.X, -origin_.Y);
}

void TCanvas::PutPixel(int x, int y, TPixel pixel)
{
    TPoint p{x + origin_.X, y + origin_.Y};
    if (!DeviceClip().Contains(p))
        return;
    target_->At(p.X, p.Y) = palette_ ? NearestPaletteColor(pixel, *palette_) : pixel;
}

void TCanvas::FillDeviceSpan(int y, int x0, int x1, TPixel pixel)
{
    TRect clip = DeviceClip();
    if (y < clip.Top || y >= clip.Bottom)
        return;
    x0 = std::max(x0, clip.Left);
    x1 = std::min(x1, clip.Right);
    if (x0 >= x1)
        return;
    if (palette_)
        pixel = NearestPaletteColor(pixel, *palette_);
    std::fill(target_->Row(y) + x0, target_->Row(y) + x1, pixel);
}

TColor TCanvas::Pixel(int x, int y) const
{
    TPoint p{x + origin_.X, y + origin_.Y};
    if (!DeviceClip().Contains(p))
        return -1;
    return static_cast<TColor>(target_->At(p.X, p.Y));
}

void TCanvas::SetPixel(int x, int y, TColor color)
{
    PutPixel(x, y, ColorToRGB(color));
}

void TCanvas::FillRect(const TRect& r)
{
    if (Brush.Style == TBrushStyle::bsClear)
        return;
    TRect device = r.Offset(origin_).Intersect(DeviceClip());
    TPixel pixel = ColorToRGB(Brush.Color);
    for (int y = device.Top; y < device.Bottom; ++y)
        FillDeviceSpan(y, device.Left, device.Right, pixel);
}

TPaletteSnapper::TPaletteSnapper(const std::vector<TPixel>& palette)
    : palette_(palette), sorted_(palette), keys_(slots, 0xFFFFFFFFu),
      values_(slots) // no 24-bit pixel matches the empty key
{
    std::sort(sorted_.begin(), sorted_.end());
}

TPixel TPaletteSnapper::operator()(TPixel pixel)
{
    std::size_t slot = ((pixel * 2654435761u) >> 20) % slots;
    if (keys_[slot] != pixel) {
        keys_[slot] = pixel;
        bool entry = palette_.empty() || std::binary_search(sorted_.begin(), sorted_.end(), pixel);
        values_[slot] = entry ? pixel : NearestPaletteColor(pixel, palette_);
    }
    return values_[slot];
}

TCanvasSaver::TCanvasSaver(TCanvas& canvas)
    : canvas_(canvas), clip_(canvas.clip_), pen_(canvas.Pen), brush_(canvas.Brush), copyMode_(canvas.CopyMode)
{
    font_.Assign(canvas.Font());
}

TCanvasSaver::~TCanvasSaver()
{
    canvas_.clip_ = clip_;
    canvas_.Pen = pen_;
    canvas_.Brush = brush_;
    canvas_.CopyMode = copyMode_;
    canvas_.Font().Assign(font_);
}
