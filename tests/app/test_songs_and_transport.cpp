#include "AppTestSupport.h"

#include "tests/support/DragSurfaces.h"
#include "tests/support/ScreenTest.h"
#include "toolkit/windowing/Application.h"

class SongTest : public MainWindowTest {
protected:
    TPlayer& Player() { return *window->Player(); }
    bool Playing() { return Player().State() == TPlaybackState::Playing; }
};

TEST_F(SongTest, StartsWithNothingLoaded)
{
    EXPECT_EQ(ButtonStates(), (std::vector<int>{1, 1, 1, 1, 1}));
    EXPECT_EQ(window->gSongPos->Progress(), 0);
    EXPECT_EQ(window->gSongPos->MaxValue(), 100);
    EXPECT_TRUE(window->AcceptsDrops());
    EXPECT_FALSE(Playing());
}

TEST_F(SongTest, SongButtonPlaysItsSongLocksItselfAndPreparesTheGauge)
{
    ClickOn(*window->bSong3);
    EXPECT_TRUE(Playing());
    EXPECT_EQ(ButtonStates(), (std::vector<int>{1, 1, 6, 1, 1}));
    EXPECT_EQ(window->gSongPos->MaxValue(), 5) << "song3.xm has six order positions";
    EXPECT_EQ(window->gSongPos->Progress(), 0);

    Player().SeekToOrder(4);
    Tick();
    EXPECT_EQ(window->gSongPos->Progress(), 4);
    ClickOn(*window->bSong3);
    EXPECT_EQ(Player().Position(), 0) << "a second click starts the song again";
    EXPECT_EQ(window->gSongPos->Progress(), 0);
    EXPECT_EQ(ButtonStates(), (std::vector<int>{1, 1, 6, 1, 1}));
}

TEST_F(SongTest, RewindAndFastForwardStayWithinTheSong)
{
    ClickOn(*window->bControlRew);
    ClickOn(*window->bControlFF);
    EXPECT_FALSE(Playing()) << "nothing plays: the transport does nothing";

    ClickOn(*window->bSong1); // four order positions
    ClickOn(*window->bControlRew);
    EXPECT_EQ(Player().Position(), 0);
    for (int press = 0; press < 5; ++press)
        ClickOn(*window->bControlFF);
    EXPECT_EQ(Player().Position(), 3) << "fast-forward stops at the last order position";
    ClickOn(*window->bControlRew);
    EXPECT_EQ(Player().Position(), 2);
    EXPECT_EQ(window->gSongPos->Progress(), 0) << "the gauge waits for the next tick";
    Tick();
    EXPECT_EQ(window->gSongPos->Progress(), 2);
}

TEST_F(SongTest, SingleOrderModuleNeverMoves)
{
    window->DispatchDropFiles({WriteFile("one.xm", SlowModule(1))});
    Settle();
    EXPECT_EQ(window->gSongPos->MaxValue(), 0);
    ClickOn(*window->bControlFF);
    ClickOn(*window->bControlRew);
    EXPECT_EQ(Player().Position(), 0);
}

TEST_F(SongTest, StopReleasesTheButtonsAndKeepsTheGaugeMaximum)
{
    ClickOn(*window->bSong2);
    Player().SeekToOrder(3);
    Tick();
    ClickOn(*window->bControlStop);
    EXPECT_FALSE(Playing());
    EXPECT_EQ(ButtonStates(), (std::vector<int>{1, 1, 1, 1, 1}));
    EXPECT_EQ(window->gSongPos->MaxValue(), 4);
    EXPECT_EQ(window->gSongPos->Progress(), 3);
    Tick();
    EXPECT_EQ(window->gSongPos->Progress(), 0) << "the next tick shows nothing playing";
    ClickOn(*window->bControlFF);
    EXPECT_FALSE(Playing());
    ClickOn(*window->bControlStop); // stopping again changes nothing
    EXPECT_EQ(ButtonStates(), (std::vector<int>{1, 1, 1, 1, 1}));
}

TEST_F(SongTest, DroppedFilePlaysTheFirstOfTheDropAndReleasesTheButtons)
{
    ClickOn(*window->bSong2);
    std::string first = WriteFile("first.xm", SlowModule(9));
    std::string second = WriteFile("second.xm", SlowModule(2));
    window->DispatchDropFiles({first, second, second});
    Settle();
    EXPECT_TRUE(Playing());
    EXPECT_EQ(window->gSongPos->MaxValue(), 8);
    EXPECT_EQ(ButtonStates(), (std::vector<int>{1, 1, 1, 1, 1}));
    EXPECT_TRUE(messages.empty());
}

TEST_F(SongTest, EmptyDropChangesNothing)
{
    ClickOn(*window->bSong4);
    window->DispatchDropFiles({});
    Settle();
    EXPECT_EQ(ButtonStates(), (std::vector<int>{1, 1, 1, 6, 1}));
    EXPECT_EQ(window->gSongPos->MaxValue(), 6);
}

