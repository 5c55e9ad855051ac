#include "OptionsTestSupport.h"

#include "toolkit/graphics/Exceptions.h"
#include "toolkit/windowing/Application.h"

#include <string>
#include <vector>

using Texts = std::vector<std::string>;

TEST_F(OptionsTest, DefaultSettingsShowAs22050OnOnLess)
{
    OpenOptions();
    EXPECT_EQ(Texts(), (::Texts{"22050", "On", "On", "Less"}));
}

TEST_F(OptionsTest, StoredSettingsShowAsTheirTexts)
{
    StartPlayer("[Sound]\nMixrate=44100\nStereo=0\n16 Bit=0\nFilter Mode=2\n");
    OpenOptions();
    EXPECT_EQ(Texts(), (::Texts{"44100", "Off", "Off", "More"}));

    StartPlayer("[Sound]\nMixrate=11025\nStereo=1\n16 Bit=0\nFilter Mode=0\n");
    OpenOptions();
    EXPECT_EQ(Texts(), (::Texts{"11025", "On", "Off", "None"}));
}

TEST_F(OptionsTest, MixRateArrowsStepThroughTheThreeRatesWithoutWrapping)
{
    TfOptions& window = OpenOptions();
    ClickUp(*window.bMixrate);
    EXPECT_EQ(window.lMixrate->Caption(), "44100");
    ClickUp(*window.bMixrate);
    EXPECT_EQ(window.lMixrate->Caption(), "44100") << "up on the last rate changes nothing";
    ClickDown(*window.bMixrate);
    EXPECT_EQ(window.lMixrate->Caption(), "22050");
    ClickDown(*window.bMixrate);
    EXPECT_EQ(window.lMixrate->Caption(), "11025");
    ClickDown(*window.bMixrate);
    EXPECT_EQ(window.lMixrate->Caption(), "11025") << "down on the first rate changes nothing";
    ClickUp(*window.bMixrate);
    EXPECT_EQ(window.lMixrate->Caption(), "22050");
}

TEST_F(OptionsTest, FilterModeArrowsStepThroughNoneLessMore)
{
    TfOptions& window = OpenOptions();
    std::vector<std::string> seen;
    for (int i = 0; i < 3; ++i) {
        ClickDown(*window.bFilterMode);
        seen.push_back(window.lFilterMode->Caption());
    }
    for (int i = 0; i < 3; ++i) {
        ClickUp(*window.bFilterMode);
        seen.push_back(window.lFilterMode->Caption());
    }
    EXPECT_EQ(seen, (std::vector<std::string>{"None", "None", "None", "Less", "More", "More"}));
}

TEST_F(OptionsTest, StereoAndSixteenBitArrowsSwitchBetweenOffAndOn)
{
    TfOptions& window = OpenOptions();
    for (auto [spin, label] : {std::pair{window.bStereo, window.lStereo}, std::pair{window.b16Bit, window.l16Bit}}) {
        SCOPED_TRACE(spin->Name());
        ClickUp(*spin);
        EXPECT_EQ(label->Caption(), "On");
        ClickDown(*spin);
        EXPECT_EQ(label->Caption(), "Off");
        ClickDown(*spin);
        EXPECT_EQ(label->Caption(), "Off");
        ClickUp(*spin);
        EXPECT_EQ(label->Caption(), "On");
    }
    EXPECT_EQ(Texts(), (::Texts{"22050", "On", "On", "Less"})) << "each arrow pair moves only its own text";
}

TEST_F(OptionsTest, ArrowsCompareTheTextExactly)
{
    TfOptions& window = OpenOptions();
    window.lStereo->SetCaption("on");
    ClickDown(*window.bStereo);
    EXPECT_EQ(window.lStereo->Caption(), "on");
    window.lFilterMode->SetCaption("less");
    ClickUp(*window.bFilterMode);
    EXPECT_EQ(window.lFilterMode->Caption(), "less");
}

TEST_F(OptionsTest, HeldArrowRepeatsAndStopsAtTheEndOfTheList)
{
    TfOptions& window = OpenOptions();
    window.Show();
    ClickDown(*window.bMixrate);
    ASSERT_EQ(window.lMixrate->Caption(), "11025");
    TControl& up = *window.bMixrate->UpButton();
    TPoint p = up.WindowOrigin() + TPoint{7, 5};
    window.DispatchMouseDown(TMouseButton::mbLeft, ssLeft, p.X, p.Y);
    Application().AdvanceTime(400);
    EXPECT_EQ(window.lMixrate->Caption(), "22050");
    Application().AdvanceTime(100);
    EXPECT_EQ(window.lMixrate->Caption(), "44100");
    Application().AdvanceTime(500);
    EXPECT_EQ(window.lMixrate->Caption(), "44100");
    window.DispatchMouseUp(TMouseButton::mbLeft, 0, p.X, p.Y);
    EXPECT_EQ(window.lMixrate->Caption(), "44100");
}

