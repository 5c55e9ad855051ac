#include "LabelTestSupport.h"

#include "controls/LmdDrawing.h"

#include <string>

namespace {

class LabelSizeTest : public LabelWindowTest {
protected:
    // A label sizing itself to its caption, in the mono face.
    TLMDLabel* SizingLabel(const std::string& caption)
    {
        TLMDLabel* label = NewLabel(7, 9, 5, 5);
        label->SetCaption(caption);
        label->SetAutoSize(true);
        return label;
    }
};

} // namespace

TEST(LabelMeasure, TheMonoFaceMeasuresHelloFortyBySixteen)
{
    TCanvas canvas;
    canvas.Font().SetName(kMonoFace);
    canvas.Font().SetHeight(kMonoHeight);
    EXPECT_EQ(canvas.TextExtent("Hello"), (TSize{40, 16}));
    TRect r{0, 0, 0, 0};
    canvas.DrawText("Hello", r, DT_CALCRECT | DT_EXPANDTABS);
    EXPECT_EQ(r, (TRect{0, 0, 40, 16}));
    EXPECT_EQ(canvas.TextExtent(" "), (TSize{8, 16}));
}

TEST(LabelRoutines, IsBlankTakesOnlySpaces)
{
    EXPECT_TRUE(IsBlank(""));
    EXPECT_TRUE(IsBlank("    "));
    EXPECT_FALSE(IsBlank(" \t "));
    EXPECT_FALSE(IsBlank("  a"));
    EXPECT_FALSE(IsBlank("\n"));
}

TEST(LabelRoutines, AddFxExtentGrowsByTheCopiesAndTheFrame)
{
    TLMDFxCaption fx;
    fx.SetDepth3D(3);
    const std::pair<TLMDThreeDStyle, int> cases[] = {
        {TLMDThreeDStyle::tdNone, 0},
        {TLMDThreeDStyle::tdSunken, 3},
        {TLMDThreeDStyle::tdRaised, 3},
        {TLMDThreeDStyle::tdSunkenShadow, 6},
        {TLMDThreeDStyle::tdRaisedShadow, 6},
        {TLMDThreeDStyle::tdPColorSunken, 6},
        {TLMDThreeDStyle::tdPColorRaised, 6},
    };
    for (const auto& [style, grow] : cases) {
        fx.SetStyle(style);
        TRect r{1, 2, 10, 20};
        AddFxExtent(r, fx, 4);
        EXPECT_EQ(r, (TRect{1, 2, 10 + grow + 10, 20 + grow + 10})) << static_cast<int>(style);
    }
}

TEST(LabelRoutines, RotateRectGivesTheTurnedBoundingBoxAtTheOrigin)
{
    TRect r{5, 5, 47, 23};
    RotateRect(r, 0);
    EXPECT_EQ(r, (TRect{5, 5, 47, 23}));

    r = {0, 0, 42, 18};
    RotateRect(r, 90);
    EXPECT_EQ(r, (TRect{0, 0, 18, 42}));
    r = {0, 0, 42, 18};
    RotateRect(r, 180);
    EXPECT_EQ(r, (TRect{0, 0, 42, 18}));

    // 57 degrees, 42 by 18: hw 21, hh 9; c*21 = 11.437, s*9 = 7.548,
    // s*21 = 17.612, c*9 = 4.902: p = 4, q = 19, u = 13, v = 23.
    r = {3, 4, 45, 22};
    RotateRect(r, 57);
    EXPECT_EQ(r, (TRect{0, 0, 38, 46}));

    // Odd sizes lose their odd pixel to the halving.
    r = {0, 0, 43, 19};
    RotateRect(r, 90);
    EXPECT_EQ(r, (TRect{0, 0, 18, 42}));
}

TEST(LabelRoutines, CalcCaptionRectOfHorizontalTextMeasuresAndClearsThePosition)
{
    TLMDFxCaption fx;
    fx.SetPosX(7);
    fx.SetPosY(3);
    fx.SetStyle(TLMDThreeDStyle::tdRaisedShadow);
    fx.SetDepth3D(2);
    TFont font;
    font.SetName(kMonoFace);
    font.SetHeight(kMonoHeight);
    TRect r{0, 0, 30, 10};
    CalcCaptionRect(r, "Hello World", fx, font, false, true, 1);
    // 11 cells of 8, one line; 4 for the copies, 4 for a one-pixel frame.
    EXPECT_EQ(r, (TRect{0, 0, 88 + 4 + 4, 16 + 4 + 4}));
    EXPECT_EQ(fx.PosX(), 0);
    EXPECT_EQ(fx.PosY(), 0);

    // Wrapped at the given width: two lines of five cells.
    r = {0, 0, 50, 10};
    CalcCaptionRect(r, "Hello World", fx, font, true, true, 0);
    EXPECT_EQ(r, (TRect{0, 0, 40 + 4 + 2, 32 + 4 + 2}));
}

TEST(LabelRoutines, CalcCaptionRectMeasuresEmptyAndLoneAmpersandAsASpace)
{
    TLMDFxCaption fx;
    TFont font;
    font.SetName(kMonoFace);
    font.SetHeight(kMonoHeight);
    for (const char* text : {"", "&"}) {
        TRect r{};
        CalcCaptionRect(r, text, fx, font, false, true, 0);
        EXPECT_EQ(r, (TRect{0, 0, 8 + 2, 16 + 2})) << '"' << text << '"';
    }
    // Without accelerators the ampersand is an ordinary character.
    TRect r{};
    CalcCaptionRect(r, "&", fx, font, false, false, 0);
    EXPECT_EQ(r, (TRect{0, 0, 8 + 2, 16 + 2}));
    // With them, "&&" is one ampersand and "&a" one underlined a.
    r = {};
    CalcCaptionRect(r, "&a&&", fx, font, false, true, 0);
    EXPECT_EQ(r, (TRect{0, 0, 16 + 2, 16 + 2}));
}

