#include "tools/composer/Drums.h"

#include "tools/composer/Biquad.h"
#include "tools/composer/Noise.h"
#include "tools/composer/Synth.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace composer {
namespace {

constexpr double DrumRate = 44100.0;
constexpr double TwoPi = 2.0 * std::numbers::pi;

// A one-shot drum: no envelope, the sample's own decay is the sound.
modwriter::Instrument Drum(const char* name, Wave wave, const Shape& shape, double rate = DrumRate)
{
    // A few milliseconds of fade, so that the end of the sample never clicks.
    const std::size_t fade = std::min(wave.size(), static_cast<std::size_t>(Frames(0.004, rate)));
    for (std::size_t i = 0; i < fade; ++i)
        wave[wave.size() - 1 - i] *= static_cast<float>(i) / static_cast<float>(fade);
    modwriter::Instrument instrument;
    instrument.name = name;
    instrument.sample = MakeSample(name, wave, rate, shape.level);
    instrument.sample.panning = shape.pan;
    return instrument;
}

// Closed and open hats share the metal: six detuned square waves, band-passed, with noise.
Wave Metal(double seconds, double decay, std::uint32_t seed)
{
    static constexpr double Pitches[] = {205.3, 304.4, 369.6, 522.7, 540.0, 800.0};
    Wave wave(static_cast<std::size_t>(Frames(seconds, DrumRate)));
    Noise noise(seed);
    Biquad band(Biquad::Kind::BandPass, DrumRate);
    band.Tune(10000, 0.8);
    Biquad high(Biquad::Kind::HighPass, DrumRate);
    high.Tune(7000, 0.7);
    for (std::size_t n = 0; n < wave.size(); ++n) {
        const double t = n / DrumRate;
        double metal = 0;
        for (double pitch : Pitches)
            metal += std::sin(TwoPi * pitch * t) >= 0 ? 1.0 : -1.0;
        const double source = metal / 6.0 * 0.6 + noise.Next() * 0.7;
        const double env = std::exp(-t / decay) * std::min(1.0, t / 0.0005);
        wave[n] = static_cast<float>(high.Process(band.Process(static_cast<float>(source))) * env);
    }
    return wave;
}

} // namespace

modwriter::Instrument Kick(const Shape& shape, double punch)
{
    Wave wave(static_cast<std::size_t>(Frames(0.42, DrumRate)));
    Noise noise(11);
    Biquad click(Biquad::Kind::LowPass, DrumRate);
    click.Tune(4000, 0.7);
    double phase = 0;
    for (std::size_t n = 0; n < wave.size(); ++n) {
        const double t = n / DrumRate;
        const double hz = 46.0 + 120.0 * punch * std::exp(-t / 0.03) + 300.0 * std::exp(-t / 0.003);
        phase += TwoPi * hz / DrumRate;
        const double body = std::sin(phase) * std::exp(-t / 0.2) * std::min(1.0, t / 0.0008);
        const double tick = click.Process(noise.Next()) * std::exp(-t / 0.0025) * 0.5 * punch;
        wave[n] = static_cast<float>(body + tick);
    }
    // The body still rings at the end of the sample: let it die away gently.
    for (std::size_t n = wave.size() - 2000; n < wave.size(); ++n)
        wave[n] *= static_cast<float>(wave.size() - n) / 2000.0f;
    Saturate(wave, 1.4);
    return Drum("Kick", wave, shape);
}

modwriter::Instrument Snare(const Shape& shape, double body)
{
    Wave wave(static_cast<std::size_t>(Frames(0.32, DrumRate)));
    Noise noise(23);
    Biquad high(Biquad::Kind::HighPass, DrumRate);
    high.Tune(1000, 0.7);
    Biquad low(Biquad::Kind::LowPass, DrumRate);
    low.Tune(9000, 0.7);
    double p1 = 0, p2 = 0;
    for (std::size_t n = 0; n < wave.size(); ++n) {
        const double t = n / DrumRate;
        const double drop = 1.0 + 0.4 * std::exp(-t / 0.01);
        p1 += TwoPi * 180.0 * drop / DrumRate;
        p2 += TwoPi * 330.0 * drop / DrumRate;
        const double tone = (0.7 * std::sin(p1) + 0.35 * std::sin(p2)) * std::exp(-t / 0.05) * body;
        const double rattle = low.Process(high.Process(noise.Next())) * std::exp(-t / 0.09);
        wave[n] = static_cast<float>((0.55 * tone + 0.9 * rattle) * std::min(1.0, t / 0.0005));
    }
    Saturate(wave, 1.2);
    return Drum("Snare", wave, shape);
}

