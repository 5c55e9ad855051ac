#include "engine/AudioOutput.h"
#include "engine/Errors.h"
#include "engine/Mixer.h"

#include <SDL2/SDL.h>

#include <string>

namespace velmora::engine {
namespace {

[[noreturn]] void ThrowNoOutput()
{
    throw EngineError(ErrorCode::NoOutput, std::string("No sound output device could be opened: ") + SDL_GetError());
}

} // namespace

AudioOutput::AudioOutput(const OutputFormat& format, Mixer& mixer) : mixer_(mixer)
{
    // The program uses SDL's video in the same process: only the audio
    // subsystem is started and, later, quit.
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) < 0)
        ThrowNoOutput();

    SDL_AudioSpec desired{};
    desired.freq = format.rate;
    desired.format = format.sampleFormat == SampleFormat::Signed16 ? AUDIO_S16SYS : AUDIO_U8;
    desired.channels = static_cast<Uint8>(format.channels);
    desired.samples = static_cast<Uint16>(format.blockFrames);
    desired.callback = &AudioOutput::Callback;
    desired.userdata = &mixer;
    SDL_AudioSpec obtained{};
    // No allowed changes: SDL converts to whatever the hardware takes, so
    // the mixer always produces exactly the format that was asked for.
    device_ = SDL_OpenAudioDevice(nullptr, 0, &desired, &obtained, 0);
    if (device_ == 0) {
        const std::string reason = SDL_GetError();
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        throw EngineError(ErrorCode::NoOutput, "No sound output device could be opened: " + reason);
    }
}

// SDL holds the device's lock around the callback, and pausing or closing
// takes it: the callback is released from waiting first.
AudioOutput::~AudioOutput()
{
    mixer_.SetWaitWhileSilent(false);
    SDL_CloseAudioDevice(device_);
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
}

void AudioOutput::SetRunning(bool running)
{
    mixer_.SetWaitWhileSilent(running);
    SDL_PauseAudioDevice(device_, running ? 0 : 1);
    running_ = running;
}

void SDLCALL AudioOutput::Callback(void* mixer, Uint8* stream, int bytes)
{
    // Nothing may unwind into SDL's thread: a failing mix plays silence.
    try {
        static_cast<Mixer*>(mixer)->Fill(stream, static_cast<std::size_t>(bytes));
    } catch (...) {
        SDL_memset(stream, 0, static_cast<std::size_t>(bytes));
    }
}

} // namespace velmora::engine
