#include "toolkit/graphics/Bitmap.h"
#include "toolkit/graphics/Canvas.h"

#include <algorithm>
#include <vector>

// Copies between surfaces with the raster operations of TCopyMode.

namespace {

TPixel Combine(TCopyMode mode, TPixel source, TPixel destination)
{
    switch (mode) {
    case TCopyMode::cmSrcCopy: return source;
    case TCopyMode::cmSrcAnd: return destination & source;
    case TCopyMode::cmSrcPaint: return destination | source;
    case TCopyMode::cmNotSrcCopy: return ~source & 0xFFFFFF;
    case TCopyMode::cmSrcInvert: return destination ^ source;
    }
    return source;
}

// Nearest-pixel stretch: destination index i of count samples source index
// of sourceCount at the centre of its pixel (identity when counts match).
int SourceIndex(int i, int count, int sourceCount)
{
    return static_cast<int>((2LL * i + 1) * sourceCount / (2LL * count));
}

} // namespace

void TCanvas::CopyRect(const TRect& dest, const TCanvas& source, const TRect& sourceRect)
{
    if (!source.target_)
        return;
    TRect readable = source.target_->Bounds();
    if (source.bounds_)
        readable = readable.Intersect(*source.bounds_);
    CopyPixels(dest, *source.target_, sourceRect.Offset(source.origin_), readable, std::nullopt);
}

void TCanvas::Draw(int x, int y, const TBitmap& picture)
{
    const TPixmap& pixels = picture.Pixmap();
    CopyPixels(TRect::FromBounds(x, y, pixels.Width(), pixels.Height()), pixels, pixels.Bounds(), pixels.Bounds(),
        std::nullopt);
}

void TCanvas::DrawTransparent(int x, int y, const TBitmap& picture, TColor transparent)
{
    const TPixmap& pixels = picture.Pixmap();
    CopyPixels(TRect::FromBounds(x, y, pixels.Width(), pixels.Height()), pixels, pixels.Bounds(), pixels.Bounds(),
        ColorToRGB(transparent));
}

void TCanvas::CopyPixels(const TRect& dest, const TPixmap& source, const TRect& sourceRect, const TRect& readable,
    std::optional<TPixel> skip)
{
    if (!target_ || dest.Width() == 0 || dest.Height() == 0 || sourceRect.Width() == 0 || sourceRect.Height() == 0)
        return;

    // A negative extent on one side only mirrors the picture along that axis.
    bool flipX = (dest.Width() < 0) != (sourceRect.Width() < 0);
    bool flipY = (dest.Height() < 0) != (sourceRect.Height() < 0);
    TRect to{std::min(dest.Left, dest.Right), std::min(dest.Top, dest.Bottom), std::max(dest.Left, dest.Right),
        std::max(dest.Top, dest.Bottom)};
    TRect from{std::min(sourceRect.Left, sourceRect.Right), std::min(sourceRect.Top, sourceRect.Bottom),
        std::max(sourceRect.Left, sourceRect.Right), std::max(sourceRect.Top, sourceRect.Bottom)};
    to = to.Offset(origin_);
    TRect area = to.Intersect(DeviceClip());
    if (area.IsEmpty())
        return;

    // Copying within one surface reads from a snapshot, so overlapping
    // rectangles copy what was there before.
    TPixmap snapshot;
    const TPixmap* pixels = &source;
    if (&source == target_) {
        snapshot = source;
        pixels = &snapshot;
    }

    std::optional<TPaletteSnapper> snap;
    if (palette_)
        snap.emplace(*palette_);

    std::vector<int> columns; // source column of each destination column, or -1
    for (int x = area.Left; x < area.Right; ++x) {
        int column = SourceIndex(x - to.Left, to.Width(), from.Width());
        int sx = from.Left + (flipX ? from.Width() - 1 - column : column);
        columns.push_back(sx >= readable.Left && sx < readable.Right ? sx : -1);
    }
    for (int y = area.Top; y < area.Bottom; ++y) {
        int row = SourceIndex(y - to.Top, to.Height(), from.Height());
        int sy = from.Top + (flipY ? from.Height() - 1 - row : row);
        if (sy < readable.Top || sy >= readable.Bottom)
            continue;
        // A compact picture is read through its palette, never expanded.
        const bool compact = pixels->IsCompact();
        const TPixel* in = compact ? nullptr : pixels->Row(sy);
        const std::uint8_t* indices = compact ? pixels->IndexRow(sy) : nullptr;
        const TPixel* palette = compact ? pixels->CompactPalette().data() : nullptr;
        TPixel* out = target_->Row(y);
        for (int x = area.Left; x < area.Right; ++x) {
            int sx = columns[x - area.Left];
            if (sx < 0)
                continue;
            TPixel pixel = (compact ? palette[indices[sx]] : in[sx]) & 0xFFFFFF;
            if (skip && pixel == *skip)
                continue;
            pixel = Combine(CopyMode, pixel, out[x]) & 0xFFFFFF;
            out[x] = snap ? (*snap)(pixel) : pixel;
        }
    }
}
