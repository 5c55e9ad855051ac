#pragma once

#include "controls/TimerSpeedButton.h"
#include "toolkit/windowing/WinControl.h"

#include <cstdint>
#include <string>

// Two stacked arrow buttons: a click on the upper half raises OnUpClick, on
// the lower half OnDownClick, both with the spin button as sender; a held
// half repeats its click. The halves share one row: at a height of 25 the
// upper half has rows 0..11 and the lower half rows 11..24. The width is at
// least 15 pixels.
//
// With TabStop the spin button takes the keyboard focus when a half is
// pressed (or gives it to FocusControl) and answers Space (click the focused
// half), Up and Down (focus and click that half).
class TSpinButton : public TWinControl {
public:
    static constexpr int MinimumWidth = 15;

    explicit TSpinButton(TComponent* owner);
    ~TSpinButton() override;
    const char* ClassName() const override { return "TSpinButton"; }

    // Either half's glyph; an empty bitmap brings the built-in arrow back.
    const TBitmap& UpGlyph() const;
    void SetUpGlyph(const TBitmap& glyph);
    const TBitmap& DownGlyph() const;
    void SetDownGlyph(const TBitmap& glyph);

    // The windowed control that takes the keyboard focus when a half is
    // pressed; null for none.
    TWinControl* FocusControl() const { return focusControl_; }
    void SetFocusControl(TWinControl* control);
    // A layout names the control, which may come later in it; the name is
    // looked up among the owner's components once the layout is read.
    void SetFocusControlName(std::string name) { focusControlName_ = std::move(name); }

    TTimerSpeedButton* UpButton() const { return upButton_; }
    TTimerSpeedButton* DownButton() const { return downButton_; }
    // The half that shows the focus rectangle and that Space clicks.
    TTimerSpeedButton* FocusedButton() const { return focusedButton_; }

    TNotifyEvent OnUpClick;
    TNotifyEvent OnDownClick;

    void Loaded() override;
    void SetBounds(int left, int top, int width, int height) override;
    void KeyDown(std::uint16_t& key, TShiftState shift) override;
    bool WantsArrows() const override { return true; }
    void FocusGained() override;
    void FocusLost() override;
    void Paint() override;

protected:
    void Notification(TComponent* component, TOperation operation) override;

private:
    TTimerSpeedButton* CreateButton();
    void ButtonClick(TObject* sender);
    void ButtonMouseDown(TObject* sender, TMouseButton button, TShiftState shift, int x, int y);
    void SetFocusedButton(TTimerSpeedButton* button);
    // Lays the halves out for a width and height, widening a width below
    // the minimum in place; does nothing while loading or before the halves
    // exist.
    void LayoutButtons(int& width, int& height);

    TTimerSpeedButton* upButton_ = nullptr; // owned as components
    TTimerSpeedButton* downButton_ = nullptr;
    TTimerSpeedButton* focusedButton_ = nullptr;
    TWinControl* focusControl_ = nullptr;
    std::string focusControlName_;
};

// Declares TSpinButton to the window layouts.
void RegisterSpin();
