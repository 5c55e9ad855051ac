#include "SpinTestSupport.h"

#include "toolkit/graphics/Exceptions.h"
#include "toolkit/graphics/Resources.h"
#include "toolkit/windowing/Application.h"
#include "toolkit/windowing/ClassRegistry.h"
#include "toolkit/windowing/LayoutReader.h"
#include "toolkit/windowing/Panel.h"

#include <memory>

namespace {

TRect BoundsOf(const TControl& control)
{
    return control.BoundsRect();
}

std::vector<TPixel> PixelsOf(const TBitmap& bitmap)
{
    std::vector<TPixel> pixels;
    for (int y = 0; y < bitmap.Height(); ++y) {
        for (int x = 0; x < bitmap.Width(); ++x)
            pixels.push_back(bitmap.Pixmap().At(x, y));
    }
    return pixels;
}

std::unique_ptr<TBitmap> Embedded(const char* name)
{
    auto bitmap = std::make_unique<TBitmap>();
    bitmap->LoadFromMemory(FindEmbeddedFile(name));
    return bitmap;
}

} // namespace

TEST_F(SpinTest, NewSpinButtonIs20By25WithTheBuiltInArrowsAndTheUpperHalfFocused)
{
    auto* fresh = TComponent::Create<TSpinButton>(window);
    EXPECT_EQ(fresh->Width(), 20);
    EXPECT_EQ(fresh->Height(), 25);
    EXPECT_EQ(BoundsOf(*fresh->UpButton()), TRect::FromBounds(0, 0, 20, 12));
    EXPECT_EQ(BoundsOf(*fresh->DownButton()), TRect::FromBounds(0, 11, 20, 14));
    EXPECT_EQ(fresh->FocusedButton(), fresh->UpButton());
    EXPECT_FALSE(fresh->TabStop());
    EXPECT_EQ(fresh->FocusControl(), nullptr);

    for (TTimerSpeedButton* half : {fresh->UpButton(), fresh->DownButton()}) {
        EXPECT_EQ(half->Parent(), fresh);
        EXPECT_EQ(half->Owner(), fresh);
        EXPECT_TRUE(half->Visible());
        EXPECT_TRUE(half->Enabled());
        EXPECT_TRUE(half->AllowRepeat());
        EXPECT_FALSE(half->ShowFocusRect());
        EXPECT_EQ(half->NumGlyphs(), 1);
    }
    EXPECT_EQ(fresh->UpGlyph().Width(), 9);
    EXPECT_EQ(fresh->UpGlyph().Height(), 6);
    EXPECT_EQ(fresh->UpGlyph().PixelFormat(), TPixelFormat::pf4bit);
    EXPECT_EQ(PixelsOf(fresh->UpGlyph()), PixelsOf(*Embedded("SpinUp.bmp")));
    EXPECT_EQ(PixelsOf(fresh->DownGlyph()), PixelsOf(*Embedded("SpinDown.bmp")));
    EXPECT_NE(PixelsOf(fresh->UpGlyph()), PixelsOf(fresh->DownGlyph()));

    EXPECT_FALSE(fresh->ControlStyle() & csAcceptsControls);
    EXPECT_FALSE(fresh->ControlStyle() & csSetCaption);
    EXPECT_TRUE(fresh->ControlStyle() & csOpaque);
}

TEST_F(SpinTest, HeightOf25GivesHalvesOf12And14RowsSharingRow11)
{
    EXPECT_EQ(BoundsOf(*spin->UpButton()), TRect::FromBounds(0, 0, 15, 12));
    EXPECT_EQ(BoundsOf(*spin->DownButton()), TRect::FromBounds(0, 11, 15, 14));

    // The shared row belongs to the lower half, which lies above.
    TPoint row10 = spin->WindowOrigin() + TPoint{7, 10};
    TPoint row11 = spin->WindowOrigin() + TPoint{7, 11};
    Press(row11);
    Release(row11);
    Press(row10);
    Release(row10);
    EXPECT_EQ(Halves(), (std::vector<std::string>{"down", "up"}));
}

