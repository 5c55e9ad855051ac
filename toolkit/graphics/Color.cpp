#include "toolkit/graphics/Color.h"

#include <array>

namespace {

// The classic grey desktop scheme, indexed like the system colours.
constexpr std::array<TPixel, 25> scheme = {
    MakeColor(200, 200, 200), // scroll bar
    MakeColor(0, 128, 128),   // desktop background
    MakeColor(0, 0, 128),     // active caption
    MakeColor(128, 128, 128), // inactive caption
    MakeColor(192, 192, 192), // menu
    MakeColor(255, 255, 255), // window
    MakeColor(0, 0, 0),       // window frame
    MakeColor(0, 0, 0),       // menu text
    MakeColor(0, 0, 0),       // window text
    MakeColor(255, 255, 255), // caption text
    MakeColor(192, 192, 192), // active border
    MakeColor(192, 192, 192), // inactive border
    MakeColor(128, 128, 128), // application work space
    MakeColor(0, 0, 128),     // highlight
    MakeColor(255, 255, 255), // highlight text
    MakeColor(192, 192, 192), // button face
    MakeColor(128, 128, 128), // button shadow
    MakeColor(128, 128, 128), // grey text
    MakeColor(0, 0, 0),       // button text
    MakeColor(192, 192, 192), // inactive caption text
    MakeColor(255, 255, 255), // button highlight
    MakeColor(0, 0, 0),       // 3-D dark shadow
    MakeColor(223, 223, 223), // 3-D light
    MakeColor(0, 0, 0),       // tooltip text
    MakeColor(255, 255, 225), // tooltip background
};

} // namespace

TPixel ColorToRGB(TColor color)
{
    if (color < 0) {
        auto index = static_cast<std::uint32_t>(color) & 0xFF;
        if ((static_cast<std::uint32_t>(color) & 0x7FFFFF00u) == 0 && index < scheme.size())
            return scheme[index];
        return 0;
    }
    return static_cast<TPixel>(color) & 0xFFFFFF;
}

TPixel NearestPaletteColor(TPixel pixel, const std::vector<TPixel>& palette)
{
    if (palette.empty())
        return pixel;
    TPixel best = palette.front();
    long bestDistance = -1;
    for (TPixel entry : palette) {
        long dr = GetRValue(entry) - GetRValue(pixel);
        long dg = GetGValue(entry) - GetGValue(pixel);
        long db = GetBValue(entry) - GetBValue(pixel);
        long distance = dr * dr + dg * dg + db * db;
        if (bestDistance < 0 || distance < bestDistance) {
            best = entry;
            bestDistance = distance;
            if (distance == 0)
                break;
        }
    }
    return best;
}
