#include "toolkit/windowing/SdlDesktop.h"

#include "toolkit/windowing/Application.h"
#include "toolkit/windowing/SdlWindow.h"

#include <optional>

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
