#include "LabelTestSupport.h"

#include "controls/LmdGraphicControl.h"
#include "toolkit/graphics/PngFile.h"

#include <string>

namespace {

constexpr TColor kGold = 0x1CC7FF;
constexpr TColor kInfoLight = 0x606060;
constexpr unsigned kLabelOptions = DT_WORDBREAK | DT_EXPANDTABS;

class LabelPaintTest : public LabelWindowTest {
protected:
    // lInfo of the main window, as its layout has it.
    TLMDLabel* InfoLabel(const std::string& caption)
    {
        TLMDLabel* label = NewLabel(4, 4, 70, 92);
        label->SetAlignment(TLMDAlignment::agBottomCenter);
        label->SetColor(clBlack);
        label->Font().SetColor(kGold);
        label->Font().SetHeight(-16);
        label->Font().SetName("Arial");
        label->Font().SetStyle(fsBold);
        label->FontFx().SetLightColor(kInfoLight);
        label->FontFx().SetStyle(TLMDThreeDStyle::tdSunken);
        label->FontFx().SetDepth3D(4);
        label->FontFx().SetAngle(57);
        label->FontFx().SetPosX(1);
        label->FontFx().SetPosY(73);
        label->SetMultiLine(true);
        label->SetShowAccelChar(false);
        label->SetCaption(caption);
        return label;
    }

    // The picture of lInfo drawn by hand: black, the light copy's first
    // cell at (5, 77), the text's at (1, 73), both turned 57 degrees.
    TExpectedPicture ExpectedInfo(const TControl& label, const std::string& text)
    {
        TExpectedPicture want(form->Width(), form->Height(), kFormColor, label);
        want.Fill(clBlack);
        want.Canvas().Font().SetName("Arial");
        want.Canvas().Font().SetHeight(-16);
        want.Canvas().Font().SetStyle(fsBold);
        want.Canvas().Font().SetEscapement(570);
        want.Canvas().Font().SetColor(kInfoLight);
        want.Canvas().TextRect({0, 0, 70, 92}, 5, 77, text);
        want.Canvas().Font().SetColor(kGold);
        want.Canvas().TextRect({0, 0, 70, 92}, 1, 73, text);
        return want;
    }

    // A horizontal label 90 by 40 at (10, 10): white, black mono text.
    TLMDLabel* PlainLabel(const std::string& caption)
    {
        TLMDLabel* label = NewLabel(10, 10, 90, 40);
        label->SetColor(clWhite);
        label->Font().SetColor(clBlack);
        label->SetCaption(caption);
        return label;
    }

    // The expected picture of a plain label, white, with the mono font.
    TExpectedPicture ExpectedPlain(const TControl& label)
    {
        TExpectedPicture want(form->Width(), form->Height(), kFormColor, label);
        want.Fill(clWhite);
        want.Canvas().Font().SetName(kMonoFace);
        want.Canvas().Font().SetHeight(kMonoHeight);
        return want;
    }

    static void Pass(TExpectedPicture& want, TColor color, TRect box, const std::string& text, unsigned options)
    {
        want.Canvas().Font().SetColor(color);
        want.Canvas().DrawText(text, box, options);
    }
};

} // namespace

TEST_F(LabelPaintTest, InfoLabelDrawsItsSunkenCaptionTurned57Degrees)
{
    TLMDLabel* label = InfoLabel("  Welcome");
    TPixmap got = form->Snapshot();
    EXPECT_TRUE(SamePicture(got, ExpectedInfo(*label, "  Welcome").Pixels()));

    const TRect text = BoxOf(got, kGold);
    const TRect light = BoxOf(got, kInfoLight);
    ASSERT_FALSE(text.IsEmpty());
    ASSERT_FALSE(light.IsEmpty());
    // The light copy lies 4 right of and 4 below the text, which covers its
    // upper left.
    EXPECT_EQ(light.Right, text.Right + 4);
    EXPECT_EQ(light.Bottom, text.Bottom + 4);
    // Turned counter-clockwise: the words climb from the lower left.
    EXPECT_GT(text.Height(), 40);
    EXPECT_LT(text.Width(), 60);
    // Nothing outside the label changed.
    EXPECT_EQ(CountOf(got, {0, 0, 100, 120}, kFormColor), 100 * 120 - 70 * 92);
    EXPECT_EQ(label->Font().Escapement(), 0) << "the label's own font stays upright";

    SavePng(got, "label_info.png");
}

