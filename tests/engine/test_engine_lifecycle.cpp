// Startup, options, init and close, again and again in one process; odd
// options; files that aren't modules; a missing sound device.

#include "EngineTestSupport.h"
#include "engine/MidasTesting.h"

#include <gmock/gmock.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <thread>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace enginetest {
namespace {

using ::testing::HasSubstr;
using ::testing::StartsWith;

class BadFiles : public EngineTest {
protected:
    void ExpectLoadFails(const std::string& path, int code, const std::string& reason)
    {
        EXPECT_EQ(MIDASloadModule(path.c_str()), 0u);
        EXPECT_EQ(MIDASgetLastError(), code);
        EXPECT_EQ(LastErrorText(), "Unable to load module " + path + ": " + reason);
    }
};

TEST_F(BadFiles, FailWithATextNamingTheFileAndTheReason)
{
    StartEngine(22050, MIDAS_MODE_16BIT_STEREO, 1);
    auto xm = modwriter::WriteXM(LoopingSong());
    xm.resize(100);
    ExpectLoadFails(
        folder_.Write("truncated.xm", xm), MIDAS_ERROR_BAD_MODULE, "not a module file the engine recognises");

    auto s3m = modwriter::WriteS3M(LoopingSong());
    s3m.resize(64);
    ExpectLoadFails(
        folder_.Write("truncated.s3m", s3m), MIDAS_ERROR_BAD_MODULE, "not a module file the engine recognises");

    std::vector<std::uint8_t> garbage(5000);
    std::uint32_t state = 12345;
    for (auto& byte : garbage) {
        state = state * 1664525u + 1013904223u;
        byte = static_cast<std::uint8_t>(state >> 24);
    }
    ExpectLoadFails(
        folder_.Write("garbage.mod", garbage), MIDAS_ERROR_BAD_MODULE, "not a module file the engine recognises");
    ExpectLoadFails(folder_.Write("empty.xm", {}), MIDAS_ERROR_BAD_MODULE, "the file is empty");
    ExpectLoadFails(
        folder_.Path("missing.xm"), MIDAS_ERROR_FILE_OPEN, "the file can't be opened: No such file or directory");
    std::filesystem::create_directory(folder_.Path("folder.xm"));
    ExpectLoadFails(folder_.Path("folder.xm"), MIDAS_ERROR_FILE_OPEN, "the file can't be read: Is a directory");
    ExpectLoadFails("/dev/zero", MIDAS_ERROR_FILE_OPEN, "the file can't be read: it is no regular file");
    // A file far larger than any module is refused unread (it is sparse
    // here, so it takes no room).
    const std::string huge = folder_.Write("huge.xm", modwriter::WriteXM(LoopingSong()));
    std::filesystem::resize_file(huge, std::uintmax_t{3} << 30);
    ExpectLoadFails(huge, MIDAS_ERROR_BAD_MODULE, "the file holds 3.0 GiB, more than any module (at most 256.0 MiB)");

    // A good module still loads after all that.
    EXPECT_NE(MIDASloadModule(folder_.Write("good.xm", modwriter::WriteXM(LoopingSong())).c_str()), 0u);
}

// A module that is swapped for a FIFO over and over while it is loaded:
// each load either plays the module or refuses the FIFO, and none waits for
// a writer. A load that does wait is let go by a writer, and fails the test.
TEST_F(BadFiles, AFileSwappedForAFifoNeverBlocksALoad)
{
    StartEngine(22050, MIDAS_MODE_16BIT_STEREO, 1);
    const std::string path = folder_.Write("swapped.xm", modwriter::WriteXM(LoopingSong()));
    const std::string other = folder_.Path("other.xm");
    ASSERT_EQ(::mkfifo(other.c_str(), 0600), 0);

    std::atomic<bool> swapping = true;
    std::atomic<int> loads = 0;
    std::atomic<bool> blocked = false;
    std::thread swapper([&] {
        while (swapping)
            ::renameat2(AT_FDCWD, path.c_str(), AT_FDCWD, other.c_str(), RENAME_EXCHANGE);
    });
    std::thread watchdog([&] {
        using clock = std::chrono::steady_clock;
        int last = -1;
        for (auto since = clock::now(); swapping; std::this_thread::sleep_for(std::chrono::milliseconds(50))) {
            if (loads != last) {
                last = loads;
                since = clock::now();
            } else if (clock::now() - since > std::chrono::seconds(3)) {
                blocked = true;
                for (const std::string& name : {path, other})
                    ::close(::open(name.c_str(), O_WRONLY | O_NONBLOCK));
                since = clock::now();
            }
        }
    });
    // Until both have happened often, whatever the scheduler makes of the
    // swapping thread.
    int played = 0;
    int refused = 0;
    for (int round = 0; round < 20000 && (round < 400 || played < 20 || refused < 20); ++round, ++loads) {
        if (MIDASmodule module = MIDASloadModule(path.c_str())) {
            ++played;
            MIDASfreeModule(module);
        } else {
            ++refused;
            EXPECT_THAT(LastErrorText(), HasSubstr("it is no regular file"));
        }
    }
    swapping = false;
    swapper.join();
    watchdog.join();
    EXPECT_FALSE(blocked) << "a load waited for a writer of the FIFO";
    EXPECT_GT(played, 0);
    EXPECT_GT(refused, 0);
}

TEST_F(BadFiles, ErrorTextsStayValidAfterLaterFailures)
{
    StartEngine(22050, MIDAS_MODE_16BIT_STEREO, 1);
    const std::string first = folder_.Path("first.xm");
    EXPECT_EQ(MIDASloadModule(first.c_str()), 0u);
    const char* firstText = MIDASgetErrorMessage(MIDASgetLastError());
    const std::string copy = firstText;
    EXPECT_THAT(copy, HasSubstr(first));
    for (int i = 0; i < 20; ++i)
        EXPECT_EQ(MIDASloadModule(folder_.Path("other" + std::to_string(i) + ".xm").c_str()), 0u);
    EXPECT_EQ(std::string(firstText), copy);
    // Codes other than the last failure's get their general text.
    EXPECT_STREQ(MIDASgetErrorMessage(MIDAS_ERROR_NO_OUTPUT), "No sound output device could be opened");
    EXPECT_THAT(MIDASgetErrorMessage(12345), HasSubstr("12345"));
    EXPECT_EQ(MIDASloadModule(nullptr), 0u);
    EXPECT_EQ(MIDASgetLastError(), MIDAS_ERROR_INVALID_ARGUMENT);
    EXPECT_EQ(MIDASgetPlayStatus(1, nullptr), 0);
    EXPECT_EQ(MIDASgetModuleInfo(1, nullptr), 0);
}

TEST_F(EngineTest, TheWholeCycleWorksAgainInTheSameProcess)
{
    const auto song = folder_.Write("song.xm", modwriter::WriteXM(LoopingSong()));
    MIDASmodule oldModule = 0;
    MIDASmodulePlayHandle oldPlay = 0;
    for (int round = 0; round < 3; ++round) {
        SCOPED_TRACE(round);
        StartEngine(round == 1 ? 11025 : 44100, round == 1 ? MIDAS_MODE_8BIT_MONO : MIDAS_MODE_16BIT_STEREO, round);
        ASSERT_EQ(MIDASstartBackgroundPlay(0), 1);
        ASSERT_EQ(MIDASstartBackgroundPlay(0), 1);

        // Handles of the closed engine are stale: stopping and freeing them is quiet, using them is not.
        EXPECT_EQ(MIDASstopModule(oldPlay), 1);
        EXPECT_EQ(MIDASfreeModule(oldModule), 1);
        MIDASplayStatus status{};
        if (oldPlay) {
            EXPECT_EQ(MIDASgetPlayStatus(oldPlay, &status), 0);
            EXPECT_EQ(MIDASgetLastError(), MIDAS_ERROR_INVALID_PLAY_HANDLE);
        }

        for (int load = 0; load < 3; ++load) {
            const MIDASmodule module = MIDASloadModule(song.c_str());
            ASSERT_NE(module, 0u) << LastErrorText();
            const MIDASmodulePlayHandle play = MIDASplayModule(module, 1);
            ASSERT_NE(play, 0u) << LastErrorText();
            ASSERT_EQ(MIDASsetPosition(play, 2), 1);
            EXPECT_EQ(MIDASgetPlayStatus(play, &status), 1);
            EXPECT_EQ(MIDASstopModule(play), 1);
            EXPECT_EQ(MIDASstopModule(play), 1);
            EXPECT_EQ(MIDASfreeModule(module), 1);
            EXPECT_EQ(MIDASfreeModule(module), 1);
        }
        oldModule = MIDASloadModule(song.c_str());
        oldPlay = MIDASplayModule(oldModule, 1);
        ASSERT_NE(oldPlay, 0u);

        ASSERT_EQ(MIDASstopBackgroundPlay(), 1);
        ASSERT_EQ(MIDASstopBackgroundPlay(), 1);
        ASSERT_EQ(MIDASclose(), 1);
        ASSERT_EQ(MIDASclose(), 1);
        // What the player does when it shuts down an engine that is already closed.
        EXPECT_EQ(MIDASstopModule(oldPlay), 1);
        EXPECT_EQ(MIDASfreeModule(oldModule), 1);
        EXPECT_EQ(MIDASstopBackgroundPlay(), 1);
    }
}

TEST_F(EngineTest, CallsThatNeedARunningEngineSaySo)
{
    EXPECT_EQ(MIDASloadModule("/nonexistent.xm"), 0u);
    EXPECT_EQ(MIDASgetLastError(), MIDAS_ERROR_NOT_INITIALISED);
    EXPECT_THAT(LastErrorText(), HasSubstr("not initialised"));
    EXPECT_EQ(MIDASstartBackgroundPlay(0), 0);
    EXPECT_EQ(MIDASgetLastError(), MIDAS_ERROR_NOT_INITIALISED);

    StartEngine(22050, MIDAS_MODE_16BIT_STEREO, 1);
    EXPECT_EQ(MIDASinit(), 0);
    EXPECT_EQ(MIDASgetLastError(), MIDAS_ERROR_ALREADY_INITIALISED);
    EXPECT_EQ(MIDASplayModule(987654, 1), 0u);
    EXPECT_EQ(MIDASgetLastError(), MIDAS_ERROR_INVALID_MODULE);
    EXPECT_EQ(MIDASfreeModule(987654), 0);
    EXPECT_EQ(MIDASgetLastError(), MIDAS_ERROR_INVALID_MODULE);
    EXPECT_EQ(MIDASsetPosition(987654, 1), 0);
    EXPECT_EQ(MIDASgetLastError(), MIDAS_ERROR_INVALID_PLAY_HANDLE);
}

struct OddOptions {
    int rate;
    int mode;
    int filter;
    int bufferMs;
    int blocks;
    int servedRate;
    int servedChannels;
    int servedBits;
};

void PrintTo(const OddOptions& o, std::ostream* out)
{
    *out << o.rate << " Hz mode " << o.mode << " filter " << o.filter;
}

class OddOptionValues : public EngineTest, public ::testing::WithParamInterface<OddOptions> { };

TEST_P(OddOptionValues, AreServedAsNearAsPossible)
{
    const OddOptions o = GetParam();
    ASSERT_EQ(MIDASstartup(), 1);
    ASSERT_EQ(MIDASsetOption(MIDAS_OPTION_MIXBUFLEN, o.bufferMs), 1);
    ASSERT_EQ(MIDASsetOption(MIDAS_OPTION_MIXBUFBLOCKS, o.blocks), 1);
    ASSERT_EQ(MIDASsetOption(MIDAS_OPTION_MIXRATE, o.rate), 1);
    ASSERT_EQ(MIDASsetOption(MIDAS_OPTION_FILTER_MODE, o.filter), 1);
    ASSERT_EQ(MIDASsetOption(MIDAS_OPTION_OUTPUTMODE, o.mode), 1);
    ASSERT_EQ(MIDASsetOption(999, 1), 1);
    ASSERT_EQ(MIDASinit(), 1) << LastErrorText();
    int32_t rate = 0, channels = 0, bits = 0, frames = 0;
    ASSERT_EQ(MIDASgetOutputFormat(&rate, &channels, &bits, &frames), 1);
    EXPECT_EQ(rate, o.servedRate);
    EXPECT_EQ(channels, o.servedChannels);
    EXPECT_EQ(bits, o.servedBits);
    EXPECT_GE(frames, 32);

    ASSERT_EQ(MIDASstartBackgroundPlay(0), 1);
    const auto song = folder_.Write("song.s3m", modwriter::WriteS3M(LoopingSong()));
    EXPECT_NE(MIDASplayModule(MIDASloadModule(song.c_str()), 1), 0u) << LastErrorText();
}

INSTANTIATE_TEST_SUITE_P(Engine, OddOptionValues,
    ::testing::Values(OddOptions{1, MIDAS_MODE_16BIT_STEREO, 1, 1000, 2, 4000, 2, 16},
        OddOptions{10000000, MIDAS_MODE_8BIT_MONO, 255, 1000, 2, 192000, 1, 8},
        OddOptions{-5, 77, -1, 0, 0, 4000, 2, 16}, OddOptions{22050, 0, 2, 100000, -3, 22050, 2, 16},
        OddOptions{48000, MIDAS_MODE_8BIT_STEREO, 3, 1, 1000, 48000, 2, 8}));

TEST_F(EngineTest, AMissingSoundDeviceIsReportedWithSdlsReason)
{
    setenv("SDL_AUDIODRIVER", "no-such-driver", 1);
    ASSERT_EQ(MIDASstartup(), 1);
    EXPECT_EQ(MIDASinit(), 0);
    EXPECT_EQ(MIDASgetLastError(), MIDAS_ERROR_NO_OUTPUT);
    const std::string text = LastErrorText();
    EXPECT_THAT(text, StartsWith("No sound output device could be opened: "));
    EXPECT_GT(text.size(), std::string("No sound output device could be opened: ").size());
    EXPECT_EQ(MIDASclose(), 1);

    // The engine isn't left half-open: with a device back it starts.
    UseDiskOutput(folder_.Path("capture.raw"));
    StartEngine(22050, MIDAS_MODE_16BIT_STEREO, 1);
}

} // namespace
} // namespace enginetest
