#include "tools/composer/Biquad.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace composer {

void Biquad::Tune(double cutoffHz, double q)
{
    const double w0 = 2.0 * std::numbers::pi * std::clamp(cutoffHz, 10.0, rate_ * 0.49) / rate_;
    const double alpha = std::sin(w0) / (2.0 * q);
    const double c = std::cos(w0);
    double b0 = 0, b1 = 0, b2 = 0;
    switch (kind_) {
    case Kind::LowPass:
        b0 = (1 - c) / 2;
        b1 = 1 - c;
        b2 = (1 - c) / 2;
        break;
    case Kind::HighPass:
        b0 = (1 + c) / 2;
        b1 = -(1 + c);
        b2 = (1 + c) / 2;
        break;
    case Kind::BandPass:
        b0 = alpha;
        b1 = 0;
        b2 = -alpha;
        break;
    }
    const double a0 = 1 + alpha;
    b0_ = b0 / a0;
    b1_ = b1 / a0;
    b2_ = b2 / a0;
    a1_ = -2 * c / a0;
    a2_ = (1 - alpha) / a0;
}

float Biquad::Process(float input)
{
    const double y = b0_ * input + b1_ * x1_ + b2_ * x2_ - a1_ * y1_ - a2_ * y2_;
    x2_ = x1_;
    x1_ = input;
    y2_ = y1_;
    y1_ = y;
    return static_cast<float>(y);
}

} // namespace composer
