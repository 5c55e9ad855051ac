// The S3M layout: a 96-byte "SCRM" header, the order list, paragraph
// pointers to instruments and patterns, a channel panning table, then
// 16-byte aligned instrument headers, packed 64-row patterns and unsigned
// PCM sample data.

#include "tools/modwriter/Detail.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>

namespace modwriter {
namespace {

using detail::ByteWriter;

constexpr int Rows = 64;

constexpr std::uint8_t Command(char letter)
{
    return static_cast<std::uint8_t>(letter - 'A' + 1);
}

struct S3mEffect {
    std::uint8_t command = 0;
    std::uint8_t info = 0;
};

// XM/MOD effect numbering to S3M letters; effects without an S3M twin are dropped.
S3mEffect Translate(std::uint8_t effect, std::uint8_t param)
{
    const std::uint8_t high = param >> 4;
    const std::uint8_t low = param & 0x0F;
    switch (effect) {
    case 0x0: return param ? S3mEffect{Command('J'), param} : S3mEffect{};
    case 0x1: return {Command('F'), std::min<std::uint8_t>(param, 0xDF)};
    case 0x2: return {Command('E'), std::min<std::uint8_t>(param, 0xDF)};
    case 0x3: return {Command('G'), param};
    case 0x4: return {Command('H'), param};
    case 0x5: return {Command('L'), param};
    case 0x6: return {Command('K'), param};
    case 0x7: return {Command('R'), param};
    case 0x8: return {Command('X'), static_cast<std::uint8_t>(param / 2)};
    case 0x9: return {Command('O'), param};
    case 0xA:
        return {Command('D'),
            high ? static_cast<std::uint8_t>(std::min<int>(high, 0xE) << 4) : std::min<std::uint8_t>(low, 0xE)};
    case 0xB: return {Command('B'), param};
    case 0xD: return {Command('C'), param};
    case 0xE:
        switch (high) {
        case 0x1: return {Command('F'), static_cast<std::uint8_t>(0xF0 | low)};
        case 0x2: return {Command('E'), static_cast<std::uint8_t>(0xF0 | low)};
        case 0x3: return {Command('S'), static_cast<std::uint8_t>(0x10 | low)};
        case 0x4: return {Command('S'), static_cast<std::uint8_t>(0x30 | low)};
        case 0x5: return {Command('S'), static_cast<std::uint8_t>(0x20 | low)};
        case 0x6: return {Command('S'), static_cast<std::uint8_t>(0xB0 | low)};
        case 0x7: return {Command('S'), static_cast<std::uint8_t>(0x40 | low)};
        case 0x8: return {Command('S'), static_cast<std::uint8_t>(0x80 | low)};
        case 0x9: return {Command('Q'), low};
        case 0xA: return low ? S3mEffect{Command('D'), static_cast<std::uint8_t>((low << 4) | 0x0F)} : S3mEffect{};
        case 0xB: return low ? S3mEffect{Command('D'), static_cast<std::uint8_t>(0xF0 | low)} : S3mEffect{};
        case 0xC: return {Command('S'), static_cast<std::uint8_t>(0xC0 | low)};
        case 0xD: return {Command('S'), static_cast<std::uint8_t>(0xD0 | low)};
        case 0xE: return {Command('S'), static_cast<std::uint8_t>(0xE0 | low)};
        default: return {};
        }
    case 0xF:
        if (param == 0)
            return {};
        return param < 32 ? S3mEffect{Command('A'), param} : S3mEffect{Command('T'), param};
    case 'G' - 'A' + 10: return {Command('V'), std::min<std::uint8_t>(param, 64)};
    case 'H' - 'A' + 10: return {Command('W'), param};
    case 'R' - 'A' + 10: return {Command('Q'), param};
    case 'T' - 'A' + 10: return {Command('I'), param};
    case 'X' - 'A' + 10:
        if (high == 1)
            return {Command('F'), static_cast<std::uint8_t>(0xE0 | low)};
        if (high == 2)
            return {Command('E'), static_cast<std::uint8_t>(0xE0 | low)};
        return {};
    default: return {};
    }
}

bool EndsPattern(const Cell& cell)
{
    return cell.effect == detail::EffectPositionJump || cell.effect == detail::EffectPatternBreak;
}

bool EffectFree(const Cell& cell)
{
    return cell.effect == 0 && cell.param == 0;
}

// Puts `effect` into a free slot of the row; false when the row has none.
bool PlaceOnRow(Pattern& pattern, int row, int channels, std::uint8_t effect, std::uint8_t param)
{
    for (int channel = 0; channel < channels; ++channel) {
        Cell& cell = pattern.At(row, channel, channels);
        if (EndsPattern(cell))
            return true;
    }
    for (int channel = 0; channel < channels; ++channel) {
        Cell& cell = pattern.At(row, channel, channels);
        if (EffectFree(cell)) {
            cell.effect = effect;
            cell.param = param;
            return true;
        }
    }
    return false;
}

// S3M has no restart position: the song's last pattern gets a copy that
// jumps back to it instead.
void PlaceRestartJump(Module& module)
{
    if (module.restartPosition == 0)
        return;
    Pattern last = module.patterns[module.orders.back()];
    if (!PlaceOnRow(last, last.rows - 1, module.channels, detail::EffectPositionJump,
            static_cast<std::uint8_t>(module.restartPosition)))
        throw std::invalid_argument("no free effect slot on the last row for the S3M restart jump");
    module.orders.back() = static_cast<std::uint8_t>(module.patterns.size());
    module.patterns.push_back(std::move(last));
}

std::vector<std::uint8_t> PackPattern(const Module& module, Pattern pattern)
{
    // Every S3M pattern has 64 rows: a shorter one breaks out early.
    if (pattern.rows < Rows && !PlaceOnRow(pattern, pattern.rows - 1, module.channels, detail::EffectPatternBreak, 0))
        throw std::invalid_argument("no free effect slot to end a short S3M pattern");

    ByteWriter out;
    out.U16LE(0); // packed length, patched below
    for (int row = 0; row < Rows; ++row) {
        for (int channel = 0; row < pattern.rows && channel < module.channels; ++channel) {
            const Cell& cell = detail::CellAt(module, pattern, row, channel);
            int volume = cell.volume ? std::min(cell.volume - 1, 64) : -1;
            S3mEffect effect = Translate(cell.effect, cell.param);
            if (cell.effect == detail::EffectSetVolume && volume < 0)
                volume = std::min<int>(cell.param, 64);
            unsigned what = static_cast<unsigned>(channel);
            if (cell.note || cell.instrument)
                what |= 0x20;
            if (volume >= 0)
                what |= 0x40;
            if (effect.command)
                what |= 0x80;
            if (what == static_cast<unsigned>(channel))
                continue;
            out.U8(what);
            if (what & 0x20) {
                unsigned note = 0xFF;
                if (cell.note == NoteOff)
                    note = 0xFE;
                else if (cell.note >= 1 && cell.note <= 96)
                    note = static_cast<unsigned>(((cell.note - 1) / 12) << 4 | ((cell.note - 1) % 12));
                out.U8(note);
                out.U8(cell.instrument);
            }
            if (what & 0x40)
                out.U8(static_cast<unsigned>(volume));
            if (what & 0x80) {
                out.U8(effect.command);
                out.U8(effect.info);
            }
        }
        out.U8(0);
    }
    auto bytes = out.Take();
    bytes[0] = static_cast<std::uint8_t>(bytes.size() & 0xFF);
    bytes[1] = static_cast<std::uint8_t>(bytes.size() >> 8);
    return bytes;
}

void Align(ByteWriter& out)
{
    out.PadTo((out.Size() + 15) & ~std::size_t{15});
}

unsigned Paragraph(std::size_t offset)
{
    if (offset / 16 > 0xFFFF)
        throw std::invalid_argument("S3M headers and patterns exceed the first megabyte");
    return static_cast<unsigned>(offset / 16);
}

} // namespace

std::vector<std::uint8_t> WriteS3M(const Module& original)
{
    detail::Validate(original, 32, Rows);
    Module module = original;
    PlaceRestartJump(module);
    if (module.orders.size() > 255)
        throw std::invalid_argument("an S3M order list holds at most 255 positions");
    if (module.patterns.size() > 254)
        throw std::invalid_argument("an S3M holds at most 254 patterns");
    if (module.instruments.size() > 99)
        throw std::invalid_argument("an S3M holds at most 99 instruments");

    // An even order count, filled with end markers.
    const std::size_t orderCount = (module.orders.size() + 2) & ~std::size_t{1};
    const std::size_t instrumentCount = module.instruments.size();
    const std::size_t patternCount = module.patterns.size();

    ByteWriter out;
    out.Text(module.name, 28);
    out.U8(0x1A);
    out.U8(16); // song type: ST3 module
    out.Zeros(2);
    out.U16LE(static_cast<unsigned>(orderCount));
    out.U16LE(static_cast<unsigned>(instrumentCount));
    out.U16LE(static_cast<unsigned>(patternCount));
    out.U16LE(0); // flags
    out.U16LE(0x1320);
    out.U16LE(2); // unsigned samples
    out.Text("SCRM", 4);
    out.U8(64); // global volume
    out.U8(static_cast<unsigned>(std::clamp(module.initialSpeed, 1, 255)));
    out.U8(static_cast<unsigned>(std::clamp(module.initialTempo, 33, 255)));
    out.U8(0xB0); // stereo, master volume 48
    out.U8(0);
    out.U8(252); // a panning table follows the pointers
    out.Zeros(8);
    out.U16LE(0);
    // Amiga-style channel placement: left, right, right, left.
    auto isLeft = [](int channel) { return channel % 4 == 0 || channel % 4 == 3; };
    for (int channel = 0; channel < 32; ++channel) {
        if (channel >= module.channels)
            out.U8(0xFF);
        else
            out.U8(static_cast<unsigned>((isLeft(channel) ? 0 : 8) + (channel / 2) % 8));
    }

    for (std::size_t i = 0; i < orderCount; ++i)
        out.U8(i < module.orders.size() ? module.orders[i] : 0xFF);
    const std::size_t instrumentPointers = out.Size();
    out.Zeros(instrumentCount * 2);
    const std::size_t patternPointers = out.Size();
    out.Zeros(patternCount * 2);
    for (int channel = 0; channel < 32; ++channel)
        out.U8(channel < module.channels ? (isLeft(channel) ? 0x23 : 0x2C) : 0);

    std::vector<std::size_t> instrumentOffsets;
    for (std::size_t i = 0; i < instrumentCount; ++i) {
        Align(out);
        instrumentOffsets.push_back(out.Size());
        out.PatchU16LE(instrumentPointers + i * 2, Paragraph(out.Size()));
        const Instrument& instrument = module.instruments[i];
        const Sample& sample = instrument.sample;
        out.U8(1); // PCM sample
        out.Text(sample.name, 12);
        out.Zeros(3); // sample data pointer, patched below
        out.U32LE(static_cast<std::uint32_t>(sample.data.size()));
        out.U32LE(static_cast<std::uint32_t>(sample.loopStart));
        out.U32LE(static_cast<std::uint32_t>(sample.loopStart + sample.loopLength));
        out.U8(static_cast<unsigned>(std::clamp(sample.volume, 0, 64)));
        out.U8(0);
        out.U8(0); // not packed
        out.U8((sample.loopLength > 0 ? 1u : 0u) | (sample.sixteenBit ? 4u : 0u));
        const double c4Speed = 8363.0 * std::exp2(detail::PitchOffset(sample) / 12.0);
        out.U32LE(static_cast<std::uint32_t>(std::clamp(std::lround(c4Speed), 1L, 0xFFFFFL)));
        out.Zeros(12);
        out.Text(instrument.name.empty() ? sample.name : instrument.name, 28);
        out.Text("SCRS", 4);
    }

    for (std::size_t i = 0; i < patternCount; ++i) {
        Align(out);
        out.PatchU16LE(patternPointers + i * 2, Paragraph(out.Size()));
        for (auto byte : PackPattern(module, module.patterns[i]))
            out.U8(byte);
    }

    for (std::size_t i = 0; i < instrumentCount; ++i) {
        Align(out);
        const std::size_t paragraph = out.Size() / 16;
        if (paragraph > 0xFFFFFF)
            throw std::invalid_argument("S3M sample data lies beyond what its pointers reach");
        out.PatchU8(instrumentOffsets[i] + 13, static_cast<unsigned>(paragraph >> 16));
        out.PatchU16LE(instrumentOffsets[i] + 14, static_cast<unsigned>(paragraph & 0xFFFF));
        const Sample& sample = module.instruments[i].sample;
        for (auto value : sample.data) {
            if (sample.sixteenBit)
                out.U16LE(static_cast<std::uint16_t>(value) ^ 0x8000u);
            else
                out.U8(static_cast<std::uint8_t>((value >> 8) + 128));
        }
    }
    return out.Take();
}

} // namespace modwriter
