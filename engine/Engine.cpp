// The C entry points. Each one catches every failure, records it for
// MIDASgetLastError and answers 0; nothing unwinds into the caller.

#include "engine/Errors.h"
#include "engine/Midas.h"
#include "engine/MidasTesting.h"
#include "engine/Options.h"
#include "engine/Session.h"

#include <SDL2/SDL.h>

#include <algorithm>
#include <cstddef>
#include <memory>
#include <mutex>
#include <new>

// The caller allocates these records by their byte layout.
static_assert(sizeof(MIDASplayStatus) == 20 && offsetof(MIDASplayStatus, position) == 0);
static_assert(sizeof(MIDASmoduleInfo) == 48 && offsetof(MIDASmoduleInfo, songLength) == 32);

namespace velmora::engine {
namespace {

struct Engine {
    std::mutex mutex;
    EngineOptions options;
    float volume = 1.0f; // 0..1 of full scale
    std::unique_ptr<Session> session;
};

Engine& TheEngine()
{
    static Engine engine;
    return engine;
}

// Runs `body` with the engine locked; a failure is recorded and `failed` returned.
template <typename Body>
auto Guarded(auto failed, Body&& body) -> decltype(failed)
{
    try {
        Engine& engine = TheEngine();
        std::lock_guard lock(engine.mutex);
        return body(engine);
    } catch (const EngineError& error) {
        ErrorLog::Record(error.Code(), error.what());
    } catch (const std::bad_alloc&) {
        ErrorLog::Record(ErrorCode::OutOfMemory, "Not enough memory for the sound engine");
    } catch (const std::exception& error) {
        ErrorLog::Record(ErrorCode::Undefined, std::string("Sound engine failure: ") + error.what());
    } catch (...) {
        ErrorLog::Record(ErrorCode::Undefined, "Sound engine failure");
    }
    return failed;
}

Session& Running(Engine& engine)
{
    if (!engine.session)
        throw EngineError(ErrorCode::NotInitialised, "The sound engine is not initialised: call MIDASinit first");
    return *engine.session;
}

// The caller's record or buffer; a null address is refused with a clear text.
template <typename T>
T& Required(T* pointer, const char* what)
{
    if (!pointer)
        throw EngineError(ErrorCode::InvalidArgument, std::string("No address given for the ") + what);
    return *pointer;
}

} // namespace
} // namespace velmora::engine

using namespace velmora::engine;

