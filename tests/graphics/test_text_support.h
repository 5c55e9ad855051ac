#pragma once

#include "toolkit/graphics/Canvas.h"

#include <string>

// A white surface with a canvas in black text of a chosen font, and the
// bounding box of what was drawn on it.
struct TTextSurface {
    TPixmap Pixels;
    TCanvas Canvas;

    TTextSurface(int width, int height, const std::string& face = "Arial", int fontHeight = -16, TFontStyles style = 0)
        : Pixels(width, height, MakeColor(255, 255, 255)), Canvas(Pixels)
    {
        Canvas.Font().SetName(face);
        Canvas.Font().SetHeight(fontHeight);
        Canvas.Font().SetStyle(style);
        Canvas.Font().SetColor(clBlack);
        Canvas.Brush.Style = TBrushStyle::bsClear;
    }

    // The smallest rectangle holding every pixel that is no longer white.
    TRect Ink() const { return InkOf(Pixels); }

    static TRect InkOf(const TPixmap& pixels, TPixel background = MakeColor(255, 255, 255))
    {
        TRect box;
        for (int y = 0; y < pixels.Height(); ++y)
            for (int x = 0; x < pixels.Width(); ++x)
                if (pixels.At(x, y) != background)
                    box = box.Union({x, y, x + 1, y + 1});
        return box;
    }

    // Whether any pixel of row y, columns x0..x1-1, was drawn on.
    bool RowHasInk(int y, int x0, int x1) const
    {
        for (int x = x0; x < x1; ++x)
            if (Pixels.At(x, y) != MakeColor(255, 255, 255))
                return true;
        return false;
    }
};