TEST_F(SongTest, FileThatIsNoModuleShowsTheMessageAndTheSongGoesOn)
{
    ClickOn(*window->bSong5);
    std::string text = WriteFile("notes.txt", {'h', 'e', 'l', 'l', 'o'});
    window->DispatchDropFiles({text});
    Settle();
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].rfind("MIDAS Sound System Error: ", 0), 0u) << messages[0];
    EXPECT_NE(messages[0].find("notes.txt"), std::string::npos) << messages[0];
    EXPECT_TRUE(Playing());
    EXPECT_EQ(ButtonStates(), (std::vector<int>{1, 1, 1, 1, 6})) << "song 5 stays lit";
    EXPECT_EQ(window->gSongPos->MaxValue(), 7) << "the gauge is left alone";

    std::filesystem::remove(folder / "song1.xm");
    ClickOn(*window->bSong1);
    EXPECT_EQ(messages.size(), 2u);
    EXPECT_EQ(ButtonStates(), (std::vector<int>{1, 1, 1, 1, 6}));
    ClickOn(*window->bSong2);
    EXPECT_TRUE(Playing()) << "the next song plays as ever";
}

TEST_F(SongTest, DraggingStartsOnThePanelCaptionAndOrnamentOnly)
{
    int left = window->Left();
    int top = window->Top();
    window->DispatchMouseDown(TMouseButton::mbLeft, ssLeft, 100, 3);
    window->DispatchMouseMove(ssLeft, 130, 13);
    window->DispatchMouseUp(TMouseButton::mbLeft, 0, 130, 13);
    EXPECT_EQ(window->Left(), left + 30);
    EXPECT_EQ(window->Top(), top + 10);

    window->DispatchMouseDown(TMouseButton::mbRight, ssRight, 100, 3);
    window->DispatchMouseMove(ssRight, 150, 50);
    EXPECT_EQ(window->Left(), left + 30) << "the right button drags nothing";
    window->DispatchMouseUp(TMouseButton::mbRight, 0, 150, 50);

    ClickOn(*window->bSong1);
    window->DispatchMouseDown(TMouseButton::mbLeft, ssLeft, 200, 20); // on song 1
    window->DispatchMouseMove(ssLeft, 220, 40);
    window->DispatchMouseUp(TMouseButton::mbLeft, 0, 220, 40);
    EXPECT_EQ(window->Left(), left + 30);

    window->DispatchMouseDown(TMouseButton::mbLeft, ssLeft, 20, 120); // the ornament
    window->DispatchMouseMove(ssLeft, 25, 122);
    window->DispatchMouseUp(TMouseButton::mbLeft, 0, 25, 122);
    EXPECT_EQ(window->Left(), left + 35);
    window->DispatchMouseDown(TMouseButton::mbLeft, ssLeft, 30, 30); // the caption
    window->DispatchMouseMove(ssLeft, 31, 30);
    window->DispatchMouseUp(TMouseButton::mbLeft, 0, 31, 30);
    EXPECT_EQ(window->Left(), left + 36);
    EXPECT_FALSE(TfMainProbe::Dragging(*window));
}

// Where the compositor moves the window (on Wayland), the window's own drag
// would have moved it: the panel, the caption and the ornament, nowhere
// else; and nowhere while a modal window keeps it from input.
TEST_F(SongTest, TheDesktopsMoveStartsWhereTheWindowsOwnDragDoes)
{
    const TDragSurvey survey = SurveyDragSurfaces(*window, 3);
    EXPECT_GT(survey.Surfaces, 1000);
    EXPECT_TRUE(survey.Disagreements.empty()) << survey.Disagreements.size() << " points disagree, the first at "
                                              << survey.Disagreements[0].X << "," << survey.Disagreements[0].Y;
    EXPECT_FALSE(window->DragsWindowAt(window->bSong3->WindowOrigin() + TPoint{100, 20}));
    EXPECT_TRUE(window->DragsWindowAt(window->lInfo->WindowOrigin() + TPoint{10, 10}));
    window->SetEnabled(false);
    EXPECT_FALSE(window->DragsWindowAt({100, 3})) << "a window that takes no input";
}

// Each picture the window paints at once is on screen before the handler
// that caused it returns, whether or not anything else waits to be painted.
TEST_F(SongTest, PressesLocksGaugeStepsAndStarFramesReachTheScreenAtOnce)
{
    Application().ProcessMessages();
    window->DispatchMouseDown(TMouseButton::mbLeft, ssLeft, 200, 20); // song 1, held
    EXPECT_EQ(window->bSong1->DisplayState(), 2);
    EXPECT_TRUE(ScreenShowsPainted(*window, WindowRectOf(*window->bSong1))) << "the pressed picture";
    window->DispatchMouseUp(TMouseButton::mbLeft, 0, 200, 20);
    EXPECT_TRUE(ScreenShowsPainted(*window, WindowRectOf(*window->bSong1))) << "the locked picture";

    ClickOn(*window->bSong3);
    for (TautoButton* song : {window->bSong1, window->bSong3})
        EXPECT_TRUE(ScreenShowsPainted(*window, WindowRectOf(*song))) << song->Name();

    Tick(40); // past the welcome, into a row that stays for several ticks
    ClickOn(*window->bControlFF);
    std::string caption = window->lInfo->Caption();
    Tick();
    ASSERT_EQ(window->lInfo->Caption(), caption) << "the gauge must step alone";
    EXPECT_EQ(window->gSongPos->Progress(), 1);
    EXPECT_TRUE(ScreenShowsPainted(*window, WindowRectOf(*window->gSongPos)));

    random->values = {0, 10};
    Tick(2);
    EXPECT_EQ(TfMainProbe::StarStep(*window), 1);
    EXPECT_TRUE(ScreenShowsPainted(*window, WindowRectOf(*window->imgStar))) << "the star's first frame";
}

