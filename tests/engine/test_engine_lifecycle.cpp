// Startup, options, init and close, again and again in one process; odd
// options; files that aren't modules; a missing sound device.

#include "EngineTestSupport.h"
#include "engine/MidasTesting.h"
#include "tests/support/Environment.h"

#include <gmock/gmock.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <thread>

namespace enginetest {
namespace {

using ::testing::HasSubstr;
using ::testing::StartsWith;

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

    // A good module still loads after all that.
    EXPECT_NE(MIDASloadModule(folder_.Write("good.xm", modwriter::WriteXM(LoopingSong())).c_str()), 0u);
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
    SetEnvironment("SDL_AUDIODRIVER", "no-such-driver");
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
