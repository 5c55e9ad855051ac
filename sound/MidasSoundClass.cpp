#include "sound/MidasSoundClass.h"

#include <algorithm>

namespace {

constexpr int mixBufferMs = 1000;
constexpr int mixBufferBlocks = 2;
constexpr int loopSong = 1;

int OutputMode(bool stereo, bool bits16)
{
    if (stereo)
        return bits16 ? MIDAS_MODE_16BIT_STEREO : MIDAS_MODE_8BIT_STEREO;
    return bits16 ? MIDAS_MODE_16BIT_MONO : MIDAS_MODE_8BIT_MONO;
}

} // namespace

TMidasSound::TMidasSound(const TMidasApi& engine) : engine_(engine)
{
}

TMidasSound::~TMidasSound()
{
    try {
        Shutdown();
    } catch (const ESoundFailure&) {
        // The engine is closed either way; the program ends with it.
    }
}

void TMidasSound::Start(const TSoundSettings& settings)
{
    settings_ = settings;
    StartEngine();
}

void TMidasSound::StartEngine()
{
    engine_.MIDASstartup();
    engineOpen_ = true;
    if (!engine_.MIDASsetOption(MIDAS_OPTION_MIXBUFLEN, mixBufferMs))
        ReportEngineError();
    if (!engine_.MIDASsetOption(MIDAS_OPTION_MIXBUFBLOCKS, mixBufferBlocks))
        ReportEngineError();
    if (!engine_.MIDASsetOption(MIDAS_OPTION_MIXRATE, settings_.MixRate))
        ReportEngineError();
    if (!engine_.MIDASsetOption(MIDAS_OPTION_FILTER_MODE, settings_.FilterMode))
        ReportEngineError();
    if (!engine_.MIDASsetOption(MIDAS_OPTION_OUTPUTMODE, OutputMode(settings_.Stereo, settings_.Bits16)))
        ReportEngineError();
    if (!engine_.MIDASsetMasterVolume(settings_.Volume))
        ReportEngineError();
    if (!engine_.MIDASinit())
        ReportEngineError();
    if (!engine_.MIDASstartBackgroundPlay(0))
        ReportEngineError();
}

void TMidasSound::StopAndFreeModule()
{
    if (!engine_.MIDASstopModule(PlayHandle))
        ReportEngineError();
    if (!engine_.MIDASfreeModule(Module))
        ReportEngineError();
    Module = 0;
    Playing = false;
    paused_ = false;
}

void TMidasSound::Shutdown()
{
    if (!engineOpen_)
        return;
    // FileName stays: ApplySettings loads it again.
    if (Playing)
        StopAndFreeModule();
    if (!engine_.MIDASstopBackgroundPlay())
        ReportEngineError();
    if (!engine_.MIDASclose())
        ReportEngineError();
    engineOpen_ = false;
}

TMidasSound::TPlayResult TMidasSound::PlayFile(const std::string& path, const std::function<bool()>& wanted)
{
    using TOutcome = TPlayResult::TOutcome;
    // The new module is loaded before what plays stops: a file the engine
    // refuses leaves the music going. path may be FileName itself
    // (ApplySettings): it is read before FileName changes.
    const MIDASmodule module = engine_.MIDASloadModule(path.c_str());
    if (module == 0)
        return {TOutcome::Refused, LastErrorText()};
    if (wanted && !wanted()) {
        if (!engine_.MIDASfreeModule(module))
            ReportEngineError();
        return {TOutcome::Superseded, {}};
    }
    // Playing the new module replaces the old one's sound at once.
    const MIDASmodulePlayHandle handle = engine_.MIDASplayModule(module, loopSong);
    if (handle == 0) {
        TPlayResult refused{TOutcome::Refused, LastErrorText()};
        if (!engine_.MIDASfreeModule(module))
            ReportEngineError();
        return refused;
    }
    if (Playing)
        StopAndFreeModule();
    Module = module;
    PlayHandle = handle;
    Playing = true;
    paused_ = false;
    FileName = path;
    return {TOutcome::Playing, {}};
}

