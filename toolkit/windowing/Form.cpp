#include "toolkit/windowing/Form.h"

#include "toolkit/graphics/Exceptions.h"
#include "toolkit/windowing/Application.h"
#include "toolkit/windowing/LayoutReader.h"

#include <string>

TForm::TForm(TComponent* owner) : TWinControl(owner)
{
    SetVisible(false);
    SetColor(clBtnFace);
    SetParentFont(false);
}

TForm::~TForm()
{
    if (OnDestroy)
        OnDestroy(this);
    // The controls go first, while the window they lie on is still whole.
    DestroyComponents();
    if (Application().ModalForm() == this)
        Application().PopModal();
}

void TForm::Paint()
{
    Canvas().Brush.Color = Color();
    Canvas().FillRect(ClientRect());
}

void TForm::LoadLayout(const std::string& resourceName)
{
    ReadLayout(*this, resourceName);
}

void TForm::DoCreate()
{
    if (created_)
        return;
    created_ = true;
    if (OnCreate)
        OnCreate(this);
}

void TForm::SetBounds(int left, int top, int width, int height)
{
    // The back buffer is as large as the window: a side no screen has is a
    // mistake in a layout, refused before it asks for gigabytes.
    if (width > LargestSide || height > LargestSide)
        throw EInvalidOperation("A window of " + std::to_string(width) + " by " + std::to_string(height) +
            " pixels is larger than any screen (at most " + std::to_string(LargestSide) + " a side)");
    TWinControl::SetBounds(left, top, width, height);
    InvalidateRect(ClientRect());
    if (window_)
        window_->SetBounds(BoundsRect());
}

void TForm::EnsureWindow()
{
    if (window_)
        return;
    window_ = Application().Platform().MakeWindow(*this, borderStyle_ != TFormBorderStyle::bsNone);
    window_->SetTitle(Caption());
    window_->SetBounds(BoundsRect());
    UpdateDropTarget();
}

void TForm::PlaceOnScreen()
{
    if (placed_)
        return;
    placed_ = true;
    TForm* main = Application().MainForm();
    if (position_ == TPosition::poMainFormCenter && main && main != this && main->Visible()) {
        SetBounds(main->Left() + (main->Width() - Width()) / 2, main->Top() + (main->Height() - Height()) / 2, Width(),
            Height());
    } else if (position_ == TPosition::poScreenCenter || position_ == TPosition::poMainFormCenter) {
        TSize screen = Application().Platform().ScreenSize();
        SetBounds((screen.Width - Width()) / 2, (screen.Height - Height()) / 2, Width(), Height());
    }
}

void TForm::Show()
{
    PlaceOnScreen();
    EnsureWindow();
    SetVisible(true);
    InvalidateRect(ClientRect());
    PaintPending();
    window_->Show();
    window_->Raise();
    Present();
    if (OnShow)
        OnShow(this);
}

void TForm::Hide()
{
    SetCaptureControl(nullptr);
    SetVisible(false);
    if (window_)
        window_->Hide();
}

void TForm::Close()
{
    if (modal_) {
        modalResult_ = mrCancel;
        return;
    }
    TCloseAction action = TCloseAction::caHide;
    if (OnClose)
        OnClose(this, action);
    if (action == TCloseAction::caNone)
        return;
    if (Application().MainForm() == this) {
        Application().Terminate();
        return;
    }
    switch (action) {
    case TCloseAction::caHide: Hide(); break;
    case TCloseAction::caMinimize:
        if (window_)
            window_->Minimize();
        break;
    case TCloseAction::caFree: Release(); break;
    case TCloseAction::caNone: break;
    }
}

TModalResult TForm::ShowModal()
{
    if (TForm* previous = Application().ModalForm())
        previous->SetCaptureControl(nullptr);
    for (TForm* form : Application().Forms())
        form->SetCaptureControl(nullptr);
    // The window belongs to the one it keeps from input, so the desktop
    // can't bury it under that one.
    TForm* owner = Application().ModalForm() ? Application().ModalForm() : Application().MainForm();
    EnsureWindow();
    window_->SetModalFor(owner && owner != this ? owner->PlatformWindow() : nullptr);
    modalResult_ = mrNone;
    modal_ = true;
    Application().PushModal(this);
    Show();
    try {
        for (;;) {
            while (modalResult_ == mrNone) {
                Application().HandleMessage();
                if (Application().Terminated())
                    modalResult_ = mrCancel;
            }
            TCloseAction action = TCloseAction::caHide;
            if (OnClose)
                OnClose(this, action);
            if (action != TCloseAction::caNone || Application().Terminated())
                break;
            modalResult_ = mrNone;
        }
    } catch (...) {
        Application().PopModal();
        modal_ = false;
        throw;
    }
    Application().PopModal();
    modal_ = false;
    Hide();
    window_->SetModalFor(nullptr);
    return modalResult_;
}

void TForm::Release()
{
    Application().PostRelease(this);
}

const THandler* TForm::FindHandler(const std::string& name) const
{
    auto it = handlers_.find(name);
    return it == handlers_.end() ? nullptr : &it->second;
}

void TForm::InvalidateRect(const TRect& windowRect)
{
    dirty_ = dirty_.Union(windowRect.Intersect(ClientRect()));
}

TPixmap& TForm::BackBuffer()
{
    // Made on the first paint: a window that is never shown, as the options
    // window made at start-up, holds none.
    if (backBuffer_.Width() != Width() || backBuffer_.Height() != Height())
        backBuffer_.Resize(Width(), Height());
    return backBuffer_;
}

