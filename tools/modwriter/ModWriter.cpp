// The Amiga MOD layout: a 20-byte title, 31 sample headers of 30 bytes, the
// order list, a 4-byte channel tag at offset 1080, 64-row patterns of 4-byte
// cells holding Amiga periods, then signed 8-bit sample data.

#include "tools/modwriter/Detail.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <stdexcept>

namespace modwriter {
namespace {

using detail::ByteWriter;

constexpr int MaxSamples = 31;
constexpr int MaxSampleWords = 0xFFFF;

// Periods of ProTracker's three octaves at finetune 0; the first one is the
// note C-3 in this writer's numbering (C-4 sits at period 428, ~8363 Hz).
// clang-format off
constexpr std::array<unsigned, 36> Periods = {
    856, 808, 762, 720, 678, 640, 604, 570, 538, 508, 480, 453,
    428, 404, 381, 360, 339, 320, 302, 285, 269, 254, 240, 226,
    214, 202, 190, 180, 170, 160, 151, 143, 135, 127, 120, 113,
};
// clang-format on
constexpr int FirstPeriodNote = 37;

// ProTracker has no notes outside its three octaves: those are folded into
// the nearest playable octave so a song written for a wider range still plays.
unsigned PeriodFor(int note)
{
    while (note < FirstPeriodNote)
        note += 12;
    while (note >= FirstPeriodNote + 36)
        note -= 12;
    return Periods[static_cast<std::size_t>(note - FirstPeriodNote)];
}

struct Tuning {
    int transpose = 0; // whole semitones the notes move by
    int fineTune = 0;  // -8..7 eighths of a semitone
};

Tuning TuningFor(const Sample& sample)
{
    const double pitch = detail::PitchOffset(sample);
    Tuning tuning;
    tuning.transpose = static_cast<int>(std::lround(pitch));
    tuning.fineTune = std::clamp(static_cast<int>(std::lround((pitch - tuning.transpose) * 8.0)), -8, 7);
    return tuning;
}

class PatternConverter {
public:
    PatternConverter(const Module& module, std::vector<Tuning> tunings)
        : module_(module), tunings_(std::move(tunings)), instrumentOf_(static_cast<std::size_t>(module.channels), 0)
    {
    }

    void ResetChannels() { std::fill(instrumentOf_.begin(), instrumentOf_.end(), 0); }

    // The cells of one pattern as four bytes each; follows which instrument
    // every channel holds so notes without one still get its transposition.
    std::vector<std::uint8_t> Convert(const Pattern& pattern)
    {
        std::vector<std::uint8_t> bytes;
        bytes.reserve(static_cast<std::size_t>(pattern.rows) * module_.channels * 4);
        for (int row = 0; row < pattern.rows; ++row) {
            for (int channel = 0; channel < module_.channels; ++channel) {
                const Cell& cell = detail::CellAt(module_, pattern, row, channel);
                if (cell.instrument)
                    instrumentOf_[static_cast<std::size_t>(channel)] = cell.instrument;
                unsigned period = 0;
                unsigned effect = cell.effect <= 0xF ? cell.effect : 0;
                unsigned param = cell.effect <= 0xF ? cell.param : 0;
                if (cell.note >= 1 && cell.note <= 96)
                    period = PeriodFor(cell.note + TransposeOf(instrumentOf_[static_cast<std::size_t>(channel)]));
                const bool effectFree = effect == 0 && param == 0;
                // No volume column and no key-off: both become a volume command.
                if (effectFree && cell.note == NoteOff) {
                    effect = detail::EffectSetVolume;
                    param = 0;
                } else if (effectFree && cell.volume) {
                    effect = detail::EffectSetVolume;
                    param = std::min(cell.volume - 1u, 64u);
                }
                const unsigned sample = cell.instrument;
                bytes.push_back(static_cast<std::uint8_t>((sample & 0xF0) | ((period >> 8) & 0x0F)));
                bytes.push_back(static_cast<std::uint8_t>(period & 0xFF));
                bytes.push_back(static_cast<std::uint8_t>(((sample & 0x0F) << 4) | effect));
                bytes.push_back(static_cast<std::uint8_t>(param));
            }
        }
        return bytes;
    }

private:
    int TransposeOf(int instrument) const
    {
        if (instrument < 1 || instrument > static_cast<int>(tunings_.size()))
            return 0;
        return tunings_[static_cast<std::size_t>(instrument - 1)].transpose;
    }

