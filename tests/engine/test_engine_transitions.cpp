// What the listener hears when the song changes: a new song, a stop and a
// jump fade instead of clicking, leave no gap, and are heard from the next
// device buffer on; while nothing plays, the output is digital silence.

#include "EngineTestSupport.h"
#include "engine/MidasTesting.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <filesystem>
#include <random>
#include <thread>

namespace enginetest {
namespace {

using std::chrono::milliseconds;

struct Setting {
    int rate;
};

void PrintTo(const Setting& s, std::ostream* out)
{
    *out << s.rate << " Hz 16-bit stereo";
}

int LargestStep(const std::vector<int>& samples)
{
    int largest = 0;
    for (std::size_t i = 1; i < samples.size(); ++i)
        largest = std::max(largest, std::abs(samples[i] - samples[i - 1]));
    return largest;
}

class Transitions : public EngineTest, public ::testing::WithParamInterface<Setting> {
protected:
    void SetUp() override
    {
        EngineTest::SetUp();
        songs_ = {folder_.Write("a.xm", modwriter::WriteXM(HeldSineSong(0))),
            folder_.Write("b.xm", modwriter::WriteXM(HeldSineSong(-5)))};
        tune_ = folder_.Write("tune.xm", modwriter::WriteXM(SineSong()));
    }

    void Start() { StartEngine(GetParam().rate, MIDAS_MODE_16BIT_STEREO, 1); }

    // The left channel of a song played for a few seconds, mixed by hand
    // from the same path the device pulls from: the music's own sound.
    std::vector<int> OwnSound(const std::string& song)
    {
        Start();
        EXPECT_NE(MIDASplayModule(MIDASloadModule(song.c_str()), 1), 0u) << LastErrorText();
        auto left = Decode(Mix(SecondsPerOrder * SineSongLength), 2, 16)[0];
        EXPECT_EQ(MIDASclose(), 1);
        return left;
    }

    // Background play to the disk driver while `events` run; the left
    // channel of everything the device got.
    template <typename Events>
    std::vector<int> Capture(Events&& events)
    {
        Start();
        EXPECT_EQ(MIDASstartBackgroundPlay(0), 1);
        events();
        EXPECT_EQ(MIDASstopBackgroundPlay(), 1);
        EXPECT_EQ(MIDASclose(), 1);
        return Decode(ReadBytes(folder_.Path("capture.raw")), 2, 16)[0];
    }

