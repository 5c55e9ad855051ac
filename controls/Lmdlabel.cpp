#include "controls/Lmdlabel.h"

#include "controls/LmdDrawing.h"

#include <cctype>

namespace {

unsigned AlignmentOptions(TLMDAlignment alignment)
{
    switch (alignment) {
    case TLMDAlignment::agTopLeft: return 0;
    case TLMDAlignment::agTopCenter: return DT_CENTER;
    case TLMDAlignment::agTopRight: return DT_RIGHT;
    case TLMDAlignment::agCenterLeft: return DT_VCENTER | DT_SINGLELINE;
    case TLMDAlignment::agCenter: return DT_VCENTER | DT_CENTER | DT_SINGLELINE;
    case TLMDAlignment::agCenterRight: return DT_VCENTER | DT_RIGHT | DT_SINGLELINE;
    case TLMDAlignment::agBottomLeft: return DT_BOTTOM | DT_SINGLELINE;
    case TLMDAlignment::agBottomCenter: return DT_BOTTOM | DT_CENTER | DT_SINGLELINE;
    case TLMDAlignment::agBottomRight: return DT_BOTTOM | DT_RIGHT | DT_SINGLELINE;
    }
    return 0;
}

} // namespace

bool IsAccel(char key, std::string_view caption)
{
    const auto amp = caption.find('&');
    if (amp == std::string_view::npos || amp + 1 >= caption.size())
        return false;
    return std::toupper(static_cast<unsigned char>(caption[amp + 1])) == std::toupper(static_cast<unsigned char>(key));
}

TLMDCustomLabel::TLMDCustomLabel(TComponent* owner) : TLMDCaptionControl(owner)
{
    // A new label follows its parent's colour until it is given one.
    SetColor(clWindow);
    SetParentColor(true);
    SetControlStyle(ControlStyle() | csOpaque);
}

void TLMDCustomLabel::SetShowAccelChar(bool show)
{
    if (show == showAccelChar_)
        return;
    showAccelChar_ = show;
    Invalidate();
}

void TLMDCustomLabel::SetAlignment(TLMDAlignment alignment)
{
    if (alignment == alignment_)
        return;
    alignment_ = alignment;
    Invalidate();
}

void TLMDCustomLabel::SetAutoSize(bool autoSize)
{
    if (autoSize == autoSize_)
        return;
    autoSize_ = autoSize;
    AdjustBounds();
}

void TLMDCustomLabel::SetMultiLine(bool multiLine)
{
    if (multiLine == multiLine_)
        return;
    multiLine_ = multiLine;
    AdjustBounds();
}

void TLMDCustomLabel::SetTransparent(bool transparent)
{
    if (transparent == transparent_)
        return;
    transparent_ = transparent;
    if (transparent_)
        SetControlStyle(ControlStyle() & static_cast<TControlStyle>(~csOpaque));
    else
        SetControlStyle(ControlStyle() | csOpaque);
    Invalidate();
}

bool TLMDCustomLabel::IsEmpty() const
{
    return transparent_ && IsBlank(CaptionPart(Caption())) && Bevel().BevelExtent() == 0;
}

void TLMDCustomLabel::BevelChanged()
{
    AdjustBounds();
    Invalidate();
}

void TLMDCustomLabel::TextChanged()
{
    Invalidate();
    AdjustBounds();
}

void TLMDCustomLabel::Notification(TComponent* component, TOperation operation)
{
    TLMDCaptionControl::Notification(component, operation);
    if (operation == TOperation::opRemove && component == focusControl_)
        focusControl_ = nullptr;
}

bool TLMDCustomLabel::DialogChar(char key)
{
    if (showAccelChar_ && focusControl_ && Enabled() && IsAccel(key, Caption()) && focusControl_->CanFocus()) {
        focusControl_->SetFocus();
        return true;
    }
    return false;
}

void TLMDCustomLabel::AdjustBounds()
{
    if (IsLoading() || !autoSize_)
        return;
    TRect r = ClientRect();
    CalcCaptionRect(r, Caption(), FontFx(), Font(), multiLine_, showAccelChar_, Bevel().BevelExtent());
    SetBounds(Left(), Top(), r.Right, r.Bottom);
}

void TLMDCustomLabel::Paint()
{
    if (IsEmpty()) {
        TLMDGraphicControl::Paint();
        return;
    }
    TCanvas& canvas = Canvas();
    TRect r = ClientRect();
    if (!transparent_) {
        canvas.Brush.Color = Color();
        canvas.Brush.Style = TBrushStyle::bsSolid;
        canvas.FillRect(r);
    }
    r = Bevel().PaintBevel(canvas, r, transparent_);
    canvas.Brush.Style = TBrushStyle::bsClear;
    canvas.SetFont(Font());
    DrawCaption(r, alignment_);
}

void TLMDCustomLabel::DrawCaption(TRect& r, TLMDAlignment alignment)
{
    TCanvas& canvas = Canvas();
    const TLMDFxCaption& fx = FontFx();
    unsigned options = DT_WORDBREAK | DT_EXPANDTABS;
    canvas.SetClipRect(r);
    const std::string_view text = CaptionPart(Caption());
    if (fx.Angle() != 0 || !showAccelChar_)
        options |= DT_NOPREFIX;

    TRect origin;
    if (fx.Angle() != 0) {
        // The position counts from the control's corner, not from r.
        origin = {fx.PosX(), fx.PosY(), r.Right, r.Bottom};
    } else {
        options |= AlignmentOptions(alignment);
        if (fx.PosX() != 0 || fx.PosY() != 0) {
            r.Left += fx.PosX();
            r.Top += fx.PosY();
        }
        origin = r;
    }

    TColor color = Font().Color();
    if (!Enabled())
        color = clGrayText;
    else if (fx.Style() == TLMDThreeDStyle::tdPColorSunken || fx.Style() == TLMDThreeDStyle::tdPColorRaised)
        color = Color();
    DrawFx(text, canvas, fx, color, options, r, origin);
}
