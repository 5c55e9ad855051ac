#include "engine/AudioOutput.h"
#include "engine/Errors.h"
#include "engine/Playout.h"
#include "engine/SoundServer.h"

#include <SDL2/SDL.h>

#include <cstdio>

namespace velmora::engine {
namespace {

void SDLCALL Callback(void* playout, Uint8* stream, int bytes)
{
    // Nothing may unwind into SDL's thread; the playout throws nothing.
    static_cast<Playout*>(playout)->Fill(stream, static_cast<std::size_t>(bytes));
}

} // namespace

AudioOutput::AudioOutput(const OutputFormat& format, Playout& playout) : format_(format), playout_(playout)
{
    const AwaitedServer awaited = FindAwaitedServer();
    const std::string reason = Open(awaited.askFirst.empty() ? nullptr : awaited.askFirst.c_str());
    if (reason.empty()) {
        if (const char* driver = SDL_GetCurrentAudioDriver())
            driver_ = driver;
        return;
    }
    if (awaited.driver.empty())
        throw EngineError(ErrorCode::NoOutput, "No sound output device could be opened: " + reason);
    driver_ = awaited.driver;
    std::fprintf(stderr, "velmora: no sound server is there yet (%s); the sound starts once one is\n", reason.c_str());
}

AudioOutput::~AudioOutput()
{
    Close();
}

std::string AudioOutput::Open(const char* drivers)
{
    // Only the audio part of SDL is started and, later, quit: the program
    // uses SDL's video in the same process. The drivers are named here
    // rather than through SDL's hint, which the decoder's thread must not
    // write while the program's reads its own (SDL's hints are unguarded).
    if (SDL_AudioInit(drivers) < 0)
        return SDL_GetError();

    SDL_AudioSpec desired{};
    desired.freq = format_.rate;
    desired.format = format_.sampleFormat == SampleFormat::Signed16 ? AUDIO_S16SYS : AUDIO_U8;
    desired.channels = static_cast<Uint8>(format_.channels);
    desired.samples = static_cast<Uint16>(format_.blockFrames);
    desired.callback = &Callback;
    desired.userdata = &playout_;
    SDL_AudioSpec obtained{};
    // No allowed changes: SDL converts to whatever the hardware takes, so
    // the playout always writes exactly the format that was asked for.
    device_ = SDL_OpenAudioDevice(nullptr, 0, &desired, &obtained, 0);
    if (device_ == 0) {
        std::string reason = SDL_GetError();
        SDL_AudioQuit();
        return reason.empty() ? "no device" : reason;
    }
    running_ = false;
    return {};
}

void AudioOutput::Close()
{
    if (device_ == 0)
        return;
    SDL_CloseAudioDevice(device_);
    SDL_AudioQuit();
    device_ = 0;
    running_ = false;
}

void AudioOutput::SetRunning(bool running)
{
    if (device_ == 0)
        return;
    SDL_PauseAudioDevice(device_, running ? 0 : 1);
    running_ = running;
}

bool AudioOutput::Lost() const
{
    return device_ == 0 || SDL_GetAudioDeviceStatus(device_) == SDL_AUDIO_STOPPED;
}

bool AudioOutput::Reopen()
{
    // A sound server that went away takes SDL's connection with it: only
    // starting SDL's audio again connects anew, to the same kind of output.
    Close();
    return Open(driver_.empty() ? nullptr : driver_.c_str()).empty();
}

} // namespace velmora::engine
