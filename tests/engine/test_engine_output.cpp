// What reaches the sound device: sample format, rate and channels as the
// options ask, at once after a song starts, and smoother with each filter mode.

#include "EngineTestSupport.h"
#include "engine/MidasTesting.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <filesystem>
#include <iostream>
#include <thread>

namespace enginetest {
namespace {

struct OutputCase {
    int rate;
    int mode;
    int channels;
    int bits;
};

void PrintTo(const OutputCase& c, std::ostream* out)
{
    *out << c.rate << " Hz mode " << c.mode;
}

std::size_t FirstLoud(const std::vector<int>& samples)
{
    for (std::size_t i = 0; i < samples.size(); ++i) {
        if (std::abs(samples[i]) > 2000)
            return i;
    }
    return samples.size();
}

class EveryOutput : public EngineTest, public ::testing::WithParamInterface<OutputCase> { };

// The device file holds exactly the opened format: one second of it, read
// back at the asked rate, carries the 220.5 Hz tone, and in stereo only on
// the left where the song pans it.
TEST_P(EveryOutput, TheDeviceGetsTheAskedFormatAndRate)
{
    const OutputCase c = GetParam();
    const std::string capture = folder_.Path("capture.raw");
    StartEngine(c.rate, c.mode, 1);
    int32_t rate = 0, channels = 0, bits = 0, frames = 0;
    ASSERT_EQ(MIDASgetOutputFormat(&rate, &channels, &bits, &frames), 1);
    EXPECT_EQ(rate, c.rate);
    EXPECT_EQ(channels, c.channels);
    EXPECT_EQ(bits, c.bits);
    // The device buffer is what delays a new song, a stop or a jump: they
    // are heard within about 50 ms, and the device thread wakes seldom.
    EXPECT_LE(frames, c.rate * 50 / 1000);
    EXPECT_GE(frames, c.rate * 25 / 1000);

    ASSERT_EQ(MIDASstartBackgroundPlay(0), 1);
    const auto song = folder_.Write("tone.xm", modwriter::WriteXM(ToneSong()));
    const MIDASmodule module = MIDASloadModule(song.c_str());
    const MIDASmodulePlayHandle play = MIDASplayModule(module, 1);
    ASSERT_NE(play, 0u) << LastErrorText();
    const std::uintmax_t frameBytes = static_cast<std::uintmax_t>(c.channels * c.bits / 8);
    // Silence came before the song started: a second and more must follow it.
    const std::uintmax_t wanted =
        std::filesystem::file_size(capture) + frameBytes * static_cast<std::uintmax_t>(c.rate) * 3 / 2;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    while (std::filesystem::file_size(capture) < wanted && std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    ASSERT_EQ(MIDASstopBackgroundPlay(), 1);
    ASSERT_EQ(MIDASclose(), 1);

    const auto raw = ReadBytes(capture);
    ASSERT_GE(raw.size(), wanted);
    EXPECT_EQ(raw.size() % (frameBytes * static_cast<std::uintmax_t>(frames)), 0u);
    const auto decoded = Decode(raw, c.channels, c.bits);
    const auto& left = decoded[0];
    const std::size_t start = FirstLoud(left);
    ASSERT_LE(start + static_cast<std::size_t>(c.rate), left.size());
    int rising = 0;
    for (std::size_t i = start + 1; i < start + static_cast<std::size_t>(c.rate); ++i)
        rising += left[i - 1] <= 0 && left[i] > 0;
    EXPECT_NEAR(rising, ToneHz, ToneHz * 0.02);
    if (c.channels == 2) {
        EXPECT_LT(Rms(decoded[1], start, static_cast<std::size_t>(c.rate)),
            Rms(left, start, static_cast<std::size_t>(c.rate)) * 0.05);
    }
}

INSTANTIATE_TEST_SUITE_P(Engine, EveryOutput,
    ::testing::Values(OutputCase{11025, MIDAS_MODE_8BIT_MONO, 1, 8}, OutputCase{11025, MIDAS_MODE_8BIT_STEREO, 2, 8},
        OutputCase{11025, MIDAS_MODE_16BIT_MONO, 1, 16}, OutputCase{11025, MIDAS_MODE_16BIT_STEREO, 2, 16},
        OutputCase{22050, MIDAS_MODE_8BIT_MONO, 1, 8}, OutputCase{22050, MIDAS_MODE_8BIT_STEREO, 2, 8},
        OutputCase{22050, MIDAS_MODE_16BIT_MONO, 1, 16}, OutputCase{22050, MIDAS_MODE_16BIT_STEREO, 2, 16},
        OutputCase{44100, MIDAS_MODE_8BIT_MONO, 1, 8}, OutputCase{44100, MIDAS_MODE_8BIT_STEREO, 2, 8},
        OutputCase{44100, MIDAS_MODE_16BIT_MONO, 1, 16}, OutputCase{44100, MIDAS_MODE_16BIT_STEREO, 2, 16}),
    [](const auto& info) {
        return std::to_string(info.param.rate) + "Hz_" + std::to_string(info.param.bits) + "bit_" +
            (info.param.channels == 2 ? "stereo" : "mono");
    });

TEST_F(EngineTest, ANewSongSoundsInTheVeryNextDeviceBuffer)
{
    StartEngine(44100, MIDAS_MODE_8BIT_MONO, 1);
    int32_t rate = 0, channels = 0, bits = 0, frames = 0;
    ASSERT_EQ(MIDASgetOutputFormat(&rate, &channels, &bits, &frames), 1);
    const auto before = Mix(0.1);
    EXPECT_TRUE(std::all_of(before.begin(), before.end(), [](std::uint8_t v) { return v == 0x80; }));

    const auto song = folder_.Write("tone.s3m", modwriter::WriteS3M(ToneSong()));
    ASSERT_NE(MIDASplayModule(MIDASloadModule(song.c_str()), 1), 0u);
    std::vector<std::uint8_t> buffer(static_cast<std::size_t>(frames));
    ASSERT_EQ(MIDASmixInto(buffer.data(), static_cast<uint32_t>(buffer.size())), 1);
    EXPECT_TRUE(std::any_of(buffer.begin(), buffer.end(), [](std::uint8_t v) { return v < 0x78 || v > 0x88; }));
}

// High-frequency share of the signal: energy of the first difference over energy.
double HighFrequencyShare(const std::vector<std::uint8_t>& pcm16)
{
    const auto samples = Decode(pcm16, 1, 16)[0];
    double difference = 0, total = 0;
    for (std::size_t i = 1; i < samples.size(); ++i) {
        const double d = samples[i] - samples[i - 1];
        difference += d * d;
        total += static_cast<double>(samples[i]) * samples[i];
    }
    return difference / total;
}

class FilterModes : public EngineTest, public ::testing::WithParamInterface<const char*> { };

TEST_P(FilterModes, EachModeIsSmootherThanTheOneBefore)
{
    const std::string extension = GetParam();
    const auto bytes = extension == "mod" ? modwriter::WriteMOD(BrightSong()) : modwriter::WriteXM(BrightSong());
    const auto song = folder_.Write("bright." + extension, bytes);
    std::vector<double> share;
    for (int filter : {0, 1, 2}) {
        StartEngine(44100, MIDAS_MODE_16BIT_MONO, filter);
        ASSERT_NE(MIDASplayModule(MIDASloadModule(song.c_str()), 1), 0u) << LastErrorText();
        share.push_back(HighFrequencyShare(Mix(2.0)));
        ASSERT_EQ(MIDASclose(), 1);
        std::cout << extension << " filter mode " << filter << ": high-frequency share " << share.back() << "\n";
    }
    EXPECT_GT(share[0], share[1] * 1.2);
    EXPECT_GT(share[1], share[2] * 1.2);
}

INSTANTIATE_TEST_SUITE_P(Engine, FilterModes, ::testing::Values("xm", "mod"));

} // namespace
} // namespace enginetest
