#include "toolkit/windowing/Panel.h"

TPanel::TPanel(TComponent* owner) : TWinControl(owner)
{
    SetControlStyle(ControlStyle() | csOpaque);
    SetBounds(0, 0, 185, 41);
}

void TPanel::SetBevelOuter(TPanelBevel bevel)
{
    if (bevel == bevelOuter_)
        return;
    bevelOuter_ = bevel;
    Invalidate();
}

void TPanel::SetBevelInner(TPanelBevel bevel)
{
    if (bevel == bevelInner_)
        return;
    bevelInner_ = bevel;
    Invalidate();
}

void TPanel::SetBevelWidth(int width)
{
    if (width == bevelWidth_ || width < 1)
        return;
    bevelWidth_ = width;
    Invalidate();
}

void TPanel::SetBorderWidth(int width)
{
    if (width == borderWidth_ || width < 0)
        return;
    borderWidth_ = width;
    Invalidate();
}

void TPanel::Paint()
{
    TCanvas& canvas = Canvas();
    TRect r = ClientRect();
    auto frame = [&](TPanelBevel bevel) {
        if (bevel == TPanelBevel::bvNone)
            return;
        if (bevel == TPanelBevel::bvSpace) {
            r = r.Shrink(bevelWidth_);
            return;
        }
        bool raised = bevel == TPanelBevel::bvRaised;
        Frame3D(canvas, r, raised ? clBtnHighlight : clBtnShadow, raised ? clBtnShadow : clBtnHighlight, bevelWidth_);
    };
    canvas.Brush.Color = Color();
    canvas.Brush.Style = TBrushStyle::bsSolid;
    canvas.FillRect(r);
    frame(bevelOuter_);
    r = r.Shrink(borderWidth_);
    frame(bevelInner_);
    if (!Caption().empty()) {
        canvas.Brush.Style = TBrushStyle::bsClear;
        TRect text = ClientRect();
        canvas.DrawText(Caption(), text, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    }
}
