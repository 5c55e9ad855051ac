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

    int m_channels;
    float m_b0, m_b1, m_b2, m_a1, m_a2;
    std::array<State, MaxChannels> m_state {};
};

} // namespace velmora::engine
