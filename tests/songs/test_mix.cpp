#include "tools/composer/MixMeasures.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <stdexcept>

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