TEST_F(LabelPaintTest, InfoLabelIsClippedToItsRectangle)
{
    const std::string longText = "for listening to these songs";
    TLMDLabel* label = InfoLabel(longText);
    TPixmap got = form->Snapshot();
    EXPECT_TRUE(SamePicture(got, ExpectedInfo(*label, longText).Pixels()));
    const int outside = form->Width() * form->Height() - 70 * 92;
    EXPECT_EQ(CountOf(got, {0, 0, 100, 120}, kFormColor), outside);
    // The text does reach the edge: it runs out at the top.
    EXPECT_EQ(InkOf(got, {4, 4, 74, 96}, clBlack).Top, 4);
}

TEST_F(LabelPaintTest, RotatedTextIgnoresAlignmentLinesAndAccelerators)
{
    TLMDLabel* label = InfoLabel("R&B");
    TPixmap first = form->Snapshot();
    EXPECT_TRUE(SamePicture(first, ExpectedInfo(*label, "R&B").Pixels()));
    label->SetAlignment(TLMDAlignment::agTopLeft);
    label->SetMultiLine(false);
    label->SetShowAccelChar(true);
    EXPECT_TRUE(SamePicture(form->Snapshot(), first));
    EXPECT_EQ(label->PaintCount(), 2);
}

TEST_F(LabelPaintTest, EachRepaintTurnsTheFontAfresh)
{
    TLMDLabel* label = InfoLabel("  Welcome");
    form->Snapshot();
    label->FontFx().SetAngle(90);
    TPixmap got = form->Snapshot();
    TExpectedPicture want(form->Width(), form->Height(), kFormColor, *label);
    want.Fill(clBlack);
    want.Canvas().Font().SetName("Arial");
    want.Canvas().Font().SetHeight(-16);
    want.Canvas().Font().SetStyle(fsBold);
    want.Canvas().Font().SetEscapement(900);
    want.Canvas().Font().SetColor(kInfoLight);
    want.Canvas().TextRect({0, 0, 70, 92}, 5, 77, "  Welcome");
    want.Canvas().Font().SetColor(kGold);
    want.Canvas().TextRect({0, 0, 70, 92}, 1, 73, "  Welcome");
    EXPECT_TRUE(SamePicture(got, want.Pixels()));

    label->FontFx().SetAngle(0);
    label->FontFx().SetPosX(0);
    label->FontFx().SetPosY(0);
    got = form->Snapshot();
    const TRect text = InkOf(got, {4, 4, 74, 96}, clBlack);
    EXPECT_GT(text.Width(), text.Height()) << "upright again";
}

TEST_F(LabelPaintTest, EmptyOpaqueCaptionStillFillsAndFrames)
{
    TLMDLabel* label = InfoLabel("");
    label->Bevel().SetStyleOuter(TLMDBevelStyle::bvRaised);
    label->Bevel().SetLightColor(clWhite);
    label->Bevel().SetShadowColor(clRed);
    TPixmap got = form->Snapshot();
    TExpectedPicture want(form->Width(), form->Height(), kFormColor, *label);
    want.Fill(clBlack);
    TLMDBevel bevel;
    bevel.Assign(label->Bevel());
    bevel.PaintBevel(want.Canvas(), {0, 0, 70, 92}, false);
    EXPECT_TRUE(SamePicture(got, want.Pixels()));
    EXPECT_EQ(got.At(4, 4), static_cast<TPixel>(clWhite));
    EXPECT_EQ(got.At(73, 95), static_cast<TPixel>(clRed));
    EXPECT_EQ(CountOf(got, {5, 5, 73, 95}, clBlack), 68 * 90);
}