void TForm::PaintRect(const TRect& windowRect)
{
    TRect area = windowRect.Intersect(ClientRect());
    if (area.IsEmpty() || IsLoading())
        return;
    // Hidden, nothing is on screen: the area waits for the window to show.
    if (!Visible()) {
        InvalidateRect(area);
        return;
    }
    PaintTree(BackBuffer(), area);
    if (dirty_.Intersect(area) == dirty_)
        dirty_ = {};
    PresentArea(area);
}

void TForm::PaintPending()
{
    if (dirty_.IsEmpty())
        return;
    TRect area = dirty_;
    dirty_ = {};
    PaintTree(BackBuffer(), area);
    PresentArea(area);
}

TPixmap TForm::Snapshot()
{
    dirty_ = {};
    PaintTree(BackBuffer(), ClientRect());
    return backBuffer_;
}

void TForm::Present()
{
    PresentArea(ClientRect());
}

void TForm::PresentArea(const TRect& area)
{
    if (window_ && Visible())
        window_->Present(BackBuffer(), area);
}

namespace {

// The innermost enabled, visible control under p (window coordinates).
TControl* ControlUnder(TWinControl& root, TPoint p)
{
    TWinControl* current = &root;
    for (;;) {
        TControl* child = current->ControlAtPos(p - current->WindowOrigin());
        if (!child)
            return current;
        auto* windowed = dynamic_cast<TWinControl*>(child);
        if (!windowed)
            return child;
        current = windowed;
    }
}

} // namespace

void TForm::DispatchMouseDown(TMouseButton button, TShiftState shift, int x, int y)
{
    if (!TakesInput())
        return;
    TControl* target = capture_ ? capture_ : ControlUnder(*this, {x, y});
    TPoint local = TPoint{x, y} - target->WindowOrigin();
    target->HandleMouseDown(button, shift, local.X, local.Y);
}

void TForm::DispatchMouseMove(TShiftState shift, int x, int y)
{
    if (!TakesInput())
        return;
    TControl* target = capture_ ? capture_ : ControlUnder(*this, {x, y});
    TPoint local = TPoint{x, y} - target->WindowOrigin();
    target->HandleMouseMove(shift, local.X, local.Y);
}

void TForm::DispatchMouseUp(TMouseButton button, TShiftState shift, int x, int y)
{
    if (!TakesInput())
        return;
    TControl* target = capture_ ? capture_ : ControlUnder(*this, {x, y});
    TPoint local = TPoint{x, y} - target->WindowOrigin();
    target->HandleMouseUp(button, shift, local.X, local.Y);
}

bool TForm::DragsWindowAt(TPoint p)
{
    // While a control holds the mouse, presses are its own.
    return TakesInput() && !capture_ && ControlUnder(*this, p)->DragsWindow();
}

void TForm::DispatchKeyDown(std::uint16_t key, TShiftState shift)
{
    if (!TakesInput())
        return;
    TWinControl* target = active_ && active_->CanFocus() ? active_ : this;
    target->KeyDown(key, shift);
    if (key != 0 && target != this)
        KeyDown(key, shift);
}

void TForm::DispatchKeyUp(std::uint16_t key, TShiftState shift)
{
    if (!TakesInput())
        return;
    TWinControl* target = active_ && active_->CanFocus() ? active_ : this;
    target->KeyUp(key, shift);
    if (key != 0 && target != this)
        KeyUp(key, shift);
}

void TForm::DispatchMouseWheel(int notches, TShiftState shift)
{
    if (TakesInput() && OnMouseWheel)
        OnMouseWheel(this, notches, shift);
}

namespace {

bool OfferDialogChar(TWinControl& parent, char key)
{
    for (int i = 0; i < parent.ControlCount(); ++i) {
        TControl* control = parent.Controls(i);
        if (!control->Visible())
            continue;
        if (control->DialogChar(key))
            return true;
        if (auto* windowed = dynamic_cast<TWinControl*>(control); windowed && OfferDialogChar(*windowed, key))
            return true;
    }
    return false;
}

} // namespace

void TForm::DispatchDialogChar(char key)
{
    if (TakesInput())
        OfferDialogChar(*this, key);
}

void TForm::DispatchDropFiles(const std::vector<std::string>& paths)
{
    if (acceptsDrops_ && dropHandler_)
        dropHandler_(paths);
}

void TForm::SetAcceptsDrops(bool accept)
{
    acceptsDrops_ = accept;
    UpdateDropTarget();
}

void TForm::UpdateDropTarget()
{
    if (window_)
        window_->SetAcceptsDrops(acceptsDrops_ && TakesInput());
}

TDropFilesEvent TForm::SetDropHandler(TDropFilesEvent handler)
{
    std::swap(handler, dropHandler_);
    return handler;
}

void TForm::SetCaptureControl(TControl* control)
{
    if (control == capture_)
        return;
    capture_ = control;
    if (window_)
        window_->SetCapture(control != nullptr);
}

void TForm::SetActiveControl(TWinControl* control)
{
    if (control == active_)
        return;
    TWinControl* previous = active_;
    active_ = control;
    if (previous)
        previous->FocusLost();
    if (control)
        control->FocusGained();
}

bool TForm::TakesInput() const
{
    TForm* modal = Application().ModalForm();
    return Enabled() && (!modal || modal == this);
}

void TForm::EnabledChanged()
{
    TWinControl::EnabledChanged();
    UpdateDropTarget();
}

void TForm::TextChanged()
{
    if (window_)
        window_->SetTitle(Caption());
}

void TForm::Notification(TComponent* component, TOperation operation)
{
    TWinControl::Notification(component, operation);
    if (operation != TOperation::opRemove)
        return;
    if (component == capture_)
        SetCaptureControl(nullptr);
    if (component == hover_)
        hover_ = nullptr;
    if (component == active_)
        active_ = nullptr;
}
