#include "toolkit/windowing/WorkArea.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>

#include <vector>

namespace {

// A property of the root window made of 32-bit numbers; empty when unset.
std::vector<long> RootCardinals(Display* display, const char* name)
{
    const Atom property = XInternAtom(display, name, True);
    if (property == None)
        return {};
    Atom type = None;
    int format = 0;
    unsigned long count = 0;
    unsigned long remaining = 0;
    unsigned char* data = nullptr;
    std::vector<long> values;
    // A desktop count in the hundreds is more than any window manager keeps.
    constexpr long maxLongs = 4 * 256;
    if (XGetWindowProperty(display, DefaultRootWindow(display), property, 0, maxLongs, False, XA_CARDINAL, &type,
            &format, &count, &remaining, &data) == Success &&
        type == XA_CARDINAL && format == 32) {
        // Xlib hands 32-bit items over as longs.
        const auto* items = reinterpret_cast<const long*>(data);
        values.assign(items, items + count);
    }
    if (data)
        XFree(data);
    return values;
}

} // namespace

std::optional<TRect> ScreenWorkArea()
{
    Display* display = XOpenDisplay(nullptr);
    if (!display)
        return std::nullopt;
    const int screen = DefaultScreen(display);
    TRect area{0, 0, DisplayWidth(display, screen), DisplayHeight(display, screen)};
    const std::vector<long> current = RootCardinals(display, "_NET_CURRENT_DESKTOP");
    const std::vector<long> areas = RootCardinals(display, "_NET_WORKAREA");
    std::size_t desktop = current.empty() ? 0 : static_cast<std::size_t>(current[0]);
    if (desktop >= areas.size() / 4)
        desktop = 0;
    if (areas.size() >= 4) {
        const long* free = &areas[4 * desktop];
        const TRect given = TRect::FromBounds(
            static_cast<int>(free[0]), static_cast<int>(free[1]), static_cast<int>(free[2]), static_cast<int>(free[3]));
        // A work area of nothing is a window manager's slip, not a screen.
        if (const TRect within = area.Intersect(given); within.Width() > 0 && within.Height() > 0)
            area = within;
    }
    XCloseDisplay(display);
    return area;
}

int LargestFittingFactor(int factor, TSize size, TSize area)
{
    while (factor > 1 && (size.Width * factor > area.Width || size.Height * factor > area.Height))
        --factor;
    return factor < 1 ? 1 : factor;
}