extern "C" {

MIDAS_API int MIDAS_CALL MIDASstartup(void)
{
    return Guarded(0, [](Engine& engine) {
        engine.options = EngineOptions{};
        return 1;
    });
}

MIDAS_API int MIDAS_CALL MIDASsetOption(int option, int value)
{
    return Guarded(0, [=](Engine& engine) {
        engine.options.Set(option, value);
        return 1;
    });
}

MIDAS_API int MIDAS_CALL MIDASinit(void)
{
    return Guarded(0, [](Engine& engine) {
        if (engine.session)
            throw EngineError(ErrorCode::AlreadyInitialised,
                "The sound engine is already initialised: close it before initialising it again");
        engine.session = std::make_unique<Session>(engine.options, engine.volume);
        return 1;
    });
}

MIDAS_API int MIDAS_CALL MIDASstartBackgroundPlay(uint32_t)
{
    return Guarded(0, [](Engine& engine) {
        Running(engine).SetBackgroundPlay(true);
        return 1;
    });
}

MIDAS_API int MIDAS_CALL MIDASstopBackgroundPlay(void)
{
    return Guarded(0, [](Engine& engine) {
        if (engine.session)
            engine.session->SetBackgroundPlay(false);
        return 1;
    });
}

MIDAS_API int MIDAS_CALL MIDASclose(void)
{
    return Guarded(0, [](Engine& engine) {
        engine.session.reset();
        // SDL keeps a thread's error text until the thread ends, and frees
        // it only for threads it started itself: the caller's is handed
        // back here, as the decoder's thread does with its own.
        SDL_TLSCleanup();
        return 1;
    });
}

MIDAS_API MIDASmodule MIDAS_CALL MIDASloadModule(const char* fileName)
{
    return Guarded(MIDASmodule{0}, [=](Engine& engine) {
        Required(fileName, "module file name");
        return Running(engine).Load(fileName);
    });
}

MIDAS_API MIDASmodulePlayHandle MIDAS_CALL MIDASplayModule(MIDASmodule module, int loopSong)
{
    return Guarded(
        MIDASmodulePlayHandle{0}, [=](Engine& engine) { return Running(engine).Play(module, loopSong != 0); });
}

MIDAS_API int MIDAS_CALL MIDASstopModule(MIDASmodulePlayHandle playHandle)
{
    return Guarded(0, [=](Engine& engine) {
        // After MIDASclose every module has stopped already.
        if (engine.session)
            engine.session->Stop(playHandle);
        return 1;
    });
}

MIDAS_API int MIDAS_CALL MIDASfreeModule(MIDASmodule module)
{
    return Guarded(0, [=](Engine& engine) {
        if (engine.session)
            engine.session->Free(module);
        return 1;
    });
}

MIDAS_API int MIDAS_CALL MIDASgetPlayStatus(MIDASmodulePlayHandle playHandle, MIDASplayStatus* status)
{
    return Guarded(0, [=](Engine& engine) {
        MIDASplayStatus& out = Required(status, "play status");
        const int position = Running(engine).Position(playHandle);
        out = MIDASplayStatus{};
        out.position = position;
        return 1;
    });
}

MIDAS_API int MIDAS_CALL MIDASgetModuleInfo(MIDASmodule module, MIDASmoduleInfo* info)
{
    return Guarded(0, [=](Engine& engine) {
        MIDASmoduleInfo& out = Required(info, "module information");
        const ModuleInfo& read = Running(engine).Info(module);
        out = MIDASmoduleInfo{};
        read.name.copy(out.songName, sizeof out.songName - 1);
        out.songLength = static_cast<uint32_t>(read.orderCount);
        out.numPatterns = static_cast<uint32_t>(read.patternCount);
        out.numInstruments = static_cast<uint32_t>(read.instrumentCount);
        out.numChannels = static_cast<uint32_t>(read.channelCount);
        return 1;
    });
}

MIDAS_API int MIDAS_CALL MIDASsetPosition(MIDASmodulePlayHandle playHandle, int32_t newPosition)
{
    return Guarded(0, [=](Engine& engine) {
        Running(engine).SetPosition(playHandle, newPosition);
        return 1;
    });
}

MIDAS_API int MIDAS_CALL MIDASgetLastError(void)
{
    return ErrorLog::LastCode();
}

MIDAS_API const char* MIDAS_CALL MIDASgetErrorMessage(int errorCode)
{
    return ErrorLog::MessageFor(errorCode);
}

MIDAS_API int MIDAS_CALL MIDASpauseModule(MIDASmodulePlayHandle playHandle, int pause)
{
    return Guarded(0, [=](Engine& engine) {
        Running(engine).Pause(playHandle, pause != 0);
        return 1;
    });
}

MIDAS_API int MIDAS_CALL MIDASsetMasterVolume(int volume)
{
    return Guarded(0, [=](Engine& engine) {
        engine.volume = static_cast<float>(std::clamp(volume, 0, 100)) / 100.0f;
        if (engine.session)
            engine.session->SetVolume(engine.volume);
        return 1;
    });
}

MIDAS_API int MIDAS_CALL MIDASgetPlayTime(MIDASmodulePlayHandle playHandle, uint32_t* milliseconds)
{
    return Guarded(0, [=](Engine& engine) {
        uint32_t& out = Required(milliseconds, "play time");
        out = Running(engine).PlayTime(playHandle);
        return 1;
    });
}

MIDAS_API int MIDAS_CALL MIDASsetPlayTime(MIDASmodulePlayHandle playHandle, uint32_t milliseconds)
{
    return Guarded(0, [=](Engine& engine) {
        Running(engine).SetPlayTime(playHandle, milliseconds);
        return 1;
    });
}

MIDAS_API int MIDAS_CALL MIDASgetModuleDetails(MIDASmodule module, MIDASmoduleDetails* details)
{
    return Guarded(0, [=](Engine& engine) {
        MIDASmoduleDetails& out = Required(details, "module details");
        const ModuleInfo& read = Running(engine).Info(module);
        out = MIDASmoduleDetails{};
        read.name.copy(out.title, sizeof out.title - 1);
        read.artist.copy(out.artist, sizeof out.artist - 1);
        out.durationMs = read.durationMs;
        return 1;
    });
}

MIDAS_API int MIDAS_CALL MIDASgetInstrumentName(MIDASmodule module, int index, char* name, int size)
{
    return Guarded(0, [=](Engine& engine) {
        char& out = Required(name, "instrument name");
        if (size <= 0)
            throw EngineError(ErrorCode::InvalidArgument, "No room given for the instrument name");
        const ModuleInfo& info = Running(engine).Info(module);
        if (index < 0 || static_cast<std::size_t>(index) >= info.instrumentNames.size())
            throw EngineError(ErrorCode::InvalidArgument,
                "No instrument " + std::to_string(index) + ": the module has " +
                    std::to_string(info.instrumentNames.size()));
        const std::string& text = info.instrumentNames[static_cast<std::size_t>(index)];
        const std::size_t length = text.copy(&out, static_cast<std::size_t>(size) - 1);
        (&out)[length] = '\0';
        return 1;
    });
}

MIDAS_API int MIDAS_CALL MIDASsetOutputName(const char* application, const char* stream)
{
    return Guarded(0, [=](Engine&) {
        // The sound server takes the application's name when SDL's audio
        // connects, the stream's when the device opens.
        SDL_SetHint(SDL_HINT_AUDIO_DEVICE_APP_NAME, &Required(application, "application name"));
        SDL_SetHint(SDL_HINT_AUDIO_DEVICE_STREAM_NAME, &Required(stream, "stream name"));
        return 1;
    });
}

MIDAS_API int MIDAS_CALL MIDASmixInto(void* buffer, uint32_t bytes)
{
    return Guarded(0, [=](Engine& engine) {
        Running(engine).MixInto(&Required(static_cast<std::uint8_t*>(buffer), "mixing buffer"), bytes);
        return 1;
    });
}

MIDAS_API int MIDAS_CALL MIDASgetOutputFormat(int32_t* rate, int32_t* channels, int32_t* bits, int32_t* bufferFrames)
{
    return Guarded(0, [=](Engine& engine) {
        const OutputFormat& format = Running(engine).Format();
        Required(rate, "rate") = format.rate;
        Required(channels, "channel count") = format.channels;
        Required(bits, "sample size") = format.sampleFormat == SampleFormat::Signed16 ? 16 : 8;
        Required(bufferFrames, "buffer size") = format.blockFrames;
        return 1;
    });
}

} // extern "C"
