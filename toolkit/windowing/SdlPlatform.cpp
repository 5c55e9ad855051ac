#include "toolkit/windowing/Platform.h"

#include "toolkit/graphics/Exceptions.h"
#include "toolkit/windowing/Application.h"
#include "toolkit/windowing/DesktopScale.h"
#include "toolkit/windowing/Form.h"
#include "toolkit/windowing/SdlDesktop.h"
#include "toolkit/windowing/SdlWindow.h"
#include "toolkit/windowing/SessionEnd.h"

#include <SDL.h>

#include <algorithm>
#include <map>
#include <optional>
#include <vector>

namespace {

[[noreturn]] void failWithSdlError(const std::string& what)
{
    throw EPlatformError(what + ": " + SDL_GetError());
}

class TSdlPlatform final : public TPlatform {
public:
    TSdlPlatform(std::optional<int> scale, TSize mustFit)
    {
        SDL_SetHint(SDL_HINT_MOUSE_FOCUS_CLICKTHROUGH, "1");
        if (!TSdlDesktop::StartVideo())
            failWithSdlError("No display could be opened");
        desktop_ = TSdlDesktop::ForCurrentDriver();
        desktop_->SessionEnding = [] {
            if (Application().OnSessionEnd)
                Application().OnSessionEnd();
        };
        SDL_EventState(SDL_DROPFILE, SDL_ENABLE);
        SDL_EventState(SDL_DROPBEGIN, SDL_ENABLE);
        SDL_EventState(SDL_DROPCOMPLETE, SDL_ENABLE);
        // Dragged text is no file. SDL copies each of its lines into an
        // event of its own, hundreds of thousands for a large text, which
        // would flood the queue; switched off, it copies nothing.
        SDL_EventState(SDL_DROPTEXT, SDL_DISABLE);
        // A factor asked for is lowered to one at which mustFit fits the work
        // area; otherwise the screen's density decides, its own. Each is read
        // only where it counts: on X11 each takes a connection of its own.
        if (scale && TDesktopScale::Allows(*scale)) {
            scale_.Factor = *scale;
            if (const std::optional<TRect> area = desktop_->WorkArea())
                scale_.Factor = LargestFittingFactor(*scale, mustFit, {area->Width(), area->Height()});
        } else {
            scale_ = ScaleFor(scale, desktop_->DotsPerInch());
        }
        wakeEvent_ = SDL_RegisterEvents(1);
        sessionEnd_ = std::make_unique<TSessionEnd>([this] { Wake(); });
    }
    ~TSdlPlatform() override
    {
        sessionEnd_.reset();
        desktop_.reset();
        SDL_QuitSubSystem(SDL_INIT_VIDEO);
    }

    std::unique_ptr<TPlatformWindow> MakeWindow(TForm& form, bool bordered) override
    {
        auto window =
            std::make_unique<TSdlWindow>(form, bordered, scale_, *desktop_, [this](TSdlWindow& gone) { Forget(gone); });
        windows_[window->Id()] = window.get();
        return window;
    }

    TSize ScreenSize() const override
    {
        SDL_Rect bounds;
        if (SDL_GetDisplayBounds(0, &bounds) != 0)
            return {1024, 768};
        TPoint size = scale_.FromScreen({bounds.w, bounds.h});
        return {size.X, size.Y};
    }

    std::uint64_t Now() const override { return SDL_GetTicks64(); }

    void Wake() override
    {
        // SDL's queue is the one thing the loop waits on; pushing to it is
        // safe from any thread.
        if (wakeEvent_ == static_cast<Uint32>(-1))
            return;
        SDL_Event event{};
        event.type = wakeEvent_;
        SDL_PushEvent(&event);
    }
    bool HasRealClock() const override { return true; }
    std::optional<TScreenPointer> Pointer() const override { return pointer_; }
    int ScaleFactor() const override { return scale_.Factor; }
    std::optional<TRect> WorkArea() const override { return desktop_->WorkArea(); }

