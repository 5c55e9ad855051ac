#pragma once

// Turns the playing module into output in the device's format. The decoder
// renders several device buffers ahead at a time; a new song, a stop or a jump
// cuts off what was rendered ahead, fading it out over a few milliseconds
// while the new sound fades in, so nothing clicks and the change is heard
// from the next device buffer on. Fill runs on the audio thread while the
// program thread starts, stops and moves the song: one mutex serialises them.

#include "engine/AheadBuffer.h"
#include "engine/LowPass.h"
#include "engine/Options.h"

#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>
#include <vector>

namespace velmora::engine {

class ModulePlayer;

class Mixer {
public:
    explicit Mixer(const OutputFormat& format);

    // Writes the next `bytes` of output (whole frames): what the device plays
    // next. While nothing sounds and waiting is on, it first waits until
    // something does: the audio thread sleeps rather than mix silence.
    void Fill(std::uint8_t* out, std::size_t bytes);
    // On while the device pulls in the background; turning it off releases
    // a waiting Fill, which the device must be free of before it pauses.
    void SetWaitWhileSilent(bool wait);

    // Whatever sounds fades out as the player's song fades in from its
    // start. The player stays owned by the caller, who stops it before
    // freeing it.
    void Play(ModulePlayer& player, bool loop);
    // Fades out the player's song if it plays; the player may go right after.
    void Stop(const ModulePlayer& player);

    // The order position of the output last handed to the device, which is
    // heard within one device buffer; right after a new song or a jump, the
    // one play goes on from.
    int HeardOrder() const;
    // Returns the order position play goes on from.
    int JumpToOrder(int order);

private:
    bool Sounding() const;
    // Renders the playing song until `frames` are ahead of the device.
    void RenderAhead(std::size_t frames);
    // Fades out the sound ahead of the device from its next frame on.
    void FadeOutAhead();
    // Fades the playing song in over the start of what is ahead.
    void FadeInCurrent(int order);
    void Emit(std::uint8_t* out, std::size_t frames);

    const OutputFormat format_;
    mutable std::mutex mutex_;
    std::condition_variable sound_;
    bool waitWhileSilent_ = false;
    ModulePlayer* current_ = nullptr; // not owned
    bool ended_ = false;
    int heardOrder_ = 0;
    AheadBuffer ahead_;
    std::vector<float> fadeIn_;
    std::unique_ptr<LowPass> lowPass_; // FilterMode::More only
};

} // namespace velmora::engine
