#pragma once

// Fills one pattern from the songs' compact writing: note lines, drum step
// strings, and bass, pad and arpeggio parts generated from a progression.

#include "tools/composer/Theory.h"
#include "tools/modwriter/ModuleWriter.h"

#include <map>
#include <string_view>

namespace composer {

// What a drum step character plays.
struct Hit {
    int instrument = 0;
    int note = 49; // C-4: the sample's own pitch
    int volume = 64;
};
using DrumKit = std::map<char, Hit>;

// How generated and written notes sound.
struct Style {
    int volume = -1;             // -1: the sample's own
    int vibratoAfter = 0;        // rows into a note before vibrato starts; 0: none
    std::uint8_t vibrato = 0x00; // 4xy parameter
};

class PatternBuilder {
public:
    PatternBuilder(int rows, int channels);

    int Rows() const { return pattern_.rows; }
    modwriter::Cell& At(int row, int channel);

    // A note line from `row` on; notes without their own instrument play `instrument`.
    void Notes(int channel, int instrument, std::string_view text, int row = 0, const Style& style = {});
    // One character per row, repeated until the pattern is full; '.' is silence.
    void Drums(int channel, const DrumKit& kit, std::string_view steps, int row = 0, int rows = -1);
    // Per row of each chord: R root, O root an octave up, F fifth, T third,
    // S seventh (or octave), '=' note-off, '.' nothing; repeated over each chord.
    void Bass(int channel, int instrument, const Progression& chords, std::string_view rhythm, int lowNote,
        const Style& style = {});
    // Held chords on `voices` channels from `firstChannel`; a voice that keeps
    // its note through a chord change is not struck again.
    void Pad(int firstChannel, int voices, int instrument, const Progression& chords, int lowNote, int highNote,
        const Style& style = {});
    // Struck chords: per row 'x' strikes the voicing, '=' releases it, '.'
    // lets it ring; repeated over each chord.
    void Chords(int firstChannel, int voices, int instrument, const Progression& chords, std::string_view rhythm,
        int lowNote, int highNote, const Style& style = {});
    // Per row: a digit picks a chord tone upward from `lowNote`, '.' nothing,
    // '=' note-off; repeated over each chord.
    void Arp(int channel, int instrument, const Progression& chords, std::string_view steps, int lowNote,
        const Style& style = {});
    // Copies a channel `delay` rows later onto another, softer, with its own
    // instrument and `transpose` semitones higher; `sourceVolume` stands for
    // source notes without a volume of their own.
    void Echo(int from, int to, int delay, int instrument, double volumeScale, int sourceVolume, int transpose = 0);
    void Off(int channel, int row = 0);
    void Clear(int channel);
    void Effect(int channel, int row, std::uint8_t effect, std::uint8_t param);

    modwriter::Pattern Take() { return std::move(pattern_); }

private:
    void Put(int row, int channel, int note, int instrument, int volume);
    void Sustain(int channel, int row, int rows, const Style& style);

    int channels_;
    modwriter::Pattern pattern_;
};

} // namespace composer
