#include "tools/composer/Synth.h"

#include "tools/composer/Noise.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace composer {

int Frames(double seconds, double rate)
{
    return static_cast<int>(std::lround(seconds * rate));
}

double NoteFrequency(int note)
{
    return 440.0 * std::pow(2.0, (note - 58) / 12.0);
}

Wave Render(const Tone& tone, const Spectrum& spectrum)
{
    Wave wave(static_cast<std::size_t>(tone.frames), 0.0f);
    const double rate = tone.Rate();
    const double freeze = tone.freezeSeconds;
    Noise phases(tone.phaseSeed);
    std::vector<double> amplitude(static_cast<std::size_t>(tone.frames));
    for (const Voice& voice : tone.voices) {
        for (int h = 1;; ++h) {
            const double hz = tone.frequency * voice.ratio * h;
            if (hz >= tone.ceilingHz)
                break;
            // Partials near the ceiling fade in gradually rather than stop dead.
            const double edge = std::clamp((tone.ceilingHz - hz) / (0.25 * tone.ceilingHz), 0.0, 1.0);
            const double step = 2.0 * std::numbers::pi * h * voice.ratio / tone.period;
            const double start = tone.phaseSeed ? phases.Unit() * 2.0 * std::numbers::pi : 0.0;
            for (int n = 0; n < tone.frames; ++n) {
                const double seconds = std::min(n / rate, freeze);
                const double a = spectrum(h, seconds);
                if (a != 0.0)
                    wave[static_cast<std::size_t>(n)] +=
                        static_cast<float>(voice.gain * edge * a * std::sin(step * n + start));
            }
        }
    }
    return wave;
}

double Saw(int h)
{
    return 1.0 / h;
}
double Square(int h)
{
    return h % 2 ? 1.0 / h : 0.0;
}
double Triangle(int h)
{
    return h % 2 ? 1.0 / (static_cast<double>(h) * h) : 0.0;
}

double LowPass(double hz, double cutoffHz, int order)
{
    return 1.0 / std::sqrt(1.0 + std::pow(hz / cutoffHz, 2.0 * order));
}

void Normalise(Wave& wave, double peak)
{
    float largest = 0.0f;
    for (float v : wave)
        largest = std::max(largest, std::fabs(v));
    if (largest <= 0.0f)
        return;
    const float scale = static_cast<float>(peak / largest);
    for (float& v : wave)
        v *= scale;
}

void Saturate(Wave& wave, double drive)
{
    const double norm = std::tanh(drive);
    for (float& v : wave)
        v = static_cast<float>(std::tanh(drive * v) / norm);
}

modwriter::Sample MakeSample(
    const char* name, const Wave& wave, double rateAtC4, double level, int loopStart, int loopLength)
{
    Wave scaled = wave;
    Normalise(scaled, level);
    modwriter::Sample sample;
    sample.name = name;
    sample.data.reserve(scaled.size());
    for (float v : scaled)
        sample.data.push_back(static_cast<std::int16_t>(std::lround(std::clamp(v, -1.0f, 1.0f) * 32767.0f)));
    sample.loopStart = loopStart;
    sample.loopLength = loopLength;
    // A whole Hz in some ten thousand is far below what an ear can tell.
    sample.sampleRate = static_cast<int>(std::lround(rateAtC4));
    return sample;
}

double RateForNote(const Tone& tone, int note)
{
    // Playing `note` must give the tone's own rate scaled to the note's pitch.
    const double rateAtNote = tone.Rate() * NoteFrequency(note) / tone.frequency;
    return rateAtNote * std::pow(2.0, (49 - note) / 12.0);
}

} // namespace composer
