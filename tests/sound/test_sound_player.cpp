// The sound player over an engine that records: the settings that start
// it, what is loaded, playing and freed, and where play goes on.

#include "SoundTestSupport.h"

#include <gmock/gmock.h>

namespace soundtest {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;
using TOutcome = TMidasSound::TPlayResult::TOutcome;

class PlayerCalls : public PlayerTest {
protected:
    // A player on the default settings that plays song1.xm as module 1, play 101.
    TMidasSound& PlayingPlayer()
    {
        TMidasSound& player = MakePlayer();
        EXPECT_EQ(player.PlayFile("/disc/song1.xm").Outcome, TOutcome::Playing);
        Fake().Take();
        return player;
    }
};

TEST_F(PlayerCalls, StartsTheEngineWithTheSettingsGiven)
{
    MakePlayer({44100, false, true, 2, 80});
    EXPECT_EQ(Fake().Take(), StartCalls(44100, 2, 9, 80));
    EXPECT_FALSE(player_->IsPlaying());
    EXPECT_EQ(player_->GetPosition(), -1);
    EXPECT_EQ(player_->GetSongLength(), -1);
    EXPECT_THAT(Fake().Take(), IsEmpty()) << "nothing is asked without a song";
}

TEST_F(PlayerCalls, PlayFileOverASongPlaysTheNewOneAndThenFreesTheOld)
{
    TMidasSound& player = PlayingPlayer();
    EXPECT_EQ(player.PlayFile("/disc/song2.xm").Outcome, TOutcome::Playing);
    EXPECT_EQ(Fake().mostLoaded, 2u) << "the old one is kept until the new one plays";
    EXPECT_THAT(Fake().loaded, ElementsAre(2u));
    EXPECT_TRUE(player.IsPlaying());
    EXPECT_EQ(player.GetFileName(), "/disc/song2.xm");
}

TEST_F(PlayerCalls, AFileNoLongerWantedOnceLoadedIsFreedUnplayed)
{
    TMidasSound& player = PlayingPlayer();
    EXPECT_EQ(player.PlayFile("/disc/song2.xm", [] { return false; }).Outcome, TOutcome::Superseded);
    EXPECT_THAT(Fake().loaded, ElementsAre(1u)) << "song 1 goes on";
    EXPECT_EQ(player.GetFileName(), "/disc/song1.xm");
}

TEST_F(PlayerCalls, StopFreesTheSongAndForgetsItsFile)
{
    TMidasSound& player = PlayingPlayer();
    player.Stop();
    EXPECT_THAT(Fake().loaded, IsEmpty());
    EXPECT_FALSE(player.IsPlaying());
    EXPECT_EQ(player.GetFileName(), "");
    EXPECT_EQ(player.GetPosition(), -1);
    player.Stop();
    player.SetPosition(3);
    EXPECT_THAT(Fake().Take(), ElementsAre("MIDASstopModule(101)", "MIDASfreeModule(1)"))
        << "without a song, stop and jumps ask nothing";
}

TEST_F(PlayerCalls, ShuttingDownFreesWhatPlaysAndClosesTheEngineOnce)
{
    TMidasSound& player = PlayingPlayer();
    player.Shutdown();
    EXPECT_THAT(Fake().loaded, IsEmpty());
    EXPECT_THAT(Fake().Take(), ElementsAre("MIDASstopModule(101)", "MIDASfreeModule(1)", "MIDASstopBackgroundPlay()",
                                   "MIDASclose()"));
    player_.reset();
    EXPECT_THAT(Fake().Take(), IsEmpty()) << "a closed engine is not closed again";
}

TEST_F(PlayerCalls, DetailsComeFromTheModule)
{
    TMidasSound& player = PlayingPlayer();
    const TModuleDetails details = player.GetDetails();
    EXPECT_EQ(details.Title, "Fake song");
    EXPECT_EQ(details.DurationMs, 90000u);
    EXPECT_EQ(details.LastOrder, 11);
    EXPECT_EQ(details.LastInstrument, "Fake instrument");
}

TEST_F(PlayerCalls, ApplySettingsGoesOnFromTheTimeHeardAndStaysPaused)
{
    TMidasSound& player = PlayingPlayer();
    Fake().position = 7;
    Fake().playTimeMs = 32600;
    player.Pause(true);
    EXPECT_EQ(player.ApplySettings({44100, true, false, 2, 100}), std::nullopt);
    EXPECT_TRUE(player.IsPlaying());
    EXPECT_TRUE(player.IsPaused());
    EXPECT_EQ(player.GetPlayTime(), 32600u) << "not the start of order position 7";
    EXPECT_EQ(Fake().mostLoaded, 1u);
    EXPECT_THAT(Fake().loaded, ElementsAre(2u)) << "the song was loaded again";
    EXPECT_EQ(player.GetSettings().MixRate, 44100);
}

TEST_F(PlayerCalls, ApplySettingsWhileIdleRestartsTheEngineAndStaysIdle)
{
    TMidasSound& player = MakePlayer();
    Fake().Take();
    EXPECT_EQ(player.ApplySettings({8000, false, true, 0, 100}), std::nullopt);
    EXPECT_EQ(Fake().Take(), Join({"MIDASstopBackgroundPlay()", "MIDASclose()"}, StartCalls(8000, 0, 9, 100)));
    EXPECT_FALSE(player.IsPlaying());
}

struct OutputModeCase {
    bool stereo;
    bool bits16;
    int mode;
};

class OutputModes : public PlayerTest, public ::testing::WithParamInterface<OutputModeCase> { };

TEST_P(OutputModes, FollowStereoAndBits)
{
    const OutputModeCase& c = GetParam();
    MakePlayer({22050, c.stereo, c.bits16, 1, 100});
    EXPECT_EQ(Fake().Take(), StartCalls(22050, 1, c.mode, 100));
}

INSTANTIATE_TEST_SUITE_P(Table, OutputModes,
    ::testing::Values(OutputModeCase{false, false, 5}, OutputModeCase{false, true, 9}, OutputModeCase{true, false, 6},
        OutputModeCase{true, true, 10}));

} // namespace
} // namespace soundtest
