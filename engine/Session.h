#pragma once

// The engine between MIDASinit and MIDASclose: the open output, the loaded
// modules and the one that plays. Handles count up across sessions, so a
// handle from an earlier one is recognised as stale rather than mistaken.

#include "engine/AudioOutput.h"
#include "engine/Mixer.h"
#include "engine/ModulePlayer.h"
#include "engine/Options.h"

#include <cstdint>
#include <map>
#include <memory>
#include <string>

namespace velmora::engine {

using ModuleHandle = std::uint32_t;
using PlayHandle = std::uint32_t;

class Session {
public:
    // Throws EngineError(NoOutput) when the output can't be opened.
    explicit Session(const EngineOptions& options);
    ~Session();

    Session(const Session&) = delete;
    Session& operator=(const Session&) = delete;

    const OutputFormat& Format() const { return format_; }

    void SetBackgroundPlay(bool running);

    ModuleHandle Load(const std::string& path);
    // Stopped and freed handles are quietly accepted.
    void Free(ModuleHandle module);
    ModuleInfo Info(ModuleHandle module) const;

    // Starts the module from its beginning; whatever played before stops.
    PlayHandle Play(ModuleHandle module, bool loop);
    void Stop(PlayHandle play);
    int Position(PlayHandle play) const;
    void SetPosition(PlayHandle play, int order);

    // Mixes the next bytes of output into the caller's buffer, as the device
    // would get them; only while background play is stopped.
    void MixInto(std::uint8_t* buffer, std::size_t bytes);

    // Whether a handle was ever given out, in this session or an earlier one.
    static bool WasIssued(ModuleHandle module);
    static bool WasIssuedPlay(PlayHandle play);

private:
    ModulePlayer& Module(ModuleHandle module) const;
    void CheckPlaying(PlayHandle play) const;

    const OutputFormat format_;
    std::map<ModuleHandle, std::unique_ptr<ModulePlayer>> modules_;
    Mixer mixer_;
    // Declared last: the device, and with it the audio thread, goes first.
    std::unique_ptr<AudioOutput> output_;
    PlayHandle playing_ = 0;
    ModuleHandle playingModule_ = 0;
};

} // namespace velmora::engine
