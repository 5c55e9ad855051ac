#include "engine/Decoder.h"
#include "engine/ModulePlayer.h"
#include "engine/Samples.h"

#include <algorithm>

namespace velmora::engine {
namespace {

// The "more" filter's corner: gentle at high rates, about a quarter of the
// rate at low ones.
constexpr double MoreFilterCutoffHz = 6000.0;

int InterpolationTaps(FilterMode mode)
{
    return mode == FilterMode::None ? 1 : 8;
}

} // namespace

std::size_t Decoder::RingChunks(const OutputFormat& format)
{
    constexpr std::size_t changesBetweenCallbacks = 6;
    const auto chunks = [](int frames) {
        return (static_cast<std::size_t>(frames) + SampleRing::ChunkFrames - 1) / SampleRing::ChunkFrames;
    };
    return chunks(format.aheadFrames) + 1 + changesBetweenCallbacks * chunks(format.blockFrames + format.fadeFrames);
}

Decoder::Decoder(const OutputFormat& format, SampleRing& ring, PlayControl& control)
    : format_(format), ring_(ring), control_(control)
{
    if (format.filter == FilterMode::More) {
        lowPass_ =
            std::make_unique<LowPass>(format.rate, std::min(MoreFilterCutoffHz, format.rate * 0.25), format.channels);
        rendered_.resize(SampleRing::ChunkFrames * static_cast<std::size_t>(format.channels));
    }
    generation_ = control_.generation.load(std::memory_order_relaxed);
}

void Decoder::Play(ModulePlayer& player, bool loop)
{
    player.Start(loop, InterpolationTaps(format_.filter));
    current_ = &player;
    ended_ = false;
    BeginGeneration();
}

void Decoder::Stop()
{
    current_ = nullptr;
    BeginGeneration();
}

void Decoder::Release(const ModulePlayer& player)
{
    if (current_ == &player)
        Stop();
}

Decoder::Place Decoder::JumpToOrder(int order)
{
    if (!current_)
        return {};
    current_->JumpToOrder(order);
    return Jumped();
}

Decoder::Place Decoder::JumpToTime(std::uint32_t milliseconds)
{
    if (!current_)
        return {};
    current_->JumpToTime(milliseconds, format_.rate);
    return Jumped();
}

Decoder::Place Decoder::Jumped()
{
    const Place place{current_->CurrentOrder(), current_->TimeMs()};
    ended_ = false;
    BeginGeneration();
    return place;
}

void Decoder::BeginGeneration()
{
    ++generation_;
    generationStart_ = ring_.Written();
    Fill(FirstFrames());
    control_.generation.store(generation_, std::memory_order_release);
}

std::size_t Decoder::FirstFrames() const
{
    // A full device buffer and the fade: the callback may come for it at once.
    return static_cast<std::size_t>(format_.blockFrames + format_.fadeFrames);
}

std::size_t Decoder::FramesAhead() const
{
    const std::uint64_t from = std::max(ring_.Read(), generationStart_);
    const std::uint64_t written = ring_.Written();
    return written > from ? static_cast<std::size_t>(written - from) * SampleRing::ChunkFrames : 0;
}

std::size_t Decoder::Fill(std::size_t frames)
{
    // Until the callback has dropped what the change cut off, only the
    // change's first buffer is rendered: several changes may come before
    // the callback does, and each must find room in the ring.
    if (ring_.Read() < generationStart_)
        frames = std::min(frames, FirstFrames());
    std::size_t ahead = FramesAhead();
    while (ahead < frames && Sounding() && ring_.Room() > 0 && RenderChunk())
        ahead += SampleRing::ChunkFrames;
    return ahead;
}

bool Decoder::RenderChunk()
{
    SampleRing::Chunk& chunk = ring_.Back();
    chunk.generation = generation_;
    chunk.order = current_->CurrentOrder();
    chunk.timeMs = current_->TimeMs();
    // Only the low-pass needs the decoder's sound before it is rounded.
    std::size_t got = 0;
    if (lowPass_) {
        got = current_->Render(format_.rate, format_.channels, SampleRing::ChunkFrames, rendered_.data());
        lowPass_->Process(rendered_.data(), got);
        const std::size_t count = got * static_cast<std::size_t>(format_.channels);
        for (std::size_t i = 0; i < count; ++i)
            chunk.samples[i] = ToSigned16(rendered_[i]);
    } else {
        got = current_->Render(format_.rate, format_.channels, SampleRing::ChunkFrames, chunk.samples);
    }
    if (got < SampleRing::ChunkFrames)
        ended_ = true;
    if (got == 0)
        return false;
    chunk.frames = got;
    ring_.Push();
    return true;
}

} // namespace velmora::engine
