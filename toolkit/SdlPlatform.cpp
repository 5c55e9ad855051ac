#include "toolkit/Platform.h"

#include "toolkit/Application.h"
#include "toolkit/Exceptions.h"
#include "toolkit/Form.h"

#include <SDL.h>
#include <SDL_syswm.h>

#include <cstdlib>
#include <algorithm>
#include <map>
#include <optional>
#include <vector>

namespace {

XErrorHandler previousXErrorHandler = nullptr;

// SDL wakes its event wait by sending an event to a window; when that window
// was just destroyed the server answers BadWindow, which Xlib's default
// handler would turn into the end of the process.
int IgnoreWakeUpToClosedWindow(Display* display, XErrorEvent* error)
{
    constexpr unsigned char sendEventRequest = 25;
    if (error->error_code == BadWindow && error->request_code == sendEventRequest)
        return 0;
    return previousXErrorHandler ? previousXErrorHandler(display, error) : 0;
}

[[noreturn]] void failWithSdlError(const std::string& what)
{
    throw EPlatformError(what + ": " + SDL_GetError());
}

class TSdlWindow final : public TPlatformWindow {
public:
    TSdlWindow(TForm& form, bool bordered) : form_(form)
    {
        Uint32 flags = SDL_WINDOW_HIDDEN | (bordered ? 0u : unsigned{SDL_WINDOW_BORDERLESS});
        window_ = SDL_CreateWindow("", form.Left(), form.Top(), std::max(form.Width(), 1),
                                   std::max(form.Height(), 1), flags);
        if (!window_)
            failWithSdlError("Unable to create a window");
    }
    ~TSdlWindow() override { SDL_DestroyWindow(window_); }

    TForm& Form() const { return form_; }
    Uint32 Id() const { return SDL_GetWindowID(window_); }

    void SetTitle(const std::string& title) override { SDL_SetWindowTitle(window_, title.c_str()); }
    void SetBounds(const TRect& screenRect) override
    {
        int x = 0;
        int y = 0;
        int w = 0;
        int h = 0;
        SDL_GetWindowPosition(window_, &x, &y);
        SDL_GetWindowSize(window_, &w, &h);
        if (x != screenRect.Left || y != screenRect.Top)
            SDL_SetWindowPosition(window_, screenRect.Left, screenRect.Top);
        if (w != screenRect.Width() || h != screenRect.Height())
            SDL_SetWindowSize(window_, std::max(screenRect.Width(), 1), std::max(screenRect.Height(), 1));
    }
    void Show() override { SDL_ShowWindow(window_); }
    void Hide() override { SDL_HideWindow(window_); }
    void Raise() override { SDL_RaiseWindow(window_); }
    void Minimize() override { SDL_MinimizeWindow(window_); }
    bool IsMinimized() const override { return (SDL_GetWindowFlags(window_) & SDL_WINDOW_MINIMIZED) != 0; }
    void SetCapture(bool capture) override { SDL_CaptureMouse(capture ? SDL_TRUE : SDL_FALSE); }

    void Present(const TPixmap& backBuffer) override
    {
        if (backBuffer.IsEmpty())
            return;
        SDL_Surface* screen = SDL_GetWindowSurface(window_);
        if (!screen)
            return;
        // The back buffer already holds red in the low byte: wrap, don't convert.
        SDL_Surface* source = SDL_CreateRGBSurfaceWithFormatFrom(
            const_cast<TPixel*>(backBuffer.Data()), backBuffer.Width(), backBuffer.Height(), 32,
            backBuffer.Width() * 4, SDL_PIXELFORMAT_XBGR8888);
        if (!source)
            return;
        SDL_BlitSurface(source, nullptr, screen, nullptr);
        SDL_FreeSurface(source);
        SDL_UpdateWindowSurface(window_);
    }

    // The pointer in root-window pixels, read from the X server itself:
    // SDL's own coordinates lag while the window moves under the pointer.
    bool QueryPointer(int& rootX, int& rootY) const
    {
        SDL_SysWMinfo info;
        SDL_VERSION(&info.version);
        if (!SDL_GetWindowWMInfo(window_, &info) || info.subsystem != SDL_SYSWM_X11)
            return false;
        Window root = 0;
        Window child = 0;
        int windowX = 0;
        int windowY = 0;
        unsigned mask = 0;
        return XQueryPointer(info.info.x11.display, info.info.x11.window, &root, &child, &rootX, &rootY, &windowX,
                             &windowY, &mask) != 0;
    }

private:
    TForm& form_;
    SDL_Window* window_ = nullptr;
};

class TSdlPlatform final : public TPlatform {
public:
    TSdlPlatform()
    {
        SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
        SDL_SetHint(SDL_HINT_MOUSE_FOCUS_CLICKTHROUGH, "1");
        SDL_SetHint(SDL_HINT_VIDEO_X11_NET_WM_BYPASS_COMPOSITOR, "0");
        // X11 (XWayland on Wayland desktops) lets windows place themselves.
        if (!std::getenv("SDL_VIDEODRIVER"))
            SDL_SetHint(SDL_HINT_VIDEODRIVER, "x11,wayland");
        if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0)
            failWithSdlError("No display could be opened");
        if (!previousXErrorHandler)
            previousXErrorHandler = XSetErrorHandler(IgnoreWakeUpToClosedWindow);
        SDL_EventState(SDL_DROPFILE, SDL_ENABLE);
        SDL_EventState(SDL_DROPBEGIN, SDL_ENABLE);
        SDL_EventState(SDL_DROPCOMPLETE, SDL_ENABLE);
    }
    ~TSdlPlatform() override { SDL_QuitSubSystem(SDL_INIT_VIDEO); }

