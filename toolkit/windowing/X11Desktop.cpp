#include "toolkit/windowing/X11Desktop.h"

#include "toolkit/windowing/SdlDesktop.h"

#include <SDL_syswm.h>
#include <X11/Xatom.h>

#include <algorithm>
#include <bit>
#include <charconv>
#include <map>
#include <vector>

std::optional<int> XftDpiOf(std::string_view resources)
{
    constexpr std::string_view key = "Xft.dpi:";
    for (std::size_t start = 0; start < resources.size();) {
        std::size_t end = std::min(resources.find('\n', start), resources.size());
        std::string_view line = resources.substr(start, end - start);
        start = end + 1;
        if (!line.starts_with(key))
            continue;
        line.remove_prefix(key.size());
        line.remove_prefix(std::min(line.find_first_not_of(" \t"), line.size()));
        // Some desktops write the setting with a fraction: 192.0.
        double dpi = 0;
        auto [stop, error] = std::from_chars(line.data(), line.data() + line.size(), dpi);
        if (error == std::errc{} && dpi > 0 && dpi < 10000)
            return static_cast<int>(dpi + 0.5);
    }
    return std::nullopt;
}

namespace {

constexpr long netWmStateRemove = 0;
constexpr long netWmStateAdd = 1;
constexpr long xdndVersion = 5;

XErrorHandler previousXErrorHandler = nullptr;

// SDL wakes its event wait by sending an event to a window; when that window
// was just destroyed the server answers BadWindow, which Xlib's default
// handler would turn into the end of the process.
int IgnoreWakeUpToClosedWindow(Display* display, XErrorEvent* error)
{
    constexpr unsigned char sendEventRequest = 25;
    if (error->error_code == BadWindow && error->request_code == sendEventRequest)
        return 0;
    return previousXErrorHandler ? previousXErrorHandler(display, error) : 0;
}

struct TX11Window {
    Display* Connection = nullptr; // owned by SDL
    Window Id = 0;
};

TX11Window X11WindowOf(SDL_Window* window)
{
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    if (!SDL_GetWindowWMInfo(window, &info) || info.subsystem != SDL_SYSWM_X11)
        return {};
    return {info.info.x11.display, info.info.x11.window};
}

Atom AtomOf(Display* display, const char* name)
{
    return XInternAtom(display, name, False);
}

bool IsMapped(Display* display, Window window)
{
    XWindowAttributes attributes;
    return XGetWindowAttributes(display, window, &attributes) && attributes.map_state != IsUnmapped;
}

// A property of 32-bit items of the given type, at most maxItems of them,
// which Xlib hands over as longs; empty when unset or of another type.
std::vector<long> PropertyItems(Display* display, Window window, Atom property, Atom type, long maxItems)
{
    Atom actualType = None;
    int format = 0;
    unsigned long count = 0;
    unsigned long remaining = 0;
    unsigned char* data = nullptr;
    std::vector<long> items;
    if (XGetWindowProperty(display, window, property, 0, maxItems, False, type, &actualType, &format, &count,
            &remaining, &data) == Success &&
        actualType == type && format == 32) {
        const auto* first = reinterpret_cast<const long*>(data);
        items.assign(first, first + count);
    }
    if (data)
        XFree(data);
    return items;
}

// The modal state goes into the window's _NET_WM_STATE before it is mapped;
// once mapped, only the window manager may change it, on request.
void SetModalState(Display* display, Window window, bool modal)
{
    Atom state = AtomOf(display, "_NET_WM_STATE");
    Atom modalState = AtomOf(display, "_NET_WM_STATE_MODAL");
    if (IsMapped(display, window)) {
        XEvent request{};
        request.xclient.type = ClientMessage;
        request.xclient.window = window;
        request.xclient.message_type = state;
        request.xclient.format = 32;
        request.xclient.data.l[0] = modal ? netWmStateAdd : netWmStateRemove;
        request.xclient.data.l[1] = static_cast<long>(modalState);
        XSendEvent(
            display, DefaultRootWindow(display), False, SubstructureNotifyMask | SubstructureRedirectMask, &request);
        return;
    }
    std::vector<long> states = PropertyItems(display, window, state, XA_ATOM, 64);
    std::erase(states, static_cast<long>(modalState));
    if (modal)
        states.push_back(static_cast<long>(modalState));
    XChangeProperty(display, window, state, XA_ATOM, 32, PropModeReplace,
        reinterpret_cast<const unsigned char*>(states.data()), static_cast<int>(states.size()));
}

void SetWindowType(Display* display, Window window, const char* typeName)
{
    Atom type = AtomOf(display, typeName);
    XChangeProperty(display, window, AtomOf(display, "_NET_WM_WINDOW_TYPE"), XA_ATOM, 32, PropModeReplace,
        reinterpret_cast<const unsigned char*>(&type), 1);
}

// A property of the root window made of 32-bit numbers; empty when unset.
std::vector<long> RootCardinals(Display* display, const char* name)
{
    const Atom property = XInternAtom(display, name, True);
    if (property == None)
        return {};
    // A desktop count in the hundreds is more than any window manager keeps.
    constexpr long maxItems = 4 * 256;
    return PropertyItems(display, DefaultRootWindow(display), property, XA_CARDINAL, maxItems);
}

// X11 under SDL: the window manager's work area, the desktop's Xft.dpi,
// the pointer from the X events themselves, and what SDL doesn't offer per
// window: refusing drops, and the modal-dialog state.
class TX11Desktop final : public TSdlDesktop {
public:
    TX11Desktop()
    {
        // SDL's own window surface over shared memory: no GL context and
        // its memory at all.
        SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
        SDL_SetHint(SDL_HINT_VIDEO_X11_NET_WM_BYPASS_COMPOSITOR, "0");
        if (!previousXErrorHandler)
            previousXErrorHandler = XSetErrorHandler(IgnoreWakeUpToClosedWindow);
        XSetIOErrorHandler(LoseDisplay);
        // The pointer is taken from the X events themselves: SDL drops a
        // motion whose window position equals the last one, which is every
        // other motion of a window dragged along under the pointer.
        SDL_EventState(SDL_SYSWMEVENT, SDL_ENABLE);
    }

