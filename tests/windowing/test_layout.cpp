#include "toolkit/graphics/Exceptions.h"
#include "toolkit/windowing/Application.h"
#include "toolkit/windowing/ClassRegistry.h"
#include "toolkit/windowing/Form.h"
#include "toolkit/windowing/Image.h"
#include "toolkit/windowing/LayoutReader.h"
#include "toolkit/windowing/Panel.h"
#include "toolkit/windowing/Timer.h"

#include <gtest/gtest.h>

namespace {

// Records the order in which its properties arrive.
class TProbe : public TGraphicControl {
public:
    explicit TProbe(TComponent* owner) : TGraphicControl(owner) { }
    const char* ClassName() const override { return "TProbe"; }
    void SetFirst(int value) { log.push_back("First=" + std::to_string(value)); }
    void SetSecond(std::string value) { log.push_back("Second=" + value); }
    void Loaded() override
    {
        log.push_back("Loaded");
        TGraphicControl::Loaded();
    }
    std::vector<std::string> log;
};

class TTestWindow : public TForm {
public:
    explicit TTestWindow(TComponent* owner) : TForm(owner)
    {
        RegisterHandler("ThingClick", &TTestWindow::ThingClick);
        RegisterHandler("ThingMouseDown", &TTestWindow::ThingMouseDown);
    }
    void ThingClick(TObject*) { ++clicks; }
    void ThingMouseDown(TObject*, TMouseButton, TShiftState, int, int) { }
    int clicks = 0;
};

class LayoutTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        Application().InitializeHeadless();
        TClassBuilder<TProbe>("TProbe", "TGraphicControl")
            .Integer("First", &TProbe::SetFirst)
            .String("Second", &TProbe::SetSecond);
        window = TComponent::Create<TTestWindow>(&Application());
    }
    void TearDown() override { window->Free(); }

    TTestWindow* window = nullptr;
};

} // namespace

TEST_F(LayoutTest, AppliesPropertiesInFileOrderThenTellsLoaded)
{
    ReadLayoutText(*window, R"(object fTest: TTestWindow
  ClientWidth = 100
  ClientHeight = 50
  object thing: TProbe
    Second = 'it''s'
    First = -3
    Second = 'b'
  end
end
)",
        "test.layout");
    auto* probe = dynamic_cast<TProbe*>(window->FindComponent("thing"));
    ASSERT_NE(probe, nullptr);
    EXPECT_EQ(probe->log, (std::vector<std::string>{"Second=it's", "First=-3", "Second=b", "Loaded"}));
    EXPECT_EQ(window->Name(), "fTest");
    EXPECT_EQ(window->Width(), 100);
    EXPECT_FALSE(probe->IsLoading());
}

TEST_F(LayoutTest, NestsControlsInWindowedParentsAndSetsNestedProperties)
{
    ReadLayoutText(*window, R"(object fTest: TTestWindow
  object panMain: TPanel
    Left = 1
    Color = clBlack
    Font.Height = -16
    Font.Style = [fsBold]
    Font.Name = 'Arial'
    object img: TImage
      Left = 5
      OnClick = ThingClick
      OnMouseDown = ThingMouseDown
    end
  end
  object timerUpdate: TTimer
    Interval = 250
  end
end
)",
        "test.layout");
    auto* panel = dynamic_cast<TPanel*>(window->FindComponent("panMain"));
    auto* image = dynamic_cast<TImage*>(window->FindComponent("img"));
    auto* timer = dynamic_cast<TTimer*>(window->FindComponent("timerUpdate"));
    ASSERT_TRUE(panel && image && timer);
    EXPECT_EQ(image->Parent(), panel);
    EXPECT_EQ(panel->Parent(), window);
    EXPECT_EQ(image->Owner(), window);
    EXPECT_EQ(panel->Color(), clBlack);
    EXPECT_EQ(panel->Font().Height(), -16);
    EXPECT_TRUE(panel->Font().IsBold());
    EXPECT_EQ(panel->Font().Name(), "Arial");
    EXPECT_EQ(timer->Interval(), 250u);
    ASSERT_TRUE(image->OnClick);
    image->OnClick(image);
    EXPECT_EQ(window->clicks, 1);
}

TEST_F(LayoutTest, UnknownNamesAreErrorsNamingFileAndLine)
{
    auto expectError = [&](const char* text, const std::string& fragment) {
        try {
            ReadLayoutText(*window, text, "bad.layout");
            FAIL() << "no error for " << text;
        } catch (const ELayoutError& error) {
            EXPECT_NE(std::string(error.what()).find(fragment), std::string::npos) << error.what();
        }
    };
    expectError("object f: T\n  object x: TNoSuchClass\n  end\nend\n", "bad.layout:2: unknown class 'TNoSuchClass'");
    expectError("object f: T\n\n  Colour = 3\nend\n", "bad.layout:3: unknown property 'Colour'");
    expectError("object f: T\n  object p: TPanel\n    BevelOuter = bvSideways\n  end\nend\n",
        "bad.layout:3: unknown value 'bvSideways'");
    expectError("object f: T\n  OnClick = NoSuchHandler\nend\n", "bad.layout:2: unknown handler 'NoSuchHandler'");
    expectError("object f: T\n  OnClick = ThingMouseDown\nend\n", "does not fit the event");
    expectError("object f: T\n  Width = 'wide'\nend\n", "bad.layout:2: a number is expected");
}
