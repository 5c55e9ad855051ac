#include "tools/composer/Instruments.h"

#include "tools/composer/Synth.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace composer {
namespace {

constexpr double DrumRate = 44100.0;
constexpr double TwoPi = 2.0 * std::numbers::pi;
constexpr int C4 = 49;

double Form(Waveform form, int h)
{
    switch (form) {
    case Waveform::Saw: return Saw(h);
    case Waveform::Square: return Square(h);
    case Waveform::Triangle: return Triangle(h);
    case Waveform::Sine: return h == 1 ? 1.0 : 0.0;
    }
    return 0.0;
}

int Ticks(double ms, double tickRate) { return std::max(1, static_cast<int>(std::lround(ms * tickRate / 1000.0))); }

int Frames(double seconds, double rate) { return static_cast<int>(std::lround(seconds * rate)); }

// The denominator n that makes (n + 1) / n the nearest whole-loop detune for `cents`.
int DetuneSteps(double cents)
{
    return std::max(8, static_cast<int>(std::lround(1.0 / (std::pow(2.0, cents / 1200.0) - 1.0))));
}

modwriter::Instrument Finish(const char* name, modwriter::Sample sample, const Shape& shape)
{
    modwriter::Instrument instrument;
    instrument.name = name;
    sample.panning = shape.pan;
    instrument.sample = std::move(sample);
    return instrument;
}

// A one-shot drum: no envelope, the sample's own decay is the sound.
modwriter::Instrument Drum(const char* name, const Wave& wave, const Shape& shape, double rate = DrumRate)
{
    return Finish(name, MakeSample(name, wave, rate, shape.level), shape);
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

modwriter::Envelope MakeEnvelope(const Adsr& adsr, double tickRate)
{
    modwriter::Envelope envelope;
    envelope.enabled = true;
    int tick = 0;
    if (adsr.attackMs >= 1000.0 / tickRate) {
        envelope.points.push_back({0, 0});
        tick = Ticks(adsr.attackMs, tickRate);
    }
    envelope.points.push_back({tick, 64});
    tick += Ticks(adsr.decayMs, tickRate);
    envelope.points.push_back({tick, adsr.sustain});
    envelope.sustainPoint = static_cast<int>(envelope.points.size()) - 1;
    tick += Ticks(adsr.releaseMs, tickRate);
    envelope.points.push_back({tick, 0});
    return envelope;
}

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
    // Fade the tail to silence so a long gap never ends in a click.
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

modwriter::Instrument Lead(const char* name, const Shape& shape, const LeadTone& lead)
{
    constexpr int Note = 61; // C-5
    Tone tone;
    tone.frequency = NoteFrequency(Note);
    tone.period = 48;
    tone.ceilingHz = 11000;
    int loop = tone.period;
    if (lead.detuneCents > 0) {
        const int steps = DetuneSteps(lead.detuneCents);
        tone.voices = {{1.0, 0.6}, {static_cast<double>(steps + 1) / steps, 0.5}};
        loop = tone.period * steps;
    }
    // Every partial runs whole cycles over the loop, so the loop may start
    // anywhere after the spectrum has settled.
    const int attack = Frames(0.12, tone.Rate());
    tone.frames = attack + loop;
    tone.freezeSeconds = attack / tone.Rate();
    const double f = tone.frequency;
    Wave wave = Render(tone, [&](int h, double t) {
        const double cutoff = lead.cutoffHz + (lead.attackCutoffHz - lead.cutoffHz) * std::exp(-t / 0.05);
        return Form(lead.form, h) * LowPass(h * f, cutoff);
    });
    if (lead.drive > 0) {
        Normalise(wave, 1.0);
        Saturate(wave, lead.drive);
    }
    auto instrument = Finish(name, MakeSample(name, wave, RateForNote(tone, Note), shape.level, attack, loop), shape);
    instrument.volumeEnvelope = MakeEnvelope(lead.envelope, shape.tickRate);
    instrument.fadeout = std::clamp(static_cast<int>(32768 / (2 * Ticks(lead.envelope.releaseMs, shape.tickRate))), 1, 4095);
    return instrument;
}

modwriter::Instrument Pad(const char* name, const Shape& shape, const PadTone& pad)
{
    constexpr int Note = 49;
    Tone tone;
    tone.frequency = NoteFrequency(Note);
    tone.period = 96;
    tone.ceilingHz = 9000;
    tone.phaseSeed = 977;
    const int half = std::max(1, pad.voices / 2);
    const int steps = DetuneSteps(pad.spreadCents / half);
    tone.voices.clear();
    for (int v = -half; v <= half; ++v)
        tone.voices.push_back({static_cast<double>(steps + v) / steps, v == 0 ? 1.0 : 0.8});
    tone.frames = tone.period * steps;
    const double f = tone.frequency;
    Wave wave = Render(tone, [&](int h, double) { return Form(pad.form, h) * LowPass(h * f, pad.cutoffHz); });
    auto instrument = Finish(name, MakeSample(name, wave, RateForNote(tone, Note), shape.level, 0, tone.frames), shape);
    instrument.volumeEnvelope = MakeEnvelope(pad.envelope, shape.tickRate);
    instrument.fadeout = std::clamp(static_cast<int>(32768 / (2 * Ticks(pad.envelope.releaseMs, shape.tickRate))), 1, 4095);
    return instrument;
}

modwriter::Instrument Pluck(const char* name, const Shape& shape, const PluckTone& pluck)
{
    constexpr int Note = 61;
    Tone tone;
    tone.frequency = NoteFrequency(Note);
    tone.period = 48;
    tone.ceilingHz = 11000;
    const int attack = Frames(0.3, tone.Rate()) / tone.period * tone.period;
    tone.frames = attack + tone.period;
    tone.freezeSeconds = attack / tone.Rate();
    const double f = tone.frequency;
    Wave wave = Render(tone, [&](int h, double t) {
        return Form(pluck.form, h) * LowPass(h * f, pluck.cutoffHz) * std::exp(-t * (pluck.decayPerSecond + pluck.dampingPerHarmonic * (h - 1)));
    });
    auto instrument = Finish(name, MakeSample(name, wave, RateForNote(tone, Note), shape.level, attack, tone.period), shape);
    // The sample fades by itself for its first 0.3 s; the envelope carries on from there.
    const int length = Ticks(pluck.lengthMs, shape.tickRate);
    instrument.volumeEnvelope.enabled = true;
    instrument.volumeEnvelope.points = {{0, 64}, {std::max(1, length / 4), 40}, {std::max(2, length / 2), 18}, {std::max(3, length), 0}};
    instrument.fadeout = 2048;
    return instrument;
}

modwriter::Instrument Bass(const char* name, const Shape& shape, const BassTone& bass)
{
    constexpr int Note = 25; // C-2
    Tone tone;
    tone.frequency = NoteFrequency(Note);
    tone.period = 256;
    tone.ceilingHz = 7000;
    const int attack = std::max(1, Frames(0.15, tone.Rate()) / tone.period) * tone.period;
    tone.frames = attack + tone.period;
    tone.freezeSeconds = attack / tone.Rate();
    const double f = tone.frequency;
    Wave wave = Render(tone, [&](int h, double t) {
        const double cutoff = bass.cutoffHz + (bass.attackCutoffHz - bass.cutoffHz) * std::exp(-t / 0.04);
        return Form(bass.form, h) * LowPass(h * f, cutoff) + (h == 1 ? bass.sub : 0.0);
    });
    auto instrument = Finish(name, MakeSample(name, wave, RateForNote(tone, Note), shape.level, attack, tone.period), shape);
    instrument.volumeEnvelope = MakeEnvelope(bass.envelope, shape.tickRate);
    instrument.fadeout = std::clamp(static_cast<int>(32768 / (2 * Ticks(bass.envelope.releaseMs, shape.tickRate))), 1, 4095);
    return instrument;
}

modwriter::Instrument EPiano(const char* name, const Shape& shape, double lengthMs)
{
    constexpr int Note = 49;
    Tone tone;
    tone.frequency = NoteFrequency(Note);
    tone.period = 64;
    tone.ceilingHz = 8000;
    const int attack = Frames(0.4, tone.Rate()) / tone.period * tone.period;
    tone.frames = attack + tone.period;
    tone.freezeSeconds = attack / tone.Rate();
    Wave wave = Render(tone, [](int h, double t) {
        static constexpr double Body[] = {0, 1.0, 0.38, 0.12, 0.07, 0.0, 0.04};
        double a = h < 7 ? Body[h] * std::exp(-t * (0.8 + 0.9 * h)) : 0.0;
        // The tine: a bright bark that is gone within a few tens of milliseconds.
        if (h >= 7 && h <= 16)
            a += 0.12 / (h - 5) * std::exp(-t / 0.018);
        return a;
    });
    Saturate(wave, 0.8);
    auto instrument = Finish(name, MakeSample(name, wave, RateForNote(tone, Note), shape.level, attack, tone.period), shape);
    const int length = Ticks(lengthMs, shape.tickRate);
    instrument.volumeEnvelope.enabled = true;
    instrument.volumeEnvelope.points = {{0, 64}, {std::max(1, length / 3), 36}, {std::max(2, length), 0}};
    instrument.fadeout = 1200;
    return instrument;
}

modwriter::Instrument Bell(const char* name, const Shape& shape, double lengthMs)
{
    constexpr int Note = 61;
    Tone tone;
    tone.frequency = NoteFrequency(Note);
    tone.period = 48;
    tone.ceilingHz = 12000;
    const int attack = Frames(0.35, tone.Rate()) / tone.period * tone.period;
    tone.frames = attack + tone.period;
    tone.freezeSeconds = attack / tone.Rate();
    Wave wave = Render(tone, [](int h, double t) {
        switch (h) {
        case 1: return 1.0 * std::exp(-t * 1.5);
        case 2: return 0.3 * std::exp(-t * 3.0);
        case 3: return 0.45 * std::exp(-t * 5.0);
        case 5: return 0.22 * std::exp(-t * 9.0);
        case 8: return 0.12 * std::exp(-t * 14.0);
        case 11: return 0.06 * std::exp(-t * 20.0);
        default: return 0.0;
        }
    });
    auto instrument = Finish(name, MakeSample(name, wave, RateForNote(tone, Note), shape.level, attack, tone.period), shape);
    const int length = Ticks(lengthMs, shape.tickRate);
    instrument.volumeEnvelope.enabled = true;
    instrument.volumeEnvelope.points = {{0, 64}, {std::max(1, length / 4), 34}, {std::max(2, length / 2), 14}, {std::max(3, length), 0}};
    instrument.fadeout = 1200;
    return instrument;
}

} // namespace composer
