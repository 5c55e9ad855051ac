// What starts SDL's video on a Linux desktop, and which side of it the
// driver SDL started with gets: X11's or Wayland's, or the plain one.

#include "toolkit/windowing/SdlDesktop.h"

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
