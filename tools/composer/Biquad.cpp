#include "tools/composer/Biquad.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace composer {

void Biquad::Tune(double cutoffHz, double q)
{
    const double w0 = 2.0 * std::numbers::pi * std::clamp(cutoffHz, 10.0, m_rate * 0.49) / m_rate;
    const double alpha = std::sin(w0) / (2.0 * q);
    const double c = std::cos(w0);
    double b0 = 0, b1 = 0, b2 = 0;
    switch (m_kind) {
    case Kind::LowPass:
        b0 = (1 - c) / 2; b1 = 1 - c; b2 = (1 - c) / 2;
        break;
    case Kind::HighPass:
        b0 = (1 + c) / 2; b1 = -(1 + c); b2 = (1 + c) / 2;
        break;
    case Kind::BandPass:
        b0 = alpha; b1 = 0; b2 = -alpha;
        break;
    }
    const double a0 = 1 + alpha;
    m_b0 = b0 / a0; m_b1 = b1 / a0; m_b2 = b2 / a0;
    m_a1 = -2 * c / a0; m_a2 = (1 - alpha) / a0;
}

float Biquad::Process(float input)
{
    const double y = m_b0 * input + m_b1 * m_x1 + m_b2 * m_x2 - m_a1 * m_y1 - m_a2 * m_y2;
    m_x2 = m_x1; m_x1 = input;
    m_y2 = m_y1; m_y1 = y;
    return static_cast<float>(y);
}

} // namespace composer
