#include "toolkit/windowing/MessageForm.h"

#include "toolkit/windowing/Application.h"
#include "toolkit/windowing/Panel.h"

#include <algorithm>

namespace {

constexpr int margin = 12;
constexpr int iconSize = 32;
constexpr TSize buttonSize{75, 23};

} // namespace

TMessageForm::TMessageForm(TComponent* owner, std::string text, const std::string& caption, unsigned flags)
    : TForm(owner), text_(std::move(text)), flags_(flags)
{
    SetBorderStyle(TFormBorderStyle::bsDialog);
    SetPosition(TPosition::poMainFormCenter);
    SetCaption(caption);
    // Lay the text out at most 360 pixels wide, then size the box around it.
    TCanvas measure;
    measure.Font().Assign(Font());
    TRect extent{0, 0, 360, 0};
    measure.DrawText(text_, extent, DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX | DT_EXPANDTABS);
    int left = margin + ((flags_ & MB_ICONERROR) ? iconSize + margin : 0);
    textRect_ = extent.Offset(left, margin + std::max(0, (iconSize - extent.Height()) / 2));
    int width = std::max(textRect_.Right + margin, buttonSize.Width + 2 * margin);
    int height = std::max(textRect_.Bottom, margin + iconSize) + margin + buttonSize.Height + margin;
    SetBounds(0, 0, width, height);
}

TRect TMessageForm::ButtonRect() const
{
    return TRect::FromBounds(
        (Width() - buttonSize.Width) / 2, Height() - margin - buttonSize.Height, buttonSize.Width, buttonSize.Height);
}

void TMessageForm::PaintIcon(TCanvas& canvas, TPoint at)
{
    canvas.Pen.Color = clMaroon;
    canvas.Brush.Color = clRed;
    canvas.Ellipse(TRect::FromBounds(at.X, at.Y, iconSize, iconSize));
    canvas.Pen.Color = clWhite;
    canvas.Pen.Width = 3;
    canvas.MoveTo(at.X + 10, at.Y + 10);
    canvas.LineTo(at.X + 22, at.Y + 22);
    canvas.MoveTo(at.X + 22, at.Y + 10);
    canvas.LineTo(at.X + 10, at.Y + 22);
    canvas.Pen.Width = 1;
}

void TMessageForm::Paint()
{
    TCanvas& canvas = Canvas();
    TForm::Paint();
    if (flags_ & MB_ICONERROR)
        PaintIcon(canvas, {margin, margin});
    canvas.Brush.Style = TBrushStyle::bsClear;
    canvas.Font().SetColor(clWindowText);
    TRect text = textRect_;
    canvas.DrawText(text_, text, DT_WORDBREAK | DT_NOPREFIX | DT_EXPANDTABS);

    TRect button = ButtonRect();
    canvas.Brush.Style = TBrushStyle::bsSolid;
    canvas.Brush.Color = clBtnFace;
    canvas.FillRect(button);
    TRect frame = button;
    if (pressed_) {
        Frame3D(canvas, frame, cl3DDkShadow, cl3DDkShadow, 1);
        Frame3D(canvas, frame, clBtnShadow, clBtnShadow, 1);
    } else {
        Frame3D(canvas, frame, cl3DDkShadow, cl3DDkShadow, 1);
        Frame3D(canvas, frame, clBtnHighlight, clBtnShadow, 1);
    }
    canvas.Brush.Style = TBrushStyle::bsClear;
    TRect label = pressed_ ? button.Offset(1, 1) : button;
    canvas.DrawText("OK", label, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
}

void TMessageForm::KeyDown(std::uint16_t& key, TShiftState shift)
{
    TForm::KeyDown(key, shift);
    if (key == VK_RETURN || key == VK_ESCAPE || key == VK_SPACE) {
        key = 0;
        SetModalResult(mrOk);
    }
}

void TMessageForm::MouseDown(TMouseButton button, TShiftState shift, int x, int y)
{
    TForm::MouseDown(button, shift, x, y);
    if (button == TMouseButton::mbLeft && ButtonRect().Contains({x, y})) {
        pressed_ = true;
        Repaint();
    }
}

void TMessageForm::MouseUp(TMouseButton button, TShiftState shift, int x, int y)
{
    TForm::MouseUp(button, shift, x, y);
    if (button != TMouseButton::mbLeft || !pressed_)
        return;
    pressed_ = false;
    Repaint();
    if (ButtonRect().Contains({x, y}))
        SetModalResult(mrOk);
}
