#include "LabelTestSupport.h"

#include "controls/LmdDrawing.h"
#include "toolkit/graphics/Exceptions.h"
#include "toolkit/graphics/FontEngine.h"
#include "toolkit/windowing/ClassRegistry.h"
#include "toolkit/windowing/LayoutReader.h"
#include "toolkit/windowing/Panel.h"

namespace {

class LabelPropertyTest : public LabelWindowTest { };

// A window class of its own for layouts, with the drag handlers that the
// label's mouse events are bound to.
class TLabelTestWindow : public TForm {
public:
    explicit TLabelTestWindow(TComponent* owner) : TForm(owner)
    {
        RegisterHandler("panMainMouseDown", &TLabelTestWindow::panMainMouseDown);
    }
    const char* ClassName() const override { return "TLabelTestWindow"; }
    void panMainMouseDown(TObject*, TMouseButton, TShiftState, int x, int y)
    {
        ++presses;
        lastX = x;
        lastY = y;
    }
    int presses = 0;
    int lastX = -1;
    int lastY = -1;
};

class LabelLayoutTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        Application().InitializeHeadless();
        RegisterLmdlabel();
        TClassBuilder<TLabelTestWindow>("TLabelTestWindow", "TForm", false);
        TFontEngine::Instance().RegisterFaceFile(kBitmapFace, kBitmapFontFile);
        window = TComponent::Create<TLabelTestWindow>(&Application());
    }
    void TearDown() override { window->Free(); }

    TLMDLabel* Read(const std::string& labelLines)
    {
        ReadLayoutText(*window,
            "object fTest: TLabelTestWindow\n  ClientWidth = 100\n  ClientHeight = 120\n"
            "  object lInfo: TLMDLabel\n" +
                labelLines + "  end\nend\n",
            "label.layout");
        return dynamic_cast<TLMDLabel*>(window->FindComponent("lInfo"));
    }

    TLabelTestWindow* window = nullptr;
};

// The values lInfo stores, in the order its layout stores them.
const char* const kInfoLayout = R"(    Left = 4
    Top = 4
    Width = 70
    Height = 92
    Alignment = agBottomCenter
    AutoSize = False
    Caption = 'xxxxxxxxx'
    Color = clBlack
    Font.Charset = DEFAULT_CHARSET
    Font.Color = 1886207
    Font.Height = -16
    Font.Name = 'Arial'
    Font.Style = [fsBold]
    FontFx.LightColor = 6316128
    FontFx.Style = tdSunken
    FontFx.Depth3D = 4
    FontFx.Angle = 57
    FontFx.PosX = 1
    FontFx.PosY = 73
    MultiLine = True
    ParentColor = False
    ParentFont = False
    ShowAccelChar = False
    OnMouseDown = panMainMouseDown
)";

} // namespace

TEST_F(LabelPropertyTest, DefaultsOfTheWholeFamily)
{
    auto* label = TComponent::Create<TLMDLabel>(form);
    EXPECT_STREQ(label->ClassName(), "TLMDLabel");
    EXPECT_TRUE(label->ShowAccelChar());
    EXPECT_EQ(label->Alignment(), TLMDAlignment::agTopLeft);
    EXPECT_TRUE(label->AutoSize());
    EXPECT_EQ(label->FocusControl(), nullptr);
    EXPECT_FALSE(label->MultiLine());
    EXPECT_FALSE(label->Transparent());
    EXPECT_TRUE(label->ControlStyle() & csOpaque);
    EXPECT_EQ(label->Color(), clWindow);
    EXPECT_TRUE(label->ParentColor());
    EXPECT_TRUE(label->ParentFont());

    const TLMDFxCaption& fx = label->FontFx();
    EXPECT_EQ(fx.Depth3D(), 1);
    EXPECT_EQ(fx.LightColor(), clBtnHighlight);
    EXPECT_EQ(fx.ShadowColor(), clBtnShadow);
    EXPECT_EQ(fx.Style(), TLMDThreeDStyle::tdNone);
    EXPECT_EQ(fx.Angle(), 0);
    EXPECT_EQ(fx.PosX(), 0);
    EXPECT_EQ(fx.PosY(), 0);
    EXPECT_EQ(label->Bevel().BevelExtent(), 0);

    // A new label takes its parent's colour.
    label->SetParent(form);
    EXPECT_EQ(label->Color(), kFormColor);
    EXPECT_TRUE(label->ParentColor());
}