modwriter::Instrument Clap(const Shape& shape)
{
    Wave wave(static_cast<std::size_t>(Frames(0.36, DrumRate)));
    Noise noise(37);
    Biquad band(Biquad::Kind::BandPass, DrumRate);
    band.Tune(1300, 0.9);
    for (std::size_t n = 0; n < wave.size(); ++n) {
        const double t = n / DrumRate;
        double env = 0;
        // Several hands a few milliseconds apart, then the room.
        for (double at : {0.0, 0.009, 0.019})
            if (t >= at)
                env = std::max(env, std::exp(-(t - at) / 0.0035));
        if (t >= 0.028)
            env = std::max(env, 0.8 * std::exp(-(t - 0.028) / 0.11));
        wave[n] = static_cast<float>(band.Process(noise.Next()) * env);
    }
    return Drum("Clap", wave, shape);
}

modwriter::Instrument ClosedHat(const Shape& shape)
{
    return Drum("Closed hat", Metal(0.14, 0.03, 41), shape);
}

modwriter::Instrument OpenHat(const Shape& shape)
{
    Wave wave = Metal(0.55, 0.2, 43);
    for (std::size_t n = wave.size() - 1500; n < wave.size(); ++n)
        wave[n] *= static_cast<float>(wave.size() - n) / 1500.0f;
    return Drum("Open hat", wave, shape);
}

modwriter::Instrument Shaker(const Shape& shape)
{
    Wave wave(static_cast<std::size_t>(Frames(0.12, DrumRate)));
    Noise noise(53);
    Biquad band(Biquad::Kind::BandPass, DrumRate);
    band.Tune(7000, 1.2);
    for (std::size_t n = 0; n < wave.size(); ++n) {
        const double t = n / DrumRate;
        const double env = std::min(1.0, t / 0.012) * std::exp(-std::max(0.0, t - 0.012) / 0.03);
        wave[n] = static_cast<float>(band.Process(noise.Next()) * env);
    }
    return Drum("Shaker", wave, shape);
}

modwriter::Instrument Rim(const Shape& shape)
{
    Wave wave(static_cast<std::size_t>(Frames(0.07, DrumRate)));
    Noise noise(59);
    Biquad band(Biquad::Kind::BandPass, DrumRate);
    band.Tune(2500, 2.0);
    for (std::size_t n = 0; n < wave.size(); ++n) {
        const double t = n / DrumRate;
        const double env = std::exp(-t / 0.012);
        wave[n] = static_cast<float>((0.8 * std::sin(TwoPi * 1700.0 * t) + 0.6 * band.Process(noise.Next())) * env);
    }
    return Drum("Rim", wave, shape);
}

modwriter::Instrument Crash(const Shape& shape)
{
    constexpr double Rate = 22050.0;
    Wave wave(static_cast<std::size_t>(Frames(1.3, Rate)));
    Noise noise(61);
    Biquad high(Biquad::Kind::HighPass, Rate);
    high.Tune(3500, 0.6);
    Biquad band(Biquad::Kind::BandPass, Rate);
    band.Tune(6000, 0.7);
    for (std::size_t n = 0; n < wave.size(); ++n) {
        const double t = n / Rate;
        const float white = noise.Next();
        const double env = std::exp(-t / 0.45) * std::min(1.0, t / 0.002) * std::min(1.0, (1.3 - t) / 0.2);
        wave[n] = static_cast<float>((0.6 * high.Process(white) + 0.7 * band.Process(white)) * env);
    }
    return Drum("Crash", wave, shape, Rate);
}

modwriter::Instrument Tom(const Shape& shape)
{
    constexpr double Rate = 22050.0;
    Wave wave(static_cast<std::size_t>(Frames(0.5, Rate)));
    Noise noise(67);
    double phase = 0;
    for (std::size_t n = 0; n < wave.size(); ++n) {
        const double t = n / Rate;
        phase += TwoPi * 110.0 * (1.0 + 0.5 * std::exp(-t / 0.04)) / Rate;
        const double env = std::exp(-t / 0.16) * std::min(1.0, t / 0.001) * std::min(1.0, (0.5 - t) / 0.05);
        wave[n] = static_cast<float>((std::sin(phase) + 0.08 * noise.Next() * std::exp(-t / 0.01)) * env);
    }
    return Drum("Tom", wave, shape, Rate);
}

} // namespace composer
