#pragma once

#include "toolkit/graphics/Geometry.h"
#include "toolkit/graphics/Pixmap.h"

#include <SDL.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>

class TSdlWindow;

// A mouse input read from the windowing system itself rather than from
// SDL's events: the SDL window it went to (0: none of SDL's), SDL's event
// type for it (SDL_MOUSEBUTTONDOWN, SDL_MOUSEBUTTONUP or SDL_MOUSEMOTION),
// the button (SDL's numbers; 0 for a motion) and where the pointer was on
// the screen, in screen pixels.
struct TDesktopMouse {
    std::uint32_t WindowId = 0;
    std::uint32_t Type = 0;
    unsigned Button = 0;
    TPoint OnScreen;
};

// What SDL2 leaves to the windowing system under it. TSdlPlatform and
// TSdlWindow reach X11, Wayland or Windows only through this; each system
// has its own file (X11Desktop.cpp, WaylandDesktop.cpp, WindowsDesktop.cpp),
// and any other video driver SDL runs on gets the plain behaviour of this
// class.
class TSdlDesktop {
public:
    // Starts SDL's video: on Linux with the drivers SDL tries unless
    // SDL_VIDEODRIVER names its own: X11 first (XWayland on a Wayland
    // desktop), whose windows place themselves and follow the pointer to
    // the screen pixel, then Wayland. False with SDL's error set when no
    // display opens.
    static bool StartVideo();
    // The desktop for the video driver SDL started with.
    static std::unique_ptr<TSdlDesktop> ForCurrentDriver();

    virtual ~TSdlDesktop() = default;

    // Called, where the system tells it, when the session ends now (the
    // user logs off, the system shuts down): the process may be ended right
    // after.
    std::function<void()> SessionEnding;

    // The screen's density in dots per inch, which sets the scale when none
    // is asked for.
    virtual int DotsPerInch() const { return 96; }
    // The part of the screen windows may take, in screen pixels: SDL's
    // usable bounds of the first display; none when SDL knows none.
    virtual std::optional<TRect> WorkArea() const;
    // Flags every window is created with, beyond what the toolkit asks for.
    virtual std::uint32_t WindowFlags() const { return 0; }

    // A window was made (for owner), and is about to go.
    virtual void Adopt(SDL_Window* window, TSdlWindow& owner)
    {
        (void)window;
        (void)owner;
    }
    virtual void Release(SDL_Window* window) { (void)window; }
    virtual void Show(SDL_Window* window) { SDL_ShowWindow(window); }
    // Puts the window's top left corner at a screen pixel, where the
    // windowing system lets a window place itself.
    virtual void Move(SDL_Window* window, TPoint screenCorner);
    // Whether drag sources may offer files to the window; SDL itself takes
    // drops on every window.
    virtual void SetAcceptsDrops(SDL_Window* window, bool accept)
    {
        (void)window;
        (void)accept;
    }
    // Marks the window as a modal dialog of owner (null: of nobody), beyond
    // what SDL's own modal-for tells the desktop.
    virtual void SetModalFor(SDL_Window* window, SDL_Window* owner);
    // Puts the area of the back buffer (client pixels) on the window, each
    // pixel grown to factor by factor; false where SDL's own window surface
    // is to do it.
    virtual bool Present(SDL_Window* window, const TPixmap& backBuffer, const TRect& area, int factor)
    {
        (void)window;
        (void)backBuffer;
        (void)area;
        (void)factor;
        return false;
    }

    // Whether mouse input comes from MouseOf rather than from SDL's mouse
    // events, which are then passed over.
    virtual bool ReadsPointer() const { return false; }
    virtual std::optional<TDesktopMouse> MouseOf(const SDL_Event& event) const
    {
        (void)event;
        return std::nullopt;
    }
    // SDL's quit event: when it comes because the connection to the
    // display went away, rather than because someone asks the program to
    // end, the program ends here as without a display.
    void EndIfDisplayLost() const
    {
        if (DisplayLost())
            EndWithoutDisplay();
    }

protected:
    virtual bool DisplayLost() const { return false; }
    // Nothing may talk to the display again: the windows let go of it and
    // the program ends as TApplication::EndWithoutDisplay says.
    [[noreturn]] static void EndWithoutDisplay();
};

// Each system's own desktops, made by ForCurrentDriver (SdlDesktopLinux.cpp,
// SdlDesktopWindows.cpp).
std::unique_ptr<TSdlDesktop> MakeX11Desktop();
std::unique_ptr<TSdlDesktop> MakeWaylandDesktop();
std::unique_ptr<TSdlDesktop> MakeWindowsDesktop();