TEST_F(LabelPropertyTest, CaptionSettersNotifyOnlyOnChange)
{
    TLMDFxCaption fx;
    int changes = 0;
    fx.OnChange = [&](TObject* sender) {
        EXPECT_EQ(sender, &fx);
        ++changes;
    };
    fx.SetDepth3D(1);
    fx.SetLightColor(clBtnHighlight);
    fx.SetShadowColor(clBtnShadow);
    fx.SetStyle(TLMDThreeDStyle::tdNone);
    fx.SetAngle(0);
    fx.SetPosX(0);
    fx.SetPosY(0);
    EXPECT_EQ(changes, 0);
    fx.SetDepth3D(255);
    fx.SetLightColor(clRed);
    fx.SetShadowColor(clBlue);
    fx.SetStyle(TLMDThreeDStyle::tdPColorRaised);
    fx.SetAngle(400); // the range is not checked
    fx.SetPosX(65535);
    fx.SetPosY(1);
    EXPECT_EQ(changes, 7);
    EXPECT_EQ(fx.Angle(), 400);
}

TEST_F(LabelPropertyTest, CaptionAssignCopiesWhatTheSourceHas)
{
    TLMDFxCaption source;
    source.SetDepth3D(3);
    source.SetLightColor(clRed);
    source.SetShadowColor(clBlue);
    source.SetStyle(TLMDThreeDStyle::tdRaised);
    source.SetAngle(45);
    source.SetPosX(6);
    source.SetPosY(8);

    TLMDFxCaption target;
    std::vector<std::string> log;
    target.OnChange = [&](TObject*) {
        log.push_back(std::to_string(target.Depth3D()) + "/" + std::to_string(target.PosX()) + "/" +
            std::to_string(target.PosY()) + "/" + std::to_string(target.Angle()));
    };
    target.Assign(source);
    // Depth3D, LightColor, ShadowColor, Style, PosX, PosY, Angle, then once more.
    EXPECT_EQ(log,
        (std::vector<std::string>{
            "3/0/0/0", "3/0/0/0", "3/0/0/0", "3/0/0/0", "3/6/0/0", "3/6/8/0", "3/6/8/45", "3/6/8/45"}));
    EXPECT_EQ(target.LightColor(), clRed);
    EXPECT_EQ(target.ShadowColor(), clBlue);
    EXPECT_EQ(target.Style(), TLMDThreeDStyle::tdRaised);

    // From a plain 3-D caption only the first four come over.
    TLMD3DCaption plain;
    plain.SetDepth3D(9);
    TLMDFxCaption other = {};
    other.SetAngle(30);
    other.Assign(plain);
    EXPECT_EQ(other.Depth3D(), 9);
    EXPECT_EQ(other.Angle(), 30);
    // And a plain one takes the first four of an effect with rotation.
    plain.Assign(source);
    EXPECT_EQ(plain.Depth3D(), 3);
    EXPECT_EQ(plain.Style(), TLMDThreeDStyle::tdRaised);
}

TEST_F(LabelPropertyTest, AssignFromAnUnrelatedClassRaisesAndKeepsValues)
{
    TLMDFxCaption fx;
    fx.SetAngle(12);
    TLMDBevel bevel;
    int changes = 0;
    fx.OnChange = [&](TObject*) { ++changes; };
    EXPECT_THROW(fx.Assign(bevel), EConvertError);
    try {
        fx.Assign(bevel);
    } catch (const EConvertError& error) {
        EXPECT_STREQ(error.what(), "Cannot assign a TLMDBevel to a TLMDFxCaption");
    }
    TLMD3DCaption plain;
    EXPECT_THROW(plain.Assign(TFont()), EConvertError);
    EXPECT_THROW(bevel.Assign(fx), EConvertError);
    EXPECT_EQ(fx.Angle(), 12);
    EXPECT_EQ(changes, 0);

    TLMDLabel* label = NewLabel(0, 0, 20, 20);
    label->FontFx().SetDepth3D(6);
    EXPECT_THROW(label->FontFx().Assign(bevel), EConvertError);
    EXPECT_EQ(label->FontFx().Depth3D(), 6);
}

