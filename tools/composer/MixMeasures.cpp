#include "tools/composer/MixMeasures.h"

#include "tools/composer/Biquad.h"

#include <algorithm>
#include <cmath>
#include <complex>
#include <numbers>
#include <stdexcept>

namespace composer {
namespace {

// Silence reads as -200 dB rather than minus infinity, so that differences stay finite.
double PowerDb(double power)
{
    return 10.0 * std::log10(std::max(power, 1e-20));
}

// In-place radix-2 transform; the size must be a power of two.
void Transform(std::vector<std::complex<double>>& x)
{
    const std::size_t n = x.size();
    for (std::size_t i = 1, j = 0; i < n; ++i) {
        std::size_t bit = n >> 1;
        for (; j & bit; bit >>= 1)
            j ^= bit;
        j ^= bit;
        if (i < j)
            std::swap(x[i], x[j]);
    }
    for (std::size_t length = 2; length <= n; length <<= 1) {
        const std::complex<double> step = std::polar(1.0, -2.0 * std::numbers::pi / static_cast<double>(length));
        for (std::size_t start = 0; start < n; start += length) {
            std::complex<double> w = 1.0;
            for (std::size_t k = 0; k < length / 2; ++k) {
                const std::complex<double> even = x[start + k];
                const std::complex<double> odd = x[start + k + length / 2] * w;
                x[start + k] = even + odd;
                x[start + k + length / 2] = even - odd;
                w *= step;
            }
        }
    }
}

// The mean frequency of the signal's power, from Hann-windowed frames that overlap by half.
double Centroid(const std::vector<float>& signal, int rate)
{
    constexpr std::size_t Size = 4096;
    std::vector<double> window(Size);
    for (std::size_t n = 0; n < Size; ++n)
        window[n] = 0.5 - 0.5 * std::cos(2.0 * std::numbers::pi * static_cast<double>(n) / Size);
    std::vector<double> power(Size / 2 + 1, 0.0);
    std::vector<std::complex<double>> frame(Size);
    for (std::size_t start = 0; start + Size <= signal.size(); start += Size / 2) {
        for (std::size_t n = 0; n < Size; ++n)
            frame[n] = window[n] * signal[start + n];
        Transform(frame);
        for (std::size_t k = 0; k < power.size(); ++k)
            power[k] += std::norm(frame[k]);
    }
    double total = 0, weighted = 0;
    for (std::size_t k = 0; k < power.size(); ++k) {
        total += power[k];
        weighted += power[k] * static_cast<double>(k) * rate / Size;
    }
    return total > 0 ? weighted / total : 0.0;
}

} // namespace

MixMeasures Measure(const StereoRecording& recording)
{
    const std::size_t frames = recording.Frames();
    const auto second = static_cast<std::size_t>(recording.rate);
    if (frames < second)
        throw std::invalid_argument("a mix is measured over at least a second");

    Biquad highLeft(Biquad::Kind::HighPass, recording.rate);
    Biquad highRight(Biquad::Kind::HighPass, recording.rate);
    highLeft.Tune(HighBandHz, std::numbers::sqrt2 / 2);
    highRight.Tune(HighBandHz, std::numbers::sqrt2 / 2);

    std::vector<float> middle(frames);
    double all = 0, sides = 0, middles = 0, highsLeft = 0, highsRight = 0, secondPower = 0;
    float peak = 0;
    std::vector<double> seconds;
    for (std::size_t i = 0; i < frames; ++i) {
        const float left = recording.samples[2 * i];
        const float right = recording.samples[2 * i + 1];
        const double both = static_cast<double>(left) * left + static_cast<double>(right) * right;
        all += both;
        secondPower += both;
        peak = std::max({peak, std::fabs(left), std::fabs(right)});
        middle[i] = (left + right) / 2;
        const double side = (static_cast<double>(left) - right) / 2;
        middles += static_cast<double>(middle[i]) * middle[i];
        sides += side * side;
        const double highLeftSample = highLeft.Process(left);
        const double highRightSample = highRight.Process(right);
        highsLeft += highLeftSample * highLeftSample;
        highsRight += highRightSample * highRightSample;
        if ((i + 1) % second == 0) {
            seconds.push_back(PowerDb(secondPower / (2.0 * static_cast<double>(second))));
            secondPower = 0;
        }
    }

    MixMeasures measures;
    measures.rmsDb = PowerDb(all / (2.0 * static_cast<double>(frames)));
    measures.peakDb = 20.0 * std::log10(std::max(peak, 1e-10f));
    measures.highBalanceDb = PowerDb(highsRight) - PowerDb(highsLeft);
    measures.sideDb = PowerDb(sides) - PowerDb(middles);
    measures.centroidHz = Centroid(middle, recording.rate);
    const auto [quietest, loudest] = std::minmax_element(seconds.begin(), seconds.end());
    measures.levelSpreadDb = *loudest - *quietest;
    return measures;
}

} // namespace composer
