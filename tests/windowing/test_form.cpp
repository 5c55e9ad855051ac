#include "toolkit/windowing/Application.h"
#include "toolkit/windowing/Form.h"
#include "toolkit/windowing/HeadlessPlatform.h"
#include "toolkit/windowing/Image.h"
#include "toolkit/windowing/Panel.h"
#include "toolkit/windowing/SpeedButton.h"
#include "toolkit/windowing/Timer.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// Paints a solid colour and logs the mouse as it arrives.
class TSpy : public TGraphicControl {
public:
    explicit TSpy(TComponent* owner) : TGraphicControl(owner)
    {
        OnClick = [this](TObject*) { log.push_back("click"); };
        OnMouseDown = [this](TObject*, TMouseButton b, TShiftState, int x, int y) { Log("down", b, x, y); };
        OnMouseMove = [this](TObject*, TShiftState, int x, int y) { Log("move", TMouseButton::mbLeft, x, y); };
        OnMouseUp = [this](TObject*, TMouseButton b, TShiftState, int x, int y) { Log("up", b, x, y); };
    }
    void Paint() override
    {
        Canvas().Brush.Color = fill;
        Canvas().FillRect({-100, -100, 1000, 1000});
    }
    void Log(const char* what, TMouseButton b, int x, int y)
    {
        log.push_back(std::string(what) + (b == TMouseButton::mbRight ? "R" : "") + " " + std::to_string(x) + "," +
            std::to_string(y));
    }
    TColor fill = clRed;
    std::vector<std::string> log;
};

class FormTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        Application().InitializeHeadless();
        Application().CreateForm(form); // the main window
        form->SetBounds(0, 0, 40, 30);
        panel = TComponent::Create<TPanel>(form);
        panel->SetParent(form);
        panel->SetBounds(0, 0, 40, 30);
        panel->SetBevelOuter(TPanelBevel::bvNone);
        panel->SetColor(clBlack);
        spy = TComponent::Create<TSpy>(form);
        spy->SetParent(panel);
        spy->SetBounds(10, 5, 8, 6);
    }
    void TearDown() override { Application().DestroyForms(); }

    TForm* form = nullptr;
    TPanel* panel = nullptr;
    TSpy* spy = nullptr;
};

} // namespace

TEST_F(FormTest, WindowlessControlsPaintClippedToTheirRectangleInOrder)
{
    auto* top = TComponent::Create<TSpy>(form);
    top->SetParent(panel);
    top->SetBounds(14, 5, 8, 6);
    top->fill = clBlue;
    TPixmap picture = form->Snapshot();
    EXPECT_EQ(picture.At(9, 5), static_cast<TPixel>(clBlack));
    EXPECT_EQ(picture.At(10, 5), static_cast<TPixel>(clRed));
    EXPECT_EQ(picture.At(13, 10), static_cast<TPixel>(clRed));
    EXPECT_EQ(picture.At(14, 5), static_cast<TPixel>(clBlue)) << "the later control lies above";
    EXPECT_EQ(picture.At(21, 10), static_cast<TPixel>(clBlue));
    EXPECT_EQ(picture.At(22, 10), static_cast<TPixel>(clBlack));
    EXPECT_EQ(picture.At(10, 11), static_cast<TPixel>(clBlack));
}

TEST_F(FormTest, MouseEventsArriveInTheControlsCoordinatesAndCaptureHoldsThem)
{
    form->DispatchMouseDown(TMouseButton::mbLeft, 0, 12, 7);
    form->DispatchMouseMove(0, 35, 25); // far outside: the capture keeps it coming
    form->DispatchMouseUp(TMouseButton::mbLeft, 0, -5, -5);
    form->DispatchMouseMove(0, 30, 20); // released: goes to the panel now
    EXPECT_EQ(spy->log, (std::vector<std::string>{"down 2,2", "move 25,20", "up -15,-10"}));
}

