// What starts SDL's video on Windows, and the side of it Windows gets.

#include "toolkit/windowing/SdlDesktop.h"

#include <string_view>

bool TSdlDesktop::StartVideo()
{
    // The windows are drawn in whole blocks of the screen's density rather
    // than scaled, and blurred, by Windows.
    SDL_SetHint(SDL_HINT_WINDOWS_DPI_AWARENESS, "permonitorv2");
    return SDL_InitSubSystem(SDL_INIT_VIDEO) == 0;
}

std::unique_ptr<TSdlDesktop> TSdlDesktop::ForCurrentDriver()
{
    const char* name = SDL_GetCurrentVideoDriver();
    if (name && std::string_view(name) == "windows")
        return MakeWindowsDesktop();
    return std::make_unique<TSdlDesktop>();
}