TEST_F(LabelPaintTest, TransparentBlankCaptionWithoutFrameDrawsNothing)
{
    TLMDLabel* label = InfoLabel("    ");
    label->SetTransparent(true);
    TPixmap got = form->Snapshot();
    EXPECT_EQ(CountOf(got, {0, 0, 100, 120}, kFormColor), 100 * 120);
    EXPECT_EQ(label->PaintCount(), 1);

    // Transparent with a caption: the window shows around the letters.
    label->SetCaption("  Welcome");
    got = form->Snapshot();
    EXPECT_EQ(CountOf(got, {0, 0, 100, 120}, clBlack), 0);
    EXPECT_GT(CountOf(got, {4, 4, 74, 96}, kGold), 0);
}

TEST_F(LabelPaintTest, AFramedControlWithoutTextDrawsItsFrameTransparently)
{
    auto* control = TComponent::Create<TLMDGraphicControl>(form);
    control->SetParent(form);
    control->SetBounds(10, 10, 20, 20);
    EXPECT_TRUE(control->IsEmpty());
    EXPECT_EQ(CountOf(form->Snapshot(), {0, 0, 100, 120}, kFormColor), 100 * 120);

    control->Bevel().SetBorderColor(clRed);
    control->Bevel().SetBorderWidth(2);
    TPixmap got = form->Snapshot();
    EXPECT_EQ(CountOf(got, {10, 10, 30, 30}, clRed), 20 * 20 - 16 * 16);
    EXPECT_EQ(CountOf(got, {12, 12, 28, 28}, kFormColor), 16 * 16);

    // In button face the transparent rings are left out.
    control->Bevel().SetBorderColor(clBtnFace);
    EXPECT_EQ(CountOf(form->Snapshot(), {0, 0, 100, 120}, kFormColor), 100 * 120);
}

TEST_F(LabelPaintTest, SunkenHorizontalTextPutsTheLightCopyDownRight)
{
    TLMDLabel* label = PlainLabel("Hi there");
    label->FontFx().SetStyle(TLMDThreeDStyle::tdSunken);
    label->FontFx().SetDepth3D(2);
    label->FontFx().SetLightColor(clRed);
    TPixmap got = form->Snapshot();
    TExpectedPicture want = ExpectedPlain(*label);
    Pass(want, clRed, {2, 2, 92, 42}, "Hi there", kLabelOptions);
    Pass(want, clBlack, {0, 0, 90, 40}, "Hi there", kLabelOptions);
    EXPECT_TRUE(SamePicture(got, want.Pixels()));
    // The red copy sticks out 2 beyond the black text at the right and bottom.
    const TRect ink = InkOf(got, {10, 10, 100, 50}, clWhite);
    EXPECT_EQ(ink.Right, 10 + 8 * 8 + 2);
    EXPECT_GT(CountOf(got, {10, 10, 100, 50}, clRed), 0);
}

