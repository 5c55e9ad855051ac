#include "tools/composer/Theory.h"

#include <algorithm>
#include <cstdlib>
#include <initializer_list>
#include <limits>
#include <stdexcept>
#include <string>

namespace composer {
namespace {

// Semitones above C of a letter with its accidental, not wrapped: Cb is -1, B# 12.
int Semitone(std::string_view& text)
{
    static constexpr int Naturals[] = {9, 11, 0, 2, 4, 5, 7}; // A..G
    if (text.empty() || text[0] < 'A' || text[0] > 'G')
        throw std::invalid_argument("no note letter in \"" + std::string(text) + "\"");
    int semitone = Naturals[text[0] - 'A'];
    text.remove_prefix(1);
    if (!text.empty() && text[0] == '#') {
        ++semitone;
        text.remove_prefix(1);
    } else if (!text.empty() && text[0] == 'b') {
        --semitone;
        text.remove_prefix(1);
    } else if (!text.empty() && text[0] == '-') {
        text.remove_prefix(1);
    }
    return semitone;
}

bool Consume(std::string_view& text, std::string_view prefix)
{
    if (!text.starts_with(prefix))
        return false;
    text.remove_prefix(prefix.size());
    return true;
}

struct ChordKind {
    std::string_view spelling;
    std::initializer_list<int> intervals; // semitones above the root
};

// Longest spellings first, so "maj7" is not read as "m" + "aj7"; a bare
// root is a major triad.
constexpr ChordKind ChordKinds[] = {
    {"maj9", {0, 4, 7, 11, 14}},
    {"maj7", {0, 4, 7, 11}},
    {"m7b5", {0, 3, 6, 10}},
    {"madd9", {0, 3, 7, 14}},
    {"m9", {0, 3, 7, 10, 14}},
    {"m7", {0, 3, 7, 10}},
    {"m6", {0, 3, 7, 9}},
    {"dim", {0, 3, 6}},
    {"sus2", {0, 2, 7}},
    {"sus4", {0, 5, 7}},
    {"add9", {0, 4, 7, 14}},
    {"m", {0, 3, 7}},
    {"9", {0, 4, 7, 10, 14}},
    {"7", {0, 4, 7, 10}},
    {"6", {0, 4, 7, 9}},
    {"5", {0, 7}},
};

} // namespace

int ParseNote(std::string_view text)
{
    const std::string original(text);
    const int semitone = Semitone(text);
    if (text.size() != 1 || text[0] < '0' || text[0] > '7')
        throw std::invalid_argument("bad note \"" + original + "\"");
    const int note = 1 + (text[0] - '0') * 12 + semitone;
    if (note < 1 || note > 96)
        throw std::invalid_argument("note \"" + original + "\" outside C-0..B-7");
    return note;
}

Chord ParseChord(std::string_view symbol)
{
    const std::string original(symbol);
    Chord chord;
    chord.root = (Semitone(symbol) + 12) % 12;
    std::string_view slash;
    const auto at = symbol.find('/');
    if (at != std::string_view::npos) {
        slash = symbol.substr(at + 1);
        symbol = symbol.substr(0, at);
    }
    chord.intervals = {0, 4, 7};
    for (const ChordKind& kind : ChordKinds) {
        if (Consume(symbol, kind.spelling)) {
            chord.intervals.assign(kind.intervals.begin(), kind.intervals.end());
            break;
        }
    }
    if (!symbol.empty())
        throw std::invalid_argument("unknown chord \"" + original + "\"");
    chord.bass = chord.root;
    if (at != std::string_view::npos) {
        chord.bass = (Semitone(slash) + 12) % 12;
        if (!slash.empty())
            throw std::invalid_argument("bad bass in chord \"" + original + "\"");
    }
    return chord;
}

Progression ParseProgression(std::string_view text, int rows)
{
    struct Entry {
        std::string symbol;
        int rows;
    };
    std::vector<Entry> entries;
    std::size_t at = 0;
    while (at < text.size()) {
        const auto end = std::min(text.find(' ', at), text.size());
        std::string_view token = text.substr(at, end - at);
        at = end + 1;
        if (token.empty() || token == "|")
            continue;
        int length = 0;
        if (const auto colon = token.find(':'); colon != std::string_view::npos) {
            length = std::atoi(std::string(token.substr(colon + 1)).c_str());
            token = token.substr(0, colon);
            if (length <= 0)
                throw std::invalid_argument("bad chord length in \"" + std::string(text) + "\"");
        }
        entries.push_back({std::string(token), length});
    }
    if (entries.empty())
        throw std::invalid_argument("empty progression");
    const bool even = std::all_of(entries.begin(), entries.end(), [](const Entry& e) { return e.rows == 0; });
    Progression progression;
    int row = 0;
    for (std::size_t i = 0; i < entries.size(); ++i) {
        const int length = even ? rows / static_cast<int>(entries.size()) : entries[i].rows;
        if (length == 0)
            throw std::invalid_argument("mixed chord lengths in \"" + std::string(text) + "\"");
        progression.push_back({ParseChord(entries[i].symbol), row, length});
        row += length;
    }
    if (row != rows)
        throw std::invalid_argument("progression \"" + std::string(text) + "\" fills " + std::to_string(row) + " of " +
            std::to_string(rows) + " rows");
    return progression;
}

int ChordTone(const Chord& chord, int index, int lowNote)
{
    std::vector<int> tones;
    for (int interval : chord.intervals) {
        int note = lowNote + ((chord.root + interval % 12) - (lowNote - 1) % 12 + 24) % 12;
        tones.push_back(note);
    }
    std::sort(tones.begin(), tones.end());
    tones.erase(std::unique(tones.begin(), tones.end()), tones.end());
    const int size = static_cast<int>(tones.size());
    return tones[static_cast<std::size_t>(index % size)] + 12 * (index / size);
}

int BassNote(const Chord& chord, int lowNote)
{
    return lowNote + (chord.bass - (lowNote - 1) % 12 + 12) % 12;
}

std::vector<int> Voicing(const Chord& full, int voices, int lowNote, int highNote, const std::vector<int>& previous)
{
    // With fewer voices than tones the bass already has the root, and the
    // fifth says least about the chord: those go first, the colour stays.
    Chord chord = full;
    for (int expendable : {0, 7}) {
        auto& tones = chord.intervals;
        if (static_cast<int>(tones.size()) > voices)
            tones.erase(std::remove(tones.begin(), tones.end(), expendable), tones.end());
    }
    std::vector<int> best;
    long bestCost = std::numeric_limits<long>::max();
    const int size = static_cast<int>(chord.intervals.size());
    for (int start = 0; start < size * 2; ++start) {
        std::vector<int> notes;
        for (int v = 0; v < voices; ++v)
            notes.push_back(ChordTone(chord, start + v, lowNote));
        if (notes.back() > highNote && !best.empty())
            break;
        long cost = 0;
        if (previous.size() == notes.size()) {
            for (std::size_t v = 0; v < notes.size(); ++v)
                cost += std::labs(notes[v] - previous[v]);
        } else {
            cost = start;
        }
        if (cost < bestCost) {
            bestCost = cost;
            best = notes;
        }
    }
    return best;
}

} // namespace composer