TEST(LabelRoutines, CalcCaptionRectOfRotatedTextCentresItInTheTurnedBox)
{
    TLMDFxCaption fx;
    fx.SetAngle(90);
    TFont font;
    font.SetName(kMonoFace);
    font.SetHeight(kMonoHeight);
    TRect r{0, 0, 70, 92};
    CalcCaptionRect(r, "Hello", fx, font, true, true, 0);
    EXPECT_EQ(r, (TRect{0, 0, 18, 42}));
    EXPECT_EQ(fx.PosX(), 1);
    EXPECT_EQ(fx.PosY(), 41);

    // A turn past the top wraps the 16-bit position: at 270 degrees
    // PosY is 21 - 20 = 1, less d = Depth3D - 1 = 4.
    fx.SetAngle(270);
    fx.SetDepth3D(5);
    r = {};
    CalcCaptionRect(r, "Hello", fx, font, false, true, 0);
    EXPECT_EQ(r, (TRect{0, 0, 18, 42}));
    EXPECT_EQ(fx.PosX(), 17 - 4);
    EXPECT_EQ(fx.PosY(), 65536 - 3);

    // 57 degrees, sunken with depth 4, a frame of 1: the box 48 by 24 turns
    // into 46 by 54 (p 3, q 23, u 14, v 27); its centre (23, 27) less the
    // turned half text (20, 8) is (5.398, 39.416), less d = 3.
    fx.SetAngle(57);
    fx.SetDepth3D(4);
    fx.SetStyle(TLMDThreeDStyle::tdSunken);
    r = {};
    CalcCaptionRect(r, "Hello", fx, font, false, true, 1);
    EXPECT_EQ(r, (TRect{0, 0, 46, 54}));
    EXPECT_EQ(fx.PosX(), 2);
    EXPECT_EQ(fx.PosY(), 36);
}

TEST_F(LabelSizeTest, SunkenHorizontalCaptionGrowsByDepthAndMargin)
{
    TLMDLabel* label = NewLabel(7, 9, 5, 5);
    label->FontFx().SetStyle(TLMDThreeDStyle::tdSunken);
    label->FontFx().SetDepth3D(4);
    label->SetCaption("Hello");
    label->SetAutoSize(true);
    EXPECT_EQ(label->BoundsRect(), (TRect{7, 9, 7 + 46, 9 + 22}));
    EXPECT_EQ(label->FontFx().PosX(), 0);
    EXPECT_EQ(label->FontFx().PosY(), 0);

    // With horizontal text a position can't stay: the label measures again
    // and clears it.
    label->FontFx().SetPosX(5);
    EXPECT_EQ(label->FontFx().PosX(), 0);
}

TEST_F(LabelSizeTest, RotatedCaptionTakesTheTurnedBoxAndItsPosition)
{
    TLMDLabel* label = NewLabel(7, 9, 5, 5);
    label->SetCaption("Hello");
    label->FontFx().SetAngle(90);
    label->SetAutoSize(true);
    EXPECT_EQ(label->Width(), 18);
    EXPECT_EQ(label->Height(), 42);
    EXPECT_EQ(label->FontFx().PosX(), 1);
    EXPECT_EQ(label->FontFx().PosY(), 41);
}

TEST_F(LabelSizeTest, LoneAmpersandIsOneLineHigh)
{
    TLMDLabel* label = SizingLabel("&");
    EXPECT_EQ(label->Width(), 10);
    EXPECT_EQ(label->Height(), 18);
    label->SetCaption("");
    EXPECT_EQ(label->Width(), 10);
    EXPECT_EQ(label->Height(), 18);
}

TEST_F(LabelSizeTest, MultiLineWrapsAtTheCurrentWidth)
{
    TLMDLabel* label = SizingLabel("Hello World");
    EXPECT_EQ(label->Width(), 88 + 2);
    label->SetWidth(50);
    label->SetMultiLine(true);
    EXPECT_EQ(label->Width(), 40 + 2);
    EXPECT_EQ(label->Height(), 32 + 2);
}

TEST_F(LabelSizeTest, BevelAndCaptionChangesResize)
{
    TLMDLabel* label = SizingLabel("Hello");
    EXPECT_EQ(label->BoundsRect(), (TRect{7, 9, 7 + 42, 9 + 18}));
    label->Bevel().SetStyleOuter(TLMDBevelStyle::bvRaised);
    label->Bevel().SetWidthOuter(3);
    EXPECT_EQ(label->Width(), 40 + 2 * 4);
    label->SetCaption("Hi");
    EXPECT_EQ(label->Width(), 16 + 2 * 4);
    EXPECT_EQ(label->Height(), 16 + 2 * 4);
    // Cells of 7 by 12 at height -11.
    label->Font().SetHeight(-11);
    EXPECT_EQ(label->Width(), 14 + 2 * 4);
    EXPECT_EQ(label->Height(), 12 + 2 * 4);
}

TEST_F(LabelSizeTest, CaptionsAreMeasuredWithTheirFirst255Bytes)
{
    TLMDLabel* label = SizingLabel(std::string(300, 'x'));
    EXPECT_EQ(label->Width(), 255 * 8 + 2);
    EXPECT_EQ(label->Caption().size(), 300u);
}

TEST_F(LabelSizeTest, FixedSizeLabelsKeepTheirBounds)
{
    TLMDLabel* label = NewLabel(4, 4, 70, 92);
    label->SetCaption("Hello World");
    label->FontFx().SetAngle(57);
    label->Font().SetColor(clRed);
    EXPECT_EQ(label->BoundsRect(), (TRect{4, 4, 74, 96}));
}
