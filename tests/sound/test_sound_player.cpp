// The player's conversation with the engine: which calls, in which order.

#include "SoundTestSupport.h"

#include <gmock/gmock.h>

namespace soundtest {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

const std::vector<std::string> shutdownIdle{"MIDASstopBackgroundPlay()", "MIDASclose()"};

class PlayerCalls : public PlayerTest {
protected:
    // A player on the default settings that plays song1.xm as module 1, play 101.
    TMidasSound* PlayingPlayer()
    {
        TMidasSound* player = MakePlayer();
        EXPECT_TRUE(player->PlayFile("/disc/song1.xm"));
        Fake().Take();
        return player;
    }
};

TEST_F(PlayerCalls, ConstructorStartsTheEngineWithTheDefaultsWhenNothingIsStored)
{
    TMidasSound* player = MakePlayer();
    EXPECT_EQ(Fake().Take(), StartCalls(22050, 1, 10));
    EXPECT_FALSE(player->IsPlaying());
    std::int32_t mixRate = 0;
    bool stereo = false, bits16 = false;
    std::uint8_t filterMode = 0;
    player->GetSettings(mixRate, stereo, bits16, filterMode);
    EXPECT_EQ(mixRate, 22050);
    EXPECT_TRUE(stereo);
    EXPECT_TRUE(bits16);
    EXPECT_EQ(filterMode, 1);
    EXPECT_THAT(messages_, IsEmpty());
}

TEST_F(PlayerCalls, ConstructorStartsTheEngineWithTheStoredSettings)
{
    StoreSettings({"Mixrate=44100", "Stereo=0", "16 Bit=1", "Filter Mode=2"});
    MakePlayer();
    EXPECT_EQ(Fake().Take(), StartCalls(44100, 2, 9));
}

TEST_F(PlayerCalls, DestructorStoresTheSettingsBeforeClosingTheIdleEngine)
{
    TMidasSound* player = MakePlayer();
    Fake().Take();
    bool storedBeforeShutdown = false;
    Fake().onCall = [&](const std::string& call) {
        if (call == "MIDASstopBackgroundPlay()")
            storedBeforeShutdown = std::filesystem::exists(SettingsPath());
    };
    player->Free();
    EXPECT_EQ(Fake().Take(), shutdownIdle);
    EXPECT_TRUE(storedBeforeShutdown);
    EXPECT_EQ(owner_.ComponentCount(), 0);
}

TEST_F(PlayerCalls, DestructorStopsAndFreesTheSongThatPlays)
{
    PlayingPlayer()->Free();
    EXPECT_EQ(Fake().Take(), Join({"MIDASstopModule(101)", "MIDASfreeModule(1)"}, shutdownIdle));
    EXPECT_THAT(Fake().loaded, IsEmpty());
}

TEST_F(PlayerCalls, PlayFileLoadsAndPlaysTheSongLooping)
{
    TMidasSound* player = MakePlayer();
    Fake().Take();
    EXPECT_TRUE(player->PlayFile("/disc/song3.xm"));
    EXPECT_THAT(Fake().Take(), ElementsAre("MIDASloadModule(/disc/song3.xm)", "MIDASplayModule(1, 1)"));
    EXPECT_TRUE(player->IsPlaying());
}

TEST_F(PlayerCalls, PlayFileOverASongPlaysTheNewOneAndThenFreesTheOld)
{
    TMidasSound* player = PlayingPlayer();
    EXPECT_TRUE(player->PlayFile("/disc/song2.xm"));
    EXPECT_THAT(Fake().Take(),
        ElementsAre(
            "MIDASloadModule(/disc/song2.xm)", "MIDASplayModule(2, 1)", "MIDASstopModule(101)", "MIDASfreeModule(1)"));
    EXPECT_EQ(Fake().mostLoaded, 2u) << "the old one is kept until the new one plays";
    EXPECT_THAT(Fake().loaded, ElementsAre(2u));
    EXPECT_TRUE(player->IsPlaying());
    EXPECT_EQ(player->GetPosition(), 0);
    EXPECT_THAT(Fake().Take(), ElementsAre("MIDASgetPlayStatus(102)"));
}

TEST_F(PlayerCalls, StopWithoutASongDoesNothing)
{
    TMidasSound* player = MakePlayer();
    Fake().Take();
    player->Stop();
    EXPECT_THAT(Fake().Take(), IsEmpty());
    EXPECT_FALSE(player->IsPlaying());
}

TEST_F(PlayerCalls, StopStopsAndFreesTheSongAndForgetsItsFile)
{
    TMidasSound* player = PlayingPlayer();
    player->Stop();
    EXPECT_THAT(Fake().Take(), ElementsAre("MIDASstopModule(101)", "MIDASfreeModule(1)"));
    EXPECT_FALSE(player->IsPlaying());
    EXPECT_EQ(player->GetPosition(), -1);
    EXPECT_EQ(player->GetSongLength(), -1);
    player->Stop();
    EXPECT_THAT(Fake().Take(), IsEmpty());

    // With the file forgotten, a restart doesn't bring the song back.
    player->ApplySettings(22050, true, true, 1);
    EXPECT_EQ(Fake().Take(), Join(shutdownIdle, StartCalls(22050, 1, 10)));
    EXPECT_FALSE(player->IsPlaying());
}

TEST_F(PlayerCalls, PositionAndSongLengthAreMinusOneWithoutASongAndAskNothing)
{
    TMidasSound* player = MakePlayer();
    Fake().Take();
    EXPECT_EQ(player->GetPosition(), -1);
    EXPECT_EQ(player->GetSongLength(), -1);
    EXPECT_THAT(Fake().Take(), IsEmpty());
}

TEST_F(PlayerCalls, PositionAndSongLengthComeFromTheEngine)
{
    TMidasSound* player = PlayingPlayer();
    Fake().position = 5;
    Fake().songLength = 9;
    EXPECT_EQ(player->GetPosition(), 5);
    EXPECT_EQ(player->GetSongLength(), 8);
    EXPECT_THAT(Fake().Take(), ElementsAre("MIDASgetPlayStatus(101)", "MIDASgetModuleInfo(1)"));
}

TEST_F(PlayerCalls, SetPositionWithNothingPlayingMakesNoEngineCall)
{
    TMidasSound* player = MakePlayer();
    Fake().Take();
    player->SetPosition(3);
    EXPECT_THAT(Fake().Take(), IsEmpty());
}

TEST_F(PlayerCalls, SetPositionJumpsWithoutARangeCheck)
{
    TMidasSound* player = PlayingPlayer();
    player->SetPosition(3);
    player->SetPosition(400);
    player->SetPosition(-2);
    EXPECT_THAT(Fake().Take(),
        ElementsAre("MIDASsetPosition(101, 3)", "MIDASsetPosition(101, 400)", "MIDASsetPosition(101, -2)"));
}

TEST_F(PlayerCalls, ApplySettingsWhileIdleRestartsTheEngineAndStaysIdle)
{
    TMidasSound* player = MakePlayer();
    Fake().Take();
    player->ApplySettings(11025, false, false, 0);
    EXPECT_EQ(Fake().Take(), Join(shutdownIdle, StartCalls(11025, 0, 5)));
    EXPECT_FALSE(player->IsPlaying());

    std::int32_t mixRate = 0;
    bool stereo = true, bits16 = true;
    std::uint8_t filterMode = 9;
    player->GetSettings(mixRate, stereo, bits16, filterMode);
    EXPECT_EQ(mixRate, 11025);
    EXPECT_FALSE(stereo);
    EXPECT_FALSE(bits16);
    EXPECT_EQ(filterMode, 0);
    // The file waits for the end of the run.
    EXPECT_FALSE(std::filesystem::exists(SettingsPath()));
}

TEST_F(PlayerCalls, ApplySettingsGoesOnFromTheTimeHeard)
{
    TMidasSound* player = PlayingPlayer();
    Fake().position = 7;
    Fake().playTimeMs = 32600;
    player->ApplySettings(44100, true, false, 2);
    EXPECT_TRUE(player->IsPlaying());
    EXPECT_EQ(player->GetPlayTime(), 32600u) << "not the start of order position 7";
    EXPECT_EQ(Fake().mostLoaded, 1u);
    EXPECT_THAT(Fake().loaded, ElementsAre(2u)) << "the song was loaded again";
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
    StoreSettings({std::string("Stereo=") + (c.stereo ? "1" : "0"), std::string("16 Bit=") + (c.bits16 ? "1" : "0")});
    TMidasSound* player = MakePlayer();
    EXPECT_EQ(Fake().Take(), StartCalls(22050, 1, c.mode));

    player->ApplySettings(22050, !c.stereo, !c.bits16, 1);
    Fake().Take();
    player->ApplySettings(22050, c.stereo, c.bits16, 1);
    EXPECT_EQ(Fake().Take(), Join(shutdownIdle, StartCalls(22050, 1, c.mode)));
}

INSTANTIATE_TEST_SUITE_P(Table, OutputModes,
    ::testing::Values(OutputModeCase{false, false, 5}, OutputModeCase{false, true, 9}, OutputModeCase{true, false, 6},
        OutputModeCase{true, true, 10}));

} // namespace
} // namespace soundtest
