#include "toolkit/windowing/Control.h"

#include "toolkit/windowing/Form.h"
#include "toolkit/windowing/WinControl.h"

TControl::TControl(TComponent* owner) : TComponent(owner)
{
    font_.OnChange = [this](TObject*) {
        parentFont_ = false;
        FontChanged();
    };
}

TControl::~TControl()
{
    if (TForm* form = ParentForm()) {
        if (form->CaptureControl() == this)
            form->SetCaptureControl(nullptr);
    }
    if (parent_)
        parent_->RemoveControl(this);
}

void TControl::SetParent(TWinControl* parent)
{
    if (parent == parent_)
        return;
    if (parent_) {
        Invalidate();
        parent_->RemoveControl(this);
    }
    if (parent)
        parent->InsertControl(this);
    if (parentFont_)
        ParentFontChanged();
    if (parentColor_)
        ParentColorChanged();
    Invalidate();
}

TForm* TControl::ParentForm() const
{
    const TControl* control = this;
    while (control->parent_)
        control = control->parent_;
    return const_cast<TForm*>(dynamic_cast<const TForm*>(control));
}

void TControl::SetBounds(int left, int top, int width, int height)
{
    if (left == left_ && top == top_ && width == width_ && height == height_)
        return;
    Invalidate();
    left_ = left;
    top_ = top;
    width_ = width;
    height_ = height;
    Invalidate();
}

TPoint TControl::WindowOrigin() const
{
    TPoint origin;
    for (const TControl* control = this; control->parent_; control = control->parent_)
        origin = origin + TPoint{control->left_, control->top_};
    return origin;
}

TPoint TControl::ClientToScreen(TPoint p) const
{
    TPoint window = WindowOrigin() + p;
    if (TForm* form = ParentForm())
        return window + TPoint{form->Left(), form->Top()};
    return window;
}

TPoint TControl::ScreenToClient(TPoint p) const
{
    return p - ClientToScreen({0, 0});
}

void TControl::SetVisible(bool visible)
{
    if (visible == visible_)
        return;
    if (!visible)
        Invalidate();
    visible_ = visible;
    if (visible)
        Invalidate();
    VisibleChanged();
}

bool TControl::Showing() const
{
    for (const TControl* control = this; control; control = control->parent_) {
        if (!control->visible_)
            return false;
    }
    return ParentForm() != nullptr;
}

void TControl::SetEnabled(bool enabled)
{
    if (enabled == enabled_)
        return;
    enabled_ = enabled;
    EnabledChanged();
}

void TControl::SetCaption(std::string caption)
{
    if (caption == caption_)
        return;
    caption_ = std::move(caption);
    TextChanged();
}

void TControl::SetColor(TColor color)
{
    if (color == color_)
        return;
    color_ = color;
    parentColor_ = false;
    ColorChanged();
}

void TControl::SetParentColor(bool parentColor)
{
    if (parentColor == parentColor_)
        return;
    parentColor_ = parentColor;
    if (parentColor_)
        ParentColorChanged();
}

void TControl::SetParentFont(bool parentFont)
{
    if (parentFont == parentFont_)
        return;
    parentFont_ = parentFont;
    if (parentFont_)
        ParentFontChanged();
}

void TControl::ParentFontChanged()
{
    if (!parentFont_ || !parent_)
        return;
    font_.Assign(parent_->Font());
    // Assigning turned the flag off; following the parent keeps it on.
    parentFont_ = true;
}

void TControl::ParentColorChanged()
{
    if (!parentColor_ || !parent_)
        return;
    SetColor(parent_->Color());
    parentColor_ = true;
}

TCanvas& TControl::Canvas()
{
    if (!canvas_)
        canvas_ = std::make_unique<TCanvas>();
    return *canvas_;
}

TRect TControl::VisibleWindowRect() const
{
    TRect rect = TRect::FromBounds(0, 0, width_, height_).Offset(WindowOrigin());
    // A hidden window still paints its back buffer (for snapshots); hidden
    // controls inside it don't.
    for (const TControl* control = this; control->parent_; control = control->parent_) {
        if (!control->visible_)
            return {};
        {
            TRect parentClient = control->parent_->ClientRect().Offset(control->parent_->WindowOrigin());
            rect = rect.Intersect(parentClient);
        }
    }
    return rect;
}

void TControl::Invalidate()
{
    if (IsLoading())
        return;
    if (TForm* form = ParentForm())
        form->InvalidateRect(VisibleWindowRect());
}

void TControl::Repaint()
{
    if (IsLoading())
        return;
    if (TForm* form = ParentForm())
        form->PaintRect(VisibleWindowRect());
}

void TControl::Update()
{
    if (TForm* form = ParentForm())
        form->PaintPending();
}

void TControl::PrepareCanvas(TPixmap& target, const TRect& clipInWindow)
{
    Canvas().Attach(&target, WindowOrigin(), VisibleWindowRect().Intersect(clipInWindow));
    TCanvas& canvas = Canvas();
    canvas.Font().Assign(font_);
    canvas.Brush = {};
    canvas.Pen = {};
    canvas.CopyMode = TCopyMode::cmSrcCopy;
}

void TControl::PaintNow()
{
    ++paintCount_;
    Paint();
}

bool TControl::MouseCapture() const
{
    TForm* form = ParentForm();
    return form && form->CaptureControl() == this;
}

void TControl::SetMouseCapture(bool capture)
{
    TForm* form = ParentForm();
    if (!form)
        return;
    if (capture)
        form->SetCaptureControl(this);
    else if (form->CaptureControl() == this)
        form->SetCaptureControl(nullptr);
}

void TControl::HandleMouseDown(TMouseButton button, TShiftState shift, int x, int y)
{
    if (button == TMouseButton::mbLeft) {
        if (controlStyle_ & csCaptureMouse)
            SetMouseCapture(true);
        controlState_ |= csLButtonDown;
        if (controlStyle_ & csClickEvents)
            controlState_ |= csClicked;
    }
    MouseDown(button, shift, x, y);
}

void TControl::HandleMouseMove(TShiftState shift, int x, int y)
{
    MouseMove(shift, x, y);
}

void TControl::HandleMouseUp(TMouseButton button, TShiftState shift, int x, int y)
{
    if (button == TMouseButton::mbLeft) {
        if (controlStyle_ & csCaptureMouse)
            SetMouseCapture(false);
        controlState_ &= static_cast<TControlState>(~csLButtonDown);
        if (controlState_ & csClicked) {
            controlState_ &= static_cast<TControlState>(~csClicked);
            if (ClientRect().Contains({x, y}))
                Click();
        }
    }
    MouseUp(button, shift, x, y);
}

void TControl::Click()
{
    if (OnClick)
        OnClick(this);
}

void TControl::DblClick()
{
    if (OnDblClick)
        OnDblClick(this);
}

void TControl::MouseDown(TMouseButton button, TShiftState shift, int x, int y)
{
    if (OnMouseDown)
        OnMouseDown(this, button, shift, x, y);
}

void TControl::MouseMove(TShiftState shift, int x, int y)
{
    if (OnMouseMove)
        OnMouseMove(this, shift, x, y);
}

void TControl::MouseUp(TMouseButton button, TShiftState shift, int x, int y)
{
    if (OnMouseUp)
        OnMouseUp(this, button, shift, x, y);
}
