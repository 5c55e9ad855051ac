#include "sound/MidasSoundClass.h"

#include "toolkit/windowing/Application.h"

#include <algorithm>
#include <exception>

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

TMidasSound::TMidasSound(
    TComponent* owner, const std::string& settingsDir, TSoundReport report, const TMidasApi& engine)
    : TComponent(owner), settingsFile_(settingsDir), report_(std::move(report)), engine_(engine)
{
    const TSoundSettings stored = settingsFile_.Read();
    MixRate = stored.MixRate;
    Stereo = stored.Stereo;
    Bits16 = stored.Bits16;
    FilterMode = stored.FilterMode;
    volume_ = stored.Volume;
}

void TMidasSound::Start()
{
    StartEngine();
}

TMidasSound::~TMidasSound()
{
    StoreSettings();
    try {
        ShutdownEngine();
    } catch (const TApplicationHalt&) {
        // The failure was shown and the engine closed; the program ends
        // with this player anyway.
    }
}

void TMidasSound::StartEngine()
{
    engine_.MIDASstartup();
    engineOpen_ = true;
    if (!engine_.MIDASsetOption(MIDAS_OPTION_MIXBUFLEN, mixBufferMs))
        ReportEngineError();
    if (!engine_.MIDASsetOption(MIDAS_OPTION_MIXBUFBLOCKS, mixBufferBlocks))
        ReportEngineError();
    if (!engine_.MIDASsetOption(MIDAS_OPTION_MIXRATE, MixRate))
        ReportEngineError();
    if (!engine_.MIDASsetOption(MIDAS_OPTION_FILTER_MODE, FilterMode))
        ReportEngineError();
    if (!engine_.MIDASsetOption(MIDAS_OPTION_OUTPUTMODE, OutputMode(Stereo, Bits16)))
        ReportEngineError();
    if (!engine_.MIDASsetMasterVolume(volume_))
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

void TMidasSound::ShutdownEngine()
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

bool TMidasSound::PlayFile(const std::string& path)
{
    // The new module is loaded before what plays stops: a file the engine
    // refuses leaves the music going. path may be FileName itself
    // (ApplySettings): it is read before FileName changes.
    const MIDASmodule module = engine_.MIDASloadModule(path.c_str());
    if (module == 0)
        return RefuseFile(0);
    // Playing the new module replaces the old one's sound at once.
    const MIDASmodulePlayHandle handle = engine_.MIDASplayModule(module, loopSong);
    if (handle == 0)
        return RefuseFile(module);
    if (Playing)
        StopAndFreeModule();
    Module = module;
    PlayHandle = handle;
    Playing = true;
    paused_ = false;
    FileName = path;
    return true;
}

// A file the engine refuses is the user's choice of file, not a broken
// engine: the message is shown and what played goes on.
bool TMidasSound::RefuseFile(MIDASmodule loaded)
{
    ShowEngineError(false);
    if (loaded != 0 && !engine_.MIDASfreeModule(loaded))
        ReportEngineError();
    return false;
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
    return {details.title, details.artist, details.durationMs};
}

std::vector<std::string> TMidasSound::GetInstrumentNames()
{
    std::vector<std::string> names;
    if (Module == 0)
        return names;
    MIDASmoduleInfo info{};
    if (!engine_.MIDASgetModuleInfo(Module, &info))
        ReportEngineError();
    char name[256];
    for (std::uint32_t index = 0; index < info.numInstruments; ++index) {
        if (!engine_.MIDASgetInstrumentName(Module, static_cast<int>(index), name, sizeof name))
            ReportEngineError();
        names.emplace_back(name);
    }
    return names;
}

void TMidasSound::SetVolume(int percent)
{
    volume_ = std::clamp(percent, 0, 100);
    if (engineOpen_ && !engine_.MIDASsetMasterVolume(volume_))
        ReportEngineError();
}

void TMidasSound::ApplySettings(std::int32_t mixRate, bool stereo, bool bits16, std::uint8_t filterMode)
{
    const bool wasPlaying = Playing;
    const bool wasPaused = paused_;
    // The time heard, not the order position: the song goes on from where
    // it was, not from the start of its position.
    const std::uint32_t heardMs = wasPlaying ? GetPlayTime() : 0;
    ShutdownEngine();
    MixRate = mixRate;
    Stereo = stereo;
    Bits16 = bits16;
    FilterMode = filterMode;
    StartEngine();
    if (wasPlaying) {
        // A file that can't be loaded again leaves the player idle, and
        // SetPlayTime then does nothing.
        PlayFile(FileName);
        SetPlayTime(heardMs);
        Pause(wasPaused);
    }
}

void TMidasSound::GetSettings(std::int32_t& mixRate, bool& stereo, bool& bits16, std::uint8_t& filterMode) const
{
    mixRate = MixRate;
    stereo = Stereo;
    bits16 = Bits16;
    filterMode = FilterMode;
}

void TMidasSound::ShowEngineError(bool fatal)
{
    const char* message = engine_.MIDASgetErrorMessage(engine_.MIDASgetLastError());
    Report(TSoundFailure{TSoundFailure::TKind::Engine, message ? message : "", fatal});
}

void TMidasSound::ReportEngineError()
{
    // The engine is abandoned with everything it holds. Nothing may ask it
    // again meanwhile: the timer polling the position while the box is up
    // would fail and report once more.
    Playing = false;
    Module = 0;
    engineOpen_ = false;
    ShowEngineError(true);
    engine_.MIDASclose();
    Application().Halt(0);
}

void TMidasSound::StoreSettings()
{
    try {
        settingsFile_.Write(TSoundSettings{MixRate, Stereo, Bits16, FilterMode, volume_});
    } catch (const std::exception& error) {
        // The run ends either way; the user learns the settings weren't kept.
        Report(TSoundFailure{TSoundFailure::TKind::Settings, error.what()});
    }
}

void TMidasSound::Report(const TSoundFailure& failure) noexcept
{
    try {
        if (report_)
            report_(failure);
    } catch (...) {
        // Without a window to show it in, or with the program ending while
        // it was shown, the failure goes unmentioned: this may run in the
        // destructor, which must not throw.
    }
}
