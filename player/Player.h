#pragma once

// The one player state that every way in goes through: the song buttons,
// the keys, dropped files, the command line and the desktop's media
// controls all call its commands, and the windows follow its news. It
// knows the disc's five songs and owns the sound player; it knows nothing
// of windows.

#include "player/PlayerListener.h"
#include "player/Track.h"
#include "sound/EngineApi.h"
#include "sound/MidasSoundClass.h"
#include "sound/SoundSettings.h"
#include "toolkit/windowing/Component.h"
#include "toolkit/windowing/Timer.h"

#include <cstdint>
#include <string>
#include <vector>

class TPlayer : public TComponent {
public:
    static constexpr int SongCount = 5;
    static constexpr int VolumeStep = 5; // per cent, for keys and the wheel

    // songDir holds song1.xm to song5.xm and settingsDir Sound.opt, each with
    // its trailing separator. Start() then starts the sound.
    TPlayer(TComponent* owner, std::string songDir, std::string settingsDir, const TMidasApi& engine = MidasLibrary());
    // Stores the settings and closes the sound engine.
    ~TPlayer() override;
    const char* ClassName() const override { return "TPlayer"; }

    // Listeners are told in the order they were added; one that goes away
    // first removes itself.
    void AddListener(TPlayerListener& listener);
    void RemoveListener(TPlayerListener& listener);

    // Reads Sound.opt and starts the sound engine; a failure is fatal (the
    // listeners are told, then the program ends).
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
    int Volume() const;
    // The order position heard; -1 while stopped.
    std::int32_t Position() const;
    // The play time heard, in ms from the track's start, within its
    // length; 0 while stopped.
    std::uint32_t PlayTime() const;
    // The four settings (the volume beside them).
    TSoundSettings Settings() const;

    // Where song n lies.
    std::string SongPath(int song) const;

private:
    bool Load(TTrack::TKind kind, int song, const std::string& path);
    void ReadTrackDetails(TTrack& track);
    void SetState(TPlaybackState state);
    template <typename Call>
    void Tell(Call call);
    void TellFailures();
    // A looping song that went round is a jump back to its loop's start:
    // the listeners are told, as after a seek.
    void WatchForLoop();

    std::string songDir_;
    std::string settingsDir_;
    const TMidasApi& engine_;
    TMidasSound* sound_ = nullptr; // owned as a component
    std::vector<TPlayerListener*> listeners_;
    TTrack track_;
    TTrack lastPlayed_;
    TPlaybackState state_ = TPlaybackState::Stopped;
    std::uint64_t serial_ = 0;
    int volumeBeforeMute_ = 0; // 0: not muted
    std::vector<TSoundFailure> pendingFailures_;
    TTimer* loopWatch_ = nullptr; // owned as a component
    std::uint32_t watchedMs_ = 0; // the play time at the last look
    // A fatal failure is being reported: the program ends, and no command
    // may reach the closed engine meanwhile.
    bool ending_ = false;
};
