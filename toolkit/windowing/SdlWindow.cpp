#include "toolkit/windowing/SdlWindow.h"

#include "toolkit/graphics/Exceptions.h"
#include "toolkit/windowing/Form.h"

#include <SDL_syswm.h>
#include <X11/Xatom.h>

#include <algorithm>
#include <vector>

namespace {

constexpr long netWmStateRemove = 0;
constexpr long netWmStateAdd = 1;
constexpr long xdndVersion = 5;

Atom AtomOf(Display* display, const char* name)
{
    return XInternAtom(display, name, False);
}

bool IsMapped(Display* display, Window window)
{
    XWindowAttributes attributes;
    return XGetWindowAttributes(display, window, &attributes) && attributes.map_state != IsUnmapped;
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
    Atom type = None;
    int format = 0;
    unsigned long count = 0;
    unsigned long remaining = 0;
    unsigned char* data = nullptr;
    std::vector<Atom> states;
    if (XGetWindowProperty(display, window, state, 0, 64, False, XA_ATOM, &type, &format, &count, &remaining, &data) ==
            Success &&
        data) {
        auto* atoms = reinterpret_cast<Atom*>(data);
        states.assign(atoms, atoms + count);
        XFree(data);
    }
    std::erase(states, modalState);
    if (modal)
        states.push_back(modalState);
    XChangeProperty(display, window, state, XA_ATOM, 32, PropModeReplace,
        reinterpret_cast<const unsigned char*>(states.data()), static_cast<int>(states.size()));
}

void SetWindowType(Display* display, Window window, const char* typeName)
{
    Atom type = AtomOf(display, typeName);
    XChangeProperty(display, window, AtomOf(display, "_NET_WM_WINDOW_TYPE"), XA_ATOM, 32, PropModeReplace,
        reinterpret_cast<const unsigned char*>(&type), 1);
}

} // namespace

TSdlWindow::TSdlWindow(TForm& form, bool bordered, TDesktopScale scale, std::function<void(TSdlWindow&)> forget)
    : form_(form), scale_(scale), forget_(std::move(forget))
{
    Uint32 flags = SDL_WINDOW_HIDDEN | (bordered ? 0u : unsigned{SDL_WINDOW_BORDERLESS});
    const TRect screen = scale_.ToScreen(form.BoundsRect());
    window_ =
        SDL_CreateWindow("", screen.Left, screen.Top, std::max(screen.Width(), 1), std::max(screen.Height(), 1), flags);
    if (!window_)
        throw EPlatformError(std::string("Unable to create a window: ") + SDL_GetError());
    id_ = SDL_GetWindowID(window_);
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    if (SDL_GetWindowWMInfo(window_, &info) && info.subsystem == SDL_SYSWM_X11) {
        x11Display_ = info.info.x11.display;
        x11Window_ = info.info.x11.window;
    }
}

TSdlWindow::~TSdlWindow()
{
    if (forget_)
        forget_(*this);
    if (!displayGone_)
        SDL_DestroyWindow(window_);
}

void TSdlWindow::SetTitle(const std::string& title)
{
    if (displayGone_)
        return;
    SDL_SetWindowTitle(window_, title.c_str());
}

void TSdlWindow::SetBounds(const TRect& logicalRect)
{
    if (displayGone_)
        return;
    const TRect screenRect = scale_.ToScreen(logicalRect);
    const TPoint corner = TPoint{screenRect.Left, screenRect.Top} + withinPixel_;
    int x = 0;
    int y = 0;
    int w = 0;
    int h = 0;
    SDL_GetWindowPosition(window_, &x, &y);
    SDL_GetWindowSize(window_, &w, &h);
    if (x != corner.X || y != corner.Y)
        SDL_SetWindowPosition(window_, corner.X, corner.Y);
    if (w != screenRect.Width() || h != screenRect.Height())
        SDL_SetWindowSize(window_, std::max(screenRect.Width(), 1), std::max(screenRect.Height(), 1));
}

TPoint TSdlWindow::PlaceCorner(TPoint screenCorner)
{
    withinPixel_ = scale_.WithinPixel(screenCorner);
    return scale_.FromScreen(screenCorner);
}