    int DotsPerInch() const override
    {
        constexpr int standard = 96;
        Display* display = XOpenDisplay(nullptr);
        if (!display)
            return standard;
        int dpi = standard;
        const char* resources = XResourceManagerString(display);
        if (const std::optional<int> xft = resources ? XftDpiOf(resources) : std::nullopt) {
            dpi = *xft;
        } else if (int millimetres = DisplayWidthMM(display, DefaultScreen(display)); millimetres > 0) {
            dpi = static_cast<int>(DisplayWidth(display, DefaultScreen(display)) * 25.4 / millimetres + 0.5);
        }
        XCloseDisplay(display);
        return dpi;
    }

    // What the window manager leaves free of panels and docks (its
    // _NET_WORKAREA for the current desktop), else the whole screen.
    std::optional<TRect> WorkArea() const override
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
            const TRect given = TRect::FromBounds(static_cast<int>(free[0]), static_cast<int>(free[1]),
                static_cast<int>(free[2]), static_cast<int>(free[3]));
            // A work area of nothing is a window manager's slip, not a screen.
            if (const TRect within = area.Intersect(given); within.Width() > 0 && within.Height() > 0)
                area = within;
        }
        XCloseDisplay(display);
        return area;
    }

    void Adopt(SDL_Window* window, TSdlWindow&) override
    {
        if (const TX11Window x11 = X11WindowOf(window); x11.Id)
            windows_[x11.Id] = SDL_GetWindowID(window);
    }

    void Release(SDL_Window* window) override
    {
        std::erase_if(windows_, [id = SDL_GetWindowID(window)](const auto& entry) { return entry.second == id; });
        if (auto output = outputs_.find(SDL_GetWindowID(window)); output != outputs_.end()) {
            if (output->second.Context)
                XFreeGC(output->second.Connection, output->second.Context);
            outputs_.erase(output);
        }
    }

    // Straight from the back buffer to the X server, a strip at a time in
    // the window's own pixel format: SDL's window surface would hold a
    // second copy of the whole window in shared memory for the run.
    bool Present(SDL_Window* window, const TPixmap& pixels, const TRect& area, int factor) override
    {
        TX11Output& output = OutputOf(window);
        if (!output.Context)
            return false;
        const int width = area.Width() * factor;
        const int height = area.Height() * factor;
        const int stripRows = std::clamp(StripPixels / width, 1, height);
        strip_.resize(static_cast<std::size_t>(width) * static_cast<std::size_t>(stripRows));
        for (int top = 0; top < height; top += stripRows) {
            const int rows = std::min(stripRows, height - top);
            for (int row = 0; row < rows; ++row) {
                const TPixel* from = pixels.Row(area.Top + (top + row) / factor) + area.Left;
                std::uint32_t* to = &strip_[static_cast<std::size_t>(row) * static_cast<std::size_t>(width)];
                for (int x = 0; x < area.Width(); ++x)
                    std::fill_n(to + x * factor, factor, ServerPixel(from[x]));
            }
            XImage image{};
            image.width = width;
            image.height = rows;
            image.format = ZPixmap;
            image.data = reinterpret_cast<char*>(strip_.data());
            image.byte_order = LSBFirst;
            image.bitmap_unit = 32;
            image.bitmap_bit_order = LSBFirst;
            image.bitmap_pad = 32;
            image.depth = output.Depth;
            image.bytes_per_line = width * 4;
            image.bits_per_pixel = 32;
            image.red_mask = 0xFF0000;
            image.green_mask = 0x00FF00;
            image.blue_mask = 0x0000FF;
            if (!XInitImage(&image))
                return false;
            XPutImage(output.Connection, output.Id, output.Context, &image, 0, 0, area.Left * factor,
                area.Top * factor + top, static_cast<unsigned>(width), static_cast<unsigned>(rows));
        }
        XFlush(output.Connection);
        return true;
    }

    // SDL marks every window as a drop target; a drag source looks for the
    // mark and offers nothing to a window without it.
    void SetAcceptsDrops(SDL_Window* window, bool accept) override
    {
        const TX11Window x11 = X11WindowOf(window);
        if (!x11.Id)
            return;
        Atom aware = AtomOf(x11.Connection, "XdndAware");
        if (accept) {
            long version = xdndVersion;
            XChangeProperty(x11.Connection, x11.Id, aware, XA_ATOM, 32, PropModeReplace,
                reinterpret_cast<const unsigned char*>(&version), 1);
        } else {
            XDeleteProperty(x11.Connection, x11.Id, aware);
        }
        XFlush(x11.Connection);
    }

    void SetModalFor(SDL_Window* window, SDL_Window* owner) override
    {
        TSdlDesktop::SetModalFor(window, owner);
        const TX11Window x11 = X11WindowOf(window);
        if (!x11.Id)
            return;
        if (!owner)
            XDeleteProperty(x11.Connection, x11.Id, XA_WM_TRANSIENT_FOR);
        SetWindowType(x11.Connection, x11.Id, owner ? "_NET_WM_WINDOW_TYPE_DIALOG" : "_NET_WM_WINDOW_TYPE_NORMAL");
        SetModalState(x11.Connection, x11.Id, owner != nullptr);
        XFlush(x11.Connection);
    }

    bool ReadsPointer() const override { return true; }

    // The X server's own report of the pointer: its root position at the
    // moment of the event, whatever the window did since.
    std::optional<TDesktopMouse> MouseOf(const SDL_Event& event) const override
    {
        if (event.type != SDL_SYSWMEVENT || event.syswm.msg->subsystem != SDL_SYSWM_X11)
            return std::nullopt;
        const XEvent& x11 = event.syswm.msg->msg.x11.event;
        TDesktopMouse mouse;
        // SDL and X11 number the three buttons alike.
        switch (x11.type) {
        case ButtonPress:
        case ButtonRelease:
            mouse.Type = x11.type == ButtonPress ? SDL_MOUSEBUTTONDOWN : SDL_MOUSEBUTTONUP;
            mouse.Button = x11.xbutton.button;
            mouse.OnScreen = {x11.xbutton.x_root, x11.xbutton.y_root};
            break;
        case MotionNotify:
            mouse.Type = SDL_MOUSEMOTION;
            mouse.OnScreen = {x11.xmotion.x_root, x11.xmotion.y_root};
            break;
        default: return std::nullopt;
        }
        if (auto window = windows_.find(x11.xany.window); window != windows_.end())
            mouse.WindowId = window->second;
        return mouse;
    }

