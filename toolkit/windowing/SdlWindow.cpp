#include "toolkit/windowing/SdlWindow.h"

#include "toolkit/graphics/Exceptions.h"
#include "toolkit/windowing/Form.h"
#include "toolkit/windowing/SdlDesktop.h"

#include <algorithm>

TSdlWindow::TSdlWindow(
    TForm& form, bool bordered, TDesktopScale scale, TSdlDesktop& desktop, std::function<void(TSdlWindow&)> forget)
    : form_(form), scale_(scale), desktop_(desktop), forget_(std::move(forget))
{
    Uint32 flags = SDL_WINDOW_HIDDEN | (bordered ? 0u : unsigned{SDL_WINDOW_BORDERLESS}) | desktop_.WindowFlags();
    const TRect screen = scale_.ToScreen(form.BoundsRect());
    window_ =
        SDL_CreateWindow("", screen.Left, screen.Top, std::max(screen.Width(), 1), std::max(screen.Height(), 1), flags);
    if (!window_)
        throw EPlatformError(std::string("Unable to create a window: ") + SDL_GetError());
    id_ = SDL_GetWindowID(window_);
    desktop_.Adopt(window_, *this);
}

TSdlWindow::~TSdlWindow()
{
    if (forget_)
        forget_(*this);
    if (displayGone_)
        return;
    desktop_.Release(window_);
    SDL_DestroyWindow(window_);
}

void TSdlWindow::SetTitle(const std::string& title)
{
    if (displayGone_)
        return;
    SDL_SetWindowTitle(window_, title.c_str());
}

void TSdlWindow::SetBounds(const TRect& logicalRect)
{
    if (displayGone_)
        return;
    const TRect screenRect = scale_.ToScreen(logicalRect);
    const TPoint corner = TPoint{screenRect.Left, screenRect.Top} + withinPixel_;
    int x = 0;
    int y = 0;
    int w = 0;
    int h = 0;
    SDL_GetWindowPosition(window_, &x, &y);
    SDL_GetWindowSize(window_, &w, &h);
    if (x != corner.X || y != corner.Y)
        desktop_.Move(window_, corner);
    if (w != screenRect.Width() || h != screenRect.Height())
        SDL_SetWindowSize(window_, std::max(screenRect.Width(), 1), std::max(screenRect.Height(), 1));
}

TPoint TSdlWindow::PlaceCorner(TPoint screenCorner)
{
    withinPixel_ = scale_.WithinPixel(screenCorner);
    return scale_.FromScreen(screenCorner);
}

bool TSdlWindow::DragsWindowAt(TPoint inWindow) const
{
    return form_.DragsWindowAt(scale_.FromScreen(inWindow));
}

TPoint TSdlWindow::ScreenCorner() const
{
    return scale_.ToScreen(TPoint{form_.Left(), form_.Top()}) + withinPixel_;
}

void TSdlWindow::Show()
{
    if (displayGone_)
        return;
    desktop_.Show(window_);
}

void TSdlWindow::Hide()
{
    if (displayGone_)
        return;
    SDL_HideWindow(window_);
}

void TSdlWindow::Raise()
{
    if (displayGone_)
        return;
    SDL_RaiseWindow(window_);
}

void TSdlWindow::Minimize()
{
    if (displayGone_)
        return;
    SDL_MinimizeWindow(window_);
}

void TSdlWindow::Restore()
{
    if (displayGone_)
        return;
    SDL_RestoreWindow(window_);
}

bool TSdlWindow::IsMinimized() const
{
    if (displayGone_)
        return false;
    return (SDL_GetWindowFlags(window_) & SDL_WINDOW_MINIMIZED) != 0;
}

void TSdlWindow::SetCapture(bool capture)
{
    if (displayGone_)
        return;
    SDL_CaptureMouse(capture ? SDL_TRUE : SDL_FALSE);
}

void TSdlWindow::Present(const TPixmap& backBuffer, const TRect& area)
{
    if (displayGone_)
        return;
    TRect visible = area.Intersect(backBuffer.Bounds());
    if (visible.IsEmpty())
        return;
    if (desktop_.Present(window_, backBuffer, visible, scale_.Factor))
        return;
    SDL_Surface* screen = SDL_GetWindowSurface(window_);
    if (!screen)
        return;
    // Scaled, only the area is grown into pixels of its own; unscaled, the
    // back buffer itself is the source.
    TPixmap grown;
    const TPixmap* pixels = &backBuffer;
    TRect from = visible;
    if (scale_.Factor != 1) {
        grown = ScaledUp(backBuffer, visible, scale_.Factor);
        pixels = &grown;
        from = grown.Bounds();
    }
    // The pixels already hold red in the low byte: wrap, don't convert.
    SDL_Surface* source = SDL_CreateRGBSurfaceWithFormatFrom(const_cast<TPixel*>(pixels->Data()), pixels->Width(),
        pixels->Height(), 32, pixels->Width() * 4, SDL_PIXELFORMAT_XBGR8888);
    if (!source)
        return;
    const TRect to = scale_.ToScreen(visible);
    SDL_Rect sourceRect{from.Left, from.Top, from.Width(), from.Height()};
    SDL_Rect targetRect{to.Left, to.Top, to.Width(), to.Height()};
    SDL_BlitSurface(source, &sourceRect, screen, &targetRect);
    SDL_FreeSurface(source);
    // The blit wrote its clipped rectangle back; the update wants the whole.
    targetRect = {to.Left, to.Top, to.Width(), to.Height()};
    SDL_UpdateWindowSurfaceRects(window_, &targetRect, 1);
}

void TSdlWindow::SetAcceptsDrops(bool accept)
{
    if (displayGone_)
        return;
    desktop_.SetAcceptsDrops(window_, accept);
}

void TSdlWindow::SetModalFor(TPlatformWindow* owner)
{
    if (displayGone_)
        return;
    auto* ownerWindow = dynamic_cast<TSdlWindow*>(owner);
    desktop_.SetModalFor(window_, ownerWindow ? ownerWindow->window_ : nullptr);
}
