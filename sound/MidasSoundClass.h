#pragma once

// The sound player: the one way into the sound engine. It starts the engine
// with the settings stored in Sound.opt, plays one module at a time in a
// loop, restarts the engine when the settings change, and on destruction
// stores the settings and closes the engine.
//
// It shows nothing itself: failures go to the report it is given, which
// the program turns into a message box. An engine failure is fatal: after
// the report, ReportEngineError closes the engine and ends the program by
// Application().Halt(0). The one exception is a file the engine can't load
// or play: PlayFile reports it, leaves what played playing and answers
// false.

#include "sound/EngineApi.h"
#include "sound/SoundSettings.h"
#include "toolkit/windowing/Component.h"

#include <cstdint>
#include <functional>
#include <string>

// What went wrong, for the user to read.
struct TSoundFailure {
    enum class TKind {
        Engine,   // the engine's own text
        Settings, // Sound.opt could not be written
    };
    TKind Kind = TKind::Engine;
    std::string Message;
    // The program ends once the report returns.
    bool Fatal = false;
};
using TSoundReport = std::function<void(const TSoundFailure& failure)>;

// The module's own texts and length.
struct TModuleDetails {
    std::string Title;  // as stored; may be empty
    std::string Artist; // as stored; empty when the format keeps none
    std::uint32_t DurationMs = 0;
};

class TMidasSound : public TComponent {
public:
    // Reads Sound.opt in settingsDir (with its trailing separator: the
    // program's directory, or the user's configuration directory for an
    // installed program). Start() then starts the engine: the owner takes
    // the player first, so the settings are stored whatever happens while
    // the engine starts. Tests hand in their own engine.
    TMidasSound(TComponent* owner, const std::string& settingsDir, TSoundReport report,
        const TMidasApi& engine = MidasLibrary());
    // Writes Sound.opt (a failed write is reported, not thrown), then shuts
    // the engine down unless a failure has closed it already.
    ~TMidasSound() override;
    const char* ClassName() const override { return "TMidasSound"; }

    void Start();

    // Loads path and plays it looping in place of what played, which is
    // then stopped and freed. True when it plays; false when the engine
    // couldn't load or play it: the failure was reported and what played
    // goes on.
    bool PlayFile(const std::string& path);
    void Stop();
    // The order position being heard, from 0; -1 when nothing plays.
    std::int32_t GetPosition();
    // The last order position (song length - 1); -1 without a module.
    std::int32_t GetSongLength();
    bool IsPlaying() const { return Playing; }
    // Jumps to an order position of the song that plays; callers keep it
    // within 0..GetSongLength(). Without a song nothing happens.
    void SetPosition(std::int32_t position);
    const std::string& GetFileName() const { return FileName; }

    // Paused, the song fades out and keeps its place; the engine keeps it
    // loaded. Without a song nothing happens.
    void Pause(bool pause);
    bool IsPaused() const { return paused_; }
    // Play time of what is heard, in ms from the song's start; 0 without one.
    std::uint32_t GetPlayTime();
    void SetPlayTime(std::uint32_t milliseconds);
    TModuleDetails GetDetails();
    // Instrument names (sample names where the format has none), in order.
    std::vector<std::string> GetInstrumentNames();

    // Per cent of full scale, 0..100; kept in Sound.opt.
    int GetVolume() const { return volume_; }
    void SetVolume(int percent);

    // Restarts the engine with new settings (mix rate in Hz; filter mode
    // 0 none, 1 less, 2 more); a song that played is loaded again and goes
    // on from the time that was heard, paused if it was. Sound.opt is
    // written only at the end.
    void ApplySettings(std::int32_t mixRate, bool stereo, bool bits16, std::uint8_t filterMode);
    void GetSettings(std::int32_t& mixRate, bool& stereo, bool& bits16, std::uint8_t& filterMode) const;

private:
    void StartEngine();
    void ShutdownEngine();
    void StopAndFreeModule();
    [[noreturn]] void ReportEngineError();
    void ShowEngineError(bool fatal);
    bool RefuseFile(MIDASmodule loaded);
    void StoreSettings();
    void Report(const TSoundFailure& failure) noexcept;

    MIDASmodule Module = 0;
    std::int32_t MixRate = 0;
    bool Stereo = false;
    bool Bits16 = false;
    std::uint8_t FilterMode = 0;
    MIDASmodulePlayHandle PlayHandle = 0;
    bool Playing = false;
    std::string FileName;

    TSoundSettingsFile settingsFile_;
    TSoundReport report_;
    TMidasApi engine_;
    int volume_ = 100;
    bool paused_ = false;
    // False once the engine is closed, also by a failure: a closed engine
    // is not shut down a second time while the program ends.
    bool engineOpen_ = false;
};
