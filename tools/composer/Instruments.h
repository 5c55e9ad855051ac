#pragma once

// The composer's pitched instruments: additive tones with a bright attack
// and a seamless loop for their sustain, shaped by XM volume envelopes.

#include "tools/modwriter/ModuleWriter.h"

namespace composer {

// What every instrument needs to know of its song.
struct Shape {
    double level = 0.8;   // peak of the sample, 0..1 of full scale
    int pan = 128;        // 0 left .. 255 right
    double tickRate = 50; // envelope ticks per second at the song's tempo
};

// Volume contour in milliseconds, sustain level 0..64; release after note-off.
struct Adsr {
    double attackMs = 5;
    double decayMs = 200;
    int sustain = 48;
    double releaseMs = 200;
};

enum class Waveform { Saw, Square, Triangle, Sine };

struct LeadTone {
    Waveform form = Waveform::Saw;
    double cutoffHz = 3000;       // where the held note settles
    double attackCutoffHz = 7000; // brighter at the start of a note
    double detuneCents = 8;       // spread of the second voice; 0: a single voice
    Adsr envelope{};
    double drive = 1.5; // soft saturation for a denser tone; 0: clean
};
modwriter::Instrument Lead(const char* name, const Shape& shape, const LeadTone& tone);

struct PadTone {
    Waveform form = Waveform::Saw;
    double cutoffHz = 1800;
    int voices = 5; // detuned copies spread evenly over ±spreadCents
    double spreadCents = 18;
    Adsr envelope{600, 400, 56, 900};
};
modwriter::Instrument Pad(const char* name, const Shape& shape, const PadTone& tone);

struct PluckTone {
    Waveform form = Waveform::Square;
    double cutoffHz = 5000;
    double decayPerSecond = 4;     // how fast the whole note fades
    double dampingPerHarmonic = 1; // extra fade per harmonic: higher partials die first
    double lengthMs = 700;         // from the attack to the silence of the envelope
};
modwriter::Instrument Pluck(const char* name, const Shape& shape, const PluckTone& tone);

struct BassTone {
    Waveform form = Waveform::Saw;
    double cutoffHz = 500;
    double attackCutoffHz = 2500;
    double sub = 0.6; // extra sine at the fundamental for weight, 0..1
    Adsr envelope{2, 300, 52, 60};
};
modwriter::Instrument Bass(const char* name, const Shape& shape, const BassTone& tone);

// A soft electric piano: bright tine at the strike, mellow body after.
modwriter::Instrument EPiano(const char* name, const Shape& shape, double lengthMs = 1800);
// A mallet bell with a long ring. `shine` above 1 makes its upper partials
// louder and longer, towards glass; 1 is the plain mallet.
modwriter::Instrument Bell(const char* name, const Shape& shape, double lengthMs = 1500, double shine = 1.0);

// Envelope points from a contour at a tick rate in Hz.
modwriter::Envelope MakeEnvelope(const Adsr& adsr, double tickRate);

} // namespace composer