    bool PumpEvents(int timeoutMs) override
    {
        SDL_Event event;
        bool delivered = false;
        if (timeoutMs > 0 && SDL_WaitEventTimeout(&event, timeoutMs)) {
            Deliver(event);
            delivered = true;
        }
        while (SDL_PollEvent(&event)) {
            Deliver(event);
            delivered = true;
        }
        if (sessionEnd_->Asked()) {
            Application().RequestEnd();
            delivered = true;
        }
        return delivered;
    }

private:
    void Forget(TSdlWindow& window) { windows_.erase(window.Id()); }

    TSdlWindow* WindowOf(Uint32 id) const
    {
        auto it = windows_.find(id);
        return it == windows_.end() ? nullptr : it->second;
    }

    // SDL does not always tell which window a drop fell on (its Wayland
    // driver in 2.26 leaves the window out): such a drop goes to the one
    // window that takes drops now, where there is just one.
    TSdlWindow* OnlyDropTarget() const
    {
        TSdlWindow* target = nullptr;
        for (const auto& [id, window] : windows_) {
            if (!window->Form().AcceptsDrops() || !window->Form().TakesInput())
                continue;
            if (target)
                return nullptr;
            target = window;
        }
        return target;
    }

    // While a control holds the mouse, every mouse event goes to its window.
    TSdlWindow* MouseTarget(TSdlWindow* eventWindow) const
    {
        for (const auto& [id, window] : windows_) {
            if (window->Form().CaptureControl())
                return window;
        }
        return eventWindow;
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

    static std::optional<TMouseButton> ButtonOf(unsigned button)
    {
        // SDL's numbers, which the desktop's own mouse input keeps.
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
        case SDLK_BACKSPACE: return vkBack;
        case SDLK_TAB: return vkTab;
        case SDLK_RETURN:
        case SDLK_KP_ENTER: return vkReturn;
        case SDLK_ESCAPE: return vkEscape;
        case SDLK_SPACE: return vkSpace;
        case SDLK_LEFT: return vkLeft;
        case SDLK_UP: return vkUp;
        case SDLK_RIGHT: return vkRight;
        case SDLK_DOWN: return vkDown;
        case SDLK_COMMA: return vkOemComma;
        case SDLK_PERIOD: return vkOemPeriod;
        case SDLK_PLUS:
        case SDLK_EQUALS: return vkOemPlus;
        case SDLK_MINUS: return vkOemMinus;
        case SDLK_KP_PLUS: return vkAdd;
        case SDLK_KP_MINUS: return vkSubtract;
        case SDLK_AUDIOPLAY: return vkMediaPlayPause;
        case SDLK_AUDIOSTOP: return vkMediaStop;
        case SDLK_AUDIONEXT: return vkMediaNextTrack;
        case SDLK_AUDIOPREV: return vkMediaPrevTrack;
        case SDLK_VOLUMEUP: return vkVolumeUp;
        case SDLK_VOLUMEDOWN: return vkVolumeDown;
        case SDLK_AUDIOMUTE:
        case SDLK_MUTE: return vkVolumeMute;
        default:
            if (key >= 'a' && key <= 'z')
                return static_cast<std::uint16_t>(key - 'a' + 'A');
            if (key >= '0' && key <= '9')
                return static_cast<std::uint16_t>(key);
            return 0;
        }
    }

    // A button or a motion at a screen position.
    void DeliverMouse(TSdlWindow* eventWindow, Uint32 type, unsigned button, TPoint screen)
    {
        TSdlWindow* window = MouseTarget(eventWindow);
        if (!window)
            return;
        TForm& form = window->Form();
        const TPoint inWindow = screen - window->ScreenCorner();
        const TPoint position = scale_.FromScreen(inWindow);
        pointer_ = TScreenPointer{screen, inWindow};
        try {
            DispatchMouse(form, type, button, position);
        } catch (...) {
            pointer_.reset();
            throw;
        }
        pointer_.reset();
    }

