#pragma once

#include "toolkit/windowing/Platform.h"

#include <vector>

class TForm;

// A window of the headless platform. What the form presents lands on a
// screen picture of the window's size, so tests look at what a user would
// see rather than at the back buffer.
class THeadlessWindow final : public TPlatformWindow {
public:
    void SetTitle(const std::string&) override { }
    void SetBounds(const TRect&) override { }
    TPoint PlaceCorner(TPoint screenCorner) override { return screenCorner; }
    void Show() override { minimized_ = false; }
    void Hide() override { }
    void Raise() override { }
    void Minimize() override { minimized_ = true; }
    bool IsMinimized() const override { return minimized_; }
    void Restore() override { minimized_ = false; }
    void SetCapture(bool) override { }
    void Present(const TPixmap& backBuffer, const TRect& area) override;
    void SetAcceptsDrops(bool accept) override { acceptsDrops_ = accept; }
    void SetModalFor(TPlatformWindow* owner) override { modalFor_ = owner; }

    const TPixmap& Screen() const { return screen_; }
    // Every area presented, oldest first.
    const std::vector<TRect>& Presented() const { return presented_; }
    void ForgetPresented() { presented_.clear(); }
    bool AcceptsDrops() const { return acceptsDrops_; }
    TPlatformWindow* ModalFor() const { return modalFor_; }

private:
    TPixmap screen_;
    std::vector<TRect> presented_;
    bool minimized_ = false;
    bool acceptsDrops_ = false;
    TPlatformWindow* modalFor_ = nullptr;
};

// The headless window of a form that has been shown, or null.
THeadlessWindow* HeadlessWindowOf(const TForm& form);
