#pragma once

// How the player tells whoever follows it (the windows, the desktop's media
// controls) what changed. Every call comes on the message loop's thread,
// after the change is complete.

#include "player/Track.h"

#include <cstdint>
#include <string>

class TPlayerListener {
public:
    virtual ~TPlayerListener() = default;

    // A new track was loaded (and plays, or is paused), or none is.
    virtual void TrackChanged(const TTrack& track) { (void)track; }
    virtual void StateChanged(TPlaybackState state) { (void)state; }
    // Per cent of full scale, 0..100.
    virtual void VolumeChanged(int volume) { (void)volume; }
    // Play jumped within the track, to this time from its start.
    virtual void Seeked(std::uint32_t milliseconds) { (void)milliseconds; }
    // Something the user must read: a file that is no module, an engine
    // failure, settings that could not be kept. engineFailure: the sound
    // engine's own text.
    virtual void Failed(const std::string& message, bool engineFailure)
    {
        (void)message;
        (void)engineFailure;
    }
    // The player is going away; no call comes after this.
    virtual void PlayerGone() { }
};