TEST_F(LabelPaintTest, RaisedShadowDrawsShadowLightAndText)
{
    TLMDLabel* label = PlainLabel("Hi");
    label->FontFx().SetStyle(TLMDThreeDStyle::tdRaisedShadow);
    label->FontFx().SetLightColor(clLime);
    label->FontFx().SetShadowColor(clRed);
    TExpectedPicture want = ExpectedPlain(*label);
    Pass(want, clRed, {2, 2, 92, 42}, "Hi", kLabelOptions);
    Pass(want, clLime, {0, 0, 90, 40}, "Hi", kLabelOptions);
    Pass(want, clBlack, {1, 1, 91, 41}, "Hi", kLabelOptions);
    EXPECT_TRUE(SamePicture(form->Snapshot(), want.Pixels()));

    label->FontFx().SetStyle(TLMDThreeDStyle::tdSunkenShadow);
    TExpectedPicture sunken = ExpectedPlain(*label);
    Pass(sunken, clRed, {0, 0, 90, 40}, "Hi", kLabelOptions);
    Pass(sunken, clLime, {2, 2, 92, 42}, "Hi", kLabelOptions);
    Pass(sunken, clBlack, {1, 1, 91, 41}, "Hi", kLabelOptions);
    EXPECT_TRUE(SamePicture(form->Snapshot(), sunken.Pixels()));

    label->FontFx().SetStyle(TLMDThreeDStyle::tdRaised);
    TExpectedPicture raised = ExpectedPlain(*label);
    Pass(raised, clLime, {0, 0, 90, 40}, "Hi", kLabelOptions);
    Pass(raised, clBlack, {1, 1, 91, 41}, "Hi", kLabelOptions);
    EXPECT_TRUE(SamePicture(form->Snapshot(), raised.Pixels()));
}

TEST_F(LabelPaintTest, PositionMovesTheTextAndNarrowsItsWrapping)
{
    // "Hello World" is 88 wide: it fits the 90 of the label, not the 87
    // left after a PosX of 3.
    TLMDLabel* label = PlainLabel("Hello World");
    TPixmap flat = form->Snapshot();
    EXPECT_LE(InkOf(flat, {10, 10, 100, 50}, clWhite).Height(), 16);

    label->FontFx().SetPosX(3);
    label->FontFx().SetPosY(2);
    TPixmap got = form->Snapshot();
    TExpectedPicture want = ExpectedPlain(*label);
    Pass(want, clBlack, {3, 2, 90, 40}, "Hello World", kLabelOptions);
    EXPECT_TRUE(SamePicture(got, want.Pixels()));
    EXPECT_GT(InkOf(got, {10, 10, 100, 50}, clWhite).Height(), 16) << "two lines";
    EXPECT_GE(InkOf(got, {10, 10, 100, 50}, clWhite).Left, 10 + 3);
}

TEST_F(LabelPaintTest, AlignmentsPlaceTheTextAndTheLowerSixDrawOneLine)
{
    const std::pair<TLMDAlignment, unsigned> table[] = {
        {TLMDAlignment::agTopLeft, 0},
        {TLMDAlignment::agTopCenter, DT_CENTER},
        {TLMDAlignment::agTopRight, DT_RIGHT},
        {TLMDAlignment::agCenterLeft, DT_VCENTER | DT_SINGLELINE},
        {TLMDAlignment::agCenter, DT_VCENTER | DT_CENTER | DT_SINGLELINE},
        {TLMDAlignment::agCenterRight, DT_VCENTER | DT_RIGHT | DT_SINGLELINE},
        {TLMDAlignment::agBottomLeft, DT_BOTTOM | DT_SINGLELINE},
        {TLMDAlignment::agBottomCenter, DT_BOTTOM | DT_CENTER | DT_SINGLELINE},
        {TLMDAlignment::agBottomRight, DT_BOTTOM | DT_RIGHT | DT_SINGLELINE},
    };
    TLMDLabel* label = PlainLabel("ab\ncd");
    for (const auto& [alignment, options] : table) {
        label->SetAlignment(alignment);
        TPixmap got = form->Snapshot();
        TExpectedPicture want = ExpectedPlain(*label);
        Pass(want, clBlack, {0, 0, 90, 40}, "ab\ncd", kLabelOptions | options);
        EXPECT_TRUE(SamePicture(got, want.Pixels())) << static_cast<int>(alignment);
        const TRect ink = InkOf(got, {10, 10, 100, 50}, clWhite);
        if (options & DT_SINGLELINE)
            EXPECT_LE(ink.Height(), 16) << static_cast<int>(alignment);
        else
            EXPECT_GT(ink.Height(), 16) << static_cast<int>(alignment);
    }
    // Centred both ways: the line "abcd" (32 wide) sits at (29, 12).
    label->SetAlignment(TLMDAlignment::agCenter);
    const TRect ink = InkOf(form->Snapshot(), {10, 10, 100, 50}, clWhite);
    EXPECT_GE(ink.Left, 10 + 29);
    EXPECT_LE(ink.Right, 10 + 29 + 32);
    EXPECT_GE(ink.Top, 10 + 12);
    EXPECT_LE(ink.Bottom, 10 + 12 + 16);
}