private:
    // Xlib's own answer to a lost connection is exit(), whose handlers would
    // tear the windows down after the libraries they use.
    static int LoseDisplay(Display*) { EndWithoutDisplay(); }

    // A window drawn to straight, where the server takes 32-bit pixels of
    // 8-bit red, green and blue in the byte order of this machine; none
    // (Context 0) where SDL's surface must convert.
    struct TX11Output {
        Display* Connection = nullptr;
        Window Id = 0;
        GC Context = nullptr;
        int Depth = 0;
    };

    // At most this many screen pixels (64 KiB) are converted at a time.
    static constexpr int StripPixels = 16384;

    static std::uint32_t ServerPixel(TPixel pixel)
    {
        return ((pixel & 0xFF) << 16) | (pixel & 0xFF00) | ((pixel >> 16) & 0xFF);
    }

    TX11Output& OutputOf(SDL_Window* window)
    {
        const std::uint32_t id = SDL_GetWindowID(window);
        if (auto found = outputs_.find(id); found != outputs_.end())
            return found->second;
        TX11Output& output = outputs_[id];
        const TX11Window x11 = X11WindowOf(window);
        XWindowAttributes attributes;
        if (!x11.Id || !XGetWindowAttributes(x11.Connection, x11.Id, &attributes) || !attributes.visual)
            return output;
        const Visual& visual = *attributes.visual;
        const bool littleEndian = std::endian::native == std::endian::little;
        const bool plain = (attributes.depth == 24 || attributes.depth == 32) && visual.red_mask == 0xFF0000 &&
            visual.green_mask == 0x00FF00 && visual.blue_mask == 0x0000FF &&
            ImageByteOrder(x11.Connection) == (littleEndian ? LSBFirst : MSBFirst) && littleEndian;
        if (!plain)
            return output;
        output = {x11.Connection, x11.Id, XCreateGC(x11.Connection, x11.Id, 0, nullptr), attributes.depth};
        return output;
    }

    std::map<Window, std::uint32_t> windows_;     // SDL's window ids
    std::map<std::uint32_t, TX11Output> outputs_; // by SDL's window ids
    std::vector<std::uint32_t> strip_;
};

} // namespace

std::unique_ptr<TSdlDesktop> MakeX11Desktop()
{
    return std::make_unique<TX11Desktop>();
}