    std::unique_ptr<TPlatformWindow> CreateWindow(TForm& form, bool bordered) override
    {
        auto window = std::make_unique<TSdlWindow>(form, bordered);
        TSdlWindow* raw = window.get();
        windows_[raw->Id()] = raw;
        return std::unique_ptr<TPlatformWindow>(new TTrackedWindow(std::move(window), *this));
    }

    TSize ScreenSize() const override
    {
        SDL_Rect bounds;
        if (SDL_GetDisplayBounds(0, &bounds) != 0)
            return {1024, 768};
        return {bounds.w, bounds.h};
    }

    std::uint64_t Now() const override { return SDL_GetTicks64(); }
    bool HasRealClock() const override { return true; }

    bool PumpEvents(int timeoutMs) override
    {
        SDL_Event event;
        bool delivered = false;
        if (timeoutMs > 0) {
            if (!SDL_WaitEventTimeout(&event, timeoutMs))
                return false;
            Deliver(event);
            delivered = true;
        }
        while (SDL_PollEvent(&event)) {
            Deliver(event);
            delivered = true;
        }
        return delivered;
    }

    void Forget(Uint32 id) { windows_.erase(id); }

private:
    // Unregisters the window from event delivery when the form lets go of it.
    class TTrackedWindow final : public TPlatformWindow {
    public:
        TTrackedWindow(std::unique_ptr<TSdlWindow> window, TSdlPlatform& platform)
            : window_(std::move(window)), platform_(platform)
        {
        }
        ~TTrackedWindow() override { platform_.Forget(window_->Id()); }
        void SetTitle(const std::string& title) override { window_->SetTitle(title); }
        void SetBounds(const TRect& r) override { window_->SetBounds(r); }
        void Show() override { window_->Show(); }
        void Hide() override { window_->Hide(); }
        void Raise() override { window_->Raise(); }
        void Minimize() override { window_->Minimize(); }
        bool IsMinimized() const override { return window_->IsMinimized(); }
        void SetCapture(bool capture) override { window_->SetCapture(capture); }
        void Present(const TPixmap& backBuffer) override { window_->Present(backBuffer); }

    private:
        std::unique_ptr<TSdlWindow> window_;
        TSdlPlatform& platform_;
    };

    TSdlWindow* WindowOf(Uint32 id) const
    {
        auto it = windows_.find(id);
        return it == windows_.end() ? nullptr : it->second;
    }

    // While a control holds the mouse, every mouse event goes to its window.
    TSdlWindow* MouseTarget(Uint32 id) const
    {
        for (const auto& [windowId, window] : windows_) {
            if (window->Form().CaptureControl())
                return window;
        }
        return WindowOf(id);
    }

    TShiftState Shift() const
    {
        TShiftState shift = buttons_;
        SDL_Keymod mod = SDL_GetModState();
        if (mod & KMOD_SHIFT)
            shift |= ssShift;
        if (mod & KMOD_CTRL)
            shift |= ssCtrl;
        if (mod & KMOD_ALT)
            shift |= ssAlt;
        return shift;
    }

    TPoint PointerIn(TSdlWindow& window, int eventX, int eventY) const
    {
        int rootX = 0;
        int rootY = 0;
        if (window.QueryPointer(rootX, rootY))
            return {rootX - window.Form().Left(), rootY - window.Form().Top()};
        return {eventX, eventY};
    }

    static std::optional<TMouseButton> ButtonOf(Uint8 button)
    {
        switch (button) {
        case SDL_BUTTON_LEFT: return TMouseButton::mbLeft;
        case SDL_BUTTON_RIGHT: return TMouseButton::mbRight;
        case SDL_BUTTON_MIDDLE: return TMouseButton::mbMiddle;
        default: return std::nullopt;
        }
    }

