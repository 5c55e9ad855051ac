#include "tools/composer/Instruments.h"

#include "tools/composer/Synth.h"

#include <algorithm>
#include <cmath>

namespace composer {
namespace {

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

int Ticks(double ms, double tickRate)
{
    return std::max(1, static_cast<int>(std::lround(ms * tickRate / 1000.0)));
}

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
    instrument.fadeout =
        std::clamp(static_cast<int>(32768 / (2 * Ticks(lead.envelope.releaseMs, shape.tickRate))), 1, 4095);
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
    instrument.fadeout =
        std::clamp(static_cast<int>(32768 / (2 * Ticks(pad.envelope.releaseMs, shape.tickRate))), 1, 4095);
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
        return Form(pluck.form, h) * LowPass(h * f, pluck.cutoffHz) *
            std::exp(-t * (pluck.decayPerSecond + pluck.dampingPerHarmonic * (h - 1)));
    });
    auto instrument =
        Finish(name, MakeSample(name, wave, RateForNote(tone, Note), shape.level, attack, tone.period), shape);
    // The sample fades by itself for its first 0.3 s; the envelope carries on from there.
    const int length = Ticks(pluck.lengthMs, shape.tickRate);
    instrument.volumeEnvelope.enabled = true;
    instrument.volumeEnvelope.points = {
        {0, 64}, {std::max(1, length / 4), 40}, {std::max(2, length / 2), 18}, {std::max(3, length), 0}};
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
    auto instrument =
        Finish(name, MakeSample(name, wave, RateForNote(tone, Note), shape.level, attack, tone.period), shape);
    instrument.volumeEnvelope = MakeEnvelope(bass.envelope, shape.tickRate);
    instrument.fadeout =
        std::clamp(static_cast<int>(32768 / (2 * Ticks(bass.envelope.releaseMs, shape.tickRate))), 1, 4095);
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
    auto instrument =
        Finish(name, MakeSample(name, wave, RateForNote(tone, Note), shape.level, attack, tone.period), shape);
    const int length = Ticks(lengthMs, shape.tickRate);
    instrument.volumeEnvelope.enabled = true;
    instrument.volumeEnvelope.points = {{0, 64}, {std::max(1, length / 3), 36}, {std::max(2, length), 0}};
    instrument.fadeout = 1200;
    return instrument;
}

modwriter::Instrument Bell(const char* name, const Shape& shape, double lengthMs, double shine)
{
    constexpr int Note = 61;
    Tone tone;
    tone.frequency = NoteFrequency(Note);
    tone.period = 48;
    tone.ceilingHz = 12000;
    const int attack = Frames(0.35, tone.Rate()) / tone.period * tone.period;
    tone.frames = attack + tone.period;
    tone.freezeSeconds = attack / tone.Rate();
    Wave wave = Render(tone, [shine](int h, double t) {
        switch (h) {
        case 1: return 1.0 * std::exp(-t * 1.5);
        case 2: return 0.3 * std::exp(-t * 3.0);
        case 3: return 0.45 * std::exp(-t * 5.0);
        case 5: return 0.22 * shine * std::exp(-t * 9.0 / shine);
        case 8: return 0.12 * shine * std::exp(-t * 14.0 / shine);
        case 11: return 0.06 * shine * std::exp(-t * 20.0 / shine);
        default: return 0.0;
        }
    });
    auto instrument =
        Finish(name, MakeSample(name, wave, RateForNote(tone, Note), shape.level, attack, tone.period), shape);
    const int length = Ticks(lengthMs, shape.tickRate);
    instrument.volumeEnvelope.enabled = true;
    instrument.volumeEnvelope.points = {
        {0, 64}, {std::max(1, length / 4), 34}, {std::max(2, length / 2), 14}, {std::max(3, length), 0}};
    instrument.fadeout = 1200;
    return instrument;
}

} // namespace composer