TPoint TSdlWindow::ScreenCorner() const
{
    return scale_.ToScreen(TPoint{form_.Left(), form_.Top()}) + withinPixel_;
}

void TSdlWindow::Show()
{
    if (displayGone_)
        return;
    SDL_ShowWindow(window_);
}

void TSdlWindow::Hide()
{
    if (displayGone_)
        return;
    SDL_HideWindow(window_);
}

void TSdlWindow::Raise()
{
    if (displayGone_)
        return;
    SDL_RaiseWindow(window_);
}

void TSdlWindow::Minimize()
{
    if (displayGone_)
        return;
    SDL_MinimizeWindow(window_);
}

void TSdlWindow::Restore()
{
    if (displayGone_)
        return;
    SDL_RestoreWindow(window_);
}

bool TSdlWindow::IsMinimized() const
{
    if (displayGone_)
        return false;
    return (SDL_GetWindowFlags(window_) & SDL_WINDOW_MINIMIZED) != 0;
}

void TSdlWindow::SetCapture(bool capture)
{
    if (displayGone_)
        return;
    SDL_CaptureMouse(capture ? SDL_TRUE : SDL_FALSE);
}

void TSdlWindow::Present(const TPixmap& backBuffer, const TRect& area)
{
    if (displayGone_)
        return;
    TRect visible = area.Intersect(backBuffer.Bounds());
    if (visible.IsEmpty())
        return;
    SDL_Surface* screen = SDL_GetWindowSurface(window_);
    if (!screen)
        return;
    // Scaled, only the area is grown into pixels of its own; unscaled, the
    // back buffer itself is the source.
    TPixmap grown;
    const TPixmap* pixels = &backBuffer;
    TRect from = visible;
    if (scale_.Factor != 1) {
        grown = ScaledUp(backBuffer, visible, scale_.Factor);
        pixels = &grown;
        from = grown.Bounds();
    }
    // The pixels already hold red in the low byte: wrap, don't convert.
    SDL_Surface* source = SDL_CreateRGBSurfaceWithFormatFrom(const_cast<TPixel*>(pixels->Data()), pixels->Width(),
        pixels->Height(), 32, pixels->Width() * 4, SDL_PIXELFORMAT_XBGR8888);
    if (!source)
        return;
    const TRect to = scale_.ToScreen(visible);
    SDL_Rect sourceRect{from.Left, from.Top, from.Width(), from.Height()};
    SDL_Rect targetRect{to.Left, to.Top, to.Width(), to.Height()};
    SDL_BlitSurface(source, &sourceRect, screen, &targetRect);
    SDL_FreeSurface(source);
    // The blit wrote its clipped rectangle back; the update wants the whole.
    targetRect = {to.Left, to.Top, to.Width(), to.Height()};
    SDL_UpdateWindowSurfaceRects(window_, &targetRect, 1);
}

void TSdlWindow::SetAcceptsDrops(bool accept)
{
    if (displayGone_)
        return;
    // SDL marks every window as a drop target; a drag source looks for the
    // mark and offers nothing to a window without it.
    if (!x11Window_)
        return;
    auto* display = static_cast<Display*>(x11Display_);
    Atom aware = AtomOf(display, "XdndAware");
    if (accept) {
        long version = xdndVersion;
        XChangeProperty(display, x11Window_, aware, XA_ATOM, 32, PropModeReplace,
            reinterpret_cast<const unsigned char*>(&version), 1);
    } else {
        XDeleteProperty(display, x11Window_, aware);
    }
    XFlush(display);
}

void TSdlWindow::SetModalFor(TPlatformWindow* owner)
{
    if (displayGone_)
        return;
    auto* ownerWindow = dynamic_cast<TSdlWindow*>(owner);
    if (ownerWindow)
        SDL_SetWindowModalFor(window_, ownerWindow->window_);
    if (!x11Window_)
        return;
    auto* display = static_cast<Display*>(x11Display_);
    if (!ownerWindow)
        XDeleteProperty(display, x11Window_, XA_WM_TRANSIENT_FOR);
    SetWindowType(display, x11Window_, ownerWindow ? "_NET_WM_WINDOW_TYPE_DIALOG" : "_NET_WM_WINDOW_TYPE_NORMAL");
    SetModalState(display, x11Window_, ownerWindow != nullptr);
    XFlush(display);
}