TEST_F(LabelPropertyTest, SettingBevelOrFontFxCopiesIntoTheOwnedObjects)
{
    TLMDLabel* label = NewLabel(0, 0, 20, 20);
    TLMDBevel bevel;
    bevel.SetStyleOuter(TLMDBevelStyle::bvRaised);
    TLMDBevel* owned = &label->Bevel();
    label->SetBevel(bevel);
    EXPECT_EQ(&label->Bevel(), owned);
    EXPECT_EQ(label->Bevel().StyleOuter(), TLMDBevelStyle::bvRaised);
    bevel.SetStyleOuter(TLMDBevelStyle::bvLowered);
    EXPECT_EQ(label->Bevel().StyleOuter(), TLMDBevelStyle::bvRaised);

    TLMDFxCaption fx;
    fx.SetStyle(TLMDThreeDStyle::tdSunken);
    label->SetFontFx(fx);
    EXPECT_EQ(label->FontFx().Style(), TLMDThreeDStyle::tdSunken);
    EXPECT_NE(&label->FontFx(), &fx);
}

TEST_F(LabelPropertyTest, ChangesOfFontAndFontFxAskForARepaintAndLeaveTheParentFont)
{
    TLMDLabel* label = NewLabel(0, 0, 20, 20);
    label->SetParentFont(true);
    form->Snapshot();
    EXPECT_FALSE(form->HasPendingPaint());
    label->Font().SetColor(clRed);
    EXPECT_FALSE(label->ParentFont());
    EXPECT_TRUE(form->HasPendingPaint());

    form->Snapshot();
    label->SetParentFont(true);
    label->FontFx().SetLightColor(clRed);
    EXPECT_FALSE(label->ParentFont());
    EXPECT_TRUE(form->HasPendingPaint());

    form->Snapshot();
    label->Bevel().SetBorderColor(clRed);
    EXPECT_TRUE(form->HasPendingPaint());
}

TEST_F(LabelPropertyTest, SettersAskForARepaintOnlyOnChange)
{
    TLMDLabel* label = NewLabel(0, 0, 20, 20);
    auto pendingAfter = [&](auto change) {
        form->Snapshot();
        change();
        return form->HasPendingPaint();
    };
    EXPECT_FALSE(pendingAfter([&] { label->SetAlignment(TLMDAlignment::agTopLeft); }));
    EXPECT_TRUE(pendingAfter([&] { label->SetAlignment(TLMDAlignment::agCenter); }));
    EXPECT_FALSE(pendingAfter([&] { label->SetShowAccelChar(true); }));
    EXPECT_TRUE(pendingAfter([&] { label->SetShowAccelChar(false); }));
    EXPECT_FALSE(pendingAfter([&] { label->SetTransparent(false); }));
    EXPECT_TRUE(pendingAfter([&] { label->SetTransparent(true); }));
    EXPECT_TRUE(pendingAfter([&] { label->SetCaption("x"); }));
    // MultiLine only re-measures, which a fixed label doesn't.
    EXPECT_FALSE(pendingAfter([&] { label->SetMultiLine(true); }));
}

TEST_F(LabelPropertyTest, TransparentTogglesTheOpaqueFlag)
{
    TLMDLabel* label = NewLabel(0, 0, 20, 20);
    label->SetTransparent(true);
    EXPECT_FALSE(label->ControlStyle() & csOpaque);
    EXPECT_TRUE(label->ControlStyle() & csClickEvents);
    label->SetTransparent(false);
    EXPECT_TRUE(label->ControlStyle() & csOpaque);
}

TEST_F(LabelPropertyTest, EmptyOnlyWhenTransparentBlankAndFrameless)
{
    TLMDLabel* label = NewLabel(0, 0, 20, 20);
    label->SetCaption("   ");
    EXPECT_FALSE(label->IsEmpty());
    label->SetTransparent(true);
    EXPECT_TRUE(label->IsEmpty());
    label->SetCaption("\t");
    EXPECT_FALSE(label->IsEmpty());
    label->SetCaption("");
    EXPECT_TRUE(label->IsEmpty());
    label->Bevel().SetBorderWidth(1);
    EXPECT_FALSE(label->IsEmpty());
    label->Bevel().SetBorderWidth(0);
    // Only the first 255 bytes count.
    label->SetCaption(std::string(255, ' ') + "x");
    EXPECT_TRUE(label->IsEmpty());
}

