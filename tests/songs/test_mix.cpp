#include "tools/composer/EngineRecording.h"
#include "tools/composer/MixMeasures.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numbers>
#include <ostream>
#include <stdexcept>
#include <string>
#include <vector>

using namespace composer;

namespace {

double Cosine(double hz, std::size_t frame, int rate)
{
    return std::cos(2.0 * std::numbers::pi * hz * static_cast<double>(frame) / rate);
}

} // namespace

TEST(MixMeasures, ReadLevelBalanceWidthBrightnessAndMovementOfAKnownMix)
{
    // 500 Hz in the middle; 6 kHz twice as strong on the right; the second
    // second at half the level of the first. Both peak together at the start.
    StereoRecording mix;
    const std::size_t frames = 2 * static_cast<std::size_t>(mix.rate);
    for (std::size_t i = 0; i < frames; ++i) {
        const double gain = i < frames / 2 ? 1.0 : 0.5;
        const double low = 0.5 * Cosine(500, i, mix.rate), high = 0.1 * Cosine(6000, i, mix.rate);
        mix.samples.push_back(static_cast<float>(gain * (low + high)));
        mix.samples.push_back(static_cast<float>(gain * (low + 2 * high)));
    }
    const MixMeasures m = Measure(mix);
    // Power per channel (0.25 + 0.01) / 2 and (0.25 + 0.04) / 2, at 1 and 1/4 gain.
    EXPECT_NEAR(m.rmsDb, 10 * std::log10(0.625 * (0.26 + 0.29) / 4), 0.05);
    EXPECT_NEAR(m.peakDb, 20 * std::log10(0.5 + 0.2), 0.01);
    EXPECT_NEAR(m.highBalanceDb, 20 * std::log10(2.0), 0.1);
    EXPECT_NEAR(m.sideDb, 20 * std::log10(0.05 / std::sqrt(0.25 + 0.15 * 0.15)), 0.05);
    EXPECT_NEAR(m.centroidHz, (500 * 0.25 + 6000 * 0.0225) / 0.2725, 20);
    EXPECT_NEAR(m.levelSpreadDb, 20 * std::log10(2.0), 0.05);

    // Both channels alike: no side at all, and no lean.
    for (std::size_t i = 0; i < mix.samples.size(); i += 2)
        mix.samples[i + 1] = mix.samples[i];
    const MixMeasures mono = Measure(mix);
    EXPECT_LT(mono.sideDb, -100);
    EXPECT_NEAR(mono.highBalanceDb, 0, 1e-6);

    mix.samples.resize(2 * static_cast<std::size_t>(mix.rate) - 2);
    EXPECT_THROW(Measure(mix), std::invalid_argument);
}

namespace {

struct SongFacts {
    int number;
    const char* title;
};

constexpr SongFacts Songs[] = {
    {1, "Velmora Skies"},
    {2, "Glass Harbour"},
    {3, "Ember Drive"},
    {4, "Quiet Orbit"},
    {5, "Last Tram Home"},
};

void PrintTo(const SongFacts& facts, std::ostream* out)
{
    *out << facts.title;
}

// The first minute of a committed song as the disc plays it.
MixMeasures MeasureSong(const SongFacts& facts)
{
    const std::string path = std::string(VELMORA_ASSETS) + "/song" + std::to_string(facts.number) + ".xm";
    const SongRecording song = RecordSong(path, 60);
    EXPECT_EQ(song.title, facts.title);
    EXPECT_GE(song.audio.Frames(), 60u * 44100u);
    return Measure(song.audio);
}

class SongMix : public ::testing::TestWithParam<SongFacts> { };

TEST_P(SongMix, HasALevelTopEndAndAnOpenStereoPicture)
{
    const MixMeasures m = MeasureSong(GetParam());
    EXPECT_LE(std::fabs(m.highBalanceDb), 1.0) << "above 4 kHz, right minus left";
    EXPECT_GE(m.sideDb, -10.0) << "too narrow";
    EXPECT_LE(m.sideDb, -6.0) << "too wide: the middle loses its weight";
}

INSTANTIATE_TEST_SUITE_P(Disc, SongMix, ::testing::ValuesIn(Songs),
    [](const auto& info) { return "Song" + std::to_string(info.param.number); });

} // namespace

TEST(SongMix, TheSetIsEvenlyLoudAndEachSongKeepsItsCharacter)
{
    std::vector<MixMeasures> set;
    for (const SongFacts& facts : Songs)
        set.push_back(MeasureSong(facts));
    const auto [quietest, loudest] =
        std::minmax_element(set.begin(), set.end(), [](const auto& a, const auto& b) { return a.rmsDb < b.rmsDb; });
    EXPECT_LE(loudest->rmsDb - quietest->rmsDb, 2.0);

    constexpr std::size_t Airy = 1, Ballad = 3;
    EXPECT_EQ(quietest - set.begin(), Ballad) << "the ballad plays below the others";
    EXPECT_GE(set[Ballad].levelSpreadDb, 8.0) << "the ballad breathes";
    for (std::size_t i = 0; i < set.size(); ++i) {
        if (i != Airy) {
            EXPECT_GT(set[Airy].centroidHz, set[i].centroidHz)
                << "the song of bells is the brightest, not song " << i + 1;
        }
    }
}
