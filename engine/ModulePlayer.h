#pragma once

// One loaded module and its playing position, over libopenmpt. Not
// thread-safe: what it tells of the module is read once at loading, and
// from then on only the decoder's thread uses it.

#include <cstdint>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

namespace openmpt {
class module;
}

namespace velmora::engine {

struct ModuleInfo {
    std::string name;             // the module's title, as stored (may be empty)
    std::string artist;           // as stored, when the format keeps one
    std::uint32_t durationMs = 0; // one pass through the song
    // Instrument names, or sample names where the format has no instruments.
    std::vector<std::string> instrumentNames;
    int orderCount = 0;
    int patternCount = 0;
    int instrumentCount = 0;
    int channelCount = 0;
};

class ModulePlayer {
public:
    // Throws EngineError (FileOpen, BadModule) naming the path and the
    // reason. rateHz: the rate the song will be rendered at.
    static std::unique_ptr<ModulePlayer> Load(const std::string& path, int rateHz);
    ~ModulePlayer();

    ModulePlayer(const ModulePlayer&) = delete;
    ModulePlayer& operator=(const ModulePlayer&) = delete;

    const ModuleInfo& Info() const { return info_; }

    // Back to the song's start. loop: on reaching its end the song goes on
    // from its restart position instead of stopping. interpolationTaps: 1
    // (none), 2, 4 or 8.
    void Start(bool loop, int interpolationTaps);

    // Rendered frames, full scale +-1.0; fewer than asked only once a song
    // that doesn't loop ends.
    std::size_t Render(int rateHz, int channels, std::size_t frames, float* interleaved);
    // The same, rounded to 16 bits by the decoder itself.
    std::size_t Render(int rateHz, int channels, std::size_t frames, std::int16_t* interleaved);

    int CurrentOrder() const;
    // Play time from the song's start, in ms; once a looping song went
    // round, the time within the song again (never beyond its length).
    std::uint32_t TimeMs() const;
    // Play goes on from the first row of the order position, kept in range.
    void JumpToOrder(int order);
    // Play goes on from that time from the song's start, to the frame at
    // the rate the song is rendered at.
    void JumpToTime(std::uint32_t milliseconds, int rateHz);

private:
    explicit ModulePlayer(std::unique_ptr<openmpt::module> module);
    void ReadInfo();
    void FindLoopStart(int rateHz);
    // Goes to the row before the current one in the order list, if any;
    // returns its time in seconds, or -1.
    double StepBackOneRow();

    // The decoder keeps a reference to its log stream; this one swallows it.
    std::ostream silentLog_{nullptr};
    std::unique_ptr<openmpt::module> module_;
    ModuleInfo info_;
    double durationSeconds_ = 0; // one pass through the song
    double loopStartSeconds_ = 0; // where a looping song goes on from
};

} // namespace velmora::engine
