#include "engine/SampleRing.h"

namespace velmora::engine {

SampleRing::SampleRing(int channels, std::size_t chunks)
    : channels_(static_cast<std::size_t>(channels)), samples_(chunks * ChunkFrames * channels_), chunks_(chunks)
{
    for (std::size_t i = 0; i < chunks; ++i)
        chunks_[i].samples = samples_.data() + i * ChunkFrames * channels_;
}

std::size_t SampleRing::Room() const
{
    const std::uint64_t held = written_.load(std::memory_order_relaxed) - read_.load(std::memory_order_acquire);
    return chunks_.size() - static_cast<std::size_t>(held);
}

SampleRing::Chunk& SampleRing::Back()
{
    return chunks_[written_.load(std::memory_order_relaxed) % chunks_.size()];
}

void SampleRing::Push()
{
    written_.store(written_.load(std::memory_order_relaxed) + 1, std::memory_order_release);
}

std::size_t SampleRing::Available() const
{
    return static_cast<std::size_t>(written_.load(std::memory_order_acquire) - read_.load(std::memory_order_relaxed));
}

const SampleRing::Chunk& SampleRing::Front() const
{
    return chunks_[read_.load(std::memory_order_relaxed) % chunks_.size()];
}

void SampleRing::Pop()
{
    read_.store(read_.load(std::memory_order_relaxed) + 1, std::memory_order_release);
}

} // namespace velmora::engine
