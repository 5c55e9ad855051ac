#pragma once

// Turns the playing module into output in the device's format. Fill runs on
// the audio thread while the program thread starts, stops and moves the
// song: one mutex serialises them.

#include "engine/LowPass.h"
#include "engine/Options.h"

#include <cstdint>
#include <memory>
#include <mutex>
#include <vector>

namespace velmora::engine {

class ModulePlayer;

class Mixer {
public:
    explicit Mixer(const OutputFormat& format);

    // Writes the next `bytes` of output (whole frames): what the device plays next.
    void Fill(std::uint8_t* out, std::size_t bytes);

    // The player stays owned by the caller, who stops it before freeing it.
    void Play(ModulePlayer& player, bool loop);
    void Stop(const ModulePlayer& player);

    // The order position of the output last handed to the device, which is
    // heard within one device buffer.
    int HeardOrder() const;
    // Returns the order position play goes on from.
    int JumpToOrder(int order);

private:
    void MixBlock(std::uint8_t* out, std::size_t frames);
    std::size_t RenderPlain(std::uint8_t* out, std::size_t frames);
    std::size_t RenderFiltered(std::uint8_t* out, std::size_t frames);

    const OutputFormat m_format;
    mutable std::mutex m_mutex;
    ModulePlayer* m_current = nullptr; // not owned
    bool m_ended = false;
    int m_heardOrder = 0;
    std::unique_ptr<LowPass> m_lowPass; // FilterMode::More only
    std::vector<std::int16_t> m_pcm;
    std::vector<float> m_float;
};

} // namespace velmora::engine
