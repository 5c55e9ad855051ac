#pragma once

// The one player state that every way in goes through: the song buttons,
// the keys, dropped files, the command line and the desktop's media
// controls all call its commands, and the windows follow its news. It
// knows the disc's five songs, keeps the settings and the volume (in
// Sound.opt), and sends the sound thread what to play; it knows nothing of
// windows.
//
// The state follows the commands at once: a chosen song is the track from
// the moment it is chosen, so the windows never wait for the sound. What
// the sound thread then tells completes it (the module's title, composer
// and length) or takes it back (a file the engine refused: what played
// goes on).

#include "player/PlayerListener.h"
#include "player/Track.h"
#include "sound/EngineApi.h"
#include "sound/SoundSettings.h"
#include "sound/SoundSide.h"
#include "toolkit/windowing/Component.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class TPlayer : public TComponent {
public:
    static constexpr int SongCount = 5;
    static constexpr int VolumeStep = 5; // per cent, for keys and the wheel

    // songDir holds song1.xm to song5.xm and settingsDir Sound.opt, each with
    // its trailing separator. Reads Sound.opt; Start() then starts the
    // sound.
    TPlayer(TComponent* owner, std::string songDir, std::string settingsDir, const TMidasApi& engine = MidasLibrary());
    // Stores the settings, then shuts the sound down, waiting a second at
    // most for a sound thread held up in the engine.
    ~TPlayer() override;
    const char* ClassName() const override { return "TPlayer"; }

    // Listeners are told in the order they were added; one that goes away
    // first removes itself.
    void AddListener(TPlayerListener& listener);
    void RemoveListener(TPlayerListener& listener);

    // Starts the sound engine; a failure is fatal (the listeners are told,
    // then the program ends).
    void Start();

    // Commands. A track that can't be loaded is reported to the listeners,
    // and what was loaded stays as it was.
    void PlaySong(int song); // 1..SongCount, from its start
    void PlayFile(const std::string& path);
    void Stop();
    void Pause();
    void Resume();
    // Resumes what is paused; stopped, plays the last track played again,
    // or the first song when nothing has played yet.
    void Play();
    void PlayPause();
    // The songs in turn, wrapping around; after a file of the user's, Next
    // goes to the first song and Previous to the last. Always plays.
    void Next();
    void Previous();
    // While a track is loaded (playing or paused).
    void SeekToOrder(std::int32_t order);
    void SeekToTime(std::uint32_t milliseconds);
    void SetVolume(int percent);       // 0..100
    void ChangeVolume(int difference); // by so many per cent
    // Silent, or back to the volume before.
    void ToggleMute();
    // Restarts the engine; what was loaded goes on where it was.
    void ApplySettings(const TSoundSettings& settings);

    // The state.
    const TTrack& Track() const { return track_; }
    TPlaybackState State() const { return state_; }
    bool IsLoaded() const { return state_ != TPlaybackState::Stopped; }
    int Volume() const { return settings_.Volume; }
    // The order position heard; -1 while stopped, the one asked for until
    // a jump is heard.
    std::int32_t Position() const;
    // The play time heard, in ms from the track's start, within its
    // length; 0 while stopped.
    std::uint32_t PlayTime() const;
    // What is heard: the serial of the track heard (0: none), its order
    // position and play time. The reader may be used from any thread, also
    // once the player is gone.
    THeard Heard() const;
    std::function<THeard()> HeardReader() const;
    // The four settings (the volume beside them).
    TSoundSettings Settings() const { return settings_; }

    // Writes Sound.opt now, as the player's end does; a failure is told.
    void KeepSettings();

    // Where song n lies.
    std::string SongPath(int song) const;

    // Blocks until the sound thread has carried out every command sent so
    // far, then takes in what it told (tests).
    void Settle();

private:
    void Load(TTrack::TKind kind, int song, const std::string& path);
    void SetState(TPlaybackState state);
    void Hear(const TSoundNews& news);
    void Complete(TTrack& track, const TModuleDetails& details) const;
    template <typename Call>
    void Tell(Call call);
    void TellFailure(const std::string& message, bool engineFailure);

    std::string songDir_;
    TSoundSettingsFile settingsFile_;
    TSoundSettings settings_;
    std::vector<TPlayerListener*> listeners_;
    // The track chosen last, and the one the sound thread last took: a
    // refused choice goes back to it.
    TTrack track_;
    TTrack playing_;
    // The last choice of track and how the sound was before it: a refused
    // choice leaves what played as the commands since have left it.
    struct TChoice {
        std::uint64_t Serial = 0;
        TPlaybackState StateBefore = TPlaybackState::Stopped;
        TTrack LastPlayedBefore;
        std::optional<bool> PausedSince;
    };
    TChoice choice_;
    TTrack lastPlayed_;
    TPlaybackState state_ = TPlaybackState::Stopped;
    std::uint64_t serial_ = 0;
    int volumeBeforeMute_ = 0; // 0: not muted
    // Jumps sent but not yet heard, and the order position the last asked
    // for.
    int seeksUnheard_ = 0;
    std::int32_t seekOrder_ = -1;
    // A fatal failure is being reported: the program ends, and no command
    // may reach the sound meanwhile.
    bool ending_ = false;
    // News posted before the player went away finds it gone.
    std::shared_ptr<TPlayer*> self_;
    // Declared last: the sound thread ends before the rest goes.
    std::unique_ptr<TSoundSide> sound_;
};
