// What the sound player does when the engine fails: a file it can't load
// or play is answered and what played goes on; any other failure closes the
// engine and is thrown, so that the program shows it and ends.

#include "SoundTestSupport.h"

#include <gmock/gmock.h>

namespace soundtest {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;
using TOutcome = TMidasSound::TPlayResult::TOutcome;

const std::vector<std::string> reportCalls{"MIDASgetLastError()", "MIDASgetErrorMessage(7)"};

// The failure's text, or empty when action threw nothing.
template <typename Action>
std::string FailureOf(Action&& action)
{
    try {
        action();
    } catch (const ESoundFailure& failure) {
        return failure.what();
    }
    return {};
}

class FatalFailures : public PlayerTest { };

TEST_F(FatalFailures, EveryStepOfTheStartIsCheckedAndClosesTheEngine)
{
    const std::vector<std::string> steps = StartCalls(22050, 1, 10);
    // MIDASstartup answers nothing that could be checked.
    for (std::size_t failing = 1; failing < steps.size(); ++failing) {
        ResetFake();
        Fake().failing = {steps[failing]};
        EXPECT_EQ(FailureOf([&] { MakePlayer(); }), FakeMessage(steps[failing])) << steps[failing];
        const std::vector<std::string> before(steps.begin(), steps.begin() + static_cast<long>(failing) + 1);
        EXPECT_EQ(Fake().Take(), Join(Join(before, reportCalls), {"MIDASclose()"}));
        player_.reset();
        EXPECT_THAT(Fake().Take(), IsEmpty()) << "the closed engine is not shut down again";
    }
}

TEST_F(FatalFailures, AFailedStartUpCallIsNotAFailure)
{
    Fake().failing = {"MIDASstartup"};
    EXPECT_EQ(FailureOf([&] { MakePlayer(); }), "");
}

TEST_F(FatalFailures, AFailedQueryClosesTheEngineAndLeavesNothingToAsk)
{
    TMidasSound& player = MakePlayer();
    ASSERT_EQ(player.PlayFile("/disc/song1.xm").Outcome, TOutcome::Playing);
    Fake().Take();
    Fake().failing = {"MIDASgetPlayStatus"};
    EXPECT_EQ(FailureOf([&] { player.GetPosition(); }), FakeMessage("MIDASgetPlayStatus(101)"));
    EXPECT_EQ(Fake().Take(), Join(Join({"MIDASgetPlayStatus(101)"}, reportCalls), {"MIDASclose()"}));

    EXPECT_EQ(player.GetPosition(), -1);
    EXPECT_EQ(player.GetSongLength(), -1);
    player.SetPosition(2);
    player.Stop();
    player_.reset();
    EXPECT_THAT(Fake().Take(), IsEmpty());
}

TEST_F(FatalFailures, ASongTheEngineWontStopIsAFailure)
{
    TMidasSound& player = MakePlayer();
    ASSERT_EQ(player.PlayFile("/disc/song1.xm").Outcome, TOutcome::Playing);
    Fake().failing = {"MIDASfreeModule"};
    EXPECT_EQ(FailureOf([&] { player.Stop(); }), FakeMessage("MIDASfreeModule(1)"));
    EXPECT_FALSE(player.IsPlaying());
}

TEST_F(FatalFailures, AFailureWhileShuttingDownIsThrownButTheDestructorSwallowsIt)
{
    TMidasSound& player = MakePlayer();
    Fake().failing = {"MIDASstopBackgroundPlay"};
    EXPECT_EQ(FailureOf([&] { player.Shutdown(); }), FakeMessage("MIDASstopBackgroundPlay()"));
    MakePlayer();
    Fake().Take();
    player_.reset();
    EXPECT_EQ(Fake().Take(), Join(Join({"MIDASstopBackgroundPlay()"}, reportCalls), {"MIDASclose()"}));
}

class UnplayableFiles : public PlayerTest { };

TEST_F(UnplayableFiles, AFileTheEngineCantLoadIsAnsweredAndTheEngineGoesOn)
{
    TMidasSound& player = MakePlayer();
    Fake().failing = {"MIDASloadModule(/home/me/notes.txt)"};
    const auto refused = player.PlayFile("/home/me/notes.txt");
    EXPECT_EQ(refused.Outcome, TOutcome::Refused);
    EXPECT_EQ(refused.Message, FakeMessage("MIDASloadModule(/home/me/notes.txt)"));
    EXPECT_FALSE(player.IsPlaying());
    EXPECT_EQ(player.GetFileName(), "");

    // The next song plays, and no file is remembered for a restart.
    EXPECT_EQ(player.PlayFile("/disc/song2.xm").Outcome, TOutcome::Playing);
    player.Stop();
    Fake().Take();
    EXPECT_EQ(player.ApplySettings({}), std::nullopt);
    EXPECT_EQ(Fake().Take(), Join({"MIDASstopBackgroundPlay()", "MIDASclose()"}, StartCalls(22050, 1, 10)));
}

TEST_F(UnplayableFiles, AFailedLoadOverASongLeavesTheSongPlaying)
{
    TMidasSound& player = MakePlayer();
    ASSERT_EQ(player.PlayFile("/disc/song1.xm").Outcome, TOutcome::Playing);
    Fake().failing = {"MIDASloadModule(/disc/gone.xm)"};
    EXPECT_EQ(player.PlayFile("/disc/gone.xm").Outcome, TOutcome::Refused);
    EXPECT_THAT(Fake().loaded, ElementsAre(1u));
    EXPECT_TRUE(player.IsPlaying());
    EXPECT_EQ(player.GetFileName(), "/disc/song1.xm");
}

TEST_F(UnplayableFiles, AModuleThatLoadsButWontPlayIsFreedAndWhatPlayedGoesOn)
{
    TMidasSound& player = MakePlayer();
    ASSERT_EQ(player.PlayFile("/disc/song1.xm").Outcome, TOutcome::Playing);
    Fake().failing = {"MIDASplayModule(2"};
    const auto refused = player.PlayFile("/disc/odd.s3m");
    EXPECT_EQ(refused.Outcome, TOutcome::Refused);
    EXPECT_EQ(refused.Message, FakeMessage("MIDASplayModule(2, 1)"));
    EXPECT_THAT(Fake().loaded, ElementsAre(1u));
    EXPECT_EQ(player.GetFileName(), "/disc/song1.xm");
}

TEST_F(UnplayableFiles, ASongThatCantBeLoadedAgainAfterASettingsChangeLeavesThePlayerIdle)
{
    TMidasSound& player = MakePlayer();
    ASSERT_EQ(player.PlayFile("/disc/song5.xm").Outcome, TOutcome::Playing);
    // The file went away while it played.
    Fake().failing = {"MIDASloadModule(/disc/song5.xm)"};
    EXPECT_EQ(player.ApplySettings({44100, true, true, 1, 100}), FakeMessage("MIDASloadModule(/disc/song5.xm)"));
    EXPECT_FALSE(player.IsPlaying());
    EXPECT_EQ(player.GetFileName(), "");
    EXPECT_THAT(Fake().loaded, IsEmpty());
}

} // namespace
} // namespace soundtest
