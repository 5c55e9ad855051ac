// The sound thread over an engine that records: commands return at once
// whatever the engine is doing, the last choice of track wins, and what
// became of each command comes back as news.

#include "FakeEngine.h"
#include "sound/SoundSide.h"

#include <gmock/gmock.h>

#include <chrono>
#include <condition_variable>
#include <mutex>

namespace soundtest {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;
using TKind = TSoundNews::TKind;

// Holds the engine inside one call until released, as a sound server that
// hangs or a large module being parsed would.
class Gate {
public:
    // Blocks every call that starts with prefix.
    void Close(const std::string& prefix)
    {
        Fake().onCall = [this, prefix](const std::string& call) {
            if (!call.starts_with(prefix))
                return;
            std::unique_lock lock(mutex_);
            held_ = true;
            changed_.notify_all();
            changed_.wait(lock, [this] { return open_; });
        };
    }
    void WaitUntilHeld()
    {
        std::unique_lock lock(mutex_);
        changed_.wait(lock, [this] { return held_; });
    }
    void Open()
    {
        std::lock_guard lock(mutex_);
        open_ = true;
        changed_.notify_all();
    }

private:
    std::mutex mutex_;
    std::condition_variable changed_;
    bool held_ = false;
    bool open_ = false;
};

class SoundSide : public ::testing::Test {
protected:
    void SetUp() override { ResetFake(); }
    void TearDown() override
    {
        gate_.Open();
        side_.reset();
        Fake().onCall = nullptr;
    }

    TSoundSide& Side()
    {
        if (!side_) {
            side_ = std::make_unique<TSoundSide>(
                [this](TSoundNews news) {
                    std::lock_guard lock(newsMutex_);
                    news_.push_back(std::move(news));
                },
                FakeApi());
        }
        return *side_;
    }
    // The news so far, once every command sent is carried out.
    std::vector<TSoundNews> Settled()
    {
        Side().WaitIdle();
        std::lock_guard lock(newsMutex_);
        return std::exchange(news_, {});
    }
    static std::vector<std::string> Kinds(const std::vector<TSoundNews>& news)
    {
        std::vector<std::string> kinds;
        for (const TSoundNews& each : news) {
            static const char* const names[] = {"loaded", "refused", "reloaded", "lost", "seeked", "failed"};
            kinds.push_back(names[static_cast<int>(each.Kind)] + std::string(" ") + std::to_string(each.Serial));
        }
        return kinds;
    }
    bool Loaded(const std::string& path) const
    {
        for (const std::string& call : Fake().calls)
            if (call == "MIDASloadModule(" + path + ")")
                return true;
        return false;
    }

