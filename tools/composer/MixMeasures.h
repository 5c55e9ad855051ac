#pragma once

// A mix in a few numbers: how loud it is, whether its top end leans to one
// side, how wide it sounds, how bright, and how much its level moves.

#include <cstddef>
#include <vector>

namespace composer {

// Stereo audio: left and right samples in turn, nominally within -1..1.
struct StereoRecording {
    int rate = 44100; // frames per second
    std::vector<float> samples;

    std::size_t Frames() const { return samples.size() / 2; }
};

struct MixMeasures {
    double rmsDb = 0;         // dBFS over both channels
    double peakDb = 0;        // dBFS of the largest sample
    double highBalanceDb = 0; // above 4 kHz, the right channel's level minus the left's
    double sideDb = 0;        // level of (L - R) / 2 against that of (L + R) / 2
    double centroidHz = 0;    // power-weighted mean frequency of (L + R) / 2
    double levelSpreadDb = 0; // loudest minus quietest whole second
};

// Where the top end starts for the balance, in Hz.
inline constexpr double HighBandHz = 4000.0;

// Throws std::invalid_argument for a recording shorter than a second.
MixMeasures Measure(const StereoRecording& recording);

} // namespace composer
