#include "controls/Spin.h"

#include "toolkit/graphics/Exceptions.h"
#include "toolkit/graphics/Resources.h"
#include "toolkit/windowing/ClassRegistry.h"

namespace {

// The arrows every spin button starts with, embedded as SpinUp.bmp and
// SpinDown.bmp (9 by 6, one image each).
void LoadBuiltInGlyph(TSpeedButton& button, const std::string& name)
{
    auto bytes = FindEmbeddedFile(name + ".bmp");
    if (bytes.empty())
        throw EInvalidOperation("The built-in glyph " + name + " is not embedded");
    TBitmap glyph;
    glyph.LoadFromMemory(bytes);
    button.SetGlyph(glyph);
    button.SetNumGlyphs(1);
}

} // namespace

TSpinButton::TSpinButton(TComponent* owner) : TWinControl(owner)
{
    SetControlStyle(static_cast<TControlStyle>((ControlStyle() & ~(csAcceptsControls | csSetCaption)) | csOpaque));
    upButton_ = CreateButton();
    downButton_ = CreateButton();
    LoadBuiltInGlyph(*upButton_, "SpinUp");
    LoadBuiltInGlyph(*downButton_, "SpinDown");
    SetBounds(Left(), Top(), 20, 25);
    focusedButton_ = upButton_;
}

TSpinButton::~TSpinButton()
{
    // The halves die orphaned, after this window is gone; a capture they
    // hold must not outlive them.
    for (TTimerSpeedButton* button : {upButton_, downButton_})
        button->SetMouseCapture(false);
}

TTimerSpeedButton* TSpinButton::CreateButton()
{
    auto* button = TComponent::Create<TTimerSpeedButton>(this);
    button->OnClick = [this](TObject* sender) { ButtonClick(sender); };
    button->OnMouseDown = [this](TObject* sender, TMouseButton mouseButton, TShiftState shift, int x, int y) {
        ButtonMouseDown(sender, mouseButton, shift, x, y);
    };
    button->SetAllowRepeat(true);
    button->SetShowFocusRect(false);
    button->SetNumGlyphs(1);
    button->SetParent(this);
    return button;
}

const TBitmap& TSpinButton::UpGlyph() const
{
    return upButton_->Glyph();
}

void TSpinButton::SetUpGlyph(const TBitmap& glyph)
{
    if (!glyph.Empty()) {
        upButton_->SetGlyph(glyph);
        return;
    }
    LoadBuiltInGlyph(*upButton_, "SpinUp");
    upButton_->Invalidate();
}

const TBitmap& TSpinButton::DownGlyph() const
{
    return downButton_->Glyph();
}

void TSpinButton::SetDownGlyph(const TBitmap& glyph)
{
    if (!glyph.Empty()) {
        downButton_->SetGlyph(glyph);
        return;
    }
    LoadBuiltInGlyph(*downButton_, "SpinDown");
    downButton_->Invalidate();
}

void TSpinButton::SetFocusControl(TWinControl* control)
{
    focusControl_ = control;
    focusControlName_.clear();
}

void TSpinButton::Notification(TComponent* component, TOperation operation)
{
    TWinControl::Notification(component, operation);
    if (operation == TOperation::opRemove && component == focusControl_)
        focusControl_ = nullptr;
}

void TSpinButton::Loaded()
{
    TWinControl::Loaded();
    if (!focusControlName_.empty()) {
        TComponent* named = Owner() ? Owner()->FindComponent(focusControlName_) : nullptr;
        auto* control = dynamic_cast<TWinControl*>(named);
        if (!control)
            throw ELayoutError(Name() + ".FocusControl: no windowed control named '" + focusControlName_ + "'");
        SetFocusControl(control);
    }
    int width = Width();
    int height = Height();
    LayoutButtons(width, height);
    if (width != Width() || height != Height())
        SetBounds(Left(), Top(), width, height);
}

// Every size change of this toolkit comes through here, so the halves
// follow the size without a handler of their own.
void TSpinButton::SetBounds(int left, int top, int width, int height)
{
    LayoutButtons(width, height);
    TWinControl::SetBounds(left, top, width, height);
}

void TSpinButton::LayoutButtons(int& width, int& height)
{
    if (IsLoading() || !upButton_ || !downButton_)
        return;
    if (width < MinimumWidth)
        width = MinimumWidth;
    upButton_->SetBounds(0, 0, width, height / 2);
    // The lower half starts on the upper half's last row.
    downButton_->SetBounds(0, upButton_->Height() - 1, width, height - upButton_->Height() + 1);
}

void TSpinButton::ButtonClick(TObject* sender)
{
    TNotifyEvent& event = sender == upButton_ ? OnUpClick : OnDownClick;
    if (event)
        event(this);
}

void TSpinButton::ButtonMouseDown(TObject* sender, TMouseButton button, TShiftState, int, int)
{
    if (button != TMouseButton::mbLeft)
        return;
    SetFocusedButton(sender == upButton_ ? upButton_ : downButton_);
    if (focusControl_ && focusControl_->TabStop() && focusControl_->CanFocus() && !focusControl_->Focused())
        focusControl_->SetFocus();
    else if (TabStop() && !Focused() && CanFocus())
        SetFocus();
}

void TSpinButton::SetFocusedButton(TTimerSpeedButton* button)
{
    if (!TabStop() || !CanFocus() || button == focusedButton_)
        return;
    focusedButton_->SetShowFocusRect(false);
    focusedButton_ = button;
    if (Focused()) {
        focusedButton_->SetShowFocusRect(true);
        Invalidate();
    }
}

void TSpinButton::KeyDown(std::uint16_t& key, TShiftState)
{
    switch (key) {
    case vkSpace: focusedButton_->Click(); break;
    case vkUp:
        SetFocusedButton(upButton_);
        upButton_->Click();
        break;
    case vkDown:
        SetFocusedButton(downButton_);
        downButton_->Click();
        break;
    default: break;
    }
}

void TSpinButton::FocusGained()
{
    focusedButton_->SetShowFocusRect(true);
    focusedButton_->Invalidate();
    TWinControl::FocusGained();
}

void TSpinButton::FocusLost()
{
    focusedButton_->SetShowFocusRect(false);
    focusedButton_->Invalidate();
    TWinControl::FocusLost();
}

void TSpinButton::Paint()
{
    // The halves cover every pixel; this only shows while they are hidden.
    Canvas().Brush.Color = clBtnFace;
    Canvas().FillRect(ClientRect());
}

void RegisterSpin()
{
    // Several callers may ask; the class is declared once.
    if (TClassRegistry::Find("TSpinButton"))
        return;
    TClassBuilder<TSpinButton>("TSpinButton", "TWinControl")
        .Bitmap("DownGlyph", &TSpinButton::SetDownGlyph)
        .Ignored("DragCursor")
        .Ignored("DragMode")
        .Custom("FocusControl",
            [](TSpinButton& spin, const TLayoutValue& value, TLayoutContext& context) {
                if (value.kind != TLayoutValue::Kind::Identifier)
                    context.Fail("a control name is expected");
                spin.SetFocusControlName(value.text);
            })
        .Ignored("PopupMenu")
        .Bitmap("UpGlyph", &TSpinButton::SetUpGlyph)
        .Event("OnDownClick", &TSpinButton::OnDownClick)
        .Ignored("OnDragDrop")
        .Ignored("OnDragOver")
        .Ignored("OnEndDrag")
        .Event("OnUpClick", &TSpinButton::OnUpClick);
}