TEST_F(LabelPropertyTest, AFaceThatCantTurnMakesTheTextHorizontal)
{
    TFontEngine::Instance().RegisterFaceFile(kBitmapFace, kBitmapFontFile);
    ASSERT_FALSE(IsTrueTypeFont(kBitmapFace));
    ASSERT_TRUE(IsTrueTypeFont("Arial"));

    TLMDLabel* label = NewLabel(0, 0, 70, 92);
    label->Font().SetName("Arial");
    label->FontFx().SetAngle(57);
    EXPECT_EQ(label->FontFx().Angle(), 57);
    label->Font().SetName(kBitmapFace);
    EXPECT_EQ(label->FontFx().Angle(), 0);
    EXPECT_TRUE(form->HasPendingPaint());
    // Turning it again is refused at once.
    label->FontFx().SetAngle(30);
    EXPECT_EQ(label->FontFx().Angle(), 0);
}

TEST_F(LabelPropertyTest, AcceleratorGivesTheFocusToFocusControl)
{
    auto* panel = TComponent::Create<TPanel>(form);
    panel->SetParent(form);
    panel->SetBounds(50, 50, 20, 20);
    TLMDLabel* label = NewLabel(0, 0, 40, 20);
    label->SetCaption("&Name");
    form->DispatchDialogChar('n');
    EXPECT_FALSE(panel->Focused()); // no FocusControl yet

    label->SetFocusControl(panel);
    EXPECT_FALSE(label->DialogChar('x'));
    EXPECT_TRUE(label->DialogChar('N'));
    EXPECT_TRUE(panel->Focused());

    form->SetActiveControl(nullptr);
    label->SetShowAccelChar(false);
    EXPECT_FALSE(label->DialogChar('n'));
    label->SetShowAccelChar(true);
    label->SetEnabled(false);
    EXPECT_FALSE(label->DialogChar('n'));
    label->SetEnabled(true);
    panel->SetEnabled(false);
    EXPECT_FALSE(label->DialogChar('n'));
    panel->SetEnabled(true);
    form->DispatchDialogChar('n');
    EXPECT_TRUE(panel->Focused());

    EXPECT_FALSE(IsAccel('a', "abc&"));
    EXPECT_TRUE(IsAccel('B', "a&b&c"));
    EXPECT_FALSE(IsAccel('c', "a&b&c"));
    EXPECT_FALSE(IsAccel('a', "abc"));
}

TEST_F(LabelPropertyTest, RemovingFocusControlForgetsIt)
{
    auto* panel = TComponent::Create<TPanel>(form);
    panel->SetParent(form);
    auto* other = TComponent::Create<TPanel>(form);
    TLMDLabel* label = NewLabel(0, 0, 40, 20);
    label->SetFocusControl(panel);
    other->Free();
    EXPECT_EQ(label->FocusControl(), panel);
    panel->Free();
    EXPECT_EQ(label->FocusControl(), nullptr);
    label->SetCaption("&x");
    EXPECT_FALSE(label->DialogChar('x'));
}

TEST_F(LabelLayoutTest, InfoLabelReadsInPublishedOrder)
{
    TLMDLabel* label = Read(kInfoLayout);
    ASSERT_NE(label, nullptr);
    EXPECT_EQ(label->BoundsRect(), (TRect{4, 4, 74, 96}));
    EXPECT_EQ(label->Caption(), "xxxxxxxxx");
    EXPECT_EQ(label->Alignment(), TLMDAlignment::agBottomCenter);
    EXPECT_FALSE(label->AutoSize());
    EXPECT_EQ(label->Color(), clBlack);
    EXPECT_FALSE(label->ParentColor());
    EXPECT_FALSE(label->ParentFont());
    EXPECT_EQ(label->Font().Name(), "Arial");
    EXPECT_EQ(label->Font().Height(), -16);
    EXPECT_EQ(label->Font().Style(), fsBold);
    EXPECT_EQ(label->Font().Color(), 0x1CC7FF);
    EXPECT_EQ(label->FontFx().Style(), TLMDThreeDStyle::tdSunken);
    EXPECT_EQ(label->FontFx().Depth3D(), 4);
    EXPECT_EQ(label->FontFx().LightColor(), 0x606060);
    EXPECT_EQ(label->FontFx().Angle(), 57);
    EXPECT_EQ(label->FontFx().PosX(), 1);
    EXPECT_EQ(label->FontFx().PosY(), 73);
    EXPECT_TRUE(label->MultiLine());
    EXPECT_FALSE(label->ShowAccelChar());
    EXPECT_FALSE(label->IsLoading());

    // The label's presses reach the window's drag handler.
    window->Show();
    window->DispatchMouseDown(TMouseButton::mbLeft, 0, 10, 20);
    EXPECT_EQ(window->presses, 1);
    EXPECT_EQ(window->lastX, 6);
    EXPECT_EQ(window->lastY, 16);
}

