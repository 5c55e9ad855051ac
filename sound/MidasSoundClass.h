#pragma once

// The sound player: the one way into the sound engine. It starts the engine
// with the settings stored in Sound.opt, plays one module at a time in a
// loop, restarts the engine when the settings change, and on destruction
// stores the settings and closes the engine.
//
// An engine failure is fatal: ReportEngineError shows the engine's text,
// closes the engine and ends the program by Application().Halt(0). The one
// exception is a file the engine can't load or play: PlayFile shows the
// message, leaves the player idle and answers false.

#include "sound/EngineApi.h"
#include "sound/SoundSettings.h"
#include "toolkit/windowing/Component.h"

#include <cstdint>
#include <string>

class TMidasSound : public TComponent {
public:
    // Reads Sound.opt in settingsDir (with its trailing separator: the
    // program's directory, or the user's configuration directory for an
    // installed program) and starts the engine. The main window creates it
    // with TComponent::Create<TMidasSound>(this, directory); tests hand in
    // their own engine. When the engine refuses to start, the settings are
    // written to Sound.opt before TApplicationHalt leaves the constructor,
    // since no destructor runs for a player that was never made.
    TMidasSound(TComponent* owner, const std::string& settingsDir, const TMidasApi& engine = MidasLibrary());
    // Writes Sound.opt (a failed write is shown, not thrown), then shuts the
    // engine down unless a failure has closed it already.
    ~TMidasSound() override;
    const char* ClassName() const override { return "TMidasSound"; }

    // Stops and frees what plays, then loads path and plays it looping.
    // True when it plays; false when the engine couldn't load or play it:
    // its message was shown and the player is idle.
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

    // Restarts the engine with new settings (mix rate in Hz; filter mode
    // 0 none, 1 less, 2 more); a song that played is loaded again and goes
    // on at its order position. Sound.opt is written only at the end.
    void ApplySettings(std::int32_t mixRate, bool stereo, bool bits16, std::uint8_t filterMode);
    void GetSettings(std::int32_t& mixRate, bool& stereo, bool& bits16, std::uint8_t& filterMode) const;

private:
    void StartEngine();
    void ShutdownEngine();
    void StopAndFreeModule();
    [[noreturn]] void ReportEngineError();
    void ShowEngineError();
    bool AbandonFile();
    void StoreSettings();
    void ShowSettingsFailure(const std::string& message) noexcept;

    MIDASmodule Module = 0;
    std::int32_t MixRate = 0;
    bool Stereo = false;
    bool Bits16 = false;
    std::uint8_t FilterMode = 0;
    MIDASmodulePlayHandle PlayHandle = 0;
    bool Playing = false;
    std::string FileName;

    TSoundSettingsFile settingsFile_;
    TMidasApi engine_;
    // False once the engine is closed, also by a failure: a closed engine
    // is not shut down a second time while the program ends.
    bool engineOpen_ = false;
};
