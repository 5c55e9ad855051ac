#pragma once

namespace composer {

// One second-order section after the well-known cookbook formulas; the cutoff
// may move from sample to sample for sweeps.
class Biquad {
public:
    enum class Kind { LowPass, HighPass, BandPass };

    // `rate` in frames per second; `cutoffHz` is the corner, or the centre of a band.
    Biquad(Kind kind, double rate) : kind_(kind), rate_(rate) { }
    void Tune(double cutoffHz, double q);
    float Process(float input);

private:
    Kind kind_;
    double rate_;
    double b0_ = 1, b1_ = 0, b2_ = 0, a1_ = 0, a2_ = 0;
    double x1_ = 0, x2_ = 0, y1_ = 0, y2_ = 0;
};

} // namespace composer
