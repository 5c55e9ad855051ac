#pragma once

// The sound device, open for as long as the object lives. SDL's audio
// thread pulls from the playout while the device runs; while nothing
// sounds, the device is paused rather than fed silence by the playout.
// Only the thread that made it (until the decoder's thread starts) and then
// the decoder's thread use it.

#include "engine/Options.h"

#include <SDL2/SDL_audio.h>

#include <string>

namespace velmora::engine {

class Playout;

class AudioOutput {
public:
    // Opens the default device, paused. Where no device opens but a sound
    // server may yet come (the disc started before it, as at log-in), the
    // output starts closed, waiting for that server; otherwise throws
    // EngineError(NoOutput) with SDL's reason.
    AudioOutput(const OutputFormat& format, Playout& playout);
    ~AudioOutput();

    AudioOutput(const AudioOutput&) = delete;
    AudioOutput& operator=(const AudioOutput&) = delete;

    bool IsOpen() const { return device_ != 0; }
    void SetRunning(bool running);
    bool Running() const { return running_; }
    // The device stopped by itself: the sound server went away, or the
    // hardware did.
    bool Lost() const;
    // Lets go of a lost device and opens the output anew, paused; false
    // while none opens.
    bool Reopen();
    // Lets go of the device, as when it is lost; Reopen takes it again.
    void Close();

private:
    // Starts SDL's audio with the first of the drivers (comma-separated;
    // null: SDL's own choice) that works and opens the device; SDL's
    // reason, empty on success.
    std::string Open(const char* drivers);

    const OutputFormat format_;
    Playout& playout_;
    // The driver the output first opened with: a sound server that went
    // away is waited for, not replaced by whatever else would open.
    std::string driver_;
    SDL_AudioDeviceID device_ = 0;
    bool running_ = false;
};

} // namespace velmora::engine
