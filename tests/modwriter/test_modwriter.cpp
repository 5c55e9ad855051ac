#include "tools/modwriter/ModuleWriter.h"

#include <gtest/gtest.h>
#include <libopenmpt/libopenmpt.hpp>

#include <cmath>
#include <functional>
#include <numbers>
#include <stdexcept>

namespace {

using namespace modwriter;

Sample Square(bool sixteenBit)
{
    Sample sample;
    sample.name = "square";
    sample.sixteenBit = sixteenBit;
    for (int i = 0; i < 64; ++i)
        sample.data.push_back(static_cast<std::int16_t>(i < 32 ? 12000 : -12000));
    sample.loopStart = 0;
    sample.loopLength = 64;
    return sample;
}

// Three patterns over five order positions, restarting at position 1; the
// second instrument uses 8-bit data and a volume envelope.
Module Song(int channels)
{
    Module module;
    module.name = "test song";
    module.channels = channels;
    module.initialSpeed = 3;
    module.initialTempo = 150;
    module.restartPosition = 1;
    module.orders = {0, 1, 2, 1, 2};
    for (int p = 0; p < 3; ++p) {
        Pattern pattern(64, channels);
        for (int row = 0; row < 64; row += 4) {
            Cell& cell = pattern.At(row, row / 4 % channels, channels);
            cell.note = Note(4, (row / 4 + p) % 12);
            cell.instrument = static_cast<std::uint8_t>(1 + row / 4 % 2);
            cell.volume = 1 + 48;
        }
        module.patterns.push_back(pattern);
    }
    Instrument lead;
    lead.name = "lead";
    lead.sample = Square(true);
    Instrument bass;
    bass.name = "bass";
    bass.sample = Square(false);
    bass.sample.name = "bass";
    bass.sample.relativeNote = -12;
    bass.volumeEnvelope.enabled = true;
    bass.volumeEnvelope.points = {{0, 64}, {10, 32}, {40, 0}};
    bass.volumeEnvelope.sustainPoint = 1;
    module.instruments = {lead, bass};
    return module;
}

struct Format {
    const char* name;
    std::function<std::vector<std::uint8_t>(const Module&)> write;
    const char* type;
    int storedSamples; // MOD always stores 31 sample slots
};

void PrintTo(const Format& format, std::ostream* out)
{
    *out << format.name;
}

class EveryFormat : public ::testing::TestWithParam<Format> { };

TEST_P(EveryFormat, LoadsWithItsOrdersChannelsAndSamples)
{
    const auto bytes = GetParam().write(Song(4));
    openmpt::module module(bytes);
    EXPECT_EQ(module.get_metadata("type"), GetParam().type);
    EXPECT_EQ(module.get_num_orders(), 5);
    EXPECT_EQ(module.get_num_channels(), 4);
    EXPECT_EQ(module.get_num_samples(), GetParam().storedSamples);
    EXPECT_EQ(module.get_sample_names().at(1), "bass");
    EXPECT_EQ(module.get_metadata("title"), "test song");
}

TEST_P(EveryFormat, PlaysAudibleNotesAtTheWrittenSpeed)
{
    openmpt::module module(GetParam().write(Song(4)));
    std::vector<std::int16_t> buffer(2 * 4410);
    double energy = 0;
    for (int block = 0; block < 10; ++block) {
        const auto frames = module.read_interleaved_stereo(44100, 4410, buffer.data());
        ASSERT_EQ(frames, 4410u);
        for (auto value : buffer)
            energy += std::abs(value);
        EXPECT_EQ(module.get_current_speed(), 3);
        EXPECT_EQ(module.get_current_tempo(), 150);
    }
    EXPECT_GT(energy / (10.0 * buffer.size()), 100.0);
}

TEST_P(EveryFormat, LoopsBackToTheRestartPosition)
{
    openmpt::module module(GetParam().write(Song(4)));
    module.set_repeat_count(-1);
    const double length = module.get_duration_seconds();
    ASSERT_GT(length, 1.0);
    std::vector<std::int16_t> buffer(2 * 441);
    bool passedEnd = false;
    int lastOrder = 0;
    // Render past the end: the order after the last one must be the restart position.
    for (double t = 0; t < length + 1.0; t += 0.01) {
        module.read_interleaved_stereo(44100, 441, buffer.data());
        const int order = module.get_current_order();
        if (lastOrder == 4 && order != 4) {
            EXPECT_EQ(order, 1);
            passedEnd = true;
            break;
        }
        lastOrder = order;
    }
    EXPECT_TRUE(passedEnd);
}

TEST_P(EveryFormat, PlaysCFourAtTheSampleRate)
{
    Module song;
    song.orders = {0};
    song.patterns.emplace_back(64, 4);
    song.patterns[0].At(0, 0, 4) = Cell{Note(4, 0), 1, 0, 0, 0};
    Instrument tone;
    tone.sample = Square(true);
    tone.sample.data.resize(100);
    for (int i = 0; i < 100; ++i)
        tone.sample.data[static_cast<std::size_t>(i)] = static_cast<std::int16_t>(i < 50 ? 12000 : -12000);
    tone.sample.loopLength = 100;
    tone.sample.sampleRate = 22050;
    song.instruments = {tone};

    // A 100-frame cycle at 22050 Hz is a 220.5 Hz tone: count its rising edges over a second.
    openmpt::module module(GetParam().write(song));
    std::vector<float> mono(48000);
    module.read(48000, mono.size(), mono.data());
    int rising = 0;
    for (std::size_t i = 1; i < mono.size(); ++i)
        rising += mono[i - 1] <= 0.0f && mono[i] > 0.0f;
    EXPECT_NEAR(rising, 220.5, 220.5 * 0.02);
}

INSTANTIATE_TEST_SUITE_P(ModuleWriter, EveryFormat,
    ::testing::Values(
        Format{"XM", WriteXM, "xm", 2}, Format{"MOD", WriteMOD, "mod", 31}, Format{"S3M", WriteS3M, "s3m", 2}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ModuleWriter, ModTagsFollowTheChannelCount)
{
    for (int channels : {4, 6, 8}) {
        const auto bytes = WriteMOD(Song(channels));
        const std::string tag(bytes.begin() + 1080, bytes.begin() + 1084);
        EXPECT_EQ(tag, channels == 4 ? "M.K." : channels == 6 ? "6CHN" : "8CHN");
        openmpt::module module(bytes);
        EXPECT_EQ(module.get_num_channels(), channels);
    }
}

TEST(ModuleWriter, XmKeepsSixteenBitDataAndEnvelopes)
{
    const auto bytes = WriteXM(Song(6));
    openmpt::module module(bytes);
    EXPECT_EQ(module.get_num_channels(), 6);
    EXPECT_EQ(module.get_num_instruments(), 2);
    EXPECT_EQ(module.get_num_patterns(), 3);
    EXPECT_EQ(module.get_instrument_names().at(1), "bass");
}

TEST(ModuleWriter, RefusesWhatAFormatCannotHold)
{
    Module tooManySamples = Song(4);
    tooManySamples.instruments.resize(32, tooManySamples.instruments.front());
    EXPECT_THROW(WriteMOD(tooManySamples), std::invalid_argument);

    Module shortPatterns = Song(4);
    shortPatterns.patterns[0] = Pattern(32, 4);
    EXPECT_THROW(WriteMOD(shortPatterns), std::invalid_argument);
    EXPECT_NO_THROW(WriteXM(shortPatterns));
    EXPECT_NO_THROW(WriteS3M(shortPatterns));

    Module missingPattern = Song(4);
    missingPattern.orders.push_back(7);
    EXPECT_THROW(WriteXM(missingPattern), std::invalid_argument);

    Module ragged = Song(4);
    ragged.patterns[1].cells.pop_back();
    EXPECT_THROW(WriteS3M(ragged), std::invalid_argument);
}

TEST(ModuleWriter, ShortS3mPatternsEndEarly)
{
    Module module = Song(4);
    module.restartPosition = 0;
    module.patterns[0] = Pattern(16, 4);
    module.patterns[0].At(0, 0, 4) = Cell{Note(4, 0), 1, 0, 0, 0};
    openmpt::module xm(WriteXM(module));
    openmpt::module s3m(WriteS3M(module));
    EXPECT_NEAR(s3m.get_duration_seconds(), xm.get_duration_seconds(), 0.01);
}

} // namespace
