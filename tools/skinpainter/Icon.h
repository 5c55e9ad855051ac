#pragma once

#include "toolkit/graphics/Pixmap.h"

#include <cstdint>
#include <vector>

namespace skin {

// A picture with a coverage of its own for each pixel (0 clear to 255 whole).
struct IconPicture {
    TPixmap Colour;
    std::vector<std::uint8_t> Coverage;
};

// The program's icon, size by size pixels: the disc of the ornament, seen
// whole on a clear ground, with a clear spindle hole. Painted four times
// larger and averaged down, so its edges are smooth at any size.
IconPicture PaintIcon(int size);

} // namespace skin
