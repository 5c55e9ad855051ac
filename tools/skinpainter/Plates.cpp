#include "tools/skinpainter/Plates.h"

#include "tools/skinpainter/SkinColors.h"

#include <algorithm>

namespace skin {

namespace {

// Lighter above the middle, a step down, and a little reflected light at
// the bottom.
std::function<TPixel(double)> Gloss(double height, TPixel top, TPixel middle, TPixel belowMiddle, TPixel bottom)
{
    return [=](double y) {
        double t = std::clamp((y - 2) / (height - 4), 0.0, 1.0);
        if (t < 0.5)
            return Mix(top, middle, t / 0.5);
        return Mix(belowMiddle, bottom, (t - 0.5) / 0.5);
    };
}

} // namespace

Material PlateMaterial(ButtonLook look, double height)
{
    Material m;
    m.Rim = 1.2;
    m.GrooveWidth = 1.0;
    m.Groove = RGB(6, 6, 8);
    switch (look) {
    case ButtonLook::Up:
        m.RimLit = RGB(255, 214, 92);
        m.RimShade = RGB(128, 88, 10);
        m.Face = Gloss(height, RGB(80, 88, 114), RGB(46, 51, 68), RGB(22, 25, 34), RGB(36, 40, 54));
        break;
    case ButtonLook::Down:
        m.RimLit = RGB(96, 66, 6);
        m.RimShade = RGB(236, 186, 56);
        m.Face = [height](double y) {
            return Mix(RGB(10, 11, 15), RGB(34, 38, 51), std::clamp((y - 2) / (height - 4), 0.0, 1.0));
        };
        break;
    case ButtonLook::Locked:
        m.RimLit = RGB(255, 248, 210);
        m.RimShade = RGB(214, 150, 20);
        m.Face = Gloss(height, RGB(176, 124, 22), RGB(120, 84, 12), RGB(70, 46, 6), RGB(100, 70, 10));
        break;
    }
    return m;
}

} // namespace skin
