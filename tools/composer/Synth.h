#pragma once

// Sound synthesis for the composer's instruments: additive tones whose
// partials line up with a sample loop, wave shaping, and the step from a
// rendered wave to a module sample.

#include "tools/modwriter/ModuleWriter.h"

#include <functional>
#include <vector>

namespace composer {

// Mono audio at some rate, nominally within -1..1.
using Wave = std::vector<float>;

// Whole frames in `seconds` at `rate` frames per second.
int Frames(double seconds, double rate);

// Frequency in Hz of an XM note number (C-0 = 1, A-4 = 58 sounds at 440 Hz).
double NoteFrequency(int note);

// Amplitude of harmonic h (1 = fundamental) at a time in seconds.
using Spectrum = std::function<double(int harmonic, double seconds)>;

// A detuned copy of the tone: its frequency is the tone's times `ratio`.
struct Voice {
    double ratio = 1.0;
    double gain = 1.0;
};

// An additive tone. With `period` frames per cycle and each voice's ratio a
// fraction k / n, every partial completes whole cycles over period * n
// frames, so a loop of that length (or a multiple) joins without a seam.
struct Tone {
    double frequency = 261.6255653; // Hz of the fundamental
    int period = 128;               // frames per fundamental cycle; rate = frequency * period
    int frames = 0;
    double ceilingHz = 10000.0; // partials fade out towards this frequency
    double freezeSeconds = 1e9; // the spectrum stays as it is at this time from then on
    std::vector<Voice> voices = {{1.0, 1.0}};
    std::uint32_t phaseSeed = 0; // 0: every partial starts at phase 0 (sharp attack)

    double Rate() const { return frequency * period; }
};

Wave Render(const Tone& tone, const Spectrum& spectrum);

// Classic spectra, amplitude of harmonic h.
double Saw(int h);
double Square(int h);
double Triangle(int h);
// Gentle low-pass response of a partial at `hz` for a cutoff in Hz (slope ~ order * 6 dB/oct).
double LowPass(double hz, double cutoffHz, int order = 2);

// Scales the wave so that its largest magnitude is `peak`.
void Normalise(Wave& wave, double peak);
// Soft saturation that keeps small values linear.
void Saturate(Wave& wave, double drive);

// Turns a wave into a sample that plays at `rateAtC4` frames per second for
// note C-4; the peak becomes `level` of full scale.
modwriter::Sample MakeSample(
    const char* name, const Wave& wave, double rateAtC4, double level, int loopStart = 0, int loopLength = 0);

// The C-4 rate of a tone so that its fundamental sounds at the pitch of `note`.
double RateForNote(const Tone& tone, int note);

} // namespace composer
