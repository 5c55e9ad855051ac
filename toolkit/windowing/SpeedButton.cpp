#include "toolkit/windowing/SpeedButton.h"

#include "toolkit/windowing/Panel.h"

#include <algorithm>

TSpeedButton::TSpeedButton(TComponent* owner) : TGraphicControl(owner)
{
    SetControlStyle(csCaptureMouse | csDoubleClicks);
    SetBounds(0, 0, 23, 22);
    glyph_.OnChange = [this](TObject*) { Invalidate(); };
}

void TSpeedButton::SetGlyph(const TBitmap& glyph)
{
    glyph_.Assign(glyph);
}

void TSpeedButton::SetNumGlyphs(int count)
{
    count = std::clamp(count, 1, 4);
    if (count == numGlyphs_)
        return;
    numGlyphs_ = count;
    Invalidate();
}

void TSpeedButton::SetFlat(bool flat)
{
    if (flat == flat_)
        return;
    flat_ = flat;
    Invalidate();
}

void TSpeedButton::SetState(TButtonState state)
{
    if (state == state_)
        return;
    state_ = state;
    Invalidate();
}

void TSpeedButton::Click()
{
    TGraphicControl::Click();
}

void TSpeedButton::EnabledChanged()
{
    state_ = Enabled() ? TButtonState::bsUp : TButtonState::bsDisabled;
    Invalidate();
}

void TSpeedButton::MouseDown(TMouseButton button, TShiftState shift, int x, int y)
{
    TGraphicControl::MouseDown(button, shift, x, y);
    if (button == TMouseButton::mbLeft && Enabled()) {
        state_ = TButtonState::bsDown;
        Repaint();
        dragging_ = true;
    }
}

void TSpeedButton::MouseMove(TShiftState shift, int x, int y)
{
    TGraphicControl::MouseMove(shift, x, y);
    if (!dragging_)
        return;
    SetState(IsInside(x, y) ? TButtonState::bsDown : TButtonState::bsUp);
}

void TSpeedButton::MouseUp(TMouseButton button, TShiftState shift, int x, int y)
{
    TGraphicControl::MouseUp(button, shift, x, y);
    if (!dragging_)
        return;
    dragging_ = false;
    bool click = IsInside(x, y);
    state_ = TButtonState::bsUp;
    Repaint();
    if (click)
        Click();
}

void TSpeedButton::PaintFace(TCanvas& canvas)
{
    TRect r = ClientRect();
    canvas.Brush.Style = TBrushStyle::bsSolid;
    canvas.Brush.Color = clBtnFace;
    canvas.FillRect(r);
    bool down = state_ == TButtonState::bsDown || state_ == TButtonState::bsExclusive;
    // Below 12 pixels a bevel would eat the glyph; the face alone shows.
    if (flat_ || Width() < 12 || Height() < 12)
        return;
    if (down) {
        Frame3D(canvas, r, clBtnShadow, clBtnHighlight, 1);
    } else {
        Frame3D(canvas, r, clBtnHighlight, cl3DDkShadow, 1);
        Frame3D(canvas, r, clBtnFace, clBtnShadow, 1);
    }
}

void TSpeedButton::Paint()
{
    TCanvas& canvas = Canvas();
    PaintFace(canvas);
    if (glyph_.Empty())
        return;
    int imageWidth = glyph_.Width() / numGlyphs_;
    int index = 0;
    if (state_ == TButtonState::bsDisabled && numGlyphs_ > 1)
        index = 1;
    else if (state_ == TButtonState::bsDown && numGlyphs_ > 2)
        index = 2;
    TBitmap image(imageWidth, glyph_.Height());
    image.Canvas().CopyRect(image.Pixmap().Bounds(), glyph_.Canvas(),
        TRect::FromBounds(index * imageWidth, 0, imageWidth, glyph_.Height()));
    int offset = state_ == TButtonState::bsDown ? 1 : 0;
    int x = (Width() - imageWidth) / 2 + offset;
    int y = (Height() - glyph_.Height()) / 2 + offset;
    canvas.DrawTransparent(x, y, image, glyph_.TransparentColor());
}
