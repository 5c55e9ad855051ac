#include "toolkit/windowing/SdlDesktop.h"

#include "toolkit/windowing/SdlWindow.h"

#include <SDL_syswm.h>
#include <wayland-client.h>

#include <map>

namespace {

// The compositor moves a window, from the press that starts the move.
SDL_HitTestResult MovesWindow(SDL_Window*, const SDL_Point* point, void* owner)
{
    return static_cast<TSdlWindow*>(owner)->DragsWindowAt({point->x, point->y}) ? SDL_HITTEST_DRAGGABLE
                                                                                : SDL_HITTEST_NORMAL;
}

// Wayland under SDL. The compositor places and moves windows and says
// nothing of where they are; SDL's hit test hands it the presses on the
// drag surfaces. SDL 2.26 has a window surface here only on its
// accelerated path (EGL, which Mesa also serves in software). Windows
// allow the output's density: SDL draws their surface onto a buffer of the
// output's scale, in whole blocks, and the toolkit's own scale stays 1
// unless asked for.
class TWaylandDesktop final : public TSdlDesktop {
public:
    TWaylandDesktop()
    {
        SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "1");
        SDL_SetHint(SDL_HINT_RENDER_SCALE_QUALITY, "nearest");
    }

    std::uint32_t WindowFlags() const override { return SDL_WINDOW_ALLOW_HIGHDPI; }

    void Adopt(SDL_Window* window, TSdlWindow& owner) override
    {
        SDL_SysWMinfo info;
        SDL_VERSION(&info.version);
        if (SDL_GetWindowWMInfo(window, &info) && info.subsystem == SDL_SYSWM_WAYLAND)
            display_ = info.info.wl.display;
        SDL_SetWindowHitTest(window, MovesWindow, &owner);
    }

    void Release(SDL_Window* window) override
    {
        owners_.erase(window);
        std::erase_if(owners_, [window](const auto& entry) { return entry.second == window; });
    }

    // Only the compositor places windows.
    void Move(SDL_Window*, TPoint) override { }

    // A window has a parent only while it is a toplevel, which it is only
    // while shown: the owner is kept for when it shows.
    void SetModalFor(SDL_Window* window, SDL_Window* owner) override
    {
        if (!owner) {
            owners_.erase(window);
            return;
        }
        owners_[window] = owner;
        if (!(SDL_GetWindowFlags(window) & SDL_WINDOW_HIDDEN))
            SDL_SetWindowModalFor(window, owner);
    }

    void Show(SDL_Window* window) override
    {
        SDL_ShowWindow(window);
        if (auto owner = owners_.find(window); owner != owners_.end())
            SDL_SetWindowModalFor(window, owner->second);
    }

protected:
    // SDL turns a broken connection into a quit event; the connection
    // keeps the reason.
    bool DisplayLost() const override { return display_ && wl_display_get_error(display_) != 0; }

private:
    wl_display* display_ = nullptr; // SDL's, the same for every window
    std::map<SDL_Window*, SDL_Window*> owners_;
};

} // namespace

std::unique_ptr<TSdlDesktop> MakeWaylandDesktop()
{
    return std::make_unique<TWaylandDesktop>();
}
