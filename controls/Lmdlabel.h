#pragma once

#include "controls/LmdCaptionControl.h"
#include "toolkit/windowing/WinControl.h"

#include <cstdint>
#include <string>

// Placement of horizontal text in the label's inner rectangle. The three
// top placements wrap at word boundaries; the others draw one line.
enum class TLMDAlignment : std::uint8_t {
    agTopLeft,
    agTopCenter,
    agTopRight,
    agCenterLeft,
    agCenter,
    agCenterRight,
    agBottomLeft,
    agBottomCenter,
    agBottomRight,
};

// A windowless label drawing its caption sunken, raised or shadowed, and
// rotated counter-clockwise when FontFx.Angle is not 0; framed by its
// bevel, filling its background unless Transparent, sizing itself to its
// caption when AutoSize, and handing the focus to FocusControl when its
// accelerator is pressed.
class TLMDCustomLabel : public TLMDCaptionControl {
public:
    explicit TLMDCustomLabel(TComponent* owner);
    const char* ClassName() const override { return "TLMDCustomLabel"; }

    bool ShowAccelChar() const { return showAccelChar_; }
    void SetShowAccelChar(bool show);
    TLMDAlignment Alignment() const { return alignment_; }
    void SetAlignment(TLMDAlignment alignment);
    bool AutoSize() const { return autoSize_; }
    void SetAutoSize(bool autoSize);
    // Not owned; forgotten when that control is removed.
    TWinControl* FocusControl() const { return focusControl_; }
    void SetFocusControl(TWinControl* control) { focusControl_ = control; }
    // Wrap the caption when sizing the label to it.
    bool MultiLine() const { return multiLine_; }
    void SetMultiLine(bool multiLine);
    bool Transparent() const { return transparent_; }
    void SetTransparent(bool transparent);

    // Transparent, a blank caption and no frame: nothing to draw.
    bool IsEmpty() const override;
    void Paint() override;
    bool DialogChar(char key) override;
    void Notification(TComponent* component, TOperation operation) override;

protected:
    void BevelChanged() override;
    void TextChanged() override;

    // Sizes the label to its caption when AutoSize, except while the label
    // is read from a window layout.
    void AdjustBounds();
    // Draws the caption into r (inner rectangle, control coordinates). The
    // canvas stays clipped to r for the rest of the repaint.
    void DrawCaption(TRect& r, TLMDAlignment alignment);

private:
    bool showAccelChar_ = true;
    TLMDAlignment alignment_ = TLMDAlignment::agTopLeft;
    bool autoSize_ = true;
    TWinControl* focusControl_ = nullptr;
    bool multiLine_ = false;
    bool transparent_ = false;
};

// The effect label as window layouts know it.
class TLMDLabel : public TLMDCustomLabel {
public:
    using TLMDCustomLabel::TLMDCustomLabel;
    const char* ClassName() const override { return "TLMDLabel"; }
};

// Whether key is the accelerator of caption: the character after its first
// "&" (which must not end it), letter case ignored.
bool IsAccel(char key, std::string_view caption);

// Declares TLMDLabel, its bases and its sub-objects (TLMDBevel,
// TLMD3DCaption, TLMDFxCaption) for window layouts.
void RegisterLmdlabel();
