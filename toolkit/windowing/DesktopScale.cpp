#include "toolkit/windowing/DesktopScale.h"

#include <algorithm>

TDesktopScale ScaleFor(std::optional<int> requested, int dotsPerInch)
{
    if (requested && TDesktopScale::Allows(*requested))
        return {*requested};
    return {std::clamp(dotsPerInch / 96, 1, TDesktopScale::MaxFactor)};
}

int LargestFittingFactor(int factor, TSize size, TSize area)
{
    while (factor > 1 && (size.Width * factor > area.Width || size.Height * factor > area.Height))
        --factor;
    return factor < 1 ? 1 : factor;
}
