// What the player does when the engine fails: a file it can't load is shown
// and forgotten; any other failure is shown, closes the engine and ends the
// program, with the settings still stored.

#include "SoundTestSupport.h"

#include "toolkit/windowing/Application.h"

#include <gmock/gmock.h>

namespace soundtest {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

constexpr auto engineFailure = TSoundFailure::TKind::Engine;
constexpr auto settingsFailure = TSoundFailure::TKind::Settings;

const std::vector<std::string> reportCalls{"MIDASgetLastError()", "MIDASgetErrorMessage(7)"};

// Runs action, which must end the program; answers the exit code.
template <typename Action>
int HaltCode(Action&& action)
{
    try {
        action();
    } catch (const TApplicationHalt& halt) {
        return halt.ExitCode;
    }
    ADD_FAILURE() << "the program didn't end";
    return -1;
}

class FatalFailures : public PlayerTest { };

TEST_F(FatalFailures, AnEngineThatWontStartEndsTheProgramAndTheSettingsAreStillStored)
{
    // Spelled so that only a fresh write gives the lines checked below.
    StoreSettings({"Mixrate=$17700", "Stereo=0", "16 Bit=0", "Filter Mode=258"});
    Fake().failing = {"MIDASinit"};
    EXPECT_EQ(HaltCode([&] { MakePlayer(); }), 0);

    std::vector<std::string> start = StartCalls(96000, 2, 5);
    start.pop_back();
    EXPECT_EQ(Fake().Take(), Join(Join(start, reportCalls), {"MIDASclose()"}));
    ASSERT_EQ(messages_.size(), 1u);
    EXPECT_EQ(messages_[0].text, FakeMessage("MIDASinit()"));
    EXPECT_EQ(messages_[0].kind, engineFailure);
    // The program's ending destroys the player its owner holds.
    ASSERT_EQ(owner_.ComponentCount(), 1);
    owner_.Components(0)->Free();
    EXPECT_EQ(Fake().Take(), std::vector<std::string>{}) << "the closed engine is not shut down again";
    EXPECT_THAT(Lines(SettingsPath()),
        ElementsAre("[Sound]", "Mixrate=96000", "Stereo=0", "16 Bit=0", "Filter Mode=2", "Volume=100"));
}

TEST_F(FatalFailures, EveryStepOfTheStartIsChecked)
{
    const std::vector<std::string> steps = StartCalls(22050, 1, 10);
    // The start-up call's answer is not looked at.
    for (std::size_t failing = 1; failing < steps.size(); ++failing) {
        SCOPED_TRACE(steps[failing]);
        ResetFake();
        messages_.clear();
        Fake().failing = {steps[failing]};
        EXPECT_EQ(HaltCode([&] { MakePlayer(); }), 0);
        const std::vector<std::string> madeBeforeFailure(
            steps.begin(), steps.begin() + static_cast<std::ptrdiff_t>(failing) + 1);
        EXPECT_EQ(Fake().Take(), Join(Join(madeBeforeFailure, reportCalls), {"MIDASclose()"}));
        ASSERT_EQ(messages_.size(), 1u);
        EXPECT_EQ(messages_[0].text, FakeMessage(steps[failing]));
    }
}

TEST_F(FatalFailures, AFailedStartUpCallIsNotAFailure)
{
    Fake().failing = {"MIDASstartup"};
    MakePlayer();
    EXPECT_EQ(Fake().Take(), StartCalls(22050, 1, 10));
    EXPECT_THAT(messages_, IsEmpty());
}

TEST_F(FatalFailures, SettingsTheEngineRefusesEndTheProgramAndReachTheFile)
{
    TMidasSound* player = MakePlayer();
    ASSERT_TRUE(player->PlayFile("/disc/song4.xm"));
    Fake().Take();
    Fake().failing = {"MIDASsetOption(1, 8000)"};
    EXPECT_EQ(HaltCode([&] { player->ApplySettings(8000, false, true, 0); }), 0);
    EXPECT_EQ(Fake().Take().back(), "MIDASclose()");
    ASSERT_EQ(messages_.size(), 1u);
    EXPECT_EQ(messages_[0].text, FakeMessage("MIDASsetOption(1, 8000)"));
    EXPECT_EQ(messages_[0].kind, engineFailure);

    // The program's ending destroys the player: the engine, closed already,
    // hears nothing more, and nothing more is shown.
    player->Free();
    EXPECT_THAT(Fake().Take(), IsEmpty());
    EXPECT_EQ(messages_.size(), 1u);
    EXPECT_THAT(Lines(SettingsPath()),
        ElementsAre("[Sound]", "Mixrate=8000", "Stereo=0", "16 Bit=1", "Filter Mode=0", "Volume=100"));
}

TEST_F(FatalFailures, AFailedPositionQueryEndsTheProgramAndLeavesNothingToShutDown)
{
    TMidasSound* player = MakePlayer();
    ASSERT_TRUE(player->PlayFile("/disc/song1.xm"));
    Fake().Take();
    Fake().failing = {"MIDASgetPlayStatus"};
    EXPECT_EQ(HaltCode([&] { player->GetPosition(); }), 0);
    EXPECT_EQ(Fake().Take(), Join(Join({"MIDASgetPlayStatus(101)"}, reportCalls), {"MIDASclose()"}));

    // While the program ends, the update timer may still ask.
    EXPECT_EQ(player->GetPosition(), -1);
    EXPECT_EQ(player->GetSongLength(), -1);
    player->SetPosition(2);
    player->Stop();
    player->Free();
    EXPECT_THAT(Fake().Take(), IsEmpty());
    EXPECT_EQ(messages_.size(), 1u);
    EXPECT_TRUE(std::filesystem::exists(SettingsPath()));
}

TEST_F(FatalFailures, AFailureWhileTheDestructorShutsDownIsShownButNotThrown)
{
    TMidasSound* player = MakePlayer();
    Fake().Take();
    Fake().failing = {"MIDASstopBackgroundPlay"};
    player->Free();
    EXPECT_EQ(Fake().Take(), Join(Join({"MIDASstopBackgroundPlay()"}, reportCalls), {"MIDASclose()"}));
    ASSERT_EQ(messages_.size(), 1u);
    EXPECT_EQ(messages_[0].text, FakeMessage("MIDASstopBackgroundPlay()"));
    EXPECT_EQ(owner_.ComponentCount(), 0);
    EXPECT_TRUE(std::filesystem::exists(SettingsPath()));
}

TEST_F(FatalFailures, StoppingASongThatTheEngineWontStopEndsTheProgram)
{
    TMidasSound* player = MakePlayer();
    ASSERT_TRUE(player->PlayFile("/disc/song1.xm"));
    Fake().Take();
    Fake().failing = {"MIDASfreeModule"};
    EXPECT_EQ(HaltCode([&] { player->Stop(); }), 0);
    EXPECT_EQ(Fake().Take(), Join(Join({"MIDASstopModule(101)", "MIDASfreeModule(1)"}, reportCalls), {"MIDASclose()"}));
    EXPECT_FALSE(player->IsPlaying());
}

class UnplayableFiles : public PlayerTest { };

TEST_F(UnplayableFiles, AFileTheEngineCantLoadIsShownAndThePlayerStaysIdle)
{
    TMidasSound* player = MakePlayer();
    Fake().Take();
    Fake().failing = {"MIDASloadModule(/home/me/notes.txt)"};
    EXPECT_FALSE(player->PlayFile("/home/me/notes.txt"));
    EXPECT_EQ(Fake().Take(), Join({"MIDASloadModule(/home/me/notes.txt)"}, reportCalls));
    ASSERT_EQ(messages_.size(), 1u);
    EXPECT_EQ(messages_[0].text, FakeMessage("MIDASloadModule(/home/me/notes.txt)"));
    EXPECT_EQ(messages_[0].kind, engineFailure);
    EXPECT_FALSE(player->IsPlaying());
    EXPECT_EQ(player->GetPosition(), -1);
    EXPECT_EQ(player->GetSongLength(), -1);
    EXPECT_THAT(Fake().Take(), IsEmpty());

    // The program goes on: the next song plays, and no file is remembered
    // for a restart.
    EXPECT_TRUE(player->PlayFile("/disc/song2.xm"));
    EXPECT_THAT(Fake().Take(), ElementsAre("MIDASloadModule(/disc/song2.xm)", "MIDASplayModule(1, 1)"));
    player->Stop();
    Fake().Take();
    player->ApplySettings(22050, true, true, 1);
    EXPECT_EQ(Fake().Take(), Join({"MIDASstopBackgroundPlay()", "MIDASclose()"}, StartCalls(22050, 1, 10)));
}

TEST_F(UnplayableFiles, AFailedLoadOverASongLeavesTheSongPlaying)
{
    TMidasSound* player = MakePlayer();
    ASSERT_TRUE(player->PlayFile("/disc/song1.xm"));
    Fake().Take();
    Fake().failing = {"MIDASloadModule(/disc/gone.xm)"};
    EXPECT_FALSE(player->PlayFile("/disc/gone.xm"));
    EXPECT_EQ(Fake().Take(), Join({"MIDASloadModule(/disc/gone.xm)"}, reportCalls));
    EXPECT_THAT(Fake().loaded, ElementsAre(1u));
    EXPECT_TRUE(player->IsPlaying());
    EXPECT_EQ(player->GetFileName(), "/disc/song1.xm");

    player->Free();
    EXPECT_EQ(Fake().Take(),
        (std::vector<std::string>{"MIDASstopModule(101)", "MIDASfreeModule(1)", "MIDASstopBackgroundPlay()", "MIDASclose()"}));
}

TEST_F(UnplayableFiles, AModuleThatLoadsButWontPlayIsFreed)
{
    TMidasSound* player = MakePlayer();
    Fake().Take();
    Fake().failing = {"MIDASplayModule"};
    EXPECT_FALSE(player->PlayFile("/disc/odd.s3m"));
    EXPECT_EQ(Fake().Take(),
        Join(Join({"MIDASloadModule(/disc/odd.s3m)", "MIDASplayModule(1, 1)"}, reportCalls), {"MIDASfreeModule(1)"}));
    EXPECT_THAT(Fake().loaded, IsEmpty());
    EXPECT_FALSE(player->IsPlaying());
    EXPECT_EQ(player->GetSongLength(), -1);
    ASSERT_EQ(messages_.size(), 1u);
    EXPECT_EQ(messages_[0].text, FakeMessage("MIDASplayModule(1, 1)"));
}

TEST_F(UnplayableFiles, ASongThatCantBeLoadedAgainAfterASettingsChangeLeavesThePlayerIdle)
{
    TMidasSound* player = MakePlayer();
    ASSERT_TRUE(player->PlayFile("/disc/song5.xm"));
    Fake().position = 4;
    Fake().Take();
    // The file went away while it played.
    Fake().failing = {"MIDASloadModule(/disc/song5.xm)"};
    player->ApplySettings(44100, true, true, 1);
    const std::vector<std::string> calls = Fake().Take();
    EXPECT_EQ(
        std::vector<std::string>(calls.end() - 3, calls.end()), Join({"MIDASloadModule(/disc/song5.xm)"}, reportCalls));
    EXPECT_EQ(messages_.size(), 1u);
    EXPECT_FALSE(player->IsPlaying());
    EXPECT_EQ(player->GetPosition(), -1);

    player->ApplySettings(22050, true, true, 1);
    EXPECT_EQ(Fake().Take(), Join({"MIDASstopBackgroundPlay()", "MIDASclose()"}, StartCalls(22050, 1, 10)));
}

class SettingsWriteFailures : public PlayerTest { };

TEST_F(SettingsWriteFailures, ASettingsFileThatCantBeWrittenIsShownAndTheEngineStillCloses)
{
    Application().SetTitle("Velmora - VYR's first Music Disc");
    const std::string missingDir = folder_.Path("gone") + "/";
    TMidasSound* player = TComponent::Create<TMidasSound>(&owner_, missingDir, Recorder(), FakeApi());
    player->Start();
    ASSERT_TRUE(player->PlayFile("/disc/song1.xm"));
    Fake().Take();
    player->Free();
    Application().SetTitle("");

    EXPECT_THAT(Fake().Take(),
        ElementsAre("MIDASstopModule(101)", "MIDASfreeModule(1)", "MIDASstopBackgroundPlay()", "MIDASclose()"));
    ASSERT_EQ(messages_.size(), 1u);
    EXPECT_EQ(messages_[0].text, "Kann nicht nach " + missingDir + "Sound.opt schreiben");
    EXPECT_EQ(messages_[0].kind, settingsFailure);
    EXPECT_FALSE(std::filesystem::exists(missingDir));
}

TEST_F(SettingsWriteFailures, AWriteFailureAfterAFailedStartStillEndsTheProgramInOrder)
{
    const std::string missingDir = folder_.Path("gone") + "/";
    Fake().failing = {"MIDASinit"};
    EXPECT_EQ(
        HaltCode([&] { TComponent::Create<TMidasSound>(&owner_, missingDir, Recorder(), FakeApi())->Start(); }), 0);
    owner_.Components(0)->Free();
    ASSERT_EQ(messages_.size(), 2u);
    EXPECT_EQ(messages_[0].kind, engineFailure);
    EXPECT_EQ(messages_[1].text, "Kann nicht nach " + missingDir + "Sound.opt schreiben");
    EXPECT_EQ(messages_[1].kind, settingsFailure);
}

} // namespace
} // namespace soundtest
