#include "controls/Autobtn.h"

#include "toolkit/windowing/ClassRegistry.h"
#include "toolkit/windowing/Form.h"

namespace {

constexpr int kDefaultWidth = 70;
constexpr int kDefaultHeight = 45;

} // namespace

TautoButton::TautoButton(TComponent* owner) : TGraphicControl(owner), about_(std::make_unique<TStringList>())
{
    for (auto& picture : pictures_)
        picture = std::make_unique<TBitmap>();
    Picture(kAlt).OnChange = [this](TObject*) { AltChanged(); };
    Picture(kMask).OnChange = [this](TObject*) { MaskChanged(); };
    for (const char* line : {"TautoButton", "Bitmap button", "Velmora skin controls",
             "Seven pictures: up, down, alternative, mask,", "locking, locked and spare",
             "A mask gives the button any shape", "LockMode makes it a toggle", "Written for the Velmora music disc"})
        about_->Add(line);
    SetBounds(0, 0, kDefaultWidth, kDefaultHeight);
}

TautoButton::~TautoButton() = default;

void TautoButton::SetAbout(const TStringList&)
{
    // The credits are the component's own; a layout may carry a copy.
}

void TautoButton::SetBitMapUp(const TBitmap& picture)
{
    Picture(kUp).Assign(picture);
    ApplySizeRule();
}

void TautoButton::SetBitMapDown(const TBitmap& picture)
{
    Picture(kDown).Assign(picture);
}

void TautoButton::SetBitMapAlt(const TBitmap& picture)
{
    Picture(kAlt).Assign(picture);
}

void TautoButton::SetBitMapMask(const TBitmap& picture)
{
    Picture(kMask).Assign(picture);
    Invalidate();
}

void TautoButton::SetBitMapLocking(const TBitmap& picture)
{
    Picture(kLocking).Assign(picture);
}

void TautoButton::SetBitMapLocked(const TBitmap& picture)
{
    Picture(kLocked).Assign(picture);
}

void TautoButton::SetBitMapSpare(const TBitmap& picture)
{
    Picture(kSpare).Assign(picture);
}

void TautoButton::SetDisplayAlt(bool displayAlt)
{
    if (Picture(kAlt).Empty() || displayAlt == displayAlt_)
        return;
    displayAlt_ = displayAlt;
    // Shown even on a locked button: the owner locks it again if it cares.
    ShowState(RestState());
}

void TautoButton::SetAutoSize(bool autoSize)
{
    if (autoSize == autoSize_)
        return;
    autoSize_ = autoSize;
    ApplySizeRule();
}

void TautoButton::SetLockMode(bool lockMode)
{
    lockMode_ = lockMode;
}

void TautoButton::Lock()
{
    ShowState(6);
    locked_ = true;
}

void TautoButton::Unlock()
{
    ShowState(1);
    locked_ = false;
}

void TautoButton::ApplySizeRule()
{
    const TBitmap& up = Picture(kUp);
    if (up.Empty()) {
        // Without a picture the button must stay reachable, AutoSize or not.
        SetWidth(kDefaultWidth);
        SetHeight(kDefaultHeight);
        return;
    }
    if (!autoSize_)
        return;
    SetHeight(up.Height());
    SetWidth(up.Width());
    Invalidate();
}

void TautoButton::ShowState(int state)
{
    displayState_ = state;
    Repaint();
}

bool TautoButton::HitTest(int x, int y) const
{
    if (!ClientRect().Contains({x, y}))
        return false;
    const TBitmap& mask = Picture(kMask);
    if (mask.Empty())
        return true;
    // Beyond the mask's extent the canvas answers -1: outside.
    return mask.Canvas().Pixel(x, y) > 0;
}

void TautoButton::AltChanged()
{
    if (!Picture(kAlt).Empty())
        return;
    displayAlt_ = false;
    ShowState(1);
}

void TautoButton::MaskChanged()
{
    if (Picture(kMask).Empty())
        Repaint();
}

void TautoButton::Click()
{
    // Clicks come from MouseUp, after the shape's hit test.
}

void TautoButton::PressInside()
{
    ShowState(lockMode_ ? 5 : 2);
    pressed_ = true;
}

void TautoButton::ReleaseInside()
{
    if (lockMode_) {
        locked_ = !locked_;
        if (locked_) {
            ShowState(6);
            if (onLocked)
                onLocked(this);
        } else {
            ShowState(RestState());
            if (onUnLocked)
                onUnLocked(this);
        }
    } else {
        ShowState(RestState());
    }
    if (onClick)
        onClick(this);
}

