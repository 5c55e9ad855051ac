#include "toolkit/windowing/SdlDesktop.h"

#include "toolkit/windowing/Application.h"
#include "toolkit/windowing/SdlWindow.h"

#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>

bool TSdlDesktop::StartVideo()
{
    if (!std::getenv("SDL_VIDEODRIVER"))
        SDL_SetHint(SDL_HINT_VIDEODRIVER, "x11,wayland");
    // The disc takes keys, never text: the keyboard's input method (X11's,
    // or xkbcommon's on Wayland) needs none of the locale's compose
    // sequences, whose table alone would hold some 0.6 MB for the whole run.
    // Both read it from the file this names while SDL's video starts.
    const char* before = std::getenv("XCOMPOSEFILE");
    const std::optional<std::string> kept = before ? std::optional<std::string>(before) : std::nullopt;
    setenv("XCOMPOSEFILE", "/dev/null", 1);
    const bool started = SDL_InitSubSystem(SDL_INIT_VIDEO) == 0;
    if (kept)
        setenv("XCOMPOSEFILE", kept->c_str(), 1);
    else
        unsetenv("XCOMPOSEFILE");
    return started;
}

std::unique_ptr<TSdlDesktop> TSdlDesktop::ForCurrentDriver()
{
    const char* name = SDL_GetCurrentVideoDriver();
    const std::string_view driver = name ? name : "";
    if (driver == "x11")
        return MakeX11Desktop();
    if (driver == "wayland")
        return MakeWaylandDesktop();
    return std::make_unique<TSdlDesktop>();
}

std::optional<TRect> TSdlDesktop::WorkArea() const
{
    SDL_Rect usable;
    if (SDL_GetDisplayUsableBounds(0, &usable) != 0 || usable.w <= 0 || usable.h <= 0)
        return std::nullopt;
    return TRect::FromBounds(usable.x, usable.y, usable.w, usable.h);
}

void TSdlDesktop::Move(SDL_Window* window, TPoint screenCorner)
{
    SDL_SetWindowPosition(window, screenCorner.X, screenCorner.Y);
}

void TSdlDesktop::SetModalFor(SDL_Window* window, SDL_Window* owner)
{
    if (owner)
        SDL_SetWindowModalFor(window, owner);
}

void TSdlDesktop::EndWithoutDisplay()
{
    TSdlWindow::ForgetDisplay();
    Application().EndWithoutDisplay();
}