// Each key stands for its button: held down while the key is, clicked when
// it is let go; the glyph keys and the player's keys act at once.
TEST_F(SongTest, KeysPlayPauseStopStepMinimiseAndClose)
{
    const auto key = [this](std::uint16_t code) {
        window->DispatchKeyDown(code, 0);
        window->DispatchKeyUp(code, 0);
        Settle();
    };
    window->DispatchKeyDown('3', 0);
    EXPECT_EQ(ButtonStates(), (std::vector<int>{1, 1, 2, 1, 1})) << "held down while the key is";
    EXPECT_TRUE(ScreenShowsPainted(*window, WindowRectOf(*window->bSong3)));
    EXPECT_FALSE(Playing());
    window->DispatchKeyDown('3', 0); // the key repeating
    window->DispatchKeyUp('3', 0);
    Settle();
    EXPECT_TRUE(Playing());
    EXPECT_EQ(ButtonStates(), (std::vector<int>{1, 1, 6, 1, 1}));

    key(vkRight);
    key(vkOemPeriod);
    EXPECT_EQ(Player().Position(), 2);
    key(vkLeft);
    EXPECT_EQ(Player().Position(), 1);
    key(vkOemComma);
    EXPECT_EQ(Player().Position(), 0);
    key(vkRight);
    key(vkSpace);
    EXPECT_EQ(Player().State(), TPlaybackState::Paused) << "Space pauses";
    EXPECT_EQ(ButtonStates(), (std::vector<int>{1, 1, 6, 1, 1})) << "the paused song stays lit";
    Tick(8);
    EXPECT_EQ(Player().Position(), 1) << "the place holds";
    EXPECT_EQ(window->gSongPos->Progress(), 1);
    window->DispatchKeyDown(vkSpace, 0);
    window->DispatchKeyDown(vkSpace, 0); // the key repeating
    window->DispatchKeyUp(vkSpace, 0);
    EXPECT_TRUE(Playing()) << "and resumes, once per press";
    key('1');
    key('S');
    EXPECT_FALSE(Playing());
    EXPECT_EQ(ButtonStates(), (std::vector<int>{1, 1, 1, 1, 1}));

    window->DispatchKeyDown('2', ssCtrl);
    window->DispatchKeyUp('2', ssCtrl);
    EXPECT_FALSE(Playing()) << "Ctrl+2 is no song key";

    key('M');
    EXPECT_TRUE(Application().IsMinimized());
    key(vkEscape);
    EXPECT_TRUE(Application().Terminated());
    EXPECT_EQ(window->Player(), nullptr);
}

TEST_F(SongTest, VolumeKeysTheWheelAndMediaKeysGoToThePlayer)
{
    const auto key = [this](std::uint16_t code) {
        window->DispatchKeyDown(code, 0);
        window->DispatchKeyUp(code, 0);
        Settle();
    };
    key(vkOemMinus);
    key(vkSubtract);
    EXPECT_EQ(Player().Volume(), 90);
    window->DispatchMouseWheel(-3, 0);
    EXPECT_EQ(Player().Volume(), 75);
    key(vkOemPlus);
    window->DispatchMouseWheel(1, 0);
    EXPECT_EQ(Player().Volume(), 85);
    key(vkVolumeMute);
    EXPECT_EQ(Player().Volume(), 0);
    key(vkVolumeUp);
    EXPECT_EQ(Player().Volume(), 5);

    key(vkMediaPlayPause);
    EXPECT_TRUE(Player().Track().IsSong(1));
    EXPECT_EQ(ButtonStates(), (std::vector<int>{6, 1, 1, 1, 1}));
    key(vkMediaNextTrack);
    key(vkMediaNextTrack);
    key(vkMediaPrevTrack);
    EXPECT_EQ(ButtonStates(), (std::vector<int>{1, 6, 1, 1, 1}));
    EXPECT_EQ(window->gSongPos->MaxValue(), 4) << "the gauge follows the new song";
    key(vkMediaStop);
    EXPECT_EQ(Player().State(), TPlaybackState::Stopped);
    EXPECT_EQ(ButtonStates(), (std::vector<int>{1, 1, 1, 1, 1}));
}
