#pragma once

#include "toolkit/graphics/Bitmap.h"
#include "toolkit/graphics/Pixmap.h"

#include <span>
#include <string>
#include <vector>

// A picture as a BMP file holds it: the pixels, the depth it was stored
// with and, below 24 bits, its palette.
struct TBmpImage {
    TPixmap Pixels;
    TPixelFormat Format = TPixelFormat::pf24bit;
    std::vector<TPixel> Palette;
};

// Reads a BMP file of 1, 4, 8, 16, 24 or 32 bits, RLE included; depths
// above 8 give pf24bit, each colour field of 16 and 32 bits scaled to
// 0..255. Pixels that run lengths skip take palette entry 0; an index past
// the palette's end reads as black. name only goes into the error message.
// Throws EPlatformError with the reason when the bytes are no BMP file or
// one of a kind not read here (JPEG or PNG inside, other compressions).
TBmpImage ReadBmp(std::span<const unsigned char> bytes, const std::string& name);

// Writes an uncompressed, bottom-up BMP file of the format's depth. Below 24
// bits the pixels are stored as indexes into palette (the standard palette
// when it is empty); a pixel not in it takes the nearest entry.
std::vector<unsigned char> WriteBmp(const TPixmap& pixels, TPixelFormat format, const std::vector<TPixel>& palette);
