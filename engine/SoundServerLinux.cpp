#include "engine/SoundServer.h"

#include <SDL2/SDL.h>

#include <algorithm>
#include <cstdlib>
#include <string_view>

#include <unistd.h>

namespace velmora::engine {
namespace {

// In SDL's order of preference.
constexpr std::string_view serverDrivers[] = {"pulseaudio", "pipewire"};

bool IsServerDriver(std::string_view driver)
{
    for (std::string_view server : serverDrivers)
        if (driver == server)
            return true;
    return false;
}

bool SdlHasDriver(std::string_view driver)
{
    for (int i = 0; i < SDL_GetNumAudioDrivers(); ++i)
        if (driver == SDL_GetAudioDriver(i))
            return true;
    return false;
}

bool OnPath(std::string_view program)
{
    const char* path = std::getenv("PATH");
    std::string_view folders = path ? path : "/usr/bin:/bin";
    while (!folders.empty()) {
        const std::string_view folder = folders.substr(0, folders.find(':'));
        folders.remove_prefix(std::min(folders.size(), folder.size() + 1));
        const std::string file = std::string(folder.empty() ? "." : folder) + "/" + std::string(program);
        if (access(file.c_str(), X_OK) == 0)
            return true;
    }
    return false;
}

} // namespace

// A server is awaited where the user's session has a runtime folder (where
// a server puts its socket), one is installed, SDL can speak to it, and
// SDL_AUDIODRIVER asks for no other. Then only servers are asked at start:
// ALSA's default would lead to the same absent server through its plugin,
// complaining on stderr, or take the sound card from the server about to
// start.
AwaitedServer FindAwaitedServer()
{
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    if (!runtime || !*runtime || !(OnPath("pipewire-pulse") || OnPath("pipewire") || OnPath("pulseaudio")))
        return {};
    if (const char* asked = std::getenv("SDL_AUDIODRIVER"); asked && *asked) {
        std::string_view names = asked;
        while (!names.empty()) {
            const std::string_view name = names.substr(0, names.find(','));
            names.remove_prefix(std::min(names.size(), name.size() + 1));
            if (IsServerDriver(name) && SdlHasDriver(name))
                return {std::string(name), {}};
        }
        return {};
    }
    AwaitedServer awaited;
    for (std::string_view server : serverDrivers) {
        if (!SdlHasDriver(server))
            continue;
        if (awaited.driver.empty())
            awaited.driver = server;
        awaited.askFirst += (awaited.askFirst.empty() ? "" : ",") + std::string(server);
    }
    return awaited;
}

} // namespace velmora::engine