TEST_F(SpinTest, HeightOf24GivesHalvesOf12And13Rows)
{
    spin->SetHeight(24);
    EXPECT_EQ(BoundsOf(*spin->UpButton()), TRect::FromBounds(0, 0, 15, 12));
    EXPECT_EQ(BoundsOf(*spin->DownButton()), TRect::FromBounds(0, 11, 15, 13));
}

TEST_F(SpinTest, OddAndSmallHeightsSplitWithHeightDivTwo)
{
    spin->SetHeight(7);
    EXPECT_EQ(BoundsOf(*spin->UpButton()), TRect::FromBounds(0, 0, 15, 3));
    EXPECT_EQ(BoundsOf(*spin->DownButton()), TRect::FromBounds(0, 2, 15, 5));
    spin->SetHeight(40);
    EXPECT_EQ(BoundsOf(*spin->UpButton()), TRect::FromBounds(0, 0, 15, 20));
    EXPECT_EQ(BoundsOf(*spin->DownButton()), TRect::FromBounds(0, 19, 15, 21));
}

TEST_F(SpinTest, WidthBelow15IsWidened)
{
    spin->SetWidth(9);
    EXPECT_EQ(spin->Width(), 15);
    spin->SetBounds(1, 2, 0, 25);
    EXPECT_EQ(spin->BoundsRect(), TRect::FromBounds(1, 2, 15, 25));
    EXPECT_EQ(spin->UpButton()->Width(), 15);
    EXPECT_EQ(spin->DownButton()->Width(), 15);

    spin->SetWidth(31);
    EXPECT_EQ(spin->Width(), 31);
    EXPECT_EQ(spin->UpButton()->Width(), 31);
    EXPECT_EQ(spin->DownButton()->Width(), 31);
}

TEST_F(SpinTest, GlyphsCanBeReplacedAndAnEmptyOneBringsTheBuiltInArrowBack)
{
    auto up = Embedded("spin_up.bmp");
    auto down = Embedded("spin_down.bmp");
    spin->SetUpGlyph(*up);
    spin->SetDownGlyph(*down);
    EXPECT_EQ(spin->UpGlyph().PixelFormat(), TPixelFormat::pf24bit);
    EXPECT_EQ(PixelsOf(spin->UpGlyph()), PixelsOf(*up));
    EXPECT_EQ(PixelsOf(spin->DownGlyph()), PixelsOf(*down));

    window->Snapshot();
    spin->SetUpGlyph(TBitmap());
    EXPECT_EQ(PixelsOf(spin->UpGlyph()), PixelsOf(*Embedded("SpinUp.bmp")));
    EXPECT_EQ(spin->UpButton()->NumGlyphs(), 1);
    EXPECT_TRUE(window->HasPendingPaint()) << "the half is marked for repainting";
    spin->SetDownGlyph(TBitmap());
    EXPECT_EQ(PixelsOf(spin->DownGlyph()), PixelsOf(*Embedded("SpinDown.bmp")));
}

TEST_F(SpinTest, HalvesShowTheirGlyphsWithTheOliveBackgroundLeftOut)
{
    spin->SetUpGlyph(*Embedded("spin_up.bmp"));
    spin->SetDownGlyph(*Embedded("spin_down.bmp"));
    TPixmap picture = window->Snapshot();
    const TPixel olive = MakeColor(0x7F, 0x7F, 0x00);
    int black = 0;
    for (int y = 0; y < 25; ++y) {
        for (int x = 0; x < 15; ++x) {
            TPixel pixel = picture.At(SpinLeft + x, SpinTop + y) & 0xFFFFFF;
            EXPECT_NE(pixel, olive) << "at " << x << "," << y;
            black += pixel == 0 ? 1 : 0;
        }
    }
    EXPECT_GT(black, 6) << "the two black triangles show";
}