TEST_F(FormTest, ClickNeedsAPressOnTheControlAndAReleaseInsideIt)
{
    form->DispatchMouseDown(TMouseButton::mbLeft, 0, 12, 7);
    form->DispatchMouseUp(TMouseButton::mbLeft, 0, 13, 8);
    form->DispatchMouseDown(TMouseButton::mbLeft, 0, 12, 7);
    form->DispatchMouseUp(TMouseButton::mbLeft, 0, 30, 8);
    form->DispatchMouseDown(TMouseButton::mbRight, 0, 12, 7);
    form->DispatchMouseUp(TMouseButton::mbRight, 0, 12, 7);
    EXPECT_EQ(spy->log,
        (std::vector<std::string>{"down 2,2", "click", "up 3,3", "down 2,2", "up 20,3", "downR 2,2", "upR 2,2"}));
}

TEST_F(FormTest, DisabledAndHiddenControlsPassTheMouseToWhatLiesBeneath)
{
    std::vector<std::string> panelLog;
    panel->OnMouseDown = [&](TObject*, TMouseButton, TShiftState, int x, int y) {
        panelLog.push_back(std::to_string(x) + "," + std::to_string(y));
    };
    spy->SetEnabled(false);
    form->DispatchMouseDown(TMouseButton::mbLeft, 0, 12, 7);
    form->DispatchMouseUp(TMouseButton::mbLeft, 0, 12, 7);
    spy->SetEnabled(true);
    spy->Hide();
    form->DispatchMouseDown(TMouseButton::mbLeft, 0, 13, 7);
    EXPECT_TRUE(spy->log.empty());
    EXPECT_EQ(panelLog, (std::vector<std::string>{"12,7", "13,7"}));
}

TEST_F(FormTest, InvalidationsMergeIntoOnePaintServedByTheLoop)
{
    form->Show();
    int before = spy->PaintCount();
    spy->Invalidate();
    spy->Invalidate();
    EXPECT_EQ(spy->PaintCount(), before);
    Application().ProcessMessages();
    EXPECT_EQ(spy->PaintCount(), before + 1);
    spy->Repaint();
    EXPECT_EQ(spy->PaintCount(), before + 2) << "a repaint runs at once";
}

TEST_F(FormTest, TimersTickInOrderOfTheirDueTimes)
{
    std::vector<std::string> ticks;
    auto* slow = TComponent::Create<TTimer>(form);
    slow->SetInterval(250);
    slow->OnTimer = [&](TObject*) { ticks.push_back("slow@" + std::to_string(Application().Now())); };
    auto* fast = TComponent::Create<TTimer>(form);
    fast->SetInterval(100);
    fast->OnTimer = [&](TObject*) { ticks.push_back("fast@" + std::to_string(Application().Now())); };
    std::uint64_t start = Application().Now();
    Application().AdvanceTime(520);
    auto at = [&](const char* name, int ms) { return std::string(name) + "@" + std::to_string(start + ms); };
    EXPECT_EQ(ticks,
        (std::vector<std::string>{at("fast", 100), at("fast", 200), at("slow", 250), at("fast", 300), at("fast", 400),
            at("slow", 500), at("fast", 500)}));
}

TEST_F(FormTest, ModalWindowBlocksOthersWhileTimersGoOn)
{
    form->SetAcceptsDrops(true);
    form->Show();
    auto* dialog = TComponent::Create<TForm>(&Application());
    dialog->SetBounds(0, 0, 20, 20);
    auto* timer = TComponent::Create<TTimer>(form);
    timer->SetInterval(250);
    int ticks = 0;
    timer->OnTimer = [&](TObject*) {
        ++ticks;
        form->DispatchMouseDown(TMouseButton::mbLeft, 0, 12, 7); // no input while the dialog is up
        EXPECT_FALSE(HeadlessWindowOf(*form)->AcceptsDrops()) << "the desktop is told no, too";
        EXPECT_EQ(HeadlessWindowOf(*dialog)->ModalFor(), form->PlatformWindow()) << "kept above the main window";
        if (ticks == 3)
            dialog->Close();
    };
    TModalResult result = dialog->ShowModal();
    EXPECT_EQ(result, mrCancel);
    EXPECT_EQ(ticks, 3);
    EXPECT_TRUE(spy->log.empty());
    EXPECT_FALSE(dialog->Visible());
    EXPECT_EQ(HeadlessWindowOf(*dialog)->ModalFor(), nullptr);
    EXPECT_TRUE(HeadlessWindowOf(*form)->AcceptsDrops());
    form->DispatchMouseDown(TMouseButton::mbLeft, 0, 12, 7);
    EXPECT_EQ(spy->log.size(), 1u);
}

