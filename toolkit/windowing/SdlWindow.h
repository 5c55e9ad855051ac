#pragma once

#include "toolkit/windowing/DesktopScale.h"
#include "toolkit/windowing/Platform.h"

#include <SDL.h>

#include <functional>

class TForm;
class TSdlDesktop;

// A form's window on the desktop through SDL2, and through the desktop for
// what SDL leaves to the windowing system.
class TSdlWindow final : public TPlatformWindow {
public:
    // forget runs as the window goes, so its events stop being delivered.
    TSdlWindow(
        TForm& form, bool bordered, TDesktopScale scale, TSdlDesktop& desktop, std::function<void(TSdlWindow&)> forget);
    ~TSdlWindow() override;

    TSdlWindow(const TSdlWindow&) = delete;
    TSdlWindow& operator=(const TSdlWindow&) = delete;

    // Once the display's connection is gone, nothing may talk to it again:
    // every window operation does nothing from then on.
    static void ForgetDisplay() { displayGone_ = true; }

    TForm& Form() const { return form_; }
    Uint32 Id() const { return id_; }
    // Whether a left press at a point of the window (screen pixels from its
    // corner) starts moving the window.
    bool DragsWindowAt(TPoint inWindow) const;

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
    TSdlDesktop& desktop_;
    SDL_Window* window_ = nullptr;
    Uint32 id_ = 0;
    std::function<void(TSdlWindow&)> forget_;
};
