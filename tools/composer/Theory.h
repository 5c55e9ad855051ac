#pragma once

// Note names, chord symbols and chord progressions as the songs write them.

#include <string_view>
#include <vector>

namespace composer {

// XM note number (C-0 = 1, C-4 = 49) of "C-4", "C#4", "Db4" or "C4";
// throws std::invalid_argument for anything else.
int ParseNote(std::string_view text);

// Pitch classes count semitones above C (0..11).
struct Chord {
    int root = 0;
    std::vector<int> intervals; // semitones above the root, ascending, starting with 0
    int bass = 0;               // pitch class of the bass: the root unless a slash chord
};

// "A", "Am", "G7", "Fmaj7", "Dm7", "Esus4", "Csus2", "Bdim", "Cadd9", "Gm9", "C/E".
Chord ParseChord(std::string_view symbol);

// The chord that sounds from `row` for `rows` rows.
struct ChordSpan {
    Chord chord;
    int row = 0;
    int rows = 0;
};
using Progression = std::vector<ChordSpan>;

// "Am F C G" shares `rows` evenly; "Am:24 F:8 C:32" gives the rows of each.
Progression ParseProgression(std::string_view text, int rows);

// The chord's tones from the lowest at or above `lowNote` upward: index 0
// is that lowest tone, index = size wraps an octave higher.
int ChordTone(const Chord& chord, int index, int lowNote);

// The chord's bass note at or above `lowNote`.
int BassNote(const Chord& chord, int lowNote);

// `voices` close-position chord tones no higher than `highNote`, chosen to
// move as little as possible from `previous` (empty: the lowest inversion).
// Chords with more tones than voices leave out the root, then the fifth.
std::vector<int> Voicing(const Chord& chord, int voices, int lowNote, int highNote, const std::vector<int>& previous);

} // namespace composer
