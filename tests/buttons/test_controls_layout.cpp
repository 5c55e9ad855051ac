#include "controls/Autobtn.h"
#include "controls/Gauges.h"
#include "controls/filedrag.h"
#include "toolkit/graphics/Exceptions.h"
#include "toolkit/windowing/Application.h"
#include "toolkit/windowing/LayoutReader.h"
#include "toolkit/windowing/Panel.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

class TLayoutWindow : public TForm {
public:
    explicit TLayoutWindow(TComponent* owner) : TForm(owner)
    {
        RegisterHandler("bSong1Click", &TLayoutWindow::bSong1Click);
        RegisterHandler("bSong1Locked", &TLayoutWindow::bSong1Locked);
        RegisterHandler("bSong1MouseDown", &TLayoutWindow::bSong1MouseDown);
        RegisterHandler("bSong1MouseMove", &TLayoutWindow::bSong1MouseMove);
        RegisterHandler("FileDragDrop", &TLayoutWindow::FileDragDrop);
    }
    void bSong1Click(TObject*) { log.push_back("click"); }
    void bSong1Locked(TObject*) { log.push_back("locked"); }
    void bSong1MouseDown(TObject*, TMouseButton, TShiftState, int, int) { log.push_back("down"); }
    void bSong1MouseMove(TObject*, TShiftState, int, int) { }
    void FileDragDrop(TObject*) { log.push_back("drop"); }
    std::vector<std::string> log;
};

constexpr const char* kLayout = R"(object fTest: TLayoutWindow
  ClientWidth = 200
  ClientHeight = 140
  object panMain: TPanel
    Left = 0
    Top = 0
    Width = 200
    Height = 140
    Color = clBlack
    object bSong1: TautoButton
      About = (
        'Someone else''s'
        'credits')
      BitMapUp = 'buttons_test_up.bmp'
      BitMapDown = 'buttons_test_up.bmp'
      DisplayAlt = True
      AutoSize = True
      LockMode = True
      Left = 10
      Top = 8
      onClick = bSong1Click
      onMouseDown = bSong1MouseDown
      onMouseMove = bSong1MouseMove
      onLocked = bSong1Locked
    end
    object panGauge: TPanel
      Left = 150
      Top = 10
      Width = 13
      Height = 109
      BevelInner = bvLowered
      Color = clBlack
      object gSongPos: TGauge
        Left = 2
        Top = 2
        Width = 9
        Height = 105
        Kind = gkVerticalBar
        ShowText = False
        BorderStyle = bsSingle
        ForeColor = 1886207
        BackColor = clNavy
        MinValue = 0
        MaxValue = 40
        ParentColor = False
        PopupMenu = pmNothing
        Progress = 30
      end
    end
  end
  object FileDrag: TFileDrag
    EnableDrop = True
    OnDrop = FileDragDrop
  end
end
)";

class ControlsLayoutTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        Application().InitializeHeadless();
        RegisterAutobtn();
        RegisterGauges();
        RegisterFiledrag();
        window = TComponent::Create<TLayoutWindow>(&Application());
    }
    void TearDown() override { window->Free(); }

    TLayoutWindow* window = nullptr;
};

} // namespace

TEST_F(ControlsLayoutTest, ReadsTheSkinControlsWithTheirPropertiesAndEvents)
{
    ReadLayoutText(*window, kLayout, "controls.layout");

    auto* button = dynamic_cast<TautoButton*>(window->FindComponent("bSong1"));
    ASSERT_NE(button, nullptr);
    EXPECT_EQ(button->Left(), 10);
    EXPECT_EQ(button->Top(), 8);
    EXPECT_EQ(button->Width(), 24); // sized by its picture
    EXPECT_EQ(button->Height(), 12);
    EXPECT_EQ(button->BitMapUp().Width(), 24);
    EXPECT_FALSE(button->DisplayAlt()); // no alternative picture
    EXPECT_TRUE(button->LockMode());
    EXPECT_EQ(button->About().Count(), 8);
    EXPECT_NE(button->About()[0], "Someone else's");
    EXPECT_EQ(button->Parent(), window->FindComponent("panMain"));

    auto* gauge = dynamic_cast<TGauge*>(window->FindComponent("gSongPos"));
    ASSERT_NE(gauge, nullptr);
    EXPECT_EQ(gauge->Kind(), TGaugeKind::gkVerticalBar);
    EXPECT_FALSE(gauge->ShowText());
    EXPECT_EQ(gauge->BorderStyle(), TGaugeBorderStyle::bsSingle);
    EXPECT_EQ(gauge->ForeColor(), 1886207);
    EXPECT_EQ(gauge->BackColor(), clNavy);
    EXPECT_EQ(gauge->MaxValue(), 40);
    EXPECT_EQ(gauge->Progress(), 30);
    EXPECT_EQ(gauge->Percentage(), 75);
    EXPECT_EQ(gauge->Height(), 105);

    auto* drag = dynamic_cast<TFileDrag*>(window->FindComponent("FileDrag"));
    ASSERT_NE(drag, nullptr);
    EXPECT_TRUE(drag->EnableDrop());
    EXPECT_TRUE(window->AcceptsDrops());

    window->Show();
    window->Snapshot();
    window->DispatchMouseDown(TMouseButton::mbLeft, 0, 15, 12);
    window->DispatchMouseUp(TMouseButton::mbLeft, 0, 15, 12);
    window->DispatchDropFiles({"/x/y.xm"});
    EXPECT_EQ(window->log, (std::vector<std::string>{"down", "locked", "click", "drop"}));
    EXPECT_EQ(drag->NameOnly()[0], "y.xm");
}

TEST_F(ControlsLayoutTest, RegisteringTwiceDeclaresEachClassOnce)
{
    RegisterAutobtn();
    RegisterGauges();
    RegisterFiledrag();
    ReadLayoutText(*window, kLayout, "controls.layout");
    EXPECT_NE(window->FindComponent("gSongPos"), nullptr);
}

TEST_F(ControlsLayoutTest, TheGaugesRangeErrorReachesTheLayoutReader)
{
    std::string layout = kLayout;
    layout.replace(layout.find("MinValue = 0"), 12, "MinValue = 50");
    EXPECT_THROW(ReadLayoutText(*window, layout, "controls.layout"), EInvalidOperation);
}