namespace {

class TSpinLayoutWindow : public TForm {
public:
    explicit TSpinLayoutWindow(TComponent* owner) : TForm(owner)
    {
        RegisterHandler("bValueUpClick", &TSpinLayoutWindow::bValueUpClick);
        RegisterHandler("bValueDownClick", &TSpinLayoutWindow::bValueDownClick);
    }
    void bValueUpClick(TObject* sender) { log.push_back(sender == FindComponent("bValue") ? "up" : "?"); }
    void bValueDownClick(TObject* sender) { log.push_back(sender == FindComponent("bValue") ? "down" : "?"); }
    std::vector<std::string> log;
};

constexpr const char* kSpinLayout = R"(object fTest: TSpinLayoutWindow
  ClientWidth = 100
  ClientHeight = 60
  object panMain: TPanel
    Left = 0
    Top = 0
    Width = 100
    Height = 60
    Color = clBlack
    object bValue: TSpinButton
      Left = 73
      Top = 8
      Width = 10
      Height = 24
      Ctl3D = False
      DownGlyph = 'spin_down.bmp'
      DragCursor = crDefault
      FocusControl = panTarget
      ParentCtl3D = False
      PopupMenu = pmNone
      TabOrder = 2
      UpGlyph = 'spin_up.bmp'
      OnDownClick = bValueDownClick
      OnUpClick = bValueUpClick
    end
    object panTarget: TPanel
      Left = 4
      Top = 4
      Width = 20
      Height = 20
    end
  end
end
)";

} // namespace

TEST(SpinLayoutTest, ReadsTheSpinButtonAndLaysItOutOnceLoaded)
{
    Application().InitializeHeadless();
    RegisterSpin();
    auto* form = TComponent::Create<TSpinLayoutWindow>(&Application());
    ReadLayoutText(*form, kSpinLayout, "spin.layout");

    auto* spin = dynamic_cast<TSpinButton*>(form->FindComponent("bValue"));
    ASSERT_NE(spin, nullptr);
    EXPECT_EQ(spin->Parent(), form->FindComponent("panMain"));
    EXPECT_EQ(spin->BoundsRect(), TRect::FromBounds(73, 8, 15, 24)) << "widened to 15 once loaded";
    EXPECT_EQ(spin->UpButton()->BoundsRect(), TRect::FromBounds(0, 0, 15, 12));
    EXPECT_EQ(spin->DownButton()->BoundsRect(), TRect::FromBounds(0, 11, 15, 13));
    EXPECT_FALSE(spin->Ctl3D());
    EXPECT_FALSE(spin->ParentCtl3D());
    EXPECT_EQ(spin->TabOrder(), 2);
    EXPECT_FALSE(spin->TabStop());
    EXPECT_EQ(spin->FocusControl(), form->FindComponent("panTarget")) << "named before it was read";
    EXPECT_EQ(spin->UpGlyph().PixelFormat(), TPixelFormat::pf24bit);
    EXPECT_EQ(spin->DownGlyph().PixelFormat(), TPixelFormat::pf24bit);

    form->Show();
    TPoint up = spin->UpButton()->WindowOrigin() + TPoint{5, 5};
    TPoint down = spin->DownButton()->WindowOrigin() + TPoint{5, 5};
    form->DispatchMouseDown(TMouseButton::mbLeft, ssLeft, up.X, up.Y);
    form->DispatchMouseUp(TMouseButton::mbLeft, 0, up.X, up.Y);
    form->DispatchMouseDown(TMouseButton::mbLeft, ssLeft, down.X, down.Y);
    form->DispatchMouseUp(TMouseButton::mbLeft, 0, down.X, down.Y);
    EXPECT_EQ(form->log, (std::vector<std::string>{"up", "down"}));

    // The focus control going away leaves none behind.
    form->FindComponent("panTarget")->Free();
    EXPECT_EQ(spin->FocusControl(), nullptr);
    form->Free();
}

TEST(SpinLayoutTest, FocusControlMustNameAWindowedControl)
{
    Application().InitializeHeadless();
    RegisterSpin();
    auto* form = TComponent::Create<TSpinLayoutWindow>(&Application());
    EXPECT_THROW(ReadLayoutText(*form, R"(object fTest: TSpinLayoutWindow
  object bValue: TSpinButton
    FocusControl = nowhere
  end
end
)",
                     "spin.layout"),
        ELayoutError);
    form->Free();
}

TEST(SpinLayoutTest, RegisteringTwiceDeclaresTheClassOnce)
{
    RegisterSpin();
    const TClassInfo* first = TClassRegistry::Find("TSpinButton");
    RegisterSpin();
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(TClassRegistry::Find("TSpinButton"), first);
    EXPECT_EQ(first->properties.size(), 11u);
}
