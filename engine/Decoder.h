#pragma once

// The producing side of the sound: renders the playing song ahead into the
// ring, on the engine's decoder thread (or on the caller's while background
// play is off). Not thread-safe: one thread at a time uses it.

#include "engine/LowPass.h"
#include "engine/Options.h"
#include "engine/PlayControl.h"
#include "engine/SampleRing.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

namespace velmora::engine {

class ModulePlayer;

class Decoder {
public:
    // Where play goes on from after a jump.
    struct Place {
        int order = 0;
        std::uint32_t timeMs = 0;
    };

    Decoder(const OutputFormat& format, SampleRing& ring, PlayControl& control);

    // Each change returns once the first device buffer of its sound is in
    // the ring and its generation published: the callback fades what it
    // was playing into it from its next frame on.

    // The player's song from its start; the player stays owned by the
    // caller, who releases it here before freeing it.
    void Play(ModulePlayer& player, bool loop);
    // Whatever plays fades out.
    void Stop();
    void Release(const ModulePlayer& player);
    // The order position is kept in range.
    Place JumpToOrder(int order);
    Place JumpToTime(std::uint32_t milliseconds);

    // Renders until `frames` of the current sound are ahead of the callback
    // or the ring is full; returns the frames ahead.
    std::size_t Fill(std::size_t frames);
    // Chunks the ring needs: what is kept ahead, and the first buffers of
    // several changes made before the callback comes.
    static std::size_t RingChunks(const OutputFormat& format);
    // A song plays and has not ended.
    bool Sounding() const { return current_ && !ended_; }

private:
    // Starts a generation: renders its first device buffer and publishes it.
    void BeginGeneration();
    std::size_t FirstFrames() const;
    Place Jumped();
    bool RenderChunk();
    std::size_t FramesAhead() const;

    const OutputFormat format_;
    SampleRing& ring_;
    PlayControl& control_;
    std::unique_ptr<LowPass> lowPass_; // FilterMode::More only
    std::vector<float> rendered_;      // one chunk for the low-pass
    ModulePlayer* current_ = nullptr;  // not owned
    bool ended_ = false;
    std::uint32_t generation_ = 0;
    // The ring's count of written chunks when this generation began.
    std::uint64_t generationStart_ = 0;
};

} // namespace velmora::engine
