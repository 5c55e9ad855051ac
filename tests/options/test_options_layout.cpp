#include "OptionsTestSupport.h"

#include "toolkit/windowing/Application.h"

#include <string>
#include <vector>

TEST_F(OptionsTest, WindowIsABorderless274By72WindowWithItsComponentsInDeclarationOrder)
{
    TfOptions& window = OpenOptions();
    EXPECT_EQ(window.Name(), "fOptions");
    EXPECT_EQ(window.Caption(), "Velmora - The Options");
    EXPECT_EQ(window.BorderStyle(), TFormBorderStyle::bsNone);
    EXPECT_EQ(window.Position(), TPosition::poScreenCenter);
    EXPECT_EQ(window.ClientWidth(), 274);
    EXPECT_EQ(window.ClientHeight(), 72);
    EXPECT_EQ(window.Font().Name(), "MS Sans Serif");
    EXPECT_EQ(window.Font().Height(), -11);
    EXPECT_EQ(window.Font().Color(), clWindowText);
    EXPECT_FALSE(window.Visible());

    std::vector<std::string> names;
    for (int i = 0; i < window.ComponentCount(); ++i)
        names.push_back(window.Components(i)->Name());
    EXPECT_EQ(names,
        (std::vector<std::string>{"panMain", "bMixrate", "lMixrate", "Label1", "Label2", "bFilterMode", "lFilterMode",
            "Label4", "bStereo", "lStereo", "Label6", "b16Bit", "l16Bit", "bApplicationMinimize", "bWindowClose"}));

    EXPECT_EQ(window.panMain->Parent(), &window);
    EXPECT_EQ(window.panMain->BoundsRect(), TRect::FromBounds(0, 0, 274, 72));
    EXPECT_EQ(window.panMain->Color(), clBlack);
    EXPECT_EQ(window.panMain->BevelOuter(), TPanelBevel::bvRaised);
    EXPECT_EQ(window.panMain->BevelInner(), TPanelBevel::bvLowered);
    EXPECT_EQ(window.panMain->BevelWidth(), 1);
    for (int i = 1; i < window.ComponentCount(); ++i)
        EXPECT_EQ(dynamic_cast<TControl*>(window.Components(i))->Parent(), window.panMain) << names[size_t(i)];
}

TEST_F(OptionsTest, WindowIsCentredOnTheScreenWhenShown)
{
    TfOptions& window = OpenOptions();
    window.Show();
    TSize screen = Application().Platform().ScreenSize();
    EXPECT_EQ(window.Left(), (screen.Width - 274) / 2);
    EXPECT_EQ(window.Top(), (screen.Height - 72) / 2);
}

TEST_F(OptionsTest, LabelsAreGoldOnThePanelsBlackAndSizeThemselves)
{
    TfOptions& window = OpenOptions();
    struct Expected {
        TLabel* label;
        int left, top;
        const char* caption;
        bool bold;
    };
    const Expected labels[] = {
        {window.Label1, 8, 14, "Mixrate:", true},
        {window.lMixrate, 96, 14, "22050", false},
        {window.Label2, 8, 46, "Filtermode:", true},
        {window.lFilterMode, 96, 46, "Less", false},
        {window.Label4, 152, 14, "Stereo:", true},
        {window.lStereo, 232, 14, "On", false},
        {window.Label6, 152, 46, "16 Bit:", true},
        {window.l16Bit, 232, 46, "On", false},
    };
    for (const auto& expected : labels) {
        TLabel& label = *expected.label;
        SCOPED_TRACE(label.Name());
        EXPECT_EQ(label.Left(), expected.left);
        EXPECT_EQ(label.Top(), expected.top);
        EXPECT_EQ(label.Caption(), expected.caption);
        EXPECT_EQ(label.Font().Name(), "MS Sans Serif");
        EXPECT_EQ(label.Font().Height(), -11);
        EXPECT_EQ(label.Font().Color(), 1886207);
        EXPECT_EQ((label.Font().Style() & fsBold) != 0, expected.bold);
        EXPECT_TRUE(label.AutoSize());
        EXPECT_TRUE(label.ParentColor());
        EXPECT_EQ(label.Color(), clBlack);
        EXPECT_GT(label.Width(), 0);
        EXPECT_GT(label.Height(), 0);
    }
    // Sized to the text: a longer text makes a wider label.
    int narrow = window.lStereo->Width();
    window.lStereo->SetCaption("On and on");
    EXPECT_GT(window.lStereo->Width(), narrow + 20);
    EXPECT_GT(window.Label2->Width(), window.Label6->Width());
}