TEST_F(OptionsTest, ClosingAppliesTheChangedTexts)
{
    TfOptions& window = OpenOptions();
    ClickUp(*window.bMixrate);
    ClickDown(*window.bStereo);
    ClickDown(*window.b16Bit);
    ClickUp(*window.bFilterMode);
    EXPECT_EQ(Texts(), (::Texts{"44100", "Off", "Off", "More"}));
    Click(*window.bWindowClose);
    EXPECT_EQ(Settings(), (TSettings{44100, false, false, 2}));

    TfOptions& again = OpenOptions();
    EXPECT_EQ(Texts(), (::Texts{"44100", "Off", "Off", "More"})) << "a new window shows the new settings";
    ClickDown(*again.bFilterMode);
    ClickDown(*again.bFilterMode);
    ClickUp(*again.bStereo);
    Click(*again.bWindowClose);
    EXPECT_EQ(Settings(), (TSettings{44100, true, false, 0}));
}

TEST_F(OptionsTest, ClosingHidesTheWindowThatWasNotModal)
{
    TfOptions& window = OpenOptions();
    window.Show();
    Click(*window.bWindowClose);
    EXPECT_FALSE(window.Visible());
}

TEST_F(OptionsTest, MixRateFromTheSettingsFileOutsideTheListStaysAndIsAppliedAgain)
{
    StartPlayer("[Sound]\nMixrate=32000\n");
    TfOptions& window = OpenOptions();
    EXPECT_EQ(Texts(), (::Texts{"32000", "On", "On", "Less"}));
    ClickUp(*window.bMixrate);
    EXPECT_EQ(window.lMixrate->Caption(), "32000");
    ClickDown(*window.bMixrate);
    EXPECT_EQ(window.lMixrate->Caption(), "32000");
    Click(*window.bWindowClose);
    EXPECT_EQ(Settings(), (TSettings{32000, true, true, 1}));
}

TEST_F(OptionsTest, FilterMode255ShowsAsNoneAndIsAppliedAsZero)
{
    StartPlayer("[Sound]\nFilter Mode=255\n");
    ASSERT_EQ(Settings().FilterMode, 255);
    TfOptions& window = OpenOptions();
    EXPECT_EQ(window.lFilterMode->Caption(), "None");
    Click(*window.bWindowClose);
    EXPECT_EQ(Settings(), (TSettings{22050, true, true, 0}));
}

TEST_F(OptionsTest, ClosingWithoutChangesStillRestartsTheEngineAndTheSongGoesOnWhereItWas)
{
    std::string song = WriteFile("song.xm", SlowModule(6));
    Player().PlayFile(song);
    Player().SeekToOrder(3);
    Settle();
    ASSERT_EQ(Player().Position(), 3);
    // The restart loads the file from disk again; a longer song in its place
    // shows that it did.
    WriteFile("song.xm", SlowModule(9));
    ASSERT_EQ(Player().Track().LastOrder, 5);

    TfOptions& window = OpenOptions();
    Click(*window.bWindowClose);
    EXPECT_EQ(Settings(), (TSettings{22050, true, true, 1}));
    EXPECT_EQ(Player().State(), TPlaybackState::Playing);
    EXPECT_EQ(Player().Track().LastOrder, 8) << "the song was loaded again";
    EXPECT_EQ(Player().Position(), 3);
}

TEST_F(OptionsTest, ClosingWhileNothingPlaysLeavesThePlayerIdle)
{
    TfOptions& window = OpenOptions();
    ClickDown(*window.bMixrate);
    Click(*window.bWindowClose);
    EXPECT_EQ(Settings().MixRate, 11025);
    EXPECT_EQ(Player().State(), TPlaybackState::Stopped);
    EXPECT_EQ(Player().Track().Kind, TTrack::TKind::None);
}

TEST_F(OptionsTest, MixRateTextThatIsNoNumberIsRefusedAndNothingIsApplied)
{
    TfOptions& window = OpenOptions();
    window.Show();
    for (const char* text : {"fast", "", "22050Hz", "99999999999"}) {
        window.lMixrate->SetCaption(text);
        EXPECT_THROW(Click(*window.bWindowClose), EConvertError) << text;
        EXPECT_EQ(Settings(), (TSettings{22050, true, true, 1}));
        EXPECT_TRUE(window.Visible());
    }
}

TEST_F(OptionsTest, StartUpWindowIsHiddenAndShowsTheSettingsOfThatMoment)
{
    StartPlayer("[Sound]\nMixrate=44100\nStereo=0\n");
    Application().CreateForm(fOptions, Player());
    options = fOptions;
    EXPECT_FALSE(fOptions->Visible());
    EXPECT_EQ(Application().MainForm(), fMain);
    EXPECT_EQ(Texts(), (::Texts{"44100", "Off", "On", "Less"}));
}

// The restart loads the song again; one that went away meanwhile leaves
// nothing playing, and no song button lit.
TEST_F(OptionsTest, ClosingAfterTheSongWentAwayLeavesNoButtonLit)
{
    WriteFile("song3.xm", SlowModule(6));
    ClickOnMain(*fMain->bSong3);
    ASSERT_EQ(fMain->bSong3->DisplayState(), 6);
    std::filesystem::remove(folder / "song3.xm");

    TfOptions& window = OpenOptions();
    Click(*window.bWindowClose);
    EXPECT_EQ(Player().State(), TPlaybackState::Stopped);
    for (TautoButton* song : {fMain->bSong1, fMain->bSong2, fMain->bSong3, fMain->bSong4, fMain->bSong5})
        EXPECT_EQ(song->DisplayState(), 1) << song->Name();
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].rfind("MIDAS Sound System Error: ", 0), 0u) << messages[0];
    messages.clear();
}
