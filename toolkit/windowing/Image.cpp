#include "toolkit/windowing/Image.h"

#include "toolkit/graphics/Canvas.h"

TImage::TImage(TComponent* owner) : TGraphicControl(owner)
{
    SetBounds(0, 0, 105, 105);
    picture_.OnChange = [this](TObject*) { Invalidate(); };
}

void TImage::Paint()
{
    if (!picture_.Empty())
        Canvas().Draw(0, 0, picture_);
}

TLabel::TLabel(TComponent* owner) : TGraphicControl(owner)
{
    SetBounds(0, 0, 65, 17);
    SetParentColor(true);
}

void TLabel::SetAutoSize(bool autoSize)
{
    if (autoSize == autoSize_)
        return;
    autoSize_ = autoSize;
    AdjustBounds();
}

void TLabel::SetTransparent(bool transparent)
{
    if (transparent == transparent_)
        return;
    transparent_ = transparent;
    Invalidate();
}

void TLabel::SetShowAccelChar(bool show)
{
    if (show == showAccelChar_)
        return;
    showAccelChar_ = show;
    AdjustBounds();
    Invalidate();
}

unsigned TLabel::TextFlags() const
{
    return DT_LEFT | DT_EXPANDTABS | DT_SINGLELINE | (showAccelChar_ ? 0u : unsigned{DT_NOPREFIX});
}

void TLabel::Paint()
{
    TCanvas& canvas = Canvas();
    if (!transparent_) {
        canvas.Brush.Color = Color();
        canvas.FillRect(ClientRect());
    }
    canvas.Brush.Style = TBrushStyle::bsClear;
    canvas.Font().Assign(Font());
    if (!Enabled())
        canvas.Font().SetColor(clGrayText);
    TRect r = ClientRect();
    canvas.DrawText(Caption(), r, TextFlags());
}

void TLabel::Loaded()
{
    TGraphicControl::Loaded();
    AdjustBounds();
}

void TLabel::TextChanged()
{
    AdjustBounds();
    Invalidate();
}

void TLabel::FontChanged()
{
    AdjustBounds();
    Invalidate();
}

void TLabel::AdjustBounds()
{
    if (IsLoading() || !autoSize_)
        return;
    // Measuring needs only a canvas with the font; no surface is touched.
    TCanvas measure;
    measure.Font().Assign(Font());
    TRect r{0, 0, 0, 0};
    measure.DrawText(Caption().empty() ? " " : Caption(), r, TextFlags() | DT_CALCRECT);
    SetBounds(Left(), Top(), r.Right, r.Bottom);
}