    void DispatchMouse(TForm& form, Uint32 type, unsigned button, TPoint position)
    {
        if (type == SDL_MOUSEMOTION) {
            form.DispatchMouseMove(Shift(), position.X, position.Y);
            return;
        }
        auto which = ButtonOf(button);
        if (!which)
            return;
        if (type == SDL_MOUSEBUTTONDOWN) {
            buttons_ |= FlagOf(*which);
            form.DispatchMouseDown(*which, Shift(), position.X, position.Y);
        } else {
            buttons_ &= static_cast<TShiftState>(~FlagOf(*which));
            form.DispatchMouseUp(*which, Shift(), position.X, position.Y);
        }
    }

    TPoint ScreenPoint(const TSdlWindow& window, int x, int y) const { return window.ScreenCorner() + TPoint{x, y}; }

    void Deliver(const SDL_Event& event)
    {
        switch (event.type) {
        case SDL_SYSWMEVENT:
            if (const std::optional<TDesktopMouse> mouse = desktop_->MouseOf(event))
                DeliverMouse(WindowOf(mouse->WindowId), mouse->Type, mouse->Button, mouse->OnScreen);
            return;
        case SDL_MOUSEBUTTONDOWN:
        case SDL_MOUSEBUTTONUP:
            if (TSdlWindow* window = WindowOf(event.button.windowID); window && !desktop_->ReadsPointer())
                DeliverMouse(
                    window, event.type, event.button.button, ScreenPoint(*window, event.button.x, event.button.y));
            return;
        case SDL_MOUSEMOTION:
            if (TSdlWindow* window = WindowOf(event.motion.windowID); window && !desktop_->ReadsPointer())
                DeliverMouse(window, event.type, 0, ScreenPoint(*window, event.motion.x, event.motion.y));
            return;
        case SDL_MOUSEWHEEL: {
            TSdlWindow* window = MouseTarget(WindowOf(event.wheel.windowID));
            const int notches = event.wheel.direction == SDL_MOUSEWHEEL_FLIPPED ? -event.wheel.y : event.wheel.y;
            if (window && notches != 0)
                window->Form().DispatchMouseWheel(notches, Shift());
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
        case SDL_KEYUP: {
            TSdlWindow* window = WindowOf(event.key.windowID);
            std::uint16_t key = VirtualKey(event.key.keysym.sym);
            if (window && key != 0)
                window->Form().DispatchKeyUp(key, Shift());
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
            case SDL_WINDOWEVENT_MOVED: {
                TPoint place = window->PlaceCorner({event.window.data1, event.window.data2});
                if (place.X != form.Left() || place.Y != form.Top())
                    form.PlatformMoved(place.X, place.Y);
                break;
            }
            case SDL_WINDOWEVENT_EXPOSED:
            case SDL_WINDOWEVENT_RESTORED:
            case SDL_WINDOWEVENT_SIZE_CHANGED: form.Present(); break;
            default: break;
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
            if (!window)
                window = OnlyDropTarget();
            std::vector<std::string> paths;
            paths.swap(drop_);
            dropWindow_ = 0;
            if (window && window->Form().TakesInput())
                window->Form().DispatchDropFiles(paths);
            return;
        }
        case SDL_DROPTEXT:
            // Switched off above; should one come all the same, its copy goes.
            SDL_free(event.drop.file);
            return;
        case SDL_QUIT: // a signal, the session closing, or the display lost
            desktop_->EndIfDisplayLost();
            Application().RequestEnd();
            return;
        default: return;
        }
    }

    std::unique_ptr<TSdlDesktop> desktop_;
    std::map<Uint32, TSdlWindow*> windows_;
    TDesktopScale scale_;
    TShiftState buttons_ = 0;
    std::optional<TScreenPointer> pointer_; // while a mouse input is delivered
    std::vector<std::string> drop_;
    Uint32 dropWindow_ = 0;
    Uint32 wakeEvent_ = static_cast<Uint32>(-1);
    std::unique_ptr<TSessionEnd> sessionEnd_;
};

} // namespace

std::unique_ptr<TPlatform> MakeSdlPlatform(std::optional<int> scale, TSize mustFit)
{
    return std::make_unique<TSdlPlatform>(scale, mustFit);
}
