#pragma once

// The engine between MIDASinit and MIDASclose: the open output, the loaded
// modules and the one that plays. Handles count up across sessions, so a
// handle from an earlier one is recognised as stale rather than mistaken.
//
// Every change of what sounds is made on the decoder's thread while the
// engine plays in the background, on the caller's otherwise; the audio
// callback only reads the ring and the shared atomics.

#include "engine/AudioOutput.h"
#include "engine/AudioWorker.h"
#include "engine/Decoder.h"
#include "engine/ModulePlayer.h"
#include "engine/Options.h"
#include "engine/PlayControl.h"
#include "engine/Playout.h"
#include "engine/SampleRing.h"

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>

namespace velmora::engine {

using ModuleHandle = std::uint32_t;
using PlayHandle = std::uint32_t;

class Session {
public:
    // Throws EngineError(NoOutput) when the output can't be opened.
    // volume: master gain, 0..1 of full scale.
    Session(const EngineOptions& options, float volume);
    ~Session();

    Session(const Session&) = delete;
    Session& operator=(const Session&) = delete;

    const OutputFormat& Format() const { return format_; }

    void SetBackgroundPlay(bool running);

    ModuleHandle Load(const std::string& path);
    // Stopped and freed handles are quietly accepted.
    void Free(ModuleHandle module);
    const ModuleInfo& Info(ModuleHandle module) const;

    // Starts the module from its beginning; whatever played before stops.
    PlayHandle Play(ModuleHandle module, bool loop);
    void Stop(PlayHandle play);
    // The order position being heard; right after a change, the one play
    // goes on from.
    int Position(PlayHandle play) const;
    void SetPosition(PlayHandle play, int order);
    // Play time of what is heard, in ms from the song's start.
    std::uint32_t PlayTime(PlayHandle play) const;
    void SetPlayTime(PlayHandle play, std::uint32_t milliseconds);
    // Paused, the sound fades out and the place holds; resumed, it fades
    // back in from there.
    void Pause(PlayHandle play, bool pause);
    // 0..1 of full scale; ramped, never a step.
    void SetVolume(float volume);

    // Mixes the next bytes of output into the caller's buffer, as the device
    // would get them; only while background play is stopped.
    void MixInto(std::uint8_t* buffer, std::size_t bytes);

    // Whether a handle was ever given out, in this session or an earlier one.
    static bool WasIssued(ModuleHandle module);
    static bool WasIssuedPlay(PlayHandle play);

private:
    ModulePlayer& Module(ModuleHandle module) const;
    void CheckPlaying(PlayHandle play) const;
    // Runs a change of the decoder where the decoder runs.
    void Change(const std::function<void()>& change);

    const OutputFormat format_;
    std::map<ModuleHandle, std::unique_ptr<ModulePlayer>> modules_;
    PlayControl control_;
    SampleRing ring_;
    Decoder decoder_;
    Playout playout_;
    AudioOutput output_;
    // Declared last: the decoder's thread goes first.
    std::unique_ptr<AudioWorker> worker_;
    PlayHandle playing_ = 0;
    ModuleHandle playingModule_ = 0;
    // Where the latest change went, until the callback has heard it.
    Decoder::Place changedTo_;
};

} // namespace velmora::engine
