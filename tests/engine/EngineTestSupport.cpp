#include "EngineTestSupport.h"
#include "tests/support/Environment.h"
#include "engine/MidasTesting.h"

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <numbers>

namespace enginetest {
namespace {

using modwriter::Cell;
using modwriter::Instrument;
using modwriter::Module;
using modwriter::Note;
using modwriter::Pattern;

constexpr int NoNote = -100;

// period frames long: half high, half low.
modwriter::Sample SquareSample(int period)
{
    modwriter::Sample sample;
    sample.name = "square";
    for (int i = 0; i < period; ++i)
        sample.data.push_back(static_cast<std::int16_t>(i < period / 2 ? 16000 : -16000));
    sample.loopLength = period;
    return sample;
}

} // namespace

Module LoopingSong()
{
    Module module;
    module.name = "looping song";
    module.channels = 4;
    module.initialSpeed = 1;
    module.initialTempo = 250; // 10 ms per row
    module.restartPosition = LoopingSongRestart;
    for (int p = 0; p < LoopingSongLength; ++p) {
        module.orders.push_back(static_cast<std::uint8_t>(p));
        Pattern pattern(64, 4);
        for (int row = 0; row < 64; row += 8)
            pattern.At(row, row / 8 % 4, 4) = Cell{Note(3 + p % 2, (row / 8 + p) % 12), 1, 0, 0, 0};
        module.patterns.push_back(pattern);
    }
    Instrument instrument;
    instrument.name = "square";
    instrument.sample = SquareSample(64);
    module.instruments.push_back(instrument);
    return module;
}

Module ToneSong()
{
    Module module;
    module.name = "tone";
    module.channels = 4;
    module.orders = {0};
    module.patterns.emplace_back(64, 4);
    module.patterns[0].At(0, 0, 4) = Cell{Note(4, 0), 1, 0, 0, 0};
    Instrument instrument;
    instrument.name = "tone";
    instrument.sample = SquareSample(100);
    instrument.sample.sampleRate = 22050;
    instrument.sample.panning = 0;
    module.instruments.push_back(instrument);
    return module;
}

Module BrightSong()
{
    Module module = LoopingSong();
    module.name = "bright";
    module.restartPosition = 0;
    for (std::size_t p = 0; p < module.patterns.size(); ++p) {
        for (int channel = 0; channel < 4; ++channel)
            module.patterns[p].At(0, channel, 4) =
                Cell{Note(3 + channel, static_cast<int>(p) * 2 + channel), 1, 0, 0, 0};
    }
    module.instruments[0].sample = SquareSample(16);
    return module;
}

namespace {

Module SineModule(const std::vector<int>& semitones, int restart)
{
    Module module;
    module.name = "sine";
    module.channels = 4;
    module.initialSpeed = 1;
    module.initialTempo = 250;
    module.restartPosition = restart;
    for (std::size_t p = 0; p < semitones.size(); ++p) {
        module.orders.push_back(static_cast<std::uint8_t>(p));
        module.patterns.emplace_back(64, 4);
        if (semitones[p] != NoNote)
            module.patterns.back().At(0, 0, 4) = Cell{Note(4, semitones[p]), 1, 0, 0, 0};
    }
    Instrument instrument;
    instrument.name = "sine";
    constexpr int period = 32;
    for (int i = 0; i < period * 16; ++i)
        instrument.sample.data.push_back(
            static_cast<std::int16_t>(std::lrint(20000 * std::sin(2 * std::numbers::pi * i / period))));
    instrument.sample.loopLength = period * 16;
    instrument.sample.sampleRate = static_cast<int>(SineSongHz) * period;
    module.instruments.push_back(instrument);
    return module;
}

} // namespace

Module SineSong(int semitone)
{
    std::vector<int> semitones;
    for (int p = 0; p < SineSongLength; ++p)
        semitones.push_back(semitone + p);
    return SineModule(semitones, 0);
}

Module HeldSineSong(int semitone)
{
    return SineModule({semitone, NoNote}, 1);
}

std::vector<std::vector<int>> Decode(const std::vector<std::uint8_t>& raw, int channels, int bits)
{
    std::vector<std::vector<int>> out(static_cast<std::size_t>(channels));
    const std::size_t sampleBytes = static_cast<std::size_t>(bits / 8);
    const std::size_t frameBytes = sampleBytes * static_cast<std::size_t>(channels);
    for (std::size_t at = 0; at + frameBytes <= raw.size(); at += frameBytes) {
        for (int channel = 0; channel < channels; ++channel) {
            const std::uint8_t* sample = &raw[at + static_cast<std::size_t>(channel) * sampleBytes];
            int value;
            if (bits == 8) {
                value = (sample[0] - 128) * 256;
            } else {
                std::int16_t word;
                std::memcpy(&word, sample, 2);
                value = word;
            }
            out[static_cast<std::size_t>(channel)].push_back(value);
        }
    }
    return out;
}

double Rms(const std::vector<int>& samples, std::size_t from, std::size_t count)
{
    double sum = 0;
    for (std::size_t i = from; i < from + count; ++i)
        sum += static_cast<double>(samples[i]) * samples[i];
    return std::sqrt(sum / static_cast<double>(count));
}

void UseDiskOutput(const std::string& capture)
{
    SetEnvironment("SDL_AUDIODRIVER", "disk");
    SetEnvironment("SDL_DISKAUDIOFILE", capture.c_str());
    // Unset, the disk driver takes each buffer when a device would.
    ClearEnvironment("SDL_DISKAUDIODELAY");
}

void StartEngine(int rate, int mode, int filter)
{
    ASSERT_EQ(MIDASstartup(), 1);
    ASSERT_EQ(MIDASsetOption(MIDAS_OPTION_MIXBUFLEN, 1000), 1);
    ASSERT_EQ(MIDASsetOption(MIDAS_OPTION_MIXBUFBLOCKS, 2), 1);
    ASSERT_EQ(MIDASsetOption(MIDAS_OPTION_MIXRATE, rate), 1);
    ASSERT_EQ(MIDASsetOption(MIDAS_OPTION_FILTER_MODE, filter), 1);
    ASSERT_EQ(MIDASsetOption(MIDAS_OPTION_OUTPUTMODE, mode), 1);
    ASSERT_EQ(MIDASinit(), 1) << MIDASgetErrorMessage(MIDASgetLastError());
}

void EngineTest::SetUp()
{
    ASSERT_EQ(MIDASclose(), 1);
    UseDiskOutput(folder_.Path("capture.raw"));
}

void EngineTest::TearDown()
{
    EXPECT_EQ(MIDASstopBackgroundPlay(), 1);
    EXPECT_EQ(MIDASclose(), 1);
}

std::vector<std::uint8_t> EngineTest::Mix(double seconds)
{
    int32_t rate = 0, channels = 0, bits = 0, frames = 0;
    EXPECT_EQ(MIDASgetOutputFormat(&rate, &channels, &bits, &frames), 1);
    const auto bytes = static_cast<std::size_t>(seconds * rate) * static_cast<std::size_t>(channels * bits / 8);
    std::vector<std::uint8_t> buffer(bytes);
    EXPECT_EQ(MIDASmixInto(buffer.data(), static_cast<uint32_t>(buffer.size())), 1) << LastErrorText();
    return buffer;
}

int EngineTest::Position(MIDASmodulePlayHandle play)
{
    MIDASplayStatus status{};
    EXPECT_EQ(MIDASgetPlayStatus(play, &status), 1) << LastErrorText();
    return status.position;
}

std::string EngineTest::LastErrorText()
{
    return MIDASgetErrorMessage(MIDASgetLastError());
}

} // namespace enginetest
