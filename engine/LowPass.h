#pragma once

// A second-order Butterworth low-pass over interleaved float frames, one
// state per channel: the extra smoothing of the "more" filter mode.

#include <array>
#include <cstddef>

namespace velmora::engine {

class LowPass {
public:
    static constexpr int MaxChannels = 2;

    // cutoffHz is kept below the Nyquist frequency of rateHz.
    LowPass(int rateHz, double cutoffHz, int channels);

    void Process(float* frames, std::size_t frameCount);

private:
    struct State {
        float x1 = 0, x2 = 0, y1 = 0, y2 = 0;
    };

    int channels_;
    float b0_, b1_, b2_, a1_, a2_;
    std::array<State, MaxChannels> state_{};
};

} // namespace velmora::engine