    Gate gate_;
    std::mutex newsMutex_;
    std::vector<TSoundNews> news_;
    std::unique_ptr<TSoundSide> side_;
};

TEST_F(SoundSide, CommandsReturnAtOnceWhileTheEngineIsHeldUp)
{
    gate_.Close("MIDASloadModule(/disc/huge.xm)");
    Side().Start({});
    Side().Play(1, "/disc/huge.xm");
    gate_.WaitUntilHeld();
    // None of these waits for the engine.
    Side().Pause(true);
    Side().SetVolume(40);
    Side().SeekToOrder(2);
    EXPECT_EQ(Side().Heard().Serial, 0u) << "nothing is heard yet";

    gate_.Open();
    EXPECT_THAT(Kinds(Settled()), ElementsAre("loaded 1", "seeked 1"));
    EXPECT_EQ(Fake().calls.back(), "MIDASgetPlayTime(101)");
    EXPECT_EQ(Side().Heard().Serial, 1u);
}

TEST_F(SoundSide, TheLastChoiceOfTrackWins)
{
    gate_.Close("MIDASloadModule(/disc/song1.xm)");
    Side().Start({});
    Side().Play(1, "/disc/song1.xm");
    gate_.WaitUntilHeld();
    Side().Play(2, "/disc/song2.xm");
    Side().Play(3, "/disc/song3.xm");
    gate_.Open();
    const std::vector<TSoundNews> news = Settled();
    EXPECT_THAT(Kinds(news), ElementsAre("loaded 3"));
    EXPECT_FALSE(Loaded("/disc/song2.xm")) << "a choice replaced before its turn is never loaded";
    EXPECT_THAT(Fake().loaded, ElementsAre(2u)) << "song 1, loaded when song 3 was chosen, was let go unplayed";
    EXPECT_EQ(news[0].Details.Title, "Fake song");
}

TEST_F(SoundSide, AStopReplacesAChoiceStillLoading)
{
    gate_.Close("MIDASloadModule(/disc/song1.xm)");
    Side().Start({});
    Side().Play(1, "/disc/song1.xm");
    gate_.WaitUntilHeld();
    Side().Stop();
    gate_.Open();
    EXPECT_THAT(Settled(), IsEmpty());
    EXPECT_THAT(Fake().loaded, IsEmpty());
}

TEST_F(SoundSide, ARefusedFileIsNewsAndWhatPlayedGoesOn)
{
    Side().Start({});
    Side().Play(1, "/disc/song1.xm");
    EXPECT_THAT(Kinds(Settled()), ElementsAre("loaded 1"));
    Fake().failing = {"MIDASloadModule(/home/me/notes.txt)"};
    Side().Play(2, "/home/me/notes.txt");
    const std::vector<TSoundNews> news = Settled();
    EXPECT_THAT(Kinds(news), ElementsAre("refused 2"));
    EXPECT_EQ(news[0].Message, FakeMessage("MIDASloadModule(/home/me/notes.txt)"));
    EXPECT_THAT(Fake().loaded, ElementsAre(1u));
    EXPECT_EQ(Side().Heard().Serial, 1u);
}

TEST_F(SoundSide, AnEngineFailureIsNewsAndTheCommandsAfterItAreDropped)
{
    Fake().failing = {"MIDASinit"};
    Side().Start({});
    Side().Play(1, "/disc/song1.xm");
    const std::vector<TSoundNews> news = Settled();
    EXPECT_THAT(Kinds(news), ElementsAre("failed 0"));
    EXPECT_EQ(news[0].Message, FakeMessage("MIDASinit()"));
    EXPECT_FALSE(Loaded("/disc/song1.xm"));
}

TEST_F(SoundSide, NewSettingsTellTheTrackReadAnewOrLost)
{
    Side().Start({});
    Side().Play(1, "/disc/song1.xm");
    Side().ApplySettings({44100, true, true, 2, 100});
    EXPECT_THAT(Kinds(Settled()), ElementsAre("loaded 1", "reloaded 1"));
    Fake().failing = {"MIDASloadModule(/disc/song1.xm)"};
    Side().ApplySettings({});
    EXPECT_THAT(Kinds(Settled()), ElementsAre("lost 0"));
    EXPECT_EQ(Side().Heard().Serial, 0u);
}

TEST_F(SoundSide, FinishingShutsTheEngineDown)
{
    Side().Start({});
    Side().Play(1, "/disc/song1.xm");
    Settled();
    EXPECT_TRUE(Side().Finish(std::chrono::seconds(5)));
    EXPECT_THAT(Fake().loaded, IsEmpty());
    EXPECT_EQ(Fake().calls.back(), "MIDASclose()");
    EXPECT_FALSE(TSoundSide::Abandoned());
}

// The program must end even when the sound thread is stuck in the engine:
// Finish gives up at its deadline. Run in a process of its own, which the
// stuck thread cannot outlive.
TEST_F(SoundSide, FinishingGivesUpOnAThreadHeldUpInTheEngine)
{
    EXPECT_EXIT(
        {
            gate_.Close("MIDASloadModule");
            Side().Start({});
            Side().Play(1, "/disc/song1.xm");
            gate_.WaitUntilHeld();
            const auto started = std::chrono::steady_clock::now();
            const bool finished = Side().Finish(std::chrono::milliseconds(200));
            const auto waited = std::chrono::steady_clock::now() - started;
            std::_Exit(!finished && TSoundSide::Abandoned() && waited < std::chrono::seconds(2) ? 0 : 1);
        },
        ::testing::ExitedWithCode(0), "");
}

} // namespace
} // namespace soundtest
