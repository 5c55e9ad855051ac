#pragma once

// One loaded module and its playing position, over the decoder. Not
// thread-safe: the mixer serialises every use.

#include <cstdint>
#include <memory>
#include <ostream>
#include <string>

namespace openmpt {
class module;
}

namespace velmora::engine {

struct ModuleInfo {
    std::string name;
    int orderCount = 0;
    int patternCount = 0;
    int instrumentCount = 0;
    int channelCount = 0;
};

class ModulePlayer {
public:
    // Throws EngineError (FileOpen, BadModule) naming the path and the reason.
    static std::unique_ptr<ModulePlayer> Load(const std::string& path);
    ~ModulePlayer();

    ModulePlayer(const ModulePlayer&) = delete;
    ModulePlayer& operator=(const ModulePlayer&) = delete;

    ModuleInfo Info() const;

    // Back to the song's start. loop: on reaching its end the song goes on
    // from its restart position instead of stopping. interpolationTaps: 1
    // (none), 2, 4 or 8.
    void Start(bool loop, int interpolationTaps);

    // Rendered frames, full scale +-1.0; fewer than asked only once a song
    // that doesn't loop ends.
    std::size_t Render(int rateHz, int channels, std::size_t frames, float* interleaved);

    int CurrentOrder() const;
    // Play goes on from the first row of the order position, kept in range.
    int JumpToOrder(int order);

private:
    explicit ModulePlayer(std::unique_ptr<openmpt::module> module);

    // The decoder keeps a reference to its log stream; this one swallows it.
    std::ostream silentLog_{nullptr};
    std::unique_ptr<openmpt::module> module_;
};

} // namespace velmora::engine
