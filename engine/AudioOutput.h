#pragma once

// The sound device, open for as long as the object lives. The device pulls
// its data from the mixer on SDL's audio thread while running; while
// nothing sounds, that thread sleeps in the mixer instead of waking for
// every buffer of silence.

#include "engine/Options.h"

#include <SDL2/SDL_audio.h>

namespace velmora::engine {

class Mixer;

class AudioOutput {
public:
    // Throws EngineError(NoOutput) with SDL's reason when no device opens in
    // exactly this format.
    AudioOutput(const OutputFormat& format, Mixer& mixer);
    ~AudioOutput();

    AudioOutput(const AudioOutput&) = delete;
    AudioOutput& operator=(const AudioOutput&) = delete;

    void SetRunning(bool running);
    bool Running() const { return running_; }

private:
    static void SDLCALL Callback(void* mixer, Uint8* stream, int bytes);

    Mixer& mixer_;
    SDL_AudioDeviceID device_ = 0;
    bool running_ = false;
};

} // namespace velmora::engine
