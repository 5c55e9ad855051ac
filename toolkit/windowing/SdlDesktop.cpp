#include "toolkit/windowing/SdlDesktop.h"

#include "toolkit/windowing/Application.h"
#include "toolkit/windowing/SdlWindow.h"

#include <cstdlib>
#include <string_view>

void TSdlDesktop::ChooseVideoDriver()
{
    if (!std::getenv("SDL_VIDEODRIVER"))
        SDL_SetHint(SDL_HINT_VIDEODRIVER, "x11,wayland");
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