void TautoButton::KeyPress()
{
    PressInside();
}

void TautoButton::KeyRelease()
{
    ReleaseInside();
    pressed_ = false;
}

void TautoButton::MouseDown(TMouseButton button, TShiftState shift, int x, int y)
{
    if (button == TMouseButton::mbLeft && HitTest(x, y))
        PressInside();
    if (onMouseDown)
        onMouseDown(this, button, shift, x, y);
}

void TautoButton::MouseUp(TMouseButton button, TShiftState shift, int x, int y)
{
    // The pressed mark is not consulted: a release inside clicks even when
    // the press began elsewhere.
    if (button == TMouseButton::mbLeft && HitTest(x, y))
        ReleaseInside();
    pressed_ = false;
    if (onMouseUp)
        onMouseUp(this, button, shift, x, y);
}

void TautoButton::MouseMove(TShiftState shift, int x, int y)
{
    if (pressed_) {
        // Repainted on every move, changed or not.
        if (HitTest(x, y))
            ShowState(lockMode_ ? 5 : 2);
        else if (lockMode_ && locked_)
            ShowState(6);
        else
            ShowState(RestState());
    }
    if (onMouseMove)
        onMouseMove(this, shift, x, y);
}

void TautoButton::Paint()
{
    const TBitmap& picture = *pictures_[static_cast<std::size_t>(displayState_ - 1)];
    if (!Picture(kMask).Empty()) {
        PaintMasked(picture);
        return;
    }
    TRect client = ClientRect();
    Canvas().CopyRect(client, picture.Canvas(), client);
}

void TautoButton::PaintMasked(const TBitmap& picture)
{
    const TBitmap& mask = Picture(kMask);
    TRect client = ClientRect();
    // Work bitmaps at 24 bits, so the bitwise steps keep every value.
    TBitmap first(picture.Width(), picture.Height());
    TBitmap second(mask.Width(), mask.Height());
    TBitmap third(mask.Width(), mask.Height());

    auto copy = [&client](TBitmap& target, TCopyMode mode, const TCanvas& source) {
        target.Canvas().CopyMode = mode;
        target.Canvas().CopyRect(client, source, client);
    };
    copy(first, TCopyMode::cmSrcCopy, picture.Canvas());
    copy(first, TCopyMode::cmSrcAnd, mask.Canvas());
    copy(second, TCopyMode::cmNotSrcCopy, mask.Canvas());

    // What the window shows under the button now: its parent's background
    // and whatever earlier controls drew there.
    if (TForm* form = ParentForm()) {
        TCanvas window(form->BackBuffer());
        TPoint origin = WindowOrigin();
        third.Canvas().CopyMode = TCopyMode::cmSrcCopy;
        third.Canvas().CopyRect(client, window, TRect::FromBounds(origin.X, origin.Y, Width(), Height()));
    }

    copy(second, TCopyMode::cmSrcAnd, third.Canvas());
    copy(first, TCopyMode::cmSrcPaint, second.Canvas());
    Canvas().CopyMode = TCopyMode::cmSrcCopy;
    Canvas().CopyRect(client, first.Canvas(), client);
}

void RegisterAutobtn()
{
    // Several callers may ask; the class is declared once.
    if (TClassRegistry::Find("TautoButton"))
        return;
    TClassBuilder<TautoButton>("TautoButton", "TGraphicControl")
        .Ignored("About")
        .Bitmap("BitMapUp", &TautoButton::SetBitMapUp)
        .Bitmap("BitMapDown", &TautoButton::SetBitMapDown)
        .Bitmap("BitMapAlt", &TautoButton::SetBitMapAlt)
        .Bitmap("BitMapMask", &TautoButton::SetBitMapMask)
        .Bitmap("BitMapLocking", &TautoButton::SetBitMapLocking)
        .Bitmap("BitMapLocked", &TautoButton::SetBitMapLocked)
        .Bitmap("BitMapSpare", &TautoButton::SetBitMapSpare)
        .Boolean("DisplayAlt", &TautoButton::SetDisplayAlt)
        .Boolean("AutoSize", &TautoButton::SetAutoSize)
        .Boolean("LockMode", &TautoButton::SetLockMode)
        .Event("onClick", &TautoButton::onClick)
        .Event("onMouseDown", &TautoButton::onMouseDown)
        .Event("onMouseMove", &TautoButton::onMouseMove)
        .Event("onMouseUp", &TautoButton::onMouseUp)
        .Event("onLocked", &TautoButton::onLocked)
        .Event("onUnLocked", &TautoButton::onUnLocked);
}
