#pragma once

#include "toolkit/graphics/Canvas.h"
#include "toolkit/graphics/Color.h"
#include "toolkit/graphics/Font.h"
#include "toolkit/windowing/Component.h"
#include "toolkit/windowing/Input.h"

#include <cstdint>
#include <memory>
#include <string>

class TWinControl;
class TForm;

enum TControlStyleFlag : std::uint16_t {
    csCaptureMouse = 1 << 0,    // a left press captures the mouse until the left release
    csClickEvents = 1 << 1,     // a left press and a release inside raise Click
    csOpaque = 1 << 2,          // paints every pixel of its rectangle
    csAcceptsControls = 1 << 3, // may be the parent of controls in a window layout
    csSetCaption = 1 << 4,
    csDoubleClicks = 1 << 5,
};
using TControlStyle = std::uint16_t;

enum TControlStateFlag : std::uint8_t {
    csLButtonDown = 1 << 0,
    csClicked = 1 << 1, // a left press began on the control
};
using TControlState = std::uint8_t;

enum class TAlign : std::uint8_t { alNone, alTop, alBottom, alLeft, alRight, alClient };

// Virtual key codes as the classic desktop API numbers them, named so that
// its own macros (VK_ESCAPE and the like) never meet them.
enum TVirtualKey : std::uint16_t {
    vkBack = 0x08,
    vkTab = 0x09,
    vkReturn = 0x0D,
    vkEscape = 0x1B,
    vkSpace = 0x20,
    vkLeft = 0x25,
    vkUp = 0x26,
    vkRight = 0x27,
    vkDown = 0x28,
    vkAdd = 0x6B, // on the keypad
    vkSubtract = 0x6D,
    vkVolumeMute = 0xAD,
    vkVolumeDown = 0xAE,
    vkVolumeUp = 0xAF,
    vkMediaNextTrack = 0xB0,
    vkMediaPrevTrack = 0xB1,
    vkMediaStop = 0xB2,
    vkMediaPlayPause = 0xB3,
    vkOemPlus = 0xBB, // "=" and "+" on most layouts
    vkOemComma = 0xBC,
    vkOemMinus = 0xBD,
    vkOemPeriod = 0xBE,
};

// A rectangle on its parent's surface that draws itself and receives the
// mouse events falling on it. Windowless controls (TGraphicControl) draw on
// their parent's surface; windowed ones (TWinControl) hold children and lie
// above their parent's windowless controls. Everything of a top-level window
// is drawn into that window's one back buffer.
class TControl : public TComponent {
public:
    explicit TControl(TComponent* owner);
    ~TControl() override;
    const char* ClassName() const override { return "TControl"; }

    TWinControl* Parent() const { return parent_; }
    virtual void SetParent(TWinControl* parent);
    // The top-level window this control lies on, or null.
    TForm* ParentForm() const;

    int Left() const { return left_; }
    int Top() const { return top_; }
    int Width() const { return width_; }
    int Height() const { return height_; }
    void SetLeft(int left) { SetBounds(left, top_, width_, height_); }
    void SetTop(int top) { SetBounds(left_, top, width_, height_); }
    void SetWidth(int width) { SetBounds(left_, top_, width, height_); }
    void SetHeight(int height) { SetBounds(left_, top_, width_, height); }
    // Position relative to the parent and size, in one step.
    virtual void SetBounds(int left, int top, int width, int height);
    TRect BoundsRect() const { return TRect::FromBounds(left_, top_, width_, height_); }
    TRect ClientRect() const { return {0, 0, width_, height_}; }
    int ClientWidth() const { return width_; }
    int ClientHeight() const { return height_; }

    // Where the control's (0, 0) lies in its window's client area.
    TPoint WindowOrigin() const;
    TPoint ClientToScreen(TPoint p) const;
    TPoint ScreenToClient(TPoint p) const;

    bool Visible() const { return visible_; }
    void SetVisible(bool visible);
    void Show() { SetVisible(true); }
    void Hide() { SetVisible(false); }
    // Visible itself and every parent up to a shown window.
    bool Showing() const;

    bool Enabled() const { return enabled_; }
    void SetEnabled(bool enabled);

    const std::string& Caption() const { return caption_; }
    void SetCaption(std::string caption);
    const std::string& Text() const { return caption_; }
    void SetText(std::string text) { SetCaption(std::move(text)); }

    TColor Color() const { return color_; }
    void SetColor(TColor color);
    bool ParentColor() const { return parentColor_; }
    void SetParentColor(bool parentColor);

