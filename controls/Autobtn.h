#pragma once

#include "toolkit/graphics/Bitmap.h"
#include "toolkit/graphics/StringList.h"
#include "toolkit/windowing/Control.h"

#include <array>
#include <memory>

// A windowless push button drawn entirely from pictures. It keeps seven
// pictures of its own (copies, never the caller's bitmaps) and shows the
// one whose number the display state holds:
//
//   1 BitMapUp       at rest
//   2 BitMapDown     held down inside the shape
//   3 BitMapAlt      at rest while DisplayAlt is on
//   4 BitMapMask     never; its non-black pixels give the button its shape
//   5 BitMapLocking  held down inside the shape in LockMode
//   6 BitMapLocked   locked (a click in LockMode, or Lock)
//   7 BitMapSpare    never; only stored
//
// Every change of the display state repaints the button at once. Its events
// are spelled with a lower-case "on"; the generic click of the toolkit is
// switched off, so onClick comes only from a left release inside the shape.
class TautoButton : public TGraphicControl {
public:
    explicit TautoButton(TComponent* owner);
    ~TautoButton() override;
    const char* ClassName() const override { return "TautoButton"; }
    void Paint() override;

    // Credits of the component itself, eight lines; assigning is ignored.
    const TStringList& About() const { return *about_; }
    void SetAbout(const TStringList& about);

    TBitmap& BitMapUp() { return Picture(kUp); }
    TBitmap& BitMapDown() { return Picture(kDown); }
    TBitmap& BitMapAlt() { return Picture(kAlt); }
    TBitmap& BitMapMask() { return Picture(kMask); }
    TBitmap& BitMapLocking() { return Picture(kLocking); }
    TBitmap& BitMapLocked() { return Picture(kLocked); }
    TBitmap& BitMapSpare() { return Picture(kSpare); }
    // Each copies the picture in; an empty one empties the slot.
    void SetBitMapUp(const TBitmap& picture);
    void SetBitMapDown(const TBitmap& picture);
    void SetBitMapAlt(const TBitmap& picture);
    void SetBitMapMask(const TBitmap& picture);
    void SetBitMapLocking(const TBitmap& picture);
    void SetBitMapLocked(const TBitmap& picture);
    void SetBitMapSpare(const TBitmap& picture);

    // Ignored (stays False) while BitMapAlt is empty.
    bool DisplayAlt() const { return displayAlt_; }
    void SetDisplayAlt(bool displayAlt);
    // Follow the size of BitMapUp.
    bool AutoSize() const { return autoSize_; }
    void SetAutoSize(bool autoSize);
    // Clicks toggle the locked mark.
    bool LockMode() const { return lockMode_; }
    void SetLockMode(bool lockMode);

    // Shows BitMapLocked and sets the locked mark.
    void Lock();
    // Shows BitMapUp (even with DisplayAlt on) and clears the locked mark.
    void Unlock();

    // A key standing in for the left button: KeyPress shows the held-down
    // picture as a press inside the shape does, KeyRelease does all that a
    // release inside does, the click included.
    void KeyPress();
    void KeyRelease();

    // 1..7, see the table above.
    int DisplayState() const { return displayState_; }
    bool Pressed() const { return pressed_; }
    bool Locked() const { return locked_; }
    // Whether (x, y), in the button's coordinates, lies in its shape.
    bool HitTest(int x, int y) const;

    TNotifyEvent onClick;
    TMouseEvent onMouseDown;
    TMouseMoveEvent onMouseMove;
    TMouseEvent onMouseUp;
    TNotifyEvent onLocked;
    TNotifyEvent onUnLocked;

protected:
    void Click() override;
    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
    void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;
    void MouseMove(TShiftState shift, int x, int y) override;

private:
    enum Slot : std::size_t { kUp, kDown, kAlt, kMask, kLocking, kLocked, kSpare, kSlotCount };

    TBitmap& Picture(Slot slot) { return *pictures_[slot]; }
    const TBitmap& Picture(Slot slot) const { return *pictures_[slot]; }
    void ApplySizeRule();
    void ShowState(int state);
    void PressInside();
    void ReleaseInside();
    int RestState() const { return displayAlt_ ? 3 : 1; }
    void PaintMasked(const TBitmap& picture);
    void AltChanged();
    void MaskChanged();

    std::array<std::unique_ptr<TBitmap>, kSlotCount> pictures_;
    int displayState_ = 1;
    bool pressed_ = false;
    bool autoSize_ = true;
    bool displayAlt_ = false;
    std::unique_ptr<TStringList> about_;
    bool lockMode_ = false;
    bool locked_ = false;
};

// Declares TautoButton for window layouts.
void RegisterAutobtn();