TEST_F(FormTest, ReleasedWindowGoesOnceThePendingEventsAreDone)
{
    auto* dialog = TComponent::Create<TForm>(&Application());
    bool destroyed = false;
    dialog->OnDestroy = [&](TObject*) { destroyed = true; };
    dialog->Release();
    EXPECT_FALSE(destroyed);
    Application().ProcessMessages();
    EXPECT_TRUE(destroyed);
}

TEST_F(FormTest, SpeedButtonClicksOnReleaseOverItAfterAPressOnIt)
{
    auto* button = TComponent::Create<TSpeedButton>(form);
    button->SetParent(panel);
    button->SetBounds(30, 2, 8, 8);
    int clicks = 0;
    button->OnClick = [&](TObject*) { ++clicks; };
    form->DispatchMouseDown(TMouseButton::mbLeft, 0, 31, 3);
    EXPECT_EQ(button->State(), TButtonState::bsDown);
    form->DispatchMouseMove(0, 20, 3);
    EXPECT_EQ(button->State(), TButtonState::bsUp);
    form->DispatchMouseMove(0, 31, 10); // the bottom row still counts as over it
    EXPECT_EQ(button->State(), TButtonState::bsDown);
    form->DispatchMouseUp(TMouseButton::mbLeft, 0, 31, 3);
    EXPECT_EQ(clicks, 1);
    form->DispatchMouseDown(TMouseButton::mbLeft, 0, 31, 3);
    form->DispatchMouseUp(TMouseButton::mbLeft, 0, 5, 3);
    EXPECT_EQ(clicks, 1);
}

TEST_F(FormTest, DropsReachTheHandlerOnlyWhileTheWindowAcceptsThem)
{
    std::vector<std::string> received;
    form->SetDropHandler([&](const std::vector<std::string>& paths) { received = paths; });
    form->DispatchDropFiles({"/a.xm"});
    EXPECT_TRUE(received.empty());
    form->SetAcceptsDrops(true);
    form->DispatchDropFiles({"/a.xm", "/b.mod"});
    EXPECT_EQ(received, (std::vector<std::string>{"/a.xm", "/b.mod"}));

    form->Show();
    EXPECT_TRUE(HeadlessWindowOf(*form)->AcceptsDrops()) << "what the desktop is told follows the window";
    form->SetAcceptsDrops(false);
    EXPECT_FALSE(HeadlessWindowOf(*form)->AcceptsDrops());
}

TEST_F(FormTest, ScreenCentredWindowIsPlacedWhenFirstShown)
{
    form->SetPosition(TPosition::poScreenCenter);
    form->SetBounds(204, 157, 370, 214);
    form->Show();
    EXPECT_EQ(form->Left(), (1024 - 370) / 2);
    EXPECT_EQ(form->Top(), (768 - 214) / 2);
}

TEST_F(FormTest, NoTimerTicksOnceTheApplicationIsTerminating)
{
    auto* timer = TComponent::Create<TTimer>(form);
    timer->SetInterval(10);
    int ticks = 0;
    timer->OnTimer = [&](TObject*) { ++ticks; };
    Application().Terminate();
    Application().AdvanceTime(100);
    Application().InitializeHeadless();
    EXPECT_EQ(ticks, 0);
}
