#pragma once

// The option values as the program sets them, and the output format they
// come to. Odd values are served as near as possible rather than refused, so
// a hand-edited settings file can never keep the engine from starting.

#include <cstddef>

namespace velmora::engine {

enum class SampleFormat { Unsigned8, Signed16 };

// How smooth the output is: None resamples without interpolation (the
// brightest), Less with a windowed-sinc interpolator, More adds a low-pass.
enum class FilterMode { None, Less, More };

struct EngineOptions {
    int mixRate = 44100;       // Hz
    int outputMode = 10;       // MIDAS_MODE_*
    int bufferLengthMs = 1000; // ms
    int bufferBlocks = 2;
    int filterMode = 1; // 0 none, 1 less, 2 more

    // Unknown option numbers are ignored.
    void Set(int option, int value);
};

struct OutputFormat {
    static constexpr int MaxChannels = 2;
    static constexpr int MinRate = 4000;
    static constexpr int MaxRate = 192000;

    int rate = 44100; // Hz, MinRate..MaxRate
    int channels = 2; // 1 or 2
    SampleFormat sampleFormat = SampleFormat::Signed16;
    FilterMode filter = FilterMode::Less;
    // Frames per device buffer, at most about 50 ms: a new song, a stop or a
    // jump is heard from the next buffer on, and the device thread wakes
    // once per buffer.
    int blockFrames = 1024;
    // Frames the decoder keeps rendered ahead of the device; a new song, a
    // stop or a jump drops what is ahead beyond the fade.
    int aheadFrames = 8192;
    // Frames of a fade (about 5 ms): a stop fades out, a new song or a jump
    // fades the old sound out while the new one fades in.
    int fadeFrames = 110;

    static OutputFormat From(const EngineOptions& options);
    std::size_t FrameBytes() const
    {
        return static_cast<std::size_t>(channels) * (sampleFormat == SampleFormat::Signed16 ? 2 : 1);
    }
};

} // namespace velmora::engine
