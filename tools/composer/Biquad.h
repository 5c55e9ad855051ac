#pragma once

namespace composer {

// One second-order section after the well-known cookbook formulas; the cutoff
// may move from sample to sample for sweeps.
class Biquad {
public:
    enum class Kind { LowPass, HighPass, BandPass };

    // `rate` in frames per second; `cutoffHz` is the corner, or the centre of a band.
    Biquad(Kind kind, double rate) : m_kind(kind), m_rate(rate) {}
    void Tune(double cutoffHz, double q);
    float Process(float input);

private:
    Kind m_kind;
    double m_rate;
    double m_b0 = 1, m_b1 = 0, m_b2 = 0, m_a1 = 0, m_a2 = 0;
    double m_x1 = 0, m_x2 = 0, m_y1 = 0, m_y2 = 0;
};

} // namespace composer