TEST_F(LabelPaintTest, AcceleratorsUnderlineUnlessSwitchedOff)
{
    TLMDLabel* label = PlainLabel("&Hi");
    TExpectedPicture want = ExpectedPlain(*label);
    Pass(want, clBlack, {0, 0, 90, 40}, "&Hi", kLabelOptions);
    EXPECT_TRUE(SamePicture(form->Snapshot(), want.Pixels()));
    label->SetShowAccelChar(false);
    TExpectedPicture plain = ExpectedPlain(*label);
    Pass(plain, clBlack, {0, 0, 90, 40}, "&Hi", kLabelOptions | DT_NOPREFIX);
    EXPECT_TRUE(SamePicture(form->Snapshot(), plain.Pixels()));
}

TEST_F(LabelPaintTest, TextStaysInsideTheFrame)
{
    TLMDLabel* label = PlainLabel("Hello World Hello World");
    label->Bevel().SetStyleOuter(TLMDBevelStyle::bvLowered);
    label->Bevel().SetWidthOuter(3);
    label->Bevel().SetLightColor(clBlue);
    label->Bevel().SetShadowColor(clBlue);
    label->SetAlignment(TLMDAlignment::agCenterRight);
    TPixmap got = form->Snapshot();
    TExpectedPicture want = ExpectedPlain(*label);
    TLMDBevel bevel;
    bevel.Assign(label->Bevel());
    bevel.PaintBevel(want.Canvas(), {0, 0, 90, 40}, false);
    want.Canvas().Brush.Style = TBrushStyle::bsClear;
    want.Canvas().SetClipRect({3, 3, 87, 37});
    Pass(want, clBlack, {3, 3, 87, 37}, "Hello World Hello World",
        kLabelOptions | DT_VCENTER | DT_RIGHT | DT_SINGLELINE);
    EXPECT_TRUE(SamePicture(got, want.Pixels()));
    EXPECT_EQ(CountOf(got, {10, 10, 100, 50}, clBlue), 90 * 40 - 84 * 34);
    // The restriction to the inner rectangle lasts to the end of the repaint.
    EXPECT_EQ(label->Canvas().ClipRect(), (TRect{3, 3, 87, 37}));

    // A frame wider than the label leaves no room: only rings are drawn.
    label->Bevel().SetStyleOuter(TLMDBevelStyle::bvNone);
    label->Bevel().SetBorderColor(clBlue);
    label->Bevel().SetBorderWidth(300);
    got = form->Snapshot();
    EXPECT_EQ(CountOf(got, {10, 10, 100, 50}, clBlue), 90 * 40);
}

TEST_F(LabelPaintTest, DisabledLabelDrawsItsTextInGrey)
{
    TLMDLabel* label = PlainLabel("Hi");
    label->FontFx().SetStyle(TLMDThreeDStyle::tdSunken);
    label->FontFx().SetLightColor(clRed);
    label->Font().SetColor(clNavy);
    label->SetEnabled(false);
    TPixmap got = form->Snapshot();
    TExpectedPicture want = ExpectedPlain(*label);
    Pass(want, clRed, {1, 1, 91, 41}, "Hi", kLabelOptions);
    Pass(want, clGrayText, {0, 0, 90, 40}, "Hi", kLabelOptions);
    EXPECT_TRUE(SamePicture(got, want.Pixels()));
    EXPECT_EQ(CountOf(got, {10, 10, 100, 50}, clNavy), 0);
    EXPECT_GT(CountOf(got, {10, 10, 100, 50}, clGrayText), 0);
    EXPECT_GT(CountOf(got, {10, 10, 100, 50}, clRed), 0);
}

