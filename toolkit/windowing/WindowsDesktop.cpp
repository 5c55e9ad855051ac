// The Windows side of the desktop (TSdlDesktop, made by MakeWindowsDesktop):
// the screen's density, owned dialogs, refusing drops, and the session's end
// (the user logs off, Windows shuts down), which SDL doesn't tell.

#include "toolkit/windowing/SdlDesktop.h"

#include <SDL_syswm.h>
#include <windows.h>

#include <shellapi.h>

#include <cmath>

namespace {

const wchar_t* const previousProcedure = L"velmora.previous-procedure";
const wchar_t* const desktopOfWindow = L"velmora.desktop";

HWND HandleOf(SDL_Window* window)
{
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    if (!window || !SDL_GetWindowWMInfo(window, &info) || info.subsystem != SDL_SYSWM_WINDOWS)
        return nullptr;
    return info.info.win.window;
}

class TWindowsDesktop final : public TSdlDesktop {
public:
    int DotsPerInch() const override
    {
        float dpi = 0;
        if (SDL_GetDisplayDPI(0, &dpi, nullptr, nullptr) != 0 || dpi <= 0)
            return 96;
        return static_cast<int>(std::lround(dpi));
    }

    void Adopt(SDL_Window* window, TSdlWindow&) override
    {
        // Windows tells a session's end to the window's procedure, past
        // SDL's events: the window listens in front of SDL.
        const HWND handle = HandleOf(window);
        if (!handle)
            return;
        SetPropW(handle, desktopOfWindow, this);
        SetPropW(handle, previousProcedure,
            reinterpret_cast<HANDLE>(SetWindowLongPtrW(handle, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&Procedure))));
    }

    void Release(SDL_Window* window) override
    {
        const HWND handle = HandleOf(window);
        if (!handle)
            return;
        if (const HANDLE previous = GetPropW(handle, previousProcedure))
            SetWindowLongPtrW(handle, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(previous));
        RemovePropW(handle, previousProcedure);
        RemovePropW(handle, desktopOfWindow);
    }

    void SetAcceptsDrops(SDL_Window* window, bool accept) override
    {
        if (const HWND handle = HandleOf(window))
            DragAcceptFiles(handle, accept ? TRUE : FALSE);
    }

    // An owned window stays in front of its owner and has no button of its
    // own on the task bar.
    void SetModalFor(SDL_Window* window, SDL_Window* owner) override
    {
        if (const HWND handle = HandleOf(window))
            SetWindowLongPtrW(handle, GWLP_HWNDPARENT, reinterpret_cast<LONG_PTR>(HandleOf(owner)));
    }

private:
    static LRESULT CALLBACK Procedure(HWND handle, UINT message, WPARAM wParam, LPARAM lParam)
    {
        const auto previous = reinterpret_cast<WNDPROC>(GetPropW(handle, previousProcedure));
        if (message == WM_ENDSESSION && wParam) {
            // The process may be ended as soon as this returns.
            if (auto* desktop = static_cast<TWindowsDesktop*>(GetPropW(handle, desktopOfWindow));
                desktop && desktop->SessionEnding)
                desktop->SessionEnding();
        }
        return previous ? CallWindowProcW(previous, handle, message, wParam, lParam)
                        : DefWindowProcW(handle, message, wParam, lParam);
    }
};

} // namespace

std::unique_ptr<TSdlDesktop> MakeWindowsDesktop()
{
    return std::make_unique<TWindowsDesktop>();
}
