#pragma once

#include "toolkit/windowing/Form.h"

// The modal message box: the caption as the window title, an icon, the
// text and an OK button. Enter, Escape, Space or a click on OK close it.
// A word too wide for the box, such as a long path, goes on lines of its
// own, and one too long for a few lines loses its middle.
class TMessageForm : public TForm {
public:
    TMessageForm(TComponent* owner, std::string text, const std::string& caption, unsigned flags);
    const char* ClassName() const override { return "TMessageForm"; }

    const std::string& MessageText() const { return text_; }
    void Paint() override;
    void KeyDown(std::uint16_t& key, TShiftState shift) override;

protected:
    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
    void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;

private:
    TRect ButtonRect() const;
    void PaintIcon(TCanvas& canvas, TPoint at);

    std::string text_;
    std::string shown_; // text_ with its long words broken or shortened
    unsigned flags_;
    TRect textRect_;
    bool pressed_ = false;
};
