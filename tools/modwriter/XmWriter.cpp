// The XM layout: a 60-byte preamble, a 276-byte song header with the order
// table, packed patterns, then per instrument a 263-byte header, one 40-byte
// sample header and the delta-encoded sample data.

#include "tools/modwriter/Detail.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>

namespace modwriter {
namespace {

using detail::ByteWriter;

constexpr unsigned InstrumentHeaderSize = 263;
constexpr unsigned SampleHeaderSize = 40;

void WritePattern(ByteWriter& out, const Module& module, const Pattern& pattern)
{
    ByteWriter packed;
    for (int row = 0; row < pattern.rows; ++row) {
        for (int channel = 0; channel < module.channels; ++channel) {
            const Cell& cell = detail::CellAt(module, pattern, row, channel);
            const unsigned volume = cell.volume ? 0x10u + std::min(cell.volume - 1, 64) : 0u;
            unsigned mask = 0;
            if (cell.note)
                mask |= 0x01;
            if (cell.instrument)
                mask |= 0x02;
            if (volume)
                mask |= 0x04;
            if (cell.effect)
                mask |= 0x08;
            if (cell.param)
                mask |= 0x10;
            // A full cell is shorter unpacked: the note byte itself starts it.
            if (mask != 0x1F)
                packed.U8(0x80 | mask);
            if (mask & 0x01)
                packed.U8(std::min<unsigned>(cell.note, NoteOff));
            if (mask & 0x02)
                packed.U8(cell.instrument);
            if (mask & 0x04)
                packed.U8(volume);
            if (mask & 0x08)
                packed.U8(cell.effect);
            if (mask & 0x10)
                packed.U8(cell.param);
        }
    }
    auto data = packed.Take();
    if (data.size() > 0xFFFF)
        throw std::invalid_argument("an XM pattern packs to more than 65535 bytes");
    out.U32LE(9);
    out.U8(0); // packing type
    out.U16LE(static_cast<unsigned>(pattern.rows));
    out.U16LE(static_cast<unsigned>(data.size()));
    for (auto byte : data)
        out.U8(byte);
}

void WriteEnvelopePoints(ByteWriter& out, const Envelope& envelope)
{
    for (std::size_t i = 0; i < 12; ++i) {
        if (i < envelope.points.size()) {
            out.U16LE(static_cast<unsigned>(std::clamp(envelope.points[i].first, 0, 0xFFFF)));
            out.U16LE(static_cast<unsigned>(std::clamp(envelope.points[i].second, 0, 64)));
        } else {
            out.U32LE(0);
        }
    }
}

unsigned EnvelopeFlags(const Envelope& envelope)
{
    if (!envelope.enabled || envelope.points.empty())
        return 0;
    unsigned flags = 1;
    if (envelope.sustainPoint >= 0)
        flags |= 2;
    if (envelope.loopStart >= 0 && envelope.loopEnd >= envelope.loopStart)
        flags |= 4;
    return flags;
}

unsigned PointIndex(int index)
{
    return static_cast<unsigned>(std::clamp(index, 0, 11));
}

void WriteInstrument(ByteWriter& out, const Instrument& instrument)
{
    const Sample& sample = instrument.sample;
    const std::size_t start = out.Size();
    out.U32LE(InstrumentHeaderSize);
    out.Text(instrument.name, 22);
    out.U8(0); // type
    out.U16LE(1);
    out.U32LE(SampleHeaderSize);
    out.Zeros(96); // every note plays the one sample
    WriteEnvelopePoints(out, instrument.volumeEnvelope);
    WriteEnvelopePoints(out, instrument.panningEnvelope);
    const Envelope& vol = instrument.volumeEnvelope;
    const Envelope& pan = instrument.panningEnvelope;
    out.U8(static_cast<unsigned>(vol.points.size()));
    out.U8(static_cast<unsigned>(pan.points.size()));
    out.U8(PointIndex(vol.sustainPoint));
    out.U8(PointIndex(vol.loopStart));
    out.U8(PointIndex(vol.loopEnd));
    out.U8(PointIndex(pan.sustainPoint));
    out.U8(PointIndex(pan.loopStart));
    out.U8(PointIndex(pan.loopEnd));
    out.U8(EnvelopeFlags(vol));
    out.U8(EnvelopeFlags(pan));
    out.Zeros(4); // auto-vibrato
    out.U16LE(static_cast<unsigned>(std::clamp(instrument.fadeout, 0, 4095)));
    out.PadTo(start + InstrumentHeaderSize);

    // XM counts sample lengths and loops in bytes.
    const std::uint32_t bytesPerFrame = sample.sixteenBit ? 2 : 1;
    const double pitch = detail::PitchOffset(sample);
    const int relativeNote = std::clamp(static_cast<int>(std::lround(pitch)), -96, 95);
    const int fineTune = std::clamp(static_cast<int>(std::lround((pitch - relativeNote) * 128.0)), -128, 127);
    unsigned type = 0;
    if (sample.loopLength > 0)
        type = sample.pingPong ? 2 : 1;
    if (sample.sixteenBit)
        type |= 0x10;

    out.U32LE(static_cast<std::uint32_t>(sample.data.size()) * bytesPerFrame);
    out.U32LE(static_cast<std::uint32_t>(sample.loopStart) * bytesPerFrame);
    out.U32LE(static_cast<std::uint32_t>(sample.loopLength) * bytesPerFrame);
    out.U8(static_cast<unsigned>(std::clamp(sample.volume, 0, 64)));
    out.S8(fineTune);
    out.U8(type);
    out.U8(static_cast<unsigned>(std::clamp(sample.panning, 0, 255)));
    out.S8(relativeNote);
    out.U8(0); // reserved
    out.Text(sample.name, 22);

    if (sample.sixteenBit) {
        std::int16_t previous = 0;
        for (auto value : sample.data) {
            out.U16LE(static_cast<std::uint16_t>(value - previous));
            previous = value;
        }
    } else {
        std::int8_t previous = 0;
        for (auto value : sample.data) {
            const auto current = static_cast<std::int8_t>(value >> 8);
            out.U8(static_cast<std::uint8_t>(current - previous));
            previous = current;
        }
    }
}

} // namespace

std::vector<std::uint8_t> WriteXM(const Module& module)
{
    detail::Validate(module, 32, 256);
    if (module.orders.size() > 256)
        throw std::invalid_argument("an XM order list holds at most 256 positions");
    if (module.patterns.size() > 256)
        throw std::invalid_argument("an XM holds at most 256 patterns");
    if (module.instruments.size() > 128)
        throw std::invalid_argument("an XM holds at most 128 instruments");

    ByteWriter out;
    out.Text("Extended Module: ", 17);
    out.Text(module.name, 20);
    out.U8(0x1A);
    out.Text("Velmora modwriter", 20, ' ');
    out.U16LE(0x0104);

    out.U32LE(276);
    out.U16LE(static_cast<unsigned>(module.orders.size()));
    out.U16LE(static_cast<unsigned>(module.restartPosition));
    out.U16LE(static_cast<unsigned>(module.channels));
    out.U16LE(static_cast<unsigned>(module.patterns.size()));
    out.U16LE(static_cast<unsigned>(module.instruments.size()));
    out.U16LE(module.linearFrequencies ? 1 : 0);
    out.U16LE(static_cast<unsigned>(std::clamp(module.initialSpeed, 1, 31)));
    out.U16LE(static_cast<unsigned>(std::clamp(module.initialTempo, 32, 255)));
    for (std::size_t i = 0; i < 256; ++i)
        out.U8(i < module.orders.size() ? module.orders[i] : 0);

    for (const auto& pattern : module.patterns)
        WritePattern(out, module, pattern);
    for (const auto& instrument : module.instruments)
        WriteInstrument(out, instrument);
    return out.Take();
}

} // namespace modwriter
