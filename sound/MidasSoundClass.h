#pragma once

// The sound player: the one way into the sound engine. It starts the engine
// with the four settings, plays one module at a time in a loop, restarts the
// engine when the settings change, and shuts it down. It runs on the sound
// thread (TSoundSide), which makes every engine call, so that nothing it
// does (parsing a large module, reopening the output while a sound server
// hangs) ever holds up the windows.
//
// An engine failure is fatal: the engine is closed and ESoundFailure
// thrown, with the engine's own text; the program shows it and ends. The
// one exception is a file the engine can't load or play: PlayFile answers
// why, and what played goes on.

#include "sound/EngineApi.h"
#include "sound/SoundSettings.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

// The engine failed; it is closed. what(): the engine's own text.
class ESoundFailure : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The module's own texts and length.
struct TModuleDetails {
    std::string Title;  // as stored; may be empty
    std::string Artist; // as stored; empty when the format keeps none
    std::uint32_t DurationMs = 0;
    std::int32_t LastOrder = -1; // the last order position
    std::string LastInstrument;  // the name of the last instrument (or sample)
};

class TMidasSound {
public:
    explicit TMidasSound(const TMidasApi& engine = MidasLibrary());
    // Shuts the engine down if it still runs.
    ~TMidasSound();
    TMidasSound(const TMidasSound&) = delete;
    TMidasSound& operator=(const TMidasSound&) = delete;

    // Starts the engine with these settings and volume.
    void Start(const TSoundSettings& settings);
    // Stops what plays and closes the engine; nothing when it is closed.
    void Shutdown();

    // What PlayFile came to.
    struct TPlayResult {
        enum class TOutcome { Playing, Refused, Superseded };
        TOutcome Outcome = TOutcome::Refused;
        std::string Message; // Refused: the engine's reason
    };
    // Loads path and plays it looping in place of what played, which is
    // then stopped and freed. A file the engine refuses leaves what played
    // playing. wanted is asked once the file is loaded: false (a newer
    // choice came meanwhile) frees it unplayed.
    TPlayResult PlayFile(const std::string& path, const std::function<bool()>& wanted = {});
    void Stop();
    bool IsPlaying() const { return Playing; }
    const std::string& GetFileName() const { return FileName; }

    // The order position being heard, from 0; -1 when nothing plays.
    std::int32_t GetPosition();
    // The last order position (song length - 1); -1 without a module.
    std::int32_t GetSongLength();
    // Jumps to an order position of the song that plays; callers keep it
    // within 0..GetSongLength(). Without a song nothing happens.
    void SetPosition(std::int32_t position);
    // Play time of what is heard, in ms from the song's start; 0 without one.
    std::uint32_t GetPlayTime();
    void SetPlayTime(std::uint32_t milliseconds);
    // Paused, the song fades out and keeps its place. Without a song
    // nothing happens.
    void Pause(bool pause);
    bool IsPaused() const { return paused_; }
    // Per cent of full scale, 0..100.
    void SetVolume(int percent);
    TModuleDetails GetDetails();

    // Restarts the engine with new settings; a song that played is loaded
    // again and goes on from the time that was heard, paused if it was.
    // The engine's reason when the song could not be loaded again (the
    // player is then idle).
    std::optional<std::string> ApplySettings(const TSoundSettings& settings);
    const TSoundSettings& GetSettings() const { return settings_; }

private:
    void StartEngine();
    void StopAndFreeModule();
    [[noreturn]] void ReportEngineError();
    std::string LastErrorText();

    MIDASmodule Module = 0;
    MIDASmodulePlayHandle PlayHandle = 0;
    bool Playing = false;
    std::string FileName;

    TMidasApi engine_;
    TSoundSettings settings_;
    bool paused_ = false;
    // False once the engine is closed, also by a failure.
    bool engineOpen_ = false;
};