    static TShiftState FlagOf(TMouseButton button)
    {
        switch (button) {
        case TMouseButton::mbLeft: return ssLeft;
        case TMouseButton::mbRight: return ssRight;
        case TMouseButton::mbMiddle: return ssMiddle;
        }
        return 0;
    }

    static std::uint16_t VirtualKey(SDL_Keycode key)
    {
        switch (key) {
        case SDLK_BACKSPACE: return VK_BACK;
        case SDLK_TAB: return VK_TAB;
        case SDLK_RETURN:
        case SDLK_KP_ENTER: return VK_RETURN;
        case SDLK_ESCAPE: return VK_ESCAPE;
        case SDLK_SPACE: return VK_SPACE;
        case SDLK_LEFT: return VK_LEFT;
        case SDLK_UP: return VK_UP;
        case SDLK_RIGHT: return VK_RIGHT;
        case SDLK_DOWN: return VK_DOWN;
        default:
            if (key >= 'a' && key <= 'z')
                return static_cast<std::uint16_t>(key - 'a' + 'A');
            if (key >= '0' && key <= '9')
                return static_cast<std::uint16_t>(key);
            return 0;
        }
    }

    void Deliver(const SDL_Event& event)
    {
        switch (event.type) {
        case SDL_MOUSEBUTTONDOWN:
        case SDL_MOUSEBUTTONUP: {
            TSdlWindow* window = MouseTarget(event.button.windowID);
            auto button = ButtonOf(event.button.button);
            if (!window || !button)
                return;
            TPoint p = PointerIn(*window, event.button.x, event.button.y);
            if (event.type == SDL_MOUSEBUTTONDOWN) {
                buttons_ |= FlagOf(*button);
                window->Form().DispatchMouseDown(*button, Shift(), p.X, p.Y);
            } else {
                buttons_ &= static_cast<TShiftState>(~FlagOf(*button));
                window->Form().DispatchMouseUp(*button, Shift(), p.X, p.Y);
            }
            return;
        }
        case SDL_MOUSEMOTION: {
            TSdlWindow* window = MouseTarget(event.motion.windowID);
            if (!window)
                return;
            TPoint p = PointerIn(*window, event.motion.x, event.motion.y);
            window->Form().DispatchMouseMove(Shift(), p.X, p.Y);
            return;
        }
        case SDL_KEYDOWN: {
            TSdlWindow* window = WindowOf(event.key.windowID);
            if (!window)
                return;
            std::uint16_t key = VirtualKey(event.key.keysym.sym);
            if ((event.key.keysym.mod & KMOD_ALT) && key >= 'A' && key <= 'Z') {
                window->Form().DispatchDialogChar(static_cast<char>(key));
                return;
            }
            if (key != 0)
                window->Form().DispatchKeyDown(key, Shift());
            return;
        }
        case SDL_WINDOWEVENT: {
            TSdlWindow* window = WindowOf(event.window.windowID);
            if (!window)
                return;
            TForm& form = window->Form();
            switch (event.window.event) {
            case SDL_WINDOWEVENT_CLOSE:
                if (form.TakesInput())
                    form.DispatchCloseRequest();
                break;
            case SDL_WINDOWEVENT_MOVED:
                if (event.window.data1 != form.Left() || event.window.data2 != form.Top())
                    form.PlatformMoved(event.window.data1, event.window.data2);
                break;
            case SDL_WINDOWEVENT_EXPOSED:
            case SDL_WINDOWEVENT_RESTORED:
            case SDL_WINDOWEVENT_SIZE_CHANGED:
                form.Present();
                break;
            default:
                break;
            }
            return;
        }
        case SDL_DROPBEGIN:
            drop_.clear();
            dropWindow_ = event.drop.windowID;
            return;
        case SDL_DROPFILE:
            if (event.drop.file) {
                drop_.emplace_back(event.drop.file);
                SDL_free(event.drop.file);
            }
            if (!dropWindow_)
                dropWindow_ = event.drop.windowID;
            return;
        case SDL_DROPCOMPLETE: {
            TSdlWindow* window = WindowOf(dropWindow_ ? dropWindow_ : event.drop.windowID);
            std::vector<std::string> paths;
            paths.swap(drop_);
            dropWindow_ = 0;
            if (window && window->Form().TakesInput())
                window->Form().DispatchDropFiles(paths);
            return;
        }
        case SDL_QUIT:
            if (TForm* main = Application().MainForm(); main && main->TakesInput())
                main->DispatchCloseRequest();
            return;
        default:
            return;
        }
    }

    std::map<Uint32, TSdlWindow*> windows_;
    TShiftState buttons_ = 0;
    std::vector<std::string> drop_;
    Uint32 dropWindow_ = 0;
};

} // namespace

std::unique_ptr<TPlatform> MakeSdlPlatform()
{
    return std::make_unique<TSdlPlatform>();
}
