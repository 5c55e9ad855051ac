#include "engine/LowPass.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace velmora::engine {

LowPass::LowPass(int rateHz, double cutoffHz, int channels)
    : m_channels(std::clamp(channels, 1, MaxChannels))
{
    // Bilinear-transform biquad (the usual cookbook form) with Q = 1/sqrt(2).
    const double cutoff = std::min(cutoffHz, rateHz * 0.45);
    const double omega = 2.0 * std::numbers::pi * cutoff / rateHz;
    const double alpha = std::sin(omega) / std::numbers::sqrt2;
    const double cosine = std::cos(omega);
    const double a0 = 1.0 + alpha;
    m_b0 = static_cast<float>((1.0 - cosine) / 2.0 / a0);
    m_b1 = static_cast<float>((1.0 - cosine) / a0);
    m_b2 = m_b0;
    m_a1 = static_cast<float>(-2.0 * cosine / a0);
    m_a2 = static_cast<float>((1.0 - alpha) / a0);
}

void LowPass::Process(float* frames, std::size_t frameCount)
{
    for (int channel = 0; channel < m_channels; ++channel) {
        State s = m_state[static_cast<std::size_t>(channel)];
        float* sample = frames + channel;
        for (std::size_t i = 0; i < frameCount; ++i, sample += m_channels) {
            const float x = *sample;
            float y = m_b0 * x + m_b1 * s.x1 + m_b2 * s.x2 - m_a1 * s.y1 - m_a2 * s.y2;
            // A decaying tail would otherwise sink into slow denormals in silence.
            if (std::fabs(y) < 1e-15f)
                y = 0.0f;
            s.x2 = s.x1;
            s.x1 = x;
            s.y2 = s.y1;
            s.y1 = y;
            *sample = y;
        }
        m_state[static_cast<std::size_t>(channel)] = s;
    }
}

} // namespace velmora::engine
