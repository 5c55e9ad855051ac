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

AudioOutput::AudioOutput(const OutputFormat& format, Playout& playout, const OutputNames& names)
    : format_(format), playout_(playout), names_(names)
{
    const AwaitedServer awaited = FindAwaitedServer();
    if (!awaited.askFirst.empty())
        SDL_SetHint(SDL_HINT_AUDIODRIVER, awaited.askFirst.c_str());
    const std::string reason = Open();
    SDL_ResetHint(SDL_HINT_AUDIODRIVER);
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

std::string AudioOutput::Open()
{
    // The sound server takes the application's name when the audio
    // subsystem connects, the stream's when the device opens.
    SDL_SetHint(SDL_HINT_AUDIO_DEVICE_APP_NAME, names_.application.c_str());
    SDL_SetHint(SDL_HINT_AUDIO_DEVICE_STREAM_NAME, names_.stream.c_str());
    // The program uses SDL's video in the same process: only the audio
    // subsystem is started and, later, quit.
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) < 0)
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
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
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
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
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
    // starting the audio subsystem again connects anew.
    Close();
    if (!driver_.empty())
        SDL_SetHintWithPriority(SDL_HINT_AUDIODRIVER, driver_.c_str(), SDL_HINT_OVERRIDE);
    const bool opened = Open().empty();
    SDL_ResetHint(SDL_HINT_AUDIODRIVER);
    return opened;
}

} // namespace velmora::engine
