#include "engine/Options.h"
#include "engine/Midas.h"

#include <algorithm>

namespace velmora::engine {
namespace {

// The device buffer never holds more than this, whatever the mixing buffer
// options ask for: it is what delays everything the program asks to hear.
constexpr int MaxLatencyMs = 50;
constexpr int MinBlockFrames = 32;
// Device buffers the decoder keeps rendered ahead of the device: enough
// that its thread may be kept from running for a few hundred ms on a busy
// machine before anything is missed, and woken seldom, rendering many
// buffers at once (its first frames after a wake-up cost several times its
// later ones). A jump, a stop or a new song drops what was rendered ahead,
// so this adds nothing to what the user waits for.
constexpr int BlocksAhead = 8;
constexpr int FadeMs = 5;

} // namespace

void EngineOptions::Set(int option, int value)
{
    switch (option) {
    case MIDAS_OPTION_MIXRATE: mixRate = value; break;
    case MIDAS_OPTION_OUTPUTMODE: outputMode = value; break;
    case MIDAS_OPTION_MIXBUFLEN: bufferLengthMs = value; break;
    case MIDAS_OPTION_MIXBUFBLOCKS: bufferBlocks = value; break;
    case MIDAS_OPTION_FILTER_MODE: filterMode = value; break;
    default: break;
    }
}

OutputFormat OutputFormat::From(const EngineOptions& options)
{
    OutputFormat format;
    format.rate = std::clamp(options.mixRate, MinRate, MaxRate);
    switch (options.outputMode) {
    case MIDAS_MODE_8BIT_MONO:
        format.channels = 1;
        format.sampleFormat = SampleFormat::Unsigned8;
        break;
    case MIDAS_MODE_8BIT_STEREO:
        format.channels = 2;
        format.sampleFormat = SampleFormat::Unsigned8;
        break;
    case MIDAS_MODE_16BIT_MONO:
        format.channels = 1;
        format.sampleFormat = SampleFormat::Signed16;
        break;
    default:
        format.channels = 2;
        format.sampleFormat = SampleFormat::Signed16;
        break;
    }
    switch (options.filterMode) {
    case 1: format.filter = FilterMode::Less; break;
    case 2: format.filter = FilterMode::More; break;
    default: format.filter = FilterMode::None; break;
    }

    // The mixing buffer is cut into blocks; the device takes one block at a
    // time, but no more than the latency allows. SDL wants a power of two.
    const int blocks = std::max(1, options.bufferBlocks);
    const int blockMs = std::clamp(std::max(1, options.bufferLengthMs) / blocks, 1, MaxLatencyMs);
    const long wanted = static_cast<long>(format.rate) * blockMs / 1000;
    int frames = MinBlockFrames;
    while (frames * 2 <= wanted)
        frames *= 2;
    format.blockFrames = frames;
    format.aheadFrames = frames * BlocksAhead;
    format.fadeFrames = std::max(1, format.rate * FadeMs / 1000);
    return format;
}

} // namespace velmora::engine