TEST_F(LabelPaintTest, ParentColourStylesDrawTheTextInTheLabelsColour)
{
    TLMDLabel* label = PlainLabel("Hi");
    label->Font().SetColor(clNavy);
    label->FontFx().SetLightColor(clLime);
    label->FontFx().SetShadowColor(clRed);
    for (TLMDThreeDStyle style : {TLMDThreeDStyle::tdPColorSunken, TLMDThreeDStyle::tdPColorRaised}) {
        label->FontFx().SetStyle(style);
        TPixmap got = form->Snapshot();
        EXPECT_EQ(CountOf(got, {10, 10, 100, 50}, clNavy), 0);
        EXPECT_GT(CountOf(got, {10, 10, 100, 50}, clLime), 0);
        EXPECT_GT(CountOf(got, {10, 10, 100, 50}, clRed), 0);
    }
    TExpectedPicture want = ExpectedPlain(*label);
    Pass(want, clRed, {2, 2, 92, 42}, "Hi", kLabelOptions);
    Pass(want, clLime, {0, 0, 90, 40}, "Hi", kLabelOptions);
    Pass(want, clWhite, {1, 1, 91, 41}, "Hi", kLabelOptions);
    EXPECT_TRUE(SamePicture(form->Snapshot(), want.Pixels()));
}

TEST_F(LabelPaintTest, DepthZeroShowsOnlyTheLastPass)
{
    TLMDLabel* label = PlainLabel("Hi");
    label->FontFx().SetStyle(TLMDThreeDStyle::tdRaisedShadow);
    label->FontFx().SetDepth3D(0);
    label->FontFx().SetLightColor(clLime);
    label->FontFx().SetShadowColor(clRed);
    TPixmap got = form->Snapshot();
    EXPECT_EQ(CountOf(got, {10, 10, 100, 50}, clLime), 0);
    EXPECT_EQ(CountOf(got, {10, 10, 100, 50}, clRed), 0);
    EXPECT_GT(CountOf(got, {10, 10, 100, 50}, clBlack), 0);
}

TEST_F(LabelPaintTest, LongCaptionsAreDrawnWithTheirFirst255Bytes)
{
    const std::string caption = std::string(255, 'a') + std::string(45, 'b');
    TLMDLabel* label = PlainLabel(caption);
    label->SetAlignment(TLMDAlignment::agCenterRight);
    TPixmap got = form->Snapshot();
    TExpectedPicture want = ExpectedPlain(*label);
    Pass(want, clBlack, {0, 0, 90, 40}, std::string(255, 'a'), kLabelOptions | DT_VCENTER | DT_RIGHT | DT_SINGLELINE);
    EXPECT_TRUE(SamePicture(got, want.Pixels()));
}

TEST_F(LabelPaintTest, CaptionThenColourRepaintsOnceWhenServed)
{
    TLMDLabel* label = InfoLabel("");
    form->Snapshot();
    const int before = label->PaintCount();
    label->SetCaption("  Welcome");
    label->Font().SetColor(0xFFB000);
    EXPECT_EQ(label->PaintCount(), before) << "both only ask";
    EXPECT_EQ(label->BoundsRect(), (TRect{4, 4, 74, 96}));
    form->PaintPending();
    EXPECT_EQ(label->PaintCount(), before + 1);
    EXPECT_GT(CountOf(form->BackBuffer(), {4, 4, 74, 96}, 0xFFB000), 0);
    EXPECT_EQ(CountOf(form->BackBuffer(), {4, 4, 74, 96}, kGold), 0);
}
