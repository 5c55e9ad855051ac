#pragma once

// Writes tracker modules (XM, MOD, S3M) from a format-neutral description.
// Used by the song composer and by the tests that need modules of their own.

#include <cstdint>
#include <string>
#include <vector>

namespace modwriter {

// Notes count semitones from C-0 = 1 (C-4 = 49, A-4 = 58) up to B-7 = 96.
inline constexpr std::uint8_t NoteNone = 0;
inline constexpr std::uint8_t NoteOff = 97;

constexpr std::uint8_t Note(int octave, int semitone)
{
    return static_cast<std::uint8_t>(1 + octave * 12 + semitone);
}

struct Cell {
    std::uint8_t note = NoteNone;
    std::uint8_t instrument = 0; // 1-based; 0 keeps the channel's instrument
    std::uint8_t volume = 0;     // 0 none, else 1 + volume 0..64 (written per format)
    std::uint8_t effect = 0;     // effect letter in XM/MOD numbering (0x0..0xF, 'G'-'A'+10 ...)
    std::uint8_t param = 0;
};

struct Pattern {
    int rows = 64;
    std::vector<Cell> cells; // rows * channels, row-major

    Pattern() = default;
    Pattern(int rowCount, int channels) : rows(rowCount), cells(static_cast<std::size_t>(rowCount) * channels) { }
    Cell& At(int row, int channel, int channels) { return cells[static_cast<std::size_t>(row) * channels + channel]; }
};

struct Envelope {
    bool enabled = false;
    std::vector<std::pair<int, int>> points; // (tick, value 0..64), ticks rising, at most 12
    int sustainPoint = -1;                   // -1: none
    int loopStart = -1;
    int loopEnd = -1;
};

struct Sample {
    std::string name;
    std::vector<std::int16_t> data; // signed 16-bit mono PCM
    bool sixteenBit = true;         // stored as 16 bit where the format allows, else 8
    int loopStart = 0;              // in sample frames
    int loopLength = 0;             // 0: no loop
    bool pingPong = false;
    int volume = 64;       // 0..64
    int panning = 128;     // 0..255 (XM)
    int relativeNote = 0;  // semitones; C-4 plays at sampleRate
    int fineTune = 0;      // -128..127 (XM 1/128 semitone)
    int sampleRate = 8363; // Hz that C-4 plays the sample at (MOD/S3M)
    // Every format plays C-4 at sampleRate * 2^((relativeNote + fineTune / 128) / 12) Hz,
    // as near as it can store: XM as relative note and finetune, S3M as its C4 speed,
    // MOD by moving the notes and a finetune of 1/8 semitone (MOD notes outside
    // C-3..B-5 are folded into that range, which is all ProTracker plays).
};

struct Instrument {
    std::string name;
    Sample sample;
    Envelope volumeEnvelope;
    Envelope panningEnvelope;
    int fadeout = 0; // XM fadeout speed, 0..4095
};

struct Module {
    std::string name;
    int channels = 4;
    int initialSpeed = 6;    // ticks per row
    int initialTempo = 125;  // BPM
    int restartPosition = 0; // order position the song loops back to
    bool linearFrequencies = true;
    std::vector<std::uint8_t> orders; // pattern index per order position
    std::vector<Pattern> patterns;    // each with rows * channels cells
    std::vector<Instrument> instruments;
};

// The file bytes; throw std::invalid_argument for what a format can't hold
// (more than 31 samples in a MOD, rows other than 64 in a MOD, ...).
std::vector<std::uint8_t> WriteXM(const Module& module);
std::vector<std::uint8_t> WriteMOD(const Module& module);
std::vector<std::uint8_t> WriteS3M(const Module& module);

void WriteFile(const std::string& path, const std::vector<std::uint8_t>& bytes);

} // namespace modwriter