    TFont& Font() { return font_; }
    const TFont& Font() const { return font_; }
    void SetFont(const TFont& font) { font_.Assign(font); }
    bool ParentFont() const { return parentFont_; }
    void SetParentFont(bool parentFont);

    TAlign Align() const { return align_; }
    void SetAlign(TAlign align) { align_ = align; }
    bool ShowHint() const { return showHint_; }
    void SetShowHint(bool showHint) { showHint_ = showHint; }
    bool ParentShowHint() const { return parentShowHint_; }
    void SetParentShowHint(bool parentShowHint) { parentShowHint_ = parentShowHint; }

    TControlStyle ControlStyle() const { return controlStyle_; }
    void SetControlStyle(TControlStyle style) { controlStyle_ = style; }
    TControlState ControlState() const { return controlState_; }

    // Whether a left press on the control moves its window: its press
    // handler is one the window registered as dragging it.
    bool DragsWindow() const { return OnMouseDown.target<TWindowDragPress>() != nullptr; }

    TNotifyEvent OnClick;
    TNotifyEvent OnDblClick;
    TMouseEvent OnMouseDown;
    TMouseMoveEvent OnMouseMove;
    TMouseEvent OnMouseUp;

    // Drawing. The canvas is ready (origin at the control's corner, clipped
    // to its visible part) whenever Paint runs.
    TCanvas& Canvas();
    virtual void Paint() { }
    // Marks the control's rectangle for a repaint that the message loop
    // serves (several requests merge into one).
    void Invalidate();
    // Paints the control's rectangle now, everything in it in drawing order.
    void Repaint();
    // Serves this window's pending repaint requests now.
    void Update();
    int PaintCount() const { return paintCount_; }

    // While captured, every mouse event of the window comes to this control.
    bool MouseCapture() const;
    void SetMouseCapture(bool capture);

    // Input as the window delivers it; positions in this control's
    // coordinates. The default handling keeps capture and click state and
    // then calls the overridable handlers below.
    void HandleMouseDown(TMouseButton button, TShiftState shift, int x, int y);
    void HandleMouseMove(TShiftState shift, int x, int y);
    void HandleMouseUp(TMouseButton button, TShiftState shift, int x, int y);

    // A character key offered to the controls as an accelerator; true when
    // taken.
    virtual bool DialogChar(char key)
    {
        (void)key;
        return false;
    }

    // Prepares the canvas for painting into the given back buffer.
    void PrepareCanvas(TPixmap& target, const TRect& clipInWindow);
    void PaintNow(); // counts and runs Paint

protected:
    virtual void Click();
    virtual void DblClick();
    virtual void MouseDown(TMouseButton button, TShiftState shift, int x, int y);
    virtual void MouseMove(TShiftState shift, int x, int y);
    virtual void MouseUp(TMouseButton button, TShiftState shift, int x, int y);

    // Reactions to changes of the control's own state.
    virtual void TextChanged() { Invalidate(); }
    virtual void FontChanged() { Invalidate(); }
    virtual void ColorChanged() { Invalidate(); }
    virtual void EnabledChanged() { Invalidate(); }
    virtual void VisibleChanged() { }
    // The parent's font or colour changed; followed when ParentFont/ParentColor.
    virtual void ParentFontChanged();
    virtual void ParentColorChanged();

    // Disconnects the font's change notification from FontChanged so a
    // subclass can route it elsewhere.
    void SetFontChangeHandler(TNotifyEvent handler) { font_.OnChange = std::move(handler); }

    // The rectangle in the window's client coordinates that this control
    // may draw on (itself clipped by every parent); empty when hidden.
    TRect VisibleWindowRect() const;

    friend class TWinControl;

private:
    TWinControl* parent_ = nullptr;
    int left_ = 0;
    int top_ = 0;
    int width_ = 0;
    int height_ = 0;
    bool visible_ = true;
    bool enabled_ = true;
    std::string caption_;
    TColor color_ = clBtnFace;
    bool parentColor_ = false;
    TFont font_;
    bool parentFont_ = true;
    TAlign align_ = TAlign::alNone;
    bool showHint_ = false;
    bool parentShowHint_ = true;
    TControlStyle controlStyle_ = csCaptureMouse | csClickEvents | csSetCaption | csDoubleClicks;
    TControlState controlState_ = 0;
    std::unique_ptr<TCanvas> canvas_;
    int paintCount_ = 0;
};

// A control without a window of its own: it draws on its parent's surface.
class TGraphicControl : public TControl {
public:
    explicit TGraphicControl(TComponent* owner) : TControl(owner) { }
    const char* ClassName() const override { return "TGraphicControl"; }
};