    const Module& module_;
    std::vector<Tuning> tunings_;
    std::vector<std::uint8_t> instrumentOf_;
};

// MOD has no header fields for speed and tempo: they go into free effect
// slots on the first row the song plays.
void PlaceInitialTiming(const Module& module, Pattern& first)
{
    std::vector<std::uint8_t> wanted;
    if (module.initialSpeed != 6)
        wanted.push_back(static_cast<std::uint8_t>(std::clamp(module.initialSpeed, 1, 31)));
    if (module.initialTempo != 125)
        wanted.push_back(static_cast<std::uint8_t>(std::clamp(module.initialTempo, 32, 255)));
    for (int channel = 0; channel < module.channels && !wanted.empty(); ++channel) {
        Cell& cell = first.At(0, channel, module.channels);
        if (cell.effect == 0 && cell.param == 0 && cell.volume == 0 && cell.note != NoteOff) {
            cell.effect = detail::EffectSpeed;
            cell.param = wanted.back();
            wanted.pop_back();
        }
    }
}

std::string ChannelTag(int channels)
{
    switch (channels) {
    case 4: return "M.K.";
    case 6: return "6CHN";
    case 8: return "8CHN";
    default:
        if (channels < 10)
            return std::to_string(channels) + "CHN";
        return std::to_string(channels) + "CH";
    }
}

} // namespace

std::vector<std::uint8_t> WriteMOD(const Module& module)
{
    detail::Validate(module, 32, 64);
    if (module.instruments.size() > MaxSamples)
        throw std::invalid_argument("a MOD holds at most 31 samples");
    if (module.orders.size() > 128)
        throw std::invalid_argument("a MOD order list holds at most 128 positions");
    for (const auto& pattern : module.patterns) {
        if (pattern.rows != 64)
            throw std::invalid_argument("MOD patterns have exactly 64 rows");
    }
    for (const auto& instrument : module.instruments) {
        if ((instrument.sample.data.size() + 1) / 2 > MaxSampleWords)
            throw std::invalid_argument("sample \"" + instrument.sample.name + "\" is longer than a MOD sample can be");
    }

    std::vector<Tuning> tunings;
    for (const auto& instrument : module.instruments)
        tunings.push_back(TuningFor(instrument.sample));

    // Only patterns the order list reaches are stored in a MOD.
    const std::size_t patternCount = *std::max_element(module.orders.begin(), module.orders.end()) + 1u;
    std::vector<Pattern> patterns(
        module.patterns.begin(), module.patterns.begin() + static_cast<std::ptrdiff_t>(patternCount));
    PlaceInitialTiming(module, patterns[module.orders.front()]);

    PatternConverter converter(module, tunings);
    std::vector<std::vector<std::uint8_t>> converted(patternCount);
    for (auto order : module.orders) {
        auto bytes = converter.Convert(patterns[order]);
        if (converted[order].empty())
            converted[order] = std::move(bytes);
    }

    ByteWriter out;
    out.Text(module.name, 20);
    for (int i = 0; i < MaxSamples; ++i) {
        if (i >= static_cast<int>(module.instruments.size())) {
            out.Zeros(22 + 2 + 1 + 1 + 2);
            out.U16BE(1);
            continue;
        }
        const Instrument& instrument = module.instruments[static_cast<std::size_t>(i)];
        const Sample& sample = instrument.sample;
        out.Text(instrument.name.empty() ? sample.name : instrument.name, 22);
        out.U16BE(static_cast<unsigned>((sample.data.size() + 1) / 2));
        out.U8(static_cast<unsigned>(tunings[static_cast<std::size_t>(i)].fineTune) & 0x0F);
        out.U8(static_cast<unsigned>(std::clamp(sample.volume, 0, 64)));
        if (sample.loopLength > 0) {
            out.U16BE(static_cast<unsigned>(sample.loopStart / 2));
            out.U16BE(static_cast<unsigned>(std::max(1, sample.loopLength / 2)));
        } else {
            out.U16BE(0);
            out.U16BE(1);
        }
    }
    out.U8(static_cast<unsigned>(module.orders.size()));
    out.U8(static_cast<unsigned>(module.restartPosition));
    for (std::size_t i = 0; i < 128; ++i)
        out.U8(i < module.orders.size() ? module.orders[i] : 0);
    out.Text(ChannelTag(module.channels), 4);

    for (std::size_t index = 0; index < patternCount; ++index) {
        auto& bytes = converted[index];
        if (bytes.empty()) {
            converter.ResetChannels();
            bytes = converter.Convert(patterns[index]);
        }
        for (auto byte : bytes)
            out.U8(byte);
    }
    for (const auto& instrument : module.instruments) {
        const auto& data = instrument.sample.data;
        for (auto value : data)
            out.U8(static_cast<std::uint8_t>(static_cast<std::int8_t>(value >> 8)));
        if (data.size() % 2)
            out.U8(0);
    }
    return out.Take();
}

} // namespace modwriter
