#include "tests/support/TestModules.h"

#include "tools/modwriter/ModuleWriter.h"

#include <cmath>
#include <string>

std::vector<std::uint8_t> SlowModule(int orders)
{
    using namespace modwriter;
    Module module;
    module.name = "slow";
    module.channels = 4;
    module.initialSpeed = 31;
    module.initialTempo = 32;
    for (int order = 0; order < orders; ++order) {
        module.orders.push_back(static_cast<std::uint8_t>(order));
        Pattern pattern(16, 4);
        pattern.At(0, 0, 4) = Cell{Note(4, order % 12), 1, 0, 0, 0};
        module.patterns.push_back(pattern);
    }
    Instrument instrument;
    instrument.name = "square";
    for (int i = 0; i < 64; ++i)
        instrument.sample.data.push_back(static_cast<std::int16_t>(i < 32 ? 8000 : -8000));
    instrument.sample.loopLength = 64;
    module.instruments.push_back(instrument);
    return WriteXM(module);
}

modwriter::Module RampSong()
{
    using namespace modwriter;
    Module module;
    module.name = "ramp";
    module.channels = 2;
    module.initialSpeed = 1;
    module.initialTempo = 125; // 20 ms a tick, and so a row
    module.orders = {0};
    Pattern pattern(64, 2);
    for (int row = 0; row < 64; ++row) {
        const auto volume = static_cast<std::uint8_t>(1 + row + 1);
        pattern.At(row, 0, 2) = row == 0 ? Cell{Note(4, 0), 1, volume, 0, 0} : Cell{NoteNone, 0, volume, 0, 0};
    }
    module.patterns.push_back(pattern);
    Instrument instrument;
    instrument.name = "sine";
    constexpr int period = 32;
    for (int i = 0; i < period * 16; ++i)
        instrument.sample.data.push_back(
            static_cast<std::int16_t>(std::lrint(16000 * std::sin(2 * 3.14159265358979 * i / period))));
    instrument.sample.loopLength = period * 16;
    instrument.sample.sampleRate = 1000 * period;
    module.instruments.push_back(instrument);
    return module;
}

modwriter::Module BigSong(int megabytes)
{
    using namespace modwriter;
    Module module = RampSong();
    module.name = "big";
    // XM keeps 16-bit samples of up to 2 GiB; a few large ones it is.
    constexpr int pieces = 4;
    const std::size_t frames = static_cast<std::size_t>(megabytes) * 1000000 / 2 / pieces;
    std::uint32_t noise = 12345;
    for (int piece = 0; piece < pieces; ++piece) {
        Instrument filler;
        filler.name = "filler " + std::to_string(piece + 1);
        filler.sample.data.resize(frames);
        for (std::int16_t& value : filler.sample.data) {
            noise = noise * 1664525u + 1013904223u;
            value = static_cast<std::int16_t>(noise >> 16);
        }
        module.instruments.push_back(std::move(filler));
    }
    return module;
}

modwriter::Module BusySong(int channels)
{
    using namespace modwriter;
    Module module;
    module.name = "bench";
    module.channels = channels;
    module.initialSpeed = 6;
    module.initialTempo = 125;
    for (int p = 0; p < 24; ++p) {
        module.orders.push_back(static_cast<std::uint8_t>(p % 8));
        if (p >= 8)
            continue;
        Pattern pattern(64, channels);
        for (int row = 0; row < 64; ++row) {
            for (int channel = 0; channel < channels; ++channel) {
                if ((row + channel) % 3 != 0)
                    continue;
                const auto note = Note(2 + channel % 5, (row * 7 + channel * 5 + p) % 12);
                const auto instrument = static_cast<std::uint8_t>(1 + channel % 4);
                const auto volume = static_cast<std::uint8_t>(1 + 40 + channel % 8 * 3);
                const std::uint8_t vibrato = channel % 2 ? 4 : 0;
                pattern.At(row, channel, channels) = Cell{note, instrument, volume, vibrato, 0x34};
            }
        }
        module.patterns.push_back(pattern);
    }
    for (int i = 0; i < 4; ++i) {
        Instrument instrument;
        instrument.name = "voice " + std::to_string(i);
        const int period = 40 + i * 24;
        for (int n = 0; n < period * 64; ++n) {
            const double phase = 2.0 * 3.14159265358979 * n / period;
            const double square = n % period < period / 2 ? 3000 : -3000;
            instrument.sample.data.push_back(
                static_cast<std::int16_t>(12000 * std::sin(phase) + 4000 * std::sin(phase * (i + 2)) + square));
        }
        instrument.sample.loopLength = period * 64;
        instrument.sample.sampleRate = 8363 * period / 32;
        instrument.volumeEnvelope.enabled = true;
        instrument.volumeEnvelope.points = {{0, 64}, {8, 48}, {40, 32}, {90, 0}};
        instrument.fadeout = 512;
        module.instruments.push_back(instrument);
    }
    return module;
}
