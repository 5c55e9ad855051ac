#pragma once

#include "toolkit/windowing/DesktopScale.h"
#include "toolkit/windowing/Platform.h"

#include <SDL.h>

#include <functional>

class TForm;

// A form's window on the desktop through SDL2. On X11 it also reaches the
// window underneath for what SDL doesn't offer per window: refusing drops
// and the modal-dialog state.
class TSdlWindow final : public TPlatformWindow {
public:
    // forget runs as the window goes, so its events stop being delivered.
    TSdlWindow(TForm& form, bool bordered, TDesktopScale scale, std::function<void(TSdlWindow&)> forget);
    ~TSdlWindow() override;

    TSdlWindow(const TSdlWindow&) = delete;
    TSdlWindow& operator=(const TSdlWindow&) = delete;

    // Once the display's connection is gone, nothing may talk to it again:
    // every window operation does nothing from then on.
    static void ForgetDisplay() { displayGone_ = true; }

    TForm& Form() const { return form_; }
    Uint32 Id() const { return id_; }
    // The X11 window, or 0 under another video driver.
    unsigned long X11Id() const { return x11Window_; }

    void SetTitle(const std::string& title) override;
    void SetBounds(const TRect& screenRect) override;
    TPoint PlaceCorner(TPoint screenCorner) override;
    // The window's top left corner in screen pixels.
    TPoint ScreenCorner() const;
    void Show() override;
    void Hide() override;
    void Raise() override;
    void Minimize() override;
    bool IsMinimized() const override;
    void Restore() override;
    void SetCapture(bool capture) override;
    void Present(const TPixmap& backBuffer, const TRect& area) override;
    void SetAcceptsDrops(bool accept) override;
    void SetModalFor(TPlatformWindow* owner) override;

private:
    static inline bool displayGone_ = false;

    TForm& form_;
    TDesktopScale scale_;
    // Screen pixels from the corner of the window's logical pixel to the
    // window's own corner, 0..Factor-1 each way: a window dragged along
    // with the pointer, or placed by the desktop, needn't sit on a block.
    TPoint withinPixel_;
    SDL_Window* window_ = nullptr;
    Uint32 id_ = 0;
    void* x11Display_ = nullptr; // Display*, owned by SDL
    unsigned long x11Window_ = 0;
    std::function<void(TSdlWindow&)> forget_;
};