void TMidasSound::Stop()
{
    if (!Playing)
        return;
    StopAndFreeModule();
    FileName.clear();
}

std::int32_t TMidasSound::GetPosition()
{
    if (!Playing)
        return -1;
    MIDASplayStatus status{};
    if (!engine_.MIDASgetPlayStatus(PlayHandle, &status))
        ReportEngineError();
    return status.position;
}

std::int32_t TMidasSound::GetSongLength()
{
    if (Module == 0)
        return -1;
    MIDASmoduleInfo info{};
    if (!engine_.MIDASgetModuleInfo(Module, &info))
        ReportEngineError();
    return static_cast<std::int32_t>(info.songLength) - 1;
}

void TMidasSound::SetPosition(std::int32_t position)
{
    if (Module == 0 || !Playing)
        return;
    if (!engine_.MIDASsetPosition(PlayHandle, position))
        ReportEngineError();
}

void TMidasSound::Pause(bool pause)
{
    if (!Playing || pause == paused_)
        return;
    if (!engine_.MIDASpauseModule(PlayHandle, pause ? 1 : 0))
        ReportEngineError();
    paused_ = pause;
}

std::uint32_t TMidasSound::GetPlayTime()
{
    if (!Playing)
        return 0;
    std::uint32_t milliseconds = 0;
    if (!engine_.MIDASgetPlayTime(PlayHandle, &milliseconds))
        ReportEngineError();
    return milliseconds;
}

void TMidasSound::SetPlayTime(std::uint32_t milliseconds)
{
    if (!Playing)
        return;
    if (!engine_.MIDASsetPlayTime(PlayHandle, milliseconds))
        ReportEngineError();
}

TModuleDetails TMidasSound::GetDetails()
{
    if (Module == 0)
        return {};
    MIDASmoduleDetails details{};
    if (!engine_.MIDASgetModuleDetails(Module, &details))
        ReportEngineError();
    MIDASmoduleInfo info{};
    if (!engine_.MIDASgetModuleInfo(Module, &info))
        ReportEngineError();
    TModuleDetails read{details.title, details.artist, details.durationMs,
        static_cast<std::int32_t>(info.songLength) - 1, {}};
    if (info.numInstruments > 0) {
        char name[256];
        if (!engine_.MIDASgetInstrumentName(Module, static_cast<int>(info.numInstruments) - 1, name, sizeof name))
            ReportEngineError();
        read.LastInstrument = name;
    }
    return read;
}

void TMidasSound::SetVolume(int percent)
{
    settings_.Volume = std::clamp(percent, 0, 100);
    if (engineOpen_ && !engine_.MIDASsetMasterVolume(settings_.Volume))
        ReportEngineError();
}

std::optional<std::string> TMidasSound::ApplySettings(const TSoundSettings& settings)
{
    const bool wasPlaying = Playing;
    const bool wasPaused = paused_;
    // The time heard, not the order position: the song goes on from where
    // it was, not from the start of its position.
    const std::uint32_t heardMs = wasPlaying ? GetPlayTime() : 0;
    Shutdown();
    settings_ = settings;
    StartEngine();
    if (!wasPlaying)
        return std::nullopt;
    const TPlayResult reloaded = PlayFile(FileName);
    if (reloaded.Outcome != TPlayResult::TOutcome::Playing) {
        FileName.clear();
        return reloaded.Message;
    }
    // Paused before the jump, so that nothing of the song's start sounds.
    Pause(wasPaused);
    SetPlayTime(heardMs);
    return std::nullopt;
}

std::string TMidasSound::LastErrorText()
{
    const char* message = engine_.MIDASgetErrorMessage(engine_.MIDASgetLastError());
    return message ? message : "";
}

void TMidasSound::ReportEngineError()
{
    // The engine is abandoned with everything it holds.
    std::string message = LastErrorText();
    Playing = false;
    paused_ = false;
    Module = 0;
    engineOpen_ = false;
    engine_.MIDASclose();
    throw ESoundFailure(message);
}
