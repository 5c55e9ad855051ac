#include "OptionsTestSupport.h"

#include "tests/support/DragSurfaces.h"
#include "toolkit/windowing/Application.h"
#include "toolkit/windowing/Timer.h"

#include <string>
#include <vector>

namespace {

int FormCount()
{
    return static_cast<int>(Application().Forms().size());
}

} // namespace

TEST_F(OptionsTest, OptionsButtonsRunShowsTheWindowModallyUntilTheCloseGlyphIsClicked)
{
    Application().CreateForm(fOptions, Player());
    TfOptions* startUp = fOptions;
    int formsBefore = FormCount();

    // What the options button does, with a timer in the user's place.
    fOptions = TComponent::Create<TfOptions>(&Application(), Player());
    fOptions->DoCreate();
    options = fOptions;
    TfOptions* shown = fOptions;

    std::vector<std::string> steps;
    auto* user = TComponent::Create<TTimer>(fMain);
    user->SetInterval(300);
    int ticks = 0;
    user->OnTimer = [&](TObject*) {
        ++ticks;
        if (ticks == 1) {
            steps.push_back(shown->Visible() ? "shown" : "hidden");
            steps.push_back(shown->IsModal() ? "modal" : "modeless");
            // The main window takes no input meanwhile.
            TPoint song = fMain->bSong1->WindowOrigin() + TPoint{100, 20};
            WriteFile("song1.xm", SlowModule(4));
            fMain->DispatchMouseDown(TMouseButton::mbLeft, ssLeft, song.X, song.Y);
            fMain->DispatchMouseUp(TMouseButton::mbLeft, 0, song.X, song.Y);
            steps.push_back(
                (Player().State() == TPlaybackState::Playing) ? "main took a click" : "main ignored a click");
            ClickUp(*shown->bMixrate);
            return;
        }
        if (ticks == 2) {
            Click(*shown->bWindowClose);
            steps.push_back("closed");
            user->SetEnabled(false);
        }
    };

    fOptions->ShowModal();
    steps.push_back("returned");
    EXPECT_EQ(steps, (std::vector<std::string>{"shown", "modal", "main ignored a click", "closed", "returned"}));
    EXPECT_EQ(Settings().MixRate, 44100);
    EXPECT_FALSE(shown->IsModal());
    EXPECT_FALSE(shown->Visible());
    EXPECT_EQ(Application().ModalForm(), nullptr);

    fOptions->Release();
    EXPECT_EQ(FormCount(), formsBefore + 1) << "released, not yet destroyed";
    Application().ProcessMessages();
    EXPECT_EQ(FormCount(), formsBefore);
    auto forms = Application().Forms();
    EXPECT_NE(std::find(forms.begin(), forms.end(), startUp), forms.end()) << "the start-up window stays";
    fOptions = nullptr;
    options = nullptr;
}

TEST_F(OptionsTest, MainWindowTimerKeepsTickingDuringTheModalRun)
{
    Application().CreateForm(fOptions, Player());
    fOptions = TComponent::Create<TfOptions>(&Application(), Player());
    fOptions->DoCreate();
    options = fOptions;
    std::string song = WriteFile("song.xm", SlowModule(6));
    Player().PlayFile(song);
    Player().SeekToOrder(4);

    auto* user = TComponent::Create<TTimer>(fMain);
    user->SetInterval(600);
    int progressSeen = -1;
    user->OnTimer = [&](TObject*) {
        progressSeen = fMain->gSongPos->Progress();
        user->SetEnabled(false);
        Click(*options->bWindowClose);
    };
    fOptions->ShowModal();
    EXPECT_EQ(progressSeen, 4) << "the update timer followed the song while the options were up";
    fOptions->Release();
    Application().ProcessMessages();
}

TEST_F(OptionsTest, LeftPressOnALabelDragsTheWindow)
{
    TfOptions& window = OpenOptions();
    window.Show();
    int left = window.Left();
    int top = window.Top();
    TPoint p = window.Label4->WindowOrigin() + TPoint{5, 5};
    window.DispatchMouseDown(TMouseButton::mbLeft, ssLeft, p.X, p.Y);
    EXPECT_TRUE(window.IsDragging());
    // The pointer moves 30 right and 12 up on the screen; the window follows,
    // so in window coordinates it is that far from where it was pressed.
    window.DispatchMouseMove(ssLeft, p.X + 30, p.Y - 12);
    EXPECT_EQ(window.Left(), left + 30);
    EXPECT_EQ(window.Top(), top - 12);
    window.DispatchMouseMove(ssLeft, p.X - 5, p.Y + 7);
    EXPECT_EQ(window.Left(), left + 25);
    EXPECT_EQ(window.Top(), top - 5);
    window.DispatchMouseUp(TMouseButton::mbLeft, 0, p.X - 5, p.Y + 7);
    EXPECT_FALSE(window.IsDragging());
    window.DispatchMouseMove(0, p.X + 50, p.Y + 50);
    EXPECT_EQ(window.Left(), left + 25) << "the release ended the drag";
}

TEST_F(OptionsTest, EveryLabelAndThePanelAreDragSurfaces)
{
    TfOptions& window = OpenOptions();
    window.Show();
    for (TControl* surface : {static_cast<TControl*>(window.panMain), static_cast<TControl*>(window.Label1),
             static_cast<TControl*>(window.lMixrate), static_cast<TControl*>(window.Label2),
             static_cast<TControl*>(window.lFilterMode), static_cast<TControl*>(window.Label4),
             static_cast<TControl*>(window.lStereo), static_cast<TControl*>(window.Label6),
             static_cast<TControl*>(window.l16Bit)}) {
        SCOPED_TRACE(surface->Name());
        int left = window.Left();
        TPoint p = surface == window.panMain ? TPoint{140, 34} : surface->WindowOrigin() + TPoint{2, 2};
        window.DispatchMouseDown(TMouseButton::mbLeft, ssLeft, p.X, p.Y);
        window.DispatchMouseMove(ssLeft, p.X + 3, p.Y);
        window.DispatchMouseUp(TMouseButton::mbLeft, 0, p.X + 3, p.Y);
        EXPECT_EQ(window.Left(), left + 3);
    }
}

