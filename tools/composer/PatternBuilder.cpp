#include "tools/composer/PatternBuilder.h"

#include "tools/composer/Notation.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>
#include <string>

namespace composer {

PatternBuilder::PatternBuilder(int rows, int channels) : channels_(channels), pattern_(rows, channels)
{
}

modwriter::Cell& PatternBuilder::At(int row, int channel)
{
    if (row < 0 || row >= pattern_.rows || channel < 0 || channel >= channels_)
        throw std::out_of_range("cell " + std::to_string(row) + ":" + std::to_string(channel) + " outside the pattern");
    return pattern_.At(row, channel, channels_);
}

void PatternBuilder::Put(int row, int channel, int note, int instrument, int volume)
{
    if (row >= pattern_.rows)
        return;
    modwriter::Cell& cell = At(row, channel);
    cell.note = static_cast<std::uint8_t>(note);
    cell.instrument = note == modwriter::NoteOff ? 0 : static_cast<std::uint8_t>(instrument);
    cell.volume = volume >= 0 && note != modwriter::NoteOff ? static_cast<std::uint8_t>(1 + volume) : 0;
}

void PatternBuilder::Sustain(int channel, int row, int rows, const Style& style)
{
    if (style.vibratoAfter <= 0)
        return;
    for (int r = row + style.vibratoAfter; r < row + rows && r < pattern_.rows; ++r) {
        modwriter::Cell& cell = At(r, channel);
        if (cell.effect == 0 && cell.param == 0 && cell.note == 0) {
            cell.effect = 0x4;
            cell.param = style.vibrato;
        }
    }
}

void PatternBuilder::Notes(int channel, int instrument, std::string_view text, int row, const Style& style)
{
    const NoteLine line = ParseNotes(text);
    if (row + line.rows > pattern_.rows)
        throw std::invalid_argument("notes run " + std::to_string(row + line.rows) + " rows into a pattern of " +
            std::to_string(pattern_.rows) + ": " + std::string(text.substr(0, 40)));
    for (const NoteEvent& event : line.events) {
        const int at = row + event.row;
        modwriter::Cell& cell = At(at, channel);
        if (event.note) {
            const int volume = event.volume >= 0 ? event.volume : style.volume;
            Put(at, channel, event.note, event.instrument ? event.instrument : instrument, volume);
        } else if (event.volume >= 0) {
            cell.volume = static_cast<std::uint8_t>(1 + event.volume);
        }
        if (event.effect || event.param) {
            cell.effect = event.effect;
            cell.param = event.param;
        }
    }
    for (const NoteEvent& event : line.events)
        if (event.note && event.note != modwriter::NoteOff)
            Sustain(channel, row + event.row, event.rows, style);
}

void PatternBuilder::Drums(int channel, const DrumKit& kit, std::string_view steps, int row, int rows)
{
    if (steps.empty())
        throw std::invalid_argument("empty drum steps");
    if (rows < 0)
        rows = pattern_.rows - row;
    for (int i = 0; i < rows; ++i) {
        const char step = steps[static_cast<std::size_t>(i) % steps.size()];
        if (step == '.')
            continue;
        const auto hit = kit.find(step);
        if (hit == kit.end())
            throw std::invalid_argument(std::string("no drum for step '") + step + "'");
        Put(row + i, channel, hit->second.note, hit->second.instrument, hit->second.volume);
    }
}

void PatternBuilder::Bass(
    int channel, int instrument, const Progression& chords, std::string_view rhythm, int lowNote, const Style& style)
{
    for (const ChordSpan& span : chords) {
        const int root = BassNote(span.chord, lowNote);
        const Chord& chord = span.chord;
        auto above = [&](int interval) { return root + ((chord.root + interval - chord.bass) % 12 + 12) % 12; };
        for (int i = 0; i < span.rows; ++i) {
            const char step = rhythm[static_cast<std::size_t>(i) % rhythm.size()];
            int note = 0;
            switch (step) {
            case '.': break;
            case '=': note = modwriter::NoteOff; break;
            case 'R': note = root; break;
            case 'O': note = root + 12; break;
            case 'F': note = above(7); break;
            case 'T': note = above(chord.intervals.size() > 1 ? chord.intervals[1] : 0); break;
            case 'S': note = above(chord.intervals.size() > 3 ? chord.intervals[3] : 12); break;
            default: throw std::invalid_argument(std::string("bad bass step '") + step + "'");
            }
            if (note)
                Put(span.row + i, channel, note, instrument, style.volume);
        }
    }
}

void PatternBuilder::Pad(int firstChannel, int voices, int instrument, const Progression& chords, int lowNote,
    int highNote, const Style& style)
{
    std::vector<int> previous;
    for (const ChordSpan& span : chords) {
        const std::vector<int> notes = Voicing(span.chord, voices, lowNote, highNote, previous);
        for (int v = 0; v < voices; ++v) {
            const bool held = previous.size() == notes.size() &&
                previous[static_cast<std::size_t>(v)] == notes[static_cast<std::size_t>(v)];
            if (!held)
                Put(span.row, firstChannel + v, notes[static_cast<std::size_t>(v)], instrument, style.volume);
        }
        previous = notes;
    }
}

void PatternBuilder::Chords(int firstChannel, int voices, int instrument, const Progression& chords,
    std::string_view rhythm, int lowNote, int highNote, const Style& style)
{
    std::vector<int> previous;
    for (const ChordSpan& span : chords) {
        const std::vector<int> notes = Voicing(span.chord, voices, lowNote, highNote, previous);
        for (int i = 0; i < span.rows; ++i) {
            const char step = rhythm[static_cast<std::size_t>(i) % rhythm.size()];
            for (int v = 0; v < voices; ++v) {
                if (step == 'x')
                    Put(span.row + i, firstChannel + v, notes[static_cast<std::size_t>(v)], instrument, style.volume);
                else if (step == '=')
                    Put(span.row + i, firstChannel + v, modwriter::NoteOff, 0, -1);
                else if (step != '.')
                    throw std::invalid_argument(std::string("bad chord step '") + step + "'");
            }
        }
        previous = notes;
    }
}

void PatternBuilder::Arp(
    int channel, int instrument, const Progression& chords, std::string_view steps, int lowNote, const Style& style)
{
    for (const ChordSpan& span : chords) {
        for (int i = 0; i < span.rows; ++i) {
            const char step = steps[static_cast<std::size_t>(i) % steps.size()];
            if (step == '.')
                continue;
            if (step == '=') {
                Put(span.row + i, channel, modwriter::NoteOff, 0, -1);
                continue;
            }
            if (step < '0' || step > '9')
                throw std::invalid_argument(std::string("bad arpeggio step '") + step + "'");
            Put(span.row + i, channel, ChordTone(span.chord, step - '0', lowNote), instrument, style.volume);
        }
    }
}

void PatternBuilder::Echo(
    int from, int to, int delay, int instrument, double volumeScale, int sourceVolume, int transpose)
{
    for (int row = pattern_.rows - 1 - delay; row >= 0; --row) {
        const modwriter::Cell source = At(row, from);
        if (!source.note)
            continue;
        if (source.note == modwriter::NoteOff) {
            Put(row + delay, to, modwriter::NoteOff, 0, -1);
            continue;
        }
        const int volume = source.volume ? source.volume - 1 : sourceVolume;
        Put(row + delay, to, source.note + transpose, instrument, static_cast<int>(std::lround(volume * volumeScale)));
    }
}

void PatternBuilder::Off(int channel, int row)
{
    Put(row, channel, modwriter::NoteOff, 0, -1);
}

void PatternBuilder::Clear(int channel)
{
    for (int row = 0; row < pattern_.rows; ++row)
        At(row, channel) = {};
}

void PatternBuilder::Effect(int channel, int row, std::uint8_t effect, std::uint8_t param)
{
    modwriter::Cell& cell = At(row, channel);
    cell.effect = effect;
    cell.param = param;
}

} // namespace composer
