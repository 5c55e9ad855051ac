#pragma once

#include "toolkit/graphics/Bitmap.h"
#include "toolkit/windowing/Application.h"
#include "toolkit/windowing/Form.h"
#include "toolkit/windowing/HeadlessPlatform.h"
#include "toolkit/windowing/Panel.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

// A shown headless window, 300 by 200, with a plain panel at (10, 10),
// 260 by 160, in a colour no picture of the tests uses.
class THeadlessWindowTest : public ::testing::Test {
protected:
    static constexpr TColor kPanelColor = 0x336699;

    void SetUp() override
    {
        Application().InitializeHeadless();
        form = TComponent::Create<TForm>(&Application());
        form->SetBounds(0, 0, 300, 200);
        panel = TComponent::Create<TPanel>(form);
        panel->SetParent(form);
        panel->SetBevelOuter(TPanelBevel::bvNone);
        panel->SetColor(kPanelColor);
        panel->SetBounds(10, 10, 260, 160);
        form->Show();
    }

    void TearDown() override { form->Free(); }

    // The pixel the window shows on screen at (x, y) of its client area:
    // what was presented, not what waits in the back buffer.
    TPixel WindowPixel(int x, int y) { return HeadlessWindowOf(*form)->Screen().At(x, y) & 0xFFFFFF; }

    // Whether the window shows picture exactly over the control's rectangle.
    ::testing::AssertionResult Shows(const TControl& control, const TBitmap& picture)
    {
        TPoint origin = control.WindowOrigin();
        for (int y = 0; y < control.Height(); ++y) {
            for (int x = 0; x < control.Width(); ++x) {
                TPixel want = picture.Pixmap().At(x, y) & 0xFFFFFF;
                TPixel got = WindowPixel(origin.X + x, origin.Y + y);
                if (got != want)
                    return ::testing::AssertionFailure()
                        << "pixel (" << x << ", " << y << ") is " << std::hex << got << ", not " << want;
            }
        }
        return ::testing::AssertionSuccess();
    }

    TForm* form = nullptr;
    TPanel* panel = nullptr;
};

// A 24-bit picture whose every pixel differs from its neighbours, so a
// shifted or stretched copy shows; seed tells pictures apart.
inline std::unique_ptr<TBitmap> PatternPicture(int width, int height, int seed)
{
    auto picture = std::make_unique<TBitmap>(width, height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            picture->Pixmap().At(x, y) = MakeColor(seed * 40 + x * 3, 200 - y * 5 + seed, x * 7 + y * 11 + seed * 17);
    return picture;
}

inline std::unique_ptr<TBitmap> SolidPicture(
    int width, int height, TColor color, TPixelFormat format = TPixelFormat::pf24bit)
{
    auto picture = std::make_unique<TBitmap>(width, height, format);
    picture->Canvas().Brush.Color = color;
    picture->Canvas().FillRect({0, 0, width, height});
    return picture;
}
