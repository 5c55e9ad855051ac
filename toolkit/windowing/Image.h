#pragma once

#include "toolkit/graphics/Bitmap.h"
#include "toolkit/windowing/Control.h"

// Shows a picture at its top-left corner. Hidden images serve as a store of
// pictures. After drawing on Picture() directly, Repaint shows the change.
class TImage : public TGraphicControl {
public:
    explicit TImage(TComponent* owner);
    const char* ClassName() const override { return "TImage"; }

    TBitmap& Picture() { return picture_; }
    const TBitmap& Picture() const { return picture_; }
    // Copies the picture in; the image shows it at the next repaint.
    void SetPicture(const TBitmap& picture) { picture_.Assign(picture); }

    void Paint() override;

private:
    TBitmap picture_;
};

// A one-line text that sizes itself to its caption.
class TLabel : public TGraphicControl {
public:
    explicit TLabel(TComponent* owner);
    const char* ClassName() const override { return "TLabel"; }

    bool AutoSize() const { return autoSize_; }
    void SetAutoSize(bool autoSize);
    bool Transparent() const { return transparent_; }
    void SetTransparent(bool transparent);
    bool ShowAccelChar() const { return showAccelChar_; }
    void SetShowAccelChar(bool show);

    void Paint() override;
    void Loaded() override;

protected:
    void TextChanged() override;
    void FontChanged() override;

private:
    void AdjustBounds();
    unsigned TextFlags() const;

    bool autoSize_ = true;
    bool transparent_ = false;
    bool showAccelChar_ = true;
};
