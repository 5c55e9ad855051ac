#pragma once

#include "toolkit/graphics/Geometry.h"
#include "toolkit/graphics/Pixmap.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

class TForm;

// Where the pointer was at the mouse input being delivered, in screen pixels
// (not logical ones): on the screen, and from the top left corner of the
// window the input goes to.
struct TScreenPointer {
    TPoint OnScreen;
    TPoint InWindow;
};

// A top-level window of the desktop, as the toolkit needs it. Positions are
// logical screen pixels (see TDesktopScale); the size is the client area.
class TPlatformWindow {
public:
    virtual ~TPlatformWindow() = default;
    virtual void SetTitle(const std::string& title) = 0;
    virtual void SetBounds(const TRect& screenRect) = 0;
    // The window's top left corner goes to this screen pixel, which above
    // scale 1 may lie inside a logical pixel: where inside is kept for
    // every SetBounds from now on, and the logical pixel is returned, the
    // Left and Top for the form to take on.
    virtual TPoint PlaceCorner(TPoint screenCorner) = 0;
    virtual void Show() = 0;
    virtual void Hide() = 0;
    virtual void Raise() = 0;
    virtual void Minimize() = 0;
    virtual bool IsMinimized() const = 0;
    // Back from the task bar, to its place.
    virtual void Restore() = 0;
    // Keeps mouse events coming while the pointer is outside the window.
    virtual void SetCapture(bool capture) = 0;
    // Puts the area (client pixels) of the back buffer on screen now.
    virtual void Present(const TPixmap& backBuffer, const TRect& area) = 0;
    // Whether the desktop may offer dropped files to this window at all; a
    // window that takes none tells the drag source no.
    virtual void SetAcceptsDrops(bool accept) = 0;
    // Marks the window as a modal dialog of owner (null: of nobody), so
    // the desktop keeps it above its owner.
    virtual void SetModalFor(TPlatformWindow* owner) = 0;
};

// The windowing system: windows, the clock, and the delivery of input to
// the toolkit's windows (which it finds through the application).
class TPlatform {
public:
    virtual ~TPlatform() = default;
    virtual std::unique_ptr<TPlatformWindow> MakeWindow(TForm& form, bool bordered) = 0;
    virtual TSize ScreenSize() const = 0;
    // Milliseconds on a monotonic clock.
    virtual std::uint64_t Now() const = 0;
    // Waits up to timeoutMs (0: not at all) for input and delivers it;
    // true when something was delivered.
    virtual bool PumpEvents(int timeoutMs) = 0;
    // Ends a wait in PumpEvents early; callable from any thread.
    virtual void Wake() { }
    // The pointer at the mouse input being delivered now; none outside a
    // delivery, or where there is no screen.
    virtual std::optional<TScreenPointer> Pointer() const { return std::nullopt; }
    // Each logical pixel is shown as a block of this many screen pixels on
    // each side.
    virtual int ScaleFactor() const { return 1; }
    // The part of the screen windows may take (screen pixels); none where
    // there is no screen or the desktop tells nothing of it.
    virtual std::optional<TRect> WorkArea() const { return std::nullopt; }
    // Whether time passes by itself; a headless platform's clock is moved
    // by the message loop to the next timer when nothing else can happen.
    virtual bool HasRealClock() const = 0;
    virtual void AdvanceClock(std::uint64_t toMs) { (void)toMs; }
};

// Windows that exist only as back buffers, input injected by tests, and a
// clock that moves only when told. Forms render the same pixels as on screen.
std::unique_ptr<TPlatform> MakeHeadlessPlatform();
// SDL2's video layer; throws EPlatformError with SDL's reason. Windows are
// shown scale times larger (1..4), or as large as the screen's density
// asks when no scale is given; a scale given at which a window of mustFit
// (logical pixels) would not fit the screen's work area is lowered to the
// largest at which it fits.
std::unique_ptr<TPlatform> MakeSdlPlatform(std::optional<int> scale, TSize mustFit);