    // Two held sines for the clicks, the tune of six notes for the jumps.
    std::vector<std::string> songs_;
    std::string tune_;
    std::mt19937 random_{14};
};

// A held sine's steepest step is small: a cut from anywhere in its swing to
// silence, to another note or to a new strike of it is up to three and a
// half times larger. The fades' own slope adds a few per cent to it.
TEST_P(Transitions, NewSongsStopsAndJumpsMakeNoStepLargerThanTheMusicsOwn)
{
    const int own = std::max(LargestStep(OwnSound(songs_[0])), LargestStep(OwnSound(songs_[1])));
    ASSERT_GT(own, 500);

    const auto left = Capture([&] {
        const MIDASmodule a = MIDASloadModule(songs_[0].c_str());
        const MIDASmodule b = MIDASloadModule(songs_[1].c_str());
        MIDASmodulePlayHandle play = MIDASplayModule(a, 1);
        // Some changes land in the same device buffer, most in buffers of
        // their own, a few right at a buffer's edge.
        for (int event = 0; event < 60; ++event) {
            std::this_thread::sleep_for(milliseconds(1 + random_() % 40));
            switch (event % 4) {
            case 0: EXPECT_EQ(MIDASsetPosition(play, static_cast<int>(random_() % 2)), 1); break;
            case 1: play = MIDASplayModule(event % 8 == 1 ? b : a, 1); break;
            case 2: EXPECT_EQ(MIDASstopModule(play), 1); break;
            case 3: play = MIDASplayModule(a, 1); break;
            }
            ASSERT_NE(play, 0u) << LastErrorText();
        }
        std::this_thread::sleep_for(milliseconds(20));
        EXPECT_EQ(MIDASstopModule(play), 1);
        std::this_thread::sleep_for(milliseconds(20));
    });
    ASSERT_GT(left.size(), static_cast<std::size_t>(GetParam().rate));
    EXPECT_LE(LargestStep(left), own * 11 / 10) << "the music's own largest step is " << own;
}

// Jumps while the device pulls: from the first sound to the last stop, no
// stretch of 5 ms falls far below the tone's level.
TEST_P(Transitions, ManyJumpsLeaveNoGap)
{
    const auto own = OwnSound(tune_);
    const double level = Rms(own, own.size() / 4, own.size() / 2);

    const auto left = Capture([&] {
        const MIDASmodulePlayHandle play = MIDASplayModule(MIDASloadModule(tune_.c_str()), 1);
        ASSERT_NE(play, 0u) << LastErrorText();
        for (int jump = 0; jump < 100; ++jump) {
            std::this_thread::sleep_for(milliseconds(random_() % 30));
            EXPECT_EQ(MIDASsetPosition(play, static_cast<int>(random_() % SineSongLength)), 1);
        }
        std::this_thread::sleep_for(milliseconds(50));
        EXPECT_EQ(MIDASstopModule(play), 1);
    });
    const auto window = static_cast<std::size_t>(GetParam().rate / 200);
    // From the first swing past half the tone's level to the last: the fades
    // of the first start and the last stop are no gap.
    const auto loud = [&](int v) { return std::abs(v) > level / 2; };
    const auto from = static_cast<std::size_t>(std::find_if(left.begin(), left.end(), loud) - left.begin());
    const auto to =
        left.size() - static_cast<std::size_t>(std::find_if(left.rbegin(), left.rend(), loud) - left.rbegin());
    ASSERT_GT(to, from + static_cast<std::size_t>(GetParam().rate));
    double quietest = level;
    std::size_t quietestAt = 0;
    for (std::size_t at = from; at + window <= to; at += window / 2) {
        const double rms = Rms(left, at, window);
        if (rms < quietest) {
            quietest = rms;
            quietestAt = at;
        }
    }
    EXPECT_GT(quietest, level * 0.3) << "at frame " << quietestAt << " of " << left.size();
}

INSTANTIATE_TEST_SUITE_P(Engine, Transitions, ::testing::Values(Setting{22050}, Setting{44100}),
    [](const auto& info) { return std::to_string(info.param.rate) + "Hz_16bit_stereo"; });

// Frequency of a sine from its rising zero crossings.
double Frequency(const std::vector<int>& samples, int rate)
{
    int rising = 0;
    for (std::size_t i = 1; i < samples.size(); ++i)
        rising += samples[i - 1] <= 0 && samples[i] > 0;
    return rising * static_cast<double>(rate) / static_cast<double>(samples.size());
}

TEST_F(EngineTest, AJumpAndAStopAreHeardInTheNextDeviceBuffer)
{
    StartEngine(22050, MIDAS_MODE_16BIT_MONO, 1);
    int32_t rate = 0, channels = 0, bits = 0, frames = 0;
    ASSERT_EQ(MIDASgetOutputFormat(&rate, &channels, &bits, &frames), 1);
    const auto song = folder_.Write("sine.xm", modwriter::WriteXM(SineSong()));
    const MIDASmodulePlayHandle play = MIDASplayModule(MIDASloadModule(song.c_str()), 1);
    ASSERT_NE(play, 0u) << LastErrorText();
    // The decoder runs ahead into order position 1; what is heard is still 0.
    Mix(SecondsPerOrder - 0.05);
    EXPECT_EQ(Position(play), 0);
    const auto bufferSeconds = static_cast<double>(frames) / rate;

    ASSERT_EQ(MIDASsetPosition(play, 5), 1);
    EXPECT_EQ(Position(play), 5);
    const auto jumped = Decode(Mix(bufferSeconds), 1, 16)[0];
    // Past the 5 ms fade, the buffer holds order position 5's note.
    const std::vector<int> after(jumped.begin() + frames / 4, jumped.end());
    EXPECT_NEAR(Frequency(after, rate), SineSongHz * std::pow(2.0, 5 / 12.0), 40.0);
    EXPECT_EQ(Position(play), 5);

    ASSERT_EQ(MIDASstopModule(play), 1);
    const auto stopped = Decode(Mix(bufferSeconds), 1, 16)[0];
    const auto fadeEnd = stopped.begin() + rate / 200;
    EXPECT_GT(*std::max_element(stopped.begin(), fadeEnd), 1000) << "the stop fades rather than cuts";
    EXPECT_TRUE(std::all_of(fadeEnd, stopped.end(), [](int v) { return v == 0; }));
}

// While nothing plays the device is paused and hears digital silence; a song
// sounds at once, and after a stop's fade the silence is exact again.
TEST_F(EngineTest, NothingSoundsWhileNothingPlays)
{
    const std::string capture = folder_.Path("capture.raw");
    StartEngine(22050, MIDAS_MODE_16BIT_STEREO, 1);
    ASSERT_EQ(MIDASstartBackgroundPlay(0), 1);
    std::this_thread::sleep_for(milliseconds(300));
    const auto silentBytes = std::filesystem::file_size(capture);
    const auto song = folder_.Write("sine.xm", modwriter::WriteXM(SineSong()));
    const MIDASmodulePlayHandle play = MIDASplayModule(MIDASloadModule(song.c_str()), 1);
    ASSERT_NE(play, 0u) << LastErrorText();
    std::this_thread::sleep_for(milliseconds(300));
    ASSERT_EQ(MIDASstopModule(play), 1);
    // The fade goes out with the next buffer; what follows is silence.
    std::this_thread::sleep_for(milliseconds(100));
    const auto stoppedBytes = std::filesystem::file_size(capture);
    std::this_thread::sleep_for(milliseconds(300));
    ASSERT_EQ(MIDASstopBackgroundPlay(), 1);
    // Windows lets nobody read a file while the disk output writes it.
    ASSERT_EQ(MIDASclose(), 1);

    const auto raw = ReadBytes(capture);
    ASSERT_GE(raw.size(), stoppedBytes);
    const auto zero = [](std::uint8_t byte) { return byte == 0; };
    const auto silentEnd = raw.begin() + static_cast<std::ptrdiff_t>(silentBytes);
    EXPECT_TRUE(std::all_of(raw.begin(), silentEnd, zero)) << "something sounded before any song";
    EXPECT_FALSE(std::all_of(silentEnd, raw.begin() + static_cast<std::ptrdiff_t>(stoppedBytes), zero))
        << "the song was not heard";
    EXPECT_TRUE(std::all_of(raw.begin() + static_cast<std::ptrdiff_t>(stoppedBytes), raw.end(), zero))
        << "something sounded after the stop";
}

// After a long silence the device is let go; the next song opens it again
// and is heard from its start.
TEST_F(EngineTest, AfterALongSilenceTheNextSongIsHeard)
{
    const std::string capture = folder_.Path("capture.raw");
    StartEngine(22050, MIDAS_MODE_16BIT_STEREO, 1);
    ASSERT_EQ(MIDASstartBackgroundPlay(0), 1);
    std::this_thread::sleep_for(std::chrono::seconds(11));
    const auto song = folder_.Write("sine.xm", modwriter::WriteXM(SineSong()));
    const MIDASmodulePlayHandle play = MIDASplayModule(MIDASloadModule(song.c_str()), 1);
    ASSERT_NE(play, 0u) << LastErrorText();
    std::this_thread::sleep_for(milliseconds(400));
    EXPECT_GE(Position(play), 0);
    ASSERT_EQ(MIDASstopBackgroundPlay(), 1);
    ASSERT_EQ(MIDASclose(), 1);
    const auto left = Decode(ReadBytes(capture), 2, 16)[0];
    ASSERT_FALSE(left.empty());
    EXPECT_GT(*std::max_element(left.begin(), left.end()), 1000) << "the song was not heard";
}

} // namespace
} // namespace enginetest
