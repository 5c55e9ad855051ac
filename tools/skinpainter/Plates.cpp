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
    m.Groove = MakeColor(6, 6, 8);
    switch (look) {
    case ButtonLook::Up:
        m.RimLit = MakeColor(255, 214, 92);
        m.RimShade = MakeColor(128, 88, 10);
        m.Face = Gloss(height, MakeColor(80, 88, 114), MakeColor(46, 51, 68), MakeColor(22, 25, 34), MakeColor(36, 40, 54));
        break;
    case ButtonLook::Down:
        m.RimLit = MakeColor(96, 66, 6);
        m.RimShade = MakeColor(236, 186, 56);
        m.Face = [height](double y) {
            return Mix(MakeColor(10, 11, 15), MakeColor(34, 38, 51), std::clamp((y - 2) / (height - 4), 0.0, 1.0));
        };
        break;
    case ButtonLook::Locked:
        m.RimLit = MakeColor(255, 248, 210);
        m.RimShade = MakeColor(214, 150, 20);
        m.Face = Gloss(height, MakeColor(176, 124, 22), MakeColor(120, 84, 12), MakeColor(70, 46, 6), MakeColor(100, 70, 10));
        break;
    }
    return m;
}

} // namespace skin
