#include "toolkit/windowing/WinControl.h"

#include "toolkit/windowing/Form.h"

#include <algorithm>

TWinControl::TWinControl(TComponent* owner) : TControl(owner)
{
    SetControlStyle(ControlStyle() | csAcceptsControls);
}

TWinControl::~TWinControl()
{
    if (TForm* form = ParentForm()) {
        if (form->ActiveControl() == this)
            form->SetActiveControl(nullptr);
    }
    // Children owned elsewhere outlive this parent only as orphans.
    for (TControl* control : controls_)
        control->parent_ = nullptr;
}

void TWinControl::InsertControl(TControl* control)
{
    controls_.push_back(control);
    control->parent_ = this;
}

void TWinControl::RemoveControl(TControl* control)
{
    if (TForm* form = ParentForm()) {
        if (form->CaptureControl() == control)
            form->SetCaptureControl(nullptr);
        if (form->ActiveControl() == control)
            form->SetActiveControl(nullptr);
    }
    std::erase(controls_, control);
    control->parent_ = nullptr;
}

TControl* TWinControl::ControlAtPos(TPoint p) const
{
    // Windowed children lie above the windowless ones; later ones above earlier.
    for (bool windowed : {true, false}) {
        for (auto it = controls_.rbegin(); it != controls_.rend(); ++it) {
            TControl* control = *it;
            if ((dynamic_cast<TWinControl*>(control) != nullptr) != windowed)
                continue;
            if (control->Visible() && control->Enabled() && control->BoundsRect().Contains(p))
                return control;
        }
    }
    return nullptr;
}

void TWinControl::PaintTree(TPixmap& target, const TRect& clip)
{
    TRect area = VisibleWindowRect().Intersect(clip);
    if (area.IsEmpty())
        return;
    PrepareCanvas(target, area);
    PaintNow();
    for (bool windowed : {false, true}) {
        for (TControl* control : controls_) {
            auto* child = dynamic_cast<TWinControl*>(control);
            if ((child != nullptr) != windowed)
                continue;
            if (child) {
                child->PaintTree(target, area);
                continue;
            }
            TRect childArea = control->VisibleWindowRect().Intersect(area);
            if (childArea.IsEmpty())
                continue;
            control->PrepareCanvas(target, childArea);
            control->PaintNow();
        }
    }
}

void TWinControl::SetCtl3D(bool ctl3D)
{
    if (ctl3D == ctl3D_)
        return;
    ctl3D_ = ctl3D;
    parentCtl3D_ = false;
    Invalidate();
}

bool TWinControl::Focused() const
{
    TForm* form = ParentForm();
    return form && form->ActiveControl() == this;
}

bool TWinControl::CanFocus() const
{
    for (const TControl* control = this; control; control = control->Parent()) {
        if (!control->Visible() || !control->Enabled())
            return false;
    }
    return ParentForm() != nullptr;
}

void TWinControl::SetFocus()
{
    if (TForm* form = ParentForm())
        form->SetActiveControl(this);
}

void TWinControl::KeyDown(std::uint16_t& key, TShiftState shift)
{
    if (OnKeyDown)
        OnKeyDown(this, key, shift);
}

void TWinControl::KeyUp(std::uint16_t& key, TShiftState shift)
{
    if (OnKeyUp)
        OnKeyUp(this, key, shift);
}

void TWinControl::FocusGained()
{
    if (OnEnter)
        OnEnter(this);
}

void TWinControl::FocusLost()
{
    if (OnExit)
        OnExit(this);
}

void TWinControl::FontChanged()
{
    TControl::FontChanged();
    for (TControl* control : controls_)
        control->ParentFontChanged();
}

void TWinControl::ColorChanged()
{
    TControl::ColorChanged();
    for (TControl* control : controls_)
        control->ParentColorChanged();
}
