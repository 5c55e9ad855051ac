#include "sound/MidasSoundClass.h"

#include "toolkit/windowing/Application.h"

#include <exception>

namespace {

constexpr const char* engineErrorCaption = "MIDAS Sound System Error";
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

TMidasSound::TMidasSound(TComponent* owner, const std::string& settingsDir, const TMidasApi& engine)
    : TComponent(owner), settingsFile_(settingsDir), engine_(engine)
{
    const TSoundSettings stored = settingsFile_.Read();
    MixRate = stored.MixRate;
    Stereo = stored.Stereo;
    Bits16 = stored.Bits16;
    FilterMode = stored.FilterMode;

    try {
        StartEngine();
    } catch (const TApplicationHalt&) {
        // The owner only takes the player once it is made, so no destructor
        // will store the settings the engine refused; they must still reach
        // the file to be read again at the next start.
        StoreSettings();
        throw;
    }
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
    // path may be FileName itself (ApplySettings): it is read before
    // FileName changes.
    if (Playing)
        StopAndFreeModule();
    Module = engine_.MIDASloadModule(path.c_str());
    if (Module == 0)
        return AbandonFile();
    PlayHandle = engine_.MIDASplayModule(Module, loopSong);
    if (PlayHandle == 0)
        return AbandonFile();
    Playing = true;
    FileName = path;
    return true;
}

// A file the engine refuses is the user's choice of file, not a broken
// engine: the message is shown and the program goes on without a song.
bool TMidasSound::AbandonFile()
{
    ShowEngineError();
    if (Module != 0) {
        if (!engine_.MIDASfreeModule(Module))
            ReportEngineError();
        Module = 0;
    }
    FileName.clear();
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

void TMidasSound::ApplySettings(std::int32_t mixRate, bool stereo, bool bits16, std::uint8_t filterMode)
{
    const bool wasPlaying = Playing;
    const std::int32_t position = wasPlaying ? GetPosition() : -1;
    ShutdownEngine();
    MixRate = mixRate;
    Stereo = stereo;
    Bits16 = bits16;
    FilterMode = filterMode;
    StartEngine();
    if (wasPlaying) {
        // A file that can't be loaded again leaves the player idle, and
        // SetPosition then does nothing.
        PlayFile(FileName);
        SetPosition(position);
    }
}

void TMidasSound::GetSettings(std::int32_t& mixRate, bool& stereo, bool& bits16, std::uint8_t& filterMode) const
{
    mixRate = MixRate;
    stereo = Stereo;
    bits16 = Bits16;
    filterMode = FilterMode;
}

void TMidasSound::ShowEngineError()
{
    const char* message = engine_.MIDASgetErrorMessage(engine_.MIDASgetLastError());
    Application().MessageBox(message ? message : "", engineErrorCaption, MB_OK | MB_ICONERROR);
}

void TMidasSound::ReportEngineError()
{
    // The engine is abandoned with everything it holds. Nothing may ask it
    // again meanwhile: the timer polling the position while the box is up
    // would fail and report once more.
    Playing = false;
    Module = 0;
    engineOpen_ = false;
    ShowEngineError();
    engine_.MIDASclose();
    Application().Halt(0);
}

void TMidasSound::StoreSettings()
{
    try {
        settingsFile_.Write(TSoundSettings{MixRate, Stereo, Bits16, FilterMode});
    } catch (const std::exception& error) {
        // The run ends either way; the user learns the settings weren't kept.
        ShowSettingsFailure(error.what());
    }
}

void TMidasSound::ShowSettingsFailure(const std::string& message) noexcept
{
    try {
        const std::string& title = Application().Title();
        Application().MessageBox(message, title.empty() ? "Velmora" : title, MB_OK | MB_ICONERROR);
    } catch (const std::exception&) {
        // Without a window to show it in, the lost settings go unmentioned:
        // this runs in the destructor, which must not throw.
    }
}
