#pragma once

// What the program's thread, the decoder and the audio callback share. All
// of it is atomic: the callback never takes a lock and never waits.

#include <atomic>
#include <cstdint>
#include <semaphore>

namespace velmora::engine {

struct PlayControl {
    // The generation of sound the callback should be hearing. Every change
    // that cuts off what was rendered ahead (a new song, a stop, a jump)
    // starts a new one; the decoder publishes it once the change's first
    // sound is in the ring, so the callback never switches to nothing.
    std::atomic<std::uint32_t> generation{0};
    // The callback fades out and holds its place while set.
    std::atomic<bool> paused{false};
    // Master gain, 0..1 of full scale (linear); the callback ramps to it.
    std::atomic<float> volume{1.0f};
    // What the callback handed to the device last, each as
    // (generation << 32) | value: the order position, and the play time in ms.
    std::atomic<std::uint64_t> heardOrder{0};
    std::atomic<std::uint64_t> heardTimeMs{0};
    // The callback's last buffer was silence, with nothing fading out.
    std::atomic<bool> silent{true};
    // Buffers of silence the callback handed the device in a row since the
    // last sound: once a few went, the device holds no more of the sound.
    std::atomic<std::uint32_t> silentBuffers{0};
    // The output was lost and is back: the callback fades in what it was
    // playing rather than starting it mid-swing.
    std::atomic<bool> fadeInAgain{false};
    // Wakes the decoder: the callback posts it once when half of what was
    // rendered ahead has been heard, the program's thread with each change.
    // Posting never blocks.
    std::counting_semaphore<> decoderWake{0};
    std::atomic<bool> decoderWakePosted{false};

    static std::uint64_t Pack(std::uint32_t generation, std::uint32_t value)
    {
        return (std::uint64_t{generation} << 32) | value;
    }
    static std::uint32_t GenerationOf(std::uint64_t packed) { return static_cast<std::uint32_t>(packed >> 32); }
    static std::uint32_t ValueOf(std::uint64_t packed) { return static_cast<std::uint32_t>(packed); }
};

} // namespace velmora::engine
