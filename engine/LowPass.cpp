#include "engine/LowPass.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace velmora::engine {

LowPass::LowPass(int rateHz, double cutoffHz, int channels) : channels_(std::clamp(channels, 1, MaxChannels))
{
    // Bilinear-transform biquad (the usual cookbook form) with Q = 1/sqrt(2).
    const double cutoff = std::min(cutoffHz, rateHz * 0.45);
    const double omega = 2.0 * std::numbers::pi * cutoff / rateHz;
    const double alpha = std::sin(omega) / std::numbers::sqrt2;
    const double cosine = std::cos(omega);
    const double a0 = 1.0 + alpha;
    b0_ = static_cast<float>((1.0 - cosine) / 2.0 / a0);
    b1_ = static_cast<float>((1.0 - cosine) / a0);
    b2_ = b0_;
    a1_ = static_cast<float>(-2.0 * cosine / a0);
    a2_ = static_cast<float>((1.0 - alpha) / a0);
}

void LowPass::Process(float* frames, std::size_t frameCount)
{
    for (int channel = 0; channel < channels_; ++channel) {
        State s = state_[static_cast<std::size_t>(channel)];
        float* sample = frames + channel;
        for (std::size_t i = 0; i < frameCount; ++i, sample += channels_) {
            const float x = *sample;
            float y = b0_ * x + b1_ * s.x1 + b2_ * s.x2 - a1_ * s.y1 - a2_ * s.y2;
            // A decaying tail would otherwise sink into slow denormals in silence.
            if (std::fabs(y) < 1e-15f)
                y = 0.0f;
            s.x2 = s.x1;
            s.x1 = x;
            s.y2 = s.y1;
            s.y1 = y;
            *sample = y;
        }
        state_[static_cast<std::size_t>(channel)] = s;
    }
}

} // namespace velmora::engine
