#pragma once

#include "controls/Lmdlabel.h"
#include "toolkit/windowing/Application.h"
#include "toolkit/windowing/Form.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

// A face every machine here draws with the same metrics: each character
// cell of "Courier New" at height -14 is 8 by 16 pixels, so "Hello"
// measures 40 by 16.
inline constexpr const char* kMonoFace = "Courier New";
inline constexpr int kMonoHeight = -14;

// A bitmap face that can't be drawn rotated.
inline constexpr const char* kBitmapFontFile = "/usr/share/fonts/X11/misc/6x13-ISO8859-1.pcf.gz";
inline constexpr const char* kBitmapFace = "Velmora Label Fixed";

// A shown headless window, 100 by 120, in a colour no label test draws
// with, and the effect label classes known to layouts.
class LabelWindowTest : public ::testing::Test {
protected:
    static constexpr TColor kFormColor = 0x336699;

    void SetUp() override
    {
        Application().InitializeHeadless();
        RegisterLmdlabel();
        form = TComponent::Create<TForm>(&Application());
        form->SetBounds(0, 0, 100, 120);
        form->SetColor(kFormColor);
        form->Show();
    }

    void TearDown() override { form->Free(); }

    // A label on the window at (left, top), its size fixed, in the mono face.
    TLMDLabel* NewLabel(int left, int top, int width, int height)
    {
        auto* label = TComponent::Create<TLMDLabel>(form);
        label->SetParent(form);
        label->SetAutoSize(false);
        label->SetBounds(left, top, width, height);
        label->Font().SetName(kMonoFace);
        label->Font().SetHeight(kMonoHeight);
        return label;
    }

    TForm* form = nullptr;
};

// The window's picture as it should look: the window's colour, and a canvas
// on the label's rectangle to draw the expected label with.
struct TExpectedPicture {
    TExpectedPicture(int width, int height, TColor background, const TControl& label)
        : pixels_(std::make_unique<TPixmap>(width, height, ColorToRGB(background))),
          canvas_(std::make_unique<TCanvas>())
    {
        canvas_->Attach(pixels_.get(), label.WindowOrigin(), label.BoundsRect());
        canvas_->Brush.Style = TBrushStyle::bsClear;
    }

    TCanvas& Canvas() { return *canvas_; }
    const TPixmap& Pixels() const { return *pixels_; }

    void Fill(TColor color)
    {
        canvas_->Brush = {color, TBrushStyle::bsSolid};
        canvas_->FillRect(canvas_->ClipRect());
        canvas_->Brush.Style = TBrushStyle::bsClear;
    }

private:
    std::unique_ptr<TPixmap> pixels_;
    std::unique_ptr<TCanvas> canvas_;
};

inline ::testing::AssertionResult SamePicture(const TPixmap& got, const TPixmap& want)
{
    if (got.Width() != want.Width() || got.Height() != want.Height())
        return ::testing::AssertionFailure() << "sizes differ";
    int differing = 0;
    std::string first;
    for (int y = 0; y < got.Height(); ++y) {
        for (int x = 0; x < got.Width(); ++x) {
            if ((got.At(x, y) & 0xFFFFFF) == (want.At(x, y) & 0xFFFFFF))
                continue;
            if (differing++ == 0)
                first = "(" + std::to_string(x) + ", " + std::to_string(y) + ")";
        }
    }
    if (differing == 0)
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << differing << " pixels differ, the first at " << first;
}

// How many pixels of r have exactly the colour c.
inline int CountOf(const TPixmap& pixels, const TRect& r, TColor c)
{
    const TPixel want = ColorToRGB(c);
    int count = 0;
    for (int y = r.Top; y < r.Bottom; ++y)
        for (int x = r.Left; x < r.Right; ++x)
            count += (pixels.At(x, y) & 0xFFFFFF) == want;
    return count;
}

// The smallest rectangle holding every pixel of colour c.
inline TRect BoxOf(const TPixmap& pixels, TColor c)
{
    const TPixel want = ColorToRGB(c);
    TRect box;
    for (int y = 0; y < pixels.Height(); ++y)
        for (int x = 0; x < pixels.Width(); ++x)
            if ((pixels.At(x, y) & 0xFFFFFF) == want)
                box = box.Union({x, y, x + 1, y + 1});
    return box;
}

// The smallest rectangle of r holding every pixel that is not background.
inline TRect InkOf(const TPixmap& pixels, const TRect& r, TColor background)
{
    const TPixel plain = ColorToRGB(background);
    TRect box;
    for (int y = r.Top; y < r.Bottom; ++y)
        for (int x = r.Left; x < r.Right; ++x)
            if ((pixels.At(x, y) & 0xFFFFFF) != plain)
                box = box.Union({x, y, x + 1, y + 1});
    return box;
}