TEST_F(LabelLayoutTest, ReadingNeverResizesEvenWithAutoSize)
{
    TLMDLabel* label = Read(R"(    Left = 4
    Top = 4
    Width = 70
    Height = 92
    Caption = 'Hello'
    Font.Name = 'Courier New'
    Font.Height = -14
)");
    ASSERT_NE(label, nullptr);
    EXPECT_TRUE(label->AutoSize());
    EXPECT_EQ(label->BoundsRect(), (TRect{4, 4, 74, 96}));
}

TEST_F(LabelLayoutTest, AngleReadBeforeAnOutlineFaceIsLost)
{
    TLMDLabel* label = Read(R"(    AutoSize = False
    Font.Name = 'Velmora Label Fixed'
    FontFx.Angle = 57
    FontFx.PosX = 1
)");
    ASSERT_NE(label, nullptr);
    EXPECT_EQ(label->FontFx().Angle(), 0);
    EXPECT_EQ(label->FontFx().PosX(), 1);
}

TEST_F(LabelLayoutTest, BevelValuesNestUnderBevel)
{
    TLMDLabel* label = Read(R"(    AutoSize = False
    Bevel.StyleInner = bvFrameRaised
    Bevel.StyleOuter = bvShadow
    Bevel.WidthInner = 3
    Bevel.WidthOuter = 4
    Bevel.BorderColor = clRed
    Bevel.BorderWidth = 2
    Bevel.BorderInnerWidth = 1
    Bevel.LightColor = clWhite
    Bevel.ShadowColor = clGray
    About = 'v1.0'
    DragMode = dmManual
)");
    ASSERT_NE(label, nullptr);
    const TLMDBevel& bevel = label->Bevel();
    EXPECT_EQ(bevel.StyleOuter(), TLMDBevelStyle::bvShadow);
    EXPECT_EQ(bevel.StyleInner(), TLMDBevelStyle::bvShadow);
    EXPECT_EQ(bevel.WidthInner(), 3);
    EXPECT_EQ(bevel.WidthOuter(), 4);
    EXPECT_EQ(bevel.BorderColor(), clRed);
    EXPECT_EQ(bevel.BorderWidth(), 2);
    EXPECT_EQ(bevel.BorderInnerWidth(), 1);
    EXPECT_EQ(bevel.LightColor(), clWhite);
    EXPECT_EQ(bevel.ShadowColor(), clGray);
}

TEST_F(LabelLayoutTest, TheClassesArePublishedInOrder)
{
    auto names = [](const char* className) {
        std::vector<std::string> list;
        for (const TPropertyInfo& property : TClassRegistry::Find(className)->properties)
            list.push_back(property.name);
        return list;
    };
    EXPECT_EQ(names("TLMDBevel"),
        (std::vector<std::string>{"StyleInner", "StyleOuter", "WidthInner", "WidthOuter", "BorderColor", "BorderWidth",
            "BorderInnerWidth", "LightColor", "ShadowColor"}));
    EXPECT_EQ(names("TLMD3DCaption"), (std::vector<std::string>{"Depth3D", "LightColor", "ShadowColor", "Style"}));
    EXPECT_EQ(names("TLMDFxCaption"), (std::vector<std::string>{"Angle", "PosX", "PosY"}));
    EXPECT_EQ(names("TLMDLabel"),
        (std::vector<std::string>{"About", "Align", "Alignment", "Bevel", "AutoSize", "Caption", "Color", "DragCursor",
            "DragMode", "Enabled", "FocusControl", "Font", "FontFx", "MultiLine", "ParentColor", "ParentFont",
            "ParentShowHint", "PopupMenu", "ShowAccelChar", "ShowHint", "Transparent", "Visible", "OnClick",
            "OnDblClick", "OnDragDrop", "OnDragOver", "OnEndDrag", "OnMouseDown", "OnMouseMove", "OnMouseUp"}));
}