TEST_F(OptionsTest, SpinButtonsAre15By25WithoutTheThreeDimensionalLookAndWithTheirGlyphs)
{
    TfOptions& window = OpenOptions();
    struct Expected {
        TSpinButton* spin;
        int left, top, tabOrder;
    };
    const Expected spins[] = {
        {window.bMixrate, 73, 8, 0},
        {window.bFilterMode, 73, 40, 1},
        {window.bStereo, 209, 8, 2},
        {window.b16Bit, 209, 40, 3},
    };
    for (const auto& expected : spins) {
        TSpinButton& spin = *expected.spin;
        SCOPED_TRACE(spin.Name());
        EXPECT_EQ(spin.BoundsRect(), TRect::FromBounds(expected.left, expected.top, 15, 25));
        EXPECT_EQ(spin.UpButton()->BoundsRect(), TRect::FromBounds(0, 0, 15, 12));
        EXPECT_EQ(spin.DownButton()->BoundsRect(), TRect::FromBounds(0, 11, 15, 14));
        EXPECT_FALSE(spin.Ctl3D());
        EXPECT_FALSE(spin.ParentCtl3D());
        EXPECT_EQ(spin.TabOrder(), expected.tabOrder);
        EXPECT_FALSE(spin.TabStop());
        EXPECT_EQ(spin.FocusControl(), nullptr);
        for (const TBitmap* glyph : {&spin.UpGlyph(), &spin.DownGlyph()}) {
            EXPECT_EQ(glyph->Width(), 9);
            EXPECT_EQ(glyph->Height(), 6);
            EXPECT_EQ(glyph->PixelFormat(), TPixelFormat::pf24bit);
            EXPECT_EQ(glyph->TransparentColor(), static_cast<TColor>(MakeColor(0x7F, 0x7F, 0x00))) << "olive is left out";
        }
    }
}

TEST_F(OptionsTest, SmallGlyphButtonsSitInTheTopRightCorner)
{
    TfOptions& window = OpenOptions();
    EXPECT_EQ(window.bApplicationMinimize->BoundsRect(), TRect::FromBounds(252, 3, 8, 8));
    EXPECT_EQ(window.bWindowClose->BoundsRect(), TRect::FromBounds(262, 3, 8, 8));
    for (TSpeedButton* button : {window.bApplicationMinimize, window.bWindowClose}) {
        EXPECT_EQ(button->Glyph().Width(), 7);
        EXPECT_EQ(button->Glyph().Height(), 7);
        EXPECT_EQ(button->Glyph().PixelFormat(), TPixelFormat::pf4bit);
    }
}

TEST_F(OptionsTest, WindowShowsItsValuesInGoldOnBlack)
{
    TfOptions& window = OpenOptions();
    TPixmap picture = window.Snapshot();
    auto goldIn = [&](const TControl& control) {
        int gold = 0;
        TPoint o = control.WindowOrigin();
        for (int y = 0; y < control.Height(); ++y) {
            for (int x = 0; x < control.Width(); ++x) {
                // Smoothed text: the strokes are gold, their edges blend into the black.
                TPixel pixel = picture.At(o.X + x, o.Y + y);
                int r = GetRValue(pixel), g = GetGValue(pixel), b = GetBValue(pixel);
                gold += r > 0xC0 && g > 0x90 && b < 0x30 && r > g && g > b ? 1 : 0;
            }
        }
        return gold;
    };
    EXPECT_GT(goldIn(*window.lMixrate), 10);
    EXPECT_GT(goldIn(*window.Label1), 10);
    EXPECT_EQ(picture.At(40, 36) & 0xFFFFFF, MakeColor(0, 0, 0)) << "the panel between the rows is black";
}