// Where the compositor moves the window (on Wayland), the window's own drag
// would have moved it: the panel and its labels, never a spin button nor a
// glyph.
TEST_F(OptionsTest, TheDesktopsMoveStartsWhereTheWindowsOwnDragDoes)
{
    TfOptions& window = OpenOptions();
    window.Show();
    const TDragSurvey survey = SurveyDragSurfaces(window, 2);
    EXPECT_GT(survey.Surfaces, 1000);
    EXPECT_TRUE(survey.Disagreements.empty()) << survey.Disagreements.size() << " points disagree, the first at "
                                              << survey.Disagreements[0].X << "," << survey.Disagreements[0].Y;
    EXPECT_FALSE(window.DragsWindowAt(window.bMixrate->UpButton()->WindowOrigin() + TPoint{2, 2}));
}

TEST_F(OptionsTest, RightPressOnThePanelDoesNotDrag)
{
    TfOptions& window = OpenOptions();
    window.Show();
    int left = window.Left();
    int top = window.Top();
    window.DispatchMouseDown(TMouseButton::mbRight, ssRight, 140, 34);
    EXPECT_FALSE(window.IsDragging());
    window.DispatchMouseMove(ssRight, 170, 60);
    EXPECT_EQ(window.Left(), left);
    EXPECT_EQ(window.Top(), top);
    window.DispatchMouseUp(TMouseButton::mbRight, 0, 170, 60);
}

TEST_F(OptionsTest, PressesOnSpinButtonsAndGlyphButtonsDoNotDrag)
{
    TfOptions& window = OpenOptions();
    window.Show();
    int left = window.Left();
    for (TControl* control :
        {static_cast<TControl*>(window.bMixrate->UpButton()), static_cast<TControl*>(window.b16Bit->DownButton()),
            static_cast<TControl*>(window.bApplicationMinimize)}) {
        TPoint p = control->WindowOrigin() + TPoint{2, 2};
        window.DispatchMouseDown(TMouseButton::mbLeft, ssLeft, p.X, p.Y);
        EXPECT_FALSE(window.IsDragging());
        window.DispatchMouseMove(ssLeft, p.X + 20, p.Y);
        window.DispatchMouseUp(TMouseButton::mbLeft, 0, p.X + 20, p.Y);
    }
    EXPECT_EQ(window.Left(), left);
}

TEST_F(OptionsTest, DragMovesTheWindowThatFOptionsNames)
{
    TfOptions& first = OpenOptions();
    first.Show();
    TfOptions& second = OpenOptions();
    second.Show();
    int firstLeft = first.Left();
    int secondLeft = second.Left();
    first.DispatchMouseDown(TMouseButton::mbLeft, ssLeft, 140, 34);
    first.DispatchMouseMove(ssLeft, 150, 34);
    first.DispatchMouseUp(TMouseButton::mbLeft, 0, 150, 34);
    EXPECT_EQ(first.Left(), firstLeft);
    EXPECT_EQ(second.Left(), secondLeft + 10);
}

TEST_F(OptionsTest, MinimizeGlyphMinimizesTheWholeApplication)
{
    TfOptions& window = OpenOptions();
    window.Show();
    ASSERT_FALSE(Application().IsMinimized());
    Click(*window.bApplicationMinimize);
    EXPECT_TRUE(Application().IsMinimized());
    EXPECT_TRUE(fMain->PlatformWindow()->IsMinimized());
    EXPECT_TRUE(window.PlatformWindow()->IsMinimized());
    Click(*window.bApplicationMinimize);
    EXPECT_TRUE(Application().IsMinimized());
}

// Escape and Enter close the window as its close glyph does, so the
// settings apply; meanwhile the main window's keys do nothing.
TEST_F(OptionsTest, EscapeAndEnterCloseAndApplyWhileTheMainWindowIgnoresItsKeys)
{
    Application().CreateForm(fOptions, Player());
    WriteFile("song1.xm", SlowModule(4));
    for (std::uint16_t closing : {std::uint16_t{vkEscape}, std::uint16_t{vkReturn}}) {
        fOptions = TComponent::Create<TfOptions>(&Application(), Player());
        fOptions->DoCreate();
        options = fOptions;
        TfOptions* shown = fOptions;
        auto* user = TComponent::Create<TTimer>(fMain);
        user->SetInterval(300);
        user->OnTimer = [&](TObject*) {
            user->SetEnabled(false);
            fMain->DispatchKeyDown('1', 0);
            fMain->DispatchKeyUp('1', 0);
            EXPECT_FALSE((Player().State() == TPlaybackState::Playing)) << "the main window took a key";
            if (closing == vkEscape)
                ClickUp(*shown->bMixrate);
            else
                ClickDown(*shown->bMixrate);
            shown->DispatchKeyDown(closing, 0);
        };
        shown->ShowModal();
        EXPECT_FALSE(shown->Visible());
        EXPECT_EQ(Settings().MixRate, closing == vkEscape ? 44100 : 22050) << "up from 22050, then down again";
        shown->Release();
        user->Free();
        Application().ProcessMessages();
    }
    fOptions = nullptr;
    options = nullptr;
}
