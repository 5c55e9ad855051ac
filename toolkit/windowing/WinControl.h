#pragma once

#include "toolkit/windowing/Control.h"

#include <vector>

// A control that holds child controls and can take the keyboard focus.
// Its windowless children are drawn first, in the order they were added,
// then its windowed children above them.
class TWinControl : public TControl {
public:
    explicit TWinControl(TComponent* owner);
    ~TWinControl() override;
    const char* ClassName() const override { return "TWinControl"; }

    int ControlCount() const { return static_cast<int>(controls_.size()); }
    TControl* Controls(int index) const { return controls_.at(static_cast<std::size_t>(index)); }
    void InsertControl(TControl* control);
    void RemoveControl(TControl* control);

    // The child that receives the mouse at p (client coordinates): the
    // topmost visible one whose rectangle holds p; disabled ones are passed
    // over so the event reaches what lies beneath.
    TControl* ControlAtPos(TPoint p) const;

    // Draws this control and its children, within clip (window coordinates).
    void PaintTree(TPixmap& target, const TRect& clip);

    bool TabStop() const { return tabStop_; }
    void SetTabStop(bool tabStop) { tabStop_ = tabStop; }
    int TabOrder() const { return tabOrder_; }
    void SetTabOrder(int tabOrder) { tabOrder_ = tabOrder; }
    bool Ctl3D() const { return ctl3D_; }
    void SetCtl3D(bool ctl3D);
    bool ParentCtl3D() const { return parentCtl3D_; }
    void SetParentCtl3D(bool parentCtl3D) { parentCtl3D_ = parentCtl3D; }

    bool Focused() const;
    // Showing, enabled, and every parent enabled.
    virtual bool CanFocus() const;
    void SetFocus();

    TNotifyEvent OnEnter;
    TNotifyEvent OnExit;
    TKeyEvent OnKeyDown;
    TKeyEvent OnKeyUp;

    // Keyboard input while focused; key is a virtual key code.
    virtual void KeyDown(std::uint16_t& key, TShiftState shift);
    virtual void KeyUp(std::uint16_t& key, TShiftState shift);
    // Whether the arrow keys come to the control instead of moving the focus.
    virtual bool WantsArrows() const { return false; }
    // The window's focus came to or left this control.
    virtual void FocusGained();
    virtual void FocusLost();

protected:
    void FontChanged() override;
    void ColorChanged() override;

private:
    std::vector<TControl*> controls_;
    bool tabStop_ = false;
    int tabOrder_ = -1;
    bool ctl3D_ = true;
    bool parentCtl3D_ = true;
};
